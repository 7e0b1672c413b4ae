/* The command connection of a command handle: its thread, which connects, reads the sensor at
 * start-up, serves queued commands one at a time and keeps the connection alive; the hand-off
 * of a request from a calling thread; and the statuses turned into errors. */
#include "Lumatrek_Internal.h"

namespace {

struct StatusError {
    int32_t i32Status;
    int32_t i32Code;
    LT_TextId eText;
};

// -2 depends on the connection and is handled apart.
const StatusError kStatusErrors[] = {
    {LT_STATUS_NACK, -205, LT_TEXT_COMMAND_NACKED},
    {LT_STATUS_BUSY, -210, LT_TEXT_COMMAND_BUSY},
    {LT_STATUS_EMPTY, -23, LT_TEXT_EMPTY_LIST},
    {LT_STATUS_FULL, -22, LT_TEXT_FULL},
    {LT_STATUS_NOTSUPPORTED, -215, LT_TEXT_COMMAND_NOT_SUPPORTED},
    {LT_STATUS_INVALIDARGUMENT, -20, LT_TEXT_COMMAND_INVALID_ARGUMENT},
    {LT_STATUS_INVALIDANSWER, -207, LT_TEXT_COMMAND_INVALID_ANSWER},
    {LT_STATUS_RS232LOCKED, -216, LT_TEXT_COMMAND_RS232_LOCKED},
    {LT_STATUS_RS232NOTLOCKED, -217, LT_TEXT_COMMAND_RS232_NOT_LOCKED},
    {LT_STATUS_TIMEOUT, -21, LT_TEXT_TIMEOUT},
    {LT_STATUS_CLOSING, -25, LT_TEXT_CLOSING},
    {LT_STATUS_FLASHCORRUPTED, -230, LT_TEXT_FLASH_CORRUPTED},
    {LT_STATUS_TOOCOLD, -240, LT_TEXT_TOO_COLD},
    {LT_STATUS_FILECORRUPTED, -231, LT_TEXT_FILE_CORRUPTED},
    {LT_STATUS_READONLY, -27, LT_TEXT_READ_ONLY},
};

const int32_t kUnknownCode = -5;
const int32_t kCannotSend = -140;
const int32_t kQueueRefused = -85;

uint32_t loadWord(const uint32_t *pu32Value)
{
    return __atomic_load_n(pu32Value, __ATOMIC_SEQ_CST);
}

// Every condition of the sensor is forgotten when a connection begins.
void beginCycle(LumatrekHandle *psHandle)
{
    SetConnectionState(psHandle, LT_CONDITION_RS232_LOCKED, 0);
    SetConnectionState(psHandle, LT_CONDITION_TOO_COLD, 0);
    SA_AtomicStore(&psHandle->bBusyByReply, 0);
    SetConnectionState(psHandle, LT_CONDITION_BUSY, 0);
    SetConnectionState(psHandle, LT_SOCKET_COMMAND, 0);
}

// One attempt on the host and port the handle names now; the socket or null.
SA_Socket connectOnce(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_PORT);
    psHandle->u32StreamPortInUse = 0;
    char *pszHost = SU_Strdup(psHandle->pszHost ? psHandle->pszHost : "");
    const uint32_t u32Port = psHandle->u32CommandPort;
    LT_unlock(psHandle, LT_MUTEX_PORT);
    SA_Socket psSocket = nullptr;
    if (pszHost && u32Port != 0 && u32Port <= UINT16_MAX &&
        SA_ConnectSocketTCPTimeout(pszHost, uint16_t(u32Port), &psSocket, nullptr, nullptr,
                                   LT_timing()->u32ConnectTimeoutMs) != SA_OK)
        psSocket = nullptr;
    SA_Free(&pszHost);
    return psSocket;
}

