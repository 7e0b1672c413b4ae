// The video player once paused: the snapshot of the buffer, steps, seeks, the catch-up from the
// nearest key frame with its cached pictures, and replay paced by the sensor's dates. Every
// replayed picture must be the one a straight decode of the stream gives.
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace videotest;
using testclips::Codec;

namespace {

class ReplayTest : public PlayerTest
{
protected:
    // The stream, its straight decode, and all of it received live.
    void receive(std::vector<MsgPtr> stream)
    {
        messages = std::move(stream);
        pictures = straightDecode(messages);
        feed(messages);
    }

    // Exactly one frame came since the mark, replayed, showing that picture of the stream.
    ::testing::AssertionResult showedOnly(qsizetype mark, size_t picture)
    {
        const QList<VideoFrame> shown = since(mark);
        if (shown.size() != 1)
            return ::testing::AssertionFailure() << shown.size() << " frames instead of one";
        if (shown[0].live)
            return ::testing::AssertionFailure() << "a live frame";
        const qint64 expectedTime = VideoPacket::sensorTimeOf(messages[picture].get()).toMSecsSinceEpoch();
        if (shown[0].time.toMSecsSinceEpoch() != expectedTime)
            return ::testing::AssertionFailure() << "the frame's time is " << shown[0].time.toMSecsSinceEpoch();
        return showsPicture(shown[0], pictures[picture]) << " (picture " << picture << ")";
    }

    // Which replay packets hold a cached picture.
    std::vector<int> cachedIndexes() const
    {
        std::vector<int> cached;
        for (qsizetype i = 0; i < player->playbackList().size(); ++i)
            if (player->playbackList()[i].hasCache())
                cached.push_back(int(i));
        return cached;
    }

    // Every cache holds its own picture of the straight decode, with its own size.
    void expectCachesMatch()
    {
        for (int i : cachedIndexes()) {
            const VideoPacket &packet = player->playbackList()[i];
            VideoFrame cache;
            cache.pixels = packet.decoded;
            cache.width = packet.decodedWidth;
            cache.height = packet.decodedHeight;
            EXPECT_TRUE(showsPicture(cache, pictures[size_t(i)])) << "cache of picture " << i;
        }
    }

    std::vector<MsgPtr> messages;
    std::vector<Picture> pictures;
};

std::vector<int> range(int from, int to)
{
    std::vector<int> values;
    for (int i = from; i <= to; ++i)
        values.push_back(i);
    return values;
}

} // namespace

TEST_F(ReplayTest, PauseTakesASnapshotAndPlayRightAfterShowsNothing)
{
    receive(clipMessages(clip(Codec::H264, 15, 5)));
    std::vector<MsgPtr> later = clipMessages(clip(Codec::H264, 15, 5), BaseDate + 15 * PictureGapMs);
    qsizetype mark = frames.size();
    player->pause();
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
    EXPECT_EQ(player->playbackList().size(), 15);
    EXPECT_EQ(player->currentTime().toMSecsSinceEpoch(), BaseDate + 14 * PictureGapMs);
    QDateTime from, to;
    player->playbackRange(from, to);
    EXPECT_EQ(from.toMSecsSinceEpoch(), BaseDate);
    EXPECT_EQ(to.toMSecsSinceEpoch(), BaseDate + 14 * PictureGapMs);

    feed(later, 0, 5);
    EXPECT_EQ(player->playbackList().size(), 15) << "the snapshot stays while the live buffer fills";
    player->play();
    player->nextFrame();
    EXPECT_TRUE(since(mark).isEmpty()) << "the newest picture is already the one shown";
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
    EXPECT_FALSE(player->playbackTimer().isActive());

    player->goLive();
    EXPECT_EQ(player->state(), VideoPlayer::Live);
    EXPECT_TRUE(player->playbackList().isEmpty());
    player->pause();
    EXPECT_EQ(player->playbackList().size(), 20) << "pictures received while paused were kept live";
}

TEST_F(ReplayTest, EmptySnapshotPlaysStepsAndSeeksNothing)
{
    player->pause();
    EXPECT_TRUE(player->playbackList().isEmpty());
    EXPECT_EQ(player->currentTime().toMSecsSinceEpoch(), 0);
    QDateTime from, to;
    player->playbackRange(from, to);
    EXPECT_EQ(from.toMSecsSinceEpoch(), 0);
    EXPECT_EQ(to.toMSecsSinceEpoch(), 0);
    player->play();
    player->nextFrame();
    player->previousFrame();
    player->seek(0.5f);
    player->seekToIndex(0);
    player->seekToTime(QDateTime::fromMSecsSinceEpoch(BaseDate), 0.5f);
    EXPECT_TRUE(frames.isEmpty());
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
}

