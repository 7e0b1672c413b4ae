/* The stream area of a handle: its set-up and cancel, the callback setters and clear
 * operations, the replay of cached blocks, and the release of owned records. */
#include "Lumatrek_Internal.h"

#include <new>
#include <string.h>

namespace {

int failSetUp(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, int32_t i32Code, LT_TextId eText)
{
    LT_setError(psError, i32Code, eText, 1);
    // The creator destroys the handle next: its threads may leave now.
    SA_AtomicStore(&psHandle->i32Running, 0);
    LumatrekCancelStreamInternal(psHandle, psError);
    LumatrekError(psHandle, psError);
    return 0;
}

int fillPool(LT_Stream *psStream)
{
    if (SA_CreatePool(&psStream->psPool, LT_PACKET_ENTRIES) != SA_OK)
        return 0;
    for (LT_PacketEntry &sEntry : psStream->asEntries)
        SA_WritePool(psStream->psPool, &sEntry);
    return 1;
}

// A setter's opening: the handle checked (reported on failure).
int enterSetter(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, LT_TextId eFunction)
{
    if (!LT_enterCall(psHandle, psError, eFunction))
        return 0;
    if (!psHandle->psStream) {
        LT_setError(psError, LUMATREK_ERROR_INVALID_ARGUMENT, LT_TEXT_STREAM_REQUIRED, 0);
        LumatrekError(psHandle, psError);
        return 0;
    }
    return 1;
}

template <typename Callback>
int32_t setSlot(LumatrekHandle *psHandle, LT_TextId eFunction, LT_MutexId eMutex, LT_Slot LT_Stream::*pSlot,
                Callback rCallback, void *pUser)
{
    LumatrekErrorInfo sError;
    const LT_CallHold sHold(psHandle);
    if (!enterSetter(psHandle, &sError, eFunction))
        return 0;
    LT_lock(psHandle, eMutex);
    LT_Slot &sSlot = psHandle->psStream->*pSlot;
    sSlot.rCallback = reinterpret_cast<void (*)(void)>(rCallback);
    sSlot.pUser = rCallback ? pUser : nullptr;
    LT_unlock(psHandle, eMutex);
    return 1;
}

void clearSlot(LumatrekHandle *psHandle, LT_MutexId eMutex, LT_Slot LT_Stream::*pSlot)
{
    if (!psHandle || !psHandle->psStream)
        return;
    LT_lock(psHandle, eMutex);
    psHandle->psStream->*pSlot = LT_Slot{};
    LT_unlock(psHandle, eMutex);
}

int32_t setRecognition(LumatrekHandle *psHandle, LT_TextId eFunction, LT_MutexId eMutex, LT_Slot LT_Stream::*pSlot,
                       uint32_t u32Decompress, void (*rCallback)(LumatrekHandle *, LumatrekRecognition *, void *),
                       void *pUser)
{
    if (u32Decompress != 0) {
        LumatrekErrorInfo sError;
        const LT_CallHold sHold(psHandle);
        if (!enterSetter(psHandle, &sError, eFunction))
            return 0;
        LT_setError(&sError, -123, LT_TEXT_NO_DECOMPRESSION, 0);
        LumatrekError(psHandle, &sError);
        return 0;
    }
    return setSlot(psHandle, eFunction, eMutex, pSlot, rCallback, pUser);
}

void freeImage(LumatrekImage *psImage)
{
    SA_Free(&psImage->pu8Jpeg);
}

} // namespace

