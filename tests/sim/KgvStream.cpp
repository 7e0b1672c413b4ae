// The stream port of the test KGV sensor: its greeting, the answers to the requests that come
// back on the stream, and the pushes the tests ask for.
#include "KgvStream.h"

#include <utility>

namespace kgvsim {

namespace {

const std::uint32_t kVersionCode = 274;
const std::uint32_t kCameraCode = 43735;
const std::uint32_t kDatabaseCode = 43746;
const std::uint32_t kLateStackCode = 26230;
const std::uint32_t kBoardCode = 65527;
const std::uint32_t kInputCode = 26232;
const std::uint32_t kCameraPacketSize = 80;

std::string formBlock(const DeviceSetup& s) {
  switch (s.form) {
    case Form::Dgpr: return dgprBlock(s.dgpr);
    case Form::Video:
    case Form::VideoExternal: return videoBlock(s.video);
    default: return anprBlock(s.anpr);
  }
}

std::string greetingOf(const DeviceSetup& s) {
  std::string camera = cameraBlock(s.camera);
  camera.resize(kCameraPacketSize, '\0');
  return packet(kVersionCode, versionBlock(s.version)) + packet(std::uint32_t(s.form), formBlock(s)) +
         packet(kDatabaseCode, databaseBlock(1, 1, 500, 2)) + packet(kLateStackCode, lateStackBlock(1, 240, 9)) +
         packet(kBoardCode, boardBlock(s.board)) + packet(kCameraCode, camera) +
         packet(kInputCode, Block(8).u16(4, 1).bytes()) + packet(kEndOfConfigCode);
}

}  // namespace

std::string triggerAnswerBlock(std::uint32_t triggerId, const std::string& status, const std::string& error) {
  return Block(274).u32(0, triggerId).text(4, 14, status).text(18, 256, error);
}

std::string recognitionBlock(std::uint32_t requestNumber, const std::string& plate, const std::string& jpeg) {
  Block b(64);
  b.u32(0, 1000).u32(4, requestNumber).u32(8, 7).u8(39, 2).text(40, 16, plate).u32(56, 91);
  return std::string(b) + jpeg;
}

struct KgvStream::State {
  std::mutex m;
  DeviceSetup setup;
  std::map<std::uint32_t, std::deque<StreamAnswer>> scripts;
  std::uint32_t nextTriggerId = 100;

  StreamAnswer next(std::uint32_t code) {
    auto it = scripts.find(code);
    if (it == scripts.end() || it->second.empty()) return {};
    StreamAnswer a = it->second.front();
    it->second.pop_front();
    return a;
  }

  std::optional<Reply> answer(const Packet& p) {
    std::lock_guard lock(m);
    const std::uint32_t first = p.payload.size() >= 4 ? readU32(p.payload, 0) : 0;
    std::string bytes;
    StreamAnswer a;
    if (p.code == fourcc("GEXI")) {
      a = next(p.code);
      Block head(20);
      head.u32(0, 5000).u32(4, first + std::uint32_t(a.numberOffset)).u32(8, std::uint32_t(a.imageStatus));
      bytes = packet(p.code, std::string(head) + (a.imageStatus == 0 ? jpeg() : std::string()));
    } else if (p.code == fourcc("TRGN") || p.code == fourcc("TRGF")) {
      a = next(p.code);
      const bool forced = p.payload.size() >= 5 && p.payload[4] == 1;
      const std::uint32_t id = forced ? first + std::uint32_t(a.numberOffset) : nextTriggerId++;
      bytes = packet(kTriggerAnswerCode, triggerAnswerBlock(id, a.triggerStatus, a.triggerError));
    } else if (p.code == kCurrentLogCode) {
      a = next(p.code);
      bytes = packet(kDecisionCode, recognitionBlock(first + std::uint32_t(a.numberOffset), "LOG123", jpeg()));
    } else {
      return std::nullopt;
    }
    if (a.kind == StreamAnswer::Kind::Never) return std::nullopt;
    if (a.kind == StreamAnswer::Kind::Twice) bytes += bytes;
    return Reply::send(bytes).after(a.delay);
  }
};

KgvStream::KgvStream(KgvSensor& sensor, const DeviceSetup& setup)
    : state_(std::make_shared<State>()), sensor_(sensor) {
  state_->setup = setup;
  sensor_.setGreeting(Port::Stream, greetingOf(setup));
  sensor_.setResponder(Port::Stream, [state = state_](const Packet& p) { return state->answer(p); });
}

KgvStream::~KgvStream() {
  sensor_.setResponder(Port::Stream, nullptr);
}

void KgvStream::script(std::uint32_t code, StreamAnswer answer, int times) {
  std::lock_guard lock(state_->m);
  for (int i = 0; i < times; ++i) state_->scripts[code].push_back(answer);
}

const std::string& KgvStream::jpeg() {
  static const std::string bytes = std::string("\xFF\xD8", 2) + "kgv picture" + std::string("\xFF\xD9", 2);
  return bytes;
}

std::size_t KgvStream::pushRecognition(const std::string& plate) {
  return sensor_.send(Port::Stream, packet(kDecisionCode, recognitionBlock(1, plate, jpeg())));
}

std::size_t KgvStream::pushConfiguration() {
  DeviceSetup setup;
  {
    std::lock_guard lock(state_->m);
    setup = state_->setup;
  }
  return sensor_.send(Port::Stream, packet(std::uint32_t(setup.form), formBlock(setup)));
}

std::size_t KgvStream::pushBlock(std::uint32_t code, const std::string& payload) {
  return sensor_.send(Port::Stream, packet(code, payload));
}

}  // namespace kgvsim
