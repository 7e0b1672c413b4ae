// UDP announcements of the test sensor, with the legacy layouts written byte by byte.
#include "Announcer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace fybsim {

namespace {

// Little-endian writers into a datagram of fixed size.
void put16(std::string& d, std::size_t at, std::uint16_t v) {
  d[at] = static_cast<char>(v & 0xFF);
  d[at + 1] = static_cast<char>(v >> 8);
}

void put32(std::string& d, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putMac(std::string& d, std::size_t at, const Mac& mac) {
  for (std::size_t i = 0; i < mac.size(); ++i) d[at + i] = static_cast<char>(mac[i]);
}

void putText(std::string& d, std::size_t at, std::size_t field, const std::string& text) {
  d.replace(at, std::min(text.size(), field), text, 0, std::min(text.size(), field));
}

}  // namespace

Announcer::Announcer(std::uint16_t port, const std::string& from, const std::string& to) : port_(port) {
  in_addr destination{};
  if (::inet_pton(AF_INET, to.c_str(), &destination) != 1 || (ntohl(destination.s_addr) >> 24) != 127)
    throw std::runtime_error("fybsim: announcements stay on loopback, not to " + to);
  to_ = destination.s_addr;
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in source{};
  source.sin_family = AF_INET;
  const int on = 1;
  if (fd_ < 0 || ::inet_pton(AF_INET, from.c_str(), &source.sin_addr) != 1 ||
      ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
      ::bind(fd_, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0) {
    const std::string why = std::strerror(errno);
    if (fd_ >= 0) ::close(fd_);
    throw std::runtime_error("fybsim: UDP socket from " + from + ": " + why);
  }
}

Announcer::~Announcer() {
  ::close(fd_);
}

bool Announcer::send(std::string_view datagram) const {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port_);
  to.sin_addr.s_addr = to_;
  ssize_t n = ::sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  return n == static_cast<ssize_t>(datagram.size());
}

std::uint16_t Announcer::unusedPort() {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  std::uint16_t port = 0;
  if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd >= 0) ::close(fd);
  if (port == 0) throw std::runtime_error("fybsim: no free UDP port");
  return port;
}

Element Announcer::announcement(std::uint16_t port, std::optional<std::uint16_t> portSSL) {
  Element root("discover");
  root.set("port", std::to_string(port));
  if (portSSL) root.set("portSSL", std::to_string(*portSSL));
  root.set("macAddress", "00:11:22:33:44:55").set("equipment", "FybSim");
  return root;
}

std::string Announcer::legacySensor(const Mac& mac, std::uint32_t algorithm) {
  std::string d(12, '\0');
  put16(d, 0, 0xEEEE);
  putMac(d, 2, mac);
  put32(d, 8, algorithm);
  return d;
}

std::string Announcer::legacySensor(const LegacySensorInfo& info) {
  std::string d(32, '\0');
  put16(d, 0, 0xEEEF);
  putMac(d, 2, info.mac);
  put32(d, 8, info.algorithm);
  put16(d, 12, info.major);
  put16(d, 14, info.minor);
  put16(d, 16, info.patch);
  put16(d, 18, info.locked);
  put32(d, 20, info.commandPort);
  put32(d, 24, info.streamPort);
  put32(d, 28, info.timePort);
  return d;
}

std::string Announcer::legacyCard(const LegacyCardInfo& info) {
  std::string d(445, '\0');
  put16(d, 0, 0xEEFF);
  put16(d, 2, info.port);
  putText(d, 4, 48 - 4, info.name);
  put32(d, 48, info.model);
  putText(d, 52, 404 - 52, info.lockingClient);
  putMac(d, 404, info.slaveAnprMac);
  putMac(d, 414, info.slaveContextMac);
  d[426] = static_cast<char>(info.cardClass);
  d[427] = static_cast<char>(info.secondary);
  d[444] = static_cast<char>(info.speed);
  return d;
}

}  // namespace fybsim
