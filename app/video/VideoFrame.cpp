// One decoded picture ready for display, as the video player emits it and the frame views draw it.
#include "VideoFrame.h"

VideoFrame::VideoFrame()
{
    clear();
}

void VideoFrame::clear()
{
    pixels.clear();
    width = 0;
    height = 0;
    time = QDateTime::fromMSecsSinceEpoch(0);
    cameraId.clear();
    position = 0;
    live = false;
    autoEnslaved = false;
    enslaveStep = -1;
}
