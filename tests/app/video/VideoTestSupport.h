// Helpers shared by the video tests: video messages as a sensor sends them, made from clips
// encoded at test time, the pictures a straight decode of them gives, a clock the tests move,
// and a recorder of the frames a player emits.
#pragma once

#include "PXR.h"
#include "PXRPrivateToolBox.h"
#include "SA_Core.h"
#include "TestClips.h"
#include "ToolboxTestSupport.h"
#include "VideoFrame.h"
#include "VideoPlayer.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace videotest {

struct MsgDeleter {
    void operator()(PXRMsg *msg) const { PXRMsgDestroy(msg); }
};
using MsgPtr = std::unique_ptr<PXRMsg, MsgDeleter>;

constexpr qint64 BaseDate = 1700000000000;
constexpr qint64 PictureGapMs = 40;

// A video message's root attributes; an absent optional is an absent attribute.
struct VideoFields {
    std::optional<std::string> codec = "h264";
    std::string cameraId = "1";
    std::optional<qint64> date;
    std::optional<std::string> key;
    std::optional<std::string> autoEnslaved;
    std::optional<std::string> enslaveStep;
};

inline void setIf(PXRMsgElement *root, const char *name, const std::optional<std::string> &value)
{
    if (value)
        PXRMsgElementSetAttribute(root, name, value->c_str());
}

// A read-only video message around the bytes, as a sensor's messages arrive.
inline MsgPtr videoMessage(const VideoFields &fields, const std::vector<uint8_t> &data)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgElement *root = PXRMsgElementCreate("video");
    setIf(root, "codec", fields.codec);
    PXRMsgElementSetAttribute(root, "cameraId", fields.cameraId.c_str());
    if (fields.date)
        PXRMsgElementSetAttributeInt64(root, "date", *fields.date);
    setIf(root, "key", fields.key);
    setIf(root, "autoEnslaved", fields.autoEnslaved);
    setIf(root, "enslaveStep", fields.enslaveStep);
    PXRMsgSetChild(msg.get(), root);
    PXRMsgElement *content = PXRMsgElementCreate("data");
    PXRMsgElementSetContentBinary(content, data.empty() ? nullptr : data.data(), uint32_t(data.size()));
    PXRMsgElementAddChild(root, content);
    PXRMsgSetReadOnly(msg.get(), 1);
    return msg;
}

// Clips are encoded once per run and shared by the tests.
inline const testclips::Clip &clip(testclips::Codec codec, int pictures, int gop = 25, int width = 160,
                                   int height = 120)
{
    static std::map<std::tuple<int, int, int, int, int>, testclips::Clip> clips;
    const auto key = std::make_tuple(int(codec), pictures, gop, width, height);
    auto found = clips.find(key);
    if (found == clips.end())
        found = clips.emplace(key, testclips::MakeClip({codec, width, height, pictures, gop})).first;
    return found->second;
}

// The clip's pictures as messages of camera 1 dated 40 ms apart from the given date; MPEG-1
// I-pictures carry key="1" as the sensor sends them.
inline std::vector<MsgPtr> clipMessages(const testclips::Clip &clip, qint64 firstDate = BaseDate)
{
    std::vector<MsgPtr> messages;
    for (size_t i = 0; i < clip.packets.size(); ++i) {
        VideoFields fields;
        fields.codec = testclips::CodecName(clip.spec.codec);
        fields.date = firstDate + qint64(i) * PictureGapMs;
        if (clip.spec.codec == testclips::Codec::Mpeg1 && clip.packets[i].key)
            fields.key = "1";
        messages.push_back(videoMessage(fields, clip.packets[i].data));
    }
    return messages;
}

// One decoded picture: its exact bytes and size.
struct Picture {
    QByteArray pixels;
    int width = 0;
    int height = 0;
};

