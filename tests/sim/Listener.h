// A listening TCP socket on 127.0.0.1 with its accepting thread, for the test sensors:
// listening can be switched off, so that connects are refused, and on again on the same port.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace fybsim {

class Listener {
 public:
  // Receives each accepted descriptor, on the accepting thread; it owns the descriptor.
  using Accept = std::function<void(int fd)>;

  // Listens on the port (0: a free one); throws std::runtime_error when it cannot.
  explicit Listener(Accept onAccept, std::uint16_t port = 0);
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  std::uint16_t port() const { return port_; }
  // True once the change is in effect.
  bool setListening(bool listening);
  // Ends the accepting thread (no callback runs afterwards) and closes the socket.
  void stop();

 private:
  static int open(std::uint16_t port);
  void switchListening(bool want);
  void run();

  Accept onAccept_;
  int fd_ = -1;      // belongs to the accepting thread once it runs
  int holder_ = -1;  // holds the port while not listening
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex m_;
  std::condition_variable changed_;
  bool want_ = true, listening_ = true;
  std::thread thread_;
};

}  // namespace fybsim