// Until connected or stopped: null when stopped.
SA_Socket connectChannel(LumatrekHandle *psHandle, uint32_t *pu32LastConnect)
{
    const LT_Timing *psTiming = LT_timing();
    while (LT_isRunning(psHandle)) {
        if (SA_ElapsedTime(*pu32LastConnect, SA_GetTickMs()) < psTiming->u32CommandRetryGapMs &&
            !LT_pause(psHandle, psTiming->u32CommandRetryGapMs))
            return nullptr;
        SA_Socket psSocket = connectOnce(psHandle);
        if (psSocket) {
            SA_AtomicStore(&psHandle->bCommandReconnect, 0);
            SA_SetCancelCallbackSocket(psSocket, &CmdCancelCallback, psHandle);
            *pu32LastConnect = SA_GetTickMs();
            return psSocket;
        }
        if (!SA_AtomicLoad(&psHandle->bCommandMode))
            LT_answerWaitingRequests(psHandle->psCommandQueue, LT_STATUS_DISCONNECTED);
        LT_pause(psHandle, psTiming->u32ReconnectPauseMs);
    }
    return nullptr;
}

// The start-up reads; a sensor that named no camera is asked its configuration once more.
int startUp(LumatrekHandle *psHandle, LT_Link *psLink)
{
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    int bReady = LumatrekGetInternalStatus(psHandle, psLink);
    const int bNoCamera = psHandle->sConfig.u32CameraWord == 0;
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    if (!bNoCamera)
        return bReady;
    if (!LT_pause(psHandle, LT_timing()->u32CameraRetryMs))
        return 0;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    bReady = LumatrekGetInternalConfig(psHandle, psLink, &psHandle->sConfig);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    return bReady;
}

int isTooCold(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_STATE);
    const int bCold = psHandle->bTooCold;
    LT_unlock(psHandle, LT_MUTEX_STATE);
    return bCold;
}

// While too cold the camera is asked again at every poll; 0 when that fails.
int rereadCamera(LumatrekHandle *psHandle, LT_Link *psLink)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_THREAD_COMMAND), 0);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    const int bRead = LumatrekGetInternalCameraConfig(psHandle, psLink, 1, &sError);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    if (!bRead && sError.i32Code != 0)
        LumatrekError(psHandle, &sError);
    return bRead;
}

// An idle connection gets a header every period; nothing comes back.
int keepAlive(LT_Link *psLink, uint32_t *pu32Since)
{
    const LT_Timing *psTiming = LT_timing();
    if (SA_ElapsedTime(*pu32Since, SA_GetTickMs()) < psTiming->u32CommandKeepAliveMs)
        return 1;
    *pu32Since = SA_GetTickMs();
    return SendHeader(psLink, LT_CODE_KEEP_ALIVE, psTiming->u32TransferTimeoutMs);
}

// Requests one at a time until the connection is lost or the handle stops; the last run's
// result (LT_RUN_END ends the thread).
int serve(LumatrekHandle *psHandle, LT_Link *psLink)
{
    SA_AtomicStore(&psHandle->bChannelConnected, 1);
    uint32_t u32Since = SA_GetTickMs();
    int iUsable = 1;
    while (iUsable == 1 && LT_isRunning(psHandle)) {
        SA_WaitQueueItem hItem = nullptr;
        auto *psRequest = static_cast<LumatrekCommandRequest *>(
            SA_WaitQueue(psHandle->psCommandQueue, LT_timing()->u32ReadSliceMs, &hItem));
        if (isTooCold(psHandle))
            iUsable = rereadCamera(psHandle, psLink);
        if (!psRequest || !hItem) {
            if (iUsable == 1)
                iUsable = keepAlive(psLink, &u32Since);
            continue;
        }
        if (iUsable == 1)
            iUsable = LT_runRequest(psHandle, psLink, psRequest);
        else
            psRequest->i32Status = LT_STATUS_DISCONNECTED;
        SA_ReplyWaitQueue(hItem);
    }
    SA_AtomicStore(&psHandle->bChannelConnected, 0);
    return iUsable;
}

