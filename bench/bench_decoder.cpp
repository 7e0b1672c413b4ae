// Pictures per second of the frame decoder (decode and BGRA conversion) on a 1080p H.264 and
// a 720p MJPEG clip, beside plain libavcodec decoding with the same thread settings and plain
// decoding followed by one direct sws_scale call.
#include "PXRPrivateToolBox.h"
#include "TestClips.h"

#include <benchmark/benchmark.h>

#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

namespace {

enum ClipId { H264_1080P, MJPEG_720P };

const testclips::Clip &BenchClip(ClipId id)
{
    static const testclips::Clip h264 = testclips::MakeClip({testclips::Codec::H264, 1920, 1080, 50, 25});
    static const testclips::Clip mjpeg = testclips::MakeClip({testclips::Codec::Mjpeg, 1280, 720, 30, 1});
    return id == H264_1080P ? h264 : mjpeg;
}

PXRMsg *VideoMessage(const testclips::Clip &clip, size_t index)
{
    PXRMsg *msg = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate("video");
    PXRMsgElementSetAttribute(root, "codec", testclips::CodecName(clip.spec.codec));
    PXRMsgSetChild(msg, root);
    PXRMsgElement *data = PXRMsgElementCreate("data");
    const std::vector<uint8_t> &bytes = clip.packets[index].data;
    PXRMsgElementSetContentBinary(data, bytes.data(), static_cast<uint32_t>(bytes.size()));
    PXRMsgElementAddChild(root, data);
    return msg;
}

void CountPictures(benchmark::State &state)
{
    state.counters["pictures/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ToolDecoder(benchmark::State &state, ClipId id)
{
    const testclips::Clip &clip = BenchClip(id);
    PXRPToolDecoder *decoder = PXRPToolDecoderCreate(AV_PIX_FMT_BGRA);
    std::vector<uint8_t> buffer(static_cast<size_t>(clip.spec.width) * clip.spec.height * 4);
    int size = static_cast<int>(buffer.size());
    PXRMsg *first = VideoMessage(clip, 0);
    if (PXRPToolDecoderDecodeMsg(decoder, first, buffer.data(), &size, nullptr, nullptr, nullptr, nullptr) != 0)
        state.SkipWithError("the first picture did not decode");
    PXRMsgDestroy(first);
    size_t index = 1;
    for (auto _ : state) {
        const std::vector<uint8_t> &packet = clip.packets[index].data;
        int result = PXRPToolDecoderDecode(decoder, packet.data(), static_cast<int>(packet.size()), buffer.data(),
                                           &size, nullptr, nullptr, nullptr, nullptr);
        if (result != 0)
            state.SkipWithError("a picture did not decode");
        benchmark::DoNotOptimize(buffer.data());
        index = (index + 1) % clip.packets.size();
    }
    PXRPToolDecoderDestroy(decoder);
    CountPictures(state);
}

// libavcodec on its own, set up as the toolbox's decoder sets it up.
struct PlainDecoder {
    AVCodecContext *context = nullptr;
    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();

    explicit PlainDecoder(const testclips::Clip &clip)
    {
        const AVCodec *codec =
            avcodec_find_decoder(clip.spec.codec == testclips::Codec::H264 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MJPEG);
        context = avcodec_alloc_context3(codec);
        context->thread_count = 3;
        context->flags = AV_CODEC_FLAG_LOW_DELAY;
        avcodec_open2(context, codec, nullptr);
    }
    ~PlainDecoder()
    {
        avcodec_free_context(&context);
        av_packet_free(&packet);
        av_frame_free(&frame);
    }
    bool decode(const std::vector<uint8_t> &data)
    {
        packet->data = const_cast<uint8_t *>(data.data());
        packet->size = static_cast<int>(data.size());
        avcodec_send_packet(context, packet);
        return avcodec_receive_frame(context, frame) == 0;
    }
};

void PlainDecoding(benchmark::State &state, ClipId id, bool convert)
{
    const testclips::Clip &clip = BenchClip(id);
    PlainDecoder decoder(clip);
    std::vector<uint8_t> buffer(static_cast<size_t>(clip.spec.width) * clip.spec.height * 4);
    uint8_t *target[4] = {buffer.data(), nullptr, nullptr, nullptr};
    int linesizes[4] = {clip.spec.width * 4, 0, 0, 0};
    SwsContext *scaler = nullptr;
    decoder.decode(clip.packets[0].data);
    size_t index = 1;
    for (auto _ : state) {
        if (!decoder.decode(clip.packets[index].data))
            state.SkipWithError("a picture did not decode");
        if (convert) {
            AVFrame *frame = decoder.frame;
            scaler = sws_getCachedContext(scaler, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                          frame->width, frame->height, AV_PIX_FMT_BGRA, 0, nullptr, nullptr, nullptr);
            sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, target, linesizes);
        }
        benchmark::DoNotOptimize(buffer.data());
        index = (index + 1) % clip.packets.size();
    }
    sws_freeContext(scaler);
    CountPictures(state);
}

void BM_PlainDecode(benchmark::State &state, ClipId id)
{
    PlainDecoding(state, id, false);
}

void BM_PlainDecodeAndScale(benchmark::State &state, ClipId id)
{
    PlainDecoding(state, id, true);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ToolDecoder, h264_1080p, H264_1080P)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainDecode, h264_1080p, H264_1080P)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainDecodeAndScale, h264_1080p, H264_1080P)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ToolDecoder, mjpeg_720p, MJPEG_720P)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainDecode, mjpeg_720p, MJPEG_720P)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PlainDecodeAndScale, mjpeg_720p, MJPEG_720P)->Unit(benchmark::kMillisecond)->UseRealTime();
