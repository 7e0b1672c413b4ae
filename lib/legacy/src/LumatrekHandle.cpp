/* The handle: creation from a connection text, its threads' start and end, and destruction,
 * which frees the handle only once no thread of it still runs. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

const uint32_t kMaxPort = 65535;

// Mutex creation failures, in the mutexes' order.
const LT_TextId kMutexTexts[LT_MUTEX_COUNT] = {
    LT_TEXT_MUTEX_ERROR,         LT_TEXT_MUTEX_STATE,         LT_TEXT_MUTEX_TIME_SYNC,
    LT_TEXT_MUTEX_STREAM,        LT_TEXT_MUTEX_STREAM_SOCKET, LT_TEXT_MUTEX_NET_CALLBACK,
    LT_TEXT_MUTEX_TIME_CALLBACK, LT_TEXT_MUTEX_DISPLAY,       LT_TEXT_MUTEX_MM_RECOGNITION,
    LT_TEXT_MUTEX_MPEG,          LT_TEXT_MUTEX_REMOTE_ANPR,   LT_TEXT_MUTEX_REMOTE_DGPR,
    LT_TEXT_MUTEX_PORT,          LT_TEXT_MUTEX_FILE_WRITER,   LT_TEXT_MUTEX_DROP,
    LT_TEXT_MUTEX_IO,            LT_TEXT_MUTEX_CAMERA_CONFIG, LT_TEXT_MUTEX_FIRMWARE_DEBUG,
    LT_TEXT_MUTEX_STREAM_INFO,   LT_TEXT_MUTEX_SPEED_CALLBACK,
};

int isSpace(char cValue)
{
    return cValue == ' ' || cValue == '\t' || cValue == '\r' || cValue == '\n';
}

// A decimal port: 0 when empty, not a number, or beyond the port range (so that a typing
// slip never connects to some other port).
uint32_t parsePort(const char **ppcszCursor)
{
    const char *pcszCursor = *ppcszCursor;
    while (isSpace(*pcszCursor))
        pcszCursor++;
    uint32_t u32Value = 0;
    int bTooLarge = 0;
    while (*pcszCursor >= '0' && *pcszCursor <= '9') {
        u32Value = u32Value * 10 + static_cast<uint32_t>(*pcszCursor - '0');
        bTooLarge |= u32Value > kMaxPort;
        if (bTooLarge)
            u32Value = kMaxPort + 1;
        pcszCursor++;
    }
    while (*pcszCursor && *pcszCursor != ',')
        pcszCursor++;
    if (*pcszCursor == ',')
        pcszCursor++;
    *ppcszCursor = pcszCursor;
    return bTooLarge ? 0 : u32Value;
}

void releaseReference(LumatrekHandle *psHandle);

void threadEntry(void *pArgument)
{
    LT_ThreadSlot *psSlot = static_cast<LT_ThreadSlot *>(pArgument);
    LumatrekHandle *psHandle = psSlot->psHandle;
    psSlot->rRoutine(psHandle);
    releaseReference(psHandle);
}

// Everything a creation may have made; no thread of the handle runs any more.
void freeHandle(LumatrekHandle *psHandle)
{
    SA_DestroyWaitQueue(&psHandle->psCommandQueue);
    SA_DestroyWaitQueue(&psHandle->psTimeCommandQueue);
    LT_freeStream(psHandle);
    SA_DestroyWaitQueue(&psHandle->psStreamCommandQueue);
    SA_Free(&psHandle->pszHost);
    SA_Free(&psHandle->psDiscover);
    for (LT_DataBlock &sBlock : psHandle->asData)
        SA_Free(&sBlock.pu8Data);
    for (SA_Mutex &hMutex : psHandle->ahMutex) {
        if (hMutex)
            SA_DestroyMutex(&hMutex);
    }
    if (psHandle->hReadyEvent)
        SA_DestroyEvent(&psHandle->hReadyEvent);
    SA_Free(&psHandle);
    LumatrekRelease();
}

void releaseReference(LumatrekHandle *psHandle)
{
    if (__atomic_sub_fetch(&psHandle->i32References, 1, __ATOMIC_ACQ_REL) == 0)
        freeHandle(psHandle);
}

// A thread still running past its limit keeps its reference; from here on its reports and
// state changes reach nobody.
void detachCallbacks(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_ERROR);
    psHandle->rErrorCallback = nullptr;
    psHandle->pErrorUser = nullptr;
    LT_unlock(psHandle, LT_MUTEX_ERROR);
    LT_lock(psHandle, LT_MUTEX_STATE);
    psHandle->rStateCallback = nullptr;
    psHandle->pStateUser = nullptr;
    LT_unlock(psHandle, LT_MUTEX_STATE);
}

// Answers as closing every request still queued, and those of callers already inside a
// hand-off when the running flag was cleared, for at most the limit.
void drainQueues(LumatrekHandle *psHandle, uint32_t u32LimitMs)
{
    const uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        LT_answerWaitingRequests(psHandle->psCommandQueue, LT_STATUS_CLOSING);
        LT_answerWaitingRequests(psHandle->psTimeCommandQueue, LT_STATUS_CLOSING);
        LT_answerWaitingRequests(psHandle->psStreamCommandQueue, LT_STATUS_CLOSING);
        if (__atomic_load_n(&psHandle->i32Submitting, __ATOMIC_SEQ_CST) == 0 ||
            SA_ElapsedTime(u32Start, SA_GetTickMs()) >= u32LimitMs)
            return;
        SA_Sleep(1);
    }
}

int failCreation(LumatrekErrorInfo *psError, int32_t i32Code, LT_TextId eText)
{
    LT_setError(psError, i32Code, eText, 1);
    return 0;
}

int createObjects(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    for (int i = 0; i < LT_MUTEX_COUNT; i++) {
        if (SA_CreateMutex(&psHandle->ahMutex[i]) != SA_OK)
            return failCreation(psError, LUMATREK_ERROR_MUTEX, kMutexTexts[i]);
    }
    if (SA_CreateEventManual(&psHandle->hReadyEvent) != SA_OK)
        return failCreation(psError, LUMATREK_ERROR_EVENT, LT_TEXT_EVENT_STATE);
    SA_ClearEvent(psHandle->hReadyEvent);
    return 1;
}

// Creation steps after the allocation; the record says what failed.
int buildHandle(LumatrekHandle *psHandle, const char *pcszConnection, uint32_t u32Flags,
                LumatrekConnectionStateCallback rState, void *pStateUser, LumatrekErrorCallback rError,
                void *pErrorUser, LumatrekErrorInfo *psError)
{
    if (!createObjects(psHandle, psError))
        return 0;
    psHandle->u32StreamEnabled = 1;
    psHandle->u32StreamMask = LT_STREAM_MASK;
    psHandle->u32RunState = 1;
    psHandle->bHasStream = (u32Flags & LT_CREATE_STREAM) != 0;
    psHandle->bHasTime = (u32Flags & LT_CREATE_TIME) != 0;
    psHandle->bCommandOnly = u32Flags == LT_CREATE_COMMAND;
    if (!pcszConnection)
        return failCreation(psError, LUMATREK_ERROR_INVALID_ARGUMENT, LT_TEXT_INVALID_ARGUMENT);
    if (!ParseAddress(psHandle, pcszConnection))
        return failCreation(psError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY);
    psHandle->u32CommandTimeoutMs = SA_INFINITE;
    psHandle->bTimeSync = 1;
    SA_AtomicStore(&psHandle->i32Running, 1);
    psHandle->rStateCallback = rState;
    psHandle->pStateUser = pStateUser;
    LT_resetConnectionState(psHandle);
    psHandle->rErrorCallback = rError;
    psHandle->pErrorUser = pErrorUser;
    if (SA_CreateWaitQueue(&psHandle->psCommandQueue, LT_COMMAND_QUEUE_SIZE) != SA_OK)
        return failCreation(psError, LUMATREK_ERROR_QUEUE, LT_TEXT_COMMAND_QUEUE);
    if (psHandle->bHasTime) {
        if (SA_CreateWaitQueue(&psHandle->psTimeCommandQueue, LT_TIME_COMMAND_QUEUE_SIZE) != SA_OK)
            return failCreation(psError, LUMATREK_ERROR_QUEUE, LT_TEXT_TIME_COMMAND_QUEUE);
        if (!LT_startThread(psHandle, &psHandle->sTimeThread, &TimeThread, 0, LT_text(LT_TEXT_THREAD_TIME)))
            return failCreation(psError, LUMATREK_ERROR_THREAD, LT_TEXT_TIME_THREAD_CREATE);
    }
    if (!psHandle->bHasStream &&
        !LT_startThread(psHandle, &psHandle->sCommandThread, &CmdThread, 0, LT_text(LT_TEXT_THREAD_COMMAND)))
        return failCreation(psError, LUMATREK_ERROR_THREAD, LT_TEXT_COMMAND_THREAD_CREATE);
    return 1;
}

} // namespace

extern "C" {

int LT_isRunning(LumatrekHandle *psHandle)
{
    return SA_AtomicLoad(&psHandle->i32Running) != 0;
}

int LT_pause(LumatrekHandle *psHandle, uint32_t u32Ms)
{
    const uint32_t u32Step = LT_timing()->u32PauseStepMs ? LT_timing()->u32PauseStepMs : 1;
    while (u32Ms > 0 && LT_isRunning(psHandle)) {
        uint32_t u32Sleep = u32Ms < u32Step ? u32Ms : u32Step;
        SA_Sleep(u32Sleep);
        u32Ms -= u32Sleep;
    }
    return LT_isRunning(psHandle);
}

void LT_lock(LumatrekHandle *psHandle, LT_MutexId eMutex)
{
    if (psHandle->ahMutex[eMutex])
        SA_LockMutex(psHandle->ahMutex[eMutex]);
}

void LT_unlock(LumatrekHandle *psHandle, LT_MutexId eMutex)
{
    if (psHandle->ahMutex[eMutex])
        SA_UnlockMutex(psHandle->ahMutex[eMutex]);
}

int ParseAddress(LumatrekHandle *psHandle, const char *pcszConnection)
{
    while (isSpace(*pcszConnection))
        pcszConnection++;
    const char *pcszColon = strchr(pcszConnection, ':');
    const size_t szHost = pcszColon ? static_cast<size_t>(pcszColon - pcszConnection) : strlen(pcszConnection);
    char *pszHost = static_cast<char *>(SA_Malloc(static_cast<uint32_t>(szHost + 1)));
    if (!pszHost)
        return 0;
    memcpy(pszHost, pcszConnection, szHost);
    pszHost[szHost] = '\0';
    LT_lock(psHandle, LT_MUTEX_PORT);
    SA_Free(&psHandle->pszHost);
    psHandle->pszHost = pszHost;
    psHandle->u32CommandPort = LT_DEFAULT_COMMAND_PORT;
    psHandle->u32TimePort = LT_DEFAULT_TIME_PORT;
    psHandle->u32StreamPort = psHandle->bHasStream ? LT_DEFAULT_STREAM_PORT : 0;
    psHandle->u32StreamPortOverride = 0;
    if (pcszColon) {
        const char *pcszCursor = pcszColon + 1;
        psHandle->u32CommandPort = parsePort(&pcszCursor);
        psHandle->u32StreamPortOverride = parsePort(&pcszCursor);
        psHandle->u32TimePort = parsePort(&pcszCursor);
    }
    LT_unlock(psHandle, LT_MUTEX_PORT);
    return 1;
}

int LT_startThread(LumatrekHandle *psHandle, LT_ThreadSlot *psSlot, void (*rRoutine)(LumatrekHandle *),
                   int32_t i32Priority, const char *pcszName)
{
    psSlot->rRoutine = rRoutine;
    psSlot->psHandle = psHandle;
    LT_retain(psHandle);
    if (SA_CreateThreadExInfo(&psSlot->psThread, &threadEntry, psSlot, 0, i32Priority, __FILE__, __func__,
                              uint32_t(__LINE__), pcszName) == SA_OK)
        return 1;
    psSlot->psThread = nullptr;
    // Not the last reference: the creator still holds its own.
    __atomic_sub_fetch(&psHandle->i32References, 1, __ATOMIC_ACQ_REL);
    return 0;
}

int LT_joinThread(LumatrekHandle *psHandle, LT_ThreadSlot *psSlot, uint32_t u32LimitMs, LT_TextId eLateText,
                  LumatrekErrorInfo *psError)
{
    if (!psSlot->psThread)
        return 1;
    const int bEnded = SA_WaitThreadTimeout(psSlot->psThread, u32LimitMs) == SA_OK;
    if (!bEnded)
        ReportError(psHandle, psError->pcszFunction, psError->i32Type, LUMATREK_ERROR_THREAD_LATE, LT_text(eLateText),
                    1);
    // The runtime lets a record go while its thread runs; the handle itself waits for it.
    SA_ExitThread(&psSlot->psThread);
    return bEnded;
}

LumatrekHandle *LumatrekCreateInternal(const char *pcszConnection, uint32_t u32Flags,
                                       LumatrekConnectionStateCallback rState, void *pStateUser,
                                       LumatrekErrorCallback rError, void *pErrorUser, LumatrekErrorInfo *psError)
{
    const char *pcszFunction = psError->pcszFunction;
    const int bStarted = LumatrekInit(psError);
    psError->pcszFunction = pcszFunction;
    psError->i32Type = 1;
    LumatrekHandle *psHandle = nullptr;
    if (!bStarted) {
        failCreation(psError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY);
    } else {
        psHandle = static_cast<LumatrekHandle *>(SA_Calloc(1, sizeof(LumatrekHandle)));
        if (!psHandle) {
            failCreation(psError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY);
            LumatrekRelease();
        }
    }
    if (psHandle) {
        psHandle->i32References = 1;
        if (buildHandle(psHandle, pcszConnection, u32Flags, rState, pStateUser, rError, pErrorUser, psError)) {
            LT_initError(psError, pcszFunction, 1);
            return psHandle;
        }
    }
    if (rError)
        rError(nullptr, psError, pErrorUser);
    if (psHandle)
        LumatrekDestroyInternal(psHandle);
    return nullptr;
}

LumatrekHandle *LumatrekCreateLightStream(const char *pcszConnection, uint32_t u32StreamOption,
                                          int32_t bWithTimeSocket, LumatrekConnectionStateCallback rState,
                                          void *pStateUser, LumatrekErrorCallback rError, void *pErrorUser)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_CREATE_LIGHT_STREAM), 1);
    const uint32_t u32Flags = LT_CREATE_STREAM | (bWithTimeSocket ? LT_CREATE_TIME : 0);
    LumatrekHandle *psHandle =
        LumatrekCreateInternal(pcszConnection, u32Flags, rState, pStateUser, rError, pErrorUser, &sError);
    if (psHandle && !LumatrekAddStreamInternal(psHandle, u32StreamOption, &sError))
        LumatrekDestroy(&psHandle);
    return psHandle;
}

LumatrekHandle *LumatrekCreateCommand(const char *pcszConnection, LumatrekConnectionStateCallback rState,
                                      void *pStateUser, LumatrekErrorCallback rError, void *pErrorUser)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_CREATE_COMMAND), 1);
    return LumatrekCreateInternal(pcszConnection, LT_CREATE_COMMAND, rState, pStateUser, rError, pErrorUser,
                                  &sError);
}

void LumatrekDestroyInternal(LumatrekHandle *psHandle)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_DESTROY), 1);
    const LT_Timing *psTiming = LT_timing();
    SA_AtomicStore(&psHandle->i32Running, 0);
    if (psHandle->bHasStream)
        LumatrekCancelStreamInternal(psHandle, &sError);
    LT_joinThread(psHandle, &psHandle->sCommandThread, psTiming->u32LongJoinMs, LT_TEXT_COMMAND_THREAD_LATE,
                  &sError);
    LT_joinThread(psHandle, &psHandle->sTimeThread, psTiming->u32LongJoinMs, LT_TEXT_TIME_THREAD_LATE, &sError);
    drainQueues(psHandle, psTiming->u32ShortJoinMs);
    LT_resetConnectionState(psHandle);
    detachCallbacks(psHandle);
    releaseReference(psHandle);
}

void LumatrekDestroy(LumatrekHandle **ppsHandle)
{
    if (!ppsHandle || !*ppsHandle)
        return;
    LumatrekHandle *psHandle = *ppsHandle;
    *ppsHandle = nullptr;
    LumatrekDestroyInternal(psHandle);
}

void LT_retain(LumatrekHandle *psHandle)
{
    __atomic_add_fetch(&psHandle->i32References, 1, __ATOMIC_ACQ_REL);
}

void LT_release(LumatrekHandle *psHandle)
{
    releaseReference(psHandle);
}

int LT_submitRequest(LumatrekHandle *psHandle, SA_WaitQueueData psQueue, LumatrekCommandRequest *psRequest,
                     uint32_t u32TimeoutMs)
{
    LT_retain(psHandle);
    // Counted before the running flag is read, so that a destruction which already cleared
    // the flag sees this caller and answers its request (see drainQueues).
    __atomic_add_fetch(&psHandle->i32Submitting, 1, __ATOMIC_SEQ_CST);
    int iResult = SA_ERROR;
    if (!LT_isRunning(psHandle)) {
        psRequest->i32Status = LT_STATUS_CLOSING;
        iResult = SA_OK;
    } else if (psQueue) {
        iResult = SA_SendWaitQueue(psQueue, psRequest, u32TimeoutMs);
    }
    __atomic_sub_fetch(&psHandle->i32Submitting, 1, __ATOMIC_SEQ_CST);
    LT_release(psHandle);
    return iResult;
}

} // extern "C"