// The queue's answer into the caller's result and record.
int32_t handOff(LumatrekHandle *psHandle, SA_WaitQueueData psQueue, LumatrekCommandRequest *psRequest,
                LumatrekErrorInfo *psError, uint32_t u32Port)
{
    const int iQueued = LT_submitRequest(psHandle, psQueue, psRequest, loadWord(&psHandle->u32CommandTimeoutMs));
    if (iQueued == SA_TIMEOUT) {
        LT_setError(psError, LUMATREK_ERROR_TIMEOUT, LT_TEXT_TIMEOUT, 0);
        return LT_STATUS_FULL;
    }
    if (iQueued != SA_OK) {
        LT_setError(psError, kQueueRefused, LT_TEXT_COMMAND_QUEUE_WRITE, 0);
        return LT_STATUS_FULL;
    }
    if (psError->i32Code != 0)
        return -1;
    if (psRequest->i32Status != LT_STATUS_ACK) {
        CommandStatusToError(psError, psRequest->i32Status, u32Port);
        return psRequest->i32Status;
    }
    return 0;
}

void clearErrorKeepingName(LumatrekErrorInfo *psError)
{
    psError->i32Code = 0;
    psError->pcszText = nullptr;
    psError->i32Critical = 0;
}

// Stamps of a stream command, in ms from its start, for the failure's log line.
uint32_t stamp(const LumatrekCommandRequest *psRequest, size_t szIndex, uint32_t u32Start)
{
    const uint32_t u32Value = psRequest->au32Timing[szIndex];
    return u32Value ? SA_ElapsedTime(u32Start, u32Value) : 0;
}

} // namespace

extern "C" {

int32_t CmdCancelCallback(SA_Socket, void *pHandle)
{
    LumatrekHandle *psHandle = static_cast<LumatrekHandle *>(pHandle);
    return (!LT_isRunning(psHandle) || SA_AtomicLoad(&psHandle->bCommandReconnect)) ? -1 : 0;
}

void LT_requestReconnection(LumatrekHandle *psHandle)
{
    SA_AtomicStore(&psHandle->bCommandReconnect, 1);
    SA_AtomicStore(&psHandle->bAddressChanged, 1);
    SA_AtomicStore(&psHandle->bTimeReconnect, 1);
}

void CmdThread(LumatrekHandle *psHandle)
{
    uint32_t u32LastConnect = SA_GetTickMs();
    while (LT_isRunning(psHandle)) {
        beginCycle(psHandle);
        SA_Socket psSocket = connectChannel(psHandle, &u32LastConnect);
        if (!psSocket)
            break;
        LT_Link sLink = {psSocket, nullptr, 0, 0};
        int iServed = 0;
        if (startUp(psHandle, &sLink)) {
            SetConnectionState(psHandle, LT_SOCKET_COMMAND, LT_SOCKET_CONNECTED);
            iServed = serve(psHandle, &sLink);
        }
        SA_CloseSocket(&psSocket);
        SetConnectionState(psHandle, LT_SOCKET_COMMAND, 0);
        if (iServed == LT_RUN_END)
            break;
        if (LT_isRunning(psHandle)) {
            LT_lock(psHandle, LT_MUTEX_PORT);
            psHandle->u32Reconnections++;
            LT_unlock(psHandle, LT_MUTEX_PORT);
        }
    }
    SetConnectionState(psHandle, LT_SOCKET_COMMAND, 0);
}

void CommandStatusToError(LumatrekErrorInfo *psError, int32_t i32Status, uint32_t u32Port)
{
    if (i32Status == LT_STATUS_DISCONNECTED) {
        if (u32Port == LT_DEFAULT_STREAM_PORT)
            LT_setError(psError, -218, LT_TEXT_STREAM_DISCONNECTED, 0);
        else if (u32Port == LT_DEFAULT_TIME_PORT)
            LT_setError(psError, -219, LT_TEXT_TIME_DISCONNECTED, 0);
        else
            LT_setError(psError, -206, LT_TEXT_COMMAND_DISCONNECTED, 0);
        return;
    }
    for (const StatusError &sEntry : kStatusErrors) {
        if (sEntry.i32Status == i32Status) {
            LT_setError(psError, sEntry.i32Code, sEntry.eText, 0);
            return;
        }
    }
    LT_setError(psError, kUnknownCode, LT_TEXT_UNKNOWN, 0);
}

void LumatrekSetCommandMode(LumatrekHandle *psHandle, uint32_t u32TimeoutMs)
{
    if (!psHandle)
        return;
    __atomic_store_n(&psHandle->u32CommandTimeoutMs, u32TimeoutMs, __ATOMIC_SEQ_CST);
    SA_AtomicStore(&psHandle->bCommandMode, 1);
}

int32_t SubmitCommandRequest(LumatrekHandle *psHandle, LumatrekCommandRequest *psRequest)
{
    LumatrekErrorInfo *psError = psRequest->psError;
    if (!CheckHandle(psHandle, psError))
        return LT_refusedCall(psError);
    if (!LT_hasCommandChannel(psHandle)) {
        LT_setError(psError, kCannotSend, LT_TEXT_CANNOT_SEND, 0);
        return LT_STATUS_DISCONNECTED;
    }
    clearErrorKeepingName(psError);
    return handOff(psHandle, psHandle->psCommandQueue, psRequest, psError, LT_DEFAULT_COMMAND_PORT);
}

int32_t SendCommand(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command, uint32_t u32Argument,
                    uint32_t u32WaitReply, uint32_t u32PayloadSize, const void *pPayload, uint32_t u32ReplySize,
                    void *pReply)
{
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, psError, u32Command, u32Argument, pPayload, u32PayloadSize, pReply, u32ReplySize);
    sRequest.u32WaitReply = u32WaitReply;
    return SubmitCommandRequest(psHandle, &sRequest);
}

