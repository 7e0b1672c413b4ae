// A scriptable KGV sensor on three free loopback ports (stream, time, command), for tests that
// talk to a legacy-family sensor: {length, code} framing, a record of every packet received,
// scripted writes split anywhere, greetings, replies, closing, dropping and refusing.
//
//   kgvsim::KgvSensor sensor;                       // listening on 127.0.0.1
//   sensor.setResponder(Port::Command, [](const Packet& p) -> std::optional<Reply> {
//     return Reply::send(packet(0xAAAA));
//   });
//   ... create the handle on sensor.connectionText() ...
//   auto got = sensor.waitForPacket(Port::Command, 0x112, 5s);
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "KgvBlocks.h"
#include "Listener.h"

namespace kgvsim {

using Millis = std::chrono::milliseconds;

enum class Port { Stream, Time, Command };

// One packet the sensor received, as it came.
struct Packet {
  Port port = Port::Command;
  std::size_t connection = 0;  // accept order on its port, from 1
  std::uint32_t code = 0;
  std::string payload;
  std::chrono::steady_clock::time_point at;
};

// What the sensor writes in answer: the bytes in separate writes cut at the offsets, with a
// pause between pieces, after a delay; then, when close is set, the end of the connection.
struct Reply {
  std::string bytes;
  std::vector<std::size_t> splitAt;
  Millis pause{20};
  Millis delay{0};
  bool close = false;

  static Reply send(std::string bytes) {
    Reply r;
    r.bytes = std::move(bytes);
    return r;
  }
  static Reply closing() {
    Reply r;
    r.close = true;
    return r;
  }
  Reply after(Millis wait) const {
    Reply r = *this;
    r.delay = wait;
    return r;
  }
  Reply split(std::vector<std::size_t> at, Millis between) const {
    Reply r = *this;
    r.splitAt = std::move(at);
    r.pause = between;
    return r;
  }
};

class KgvSensor {
 public:
  // Packets claiming more payload than this end their connection as an error.
  static constexpr std::uint32_t kMaxPayload = 64u * 1024u * 1024u;

  KgvSensor();
  ~KgvSensor();  // closes every connection and joins every thread
  KgvSensor(const KgvSensor&) = delete;
  KgvSensor& operator=(const KgvSensor&) = delete;

  std::uint16_t port(Port p) const;
  // "127.0.0.1:command,stream,time": the host cut at the first ":", so never "::1".
  std::string connectionText() const;

  // Written on every new connection of the port before anything else; empty: nothing.
  void setGreeting(Port p, std::string bytes);
  // Called on the connection's thread for each whole packet; nullopt writes nothing.
  using Responder = std::function<std::optional<Reply>(const Packet&)>;
  void setResponder(Port p, Responder responder);

  // Writes the bytes on every open connection of the port, split into separate writes at the
  // given ascending offsets with a pause between them; returns the number written to.
  std::size_t send(Port p, std::string_view bytes, const std::vector<std::size_t>& splitAt = {},
                   Millis pause = Millis(20));
  // Refused connections are accepted and closed at once, before any byte.
  void setRefuseConnections(Port p, bool refuse);
  // Stops listening on the port, so that connects fail, or listens again; true once in effect.
  bool setListening(Port p, bool listening);
  // Closes the open connections of the port (the client sees the end of the stream).
  void dropConnections(Port p);

  // Connections accepted (refused ones included), served, and open now.
  std::size_t acceptedCount(Port p) const;
  std::size_t connectionCount(Port p) const;
  std::size_t openCount(Port p) const;
  bool waitForConnections(Port p, std::size_t count, Millis timeout) const;
  bool waitForOpenCount(Port p, std::size_t count, Millis timeout) const;

  std::vector<Packet> packets(Port p) const;
  bool waitForPacketCount(Port p, std::size_t count, Millis timeout) const;
  // The nth packet (from 0) of that code on the port, once it has arrived.
  std::optional<Packet> waitForPacket(Port p, std::uint32_t code, Millis timeout, std::size_t nth = 0) const;
  // Why connections ended badly (oversized lengths).
  std::vector<std::string> errors() const;

 private:
  struct Connection;
  struct PortState;

  PortState& state(Port p) const;
  void acceptOne(Port p, int fd);
  void serve(const std::shared_ptr<Connection>& c);
  bool readPackets(const std::shared_ptr<Connection>& c);
  bool answer(const std::shared_ptr<Connection>& c, const Packet& received);
  bool pauseFor(const std::shared_ptr<Connection>& c, Millis wait);
  template <typename Pred>
  bool waitUntil(Millis timeout, Pred pred) const;
  // Called with m_ held.
  std::vector<std::shared_ptr<Connection>> openLocked(Port p) const;
  std::size_t countConnectionsLocked(Port p) const;
  std::size_t countPacketsLocked(Port p) const;

  std::atomic<bool> stop_{false};
  mutable std::mutex m_;
  mutable std::condition_variable changed_;
  std::array<std::unique_ptr<PortState>, 3> ports_;
  std::vector<std::shared_ptr<Connection>> connections_;
  std::vector<Packet> received_;
  std::vector<std::string> errors_;
};

}  // namespace kgvsim
