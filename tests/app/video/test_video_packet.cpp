// The buffered video message: which pictures decoding can start at, how a message is read,
// and the message reference each packet holds.
#include "VideoPacket.h"
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

using namespace videotest;

namespace {

struct KeyCase {
    const char *name;
    std::optional<std::string> codec;
    std::optional<std::string> key;
    int picture;  // index into the H.264 clip (gop 3: 0 is an IDR picture, 1 is not); -1 for no data
    bool expected;
};

std::vector<uint8_t> h264Picture(int index)
{
    if (index < 0)
        return {};
    return clip(testclips::Codec::H264, 3, 3).packets[size_t(index)].data;
}

} // namespace

TEST(VideoPacket, KeyFrameFollowsTheKeyAttributeThenTheCodec)
{
    const KeyCase cases[] = {
        {"jpeg with key 0", "jpeg", "0", 1, false},
        {"mpeg with key 1", "mpeg", "1", 1, true},
        {"mpeg with key true", "mpeg", "true", 1, true},
        {"mpeg with key yes", "mpeg", "yes", 1, false},
        {"h264 IDR with key 0", "h264", "0", 0, false},
        {"jpeg", "jpeg", std::nullopt, 1, true},
        {"JPEG", "JPEG", std::nullopt, 1, true},
        {"mpeg", "mpeg", std::nullopt, 0, false},
        {"h264 IDR", "h264", std::nullopt, 0, true},
        {"H264 IDR", "H264", std::nullopt, 0, true},
        {"h264 P", "h264", std::nullopt, 1, false},
        {"h264 without data", "h264", std::nullopt, -1, false},
        {"no codec", std::nullopt, std::nullopt, 0, false},
        {"another codec", "mjpg", std::nullopt, 0, false},
    };
    for (const KeyCase &c : cases) {
        VideoFields fields;
        fields.codec = c.codec;
        fields.key = c.key;
        const MsgPtr msg = videoMessage(fields, h264Picture(c.picture));
        EXPECT_EQ(VideoPacket(msg.get()).keyFrame, c.expected) << c.name;
    }
}

TEST(VideoPacket, FieldsAreReadAsTheSensorSendsThem)
{
    VideoFields fields;
    fields.cameraId = "12b";
    fields.date = BaseDate + 40;
    fields.autoEnslaved = "1";
    fields.enslaveStep = "3";
    const MsgPtr full = videoMessage(fields, {});
    EXPECT_EQ(VideoPacket::sensorTimeOf(full.get()).toMSecsSinceEpoch(), BaseDate + 40);
    EXPECT_EQ(VideoPacket::cameraNumberOf(full.get()), 12);
    EXPECT_EQ(VideoPacket::cameraTextOf(full.get()), QString("12b"));
    EXPECT_TRUE(VideoPacket::autoEnslavedOf(full.get()));
    EXPECT_EQ(VideoPacket::enslaveStepOf(full.get()), 3);

    VideoFields bareFields;
    bareFields.codec = std::nullopt;
    bareFields.cameraId = "x";
    const MsgPtr bare = videoMessage(bareFields, {});
    EXPECT_FALSE(VideoPacket::sensorTimeOf(bare.get()).isValid());
    EXPECT_EQ(VideoPacket::cameraNumberOf(bare.get()), 0);
    EXPECT_FALSE(VideoPacket::autoEnslavedOf(bare.get()));
    EXPECT_EQ(VideoPacket::enslaveStepOf(bare.get()), -1);
    EXPECT_EQ(VideoPacket::codecOf(bare.get()), nullptr);

    VideoFields hugeFields;
    hugeFields.cameraId = "99999999999";
    const MsgPtr huge = videoMessage(hugeFields, {});
    EXPECT_EQ(VideoPacket::cameraNumberOf(huge.get()), -1) << "no camera rather than another one";
}

TEST(VideoPacket, CameraIdsBeyondAnIntNameNoCamera)
{
    const struct
    {
        const char *id;
        int number;
    } cases[] = {
        {"0", 0},
        {"12b", 12},
        {"x", 0},
        {nullptr, 0},
        {"2147483647", INT_MAX},
        {"2147483648", -1},
        {"4294967297", -1}, // 1 once cut to 32 bits
        {"99999999999999999999", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VideoPacket::cameraNumber(c.id), c.number) << (c.id ? c.id : "(none)");
}

TEST(VideoPacket, CopyKeepsTheMessageAliveAfterTheOriginalGoes)
{
    VideoFields fields;
    fields.date = BaseDate;
    MsgPtr msg = videoMessage(fields, {1, 2, 3});
    auto original = std::make_unique<VideoPacket>(msg.get(), QDateTime::fromMSecsSinceEpoch(5));
    msg.reset();
    original->decoded = QByteArray(8, 'p');
    const VideoPacket copy(*original);
    VideoPacket assigned;
    assigned = *original;
    original.reset();
    for (const VideoPacket *packet : {&copy, const_cast<const VideoPacket *>(&assigned)}) {
        EXPECT_EQ(packet->sensorTime().toMSecsSinceEpoch(), BaseDate);
        EXPECT_EQ(packet->receiveTime.toMSecsSinceEpoch(), 5);
        EXPECT_EQ(packet->decoded, QByteArray(8, 'p'));
        EXPECT_EQ(PXRMsgElementContentSize(PXRMsgElementFirstChild(PXRMsgChild(packet->message()), "data")), 3u);
    }
}

TEST(VideoPacket, WritableMessageIsCopiedAndStaysTheCallers)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgSetChild(msg.get(), PXRMsgElementCreate("video"));
    PXRMsgElementSetAttribute(PXRMsgChild(msg.get()), "cameraId", "4");
    const VideoPacket packet(msg.get());
    EXPECT_NE(packet.message(), msg.get());
    EXPECT_FALSE(PXRMsgIsReadOnly(msg.get())) << "the caller's message can still be changed";
    msg.reset();
    EXPECT_EQ(VideoPacket::cameraNumberOf(packet.message()), 4);
}

TEST(VideoPacket, NullMessageGivesAnEmptyPacket)
{
    const VideoPacket packet(nullptr);
    EXPECT_EQ(packet.message(), nullptr);
    EXPECT_FALSE(packet.keyFrame);
    EXPECT_FALSE(packet.sensorTime().isValid());
}