TEST_F(ReplayTest, OnePictureSnapshotShowsNothingMoreAndSitsAtTheEnd)
{
    receive(clipMessages(clip(Codec::H264, 1, 1)));
    const qsizetype mark = frames.size();
    player->pause();
    player->play();
    player->seek(0.0f);
    player->seek(1.0f);
    player->previousFrame();
    player->seekToTime(QDateTime::fromMSecsSinceEpoch(BaseDate), 1.0f);
    EXPECT_TRUE(since(mark).isEmpty());
    EXPECT_EQ(player->currentTime().toMSecsSinceEpoch(), BaseDate);
    EXPECT_EQ(VideoPlayer::positionOf(0, 1), 1.0f) << "one picture is the last one, not 0/0";
    EXPECT_EQ(VideoPlayer::positionOf(0, 0), 1.0f);
    EXPECT_EQ(VideoPlayer::positionOf(0, 2), 0.0f);
    EXPECT_EQ(VideoPlayer::positionOf(3, 7), 0.5f);
}

TEST_F(ReplayTest, PlayIsPacedBySensorDatesAndPausesAtTheEnd)
{
    const testclips::Clip &source = clip(Codec::H264, 8, 25);
    // Dates: 40 ms apart, then equal, a 5 s gap, a missing date, and a date going back.
    const std::optional<qint64> dates[] = {0, 40, 80, 80, 5080, std::nullopt, 5200, 5100};
    const int intervals[] = {40, 1, 1000, 1, 1, 1};  // after showing pictures 1 to 6
    std::vector<MsgPtr> stream;
    for (size_t i = 0; i < source.packets.size(); ++i) {
        VideoFields fields;
        if (dates[i])
            fields.date = BaseDate + *dates[i];
        stream.push_back(videoMessage(fields, source.packets[i].data));
    }
    receive(std::move(stream));
    QList<VideoPlayer::State> states;
    QObject::connect(player.get(), &VideoPlayer::stateChanged, [&](VideoPlayer::State s) { states.append(s); });
    player->pause();
    player->seekToIndex(0);
    qsizetype mark = frames.size();
    player->play();
    EXPECT_EQ(player->state(), VideoPlayer::Playing);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_TRUE(showedOnly(mark, size_t(i)));
        mark = frames.size();
        ASSERT_TRUE(fireTimerAfter(intervals[i - 1])) << "after picture " << i;
    }
    EXPECT_TRUE(showedOnly(mark, 7));
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
    EXPECT_EQ(states, (QList<VideoPlayer::State>{VideoPlayer::Paused, VideoPlayer::Playing, VideoPlayer::Paused}))
        << "the pause at the end is told like any other";
    EXPECT_FALSE(player->playbackTimer().isActive());

    player->previousFrame();
    mark = frames.size();
    player->play();
    EXPECT_TRUE(showedOnly(mark, 7)) << "after a step back, play runs to the end";
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
}

TEST_F(ReplayTest, PauseAndStepsStopTheReplay)
{
    receive(clipMessages(clip(Codec::Mjpeg, 10, 1)));
    player->seek(0.0f);
    player->play();
    ASSERT_TRUE(player->playbackTimer().isActive());
    player->pause();
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
    EXPECT_FALSE(player->playbackTimer().isActive());

    player->play();
    qsizetype mark = frames.size();
    player->nextFrame();
    EXPECT_TRUE(showedOnly(mark, 3));
    EXPECT_EQ(player->state(), VideoPlayer::Paused);
    EXPECT_FALSE(player->playbackTimer().isActive());

    player->play();
    player->goLive();
    EXPECT_FALSE(player->playbackTimer().isActive());
    mark = frames.size();
    player->onTimerPlaybackTimeout();
    EXPECT_TRUE(since(mark).isEmpty()) << "a late time-out does nothing once live";
}

TEST_F(ReplayTest, SeekByFractionRoundsHalvesUpAndSkipsThePictureShown)
{
    receive(clipMessages(clip(Codec::H264, 10, 5)));
    qsizetype mark = frames.size();
    player->seek(1.0f);
    EXPECT_TRUE(since(mark).isEmpty()) << "the newest picture is already shown";
    const struct {
        float fraction;
        size_t picture;
        float position;
    } cases[] = {{0.0f, 0, 0.0f}, {1.0f, 9, 1.0f}, {0.25f, 3, 3 / 9.0f}, {0.75f, 8, 8 / 9.0f}, {-2.0f, 0, 0.0f}};
    for (const auto &c : cases) {
        mark = frames.size();
        player->seek(c.fraction);
        EXPECT_TRUE(showedOnly(mark, c.picture)) << "seek " << c.fraction;
        EXPECT_FLOAT_EQ(frames.last().position, c.position);
    }
    mark = frames.size();
    player->seek(0.0f);
    player->seek(std::nanf(""));
    EXPECT_TRUE(since(mark).isEmpty());
}

