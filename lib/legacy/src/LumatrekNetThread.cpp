/* The stream's two socket threads: the network thread (connect, keep alive, read packets,
 * reconnect) and the stream-command thread that writes the stream commands. */
#include "Lumatrek_Internal.h"

#include <string.h>

namespace {

const int32_t kAborted = -3;

LT_Stream *streamOf(LumatrekHandle *psHandle)
{
    return psHandle->psStream;
}

int32_t NetCancelCallback(SA_Socket, void *pHandle)
{
    LumatrekHandle *psHandle = static_cast<LumatrekHandle *>(pHandle);
    if (LT_isRunning(psHandle) && !SA_AtomicLoad(&psHandle->bAddressChanged))
        return 0;
    SA_AtomicStore(&streamOf(psHandle)->bAborted, 1);
    return kAborted;
}

void beginConnection(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    psHandle->au32Received[0] = 0;
    psHandle->au32Received[1] = 0;
    streamOf(psHandle)->bStatusSeen = 0;
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    SetConnectionState(psHandle, LT_SOCKET_STREAM, 0);
}

// The host and port to try now; 0 when there is nothing to try yet.
uint32_t streamTarget(LumatrekHandle *psHandle, char **ppszHost)
{
    LT_lock(psHandle, LT_MUTEX_PORT);
    uint32_t u32Port = psHandle->u32StreamPortOverride ? psHandle->u32StreamPortOverride : psHandle->u32StreamPort;
    if (u32Port == 0)
        u32Port = LT_DEFAULT_STREAM_PORT;
    psHandle->u32StreamPortInUse = u32Port;
    if (!*ppszHost || SA_AtomicLoad(&psHandle->bAddressChanged)) {
        SA_Free(ppszHost);
        *ppszHost = SU_Strdup(psHandle->pszHost ? psHandle->pszHost : "");
    }
    LT_unlock(psHandle, LT_MUTEX_PORT);
    if (!*ppszHost)
        return 0;
    if (psHandle->bHasTime) {
        LT_lock(psHandle, LT_MUTEX_STATE);
        const int bTimeUp = psHandle->sState.u32TimeSocket == LT_SOCKET_CONNECTED;
        LT_unlock(psHandle, LT_MUTEX_STATE);
        if (!bTimeUp)
            return 0;
    }
    return u32Port <= UINT16_MAX ? u32Port : 0;
}

SA_Socket connectStream(LumatrekHandle *psHandle, char **ppszHost)
{
    const LT_Timing *psTiming = LT_timing();
    while (LT_isRunning(psHandle)) {
        const uint32_t u32Port = streamTarget(psHandle, ppszHost);
        if (!*ppszHost) {
            ReportError(psHandle, LT_text(LT_TEXT_THREAD_NET), 1, LUMATREK_ERROR_NO_MEMORY,
                        LT_text(LT_TEXT_NO_MEMORY), 1);
            return nullptr;
        }
        if (u32Port == 0) {
            LT_pause(psHandle, psTiming->u32ReconnectPauseMs);
            continue;
        }
        SA_AtomicStore(&streamOf(psHandle)->bAborted, 0);
        SA_Socket psSocket = nullptr;
        const uint32_t u32Receive = LT_STREAM_RECEIVE_BUFFER;
        if (SA_ConnectSocketTCPTimeout(*ppszHost, uint16_t(u32Port), &psSocket, nullptr, &u32Receive,
                                       psTiming->u32ConnectTimeoutMs) == SA_OK &&
            psSocket) {
            SA_AtomicStore(&psHandle->bAddressChanged, 0);
            SA_SetCancelCallbackSocket(psSocket, &NetCancelCallback, psHandle);
            if (SA_SetLingerSocket(psSocket, 1, LT_STREAM_LINGER_S) != 0)
                ReportError(psHandle, LT_text(LT_TEXT_THREAD_NET), 1, -102, LT_text(LT_TEXT_LINGER), 0);
            return psSocket;
        }
        SA_CloseSocket(&psSocket);
        LT_pause(psHandle, psTiming->u32ReconnectPauseMs);
    }
    return nullptr;
}

// A header kept across polls: 1 complete, 0 not yet, -1 the connection is lost.
int readHeader(LT_Stream *psStream, SA_Socket psSocket, LumatrekMessageHeader *psHeader)
{
    uint32_t u32Count = 0;
    const int iWait = SA_WaitForDataOnSocket(psSocket, &u32Count, LT_timing()->u32ReadSliceMs);
    if (iWait == 1)
        return 0;
    if (iWait != 0 || u32Count == 0)
        return -1;
    uint32_t u32Want = LT_HEADER_SIZE - psStream->u32HeaderFill;
    if (u32Want > u32Count)
        u32Want = u32Count;
    if (SA_ReadSocketLength(psSocket, psStream->au8Header + psStream->u32HeaderFill, u32Want,
                            LT_timing()->u32TransferTimeoutMs) != SA_OK)
        return -1;
    psStream->u32HeaderFill += u32Want;
    if (psStream->u32HeaderFill < LT_HEADER_SIZE)
        return 0;
    psStream->u32HeaderFill = 0;
    LT_decodeHeader(psStream->au8Header, psHeader);
    return 1;
}

int keepAlive(LumatrekHandle *psHandle, LT_Link *psLink)
{
    LT_Stream *psStream = streamOf(psHandle);
    const uint32_t u32Now = SA_GetTickMs();
    if (psStream->bKeepAliveSent &&
        SA_ElapsedTime(psStream->u32LastKeepAlive, u32Now) <= LT_timing()->u32StreamKeepAliveMs)
        return 1;
    psStream->bKeepAliveSent = 1;
    psStream->u32LastKeepAlive = u32Now;
    return SendStreamSocketRequest(psHandle, psLink, LT_CODE_KEEP_ALIVE, 0, nullptr);
}

// Reads packets until the connection ends; the stream socket mutex is held on entry and exit.
void readLoop(LumatrekHandle *psHandle, SA_Socket psSocket)
{
    LT_Stream *psStream = streamOf(psHandle);
    LT_Link sLink = {psSocket, nullptr, 0, 0};
    int bGoing = 1;
    while (bGoing && LT_isRunning(psHandle)) {
        LT_unlock(psHandle, LT_MUTEX_STREAM_SOCKET);
        LumatrekMessageHeader sHeader;
        const int iHeader = readHeader(psStream, psSocket, &sHeader);
        LT_lock(psHandle, LT_MUTEX_STREAM_SOCKET);
        if (iHeader < 0 || (NetCancelCallback(psSocket, psHandle) != 0 && LT_isRunning(psHandle)))
            break;
        if (iHeader > 0)
            bGoing = ReceivePacket(psHandle, &sLink, &sHeader);
        if (bGoing)
            bGoing = keepAlive(psHandle, &sLink);
    }
}

// Says goodbye when the address changed under the connection, then closes it outside the lock.
void endConnection(LumatrekHandle *psHandle, SA_Socket psSocket)
{
    LT_Stream *psStream = streamOf(psHandle);
    if (SA_AtomicLoad(&psStream->bAborted)) {
        SA_SetCancelCallbackSocket(psSocket, nullptr, nullptr);
        LT_Link sLink = {psSocket, nullptr, 0, 0};
        SendStreamSocketRequest(psHandle, &sLink, LT_STREAM_GOODBYE, 0, nullptr);
        SA_AtomicStore(&psStream->bAborted, 0);
    }
    psStream->psSocket = nullptr;
    psStream->u32HeaderFill = 0;
    LT_unlock(psHandle, LT_MUTEX_STREAM_SOCKET);
    SA_CloseSocket(&psSocket);
    LT_lock(psHandle, LT_MUTEX_STREAM_SOCKET);
}

int holdPause(LumatrekHandle *psHandle, SA_Socket psSocket)
{
    if (psHandle->u32RunState != 0)
        return 1;
    LT_Link sLink = {psSocket, nullptr, 0, 0};
    uint8_t au8Value[4] = {0, 0, 0, 0};
    return SendStreamSocketRequest(psHandle, &sLink, LT_STREAM_RUN_STATE, sizeof(au8Value), au8Value);
}

int32_t runWord(const LumatrekCommandRequest *psRequest, uint32_t u32Index)
{
    return int32_t(LT_getU32(static_cast<const uint8_t *>(psRequest->pPayload), u32Index * 4));
}

int fillRunState(LumatrekEvent *psEvent, const void *pContext)
{
    psEvent->uData.u32RunState = *static_cast<const uint32_t *>(pContext);
    return 1;
}

int32_t serveRunState(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Value)
{
    if (!psLink) {
        LT_deliverEvent(psHandle, LUMATREK_EVENT_RUN_STATE, &fillRunState, &u32Value);
        psHandle->u32RunState = u32Value;
        return LT_STATUS_ACK;
    }
    if (u32Value == psHandle->u32RunState)
        return LT_STATUS_ACK;
    psHandle->u32RunState = u32Value;
    uint8_t au8Value[4];
    LT_putU32(au8Value, 0, u32Value);
    return SendStreamSocketRequest(psHandle, psLink, LT_STREAM_RUN_STATE, 4, au8Value) ? LT_STATUS_ACK
                                                                                        : LT_STATUS_DISCONNECTED;
}

int32_t serveImage(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekCommandRequest *psRequest)
{
    if (!psLink)
        return LT_STATUS_DISCONNECTED;
    const uint32_t u32Local = uint32_t(runWord(psRequest, 1));
    uint8_t au8Payload[16] = {};
    LT_putU32(au8Payload, 0, uint32_t(runWord(psRequest, 0)));
    LT_putU32(au8Payload, 4, u32Local ? LocalTimeToSensor(psHandle, u32Local) : 0);
    return SendStreamSocketRequest(psHandle, psLink, LT_FOURCC('G', 'E', 'X', 'I'), sizeof(au8Payload), au8Payload)
               ? LT_STATUS_ACK
               : LT_STATUS_DISCONNECTED;
}

int32_t serveLogRequest(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekCommandRequest *psRequest)
{
    if (!psLink)
        return LT_STATUS_DISCONNECTED;
    uint8_t au8Number[4];
    LT_putU32(au8Number, 0, uint32_t(runWord(psRequest, 0)));
    const uint32_t u32Code = runWord(psRequest, 1) != 0 ? LT_STREAM_LOG_PUSHED : LT_STREAM_LOG_REQUEST;
    return SendStreamSocketRequest(psHandle, psLink, u32Code, sizeof(au8Number), au8Number) ? LT_STATUS_ACK
                                                                                            : LT_STATUS_DISCONNECTED;
}

uint32_t expectedInput(uint32_t u32Command)
{
    switch (u32Command) {
    case LT_STREAM_CMD_LOG_INFO:
    case LT_STREAM_CMD_IMAGE: return 8;
    case LT_STREAM_CMD_STATE: return 4;
    default: return 0;
    }
}

} // namespace

