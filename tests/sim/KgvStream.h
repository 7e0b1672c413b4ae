// A KGV sensor's stream port on the test sensor: the configuration pushed on every connection,
// and the answers to the requests that come back on the stream (pictures "GEXI", triggers
// "TRGN"/"TRGF", the current log 0xAAD3), each scriptable: another status, late, never, twice,
// or with another request number. Pushes recognitions and blocks on demand.
//
//   kgvsim::KgvStream stream(sensor, device);        // greets with the device's configuration
//   stream.script(fourcc("GEXI"), StreamAnswer::late(800ms));
//   stream.pushRecognition("AB123CD");
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "KgvDevice.h"
#include "KgvSensor.h"

namespace kgvsim {

// Codes of the answers on the stream.
inline constexpr std::uint32_t kCurrentLogCode = 0xAAD3;
inline constexpr std::uint32_t kTriggerAnswerCode = 8741;
inline constexpr std::uint32_t kEndOfConfigCode = 21862;

struct StreamAnswer {
  enum class Kind { Normal, Never, Twice };
  Kind kind = Kind::Normal;
  Millis delay{0};
  std::int32_t imageStatus = 0;     // GEXI status word: 0 image, -1 too early, 1 too late, other
  std::int32_t numberOffset = 0;    // added to the request number the answer carries
  std::string triggerStatus = "ok";
  std::string triggerError;

  static StreamAnswer normal() { return {}; }
  static StreamAnswer never() { return of(Kind::Never); }
  static StreamAnswer twice() { return of(Kind::Twice); }
  static StreamAnswer of(Kind k) {
    StreamAnswer a;
    a.kind = k;
    return a;
  }
  StreamAnswer late(Millis wait) const {
    StreamAnswer a = *this;
    a.delay = wait;
    return a;
  }
  static StreamAnswer image(std::int32_t status) {
    StreamAnswer a;
    a.imageStatus = status;
    return a;
  }
  static StreamAnswer trigger(std::string status, std::string error) {
    StreamAnswer a;
    a.triggerStatus = std::move(status);
    a.triggerError = std::move(error);
    return a;
  }
  static StreamAnswer numbered(std::int32_t offset) {
    StreamAnswer a;
    a.numberOffset = offset;
    return a;
  }
};

// The trigger answer's bytes: id, status text (14 bytes at 4), error text (256 bytes at 18).
std::string triggerAnswerBlock(std::uint32_t triggerId, const std::string& status, const std::string& error);

class KgvStream {
 public:
  // The configuration pushed on every connection follows the device's setup.
  KgvStream(KgvSensor& sensor, const DeviceSetup& setup);
  ~KgvStream();
  KgvStream(const KgvStream&) = delete;
  KgvStream& operator=(const KgvStream&) = delete;

  // The next `times` requests of the code get this answer, then the normal one.
  void script(std::uint32_t code, StreamAnswer answer, int times = 1);
  // The JPEG that image and log answers carry.
  static const std::string& jpeg();

  // Writes on the open stream connections.
  std::size_t pushRecognition(const std::string& plate);
  // The configuration form of that setup, as a sensor pushes it after a change.
  std::size_t pushConfiguration(const DeviceSetup& setup);
  std::size_t pushBlock(std::uint32_t code, const std::string& payload);

 private:
  struct State;
  std::shared_ptr<State> state_;
  KgvSensor& sensor_;
};

}  // namespace kgvsim
