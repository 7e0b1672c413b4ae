// Short video clips made at test time with libavcodec's own encoders: coloured blocks moving
// over a background whose shade changes with every picture, so that pictures never look alike.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace testclips {

enum class Codec { Mjpeg, Mpeg1, H264 };

struct ClipSpec {
    Codec codec = Codec::H264;
    int width = 320;
    int height = 240;
    int pictures = 10;
    int gop = 5;  // pictures from one key frame to the next; never B-pictures
};

// One compressed picture as a sensor sends it (H.264 as a byte stream with start codes).
struct Packet {
    std::vector<uint8_t> data;
    bool key = false;  // the encoder's key-frame flag
};

struct Clip {
    ClipSpec spec;
    std::vector<Packet> packets;  // one per picture, in order
};

// Encodes the clip; throws std::runtime_error naming the step that failed.
Clip MakeClip(const ClipSpec &spec);

// Picture `index` of a clip of that size: BGRA, 4 bytes a pixel, rows without padding.
std::vector<uint8_t> SourcePicture(int width, int height, int index);

// The codec's name in a video message: "jpeg", "mpeg" or "h264".
const char *CodecName(Codec codec);

// "h264 320x240, 10 pictures, gop 5", for test output.
std::ostream &operator<<(std::ostream &os, const ClipSpec &spec);
std::ostream &operator<<(std::ostream &os, Codec codec);

// Mean absolute difference of the blue, green and red bytes of two BGRA pictures.
double MeanDifference(const uint8_t *a, const uint8_t *b, int width, int height);

// Largest MeanDifference between a decoded picture and its source that counts as a match;
// neighbouring source pictures lie much further apart.
constexpr double MATCH_TOLERANCE = 6.0;

}  // namespace testclips
