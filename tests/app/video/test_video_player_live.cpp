// The video player while live: which messages it keeps, how long it keeps them, and the live
// pictures it emits.
#include "VideoTestSupport.h"

#include "AppSettings.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace videotest;
using testclips::Codec;

namespace {

class LivePlayerTest : public PlayerTest
{
protected:
    // The messages of the replay buffer that a pause takes now, before going live again.
    std::vector<PXRMsg *> bufferedMessages()
    {
        player->pause();
        std::vector<PXRMsg *> held;
        for (const VideoPacket &packet : player->playbackList())
            held.push_back(packet.message());
        player->goLive();
        return held;
    }

    void receiveAt(qint64 offsetMs, const MsgPtr &msg)
    {
        now = QDateTime::fromMSecsSinceEpoch(BaseDate + offsetMs);
        player->onVideoMessage(msg.get());
    }
};

VideoFields camera(const char *id)
{
    VideoFields fields;
    fields.codec = "jpeg";
    fields.cameraId = id;
    fields.date = BaseDate;
    return fields;
}

} // namespace

TEST_F(LivePlayerTest, BufferKeepsWhatArrivedWithinTheDurationToTheMillisecond)
{
    const auto messages = clipMessages(clip(Codec::Mjpeg, 4, 1));
    const struct {
        quint32 durationMs;  // 0: the default
    } cases[] = {{0}, {1000}};
    for (const auto &c : cases) {
        player->reset();
        player->setCameraId(1);
        if (c.durationMs) {
            QSettings().setValue("videoBufferDurationMs", c.durationMs);
            player->reloadBufferDuration();
        }
        const qint64 duration = c.durationMs ? c.durationMs : 60000;
        receiveAt(0, messages[0]);
        receiveAt(1, messages[1]);
        receiveAt(duration, messages[2]);
        EXPECT_EQ(bufferedMessages(), (std::vector<PXRMsg *>{messages[0].get(), messages[1].get(), messages[2].get()}))
            << "received exactly " << duration << " ms before the newest, it stays";
        receiveAt(duration + 1, messages[3]);
        EXPECT_EQ(bufferedMessages(), (std::vector<PXRMsg *>{messages[1].get(), messages[2].get(), messages[3].get()}))
            << "received a millisecond earlier, it goes";
    }
}

TEST_F(LivePlayerTest, OtherCamerasAndEveryCameraWithoutSelectionAreDropped)
{
    const std::vector<uint8_t> &picture = clip(Codec::Mjpeg, 1, 1).packets[0].data;
    const MsgPtr first = videoMessage(camera("1"), picture);
    const MsgPtr second = videoMessage(camera("2"), picture);
    const MsgPtr zero = videoMessage(camera("0"), picture);
    const MsgPtr negative = videoMessage(camera("-1"), picture);

    player->setCameraId(-1);
    for (const MsgPtr *msg : {&first, &second, &zero, &negative})
        player->onVideoMessage(msg->get());
    EXPECT_TRUE(frames.isEmpty());
    EXPECT_TRUE(bufferedMessages().empty());

    player->setCameraId(2);
    for (const MsgPtr *msg : {&first, &second, &zero, &negative})
        player->onVideoMessage(msg->get());
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].cameraId, QString("2"));
    EXPECT_EQ(bufferedMessages(), std::vector<PXRMsg *>{second.get()});

    player->setCameraId(0);
    player->onVideoMessage(negative.get());
    EXPECT_EQ(bufferedMessages(), (std::vector<PXRMsg *>{second.get(), negative.get()}))
        << "a camera id without leading digits reads as camera 0";
}

TEST_F(LivePlayerTest, LiveFramesAreTheStraightDecodeOfTheStream)
{
    auto messages = clipMessages(clip(Codec::H264, 30, 10));
    VideoFields enslaved;
    enslaved.cameraId = "01";
    enslaved.date = BaseDate + 30 * PictureGapMs;
    enslaved.autoEnslaved = "true";
    enslaved.enslaveStep = "2";
    messages.push_back(videoMessage(enslaved, clip(Codec::H264, 30, 10).packets[0].data));
    const std::vector<Picture> pictures = straightDecode(messages);
    feed(messages);
    ASSERT_EQ(frames.size(), qsizetype(messages.size()));
    for (size_t i = 0; i < messages.size(); ++i) {
        const VideoFrame &frame = frames[qsizetype(i)];
        EXPECT_TRUE(showsPicture(frame, pictures[i])) << "picture " << i;
        EXPECT_TRUE(frame.live);
        EXPECT_EQ(frame.position, 1.0f);
        EXPECT_EQ(frame.time.toMSecsSinceEpoch(), BaseDate + qint64(i) * PictureGapMs);
    }
    EXPECT_EQ(frames.first().cameraId, QString("1"));
    EXPECT_FALSE(frames.first().autoEnslaved);
    EXPECT_EQ(frames.first().enslaveStep, -1);
    EXPECT_EQ(frames.last().cameraId, QString("01"));
    EXPECT_TRUE(frames.last().autoEnslaved);
    EXPECT_EQ(frames.last().enslaveStep, 2);
}

