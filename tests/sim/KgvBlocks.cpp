// The KGV blocks of the test sensor, written field by field at their offsets.
#include "KgvBlocks.h"

#include <algorithm>
#include <stdexcept>

namespace kgvsim {

Block& Block::u8(std::size_t at, std::uint8_t value) {
  bytes_.at(at) = static_cast<char>(value);
  return *this;
}

Block& Block::u16(std::size_t at, std::uint16_t value) {
  return u8(at, std::uint8_t(value)).u8(at + 1, std::uint8_t(value >> 8));
}

Block& Block::u32(std::size_t at, std::uint32_t value) {
  return u16(at, std::uint16_t(value)).u16(at + 2, std::uint16_t(value >> 16));
}

Block& Block::text(std::size_t at, std::size_t width, std::string_view value) {
  return raw(at, value.substr(0, std::min(width, value.size())));
}

Block& Block::raw(std::size_t at, std::string_view bytes) {
  if (at + bytes.size() > bytes_.size()) throw std::out_of_range("kgvsim: field beyond its block");
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
  return *this;
}

std::uint16_t readU16(std::string_view bytes, std::size_t at) {
  return std::uint16_t(std::uint8_t(bytes.at(at)) | std::uint8_t(bytes.at(at + 1)) << 8);
}

std::uint32_t readU32(std::string_view bytes, std::size_t at) {
  return std::uint32_t(readU16(bytes, at)) | std::uint32_t(readU16(bytes, at + 2)) << 16;
}

std::string header(std::uint32_t length, std::uint32_t code) {
  return Block(kHeaderSize).u32(0, length).u32(4, code);
}

std::string packet(std::uint32_t code, std::string_view payload) {
  return header(static_cast<std::uint32_t>(payload.size()), code) + std::string(payload);
}

namespace {

// Words in order from the block's start.
std::string words(std::size_t size, std::initializer_list<std::uint32_t> values) {
  Block b(size);
  std::size_t at = 0;
  for (std::uint32_t v : values) {
    b.u32(at, v);
    at += 4;
  }
  return b;
}

template <std::size_t N>
std::string words(std::size_t size, const std::array<std::uint32_t, N>& values) {
  Block b(size);
  for (std::size_t i = 0; i < N; ++i) b.u32(4 * i, values[i]);
  return b;
}

void network(Block& b, const Network& n) {
  b.text(4, 16, n.address).text(20, 16, n.mask).text(36, 16, n.gateway).text(52, 16, n.dns).u32(68, n.timeoutMs);
}

void macAt(Block& b, std::size_t at, const std::array<std::uint8_t, 6>& mac) {
  for (std::size_t i = 0; i < mac.size(); ++i) b.u8(at + i, mac[i]);
}

}  // namespace

std::string versionBlock(const Version& v) {
  Block b(16);
  b.u32(0, v.sensorCode);
  for (std::size_t i = 0; i < 3; ++i) {
    b.u16(4 + 2 * i, v.firmware[i]);
    b.u16(10 + 2 * i, std::uint16_t(v.protocol[i]));
  }
  return b;
}

std::string anprBlock(const AnprForm& f) {
  Block b(468);
  network(b, f.net);
  b.text(72, 32, f.uniqueName).u8(104, f.jpeg).u8(105, f.stillSize);
  b.text(108, 64, f.context).text(172, 256, f.possibleContexts);
  b.u32(428, f.direction).u32(432, f.bitrate).u32(436, f.frameSkip);
  b.u16(440, f.marker).u8(442, f.zero).u8(443, f.enslavement);
  b.u16(452, f.kept[0]).u16(454, f.kept[1]).u32(456, f.cameraWord);
  return b;
}

std::string dgprBlock(const DgprForm& f) {
  Block b(136);
  network(b, f.net);
  b.u32(72, f.direction).u32(76, f.bitrate).u32(80, f.frameSkip);
  b.u8(84, f.enslavement).u8(85, f.jpeg).u8(86, f.stillSize).u32(88, f.ratio).u32(92, f.emptyPlatesOff);
  b.u16(120, f.kept[0]).u16(122, f.kept[1]).u32(124, f.cameraWord);
  return b;
}

std::string signatureBlock(const SignatureForm& f) {
  Block b(468);
  network(b, f.net);
  b.u8(72, f.jpeg).text(76, 64, f.context).text(140, 256, f.possibleContexts);
  b.u32(396, f.direction).u32(400, f.bitrate).u32(404, f.frameSkip).u8(411, f.mode);
  b.u16(452, f.kept[0]).u16(454, f.kept[1]).u32(456, f.cameraWord);
  return b;
}

std::string videoBlock(const VideoForm& f) {
  Block b(112);
  network(b, f.net);
  b.u8(72, f.mode).u8(73, f.frameSkip).u32(76, f.width).u32(80, f.height).u32(84, f.bitrate).u32(88, f.gop);
  b.u32(100, f.cameraWord);
  return b;
}

std::string boardBlock(const Board& v) {
  return Block(16)
      .u32(0, v.kept[0])
      .u32(4, v.kept[1])
      .u16(8, std::uint16_t(v.keptSigned))
      .u16(10, v.serialExport)
      .u16(12, v.codec)
      .u8(14, v.ioMode)
      .u8(15, v.sensorByte);
}

std::string cameraBlock(const std::array<std::uint32_t, 12>& values) {
  return words(48, values);
}

std::string ocrBlock(const std::array<std::uint32_t, 12>& values) {
  return words(48, values);
}

std::string measuresBlock(const std::array<std::uint16_t, 4>& kept, std::int16_t temperature) {
  Block b(12);
  for (std::size_t i = 0; i < kept.size(); ++i) b.u16(2 * i, kept[i]);
  return b.u16(8, std::uint16_t(temperature));
}

std::string lateStackBlock(std::uint32_t enabled, std::uint8_t size, std::uint8_t jpeg) {
  return Block(24).u32(0, enabled).u8(4, size).u8(5, jpeg);
}

std::string unicastBlock(const std::vector<UnicastEntry>& entries) {
  std::string out;
  for (const auto& e : entries) out += Block(28).text(0, 16, e.address).u16(16, e.port).bytes();
  return out;
}

std::string databaseBlock(std::uint32_t mode, std::uint32_t risingEdge, std::uint32_t durationMs,
                          std::uint8_t tolerance) {
  return Block(20).u32(0, mode).u32(4, risingEdge).u32(8, durationMs).u8(12, tolerance);
}

std::string speedBlock(std::uint16_t fieldOfViewCm, std::uint32_t heightCm, std::uint32_t angle) {
  return Block(24).u16(0, fieldOfViewCm).u32(4, heightCm).u32(8, angle);
}

std::string keptTypeBlock(std::uint32_t sensorCode, const std::array<std::uint32_t, 6>& kept) {
  Block b(52);
  b.u32(0, sensorCode);
  for (std::size_t i = 0; i < kept.size(); ++i) b.u32(4 + 4 * i, kept[i]);
  return b;
}

std::string areaBlock(const std::array<std::uint32_t, 5>& values) {
  return words(44, values);
}

std::string ledBlock(const std::array<std::uint32_t, 4>& kept, std::uint32_t sixth, std::uint32_t seventh) {
  return words(56, {kept[0], kept[1], kept[2], kept[3], sixth, seventh});
}

std::string keptShortsBlock(const std::array<std::uint16_t, 3>& kept) {
  return Block(20).u16(0, kept[0]).u16(2, kept[1]).u16(4, kept[2]);
}

std::string masterAddressesBlock(const MasterAddresses& m) {
  Block b(72);
  b.text(0, 16, m.first).text(28, 16, m.second);
  for (std::size_t i = 0; i < 3; ++i) b.u32(16 + 4 * i, m.keptFirst[i]).u32(44 + 4 * i, m.keptSecond[i]);
  return b;
}

std::string keptWordsBlock(const std::array<std::uint32_t, 3>& kept) {
  return words(20, kept);
}

std::string activationBlock(const std::array<std::uint8_t, 5>& switches) {
  Block b(36);
  for (std::size_t i = 0; i < switches.size(); ++i) b.u8(i, switches[i]);
  return b;
}

std::string masterParametersBlock(const MasterParameters& m) {
  Block b(40);
  b.u32(0, m.kept[0]).u32(4, m.kept[1]).u32(8, std::uint32_t(m.coveringZone));
  macAt(b, 12, m.anprMac);
  macAt(b, 18, m.contextMac);
  return b.u8(24, m.keptByte);
}

std::string slaveParametersBlock(const std::array<std::uint32_t, 3>& kept) {
  return words(24, kept);
}

std::string keptWordBlock(std::uint32_t value) {
  return words(28, {value});
}

std::string remoteEnslaveBlock(const std::array<std::uint32_t, 4>& values, std::uint16_t maxGain) {
  Block b(20);
  for (std::size_t i = 0; i < values.size(); ++i) b.u32(4 * i, values[i]);
  return b.u16(16, maxGain);
}

std::string signaturePictureBlock(std::uint32_t width, std::uint32_t height, std::string_view kept8) {
  return Block(40).u32(0, width).u32(4, height).raw(8, kept8.substr(0, 8));
}

std::string ledTriggerBlock(std::uint32_t projector, std::uint32_t enabled, std::uint32_t bracketing,
                            std::uint32_t delay, std::uint32_t width) {
  return words(28, {enabled, bracketing, delay, width, projector});
}

std::string networkPortsBlock(std::uint32_t command, std::uint32_t stream, std::uint32_t time, std::uint32_t dhcp) {
  return words(16, {command, stream, time, dhcp});
}

std::string descriptionBlock(const Description& d) {
  Block b(488);
  macAt(b, 2, d.mac);
  b.u32(8, d.sensorCode).u16(12, d.version[0]).u16(14, d.version[1]).u16(16, d.version[2]).u16(18, d.word18);
  b.u32(20, d.words20[0]).u32(24, d.words20[1]).u32(28, d.words20[2]);
  b.text(44, 32, d.name).u32(76, d.word76).u16(80, std::uint16_t(d.short80)).u16(82, d.short82);
  b.u32(84, d.status).u32(88, d.word88).text(92, 16, d.text92).text(108, 256, d.block108);
  b.u16(364, d.shorts364[0]).u16(366, d.shorts364[1]).u16(368, d.shorts364[2]);
  b.u8(370, d.byte370).u8(371, d.byte371).u32(372, d.words372[0]).u32(376, d.words372[1]);
  b.text(380, 56, d.text380);  // the fields at 436 follow
  macAt(b, 436, d.mac436);
  macAt(b, 446, d.mac446);
  b.u16(450, d.shorts450[0]).u16(452, d.shorts450[1]);
  b.u32(460, d.word460).u16(464, d.short464).u8(466, d.byte466).u32(468, d.word468).u32(472, d.word472);
  return b.u32(476, d.words476[0]).u32(480, d.words476[1]);
}

MpegWire readMpeg(std::string_view bytes) {
  MpegWire m;
  m.mode = std::uint8_t(bytes.at(0));
  m.frameSkip = std::uint8_t(bytes.at(1));
  m.width = readU32(bytes, 4);
  m.height = readU32(bytes, 8);
  m.bitrate = readU32(bytes, 12);
  m.gop = readU32(bytes, 16);
  return m;
}

Board readBoard(std::string_view bytes) {
  Board b;
  b.kept = {readU32(bytes, 0), readU32(bytes, 4)};
  b.keptSigned = std::int16_t(readU16(bytes, 8));
  b.serialExport = readU16(bytes, 10);
  b.codec = readU16(bytes, 12);
  b.ioMode = std::uint8_t(bytes.at(14));
  b.sensorByte = std::uint8_t(bytes.at(15));
  return b;
}

}  // namespace kgvsim
