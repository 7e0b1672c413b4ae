// A TCP server on 127.0.0.1 and a free port, serving one connection at a time on its own
// thread with a handler the test gives; plus small blocking helpers for handlers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace testnet {

class LoopbackServer {
public:
    // Runs with the connected descriptor (closed afterwards) and the server's stop flag.
    using Handler = std::function<void(int fd, const std::atomic<bool> &stopping)>;

    explicit LoopbackServer(Handler handler, int backlog = 16);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    uint16_t port() const { return port_; }
    // Waits until that many connections have been served completely.
    bool waitServed(int count, int timeoutMs);
    int served();
    // Stops accepting (the listening socket stays open, so connects queue up unanswered).
    // Returns once the server thread has stopped accepting, so a connect made afterwards stays queued.
    void pauseAccepting();

private:
    void run();

    Handler handler_;
    int listenFd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> paused_{false};
    bool pauseSeen_ = false;
    std::mutex mutex_;
    std::condition_variable served_;
    int servedCount_ = 0;
    std::thread thread_;
};

// Waits until the descriptor is readable (or hung up); false on time-out or stop.
bool WaitReadable(int fd, const std::atomic<bool> &stopping, int timeoutMs);
// Sends everything (no SIGPIPE); false on failure.
bool SendAll(int fd, const void *data, size_t length);
// Keeps the connection open without reading until the peer closes or the server stops.
void HoldOpen(int fd, const std::atomic<bool> &stopping);
// Echoes every byte until the peer closes or the server stops.
void Echo(int fd, const std::atomic<bool> &stopping);
// A descriptor connected to the port on 127.0.0.1, or -1.
int ConnectLoopback(uint16_t port);
// A port on 127.0.0.1 on which nothing listens (bound, then released).
uint16_t UnusedPort();

// A port on 127.0.0.1 held by a bound socket that does not listen, for as long as the object
// lives: connects to it are refused, and no server of a test running beside can take it.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort &) = delete;
    RefusingPort &operator=(const RefusingPort &) = delete;
    uint16_t port() const { return port_; }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};
// The local port a descriptor is bound to.
uint16_t LocalPort(int fd);

// Serves fixed bodies by path over HTTP/1.0; counts the requests.
class HttpServer {
public:
    HttpServer();
    void setBody(const std::string &path, const std::string &body);
    uint16_t port() const { return server_.port(); }
    int requests() { return requests_; }

private:
    void serve(int fd, const std::atomic<bool> &stopping);

    std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::atomic<int> requests_{0};
    LoopbackServer server_;
};

} // namespace testnet
