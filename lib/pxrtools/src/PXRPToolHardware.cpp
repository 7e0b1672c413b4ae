/* Hardware decoding: the first device type, in FFmpeg's order, that the codec can decode on
 * and that can be created on this machine. */
#include "PXRPTool_Internal.h"

extern "C" {
#include <libavutil/hwcontext.h>
}

namespace {

const AVCodecHWConfig *deviceConfigOf(const AVCodec *psCodec, AVHWDeviceType eType)
{
    for (int i = 0;; i++) {
        const AVCodecHWConfig *psConfig = avcodec_get_hw_config(psCodec, i);
        if (!psConfig)
            return nullptr;
        if ((psConfig->methods & AV_CODEC_HW_CONFIG_METHOD_HW_DEVICE_CTX) && psConfig->device_type == eType)
            return psConfig;
    }
}

} // namespace

int PXRPToolDecoder_attachHardware(AVCodecContext *psContext, const AVCodec *psCodec)
{
    for (AVHWDeviceType eType = av_hwdevice_iterate_types(AV_HWDEVICE_TYPE_NONE); eType != AV_HWDEVICE_TYPE_NONE;
         eType = av_hwdevice_iterate_types(eType)) {
        const AVCodecHWConfig *psConfig = deviceConfigOf(psCodec, eType);
        if (psConfig && av_hwdevice_ctx_create(&psContext->hw_device_ctx, eType, nullptr, nullptr, 0) >= 0)
            return psConfig->pix_fmt;
    }
    return -1;
}

int PXRPToolDecoder_softwareFormat(const AVFrame *psFrame)
{
    if (psFrame->hw_frames_ctx)
        return reinterpret_cast<const AVHWFramesContext *>(psFrame->hw_frames_ctx->data)->sw_format;
    return psFrame->format;
}
