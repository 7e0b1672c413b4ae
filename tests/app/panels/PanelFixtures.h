// The configuration and information a sensor pushes, as the panels' tests feed them: a full set
// with every section the trees show, and the pieces the tests push on top of it.
#pragma once

#include "WireBytes.h"

#include <string>

namespace panelsfixture {

using fybsim::Element;

// "yyyy-MM-dd" of today moved by that many days.
std::string dayFromToday(int days);

Element fullConfig();
Element fullInfos();

// The configuration of the full set without its modem and with a single camera: what a sensor
// pushes after the modem was taken out.
Element configWithoutModem();

}  // namespace panelsfixture
