// The binary recognition record of a recording file: built from an anpr message, encoded and decoded.
#pragma once

#include <QByteArray>

#include "PXR.h"

class PVTRecognition
{
public:
    static constexpr int FixedLength = 148;
    static constexpr int MinimumLength = 119;

    // Fields from the anpr root and its first child element.
    static PVTRecognition fromMessage(PXRMsgElement *root, quint8 cameraSlot, quint32 relativeTime);
    // The current layout, with the lengths filled in.
    QByteArray toBytes() const;
    // Any layout version; false when the bytes are too short for the oldest one.
    bool fromBytes(const QByteArray &bytes);

    quint16 version = 8;
    QByteArray plate;
    qint32 x = 0, y = 0, width = 0, height = 0;
    float sinus = 0.0f;
    quint32 reliability = 0;
    qint32 direction = 3;
    QByteArray context;
    qint32 kind = 5;
    quint32 session = 0;
    quint8 cameraSlot = 1;
    quint8 plateSource = 0;
    quint32 occurrences = 0;
    quint32 relativeTime = 0;
    QByteArray background;
    QByteArray picture;
    QByteArray second;
};
