// What a sensor sends around its video, for tests of the video page: pictures as video messages,
// the messages of a vehicle passage, still-picture answers, and configurations with a slave
// sensor and an area of interest.
#pragma once

#include "FybSensor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fybsim {

inline constexpr std::int64_t kPictureGapMs = 40;

// One compressed picture as the sensor streams it.
struct Picture {
  std::string bytes;
  bool key = false;
};

// A video message: codec, cameraId, key "1" on key pictures, date, and the bytes as the content
// of its data child.
Element videoMessage(const Picture& picture, std::string_view codec, std::int64_t dateMs,
                     std::string_view camera = "0");
// Pushes the pictures as camera "0" video messages dated 40 ms apart from the first date; the
// number of pictures written.
std::size_t streamPictures(FybSensor& sensor, const std::vector<Picture>& pictures, std::string_view codec,
                           std::int64_t firstDateMs);

// One vehicle read: "new" at the start, the decision and the speed 40 ms later, "end" at the end.
struct Passage {
  std::string session = "1";
  std::int64_t startMs = 0;
  std::int64_t endMs = 0;
  std::string plate = "AB123CD";
  std::string context = "FR";
  std::string reliability = "85";
  std::string width = "120";
  std::string height = "30";
  std::optional<std::string> speedKmh = "52";
};

// The passage's anpr messages in the order a sensor sends them.
std::vector<Element> passageMessages(const Passage& passage);
// Pushes them one by one; the number of messages written.
std::size_t pushPassage(FybSensor& sensor, const Passage& passage);

// The answer to getImage: the root "image" with a child of that name ("jpeg" or "contextJpeg")
// holding the picture's bytes.
Reply imageReply(std::string_view childName, std::string bytes);

struct SlaveSetup {
  std::string mode = "configured";
  std::optional<std::string> position;      // "left", "right" or absent
  std::optional<std::string> coveringZone;  // camera pixels
};

// An area of interest: a rectangle when rect is set (x, y, width, height), else the points.
struct ZoneSetup {
  bool enabled = true;
  bool excluding = false;
  std::optional<std::vector<int>> rect;
  std::vector<std::pair<int, int>> points;
};

// A configuration with camera 0 (and its area of interest when given) and, when given, the
// slaves section with its slaveAnpr.
Element configuration(const std::optional<SlaveSetup>& slave, const std::optional<ZoneSetup>& zone);

// Sensor information with two cameras whose every text (serial, version, the cameras' models) is
// the one given: a long one shows how the window copes with what a sensor may send.
Element infosWithTexts(const std::string& text);

}  // namespace fybsim
