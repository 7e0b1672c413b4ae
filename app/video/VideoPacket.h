// One buffered video message of the sensor with what the player needs to replay it: its time of
// reception, whether decoding can start there, and a cache of its decoded picture.
#pragma once

#include "PXR.h"
#include "SharedMsg.h"

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>

class VideoPacket
{
public:
    VideoPacket() = default;
    // Holds its own reference to the message (a writable one is copied, so the caller's stays
    // the caller's); a null message gives an empty packet.
    explicit VideoPacket(PXRMsg *message, const QDateTime &receiveTime = QDateTime::currentDateTime());

    PXRMsg *message() const { return m_message.get(); }
    QDateTime sensorTime() const { return sensorTimeOf(m_message.get()); }
    bool hasCache() const { return !decoded.isEmpty(); }
    void clearCache();

    // How a video message is read: the sensor's date (invalid when absent), the camera as a
    // number (cameraNumber) and as sent, and the enslavement fields.
    static QDateTime sensorTimeOf(PXRMsg *message);
    static int cameraNumberOf(PXRMsg *message);
    // A camera id as a number from its leading digits (0 without any); -1, which names no
    // camera, when the number does not fit an int.
    static int cameraNumber(const char *id);
    static QString cameraTextOf(PXRMsg *message);
    static bool autoEnslavedOf(PXRMsg *message);
    static int enslaveStepOf(PXRMsg *message);
    static const char *codecOf(PXRMsg *message);
    static bool isKeyFrame(PXRMsg *message);

    QDateTime receiveTime;
    bool keyFrame = false;
    // The decoded picture in the frame's pixel layout with its own size; empty while not decoded.
    QByteArray decoded;
    int decodedWidth = 0;
    int decodedHeight = 0;

private:
    SharedMsg m_message;
};

Q_DECLARE_METATYPE(VideoPacket)