extern "C" {

void LT_serveStreamCommand(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const uint32_t u32Command = psRequest->u32Command;
    if (u32Command == LT_CMD_STREAM_KGV) {
        psRequest->i32Status = psLink && SendStreamSocketRequest(psHandle, psLink, psRequest->u32Argument,
                                                                 psRequest->u32PayloadSize, psRequest->pPayload)
                                   ? LT_STATUS_ACK
                                   : LT_STATUS_DISCONNECTED;
        return;
    }
    const uint32_t u32Expected = expectedInput(u32Command);
    if (u32Expected == 0) {
        psRequest->i32Status = LT_STATUS_NOTSUPPORTED;
        return;
    }
    if (!psRequest->pPayload || psRequest->u32PayloadSize != u32Expected) {
        psRequest->i32Status = LT_STATUS_INVALIDARGUMENT;
        return;
    }
    if (u32Command == LT_STREAM_CMD_LOG_INFO)
        psRequest->i32Status = serveLogRequest(psHandle, psLink, psRequest);
    else if (u32Command == LT_STREAM_CMD_IMAGE)
        psRequest->i32Status = serveImage(psHandle, psLink, psRequest);
    else
        psRequest->i32Status = serveRunState(psHandle, psLink, uint32_t(runWord(psRequest, 0)));
}

void NetThread(LumatrekHandle *psHandle)
{
    LT_Stream *psStream = streamOf(psHandle);
    char *pszHost = nullptr;
    LT_lock(psHandle, LT_MUTEX_STREAM_SOCKET);
    while (LT_isRunning(psHandle)) {
        LT_unlock(psHandle, LT_MUTEX_STREAM_SOCKET);
        // Outside the stream lock: a configuration callback may be waiting on a stream command.
        beginConnection(psHandle);
        SA_Socket psSocket = connectStream(psHandle, &pszHost);
        LT_lock(psHandle, LT_MUTEX_STREAM_SOCKET);
        if (!psSocket)
            break;
        psStream->psSocket = psSocket;
        psStream->u32HeaderFill = 0;
        psStream->u32Connections++;
        SetConnectionState(psHandle, LT_SOCKET_STREAM, LT_SOCKET_CONNECTED);
        if (holdPause(psHandle, psSocket))
            readLoop(psHandle, psSocket);
        endConnection(psHandle, psSocket);
        SetConnectionState(psHandle, LT_SOCKET_STREAM, 0);
    }
    SetConnectionState(psHandle, LT_SOCKET_STREAM, 0);
    LT_unlock(psHandle, LT_MUTEX_STREAM_SOCKET);
    SA_Free(&pszHost);
}

void NetCmdThread(LumatrekHandle *psHandle)
{
    LT_Stream *psStream = streamOf(psHandle);
    while (LT_isRunning(psHandle)) {
        SA_WaitQueueItem hItem = nullptr;
        LumatrekCommandRequest *psRequest = static_cast<LumatrekCommandRequest *>(
            SA_WaitQueue(psHandle->psStreamCommandQueue, LT_timing()->u32ReadSliceMs, &hItem));
        if (!psRequest || !hItem)
            continue;
        psRequest->au32Timing[1] = SA_GetTickMs();
        LT_lock(psHandle, LT_MUTEX_STREAM_SOCKET);
        psRequest->au32Timing[2] = SA_GetTickMs();
        LT_lock(psHandle, LT_MUTEX_STATE);
        const int bConnected = psHandle->sState.u32StreamSocket == LT_SOCKET_CONNECTED && psStream->psSocket;
        LT_unlock(psHandle, LT_MUTEX_STATE);
        psRequest->au32Timing[3] = SA_GetTickMs();
        psRequest->i32Status = LT_STATUS_NOTSUPPORTED;
        LT_Link sLink = {psStream->psSocket, nullptr, 0, 0};
        LT_serveStreamCommand(psHandle, bConnected ? &sLink : nullptr, psRequest);
        LT_unlock(psHandle, LT_MUTEX_STREAM_SOCKET);
        psRequest->au32Timing[4] = SA_GetTickMs();
        SA_ReplyWaitQueue(hItem);
    }
}

} // extern "C"
