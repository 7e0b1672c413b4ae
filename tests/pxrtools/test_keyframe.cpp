// The H.264 key-frame test: byte tables of NAL unit sequences with three- and four-byte start
// codes, and every picture of an x264 clip, whose slices follow three-byte codes.
#include "PXRPrivateToolBox.h"
#include "TestClips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct KeyFrameCase {
    const char *label;
    std::vector<uint8_t> data;
    int expected;
};

void PrintTo(const KeyFrameCase &c, std::ostream *os)
{
    *os << c.label;
}

class H264KeyFrame : public ::testing::TestWithParam<KeyFrameCase> {};

TEST_P(H264KeyFrame, AnswersWhetherAnIdrSliceComesFirst)
{
    const KeyFrameCase &c = GetParam();
    EXPECT_EQ(PXRPToolIsH264KeyFrame(c.data.data(), static_cast<uint32_t>(c.data.size())), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, H264KeyFrame,
    ::testing::Values(
        KeyFrameCase{"IdrAlone", {0, 0, 0, 1, 0x65, 0x88, 0x84}, 1},
        KeyFrameCase{"IdrWithOtherReferenceBits", {0, 0, 0, 1, 0x25, 0x88, 0x84}, 1},
        KeyFrameCase{"ParameterSetsThenIdr", {0, 0, 0, 1, 0x67, 0x42, 0x00, 0x1E, 0, 0, 0, 1, 0x68, 0xCE, 0, 0, 0, 1, 0x65, 0x88}, 1},
        KeyFrameCase{"ParameterSetsThenIdrAfterShortCode", {0, 0, 0, 1, 0x67, 0x42, 0x00, 0x1E, 0, 0, 0, 1, 0x68, 0xCE, 0, 0, 1, 0x65, 0x88}, 1},
        KeyFrameCase{"SeiThenIdrAfterShortCode", {0, 0, 0, 1, 0x06, 0x05, 0x11, 0x80, 0, 0, 1, 0x65, 0x88}, 1},
        KeyFrameCase{"ShortCodesOnly", {0, 0, 1, 0x67, 0x42, 0x00, 0, 0, 1, 0x65, 0x88}, 1},
        KeyFrameCase{"SliceType1ThenIdr", {0, 0, 0, 1, 0x41, 0x9A, 0x02, 0, 0, 0, 1, 0x65, 0x88}, 0},
        KeyFrameCase{"ParameterSetThenSliceType1ThenIdr", {0, 0, 0, 1, 0x67, 0x42, 0, 0, 1, 0x41, 0x9A, 0, 0, 1, 0x65, 0x88}, 0},
        KeyFrameCase{"PartitionFirst", {0, 0, 0, 1, 0x22, 0x11, 0, 0, 0, 1, 0x65, 0x88}, 0},
        KeyFrameCase{"ParameterSetsOnly", {0, 0, 0, 1, 0x67, 0x42, 0x00, 0x1E, 0, 0, 0, 1, 0x68, 0xCE}, 0},
        KeyFrameCase{"StartCodeAtTheEnd", {0, 0, 0, 1, 0x67, 0x42, 0x00, 0, 0, 1}, 0},
        KeyFrameCase{"FourBytes", {0, 0, 0, 1}, 0},
        KeyFrameCase{"FourBytesWithIdrType", {0, 0, 1, 0x65}, 0},
        KeyFrameCase{"Empty", {}, 0}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(H264KeyFrameInput, NullDataIsNoKeyFrame)
{
    EXPECT_EQ(PXRPToolIsH264KeyFrame(nullptr, 100), 0);
}

// Offset of an IDR slice that follows a three-byte start code, or -1.
long ShortCodedIdr(const std::vector<uint8_t> &data)
{
    for (size_t i = 1; i + 3 < data.size(); i++)
        if (data[i - 1] != 0 && data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && (data[i + 3] & 0x1F) == 5)
            return static_cast<long>(i);
    return -1;
}

// The same stream with every three-byte start code made a four-byte one.
std::vector<uint8_t> WithLongCodes(const std::vector<uint8_t> &data)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < data.size(); i++) {
        bool shortCode = i + 2 < data.size() && data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 &&
                         (i == 0 || data[i - 1] != 0);
        if (shortCode)
            out.push_back(0);
        out.push_back(data[i]);
    }
    return out;
}

TEST(H264KeyFrameClip, EveryIdrPictureOfAnX264ClipIsAKeyFrame)
{
    testclips::Clip clip = testclips::MakeClip({testclips::Codec::H264, 320, 240, 12, 4});
    int keys = 0;
    for (size_t i = 0; i < clip.packets.size(); i++) {
        const std::vector<uint8_t> &data = clip.packets[i].data;
        keys += clip.packets[i].key;
        if (clip.packets[i].key) {
            EXPECT_GE(ShortCodedIdr(data), 0) << "the clip shows no three-byte code before picture " << i;
        }
        EXPECT_EQ(PXRPToolIsH264KeyFrame(data.data(), static_cast<uint32_t>(data.size())), clip.packets[i].key ? 1 : 0)
            << "picture " << i;
        std::vector<uint8_t> longCodes = WithLongCodes(data);
        EXPECT_EQ(PXRPToolIsH264KeyFrame(longCodes.data(), static_cast<uint32_t>(longCodes.size())),
                  clip.packets[i].key ? 1 : 0)
            << "picture " << i << " with four-byte codes";
    }
    EXPECT_EQ(keys, 3);
}

}  // namespace
