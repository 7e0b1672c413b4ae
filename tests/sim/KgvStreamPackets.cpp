// The stream port's packets of the test sensor, each field at its offset in the packet.
#include "KgvStreamPackets.h"

#include <cstring>

namespace kgvsim {

namespace {

std::uint32_t formCode(Form form) {
  switch (form) {
    case Form::Dgpr: return 34953;
    case Form::Video: return 43693;
    default: return 43694;
  }
}

std::uint32_t sensorCode(Form form) {
  switch (form) {
    case Form::Dgpr: return 0x2223;
    case Form::Video: return 0x1111;
    default: return 0x2222;
  }
}

std::string typedBlocks(const StreamSetup& s) {
  if (s.form != Form::Anpr) return packet(21854, ocrBlock(s.ocr));
  return packet(21854, ocrBlock(s.ocr)) + packet(43746, databaseBlock(1, 1, 300, 2)) +
         packet(26221, speedBlock(1200, 550, 125)) +
         packet(21858, areaBlock({10, 20, 300, 200, 0})) + packet(26223, masterParametersBlock({})) +
         packet(13108, remoteEnslaveBlock({5, 30, 1, 3}, 12));
}

}  // namespace

std::string configurationForm(const StreamSetup& s) {
  switch (s.form) {
    case Form::Dgpr: return packet(formCode(s.form), dgprBlock(s.dgpr));
    case Form::Video: return packet(formCode(s.form), videoBlock(s.video));
    default: return packet(formCode(s.form), anprBlock(s.anpr));
  }
}

std::string statusPacket(std::uint32_t status) {
  return packet(43691, Block(4).u32(0, status).bytes());
}

std::string streamConfiguration(const StreamSetup& s) {
  Version version = s.version;
  version.sensorCode = sensorCode(s.form);
  Description description = s.description;
  description.sensorCode = version.sensorCode;
  description.status = s.status;
  description.word468 = s.lockWord;
  const std::string camera = cameraBlock(s.camera) + std::string(32, '\0');
  return packet(274, versionBlock(version)) + configurationForm(s) + packet(65527, boardBlock(s.board)) +
         packet(43761, descriptionBlock(description)) + packet(43704, ledsBlock(s.leds)) + packet(43735, camera) +
         packet(43747, measuresBlock({1, 2, 3, 4}, s.temperature)) + packet(26216, unicastBlock(s.unicast)) +
         typedBlocks(s) + (s.withActivation ? packet(30587, activationBlock(s.activation)) : std::string()) +
         (s.ecoMode ? packet(49174, Block(4).u32(0, s.ecoMode).bytes()) : std::string()) + packet(21862);
}

std::string recognitionPacket(const Recognition& r) {
  Block head(64);
  head.u32(0, r.time).u32(4, r.request).u32(8, r.session).u32(12, r.triggerId).u32(16, r.triggerOn);
  head.u32(20, r.triggerOff).u8(39, r.source).text(40, 16, r.plate).u32(56, r.reliability);
  if (r.extension) head.u32(60, 0xFE0A);
  std::string bytes = std::string(head) + r.jpeg;
  if (r.extension) {
    std::uint32_t sinus = 0;
    const float value = 0.25f;
    std::memcpy(&sinus, &value, sizeof(sinus));
    Block ext(96);
    ext.u32(0, std::uint32_t(r.x)).u32(4, std::uint32_t(r.y)).u32(8, std::uint32_t(r.width));
    ext.u32(12, std::uint32_t(r.height)).u32(16, sinus).u32(20, r.contrast).text(24, 64, r.context);
    ext.u32(88, r.direction).u16(92, r.database ? 1 : 0).u8(94, r.occurrences);
    bytes += std::string(ext);
  }
  return packet(r.code, bytes);
}

std::string speedPacket(std::uint32_t speedKmh, std::uint32_t session, std::uint32_t firstSample,
                        std::uint8_t source, std::uint32_t interDistanceMs) {
  Block b(1036);
  b.u32(4, speedKmh).u32(8, session).u32(12, firstSample).u8(1024, source).u32(1032, interDistanceMs);
  return packet(fourcc("KGVX"), b.bytes());
}

std::string inputPacket(std::uint32_t time, std::uint16_t state) {
  return packet(fourcc("GPIO"), Block(8).u32(0, time).u16(4, state).u16(6, 0).bytes());
}

std::string framePacket(std::uint32_t codec, std::uint32_t time, std::uint32_t number, std::uint32_t key,
                        const std::string& bytes) {
  return packet(codec, std::string(Block(12).u32(0, time).u32(4, number).u32(8, key)) + bytes);
}

}  // namespace kgvsim
