// The recognition messages the test sensor pushes: a passage (start, decisions with their
// pictures, speed, end), trigger results, a signature decision and a change of I/O state.
#pragma once

#include "WireBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fybsim {

// One plate read; empty texts and a zero size are left out of the message.
struct PlateRead {
  std::string plate;
  std::string context;
  std::string reliability;
  int x = 0, y = 0, width = 0, height = 0;
  std::string sinus;
  // One entry per character; an empty one has no reliability.
  std::vector<std::string> charReliabilities;
  std::string jpeg;
  std::string contextJpeg;
  // "master" or "slave" when the sensor says which of them read the plate.
  std::string plateFrom;
};

struct Speed {
  std::string kmh;
  std::string interdistanceM;
  std::string interdistanceMs;
  std::string reliability;
};

Element passageStart(int session, std::int64_t date);
Element passageDecision(int session, std::int64_t date, const PlateRead& read);
Element passageSpeed(int session, std::int64_t date, const Speed& speed);
Element passageEnd(int session, std::int64_t date, const std::string& countingTrajectory);
// Without a read, the result says no plate was found.
Element triggerResult(const std::string& triggerId, std::int64_t date, const PlateRead* read);
Element signatureDecision(int session, std::int64_t date, const std::string& plate, const std::string& signature);
Element ioState(std::int64_t date, bool on);

}  // namespace fybsim
