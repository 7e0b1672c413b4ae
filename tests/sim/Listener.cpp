// The test sensors' listening socket: one thread opens, closes and polls it.
#include "Listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>

namespace fybsim {

Listener::Listener(Accept onAccept, std::uint16_t port) : onAccept_(std::move(onAccept)) {
  fd_ = open(port);
  if (fd_ < 0) throw std::runtime_error(std::string("test sensor: cannot listen on loopback: ") + std::strerror(errno));
  sockaddr_in addr{};
  socklen_t len = sizeof addr;
  ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { run(); });
}

Listener::~Listener() {
  stop();
}

void Listener::stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (fd_ >= 0) ::close(fd_);
  if (holder_ >= 0) ::close(holder_);
  fd_ = holder_ = -1;
}

// A socket bound to 127.0.0.1:port (0: any free port), or -1.
static int bound(std::uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    const int err = errno;
    ::close(fd);
    errno = err;
    return -1;
  }
  return fd;
}

// A listening socket on 127.0.0.1:port (0: any free port), or -1.
int Listener::open(std::uint16_t port) {
  int fd = bound(port);
  if (fd < 0 || ::listen(fd, 16) == 0) return fd;
  const int err = errno;
  ::close(fd);
  errno = err;
  return -1;
}

// Not listening, the port stays held by a socket bound without listening: connects are
// refused, and no server of a test running beside can take the port meanwhile.
void Listener::switchListening(bool want) {
  if (!want) {
    ::close(fd_);
    fd_ = -1;
    holder_ = bound(port_);
    return;
  }
  fd_ = open(port_);
  if (fd_ < 0 && holder_ >= 0) {
    ::close(holder_);
    holder_ = -1;
    fd_ = open(port_);
  }
  if (fd_ >= 0 && holder_ >= 0) {
    ::close(holder_);
    holder_ = -1;
  }
}

bool Listener::setListening(bool listening) {
  std::unique_lock lock(m_);
  want_ = listening;
  return changed_.wait_for(lock, std::chrono::milliseconds(2000), [&] { return listening_ == listening; });
}

void Listener::run() {
  while (!stop_) {
    bool want;
    {
      std::lock_guard lock(m_);
      want = want_;
    }
    if (want != (fd_ >= 0)) {
      switchListening(want);
      std::lock_guard lock(m_);
      listening_ = fd_ >= 0;
      changed_.notify_all();
    }
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, fd_ >= 0 ? 1 : 0, 50) <= 0) continue;
    int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) onAccept_(fd);
  }
}

}  // namespace fybsim
