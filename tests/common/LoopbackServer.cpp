// Loopback TCP and HTTP servers for network tests, on raw POSIX sockets so that they do
// not depend on the code under test.
#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testnet {

static sockaddr_in LoopbackAddress(uint16_t port)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    return addr;
}

uint16_t LocalPort(int fd)
{
    sockaddr_in addr{};
    socklen_t length = sizeof(addr);
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &length);
    return ntohs(addr.sin_port);
}

LoopbackServer::LoopbackServer(Handler handler, int backlog) : handler_(std::move(handler))
{
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = LoopbackAddress(0);
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) != 0 ||
        listen(listenFd_, backlog) != 0)
        throw std::runtime_error("loopback listen");
    port_ = LocalPort(listenFd_);
    thread_ = std::thread([this] { run(); });
}

LoopbackServer::~LoopbackServer()
{
    stopping_ = true;
    thread_.join();
    close(listenFd_);
}

void LoopbackServer::run()
{
    while (!stopping_) {
        if (paused_) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                pauseSeen_ = true;
            }
            served_.notify_all();
            poll(nullptr, 0, 20);
            continue;
        }
        pollfd p{listenFd_, POLLIN, 0};
        // Paused while polling: the connection that woke the poll came after the pause.
        if (poll(&p, 1, 20) <= 0 || paused_)
            continue;
        int fd = accept(listenFd_, nullptr, nullptr);
        if (fd < 0)
            continue;
        handler_(fd, stopping_);
        close(fd);
        std::lock_guard<std::mutex> lock(mutex_);
        servedCount_++;
        served_.notify_all();
    }
}

void LoopbackServer::pauseAccepting()
{
    paused_ = true;
    std::unique_lock<std::mutex> lock(mutex_);
    served_.wait_for(lock, std::chrono::seconds(10), [&] { return pauseSeen_; });
}

bool LoopbackServer::waitServed(int count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return served_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return servedCount_ >= count; });
}

int LoopbackServer::served()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return servedCount_;
}

bool WaitReadable(int fd, const std::atomic<bool> &stopping, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs && !stopping; waited += 20) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 20) > 0)
            return true;
    }
    return false;
}

bool SendAll(int fd, const void *data, size_t length)
{
    const char *bytes = static_cast<const char *>(data);
    while (length > 0) {
        ssize_t sent = send(fd, bytes, length, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

void HoldOpen(int fd, const std::atomic<bool> &stopping)
{
    while (!stopping) {
        pollfd p{fd, POLLRDHUP, 0};
        if (poll(&p, 1, 20) > 0)
            return;
    }
}

void Echo(int fd, const std::atomic<bool> &stopping)
{
    char buffer[4096];
    while (WaitReadable(fd, stopping, 60000)) {
        ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0 || !SendAll(fd, buffer, static_cast<size_t>(got)))
            return;
    }
}

int ConnectLoopback(uint16_t port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = LoopbackAddress(port);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

RefusingPort::RefusingPort() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
{
    sockaddr_in addr = LoopbackAddress(0);
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) == 0)
        port_ = LocalPort(fd_);
}

RefusingPort::~RefusingPort()
{
    if (fd_ >= 0)
        close(fd_);
}

uint16_t UnusedPort()
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = LoopbackAddress(0);
    bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr));
    uint16_t port = LocalPort(fd);
    close(fd);
    return port;
}

HttpServer::HttpServer() : server_([this](int fd, const std::atomic<bool> &stopping) { serve(fd, stopping); }) {}

void HttpServer::setBody(const std::string &path, const std::string &body)
{
    std::lock_guard<std::mutex> lock(mutex_);
    bodies_[path] = body;
}

void HttpServer::serve(int fd, const std::atomic<bool> &stopping)
{
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && WaitReadable(fd, stopping, 5000)) {
        ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
        if (got <= 0)
            return;
        request.append(buffer, static_cast<size_t>(got));
    }
    requests_++;
    size_t start = request.find(' ') + 1;
    std::string path = request.substr(start, request.find(' ', start) - start);
    std::string body;
    bool found;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        found = bodies_.count(path) > 0;
        if (found)
            body = bodies_[path];
    }
    std::string head = found ? "HTTP/1.0 200 OK\r\nContent-Type: application/pkix-crl\r\n"
                             : "HTTP/1.0 404 Not Found\r\n";
    head += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    SendAll(fd, head.data(), head.size());
    SendAll(fd, body.data(), body.size());
    shutdown(fd, SHUT_WR);
    WaitReadable(fd, stopping, 1000);
}

} // namespace testnet
