// KGV wire form for the test sensor: the message header and every block a sensor sends, each
// field written at its offset from the protocol description, apart from the library's code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kgvsim {

// Bytes of a fixed size, zero until written; fields are little-endian.
class Block {
 public:
  explicit Block(std::size_t size) : bytes_(size, '\0') {}
  Block& u8(std::size_t at, std::uint8_t value);
  Block& u16(std::size_t at, std::uint16_t value);
  Block& u32(std::size_t at, std::uint32_t value);
  // The text's bytes from the offset, at most width of them: a text of width characters or
  // more is left without its terminating zero.
  Block& text(std::size_t at, std::size_t width, std::string_view value);
  Block& raw(std::size_t at, std::string_view bytes);
  const std::string& bytes() const { return bytes_; }
  operator std::string() const { return bytes_; }

 private:
  std::string bytes_;
};

std::uint16_t readU16(std::string_view bytes, std::size_t at);
std::uint32_t readU32(std::string_view bytes, std::size_t at);

// A four-character code: the characters in memory order read as a little-endian u32.
constexpr std::uint32_t fourcc(const char (&code)[5]) {
  return std::uint32_t(std::uint8_t(code[0])) | std::uint32_t(std::uint8_t(code[1])) << 8 |
         std::uint32_t(std::uint8_t(code[2])) << 16 | std::uint32_t(std::uint8_t(code[3])) << 24;
}

inline constexpr std::size_t kHeaderSize = 8;
std::string header(std::uint32_t length, std::uint32_t code);
// The header {payload length, code} followed by the payload.
std::string packet(std::uint32_t code, std::string_view payload = {});

// ---- identity ----

struct Version {
  std::uint32_t sensorCode = 0x2222;  // 0x1111 video, 0x2222 ANPR, 0x2223 DGPR, 0x2224 signature...
  std::array<std::uint16_t, 3> firmware{4, 8, 1};
  std::array<std::int16_t, 3> protocol{4, 8, 0};
};
std::string versionBlock(const Version& v);  // 16 bytes

struct Network {
  std::string address = "192.168.1.40", mask = "255.255.255.0", gateway = "192.168.1.1", dns = "192.168.1.2";
  std::uint32_t timeoutMs = 7000;
};

// ---- the four configuration forms ----

struct AnprForm {
  Network net;
  std::string uniqueName = "kgvsim", context = "F|GB", possibleContexts = "F|GB|D|E|I";
  std::uint8_t jpeg = 9, stillSize = 240;  // read from protocol 4.7 and 4.8
  std::uint32_t direction = 3, bitrate = 512000, frameSkip = 2;
  std::uint16_t marker = 0xFE0A;
  std::uint8_t zero = 0, enslavement = 2;
  std::array<std::uint16_t, 2> kept{0x1234, 0x5678};  // read from protocol 4.2
  std::uint32_t cameraWord = 0x0520042F;
};
std::string anprBlock(const AnprForm& f);  // 468 bytes

struct DgprForm {
  Network net;
  std::uint32_t direction = 1, bitrate = 256000, frameSkip = 0xFFFFFFFF;
  std::uint8_t enslavement = 1, jpeg = 12, stillSize = 240;
  std::uint32_t ratio = 10, emptyPlatesOff = 0;  // a zero word means detection on
  std::array<std::uint16_t, 2> kept{0x0102, 0x0304};
  std::uint32_t cameraWord = 0x42000001;
};
std::string dgprBlock(const DgprForm& f);  // 136 bytes

struct SignatureForm {
  Network net;
  std::uint8_t jpeg = 7, mode = 3;
  std::string context = "NL", possibleContexts = "NL|B";
  std::uint32_t direction = 2, bitrate = 128000, frameSkip = 4;
  std::array<std::uint16_t, 2> kept{0xAAAA, 0x5555};
  std::uint32_t cameraWord = 0x01000000;
};
std::string signatureBlock(const SignatureForm& f);  // 468 bytes

struct VideoForm {
  Network net;
  std::uint8_t mode = 5, frameSkip = 3;
  std::uint32_t width = 704, height = 576, bitrate = 2000000, gop = 25;
  std::uint32_t cameraWord = 0x00200435;
};
std::string videoBlock(const VideoForm& f);  // 112 bytes

// ---- other blocks, at the sizes the sensor sends them ----

struct Board {
  std::array<std::uint32_t, 2> kept{7, 8};
  std::int16_t keptSigned = -3;
  std::uint16_t serialExport = 2, codec = 1;
  std::uint8_t ioMode = 2, sensorByte = 222;  // 220 video ... 224 external video
};
std::string boardBlock(const Board& b);  // 16 bytes

// Zoom, focus, shutter, iris, gain, kept, exposure compensation, display, autofocus, IR cut,
// manual, macro.
std::string cameraBlock(const std::array<std::uint32_t, 12>& words);  // 48 bytes
std::string ocrBlock(const std::array<std::uint32_t, 12>& words);     // 48 bytes
// Four kept u16 and the temperature.
std::string measuresBlock(const std::array<std::uint16_t, 4>& kept, std::int16_t temperature);  // 12 bytes
std::string lateStackBlock(std::uint32_t enabled, std::uint8_t size, std::uint8_t jpeg);     // 24 bytes

