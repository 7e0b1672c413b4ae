// The command and time ports of the test KGV sensor: what each code answers, what each write
// keeps, and the scripts that replace an answer.
#include "KgvDevice.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace kgvsim {

namespace {

std::string word(std::uint32_t value) {
  return Block(4).u32(0, value);
}

// A write's bytes become what a read of the other code gives, cut or padded to its size.
struct Mirror {
  std::uint32_t setCode, getCode;
  std::size_t size;
};

const Mirror kMirrors[] = {
    {0xFFF6, 0xFFF7, 16}, {0x666E, 0x666F, 40}, {0x3333, 0x3334, 20}, {0x666C, 0x666D, 24},
    {0x5561, 0x5562, 44}, {0xC00F, 0xC010, 28}, {0x777A, 0x777B, 36}, {0x555A, 0x555E, 48},
    {0xAAE1, 0xAAE2, 20}, {0xFFFB, 0xFFFC, 32}, {fourcc("GPIO"), 0x6678, 8},
};

// Camera setters by the camera word they change.
const std::pair<std::uint32_t, std::size_t> kCameraSetters[] = {
    {0xAABA, 0}, {0xAAB9, 1}, {0xAABD, 2}, {0xAABB, 3}, {0xAABC, 4},  {0xAAC3, 6},
    {0xAAC0, 7}, {0xAABE, 8}, {0xAAD4, 9}, {0xAAC2, 10}, {0xAAD6, 11},
};

std::string configBlock(const DeviceSetup& s) {
  switch (s.form) {
    case Form::Anpr: return anprBlock(s.anpr);
    case Form::Dgpr: return dgprBlock(s.dgpr);
    case Form::Signature: return signatureBlock(s.signature);
    case Form::Video:
    case Form::VideoExternal: return videoBlock(s.video);
    case Form::Recorder: return Block(32).text(0, 16, "recorder").u32(28, s.recorderStreamPort);
  }
  return {};
}

std::string textOf(std::string_view bytes) {
  return std::string(bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
}

}  // namespace

std::string ledsBlock(const std::array<std::uint32_t, 8>& words) {
  Block b(32);
  for (std::size_t i = 0; i < words.size(); ++i) b.u32(4 * i, words[i]);
  return b;
}

struct KgvDevice::State {
  struct Scripted {
    Answer answer;
    int times;
  };

  mutable std::mutex m;
  DeviceSetup setup;
  std::map<std::uint32_t, std::string> reads;
  std::map<std::uint32_t, Scripted> scripts;
  std::deque<std::uint32_t> statuses;
  std::vector<std::string> plates;
  std::vector<UnicastEntry> unicast;
  std::string serialIn, serialOut;
  std::array<std::uint32_t, 2> bracketing{0, 0};
  std::size_t reboots = 0;
  std::function<void(std::uint32_t)> afterWrite;
  std::uint32_t written = 0;  // the code of the write being answered

  explicit State(DeviceSetup s) : setup(std::move(s)) {
    reads[0xFFF7] = boardBlock(setup.board);
    reads[0xAAB3] = std::string(setup.mac.begin(), setup.mac.end());
    reads[0x6673] = word(setup.cardClass);
    reads[0x6677] = masterAddressesBlock(setup.masterAddresses);
    reads[0xFFFC] = Block(32).text(0, 32, setup.uniqueName);
    reads[0xAAF1] = descriptionBlock(setup.description);
    reads[0x777B] = activationBlock(setup.activation);
    reads[0x3334] = remoteEnslaveBlock({5, 60, 1, 2}, 12);
    reads[0x666D] = speedBlock(1200, 550, 315);
    reads[0x5562] = areaBlock({10, 20, 300, 200, 0});
    reads[0x666F] = masterParametersBlock({});
    reads[0xC010] = ledTriggerBlock(1, 1, 0, 40, 200);
    reads[0xAAE2] = databaseBlock(1, 1, 500, 2);
    reads[0x555E] = ocrBlock({60, 300, 12, 50, 120, 70, 80, 9, 100, 2, 3, 8});
    reads[0x6678] = Block(8).u16(4, 1);
    for (std::uint32_t code : setup.notSupported) scripts[code] = {Answer::reply(kNotSupported), -1};
    unicast = setup.unicast;
  }