TEST_F(ReplayTest, SeekByTimeShowsTheFirstPictureNotEarlier)
{
    auto stream = clipMessages(clip(Codec::Mjpeg, 20, 1));
    VideoFields undated;
    undated.codec = "jpeg";
    stream[12] = videoMessage(undated, clip(Codec::Mjpeg, 20, 1).packets[12].data);
    receive(std::move(stream));
    player->pause();
    const auto at = [](int picture, int extraMs = 0) {
        return QDateTime::fromMSecsSinceEpoch(BaseDate + picture * PictureGapMs + extraMs);
    };
    const struct {
        QDateTime time;
        float hint;
        size_t picture;
    } cases[] = {
        {at(3, 1), 0.2f, 4},   // the hint is right
        {at(2), 0.95f, 2},     // the hint lies past the time
        {at(16, -5), 0.0f, 16},
        {at(11, 1), 0.6f, 13},  // the undated picture is passed over
        {at(0, -100), 0.5f, 0},
    };
    for (const auto &c : cases) {
        const qsizetype mark = frames.size();
        player->seekToTime(c.time, c.hint);
        EXPECT_TRUE(showedOnly(mark, c.picture)) << "time of picture " << c.picture << ", hint " << c.hint;
        EXPECT_EQ(player->state(), VideoPlayer::Paused);
    }
    const qsizetype mark = frames.size();
    player->seekToTime(at(19, 1), 0.9f);
    player->seekToTime(QDateTime(), 0.5f);
    player->seekToTime(at(5), std::nanf(""));
    EXPECT_EQ(since(mark).size(), 1) << "past the end and an invalid time show nothing";
}

class CatchUpTest : public ReplayTest, public ::testing::WithParamInterface<Codec>
{
};

TEST_P(CatchUpTest, SeekDecodesFromTheKeyFrameIntoCachesThatStepsBackReuse)
{
    receive(clipMessages(clip(GetParam(), 60, 25)));
    player->pause();
    qsizetype mark = frames.size();
    player->seekToIndex(30);
    EXPECT_TRUE(showedOnly(mark, 30));
    EXPECT_EQ(cachedIndexes(), range(25, 29));
    expectCachesMatch();

    for (int picture : {29, 28}) {
        mark = frames.size();
        player->previousFrame();
        ASSERT_TRUE(showedOnly(mark, size_t(picture)));
        EXPECT_EQ(frames.last().pixels.constData(), player->playbackList()[picture].decoded.constData())
            << "picture " << picture << " comes from its cache";
        EXPECT_FLOAT_EQ(frames.last().position, picture / 59.0f);
    }
    EXPECT_EQ(cachedIndexes(), range(25, 29));

    mark = frames.size();
    player->seekToIndex(20);
    EXPECT_TRUE(showedOnly(mark, 20));
    EXPECT_EQ(cachedIndexes(), range(0, 19));
    for (int picture = 21; picture <= 23; ++picture) {
        mark = frames.size();
        player->nextFrame();
        EXPECT_TRUE(showedOnly(mark, size_t(picture))) << "the decoder goes on without catching up";
    }
    EXPECT_EQ(cachedIndexes(), range(0, 19));
    expectCachesMatch();
}

TEST_P(CatchUpTest, EveryReplayedPictureIsTheStraightDecodeAcrossLiveAndPauseCycles)
{
    const std::vector<MsgPtr> stream = clipMessages(clip(GetParam(), 80, 25));
    messages.clear();
    for (const MsgPtr &msg : stream) {
        PXRMsgAddRef(msg.get());
        messages.emplace_back(msg.get());
    }
    pictures = straightDecode(messages);
    // Each step: live pictures received, then what the operator does and the picture shown.
    const struct {
        size_t receivedUpTo;
        std::function<void(VideoPlayer &)> action;
        int picture;  // -1: nothing is shown
    } steps[] = {
        {30, [](VideoPlayer &p) { p.pause(); p.seekToIndex(10); }, 10},
        {30, [](VideoPlayer &p) { p.nextFrame(); }, 11},
        {30, [](VideoPlayer &p) { p.goLive(); }, -1},
        {40, [](VideoPlayer &p) { p.pause(); p.seekToIndex(12); }, 12},  // the decoder last held live picture 39
        {40, [](VideoPlayer &p) { p.seekToIndex(27); }, 27},
        {40, [](VideoPlayer &p) { p.previousFrame(); }, 26},
        {40, [](VideoPlayer &p) { p.nextFrame(); }, 27},
        {40, [](VideoPlayer &p) { p.goLive(); }, -1},
        {60, [](VideoPlayer &p) { p.pause(); p.seekToIndex(28); }, 28},
        {60, [](VideoPlayer &p) { p.seek(0.5f); }, 30},
        {60, [](VideoPlayer &p) { p.nextFrame(); }, 31},
        {60, [](VideoPlayer &p) { p.goLive(); }, -1},
        {80, [](VideoPlayer &p) { p.pause(); }, -1},
        {80, [](VideoPlayer &p) { p.seekToIndex(32); }, 32},
        {80, [](VideoPlayer &p) { p.seekToTime(QDateTime::fromMSecsSinceEpoch(BaseDate + 55 * PictureGapMs), 0.7f); },
         55},
        {80, [](VideoPlayer &p) { p.previousFrame(); }, 54},
    };
    size_t received = 0;
    for (const auto &step : steps) {
        feed(messages, received, step.receivedUpTo);
        received = step.receivedUpTo;
        const qsizetype mark = frames.size();
        step.action(*player);
        if (step.picture < 0)
            EXPECT_TRUE(since(mark).isEmpty());
        else
            EXPECT_TRUE(showedOnly(mark, size_t(step.picture)));
    }
}

