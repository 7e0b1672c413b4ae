// Bridges between PXR messages and Qt: wire-form byte arrays, sensor time stamps, readable log dumps.
#pragma once

#include <QByteArray>
#include <QDateTime>

#include "PXR.h"

class ZyLogsUnit;

// The message's wire form; empty when the export failed.
QByteArray pxrMsgToByteArray(PXRMsg *psMsg);
// A new message read from the bytes, owned by the caller; null for empty or incomplete bytes.
PXRMsg *pxrMsgFromByteArray(const QByteArray &bytes);
// The instant a sensor's millisecond time stamp names; the epoch for a null or non-numeric text.
QDateTime pxrDateToDateTime(const char *pcszDate);
// Writes the message as lines at level 7 with secret values masked, to the unit or else the application log.
void pxrMsgLog(PXRMsg *psMsg, ZyLogsUnit *unit);