TEST_F(LivePlayerTest, SizeChangesAreFollowed)
{
    std::vector<MsgPtr> messages;
    for (const int width : {320, 160, 320}) {
        VideoFields fields = camera("1");
        fields.date = BaseDate + qint64(messages.size()) * PictureGapMs;
        messages.push_back(videoMessage(fields, clip(Codec::Mjpeg, 1, 1, width, width * 3 / 4).packets[0].data));
    }
    const std::vector<Picture> pictures = straightDecode(messages);
    feed(messages);
    ASSERT_EQ(frames.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(showsPicture(frames[i], pictures[size_t(i)])) << "picture " << i;
}

TEST_F(LivePlayerTest, UndecodablePictureIsSignalledWithThePreviousOne)
{
    const testclips::Clip &source = clip(Codec::Mjpeg, 2, 1);
    auto messages = clipMessages(source);
    const std::vector<Picture> pictures = straightDecode(messages);
    VideoFields noCodec = camera("1");
    noCodec.codec = std::nullopt;
    noCodec.date = BaseDate + 1000;
    messages.push_back(videoMessage(noCodec, source.packets[0].data));
    VideoFields noDate = camera("1");
    noDate.date = std::nullopt;
    messages.push_back(videoMessage(noDate, {0xFF, 0xD8, 0x00}));

    const AssertRecorder asserts;
    feed(messages);
    ASSERT_EQ(frames.size(), 4);
    EXPECT_TRUE(showsPicture(frames[2], pictures[1]));
    EXPECT_EQ(frames[2].time.toMSecsSinceEpoch(), BaseDate + PictureGapMs);
    EXPECT_TRUE(showsPicture(frames[3], pictures[1])) << "a broken picture leaves the previous one";
    EXPECT_EQ(AssertRecorder::reports, QStringList{"FALSE in VideoPlayer::decompressData"});
}

TEST_F(LivePlayerTest, WithDisplayOffPacketsAreBufferedButNotShown)
{
    AppSettings().setDisplayVideo(false);
    const auto messages = clipMessages(clip(Codec::H264, 10, 5));
    const std::vector<Picture> pictures = straightDecode(messages);
    feed(messages);
    EXPECT_TRUE(frames.isEmpty());
    player->previousFrame();
    ASSERT_EQ(frames.size(), 1) << "what was buffered can be replayed";
    EXPECT_TRUE(showsPicture(frames[0], pictures[8]));
    EXPECT_FALSE(frames[0].live);
}

TEST_F(LivePlayerTest, DisplaySwitchIsFollowedFromTheNextMessage)
{
    const auto messages = clipMessages(clip(Codec::Mjpeg, 4, 1));
    const struct
    {
        bool display;
        int shown;
    } steps[] = {{false, 0}, {true, 1}, {false, 0}, {true, 1}};
    for (size_t i = 0; i < std::size(steps); ++i) {
        AppSettings().setDisplayVideo(steps[i].display);
        const qsizetype mark = frames.size();
        feed(messages, i, i + 1);
        EXPECT_EQ(since(mark).size(), steps[i].shown) << "step " << i;
    }
    EXPECT_EQ(bufferedMessages().size(), std::size(steps)) << "every message is buffered";
}

TEST_F(LivePlayerTest, ResetForgetsEverything)
{
    const auto messages = clipMessages(clip(Codec::H264, 10, 5));
    feed(messages);
    player->previousFrame();
    player->reset();
    EXPECT_EQ(player->state(), VideoPlayer::Live);
    EXPECT_EQ(player->cameraId(), -1);
    EXPECT_TRUE(player->playbackList().isEmpty());
    EXPECT_EQ(player->currentTime().toMSecsSinceEpoch(), 0);
    EXPECT_FALSE(player->playbackTimer().isActive());
    player->setCameraId(1);
    EXPECT_TRUE(bufferedMessages().empty());

    const qsizetype mark = frames.size();
    feed(messages, 0, 1);
    ASSERT_EQ(since(mark).size(), 1);
    EXPECT_TRUE(showsPicture(since(mark)[0], straightDecode(messages)[0])) << "a fresh decoder starts again";
}
