// What a KGV sensor pushes on its stream port: the configuration burst of every connection
// (version first, end mark last) for ANPR, DGPR and video sensors, and the live packets
// (recognitions with their pictures, speed, inputs, video frames, status).
//
//   kgvsim::StreamSetup setup;                       // an ANPR sensor, firmware 6.2.0
//   sensor.setGreeting(Port::Stream, kgvsim::streamConfiguration(setup));
//   sensor.send(Port::Stream, kgvsim::recognitionPacket({.plate = "AB123CD"}));
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "KgvBlocks.h"
#include "KgvDevice.h"

namespace kgvsim {

struct StreamSetup {
  Form form = Form::Anpr;  // Anpr, Dgpr or Video
  Version version{0x2222, {6, 2, 0}, {4, 8, 0}};
  AnprForm anpr;
  DgprForm dgpr;
  VideoForm video;
  Board board;
  Description description;
  std::uint32_t lockWord = 0;  // the description's word at 468: not 0 while another client holds the lock
  std::uint32_t status = 0x1;
  // Zoom, focus, shutter, iris, gain, kept, exposure compensation, display, autofocus, IR cut,
  // manual, macro.
  std::array<std::uint32_t, 12> camera{1000, 20000, 17, 5, 3, 0, 7, 1, 0, 1, 0, 0};
  std::array<std::uint32_t, 8> leds{170, 3400, 16600, 900, 0, 3400, 16600, 800};
  std::array<std::uint32_t, 12> ocr{60, 220, 12, 80, 200, 5, 5300, 12, 170, 35, 1, 15};
  std::array<std::uint8_t, 5> activation{1, 1, 1, 0, 1};
  std::int16_t temperature = 31;
  std::vector<UnicastEntry> unicast{{"10.0.0.9", 32023}, {"10.0.0.7", 4000}};
  bool withActivation = true;  // older sensors send no activation block
  std::uint32_t ecoMode = 0;   // not 0: the eco-mode block is sent with this word
};

// Version, configuration form, board, description, camera and LED words, the other blocks
// of the sensor type, status, then the end of configuration.
std::string streamConfiguration(const StreamSetup& s);
// The configuration form alone, as pushed again after a change.
std::string configurationForm(const StreamSetup& s);
std::string statusPacket(std::uint32_t status);

struct Recognition {
  std::uint32_t code = fourcc("KGVL");  // KGVL ANPR decision, DPLG dangerous goods, 8743 trigger decision
  std::uint32_t time = 1000, request = 3, session = 77, triggerId = 0, triggerOn = 0, triggerOff = 0;
  std::uint8_t source = 2;
  std::string plate = "AB123CD";
  std::uint32_t reliability = 88;
  std::string jpeg = std::string("\xFF\xD8jpeg\xFF\xD9", 8);
  bool extension = true;
  std::int32_t x = 10, y = 20, width = 30, height = 40;
  std::uint32_t contrast = 0x0503;  // first byte 3, second 5
  std::string context = "F";
  std::uint32_t direction = 1;
  bool database = false;
  std::uint8_t occurrences = 4;
};
std::string recognitionPacket(const Recognition& r);
std::string speedPacket(std::uint32_t speedKmh, std::uint32_t session, std::uint32_t firstSample,
                        std::uint8_t source, std::uint32_t interDistanceMs);
std::string inputPacket(std::uint32_t time, std::uint16_t state);
// A video frame of the codec ("JPEG" or "MPEG"): time, frame number, key flag, then the bytes.
std::string framePacket(std::uint32_t codec, std::uint32_t time, std::uint32_t number, std::uint32_t key,
                        const std::string& bytes);

}  // namespace kgvsim
