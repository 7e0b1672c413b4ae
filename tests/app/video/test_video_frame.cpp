// The decoded-picture value type: its defaults, and clear bringing them back.
#include "VideoFrame.h"

#include <gtest/gtest.h>

namespace {

void expectDefaults(const VideoFrame &frame)
{
    EXPECT_TRUE(frame.pixels.isEmpty());
    EXPECT_EQ(frame.width, 0);
    EXPECT_EQ(frame.height, 0);
    EXPECT_EQ(frame.time.toMSecsSinceEpoch(), 0);
    EXPECT_TRUE(frame.cameraId.isEmpty());
    EXPECT_EQ(frame.position, 0.0f);
    EXPECT_FALSE(frame.live);
    EXPECT_FALSE(frame.autoEnslaved);
    EXPECT_EQ(frame.enslaveStep, -1);
}

} // namespace

TEST(VideoFrame, ClearBringsBackEveryDefault)
{
    VideoFrame frame;
    expectDefaults(frame);
    frame.pixels = QByteArray(16, 'x');
    frame.width = frame.height = 2;
    frame.time = QDateTime();
    frame.cameraId = "3";
    frame.position = 0.5f;
    frame.live = frame.autoEnslaved = true;
    frame.enslaveStep = 4;
    frame.clear();
    expectDefaults(frame);
}
