// Sends sensor announcements to a loopback UDP port: current sensors' wire-form messages,
// the three legacy datagram layouts, and any raw bytes for malformed-datagram tests.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "WireBytes.h"

namespace fybsim {

using Mac = std::array<std::uint8_t, 6>;

// Legacy sensor datagram 0xEEEF (the 0xEEEE one carries only mac and algorithm).
struct LegacySensorInfo {
  Mac mac{};
  std::uint32_t algorithm = 0x2222;
  std::uint16_t major = 7, minor = 6, patch = 0;
  std::uint16_t locked = 0;
  std::uint32_t commandPort = 11011, streamPort = 10001, timePort = 10000;
};

// Legacy acquisition card datagram 0xEEFF; texts longer than their field are cut and then
// carry no terminating zero.
struct LegacyCardInfo {
  std::uint16_t port = 10001;
  std::string name = "card";
  std::uint32_t model = 4u << 24;
  std::string lockingClient;
  Mac slaveAnprMac{}, slaveContextMac{};
  std::uint8_t cardClass = 1, secondary = 0, speed = 0;
};

class Announcer {
 public:
  // To port on a loopback address (127.0.0.1, or the loopback broadcast 127.255.255.255 that
  // reaches every listener of the port), from the given loopback address (any of 127.0.0.0/8
  // on Linux), so that tests can announce several sensors. Other destinations are refused.
  explicit Announcer(std::uint16_t port, const std::string& from = "127.0.0.1",
                     const std::string& to = "127.0.0.1");
  ~Announcer();
  Announcer(const Announcer&) = delete;
  Announcer& operator=(const Announcer&) = delete;

  // One datagram with exactly these bytes.
  bool send(std::string_view datagram) const;
  bool announce(const Element& announcement) const { return send(wireOf(announcement)); }

  // A current sensor's announcement: root discover with port and, when given, portSSL.
  static Element announcement(std::uint16_t port, std::optional<std::uint16_t> portSSL = std::nullopt);
  static std::string legacySensor(const Mac& mac, std::uint32_t algorithm);  // 0xEEEE, 12 bytes
  static std::string legacySensor(const LegacySensorInfo& info);             // 0xEEEF, 32 bytes
  static std::string legacyCard(const LegacyCardInfo& info);                 // 0xEEFF, 445 bytes

  // A UDP port on which nothing is bound (bound, then released).
  static std::uint16_t unusedPort();

 private:
  int fd_ = -1;
  std::uint16_t port_;
  std::uint32_t to_ = 0;  // network order
};

}  // namespace fybsim