  std::optional<Reply> answer(const Packet& p);
  std::optional<Reply> scripted(const Packet& p, const Answer& a);
  Reply normal(const Packet& p);
  Reply ack(const Packet& p, int replies = 1) const;
  std::optional<Reply> write(const Packet& p);
  std::optional<Reply> special(const Packet& p);
};

std::optional<Reply> KgvDevice::State::answer(const Packet& p) {
  std::lock_guard lock(m);
  if (p.code == kKeepAlive) return std::nullopt;
  auto s = scripts.find(p.code);
  if (s != scripts.end()) {
    const Answer a = s->second.answer;
    if (s->second.times > 0 && --s->second.times == 0) scripts.erase(s);
    return scripted(p, a);
  }
  return normal(p);
}

std::optional<Reply> KgvDevice::State::scripted(const Packet& p, const Answer& a) {
  switch (a.kind) {
    case Answer::Kind::Silence: return std::nullopt;
    case Answer::Kind::Drop: return Reply::closing().after(a.delay);
    case Answer::Kind::Code:
      return Reply::send(header(a.length, a.code) + std::string(a.length, '\0')).after(a.delay);
    case Answer::Kind::Raw: return Reply::send(a.bytes).after(a.delay);
    case Answer::Kind::Normal: break;
  }
  return normal(p).after(a.delay);
}

Reply KgvDevice::State::ack(const Packet& p, int replies) const {
  if (setup.ackWithOwnCode) return Reply::send(header(0, p.code));
  std::string bytes;
  for (int i = 0; i < replies; ++i) bytes += header(0, kAck);
  return Reply::send(bytes);
}

Reply KgvDevice::State::normal(const Packet& p) {
  if (auto r = special(p)) return *r;
  if (auto r = write(p)) return *r;
  auto read = reads.find(p.code);
  if (read != reads.end()) return Reply::send(packet(p.code, read->second));
  written = p.code;  // a setting this sensor only acknowledges
  return ack(p);
}

// The start-up reads and the reads computed from what the sensor holds.
std::optional<Reply> KgvDevice::State::special(const Packet& p) {
  switch (p.code) {
    case 0x112: return Reply::send(packet(p.code, versionBlock(setup.version)));
    case 0x111: return Reply::send(packet(p.code, setup.versionText));
    case 0xAAAC: {
      const std::string block = configBlock(setup);
      const std::uint32_t code = setup.configCode ? setup.configCode : std::uint32_t(setup.form);
      return Reply::send(header(std::uint32_t(block.size()), code) + block);
    }
    case 0xAAAB: {
      std::uint32_t status = setup.status;
      if (!statuses.empty()) {
        status = statuses.front();
        statuses.pop_front();
      }
      return Reply::send(header(0, status));
    }
    case 0x5568: {
      const std::size_t index = p.payload.size() >= 2 ? readU16(p.payload, 0) : 99;
      return Reply::send(packet(p.code, index < 3 ? setup.externalConfigs[index] : std::string()));
    }
    case 0xFFFA: return Reply::send(packet(p.code, networkPortsBlock(setup.ports[0], setup.ports[1], setup.ports[2],
                                                                     setup.ports[3])));
    case 0xAAD7: return Reply::send(packet(p.code, cameraBlock(setup.camera)));
    case 0xAAB7: return Reply::send(packet(p.code, cameraBlock(setup.camera).substr(0, 44)));
    case 0xC005: return Reply::send(packet(p.code, word(setup.flip)));
    case 0xC007: return Reply::send(packet(p.code, word(setup.synchro)));
    case 0xC012: return Reply::send(packet(p.code, word(setup.aeSpeed)));
    case 0xAAB8: return Reply::send(packet(p.code, ledsBlock(setup.leds)));
    case 0xAAC4: return Reply::send(packet(p.code, word(setup.camera[1])));
    case 0xAAC6: return Reply::send(packet(p.code, word(setup.camera[3])));
    case 0xAAC7: return Reply::send(packet(p.code, word(setup.camera[4])));
    case 0xFFF9: return Reply::send(packet(p.code, word(setup.focusValues[0]) + word(setup.focusValues[1])));
    case 0xC00B: return Reply::send(packet(p.code, word(bracketing[0]) + word(bracketing[1])));
    case 0xAAE0: return Reply::send(packet(p.code, word(std::uint32_t(plates.size()))));
    case 0xAADF: {
      std::string list;
      for (const auto& plate : plates) list += Block(11).text(0, 11, plate).bytes();
      return Reply::send(packet(p.code, list));
    }
    case 0x666A: return Reply::send(packet(p.code, word(std::uint32_t(unicast.size()))));
    case 0x6668: return Reply::send(packet(p.code, unicastBlock(unicast)));
    case 0xAAB0: {
      const std::size_t n = p.payload.size() >= 4 ? readU32(p.payload, 0) : 0;
      std::string bytes = serialIn.substr(0, n);
      serialIn.erase(0, bytes.size());
      bytes.resize(n, '\0');
      return Reply::send(packet(p.code, bytes));
    }
    case 0xAACA: {
      const char terminator = p.payload.empty() ? '\0' : p.payload[0];
      const std::size_t end = serialIn.find(terminator);
      const std::string bytes = serialIn.substr(0, end == std::string::npos ? serialIn.size() : end + 1);
      serialIn.erase(0, bytes.size());
      return Reply::send(packet(p.code, bytes));
    }
    case kRebooting: {
      ++reboots;
      Reply r = Reply::send(header(0, kRebooting));
      r.close = true;
      return r;
    }
    default: return std::nullopt;
  }
}

// Commands that change what the sensor holds; each is acknowledged.
std::optional<Reply> KgvDevice::State::write(const Packet& p) {
  written = p.code;
  for (const auto& [code, index] : kCameraSetters) {
    if (code == p.code && p.payload.size() >= 4) {
      setup.camera[index] = readU32(p.payload, 0);
      return ack(p);
    }
  }
  for (const Mirror& mirror : kMirrors) {
    if (mirror.setCode == p.code) {
      std::string stored = p.payload;
      stored.resize(mirror.size, '\0');
      reads[mirror.getCode] = stored;
      return ack(p);
    }
  }
  const std::uint32_t value = p.payload.size() >= 4 ? readU32(p.payload, 0) : 0;
  switch (p.code) {
    case 0xC004: setup.flip = value; return ack(p);
    case 0xC006: setup.synchro = value; return ack(p);
    case 0xC011: setup.aeSpeed = value; return ack(p);
    case 0xC00A: bracketing[0] = value; return ack(p);
    case 0xC00C: bracketing[1] = value; return ack(p);
    case 0xAACC:
      if (p.payload.size() >= 8) setup.leds[3] = value, setup.leds[7] = readU32(p.payload, 4);
      return ack(p, 2);
    case 0xAACB:
      if (p.payload.size() >= 8) {
        setup.leds[1] = setup.leds[5] = value;
        setup.leds[2] = setup.leds[6] = readU32(p.payload, 4);
      }
      return ack(p, 2);
    case 0xAADB: plates.push_back(textOf(p.payload)); return ack(p);
    case 0xAADC: std::erase(plates, textOf(p.payload)); return ack(p);
    case 0xAADD: plates.clear(); return ack(p);
    case 0x6666: unicast.push_back({textOf(p.payload.substr(0, 16)), readU16(p.payload, 16)}); return ack(p);
    case 0x6667:
      std::erase_if(unicast, [&](const UnicastEntry& e) { return e.address == textOf(p.payload.substr(0, 16)); });
      return ack(p);
    case 0xAAAF: serialOut += p.payload; return ack(p);
    case 0x555D:
      if (p.payload.size() >= 84)
        setup.ports = {readU32(p.payload, 68), readU32(p.payload, 72), readU32(p.payload, 76), readU32(p.payload, 80)};
      return ack(p);
    default: written = 0; return std::nullopt;
  }
}

KgvDevice::KgvDevice(KgvSensor& sensor, DeviceSetup setup)
    : state_(std::make_shared<State>(std::move(setup))), sensor_(sensor) {
  sensor_.setResponder(Port::Command, [state = state_](const Packet& p) {
    auto reply = state->answer(p);
    std::function<void(std::uint32_t)> hook;
    std::uint32_t code = 0;
    {
      std::lock_guard lock(state->m);
      hook = state->afterWrite;
      code = std::exchange(state->written, 0);
    }
    if (hook && code) hook(code);
    return reply;
  });
}

void KgvDevice::afterWrite(std::function<void(std::uint32_t)> hook) {
  std::lock_guard lock(state_->m);
  state_->afterWrite = std::move(hook);
}

KgvDevice::~KgvDevice() {
  sensor_.setResponder(Port::Command, nullptr);
}

void KgvDevice::script(std::uint32_t code, Answer answer, int times) {
  std::lock_guard lock(state_->m);
  state_->scripts[code] = {answer, times};
}

void KgvDevice::clearScripts() {
  std::lock_guard lock(state_->m);
  state_->scripts.clear();
}

void KgvDevice::statusSequence(std::vector<std::uint32_t> words) {
  std::lock_guard lock(state_->m);
  state_->statuses.assign(words.begin(), words.end());
}

void KgvDevice::setStatus(std::uint32_t word) {
  std::lock_guard lock(state_->m);
  state_->setup.status = word;
}

void KgvDevice::serialInput(std::string bytes) {
  std::lock_guard lock(state_->m);
  state_->serialIn += bytes;
}

std::vector<std::string> KgvDevice::plates() const {
  std::lock_guard lock(state_->m);
  return state_->plates;
}

std::vector<UnicastEntry> KgvDevice::unicast() const {
  std::lock_guard lock(state_->m);
  return state_->unicast;
}

std::string KgvDevice::serialOutput() const {
  std::lock_guard lock(state_->m);
  return state_->serialOut;
}

std::string KgvDevice::stored(std::uint32_t code) const {
  std::lock_guard lock(state_->m);
  auto it = state_->reads.find(code);
  return it == state_->reads.end() ? std::string() : it->second;
}

std::array<std::uint32_t, 12> KgvDevice::camera() const {
  std::lock_guard lock(state_->m);
  return state_->setup.camera;
}

std::array<std::uint32_t, 8> KgvDevice::leds() const {
  std::lock_guard lock(state_->m);
  return state_->setup.leds;
}

std::size_t KgvDevice::reboots() const {
  std::lock_guard lock(state_->m);
  return state_->reboots;
}

std::size_t KgvDevice::keepAlives() const {
  std::size_t n = 0;
  for (const auto& p : sensor_.packets(Port::Command)) n += p.code == kKeepAlive ? 1 : 0;
  return n;
}

// ---- the time port ----

struct KgvClock::State {
  mutable std::mutex m;
  std::uint32_t start;
  std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
  Millis delay{0};
  std::deque<TimeAnswer> answers;
  std::size_t requests = 0, reboots = 0;

