// Conversion to BGRA of the pixel formats decoders and hardware transfers give: every width,
// whole vector blocks or not, fills exactly the caller's picture and nothing after it.
#include "PXRPTool_Internal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace {

constexpr size_t GUARD_SIZE = 256;
constexpr uint8_t GUARD_BYTE = 0x5A;

struct FrameDeleter {
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A picture in the format with a smooth pattern in every plane.
FramePtr PatternFrame(AVPixelFormat format, int width, int height)
{
    FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = width;
    frame->height = height;
    EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    const AVPixFmtDescriptor *desc = av_pix_fmt_desc_get(format);
    for (int plane = 0; plane < 4 && frame->data[plane]; plane++)
        for (int y = 0; y < (plane == 1 || plane == 2 ? AV_CEIL_RSHIFT(height, desc->log2_chroma_h) : height); y++)
            for (int x = 0; x < frame->linesize[plane]; x++)
                frame->data[plane][y * frame->linesize[plane] + x] = static_cast<uint8_t>(40 + (x * 3 + y * 5 + plane * 60) % 170);
    return frame;
}

// The same conversion into rows with plenty of room, as the reference.
std::vector<uint8_t> Reference(const AVFrame *frame)
{
    const int stride = (frame->width + 64) * 4;
    std::vector<uint8_t> roomy(static_cast<size_t>(stride) * frame->height + GUARD_SIZE);
    SwsContext *scaler = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                        frame->width, frame->height, AV_PIX_FMT_BGRA, 0, nullptr, nullptr, nullptr);
    uint8_t *target[4] = {roomy.data(), nullptr, nullptr, nullptr};
    int linesizes[4] = {stride, 0, 0, 0};
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, target, linesizes);
    sws_freeContext(scaler);
    std::vector<uint8_t> exact;
    for (int y = 0; y < frame->height; y++)
        exact.insert(exact.end(), roomy.begin() + y * stride, roomy.begin() + y * stride + frame->width * 4);
    return exact;
}

int LargestDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

class Conversion : public ::testing::TestWithParam<AVPixelFormat> {};

TEST_P(Conversion, EveryWidthFillsExactlyThePicture)
{
    PXRPToolDecoder *decoder = PXRPToolDecoderCreate(AV_PIX_FMT_BGRA);
    for (int height : {8, 9})
        for (int width = 8; width <= 72; width++) {
            SCOPED_TRACE("width " + std::to_string(width) + " height " + std::to_string(height));
            FramePtr frame = PatternFrame(GetParam(), width, height);
            const size_t size = static_cast<size_t>(width) * height * 4;
            std::vector<uint8_t> buffer(size + GUARD_SIZE, GUARD_BYTE);
            ASSERT_EQ(PXRPToolDecoder_convertFrame(decoder, frame.get(), buffer.data(), AV_PIX_FMT_BGRA), PXRPTOOL_OK);
            EXPECT_TRUE(std::all_of(buffer.begin() + size, buffer.end(), [](uint8_t b) { return b == GUARD_BYTE; }))
                << "written past the picture";
            buffer.resize(size);
            EXPECT_LE(LargestDifference(buffer, Reference(frame.get())), 2);
        }
    PXRPToolDecoderDestroy(decoder);
}

INSTANTIATE_TEST_SUITE_P(Formats, Conversion,
                         ::testing::Values(AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P,
                                           AV_PIX_FMT_YUV422P, AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_NV12),
                         [](const auto &info) { return std::string(av_get_pix_fmt_name(info.param)); });

}  // namespace
