/* Conversion of a decoded picture into the caller's buffer: hardware pictures are copied to
 * main memory first, and the result never reaches past the picture size the caller was given. */
#include "PXRPTool_Internal.h"

extern "C" {
#include <libavutil/hwcontext.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
}

namespace {

/* libswscale's packed-pixel vector code writes whole blocks of pixels, past the end of a row
 * whose width is not a multiple of the block; the widest block seen is 16 pixels. */
constexpr int VECTOR_BLOCK_PIXELS = 16;
/* Room after each row of the padded target, and after its last one, in pixels and bytes. */
constexpr int PADDING_PIXELS = 64;
constexpr int PADDING_BYTES = 256;

bool writesExactly(int iWidth, AVPixelFormat eFormat)
{
    return iWidth % VECTOR_BLOCK_PIXELS == 0 && av_pix_fmt_count_planes(eFormat) == 1;
}

/* Lays out the decoder's padded target for the picture, growing it when needed. */
bool padded(PXRPToolDecoder *psDecoder, AVPixelFormat eFormat, int iWidth, int iHeight, uint8_t *apu8Planes[4],
            int aiLinesizes[4])
{
    if (av_image_fill_linesizes(aiLinesizes, eFormat, FFALIGN(iWidth, PADDING_PIXELS) + PADDING_PIXELS) < 0)
        return false;
    int iSize = av_image_fill_pointers(apu8Planes, eFormat, iHeight, nullptr, aiLinesizes);
    if (iSize < 0 || iSize > INT32_MAX - PADDING_BYTES)
        return false;
    iSize += PADDING_BYTES;
    if (iSize > psDecoder->iPaddedSize) {
        av_freep(&psDecoder->pu8Padded);
        psDecoder->iPaddedSize = 0;
        psDecoder->pu8Padded = static_cast<uint8_t *>(av_malloc(iSize));
        if (!psDecoder->pu8Padded)
            return false;
        psDecoder->iPaddedSize = iSize;
    }
    return av_image_fill_pointers(apu8Planes, eFormat, iHeight, psDecoder->pu8Padded, aiLinesizes) >= 0;
}

const AVFrame *inMainMemory(PXRPToolDecoder *psDecoder)
{
    AVFrame *psFrame = psDecoder->psFrame;
    if (psDecoder->iHardwarePixelFormat < 0 || psFrame->format != psDecoder->iHardwarePixelFormat)
        return psFrame;
    if (!psDecoder->psTransferFrame && !(psDecoder->psTransferFrame = av_frame_alloc()))
        return nullptr;
    av_frame_unref(psDecoder->psTransferFrame);
    if (av_hwframe_transfer_data(psDecoder->psTransferFrame, psFrame, 0) < 0)
        return nullptr;
    return psDecoder->psTransferFrame;
}

} // namespace

int PXRPToolDecoder_convertFrame(PXRPToolDecoder *psDecoder, const AVFrame *psSource, uint8_t *pu8Buffer,
                                 int iOutputFormat)
{
    AVPixelFormat eOutput = static_cast<AVPixelFormat>(iOutputFormat);
    int iWidth = psSource->width;
    int iHeight = psSource->height;
    psDecoder->psScaler = sws_getCachedContext(psDecoder->psScaler, iWidth, iHeight,
                                               static_cast<AVPixelFormat>(psSource->format), iWidth, iHeight,
                                               eOutput, 0, nullptr, nullptr, nullptr);
    uint8_t *apu8Target[4];
    int aiTargetLinesizes[4];
    if (!psDecoder->psScaler ||
        av_image_fill_arrays(apu8Target, aiTargetLinesizes, pu8Buffer, eOutput, iWidth, iHeight, 1) < 0)
        return PXRPTOOL_ERR_NO_PICTURE;
    if (writesExactly(iWidth, eOutput)) {
        sws_scale(psDecoder->psScaler, psSource->data, psSource->linesize, 0, iHeight, apu8Target,
                  aiTargetLinesizes);
        return PXRPTOOL_OK;
    }
    uint8_t *apu8Padded[4];
    int aiPaddedLinesizes[4];
    if (!padded(psDecoder, eOutput, iWidth, iHeight, apu8Padded, aiPaddedLinesizes))
        return PXRPTOOL_ERR_NO_PICTURE;
    sws_scale(psDecoder->psScaler, psSource->data, psSource->linesize, 0, iHeight, apu8Padded, aiPaddedLinesizes);
    av_image_copy(apu8Target, aiTargetLinesizes, const_cast<const uint8_t **>(apu8Padded), aiPaddedLinesizes,
                  eOutput, iWidth, iHeight);
    return PXRPTOOL_OK;
}

int PXRPToolDecoder_convert(PXRPToolDecoder *psDecoder, uint8_t *pu8Buffer, int iOutputFormat)
{
    const AVFrame *psSource = inMainMemory(psDecoder);
    if (!psSource)
        return PXRPTOOL_ERR_NO_PICTURE;
    return PXRPToolDecoder_convertFrame(psDecoder, psSource, pu8Buffer, iOutputFormat);
}
