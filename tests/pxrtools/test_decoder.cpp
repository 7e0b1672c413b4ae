// The frame decoder: clips of every codec decode to their sources, each result code, the
// picture kept after a size query or a too-small buffer, codec switches and bad input.
#include "PXRPrivateToolBox.h"
#include "SA_Log.h"
#include "TestClips.h"
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

extern "C" {
#include <libavutil/pixfmt.h>
}

using testclips::Clip;
using testclips::ClipSpec;
using testclips::Codec;
using tooltest::MsgPtr;
using tooltest::VideoMessage;

namespace {

constexpr size_t GUARD_SIZE = 256;
constexpr uint8_t GUARD_BYTE = 0xA5;

struct DecoderDeleter {
    void operator()(PXRPToolDecoder *decoder) const { PXRPToolDecoderDestroy(decoder); }
};
using DecoderPtr = std::unique_ptr<PXRPToolDecoder, DecoderDeleter>;

DecoderPtr NewDecoder()
{
    return DecoderPtr(PXRPToolDecoderCreate(AV_PIX_FMT_BGRA));
}

// A picture buffer of exactly the size given to the decoder, followed by a guard area.
class GuardedBuffer {
public:
    explicit GuardedBuffer(int size = 0) { resize(size); }
    void resize(int size)
    {
        size_ = size;
        bytes_.assign(static_cast<size_t>(size) + GUARD_SIZE, GUARD_BYTE);
    }
    uint8_t *data() { return bytes_.data(); }
    int size() const { return size_; }
    std::vector<uint8_t> picture() const { return {bytes_.begin(), bytes_.begin() + size_}; }
    bool guardIntact() const
    {
        return std::all_of(bytes_.begin() + size_, bytes_.end(), [](uint8_t b) { return b == GUARD_BYTE; });
    }

private:
    std::vector<uint8_t> bytes_;
    int size_ = 0;
};

struct Outputs {
    int width = -1, height = -1, format = -1, key = -1;
};

int DecodeInto(PXRPToolDecoder *decoder, PXRMsg *msg, uint8_t *buffer, int *size, Outputs *out = nullptr)
{
    Outputs ignored;
    Outputs &o = out ? *out : ignored;
    return PXRPToolDecoderDecodeMsg(decoder, msg, buffer, size, &o.width, &o.height, &o.format, &o.key);
}

// Decodes as the video player does: into the buffer it has, grown to the size asked on -53.
int DecodeLikePlayer(PXRPToolDecoder *decoder, PXRMsg *msg, GuardedBuffer &buffer, Outputs *out = nullptr)
{
    int size = buffer.size();
    int result = DecodeInto(decoder, msg, buffer.data(), &size, out);
    if (result == PXRPTOOL_ERR_TOO_SMALL) {
        buffer.resize(size);
        result = DecodeInto(decoder, msg, buffer.data(), &size, out);
    }
    return result;
}

MsgPtr PacketMessage(const Clip &clip, size_t index)
{
    return VideoMessage(testclips::CodecName(clip.spec.codec), clip.packets.at(index).data);
}

// The clip decoded straight through, one buffer per picture.
std::vector<std::vector<uint8_t>> StraightDecode(const Clip &clip)
{
    DecoderPtr decoder = NewDecoder();
    std::vector<std::vector<uint8_t>> pictures;
    GuardedBuffer buffer;
    for (size_t i = 0; i < clip.packets.size(); i++) {
        EXPECT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, i).get(), buffer), PXRPTOOL_OK) << i;
        pictures.push_back(buffer.picture());
    }
    return pictures;
}

void ExpectMatchesSource(const std::vector<uint8_t> &picture, const ClipSpec &spec, int index)
{
    ASSERT_EQ(picture.size(), static_cast<size_t>(spec.width) * spec.height * 4);
    std::vector<uint8_t> source = testclips::SourcePicture(spec.width, spec.height, index);
    EXPECT_LT(testclips::MeanDifference(picture.data(), source.data(), spec.width, spec.height),
              testclips::MATCH_TOLERANCE)
        << "picture " << index;
}

