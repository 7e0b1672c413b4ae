/* The commands that travel on the stream connection: the current log, pictures on request,
 * the stream's state and raw stream messages. */
#include "Lumatrek_Internal.h"

namespace {

const uint32_t kFirstRequestNumber = 10;
const int32_t kEventCallbackMissing = -25;

int32_t sendStream(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command, uint32_t u32Argument,
                   const void *pPayload, uint32_t u32Size)
{
    const LT_CallHold sHold(psHandle);
    const int32_t i32Result =
        LumatrekSendStreamCommand(psHandle, psError, u32Command, u32Argument, 1, u32Size, pPayload, 0, nullptr);
    return LT_finishCall(psHandle, psError, i32Result);
}

// A picture request needs the callback that delivers its answer.
int32_t askImage(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32First, uint32_t u32Second)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    if (!CheckHandle(psHandle, &sError))
        return LT_finishCall(psHandle, &sError, LT_refusedCall(&sError));
    if (!LT_hasEventCallback(psHandle)) {
        LT_setError(&sError, kEventCallbackMissing, LT_TEXT_EVENT_CALLBACK_REQUIRED, 0);
        return LT_finishCall(psHandle, &sError, -1);
    }
    const uint32_t au32Payload[2] = {u32First, u32Second};
    return sendStream(psHandle, &sError, LT_STREAM_CMD_IMAGE, 0, au32Payload, sizeof(au32Payload));
}

} // namespace

extern "C" {

int32_t LumatrekGetCurrentLogInfoV2(LumatrekHandle *psHandle, uint32_t u32RequestNumber, uint32_t u32Second)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_CURRENT_LOG_INFO_V2), 1);
    if (u32RequestNumber < kFirstRequestNumber)
        return LT_rejectArgument(psHandle, &sError);
    const uint32_t au32Payload[2] = {u32RequestNumber, u32Second};
    return sendStream(psHandle, &sError, LT_STREAM_CMD_LOG_INFO, 0, au32Payload, sizeof(au32Payload));
}

int32_t LumatrekGetImage(LumatrekHandle *psHandle, uint32_t u32RequestNumber)
{
    return askImage(psHandle, LT_TEXT_FN_GET_IMAGE, u32RequestNumber, 0);
}

int32_t LumatrekGetImageV2(LumatrekHandle *psHandle, uint32_t u32First, uint32_t u32Second)
{
    return askImage(psHandle, LT_TEXT_FN_GET_IMAGE_V2, u32Second, u32First);
}

int32_t LumatrekSetStreamState(LumatrekHandle *psHandle, uint32_t u32State)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_STREAM_STATE), 1);
    return sendStream(psHandle, &sError, LT_STREAM_CMD_STATE, 0, &u32State, sizeof(u32State));
}

int32_t SendStreamCommandKGV(LumatrekHandle *psHandle, uint32_t u32Code, const void *pPayload, uint32_t u32Size)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SEND_STREAM_COMMAND_KGV), 1);
    if (!pPayload && u32Size != 0)
        return LT_rejectArgument(psHandle, &sError);
    return sendStream(psHandle, &sError, LT_CMD_STREAM_KGV, u32Code, pPayload, u32Size);
}

} // extern "C"
