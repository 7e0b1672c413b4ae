/* The frame decoder: opening a codec by name, decoding one compressed picture per call and
 * handing it out in the caller's buffer, and the same for a video message. */
#include "PXRPTool_Internal.h"

#include "SA_Core.h"

#include <limits.h>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

namespace {

constexpr int DECODER_THREADS = 3;

struct CodecName {
    const char *pcszName;
    AVCodecID eId;
};

constexpr CodecName CODEC_NAMES[] = {
    {"jpeg", AV_CODEC_ID_MJPEG},
    {"mpeg", AV_CODEC_ID_MPEG1VIDEO},
    {"h264", AV_CODEC_ID_H264},
};

/* FNV-1a: tells a retry with the same data from the next picture. */
uint64_t hashOf(const uint8_t *pu8Data, int iSize)
{
    uint64_t u64Hash = 14695981039346656037ull;
    for (int i = 0; i < iSize; i++)
        u64Hash = (u64Hash ^ pu8Data[i]) * 1099511628211ull;
    return u64Hash;
}

bool isKeptPicture(const PXRPToolDecoder *psDecoder, const uint8_t *pu8Data, int iSize)
{
    return psDecoder->bPending && psDecoder->iPendingSize == iSize &&
           psDecoder->u64PendingHash == hashOf(pu8Data, iSize);
}

void keepPicture(PXRPToolDecoder *psDecoder, const uint8_t *pu8Data, int iSize)
{
    if (psDecoder->bPending)
        return;
    psDecoder->bPending = 1;
    psDecoder->iPendingSize = iSize;
    psDecoder->u64PendingHash = hashOf(pu8Data, iSize);
}

/* Submits the data and takes the one picture it gives, which replaces any kept one. */
int receivePicture(PXRPToolDecoder *psDecoder, const uint8_t *pu8Data, int iSize)
{
    psDecoder->bPending = 0;
    if (!psDecoder->psFrame)
        return PXRPTOOL_ERR_NO_PICTURE;
    /* A packet without its own buffer is copied, with FFmpeg's input padding, when sent. */
    psDecoder->psPacket->data = const_cast<uint8_t *>(pu8Data);
    psDecoder->psPacket->size = iSize;
    avcodec_send_packet(psDecoder->psCodecContext, psDecoder->psPacket);
    psDecoder->psPacket->data = nullptr;
    psDecoder->psPacket->size = 0;
    if (avcodec_receive_frame(psDecoder->psCodecContext, psDecoder->psFrame) < 0)
        return PXRPTOOL_ERR_NO_PICTURE;
    return PXRPTOOL_OK;
}

int outputFormatOf(const PXRPToolDecoder *psDecoder)
{
    if (psDecoder->iOutputPixelFormat >= 0)
        return psDecoder->iOutputPixelFormat;
    return PXRPToolDecoder_softwareFormat(psDecoder->psFrame);
}

void setOptional(int *piValue, int iValue)
{
    if (piValue)
        *piValue = iValue;
}

} // namespace

AVCodecID PXRPTool_codecId(const char *pcszCodecName)
{
    for (const CodecName &sName : CODEC_NAMES)
        if (PXRMsgStringEqual(pcszCodecName, sName.pcszName))
            return sName.eId;
    return AV_CODEC_ID_NONE;
}

int PXRPToolDecoder_open(PXRPToolDecoder *psDecoder, const char *pcszCodecName)
{
    if (psDecoder->psCodec)
        return PXRPTOOL_ERR_INVALID;
    psDecoder->iHardwarePixelFormat = -1;
    AVCodecID eId = PXRPTool_codecId(pcszCodecName);
    const AVCodec *psCodec = eId == AV_CODEC_ID_NONE ? nullptr : avcodec_find_decoder(eId);
    if (!psCodec)
        return PXRPTOOL_ERR_INVALID;
    psDecoder->psCodec = psCodec;
    AVCodecContext *psContext = avcodec_alloc_context3(psCodec);
    if (!psContext)
        return PXRPTOOL_ERR_NO_PICTURE;
    psDecoder->psCodecContext = psContext;
    /* Low delay gives each picture out on the call that submits it. */
    psContext->thread_count = DECODER_THREADS;
    psContext->flags = AV_CODEC_FLAG_LOW_DELAY;
    /* Decoders that do not know the option ignore it. */
    av_opt_set(psContext, "tune", "zerolatency", AV_OPT_SEARCH_CHILDREN);
    psDecoder->iHardwarePixelFormat = PXRPToolDecoder_attachHardware(psContext, psCodec);
    if (avcodec_open2(psContext, psCodec, nullptr) < 0)
        return PXRPTOOL_ERR_OPEN;
    psDecoder->psFrame = av_frame_alloc();
    return psDecoder->psFrame ? PXRPTOOL_OK : PXRPTOOL_ERR_FRAME;
}

