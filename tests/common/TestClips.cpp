// Test clips: source pictures drawn in BGRA, converted with libswscale and encoded with
// libavcodec's MJPEG, MPEG-1 and libx264 encoders.
#include "TestClips.h"

#include <cstdlib>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace testclips {

namespace {

constexpr int FRAME_RATE = 25;
constexpr int FIXED_QUALITY = 3;  // MJPEG and MPEG-1 quantiser: clean enough to compare

struct ContextDeleter {
    void operator()(AVCodecContext *p) const { avcodec_free_context(&p); }
};
struct FrameDeleter {
    void operator()(AVFrame *p) const { av_frame_free(&p); }
};
struct PacketDeleter {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct ScalerDeleter {
    void operator()(SwsContext *p) const { sws_freeContext(p); }
};
using ContextPtr = std::unique_ptr<AVCodecContext, ContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerDeleter>;

void Check(bool ok, const std::string &step)
{
    if (!ok)
        throw std::runtime_error("test clip: " + step + " failed");
}

struct Block {
    uint8_t b, g, r;
    int x, y, w, h;
};

void Fill(std::vector<uint8_t> &pixels, int width, const Block &block)
{
    for (int y = block.y; y < block.y + block.h; y++)
        for (int x = block.x; x < block.x + block.w; x++) {
            uint8_t *p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = block.b;
            p[1] = block.g;
            p[2] = block.r;
            p[3] = 255;
        }
}

AVPixelFormat EncoderFormat(Codec codec)
{
    return codec == Codec::Mjpeg ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
}

ContextPtr OpenEncoder(const ClipSpec &spec)
{
    const AVCodec *codec = spec.codec == Codec::H264 ? avcodec_find_encoder_by_name("libx264")
                           : spec.codec == Codec::Mpeg1 ? avcodec_find_encoder(AV_CODEC_ID_MPEG1VIDEO)
                                                        : avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    Check(codec != nullptr, std::string("finding the encoder for ") + CodecName(spec.codec));
    ContextPtr context(avcodec_alloc_context3(codec));
    Check(context != nullptr, "allocating the encoder");
    context->width = spec.width;
    context->height = spec.height;
    context->pix_fmt = EncoderFormat(spec.codec);
    context->time_base = AVRational{1, FRAME_RATE};
    context->framerate = AVRational{FRAME_RATE, 1};
    context->gop_size = spec.gop;
    context->max_b_frames = 0;
    if (spec.codec == Codec::H264) {
        av_opt_set(context->priv_data, "preset", "veryfast", 0);
        // Key frames exactly every gop pictures, none added at scene changes.
        av_opt_set(context->priv_data, "x264-params", "scenecut=0", 0);
    } else {
        // MPEG-1 too: key frames exactly every gop pictures; the changing background would
        // otherwise count as a scene change at almost every picture.
        av_opt_set(context.get(), "sc_threshold", "1000000000", AV_OPT_SEARCH_CHILDREN);
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * FIXED_QUALITY;
    }
    Check(avcodec_open2(context.get(), codec, nullptr) == 0, std::string("opening the ") + codec->name + " encoder");
    return context;
}

// The source picture in the encoder's pixel format.
void Convert(SwsContext *scaler, const std::vector<uint8_t> &bgra, AVFrame *frame)
{
    const uint8_t *src[4] = {bgra.data(), nullptr, nullptr, nullptr};
    const int srcStride[4] = {frame->width * 4, 0, 0, 0};
    Check(av_frame_make_writable(frame) == 0, "making the frame writable");
    sws_scale(scaler, src, srcStride, 0, frame->height, frame->data, frame->linesize);
}

void Drain(AVCodecContext *context, AVPacket *packet, Clip &clip)
{
    while (avcodec_receive_packet(context, packet) == 0) {
        clip.packets.push_back({std::vector<uint8_t>(packet->data, packet->data + packet->size),
                                (packet->flags & AV_PKT_FLAG_KEY) != 0});
        av_packet_unref(packet);
    }
}

}  // namespace

const char *CodecName(Codec codec)
{
    switch (codec) {
    case Codec::Mjpeg:
        return "jpeg";
    case Codec::Mpeg1:
        return "mpeg";
    case Codec::H264:
        return "h264";
    }
    return "";
}

std::vector<uint8_t> SourcePicture(int width, int height, int index)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    // The background alone moves a picture far from its neighbours.
    int shade = 40 + (index * 53) % 150;
    Fill(pixels, width, {static_cast<uint8_t>(shade), static_cast<uint8_t>(230 - shade),
                         static_cast<uint8_t>(90 + shade / 2), 0, 0, width, height});
    int redW = width / 4, redH = height / 4;
    int blueW = width / 5, blueH = height / 5;
    Fill(pixels, width, {40, 40, 220, (index * width / 10) % (width - redW), height / 8, redW, redH});
    Fill(pixels, width, {220, 60, 30, width - blueW - (index * width / 13) % (width - blueW), height / 2, blueW, blueH});
    return pixels;
}

Clip MakeClip(const ClipSpec &spec)
{
    Check(spec.width >= 16 && spec.height >= 16 && spec.pictures > 0 && spec.gop > 0, "checking the clip's size");
    ContextPtr context = OpenEncoder(spec);
    FramePtr frame(av_frame_alloc());
    PacketPtr packet(av_packet_alloc());
    Check(frame && packet, "allocating the frame and packet");
    frame->format = context->pix_fmt;
    frame->width = spec.width;
    frame->height = spec.height;
    Check(av_frame_get_buffer(frame.get(), 0) == 0, "allocating the frame's pictures");
    ScalerPtr scaler(sws_getContext(spec.width, spec.height, AV_PIX_FMT_BGRA, spec.width, spec.height,
                                    context->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr));
    Check(scaler != nullptr, "creating the converter");
    Clip clip{spec, {}};
    for (int i = 0; i < spec.pictures; i++) {
        Convert(scaler.get(), SourcePicture(spec.width, spec.height, i), frame.get());
        frame->pts = i;
        frame->quality = context->global_quality;
        Check(avcodec_send_frame(context.get(), frame.get()) == 0, "encoding a picture");
        Drain(context.get(), packet.get(), clip);
    }
    Check(avcodec_send_frame(context.get(), nullptr) == 0, "flushing the encoder");
    Drain(context.get(), packet.get(), clip);
    Check(clip.packets.size() == static_cast<size_t>(spec.pictures), "getting one packet per picture");
    return clip;
}

std::ostream &operator<<(std::ostream &os, const ClipSpec &spec)
{
    return os << spec.codec << ' ' << spec.width << 'x' << spec.height << ", " << spec.pictures << " pictures, gop "
              << spec.gop;
}

std::ostream &operator<<(std::ostream &os, Codec codec)
{
    return os << CodecName(codec);
}

double MeanDifference(const uint8_t *a, const uint8_t *b, int width, int height)
{
    size_t pixels = static_cast<size_t>(width) * height;
    uint64_t sum = 0;
    for (size_t i = 0; i < pixels; i++)
        for (int c = 0; c < 3; c++)
            sum += static_cast<uint64_t>(std::abs(a[i * 4 + c] - b[i * 4 + c]));
    return pixels ? static_cast<double>(sum) / (pixels * 3) : 0.0;
}

}  // namespace testclips