struct UnicastEntry {
  std::string address;
  std::uint16_t port = 0;
};
std::string unicastBlock(const std::vector<UnicastEntry>& entries);  // 28 bytes each

std::string databaseBlock(std::uint32_t mode, std::uint32_t risingEdge, std::uint32_t durationMs,
                          std::uint8_t tolerance);  // 20 bytes
std::string speedBlock(std::uint16_t fieldOfViewCm, std::uint32_t heightCm, std::uint32_t angle);  // 24 bytes
std::string keptTypeBlock(std::uint32_t sensorCode, const std::array<std::uint32_t, 6>& kept);    // 52 bytes
std::string areaBlock(const std::array<std::uint32_t, 5>& words);                                  // 44 bytes
// Four kept words, then the two words that decide the LED current limit.
std::string ledBlock(const std::array<std::uint32_t, 4>& kept, std::uint32_t sixth, std::uint32_t seventh);  // 56
std::string keptShortsBlock(const std::array<std::uint16_t, 3>& kept);                                      // 20

struct MasterAddresses {
  std::string first = "10.1.1.1", second = "10.1.1.2";
  std::array<std::uint32_t, 3> keptFirst{1, 2, 3}, keptSecond{4, 5, 6};
};
std::string masterAddressesBlock(const MasterAddresses& m);                       // 72 bytes
std::string keptWordsBlock(const std::array<std::uint32_t, 3>& kept);             // 20 bytes
std::string activationBlock(const std::array<std::uint8_t, 5>& switches);         // 36 bytes

struct MasterParameters {
  std::array<std::uint32_t, 2> kept{11, 12};
  std::int32_t coveringZone = -350;
  std::array<std::uint8_t, 6> anprMac{0, 1, 2, 3, 4, 5}, contextMac{6, 7, 8, 9, 10, 11};
  std::uint8_t keptByte = 0x7E;
};
std::string masterParametersBlock(const MasterParameters& m);                     // 40 bytes
std::string slaveParametersBlock(const std::array<std::uint32_t, 3>& kept);       // 24 bytes
std::string keptWordBlock(std::uint32_t word);                                    // 28 bytes
// Election wait, longest undecided time, switch type, plate hysteresis; then the gain.
std::string remoteEnslaveBlock(const std::array<std::uint32_t, 4>& words, std::uint16_t maxGain);  // 20 bytes
std::string signaturePictureBlock(std::uint32_t width, std::uint32_t height, std::string_view kept8);  // 40
std::string ledTriggerBlock(std::uint32_t projector, std::uint32_t enabled, std::uint32_t bracketing,
                            std::uint32_t delay, std::uint32_t width);           // 28 bytes
std::string networkPortsBlock(std::uint32_t command, std::uint32_t stream, std::uint32_t time,
                              std::uint32_t dhcp);                               // 16 bytes

// The sensor's self-description, as packet 43761 and the discover answer carry it. Some
// fields share bytes (the 64-character text runs over the 6-byte fields, the two u16 at 450
// over the second of them): they are written in the order below, later over earlier.
struct Description {
  std::uint32_t sensorCode = 0x2222;
  std::array<std::uint8_t, 6> mac{0x00, 0x0E, 0xA1, 0x02, 0x03, 0x04};
  std::array<std::uint16_t, 3> version{4, 8, 1};
  std::uint16_t word18 = 5;
  std::array<std::uint32_t, 3> words20{100, 200, 300};
  std::string name = "kgvsim-desc";  // 32 at 44
  std::uint32_t word76 = 76, word88 = 88, status = 0, word460 = 460, word468 = 468, word472 = 472;
  std::int16_t short80 = -80;
  std::uint16_t short82 = 82, short464 = 464;
  std::string text92 = "text92";   // 16 at 92
  std::string block108;             // 256 at 108
  std::array<std::uint16_t, 3> shorts364{364, 366, 368};
  std::uint8_t byte370 = 0x70, byte371 = 0x71, byte466 = 0x66;
  std::array<std::uint32_t, 2> words372{372, 376}, words476{476, 480};
  std::string text380 = "text380";  // 64 at 380
  std::array<std::uint8_t, 6> mac436{1, 1, 1, 1, 1, 1}, mac446{2, 2, 2, 2, 0xC2, 0x01};
  std::array<std::uint16_t, 2> shorts450{0x01C2, 452};
};
std::string descriptionBlock(const Description& d);  // 488 bytes

// ---- blocks the client writes ----

struct MpegWire {
  std::uint8_t mode = 0, frameSkip = 0;
  std::uint32_t width = 0, height = 0, bitrate = 0, gop = 0;
};
MpegWire readMpeg(std::string_view bytes);  // from 20 bytes
Board readBoard(std::string_view bytes);    // from 16 bytes

}  // namespace kgvsim
