// The stream port of the test KGV sensor: its greeting, the answers to the requests that come
// back on the stream, and the pushes the tests ask for.
#include "KgvStream.h"

#include <utility>

#include "KgvStreamPackets.h"

namespace kgvsim {

namespace {

const std::uint32_t kLateStackCode = 26230;
const std::uint32_t kInputCode = 26232;

StreamSetup streamSetupOf(const DeviceSetup& d) {
  StreamSetup s;
  s.form = d.form == Form::Dgpr || d.form == Form::Video ? d.form : Form::Anpr;
  s.version = d.version;
  s.anpr = d.anpr;
  s.dgpr = d.dgpr;
  s.video = d.video;
  s.board = d.board;
  s.camera = d.camera;
  s.activation = d.activation;
  s.unicast.clear();
  return s;
}

// The configuration burst, with the late stack and the input state before its end mark.
std::string greetingOf(const DeviceSetup& d) {
  std::string burst = streamConfiguration(streamSetupOf(d));
  burst.resize(burst.size() - kHeaderSize);
  return burst + packet(kLateStackCode, lateStackBlock(1, 50, 9)) + packet(kInputCode, Block(8).u16(4, 1).bytes()) +
         packet(kEndOfConfigCode);
}

}  // namespace

std::string triggerAnswerBlock(std::uint32_t triggerId, const std::string& status, const std::string& error) {
  return Block(274).u32(0, triggerId).text(4, 14, status).text(18, 256, error);
}

struct KgvStream::State {
  std::mutex m;
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
      Recognition r;
      r.request = first + std::uint32_t(a.numberOffset);
      r.plate = "LOG123";
      r.jpeg = jpeg();
      bytes = recognitionPacket(r);
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
  Recognition r;
  r.plate = plate;
  return sensor_.send(Port::Stream, recognitionPacket(r));
}

std::size_t KgvStream::pushConfiguration(const DeviceSetup& setup) {
  return sensor_.send(Port::Stream, configurationForm(streamSetupOf(setup)));
}

std::size_t KgvStream::pushBlock(std::uint32_t code, const std::string& payload) {
  return sensor_.send(Port::Stream, packet(code, payload));
}

}  // namespace kgvsim