extern "C" {

int LumatrekAddStreamInternal(LumatrekHandle *psHandle, uint32_t u32StreamOption, LumatrekErrorInfo *psError)
{
    if (!CheckHandle(psHandle, psError)) {
        LumatrekError(psHandle, psError);
        return 0;
    }
    psHandle->u32StreamOption = u32StreamOption;
    psHandle->u32RunState = 1;
    int32_t i32Code = 0;
    LT_TextId eText = LT_TEXT_EMPTY;
    if (!LT_makeStreamArea(psHandle, &i32Code, &eText))
        return failSetUp(psHandle, psError, i32Code, eText);
    LT_Stream *psStream = psHandle->psStream;
    if (!LT_startThread(psHandle, &psStream->sReceiveThread, &ReceiveThread, 0, LT_text(LT_TEXT_THREAD_RECEIVE)))
        return failSetUp(psHandle, psError, LUMATREK_ERROR_THREAD, LT_TEXT_DECOMPRESSION_THREAD_CREATE);
    if (!LT_startThread(psHandle, &psStream->sNetThread, &NetThread, 2, LT_text(LT_TEXT_THREAD_NET)))
        return failSetUp(psHandle, psError, LUMATREK_ERROR_THREAD, LT_TEXT_NET_THREAD_CREATE);
    if (!LT_startThread(psHandle, &psStream->sNetCmdThread, &NetCmdThread, 0, LT_text(LT_TEXT_THREAD_NET_COMMAND)))
        return failSetUp(psHandle, psError, LUMATREK_ERROR_THREAD, LT_TEXT_NET_COMMAND_THREAD_CREATE);
    return 1;
}

int LT_makeStreamArea(LumatrekHandle *psHandle, int32_t *pi32Code, LT_TextId *peText)
{
    LT_Stream *psStream = new (std::nothrow) LT_Stream{};
    *pi32Code = LUMATREK_ERROR_QUEUE;
    if (!psStream) {
        *pi32Code = LUMATREK_ERROR_NO_MEMORY;
        *peText = LT_TEXT_NO_MEMORY;
        return 0;
    }
    psHandle->psStream = psStream;
    if (!fillPool(psStream)) {
        *pi32Code = -75;
        *peText = LT_TEXT_NET_POOL;
        return 0;
    }
    if (SA_CreateQueue(&psStream->psNetQueue, LT_PACKET_ENTRIES) != SA_OK) {
        *peText = LT_TEXT_NET_QUEUE;
        return 0;
    }
    if (!psHandle->psStreamCommandQueue &&
        SA_CreateWaitQueueInfo(&psHandle->psStreamCommandQueue, LT_STREAM_COMMAND_QUEUE_SIZE, __FILE__, __LINE__) !=
            SA_OK) {
        *peText = LT_TEXT_NET_COMMAND_QUEUE;
        return 0;
    }
    return 1;
}

int LT_hasEventCallback(LumatrekHandle *psHandle)
{
    if (!psHandle->psStream)
        return 0;
    LT_lock(psHandle, LT_MUTEX_STREAM);
    const int bHas = psHandle->psStream->sEvent.rCallback != nullptr;
    LT_unlock(psHandle, LT_MUTEX_STREAM);
    return bHas;
}

void LumatrekCancelStreamInternal(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    LT_Stream *psStream = psHandle->psStream;
    if (psStream) {
        // From here on no callback starts: the owner may free what its callbacks use.
        SA_AtomicStore(&psStream->bClosing, 1);
        // A thread that does not end in time keeps its reference: the area is then freed with
        // the handle, after the last thread let go, never under a live thread.
        const LT_Timing *psTiming = LT_timing();
        int bAllEnded = LT_joinThread(psHandle, &psStream->sNetThread, psTiming->u32LongJoinMs,
                                      LT_TEXT_NET_THREAD_LATE, psError);
        bAllEnded &= LT_joinThread(psHandle, &psStream->sNetCmdThread, psTiming->u32ShortJoinMs,
                                   LT_TEXT_NET_COMMAND_THREAD_LATE, psError);
        bAllEnded &= LT_joinThread(psHandle, &psStream->sReceiveThread, psTiming->u32ShortJoinMs,
                                   LT_TEXT_DECOMPRESSION_THREAD_LATE, psError);
        clearSlot(psHandle, LT_MUTEX_STREAM, &LT_Stream::sEvent);
        if (bAllEnded)
            LT_freeStream(psHandle);
    }
    SetConnectionState(psHandle, LT_SOCKET_STREAM, 0);
    LT_answerWaitingRequests(psHandle->psStreamCommandQueue, LT_STATUS_CLOSING);
}

void LT_freeStream(LumatrekHandle *psHandle)
{
    LT_Stream *psStream = psHandle->psStream;
    if (!psStream)
        return;
    psHandle->psStream = nullptr;
    SA_CloseSocket(&psStream->psSocket);
    for (LT_PacketEntry &sEntry : psStream->asEntries)
        SA_Free(&sEntry.pu8Data);
    SA_ReleaseQueue(&psStream->psNetQueue);
    SA_ReleasePool(&psStream->psPool);
    delete psStream;
}

LT_Slot LT_openSlot(LumatrekHandle *psHandle, const LT_Slot *psSlot)
{
    if (SA_AtomicLoad(&psHandle->psStream->bClosing))
        return LT_Slot{};
    return *psSlot;
}

int LT_deliverEvent(LumatrekHandle *psHandle, uint32_t u32Type, int (*rFill)(LumatrekEvent *, const void *),
                    const void *pContext)
{
    LT_lock(psHandle, LT_MUTEX_STREAM);
    const LT_Slot sSlot = LT_openSlot(psHandle, &psHandle->psStream->sEvent);
    int bDone = 1;
    if (sSlot.rCallback) {
        LumatrekEvent *psEvent = static_cast<LumatrekEvent *>(SA_Calloc(1, sizeof(LumatrekEvent)));
        if (psEvent) {
            psEvent->u32Type = u32Type;
            bDone = rFill(psEvent, pContext);
        }
        if (bDone && psEvent)
            reinterpret_cast<LumatrekEventCallback>(sSlot.rCallback)(psHandle, psEvent, sSlot.pUser);
        else
            LumatrekReleaseEvent(&psEvent);
        bDone = bDone && psEvent;
    }
    LT_unlock(psHandle, LT_MUTEX_STREAM);
    return bDone;
}

int32_t LumatrekAddConfigCallback(LumatrekHandle *psHandle, LumatrekConfigCallback rCallback, void *pUser)
{
    const int32_t i32Result =
        setSlot(psHandle, LT_TEXT_FN_ADD_CONFIG_CALLBACK, LT_MUTEX_CONFIG, &LT_Stream::sConfig, rCallback, pUser);
    if (i32Result && rCallback)
        LT_replayConfig(psHandle, 0);
    return i32Result;
}

int32_t LumatrekAddConfigCallbackEx(LumatrekHandle *psHandle, LumatrekConfigCallbackEx rCallback, void *pUser)
{
    const int32_t i32Result = setSlot(psHandle, LT_TEXT_FN_ADD_CONFIG_CALLBACK_EX, LT_MUTEX_CONFIG,
                                      &LT_Stream::sConfigEx, rCallback, pUser);
    if (i32Result && rCallback)
        LT_replayConfig(psHandle, 1);
    return i32Result;
}

int32_t LumatrekAddEventCallback(LumatrekHandle *psHandle, LumatrekEventCallback rCallback, void *pUser)
{
    return setSlot(psHandle, LT_TEXT_FN_ADD_EVENT_CALLBACK, LT_MUTEX_STREAM, &LT_Stream::sEvent, rCallback, pUser);
}

int32_t LumatrekAddXpegCallback(LumatrekHandle *psHandle, LumatrekXpegCallback rCallback, void *pUser)
{
    return setSlot(psHandle, LT_TEXT_FN_ADD_XPEG_CALLBACK, LT_MUTEX_MPEG, &LT_Stream::sXpeg, rCallback, pUser);
}

int32_t LumatrekAddIoCallback(LumatrekHandle *psHandle, LumatrekIoCallback rCallback, void *pUser)
{
    return setSlot(psHandle, LT_TEXT_FN_ADD_IO_CALLBACK, LT_MUTEX_IO, &LT_Stream::sIo, rCallback, pUser);
}

int32_t LumatrekAddSpeedCallback(LumatrekHandle *psHandle, LumatrekSpeedCallback rCallback, void *pUser)
{
    return setSlot(psHandle, LT_TEXT_FN_ADD_SPEED_CALLBACK, LT_MUTEX_SPEED_CALLBACK, &LT_Stream::sSpeed, rCallback,
                   pUser);
}

int32_t LumatrekAddRemoteRecognition(LumatrekHandle *psHandle, uint32_t u32Decompress,
                                     LumatrekRecognitionCallback rCallback, void *pUser)
{
    return setRecognition(psHandle, LT_TEXT_FN_ADD_REMOTE_RECOGNITION, LT_MUTEX_REMOTE_ANPR,
                          &LT_Stream::sRecognition, u32Decompress, rCallback, pUser);
}

int32_t LumatrekAddRemoteDGRecognition(LumatrekHandle *psHandle, uint32_t u32Decompress,
                                       LumatrekDGRecognitionCallback rCallback, void *pUser)
{
    return setRecognition(psHandle, LT_TEXT_FN_ADD_REMOTE_DG_RECOGNITION, LT_MUTEX_REMOTE_DGPR,
                          &LT_Stream::sDangerousGoods, u32Decompress, rCallback, pUser);
}

void LumatrekCancelConfigCallback(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_CONFIG, &LT_Stream::sConfig);
    clearSlot(psHandle, LT_MUTEX_CONFIG, &LT_Stream::sConfigEx);
}

