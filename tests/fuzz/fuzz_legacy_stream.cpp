// libFuzzer target of the legacy stream: any bytes, taken from a buffer in place of the
// sensor's stream connection, go through reception (framing, size rules, time rewriting) and
// dispatch of every packet with every callback installed; never a crash, a leak or an
// allocation beyond the packet cap.
#include "Lumatrek_Internal.h"

namespace {

struct Runtime {
    Runtime()
    {
        SA_Init(0, 0, -1);
        LumatrekSetLogFile(nullptr, 0);
    }
};

void onConfig(LumatrekHandle *, LumatrekConfigRecord *, void *) {}
void onEvent(LumatrekHandle *, LumatrekEvent *psEvent, void *)
{
    LumatrekReleaseEvent(&psEvent);
}
void onFrame(LumatrekHandle *, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, const uint8_t *, void *) {}
void onInput(LumatrekHandle *, int32_t, uint32_t, void *) {}
void onSpeed(LumatrekHandle *, LumatrekSpeed *, void *) {}
void onRecognition(LumatrekHandle *, LumatrekRecognition *psRecord, void *)
{
    LumatrekReleaseRecognition(&psRecord);
}

void installAll(LumatrekHandle *psHandle)
{
    LumatrekAddConfigCallback(psHandle, &onConfig, nullptr);
    LumatrekAddConfigCallbackEx(psHandle, &onConfig, nullptr);
    LumatrekAddEventCallback(psHandle, &onEvent, nullptr);
    LumatrekAddXpegCallback(psHandle, &onFrame, nullptr);
    LumatrekAddIoCallback(psHandle, &onInput, nullptr);
    LumatrekAddSpeedCallback(psHandle, &onSpeed, nullptr);
    LumatrekAddRemoteRecognition(psHandle, 0, &onRecognition, nullptr);
    LumatrekAddRemoteDGRecognition(psHandle, 0, &onRecognition, nullptr);
}

void dispatchQueued(LumatrekHandle *psHandle)
{
    LT_Stream *psStream = psHandle->psStream;
    while (auto *psEntry = static_cast<LT_PacketEntry *>(SA_ReadQueue(psStream->psNetQueue, 0))) {
        LT_dispatchEntry(psHandle, psEntry);
        SA_WritePool(psStream->psPool, psEntry);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    static Runtime sRuntime;
    if (szSize > UINT32_MAX)
        return 0;
    LumatrekErrorInfo sError;
    LT_initError(&sError, "fuzz", 1);
    LumatrekHandle *psHandle =
        LumatrekCreateInternal("127.0.0.1:0,0,0", LT_CREATE_STREAM, nullptr, nullptr, nullptr, nullptr, &sError);
    if (!psHandle)
        return 0;
    int32_t i32Code = 0;
    LT_TextId eText = LT_TEXT_EMPTY;
    if (LT_makeStreamArea(psHandle, &i32Code, &eText)) {
        installAll(psHandle);
        LT_Link sLink = {nullptr, pu8Data, uint32_t(szSize), 0};
        LumatrekMessageHeader sHeader;
        // Dispatch now and then, as the dispatch thread would, so that the pool is reused.
        for (uint32_t u32Count = 1; LT_readHeader(&sLink, &sHeader, 0); u32Count++) {
            if (!ReceivePacket(psHandle, &sLink, &sHeader))
                break;
            if (u32Count % 8 == 0)
                dispatchQueued(psHandle);
        }
        dispatchQueued(psHandle);
    }
    LumatrekDestroy(&psHandle);
    return 0;
}