std::string SpecName(const ClipSpec &spec)
{
    return std::string(testclips::CodecName(spec.codec)) + "_" + std::to_string(spec.width) + "x" +
           std::to_string(spec.height);
}

// ---- every codec, at widths the vector code handles whole and at widths it overruns ----

class ClipDecoding : public ::testing::TestWithParam<ClipSpec> {};

TEST_P(ClipDecoding, PicturesMatchTheirSourcesAndNothingIsWrittenPastThem)
{
    const ClipSpec spec = GetParam();
    Clip clip = testclips::MakeClip(spec);
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer;
    for (size_t i = 0; i < clip.packets.size(); i++) {
        Outputs out;
        ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, i).get(), buffer, &out), PXRPTOOL_OK) << i;
        EXPECT_EQ(out.width, spec.width);
        EXPECT_EQ(out.height, spec.height);
        EXPECT_EQ(out.format, AV_PIX_FMT_BGRA);
        EXPECT_EQ(out.key != 0, clip.packets[i].key) << "picture " << i;
        EXPECT_TRUE(buffer.guardIntact()) << "written past the picture " << i;
        ExpectMatchesSource(buffer.picture(), spec, static_cast<int>(i));
    }
}

// A wrong picture would not pass for the right one within the tolerance.
TEST_P(ClipDecoding, NeighbouringSourcesLieBeyondTheTolerance)
{
    const ClipSpec spec = GetParam();
    for (int i = 0; i + 1 < spec.pictures; i++) {
        std::vector<uint8_t> a = testclips::SourcePicture(spec.width, spec.height, i);
        std::vector<uint8_t> b = testclips::SourcePicture(spec.width, spec.height, i + 1);
        EXPECT_GT(testclips::MeanDifference(a.data(), b.data(), spec.width, spec.height),
                  4 * testclips::MATCH_TOLERANCE);
    }
}

INSTANTIATE_TEST_SUITE_P(Codecs, ClipDecoding,
                         ::testing::Values(ClipSpec{Codec::Mjpeg, 320, 240, 6, 1}, ClipSpec{Codec::Mjpeg, 810, 456, 3, 1},
                                           ClipSpec{Codec::Mpeg1, 352, 288, 8, 4}, ClipSpec{Codec::Mpeg1, 200, 120, 8, 4},
                                           ClipSpec{Codec::H264, 320, 240, 8, 4}, ClipSpec{Codec::H264, 330, 186, 8, 4}),
                         [](const auto &info) { return SpecName(info.param); });

// ---- size query, too-small buffers and their retries ----

TEST(DecoderSize, FirstPictureIntoAnEmptyBufferAsksForWidthTimesHeightTimesFour)
{
    const ClipSpec spec{Codec::H264, 320, 240, 1, 1};
    Clip clip = testclips::MakeClip(spec);
    const int needed = spec.width * spec.height * 4;
    struct Case {
        const char *name;
        bool withBuffer;
        int size;
        int result;
    } cases[] = {
        {"size query", false, 0, PXRPTOOL_OK},
        {"empty buffer", true, 0, PXRPTOOL_ERR_TOO_SMALL},
        {"one byte short", true, needed - 1, PXRPTOOL_ERR_TOO_SMALL},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DecoderPtr decoder = NewDecoder();
        MsgPtr msg = PacketMessage(clip, 0);
        GuardedBuffer buffer(c.size);
        std::vector<uint8_t> before = buffer.picture();
        int size = c.size;
        EXPECT_EQ(DecodeInto(decoder.get(), msg.get(), c.withBuffer ? buffer.data() : nullptr, &size), c.result);
        EXPECT_EQ(size, needed);
        EXPECT_EQ(buffer.picture(), before) << "a refused buffer stays untouched";
        buffer.resize(size);
        ASSERT_EQ(DecodeInto(decoder.get(), msg.get(), buffer.data(), &size), PXRPTOOL_OK);
        EXPECT_TRUE(buffer.guardIntact());
        ExpectMatchesSource(buffer.picture(), spec, 0);
    }
}

