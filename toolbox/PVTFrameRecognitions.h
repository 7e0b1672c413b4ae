// The frame-recognition record of a recording file: two camera results and six flag bytes per frame time.
#pragma once

#include <QByteArray>

#include "PVTRecognition.h"

struct PVTCameraResult
{
    static constexpr int Length = 324;

    bool present = false;
    QByteArray plate;
    quint16 reliability = 0;
    QByteArray context;
    quint8 slot = 0;
    quint16 x = 0, y = 0, width = 0, height = 0;
    qint32 occurrences = 0;
    quint8 direction = 0;
    QByteArray background;
};

class PVTFrameRecognitions
{
public:
    static constexpr int Length = 706;

    PVTFrameRecognitions();

    // Any layout version; false when the bytes are too short for the version they name.
    bool fromBytes(const QByteArray &bytes);
    // Always the current layout.
    QByteArray toBytes() const;
    // The recognition fills the camera result its slot names (1 or 2); other slots are ignored.
    void merge(const PVTRecognition &recognition);
    // The result the slot names, or null for another slot.
    const PVTCameraResult *result(quint8 slot) const;

    quint16 version = 7;
    quint16 subversion = 3;
    PVTCameraResult results[2];
    quint8 flags[6] = {};
};
