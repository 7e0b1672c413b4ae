// Bridges between PXR messages and Qt: sensor time stamps and readable log dumps.
#pragma once

#include <QDateTime>

#include "PXR.h"

class ZyLogsUnit;

// The instant a sensor's millisecond time stamp names; the epoch for a null or non-numeric text.
QDateTime pxrDateToDateTime(const char *pcszDate);
// Writes the message as lines at level 7 with secret values masked, to the unit or else the application log.
void pxrMsgLog(PXRMsg *psMsg, ZyLogsUnit *unit);