TEST(DecoderSize, LargerBufferKeepsItsSizeValue)
{
    const ClipSpec spec{Codec::Mjpeg, 64, 48, 1, 1};
    Clip clip = testclips::MakeClip(spec);
    DecoderPtr decoder = NewDecoder();
    int size = spec.width * spec.height * 4 * 2;
    GuardedBuffer buffer(size);
    ASSERT_EQ(DecodeInto(decoder.get(), PacketMessage(clip, 0).get(), buffer.data(), &size), PXRPTOOL_OK);
    EXPECT_EQ(size, spec.width * spec.height * 4 * 2);
}

TEST(DecoderSize, NoBufferSizeGivesMinus52)
{
    const ClipSpec spec{Codec::Mjpeg, 64, 48, 1, 1};
    Clip clip = testclips::MakeClip(spec);
    DecoderPtr decoder = NewDecoder();
    std::vector<uint8_t> buffer(spec.width * spec.height * 4);
    EXPECT_EQ(PXRPToolDecoderDecodeMsg(decoder.get(), PacketMessage(clip, 0).get(), buffer.data(), nullptr, nullptr,
                                       nullptr, nullptr, nullptr),
              PXRPTOOL_ERR_NO_SIZE);
}

// Each picture is first refused (size query, too small, no size) and then asked again with the
// right buffer: the result must be what a straight decode gives, so no picture may be decoded
// twice (a P-picture applied twice corrupts every picture up to the next key frame).
class DecoderRetry : public ::testing::TestWithParam<Codec> {};

TEST_P(DecoderRetry, RetryAfterARefusalGivesTheStraightDecode)
{
    Clip clip = testclips::MakeClip({GetParam(), 176, 144, 10, 10});
    std::vector<std::vector<uint8_t>> straight = StraightDecode(clip);
    DecoderPtr decoder = NewDecoder();
    const int needed = 176 * 144 * 4;
    std::vector<uint8_t> small(16);
    GuardedBuffer buffer(needed);
    for (size_t i = 0; i < clip.packets.size(); i++) {
        MsgPtr msg = PacketMessage(clip, i);
        int size = 16;
        switch (i % 3) {
        case 0:
            EXPECT_EQ(DecodeInto(decoder.get(), msg.get(), nullptr, &size), PXRPTOOL_OK);
            break;
        case 1:
            EXPECT_EQ(DecodeInto(decoder.get(), msg.get(), small.data(), &size), PXRPTOOL_ERR_TOO_SMALL);
            break;
        default:
            EXPECT_EQ(PXRPToolDecoderDecodeMsg(decoder.get(), msg.get(), small.data(), nullptr, nullptr, nullptr,
                                               nullptr, nullptr),
                      PXRPTOOL_ERR_NO_SIZE);
        }
        size = needed;
        ASSERT_EQ(DecodeInto(decoder.get(), msg.get(), buffer.data(), &size), PXRPTOOL_OK) << i;
        EXPECT_EQ(buffer.picture(), straight[i]) << "picture " << i;
    }
}

// After a refusal the caller may move on; the next picture is then decoded, not the kept one.
TEST_P(DecoderRetry, NextPictureAfterARefusalIsDecoded)
{
    Clip clip = testclips::MakeClip({GetParam(), 176, 144, 4, 10});
    std::vector<std::vector<uint8_t>> straight = StraightDecode(clip);
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer;
    ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, 0).get(), buffer), PXRPTOOL_OK);
    std::vector<uint8_t> small(16);
    int size = 16;
    ASSERT_EQ(DecodeInto(decoder.get(), PacketMessage(clip, 1).get(), small.data(), &size), PXRPTOOL_ERR_TOO_SMALL);
    ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, 2).get(), buffer), PXRPTOOL_OK);
    EXPECT_EQ(buffer.picture(), straight[2]);
}

INSTANTIATE_TEST_SUITE_P(Codecs, DecoderRetry, ::testing::Values(Codec::Mjpeg, Codec::Mpeg1, Codec::H264),
                         [](const auto &info) { return std::string(testclips::CodecName(info.param)); });

// ---- codec names ----

struct NameCase {
    const char *label;
    const char *codec;  // null: no codec attribute
};

void PrintTo(const NameCase &c, std::ostream *os)
{
    *os << c.label;
}

