// One decoded picture ready for display, as the video player emits it and the frame views draw it.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>

class VideoFrame
{
public:
    VideoFrame();
    // Every field back to its default.
    void clear();

    // 4 bytes a pixel (blue, green, red, alpha), rows top to bottom without padding; may be
    // longer than width x height x 4, the rest is ignored.
    QByteArray pixels;
    int width;
    int height;
    QDateTime time;  // the sensor's date of the picture; invalid when the message had none
    QString cameraId;
    float position;  // 0 for the first picture of the replay buffer, 1 for the last and when live
    bool live;
    bool autoEnslaved;
    int enslaveStep;
};

Q_DECLARE_METATYPE(VideoFrame)