void PXRPToolDecoder_close(PXRPToolDecoder *psDecoder)
{
    avcodec_free_context(&psDecoder->psCodecContext);
    av_frame_free(&psDecoder->psFrame);
    av_frame_free(&psDecoder->psTransferFrame);
    psDecoder->psCodec = nullptr;
    psDecoder->iHardwarePixelFormat = -1;
    psDecoder->bPending = 0;
}

extern "C" {

PXRPToolDecoder *PXRPToolDecoderCreate(int iOutputPixelFormat)
{
    PXRPTool_routeFFmpegLog();
    PXRPToolDecoder *psDecoder = static_cast<PXRPToolDecoder *>(SA_Calloc(1, sizeof(PXRPToolDecoder)));
    if (!psDecoder)
        return nullptr;
    psDecoder->iOutputPixelFormat = iOutputPixelFormat;
    psDecoder->iHardwarePixelFormat = -1;
    psDecoder->psPacket = av_packet_alloc();
    if (!psDecoder->psPacket) {
        SA_Free(&psDecoder);
        return nullptr;
    }
    return psDecoder;
}

void PXRPToolDecoderDestroy(PXRPToolDecoder *psDecoder)
{
    if (!psDecoder)
        return;
    sws_freeContext(psDecoder->psScaler);
    PXRPToolDecoder_close(psDecoder);
    av_packet_free(&psDecoder->psPacket);
    av_freep(&psDecoder->pu8Padded);
    SA_Free(&psDecoder);
}

int PXRPToolDecoderDecode(PXRPToolDecoder *psDecoder, const uint8_t *pu8Data, int iSize, uint8_t *pu8Buffer,
                          int *piBufferSize, int *piWidth, int *piHeight, int *piPixelFormat, int *piKeyFrame)
{
    if (!psDecoder || !pu8Data || iSize < 1 || !psDecoder->psCodecContext)
        return PXRPTOOL_ERR_INVALID;
    if (!isKeptPicture(psDecoder, pu8Data, iSize)) {
        int iResult = receivePicture(psDecoder, pu8Data, iSize);
        if (iResult != PXRPTOOL_OK)
            return iResult;
    }
    const AVFrame *psFrame = psDecoder->psFrame;
    int iOutputFormat = outputFormatOf(psDecoder);
    int iNeeded = av_image_get_buffer_size(static_cast<AVPixelFormat>(iOutputFormat), psFrame->width,
                                           psFrame->height, 1);
    if (iNeeded < 0) {
        psDecoder->bPending = 0;
        return PXRPTOOL_ERR_NO_PICTURE;
    }
    setOptional(piWidth, psFrame->width);
    setOptional(piHeight, psFrame->height);
    setOptional(piPixelFormat, iOutputFormat);
    setOptional(piKeyFrame, psFrame->key_frame);
    if (!piBufferSize || !pu8Buffer || *piBufferSize < iNeeded) {
        keepPicture(psDecoder, pu8Data, iSize);
        if (!piBufferSize)
            return PXRPTOOL_ERR_NO_SIZE;
        *piBufferSize = iNeeded;
        return pu8Buffer ? PXRPTOOL_ERR_TOO_SMALL : PXRPTOOL_OK;
    }
    psDecoder->bPending = 0;
    return PXRPToolDecoder_convert(psDecoder, pu8Buffer, iOutputFormat);
}

int PXRPToolDecoderDecodeMsg(PXRPToolDecoder *psDecoder, PXRMsg *psMsg, uint8_t *pu8Buffer, int *piBufferSize,
                             int *piWidth, int *piHeight, int *piPixelFormat, int *piKeyFrame)
{
    if (!psDecoder)
        return PXRPTOOL_ERR_INVALID;
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    const char *pcszCodec = PXRMsgElementAttributeValue(psRoot, "codec");
    AVCodecID eId = PXRPTool_codecId(pcszCodec);
    /* A stream that changes codec gets a decoder for the new one. */
    if (psDecoder->psCodecContext && eId != AV_CODEC_ID_NONE && eId != psDecoder->psCodecContext->codec_id)
        PXRPToolDecoder_close(psDecoder);
    if (!psDecoder->psCodecContext) {
        int iResult = PXRPToolDecoder_open(psDecoder, pcszCodec);
        if (iResult != PXRPTOOL_OK)
            return iResult;
    }
    PXRMsgElement *psData = PXRMsgElementFirstChild(psRoot, "data");
    uint32_t u32Size = PXRMsgElementContentSize(psData);
    if (u32Size > INT_MAX)
        return PXRPTOOL_ERR_INVALID;
    return PXRPToolDecoderDecode(psDecoder, static_cast<const uint8_t *>(PXRMsgElementContent(psData)),
                                 static_cast<int>(u32Size), pu8Buffer, piBufferSize, piWidth, piHeight,
                                 piPixelFormat, piKeyFrame);
}

} // extern "C"
