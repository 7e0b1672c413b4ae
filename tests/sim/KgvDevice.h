// A KGV sensor's command and time ports on the test sensor: the command port answers the
// start-up reads of each sensor type and keeps what commands write (a read returns what was
// written); the time port runs its own wrapping millisecond clock. Answers can be scripted per
// code: another reply code, a length on it, late, silent or dropping the connection.
//
//   kgvsim::KgvSensor sensor;
//   kgvsim::KgvDevice device(sensor, setup);          // answers the command port
//   kgvsim::KgvClock clock(sensor, 0xFFFFF000u);      // answers the time port
//   device.script(0xAABA, Answer::reply(0xAAA9));     // the next zoom is refused
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "KgvBlocks.h"
#include "KgvSensor.h"

namespace kgvsim {

// Reply codes of the command port.
inline constexpr std::uint32_t kAck = 0xAAAA;
inline constexpr std::uint32_t kNack = 0xAAA9;
inline constexpr std::uint32_t kBusy = 0xAA9F;
inline constexpr std::uint32_t kFull = 0xAAA5;
inline constexpr std::uint32_t kNotSupported = 0xAAA8;
inline constexpr std::uint32_t kRs232Locked = 0xAAA7;
inline constexpr std::uint32_t kTimeout = 0xAAA6;
inline constexpr std::uint32_t kFlashCorrupted = 0xAAA4;
inline constexpr std::uint32_t kTooCold = 0xAAA3;
inline constexpr std::uint32_t kRebooting = 0x1111;
inline constexpr std::uint32_t kKeepAlive = 0xAAB2;
inline constexpr std::uint32_t kTimeCode = 0xAAB1;

// The form of the configuration the sensor answers, with the code that announces it.
enum class Form : std::uint32_t {
  Anpr = 0xAAAE,
  Dgpr = 0x8889,
  Video = 0xAAAD,
  Signature = 0xAAF3,
  VideoExternal = 0xAAF6,
  Recorder = 0x555C,
};

// How the sensor is made and what it holds at the start.
struct DeviceSetup {
  Form form = Form::Anpr;
  std::uint32_t configCode = 0;  // not 0: announces the configuration with this code instead
  Version version;
  AnprForm anpr;
  DgprForm dgpr;
  SignatureForm signature;
  VideoForm video;
  std::uint32_t recorderStreamPort = 0;
  std::uint32_t status = 0x1;
  std::string versionText = "KGV test sensor";
  std::array<std::uint32_t, 4> ports{11011, 10001, 10000, 0};  // command, stream, time, DHCP
  Board board;
  std::array<std::uint8_t, 6> mac{0x00, 0x0E, 0xA1, 0x11, 0x22, 0x33};
  std::uint32_t cardClass = 1;
  MasterAddresses masterAddresses;
  std::string uniqueName = "kgvsim-name";
  Description description;
  std::array<std::uint8_t, 5> activation{1, 0, 1, 0, 1};
  // Zoom, focus, shutter, iris, gain, kept, exposure compensation, display, autofocus, IR cut,
  // manual, macro.
  std::array<std::uint32_t, 12> camera{1000, 20000, 12, 5, 3, 0, 7, 1, 0, 0, 0, 0};
  std::uint32_t flip = 0, synchro = 1, aeSpeed = 16;
  // LED card, then {start, end, power} of each channel at words 1-3 and 5-7.
  std::array<std::uint32_t, 8> leds{0x21, 3400, 16600, 900, 0, 3400, 16600, 800};
  std::array<std::string, 3> externalConfigs{"classes-0", "", "classes-2"};
  std::array<std::uint32_t, 2> focusValues{21000, 22000};
  bool ackWithOwnCode = false;  // acknowledge with the command's code instead of 0xAAAA
  std::vector<std::uint32_t> notSupported;  // codes answered "not supported" from the start
  std::vector<UnicastEntry> unicast;         // the discover clients subscribed at the start
};

// A scripted answer to one code.
struct Answer {
  enum class Kind { Normal, Code, Raw, Silence, Drop };
  Kind kind = Kind::Normal;
  std::uint32_t code = 0;
  std::uint32_t length = 0;  // bytes said to follow the reply code (zeros follow)
  Millis delay{0};
  std::string bytes;  // Raw: written as they are

  static Answer normal() { return {}; }
  static Answer reply(std::uint32_t code, std::uint32_t length = 0) { return {Kind::Code, code, length, {}, {}}; }
  static Answer raw(std::string bytes) { return {Kind::Raw, 0, 0, {}, std::move(bytes)}; }
  static Answer silence() { return {Kind::Silence, 0, 0, {}, {}}; }
  static Answer drop() { return {Kind::Drop, 0, 0, {}, {}}; }
  Answer late(Millis wait) const {
    Answer a = *this;
    a.delay = wait;
    return a;
  }
};

class KgvDevice {
 public:
  KgvDevice(KgvSensor& sensor, DeviceSetup setup = {});
  ~KgvDevice();
  KgvDevice(const KgvDevice&) = delete;
  KgvDevice& operator=(const KgvDevice&) = delete;

  // The next `times` packets of the code (forever with -1) get this answer.
  void script(std::uint32_t code, Answer answer, int times = -1);
  void clearScripts();
  // Optional reads answered "not supported".
  void notSupported(std::uint32_t code) { script(code, Answer::reply(kNotSupported)); }
  // The next status reads give these words, then the status set last.
  void statusSequence(std::vector<std::uint32_t> words);
  void setStatus(std::uint32_t word);
  // Bytes the serial port has to give.
  void serialInput(std::string bytes);
  // Called with the code of each command that changed what the sensor holds, as it is answered
  // (a sensor pushes the changed block on its stream then).
  void afterWrite(std::function<void(std::uint32_t)> hook);

  // What the sensor holds now.
  std::vector<std::string> plates() const;
  std::string serialOutput() const;
  std::vector<UnicastEntry> unicast() const;
  std::string stored(std::uint32_t code) const;  // the last block a read of that code gives
  std::array<std::uint32_t, 12> camera() const;
  std::array<std::uint32_t, 8> leds() const;
  std::size_t reboots() const;
  std::size_t keepAlives() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
  KgvSensor& sensor_;
};

// The time port's clock: milliseconds since the start value, wrapping at 32 bits.
class KgvClock {
 public:
  KgvClock(KgvSensor& sensor, std::uint32_t start);
  ~KgvClock();
  KgvClock(const KgvClock&) = delete;
  KgvClock& operator=(const KgvClock&) = delete;

  std::uint32_t now() const;
  // Every later answer waits this long (shapes the round trip).
  void setDelay(Millis delay);
  // The next time requests, one answer each, before the normal answers come back.
  enum class Kind { Normal, Split, WrongCode, WrongLength, Silence, Drop };
  struct TimeAnswer {
    Kind kind = Kind::Normal;
    Millis delay{0};
    std::size_t splitAt = 3;  // a split reply pauses `delay` after this many bytes
  };
  void script(std::vector<TimeAnswer> answers);
  std::size_t requests() const;
  std::size_t reboots() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
  KgvSensor& sensor_;
};

// Fields of the command port's blocks for the tests' expectations.
std::string ledsBlock(const std::array<std::uint32_t, 8>& words);  // 32 bytes

}  // namespace kgvsim
