// The test KGV sensor: one listener per port, one thread per connection that greets, cuts what
// arrives into packets, records them and answers as scripted.
#include "KgvSensor.h"

#include <unistd.h>

#include "Channel.h"

namespace kgvsim {

struct KgvSensor::Connection {
  Connection(Port p, std::size_t number, int fd) : port(p), id(number), channel(fd, nullptr) {}

  const Port port;
  const std::size_t id;
  fybsim::Channel channel;
  std::thread thread;
  // Guarded by the sensor's mutex.
  bool open = true;
  bool dropped = false;
};

struct KgvSensor::PortState {
  std::unique_ptr<fybsim::Listener> listener;
  // Guarded by the sensor's mutex.
  std::string greeting;
  Responder responder;
  bool refuse = false;
  std::size_t accepted = 0;
};

namespace {

const char* portName(Port p) {
  switch (p) {
    case Port::Stream: return "stream";
    case Port::Time: return "time";
    case Port::Command: return "command";
  }
  return "";
}

}  // namespace

KgvSensor::KgvSensor() {
  for (Port p : {Port::Stream, Port::Time, Port::Command}) {
    auto& s = ports_[static_cast<std::size_t>(p)];
    s = std::make_unique<PortState>();
    s->listener = std::make_unique<fybsim::Listener>([this, p](int fd) { acceptOne(p, fd); });
  }
}

KgvSensor::~KgvSensor() {
  {
    std::lock_guard lock(m_);
    stop_ = true;
    changed_.notify_all();
  }
  for (auto& s : ports_) s->listener->stop();
  for (auto& c : connections_) c->channel.shutdown();
  for (auto& c : connections_) c->thread.join();
  connections_.clear();
}

KgvSensor::PortState& KgvSensor::state(Port p) const {
  return *ports_[static_cast<std::size_t>(p)];
}

std::uint16_t KgvSensor::port(Port p) const {
  return state(p).listener->port();
}

std::string KgvSensor::connectionText() const {
  return "127.0.0.1:" + std::to_string(port(Port::Command)) + "," + std::to_string(port(Port::Stream)) + "," +
         std::to_string(port(Port::Time));
}

void KgvSensor::acceptOne(Port p, int fd) {
  std::lock_guard lock(m_);
  PortState& s = state(p);
  ++s.accepted;
  if (s.refuse || stop_) {
    ::close(fd);
  } else {
    auto c = std::make_shared<Connection>(p, s.accepted, fd);
    connections_.push_back(c);
    c->thread = std::thread([this, c] { serve(c); });
  }
  changed_.notify_all();
}

void KgvSensor::serve(const std::shared_ptr<Connection>& c) {
  std::string greeting;
  {
    std::lock_guard lock(m_);
    greeting = state(c->port).greeting;
  }
  if (greeting.empty() || c->channel.write(greeting)) readPackets(c);
  c->channel.shutdown();
  {
    std::lock_guard lock(m_);
    c->open = false;
    changed_.notify_all();
  }
  c->channel.close();
}

// Until the connection ends or a reply closes it.
bool KgvSensor::readPackets(const std::shared_ptr<Connection>& c) {
  std::string buffer;
  std::vector<char> chunk(64 * 1024);
  while (!stop_) {
    int n = c->channel.readSome(chunk.data(), chunk.size(), 50);
    if (n < 0) return false;
    buffer.append(chunk.data(), static_cast<std::size_t>(n));
    while (buffer.size() >= kHeaderSize) {
      const std::uint32_t length = readU32(buffer, 0);
      if (length > kMaxPayload) {
        std::lock_guard lock(m_);
        errors_.push_back(std::string(portName(c->port)) + " connection " + std::to_string(c->id) +
                          ": payload length " + std::to_string(length) + " refused");
        return false;
      }
      if (buffer.size() < kHeaderSize + length) break;
      Packet got{c->port, c->id, readU32(buffer, 4), buffer.substr(kHeaderSize, length),
                 std::chrono::steady_clock::now()};
      buffer.erase(0, kHeaderSize + length);
      {
        std::lock_guard lock(m_);
        received_.push_back(got);
        changed_.notify_all();
      }
      if (!answer(c, got)) return false;
    }
  }
  return false;
}

bool KgvSensor::answer(const std::shared_ptr<Connection>& c, const Packet& received) {
  Responder responder;
  {
    std::lock_guard lock(m_);
    responder = state(c->port).responder;
  }
  // Outside the lock: the responder may call back into the sensor.
  std::optional<Reply> reply = responder ? responder(received) : std::nullopt;
  if (!reply) return true;
  if (!pauseFor(c, reply->delay)) return false;
  if (!reply->bytes.empty() &&
      !c->channel.write(reply->bytes, reply->splitAt, static_cast<int>(reply->pause.count())))
    return false;
  return !reply->close;
}

bool KgvSensor::pauseFor(const std::shared_ptr<Connection>& c, Millis wait) {
  std::unique_lock lock(m_);
  changed_.wait_for(lock, wait, [&] { return stop_ || c->dropped; });
  return !stop_ && !c->dropped;
}

void KgvSensor::setGreeting(Port p, std::string bytes) {
  std::lock_guard lock(m_);
  state(p).greeting = std::move(bytes);
}

void KgvSensor::setResponder(Port p, Responder responder) {
  std::lock_guard lock(m_);
  state(p).responder = std::move(responder);
}

std::size_t KgvSensor::send(Port p, std::string_view bytes, const std::vector<std::size_t>& splitAt, Millis pause) {
  std::vector<std::shared_ptr<Connection>> targets;
  {
    std::lock_guard lock(m_);
    targets = openLocked(p);
  }
  std::size_t written = 0;
  for (auto& c : targets) {
    if (c->channel.write(bytes, splitAt, static_cast<int>(pause.count()))) ++written;
  }
  return written;
}

void KgvSensor::setRefuseConnections(Port p, bool refuse) {
  std::lock_guard lock(m_);
  state(p).refuse = refuse;
}

bool KgvSensor::setListening(Port p, bool listening) {
  return state(p).listener->setListening(listening);
}

void KgvSensor::dropConnections(Port p) {
  std::lock_guard lock(m_);
  for (auto& c : openLocked(p)) {
    c->dropped = true;
    c->channel.shutdown();
  }
  changed_.notify_all();
}

template <typename Pred>
bool KgvSensor::waitUntil(Millis timeout, Pred pred) const {
  std::unique_lock lock(m_);
  return changed_.wait_for(lock, timeout, pred);
}

std::vector<std::shared_ptr<KgvSensor::Connection>> KgvSensor::openLocked(Port p) const {
  std::vector<std::shared_ptr<Connection>> open;
  for (const auto& c : connections_) {
    if (c->open && c->port == p) open.push_back(c);
  }
  return open;
}

std::size_t KgvSensor::countPacketsLocked(Port p) const {
  std::size_t n = 0;
  for (const auto& r : received_) n += r.port == p ? 1 : 0;
  return n;
}

std::size_t KgvSensor::acceptedCount(Port p) const {
  std::lock_guard lock(m_);
  return state(p).accepted;
}

std::size_t KgvSensor::countConnectionsLocked(Port p) const {
  std::size_t n = 0;
  for (const auto& c : connections_) n += c->port == p ? 1 : 0;
  return n;
}

std::size_t KgvSensor::connectionCount(Port p) const {
  std::lock_guard lock(m_);
  return countConnectionsLocked(p);
}

std::size_t KgvSensor::openCount(Port p) const {
  std::lock_guard lock(m_);
  return openLocked(p).size();
}

bool KgvSensor::waitForConnections(Port p, std::size_t count, Millis timeout) const {
  return waitUntil(timeout, [&] { return countConnectionsLocked(p) >= count; });
}

bool KgvSensor::waitForOpenCount(Port p, std::size_t count, Millis timeout) const {
  return waitUntil(timeout, [&] { return openLocked(p).size() == count; });
}

std::vector<Packet> KgvSensor::packets(Port p) const {
  std::lock_guard lock(m_);
  std::vector<Packet> out;
  for (const auto& r : received_) {
    if (r.port == p) out.push_back(r);
  }
  return out;
}

bool KgvSensor::waitForPacketCount(Port p, std::size_t count, Millis timeout) const {
  return waitUntil(timeout, [&] { return countPacketsLocked(p) >= count; });
}

std::optional<Packet> KgvSensor::waitForPacket(Port p, std::uint32_t code, Millis timeout, std::size_t nth) const {
  std::optional<Packet> found;
  waitUntil(timeout, [&] {
    std::size_t seen = 0;
    for (const auto& r : received_) {
      if (r.port == p && r.code == code && seen++ == nth) {
        found = r;
        return true;
      }
    }
    return false;
  });
  return found;
}

std::vector<std::string> KgvSensor::errors() const {
  std::lock_guard lock(m_);
  return errors_;
}

}  // namespace kgvsim