  std::uint32_t now() const {
    const auto elapsed = std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - origin).count();
    return start + std::uint32_t(elapsed);
  }

  std::optional<Reply> answer(const Packet& p) {
    std::lock_guard lock(m);
    if (p.code == kRebooting) {
      ++reboots;
      return Reply::send(header(0, kRebooting));
    }
    if (p.code != kTimeCode) return std::nullopt;
    ++requests;
    TimeAnswer a;
    if (!answers.empty()) {
      a = answers.front();
      answers.pop_front();
    }
    const std::string reply = packet(kTimeCode, Block(4).u32(0, now()).bytes());
    switch (a.kind) {
      case Kind::Normal: return Reply::send(reply).after(a.delay + delay);
      case Kind::Split: return Reply::send(reply).split({a.splitAt}, a.delay).after(delay);
      case Kind::WrongCode: return Reply::send(packet(kTimeCode + 1, Block(4).u32(0, now()).bytes())).after(delay);
      case Kind::WrongLength: return Reply::send(packet(kTimeCode, Block(8).u32(0, now()).bytes())).after(delay);
      case Kind::Silence: return std::nullopt;
      case Kind::Drop: return Reply::closing();
    }
    return std::nullopt;
  }
};

KgvClock::KgvClock(KgvSensor& sensor, std::uint32_t start) : state_(std::make_shared<State>()), sensor_(sensor) {
  state_->start = start;
  sensor_.setResponder(Port::Time, [state = state_](const Packet& p) { return state->answer(p); });
}

KgvClock::~KgvClock() {
  sensor_.setResponder(Port::Time, nullptr);
}

std::uint32_t KgvClock::now() const {
  std::lock_guard lock(state_->m);
  return state_->now();
}

void KgvClock::setDelay(Millis delay) {
  std::lock_guard lock(state_->m);
  state_->delay = delay;
}

void KgvClock::script(std::vector<TimeAnswer> answers) {
  std::lock_guard lock(state_->m);
  state_->answers.assign(answers.begin(), answers.end());
}

std::size_t KgvClock::requests() const {
  std::lock_guard lock(state_->m);
  return state_->requests;
}

std::size_t KgvClock::reboots() const {
  std::lock_guard lock(state_->m);
  return state_->reboots;
}

}  // namespace kgvsim
