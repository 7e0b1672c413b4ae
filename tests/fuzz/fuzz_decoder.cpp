// libFuzzer target of the frame decoder: video messages read from fuzzed wire bytes (any codec
// name, sizes and data) decoded one after another as the video player does, into a buffer of
// exactly the size the decoder asks for; never a crash, a write past the buffer, or a
// picture that does not fit the size it asked for.
#include "FuzzPieces.h"
#include "PXRPrivateToolBox.h"
#include "PXR.h"

#include <vector>

extern "C" {
#include <libavutil/log.h>
#include <libavutil/pixfmt.h>
}

namespace {

struct Outputs {
    int iWidth = 0, iHeight = 0, iFormat = 0, iKey = 0;
};

int decodeInto(PXRPToolDecoder *psDecoder, PXRMsg *psMsg, std::vector<uint8_t> &buffer, int *piSize,
               Outputs &outputs)
{
    *piSize = int(buffer.size());
    return PXRPToolDecoderDecodeMsg(psDecoder, psMsg, buffer.data(), piSize, &outputs.iWidth, &outputs.iHeight,
                                    &outputs.iFormat, &outputs.iKey);
}

// Into the buffer held, grown to the size asked when it is too small.
void decodeLikePlayer(PXRPToolDecoder *psDecoder, PXRMsg *psMsg, std::vector<uint8_t> &buffer)
{
    Outputs outputs;
    int iSize = 0;
    int iResult = decodeInto(psDecoder, psMsg, buffer, &iSize, outputs);
    if (iResult == PXRPTOOL_ERR_TOO_SMALL) {
        if (iSize <= int(buffer.size()))
            __builtin_trap();
        buffer.assign(size_t(iSize), 0);
        iResult = decodeInto(psDecoder, psMsg, buffer, &iSize, outputs);
        // The picture was kept, so the size it asked for is enough.
        if (iResult == PXRPTOOL_ERR_TOO_SMALL)
            __builtin_trap();
    }
    if (iResult == PXRPTOOL_OK &&
        (outputs.iWidth <= 0 || outputs.iHeight <= 0 || int64_t(outputs.iWidth) * outputs.iHeight * 4 > iSize))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    static int iStarted = (av_log_set_level(AV_LOG_QUIET), PXR_initLibrary());
    (void)iStarted;
    PXRPToolDecoder *psDecoder = PXRPToolDecoderCreate(AV_PIX_FMT_BGRA);
    if (!psDecoder)
        return 0;
    std::vector<uint8_t> buffer;
    for (std::string_view bytes : fuzzpieces::split(pu8Data, szSize, 8)) {
        PXRMsg *psMsg = PXRMsgCreate();
        if (PXRMsgImportFromBinaryArray(psMsg, bytes.data(), uint32_t(bytes.size())))
            decodeLikePlayer(psDecoder, psMsg, buffer);
        PXRMsgDestroy(psMsg);
    }
    PXRPToolDecoderDestroy(psDecoder);
    return 0;
}