// The pictures a fresh decoder gives for the messages taken in order from the first.
inline std::vector<Picture> straightDecode(const std::vector<MsgPtr> &messages)
{
    PXRPToolDecoder *decoder = PXRPToolDecoderCreate(AV_PIX_FMT_BGRA);
    std::vector<Picture> pictures;
    for (const MsgPtr &msg : messages) {
        Picture picture;
        int size = 0;
        PXRPToolDecoderDecodeMsg(decoder, msg.get(), nullptr, &size, &picture.width, &picture.height, nullptr,
                                 nullptr);
        picture.pixels.resize(size);
        EXPECT_EQ(PXRPToolDecoderDecodeMsg(decoder, msg.get(), reinterpret_cast<uint8_t *>(picture.pixels.data()),
                                           &size, nullptr, nullptr, nullptr, nullptr),
                  PXRPTOOL_OK);
        pictures.push_back(picture);
    }
    PXRPToolDecoderDestroy(decoder);
    return pictures;
}

// The frame shows exactly that picture: same size, same bytes (extra bytes ignored).
inline ::testing::AssertionResult showsPicture(const VideoFrame &frame, const Picture &picture)
{
    if (frame.width != picture.width || frame.height != picture.height)
        return ::testing::AssertionFailure() << "frame is " << frame.width << "x" << frame.height << ", picture "
                                             << picture.width << "x" << picture.height;
    if (frame.pixels.size() < picture.pixels.size())
        return ::testing::AssertionFailure() << "frame holds " << frame.pixels.size() << " bytes, picture needs "
                                             << picture.pixels.size();
    if (frame.pixels.left(picture.pixels.size()) != picture.pixels)
        return ::testing::AssertionFailure()
               << "pixels differ, mean difference "
               << testclips::MeanDifference(reinterpret_cast<const uint8_t *>(frame.pixels.constData()),
                                            reinterpret_cast<const uint8_t *>(picture.pixels.constData()),
                                            picture.width, picture.height);
    return ::testing::AssertionSuccess();
}

// A player of camera 1 with a clock the test moves, and every frame it emitted.
class PlayerTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        player = std::make_unique<VideoPlayer>();
        player->setClock([this] { return now; });
        player->setCameraId(1);
        QObject::connect(player.get(), &VideoPlayer::displayFrame,
                         [this](const VideoFrame &frame) { frames.append(frame); });
    }
    void TearDown() override
    {
        player.reset();
        ToolboxTest::TearDown();
    }

    // Hands the messages to the player, the clock moving 40 ms before each.
    void feed(const std::vector<MsgPtr> &messages, size_t from = 0, size_t to = SIZE_MAX)
    {
        for (size_t i = from; i < std::min(to, messages.size()); ++i) {
            now = now.addMSecs(PictureGapMs);
            player->onVideoMessage(messages[i].get());
        }
    }

    // Frames emitted since the mark.
    QList<VideoFrame> since(qsizetype mark) const { return frames.mid(mark); }

    // The replay timer was started with that interval; it is then fired.
    ::testing::AssertionResult fireTimerAfter(int intervalMs)
    {
        const QTimer &timer = player->playbackTimer();
        if (!timer.isActive())
            return ::testing::AssertionFailure() << "the replay timer is not running";
        if (timer.interval() != intervalMs)
            return ::testing::AssertionFailure() << "the replay timer waits " << timer.interval() << " ms";
        player->onTimerPlaybackTimeout();
        return ::testing::AssertionSuccess();
    }

    QDateTime now = QDateTime::fromMSecsSinceEpoch(BaseDate);
    std::unique_ptr<VideoPlayer> player;
    QList<VideoFrame> frames;
};

} // namespace videotest

namespace videotest {

// Keeps the function names of the runtime assertions reported while it lives.
class AssertRecorder
{
public:
    AssertRecorder()
    {
        reports.clear();
        previous = SA_SetAssertHandler(&AssertRecorder::record);
    }
    ~AssertRecorder() { SA_SetAssertHandler(previous); }

    static inline QStringList reports;

private:
    static void record(const char *expression, const char *, const char *function, uint32_t, const char *,
                       const char *)
    {
        reports.append(QString("%1 in %2").arg(expression, function));
    }

    SA_AssertHandler previous = nullptr;
};

} // namespace videotest