void LumatrekCancelEventCallback(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_STREAM, &LT_Stream::sEvent);
}

void LumatrekCancelXpegCallback(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_MPEG, &LT_Stream::sXpeg);
}

void LumatrekCancelIoCallback(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_IO, &LT_Stream::sIo);
}

void LumatrekCancelSpeedCallback(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_SPEED_CALLBACK, &LT_Stream::sSpeed);
}

void LumatrekCancelRemoteRecognition(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_REMOTE_ANPR, &LT_Stream::sRecognition);
}

void LumatrekCancelRemoteDGRecognition(LumatrekHandle *psHandle)
{
    clearSlot(psHandle, LT_MUTEX_REMOTE_DGPR, &LT_Stream::sDangerousGoods);
}

void LumatrekReleaseEvent(LumatrekEvent **ppsEvent)
{
    if (!ppsEvent || !*ppsEvent)
        return;
    LumatrekEvent *psEvent = *ppsEvent;
    if (psEvent->u32Type == LUMATREK_EVENT_IMAGE)
        freeImage(&psEvent->uData.sImage);
    else if (psEvent->u32Type == LUMATREK_EVENT_IMAGE_ANSWER)
        freeImage(&psEvent->uData.sAnswer.sImage);
    SA_Free(ppsEvent);
}

void LumatrekReleaseRecognition(LumatrekRecognition **ppsRecord)
{
    if (!ppsRecord || !*ppsRecord)
        return;
    LumatrekRecognition *psRecord = *ppsRecord;
    *ppsRecord = nullptr;
    if (!psRecord->u32LibraryAllocated)
        return;
    freeImage(&psRecord->sImage);
    SA_Free(&psRecord->sContextImage.pu8Jpeg);
    SA_Free(&psRecord);
}

} // extern "C"