class UnknownCodec : public ::testing::TestWithParam<NameCase> {};

TEST_P(UnknownCodec, EveryCallFailsUntilAMessageNamesAKnownCodec)
{
    Clip clip = testclips::MakeClip({Codec::Mjpeg, 64, 48, 1, 1});
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer;
    for (int call = 0; call < 2; call++)
        EXPECT_EQ(DecodeLikePlayer(decoder.get(), VideoMessage(GetParam().codec, clip.packets[0].data).get(), buffer),
                  PXRPTOOL_ERR_INVALID);
    ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, 0).get(), buffer), PXRPTOOL_OK);
    ExpectMatchesSource(buffer.picture(), clip.spec, 0);
}

INSTANTIATE_TEST_SUITE_P(Names, UnknownCodec,
                         ::testing::Values(NameCase{"absent", nullptr}, NameCase{"empty", ""},
                                           NameCase{"vp8", "vp8"}, NameCase{"jpeg2000", "jpeg2000"},
                                           NameCase{"mpeg4", "mpeg4"}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST(DecoderCodecName, NamesMatchInAnyLetterCase)
{
    const std::pair<Codec, const char *> names[] = {{Codec::Mjpeg, "JPEG"}, {Codec::Mpeg1, "MPEG"}, {Codec::H264, "H264"}};
    for (const auto &[codec, name] : names) {
        SCOPED_TRACE(name);
        Clip clip = testclips::MakeClip({codec, 96, 64, 1, 1});
        DecoderPtr decoder = NewDecoder();
        GuardedBuffer buffer;
        ASSERT_EQ(DecodeLikePlayer(decoder.get(), VideoMessage(name, clip.packets[0].data).get(), buffer), PXRPTOOL_OK);
        ExpectMatchesSource(buffer.picture(), clip.spec, 0);
    }
}

// A sensor whose stream changes codec (and size) keeps its video, in each direction.
TEST(DecoderCodecSwitch, StreamThatChangesCodecKeepsDecoding)
{
    const Clip clips[] = {testclips::MakeClip({Codec::Mjpeg, 320, 240, 3, 1}),
                          testclips::MakeClip({Codec::H264, 352, 288, 3, 3}),
                          testclips::MakeClip({Codec::Mpeg1, 160, 120, 3, 3}),
                          testclips::MakeClip({Codec::Mjpeg, 96, 64, 3, 1})};
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer;
    for (const Clip &clip : clips) {
        SCOPED_TRACE(SpecName(clip.spec));
        for (size_t i = 0; i < clip.packets.size(); i++) {
            Outputs out;
            ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, i).get(), buffer, &out), PXRPTOOL_OK);
            ASSERT_EQ(out.width, clip.spec.width);
            std::vector<uint8_t> picture = buffer.picture();
            picture.resize(static_cast<size_t>(out.width) * out.height * 4);
            ExpectMatchesSource(picture, clip.spec, static_cast<int>(i));
        }
    }
}

// ---- bad input ----

TEST(DecoderInput, EmptyOrMissingInputIsRefused)
{
    Clip clip = testclips::MakeClip({Codec::H264, 64, 48, 1, 1});
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer(64 * 48 * 4);
    int size = buffer.size();
    // Before any message opened it, the decoder has no codec to decode with.
    EXPECT_EQ(PXRPToolDecoderDecode(decoder.get(), clip.packets[0].data.data(),
                                    static_cast<int>(clip.packets[0].data.size()), buffer.data(), &size, nullptr,
                                    nullptr, nullptr, nullptr),
              PXRPTOOL_ERR_INVALID);
    EXPECT_EQ(DecodeInto(decoder.get(), nullptr, buffer.data(), &size), PXRPTOOL_ERR_INVALID);
    EXPECT_EQ(DecodeInto(decoder.get(), VideoMessage("h264", {}).get(), buffer.data(), &size), PXRPTOOL_ERR_INVALID);
    MsgPtr noData = tooltest::Message("video", {{"codec", "h264"}});
    EXPECT_EQ(DecodeInto(decoder.get(), noData.get(), buffer.data(), &size), PXRPTOOL_ERR_INVALID);
    EXPECT_EQ(PXRPToolDecoderDecode(decoder.get(), clip.packets[0].data.data(), 0, buffer.data(), &size, nullptr,
                                    nullptr, nullptr, nullptr),
              PXRPTOOL_ERR_INVALID);
    EXPECT_EQ(PXRPToolDecoderDecode(decoder.get(), nullptr, 10, buffer.data(), &size, nullptr, nullptr, nullptr,
                                    nullptr),
              PXRPTOOL_ERR_INVALID);
    EXPECT_EQ(DecodeInto(nullptr, PacketMessage(clip, 0).get(), buffer.data(), &size), PXRPTOOL_ERR_INVALID);
    // The opened decoder still decodes a real picture.
    ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, 0).get(), buffer), PXRPTOOL_OK);
    ExpectMatchesSource(buffer.picture(), clip.spec, 0);
}