INSTANTIATE_TEST_SUITE_P(KeyFramesEvery25, CatchUpTest, ::testing::Values(Codec::H264, Codec::Mpeg1),
                         [](const ::testing::TestParamInfo<Codec> &info) {
                             return std::string(testclips::CodecName(info.param));
                         });

TEST_F(ReplayTest, CatchUpKeepsOnlyTheNewestPicturesWithinTheBudget)
{
    receive(clipMessages(clip(Codec::H264, 60, 25)));
    const qint64 pictureBytes = pictures[0].pixels.size();
    player->setCacheBudget(3 * pictureBytes);
    player->pause();
    qsizetype mark = frames.size();
    player->seekToIndex(49);
    EXPECT_TRUE(showedOnly(mark, 49));
    EXPECT_EQ(cachedIndexes(), range(46, 48)) << "24 pictures decoded, 3 kept";
    expectCachesMatch();

    mark = frames.size();
    player->previousFrame();
    EXPECT_TRUE(showedOnly(mark, 48));
    mark = frames.size();
    player->seekToIndex(30);
    EXPECT_TRUE(showedOnly(mark, 30)) << "a picture no longer cached is decoded again";
    EXPECT_EQ(cachedIndexes(), range(27, 29));

    player->setCacheBudget(pictureBytes / 2);
    mark = frames.size();
    player->seekToIndex(40);
    EXPECT_TRUE(showedOnly(mark, 40));
    EXPECT_TRUE(cachedIndexes().empty()) << "a budget below one picture keeps none";
}

TEST_F(ReplayTest, CachedPictureKeepsItsOwnSizeAfterTheStreamChangesSize)
{
    std::vector<MsgPtr> stream = clipMessages(clip(Codec::H264, 30, 25, 160, 120));
    for (MsgPtr &msg : clipMessages(clip(Codec::H264, 10, 25, 320, 240), BaseDate + 30 * PictureGapMs))
        stream.push_back(std::move(msg));
    receive(std::move(stream));
    ASSERT_EQ(pictures[30].width, 320);
    player->pause();
    qsizetype mark = frames.size();
    player->seekToIndex(29);
    EXPECT_TRUE(showedOnly(mark, 29));
    for (int picture : {30, 31}) {
        mark = frames.size();
        player->nextFrame();
        EXPECT_TRUE(showedOnly(mark, size_t(picture)));
    }
    mark = frames.size();
    player->seekToIndex(27);
    EXPECT_TRUE(showedOnly(mark, 27)) << "the cached small picture, at its own size";
    EXPECT_EQ(frames.last().width, 160);
}

TEST_F(ReplayTest, UndecodableReplayedPictureIsNotSignalledButBecomesCurrent)
{
    auto stream = clipMessages(clip(Codec::Mjpeg, 5, 1));
    VideoFields noCodec;
    noCodec.codec = std::nullopt;
    noCodec.date = BaseDate + 2 * PictureGapMs;
    stream[2] = videoMessage(noCodec, clip(Codec::Mjpeg, 5, 1).packets[2].data);
    receive(std::move(stream));
    player->pause();
    const AssertRecorder asserts;
    const qsizetype mark = frames.size();
    player->seekToIndex(2);
    EXPECT_TRUE(since(mark).isEmpty());
    EXPECT_EQ(player->currentTime().toMSecsSinceEpoch(), BaseDate + 2 * PictureGapMs);
    EXPECT_EQ(AssertRecorder::reports, QStringList{"FALSE in VideoPlayer::decompressData"});
    player->previousFrame();
    EXPECT_TRUE(showedOnly(mark, 1));
}
