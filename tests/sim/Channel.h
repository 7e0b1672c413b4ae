// One accepted connection of the test sensor, plain or TLS, over a non-blocking socket so
// that every wait is bounded and the sensor's threads notice a stop promptly.
#pragma once

#include <openssl/types.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace fybsim {

class Channel {
 public:
  // Takes the socket; with a context the connection is TLS (handshake() first).
  Channel(int fd, SSL_CTX* tls);
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  bool handshake(const std::atomic<bool>& stop, int limitMs);
  // Bytes read (> 0), 0 when nothing came within the wait, -1 when closed or failed.
  int readSome(char* buffer, std::size_t capacity, int waitMs);
  // Writes every byte (30 s at most), as separate writes split at the given offsets with a
  // pause between them; no other write comes between the pieces.
  bool write(std::string_view bytes, const std::vector<std::size_t>& splitAt = {}, int pauseMs = 0);
  // Sends the end of the stream and wakes the reader; later reads and writes fail.
  void shutdown();
  // Closes the socket; called by the connection's own reading thread.
  void close();
  std::string peerCertificatePem() const;

 private:
  bool writeAll(std::string_view bytes);
  int writeOnce(std::string_view bytes, bool& retry);

  std::mutex writeMutex_;
  mutable std::mutex io_;
  int fd_;
  SSL* ssl_ = nullptr;
  bool down_ = false;
};

}  // namespace fybsim