struct NoPictureCase {
    const char *label;
    Codec codec;
    std::vector<uint8_t> data;
};

void PrintTo(const NoPictureCase &c, std::ostream *os)
{
    *os << c.label;
}

class DecoderNoPicture : public ::testing::TestWithParam<NoPictureCase> {};

TEST_P(DecoderNoPicture, InputWithoutAPictureGivesMinus2AndLeavesTheBuffer)
{
    const NoPictureCase &c = GetParam();
    Clip clip = testclips::MakeClip({c.codec, 64, 48, 2, 2});
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer;
    ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, 0).get(), buffer), PXRPTOOL_OK);
    std::vector<uint8_t> before = buffer.picture();
    int size = buffer.size();
    EXPECT_EQ(DecodeInto(decoder.get(), VideoMessage(testclips::CodecName(c.codec), c.data).get(), buffer.data(), &size),
              PXRPTOOL_ERR_NO_PICTURE);
    EXPECT_EQ(buffer.picture(), before);
    EXPECT_TRUE(buffer.guardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DecoderNoPicture,
    ::testing::Values(NoPictureCase{"h264_delimiter_only", Codec::H264, {0, 0, 0, 1, 0x09, 0xF0}},
                      NoPictureCase{"h264_noise", Codec::H264, {0, 0, 0, 1, 0x41, 0x13, 0x37, 0xC0, 0xDE, 0x00, 0x42}},
                      NoPictureCase{"jpeg_noise", Codec::Mjpeg, {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34, 0xFF, 0xD9}},
                      NoPictureCase{"mpeg_noise", Codec::Mpeg1, {0x12, 0x34, 0x56, 0x78}}),
    [](const auto &info) { return std::string(info.param.label); });

// ---- FFmpeg's own messages ----

std::mutex g_logMutex;
std::vector<std::string> g_logLines;

void RecordLogLine(const char *line)
{
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logLines.push_back(line);
}

TEST(DecoderLog, FFmpegMessagesGoToTheRuntimeLog)
{
    ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
    SA_SetLogFileEx(nullptr, 0);
    SA_SetLogCallback(RecordLogLine);
    Clip clip = testclips::MakeClip({Codec::Mjpeg, 64, 48, 1, 1});
    DecoderPtr decoder = NewDecoder();
    GuardedBuffer buffer;
    ASSERT_EQ(DecodeLikePlayer(decoder.get(), PacketMessage(clip, 0).get(), buffer), PXRPTOOL_OK);
    size_t mark = [] {
        std::lock_guard<std::mutex> lock(g_logMutex);
        return g_logLines.size();
    }();
    EXPECT_EQ(DecodeLikePlayer(decoder.get(), VideoMessage("jpeg", {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34}).get(), buffer),
              PXRPTOOL_ERR_NO_PICTURE);
    decoder.reset();  // the codec's threads have ended: every line is in
    SA_SetLogCallback(nullptr);
    SA_Release();
    std::lock_guard<std::mutex> lock(g_logMutex);
    ASSERT_GT(g_logLines.size(), mark);
    EXPECT_EQ(g_logLines[mark].rfind("FFmpeg: ", 0), 0u) << g_logLines[mark];
}

}  // namespace
