/* Records and internal operations of the private toolbox, shared by its sources and its
 * tests; nothing here is exported. */
#ifndef PXRPTOOL_INTERNAL_H
#define PXRPTOOL_INTERNAL_H

#include "PXRPrivateToolBox.h"

#include <stddef.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

struct PXRPToolDecoder {
    int iOutputPixelFormat;          /* -1: the codec's own */
    SwsContext *psScaler;            /* cached while sizes and formats stay the same */
    int iHardwarePixelFormat;        /* -1 when decoding in software */
    const AVCodec *psCodec;          /* chosen at opening; none before */
    AVCodecContext *psCodecContext;
    AVFrame *psFrame;                /* the decoded picture */
    AVFrame *psTransferFrame;        /* a hardware picture copied to main memory */
    AVPacket *psPacket;              /* points into the caller's data, never owns it */
    /* A picture decoded but not handed out (size query, buffer too small): a call with the
     * same data converts it instead of decoding that data a second time. */
    int bPending;
    int iPendingSize;
    uint64_t u64PendingHash;
    /* Conversion target with room past each row, for widths the vector code overruns. */
    uint8_t *pu8Padded;
    int iPaddedSize;
};

/* The libavcodec decoder of a codec name ("jpeg", "mpeg", "h264", any letter case), or
 * AV_CODEC_ID_NONE. */
AVCodecID PXRPTool_codecId(const char *pcszCodecName);
/* Opens the decoder for the codec name; a PXRPTOOL_ result. */
int PXRPToolDecoder_open(PXRPToolDecoder *psDecoder, const char *pcszCodecName);
/* Frees the codec context, the frames and any kept picture, so another codec can open. */
void PXRPToolDecoder_close(PXRPToolDecoder *psDecoder);
/* Attaches the first usable hardware device for the codec to the context; the pixel format
 * of its frames, or -1 when none is usable (decoding stays in software). */
int PXRPToolDecoder_attachHardware(AVCodecContext *psContext, const AVCodec *psCodec);
/* Pixel format of the picture in main memory (a hardware frame's software format). */
int PXRPToolDecoder_softwareFormat(const AVFrame *psFrame);
/* Converts the decoded picture into the caller's buffer, laid out without row padding and
 * never written past its width x height picture size; PXRPTOOL_OK or PXRPTOOL_ERR_NO_PICTURE. */
int PXRPToolDecoder_convert(PXRPToolDecoder *psDecoder, uint8_t *pu8Buffer, int iOutputFormat);
/* Converts one picture in main memory into the buffer as PXRPToolDecoder_convert does. */
int PXRPToolDecoder_convertFrame(PXRPToolDecoder *psDecoder, const AVFrame *psSource, uint8_t *pu8Buffer,
                                 int iOutputFormat);
/* Sends FFmpeg's log lines to the runtime's log; installed once per process. */
void PXRPTool_routeFFmpegLog(void);

/* Standard Base64 (RFC 4648) up to the end or the first "=": 1 with the bytes in pu8Out
 * (room for PXRPTool_base64MaxSize bytes) and their count, 0 when the text is not decodable. */
int PXRPTool_base64Decode(const char *pcszText, size_t uLength, uint8_t *pu8Out, size_t *puOutLength);
/* The most bytes a text of that length decodes to. */
size_t PXRPTool_base64MaxSize(size_t uLength);

#endif
