// Plain and TLS socket input and output of the test sensor, with bounded waits.
#include "Channel.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

namespace fybsim {

namespace {

// OpenSSL writes with write(), which raises SIGPIPE on a closed peer; the signal is held back
// for the call and swallowed when the call raised it, without touching the process's handler.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeGuard() {
    if (!wasPending_) {
      const timespec zero{0, 0};
      while (sigtimedwait(&pipe_, nullptr, &zero) == SIGPIPE) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }

 private:
  sigset_t pipe_, old_;
  bool wasPending_ = false;
};

bool wouldBlock(int err) {
  return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

void waitFor(int fd, short events, int ms) {
  pollfd p{fd, events, 0};
  ::poll(&p, 1, ms);
}

}  // namespace

Channel::Channel(int fd, SSL_CTX* tls) : fd_(fd) {
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
  int one = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (tls) {
    ssl_ = SSL_new(tls);
    SSL_set_fd(ssl_, fd_);
    SSL_set_mode(ssl_, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  }
}

Channel::~Channel() {
  close();
}

bool Channel::handshake(const std::atomic<bool>& stop, int limitMs) {
  if (!ssl_) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    int err;
    {
      std::lock_guard lock(io_);
      if (down_ || fd_ < 0) return false;
      SigpipeGuard guard;
      ERR_clear_error();
      int r = SSL_accept(ssl_);
      if (r == 1) return true;
      err = SSL_get_error(ssl_, r);
    }
    if (err != SSL_ERROR_WANT_READ && err != SSL_ERROR_WANT_WRITE) return false;
    if (stop || std::chrono::steady_clock::now() > deadline) return false;
    waitFor(fd_, err == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, 50);
  }
}

int Channel::readSome(char* buffer, std::size_t capacity, int waitMs) {
  bool buffered = false;
  {
    std::lock_guard lock(io_);
    if (down_ || fd_ < 0) return -1;
    buffered = ssl_ && SSL_pending(ssl_) > 0;
  }
  if (!buffered) {
    pollfd p{fd_, POLLIN, 0};
    int r = ::poll(&p, 1, waitMs);
    if (r <= 0) return r < 0 && errno != EINTR ? -1 : 0;
  }
  std::lock_guard lock(io_);
  if (down_ || fd_ < 0) return -1;
  if (!ssl_) {
    ssize_t n = ::recv(fd_, buffer, capacity, MSG_DONTWAIT);
    if (n > 0) return static_cast<int>(n);
    return n < 0 && wouldBlock(errno) ? 0 : -1;
  }
  SigpipeGuard guard;
  ERR_clear_error();
  int n = SSL_read(ssl_, buffer, static_cast<int>(capacity));
  if (n > 0) return n;
  int err = SSL_get_error(ssl_, n);
  return err == SSL_ERROR_WANT_READ || err == SSL_ERROR_WANT_WRITE ? 0 : -1;
}

int Channel::writeOnce(std::string_view bytes, bool& retry) {
  retry = false;
  if (!ssl_) {
    ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) retry = wouldBlock(errno);
    return static_cast<int>(n);
  }
  SigpipeGuard guard;
  ERR_clear_error();
  const std::size_t slice = bytes.size() < (1u << 30) ? bytes.size() : (1u << 30);
  int n = SSL_write(ssl_, bytes.data(), static_cast<int>(slice));
  if (n <= 0) {
    int err = SSL_get_error(ssl_, n);
    retry = err == SSL_ERROR_WANT_READ || err == SSL_ERROR_WANT_WRITE;
  }
  return n;
}

bool Channel::write(std::string_view bytes, const std::vector<std::size_t>& splitAt, int pauseMs) {
  std::lock_guard whole(writeMutex_);
  std::size_t from = 0;
  for (std::size_t cut : splitAt) {
    if (cut <= from || cut >= bytes.size()) continue;
    if (!writeAll(bytes.substr(from, cut - from))) return false;
    from = cut;
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
  return writeAll(bytes.substr(from));
}

// Called with writeMutex_ held.
bool Channel::writeAll(std::string_view bytes) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::size_t done = 0;
  while (done < bytes.size()) {
    bool retry = false;
    int n;
    {
      std::lock_guard lock(io_);
      if (down_ || fd_ < 0) return false;
      n = writeOnce(bytes.substr(done), retry);
    }
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (!retry || std::chrono::steady_clock::now() > deadline) return false;
    waitFor(fd_, POLLOUT | POLLIN, 100);
  }
  return true;
}

void Channel::shutdown() {
  std::lock_guard lock(io_);
  if (fd_ >= 0 && !down_) ::shutdown(fd_, SHUT_RDWR);
  down_ = true;
}

void Channel::close() {
  std::lock_guard whole(writeMutex_);
  std::lock_guard lock(io_);
  if (ssl_) SSL_free(ssl_);
  ssl_ = nullptr;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  down_ = true;
}

std::string Channel::peerCertificatePem() const {
  std::lock_guard lock(io_);
  if (!ssl_) return {};
  X509* cert = SSL_get1_peer_certificate(ssl_);
  if (!cert) return {};
  BIO* bio = BIO_new(BIO_s_mem());
  PEM_write_bio_X509(bio, cert);
  char* data = nullptr;
  long size = BIO_get_mem_data(bio, &data);
  std::string pem(data, static_cast<std::size_t>(size));
  BIO_free(bio);
  X509_free(cert);
  return pem;
}

}  // namespace fybsim