int32_t LumatrekSendStreamCommand(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command,
                                  uint32_t u32Argument, uint32_t u32WaitReply, uint32_t u32PayloadSize,
                                  const void *pPayload, uint32_t u32ReplySize, void *pReply)
{
    if (!CheckHandle(psHandle, psError))
        return LT_refusedCall(psError);
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, psError, u32Command, u32Argument, pPayload, u32PayloadSize, pReply, u32ReplySize);
    sRequest.u32WaitReply = u32WaitReply;
    const uint32_t u32Start = SA_GetTickMs();
    sRequest.au32Timing[0] = u32Start;
    clearErrorKeepingName(psError);
    const int32_t i32Result =
        handOff(psHandle, psHandle->psStreamCommandQueue, &sRequest, psError, LT_DEFAULT_STREAM_PORT);
    if (i32Result != 0)
        LT_log(psHandle, LT_text(LT_TEXT_FN_SEND_STREAM_COMMAND),
               "Stream command %d status error %d Process times: start %u ms elapsed WQ %u, LockSocket %u Send %u, "
               "Reply %u End %u (ms)\n",
               int(u32Command), int(i32Result), u32Start, stamp(&sRequest, 1, u32Start),
               stamp(&sRequest, 2, u32Start), stamp(&sRequest, 3, u32Start), stamp(&sRequest, 4, u32Start),
               SA_ElapsedTime(u32Start, SA_GetTickMs()));
    return i32Result;
}

int32_t SendTimeCommand(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command,
                        uint32_t u32PayloadSize, const void *pPayload, uint32_t u32ReplySize, void *pReply)
{
    if (!CheckHandle(psHandle, psError))
        return LT_refusedCall(psError);
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, psError, u32Command, 0, pPayload, u32PayloadSize, pReply, u32ReplySize);
    clearErrorKeepingName(psError);
    return handOff(psHandle, psHandle->psTimeCommandQueue, &sRequest, psError, LT_DEFAULT_TIME_PORT);
}

} // extern "C"
