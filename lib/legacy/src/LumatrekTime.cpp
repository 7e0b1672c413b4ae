/* The time connection of a handle with a time socket: its thread asks the sensor's clock every
 * few seconds and keeps a reference from which sensor and local ticks convert each way, and it
 * serves the time command queue, whose one command reboots the sensor. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

const uint32_t kTimeReplyLength = 4;
const uint32_t kLargeStep = 10;
const uint32_t kLargeDistance = 10;

int64_t signedDistance(uint32_t u32Value, uint32_t u32Average)
{
    const int64_t i64Difference = int32_t(u32Value - u32Average);
    return i64Difference < 0 ? -i64Difference : i64Difference;
}

// The header of the time reply in slices, keeping the bytes of a slice that ran out before
// the whole header came, so that a slow reply never shifts the framing.
int readTimeHeader(LumatrekHandle *psHandle, SA_Socket psSocket, uint8_t au8Header[LT_HEADER_SIZE])
{
    const LT_Timing *psTiming = LT_timing();
    uint32_t u32Have = 0;
    uint32_t u32Slices = 0;
    while (u32Have < LT_HEADER_SIZE) {
        if (!LT_isRunning(psHandle))
            return 0;
        uint32_t u32Ready = 0;
        const int iWait = SA_WaitForDataOnSocket(psSocket, &u32Ready, psTiming->u32ReadSliceMs);
        if (iWait == SA_TIMEOUT) {
            if (++u32Slices >= psTiming->u32TimeReplySlices)
                return 0;
            continue;
        }
        if (iWait != SA_OK || u32Ready == 0)
            return 0;
        const uint32_t u32Want = LT_HEADER_SIZE - u32Have;
        const uint32_t u32Read = u32Ready < u32Want ? u32Ready : u32Want;
        if (SA_ReadSocketLength(psSocket, au8Header + u32Have, u32Read, psTiming->u32TransferTimeoutMs) != SA_OK)
            return 0;
        u32Have += u32Read;
    }
    return 1;
}

void setReference(LumatrekHandle *psHandle, const LT_TimeSample &sSample, uint32_t u32RoundTrip)
{
    LT_lock(psHandle, LT_MUTEX_TIME_SYNC);
    psHandle->u32ReferenceSendTick = sSample.u32SendTick;
    psHandle->u32ReferenceSensorTime = sSample.u32SensorTime;
    psHandle->u32ReferenceRoundTrip = u32RoundTrip;
    LT_unlock(psHandle, LT_MUTEX_TIME_SYNC);
}

uint32_t storedRoundTrip(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_TIME_SYNC);
    const uint32_t u32RoundTrip = psHandle->u32ReferenceRoundTrip;
    LT_unlock(psHandle, LT_MUTEX_TIME_SYNC);
    return u32RoundTrip;
}

// The samples of one connection and what they make of the reference.
struct SampleState {
    int bFirst;
    uint32_t u32Pending;
    LT_TimeSample asPending[LT_TIME_SAMPLES];
};

void takeSample(LumatrekHandle *psHandle, SampleState *psState, const LT_TimeSample &sSample)
{
    if (psState->bFirst) {
        psState->bFirst = 0;
        setReference(psHandle, sSample, sSample.u32RoundTrip);
        SA_AtomicStore(&psHandle->bClockValid, 1);
        SetConnectionState(psHandle, LT_SOCKET_TIME, LT_SOCKET_CONNECTED);
        return;
    }
    const uint32_t u32Stored = storedRoundTrip(psHandle);
    if (u32Stored == 0 && sSample.u32RoundTrip == 0) {
        setReference(psHandle, sSample, 0);
        psState->u32Pending = 0;
        return;
    }
    psState->asPending[psState->u32Pending++] = sSample;
    uint32_t u32Target = 0;
    LT_TimeSample sCandidate = sSample;
    if (sSample.u32RoundTrip != 0) {
        if (psState->u32Pending < LT_TIME_SAMPLES)
            return;
        uint32_t u32Index = 0;
        SelectTimeSample(psState->asPending, &u32Target, &u32Index);
        sCandidate = psState->asPending[u32Index];
    }
    setReference(psHandle, sCandidate, LT_stepRoundTrip(u32Stored, u32Target));
    psState->u32Pending = 0;
}

// The host and port of the time connection, copied again after an address change.
int copyAddress(LumatrekHandle *psHandle, char **ppszHost, uint32_t *pu32Port)
{
    LT_lock(psHandle, LT_MUTEX_PORT);
    if (!*ppszHost || SA_AtomicLoad(&psHandle->bAddressChanged)) {
        SA_Free(ppszHost);
        *ppszHost = SU_Strdup(psHandle->pszHost ? psHandle->pszHost : "");
        *pu32Port = psHandle->u32TimePort;
    }
    LT_unlock(psHandle, LT_MUTEX_PORT);
    return *ppszHost != nullptr;
}

SA_Socket connectTime(LumatrekHandle *psHandle, const char *pcszHost, uint32_t u32Port)
{
    const LT_Timing *psTiming = LT_timing();
    while (LT_isRunning(psHandle)) {
        SA_Socket psSocket = nullptr;
        if (u32Port != 0 && u32Port <= UINT16_MAX &&
            SA_ConnectSocketTCPTimeout(pcszHost, uint16_t(u32Port), &psSocket, nullptr, nullptr,
                                       psTiming->u32ConnectTimeoutMs) == SA_OK)
            return psSocket;
        ProcessTimeCommands(psHandle, nullptr);
        LT_pause(psHandle, psTiming->u32ReconnectPauseMs);
    }
    return nullptr;
}

// Samples on one connection until it fails or the handle stops.
void exchangeLoop(LumatrekHandle *psHandle, SA_Socket psSocket)
{
    const LT_Timing *psTiming = LT_timing();
    SampleState sState = {1, 0, {}};
    while (LT_isRunning(psHandle)) {
        if (!ProcessTimeCommands(psHandle, psSocket))
            return;
        LT_TimeSample sSample;
        if (!QueryTime(psHandle, psSocket, &sSample.u32SendTick, &sSample.u32SensorTime, &sSample.u32RoundTrip))
            return;
        takeSample(psHandle, &sState, sSample);
        for (uint32_t i = 0; i < psTiming->u32TimeSamplePauses; i++) {
            if (!LT_isRunning(psHandle) || !ProcessTimeCommands(psHandle, psSocket))
                return;
            SA_Sleep(psTiming->u32PauseStepMs);
        }
    }
}

int timeSocketReady(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_STATE);
    const int bReady = psHandle->sState.u32TimeSocket == LT_SOCKET_CONNECTED;
    LT_unlock(psHandle, LT_MUTEX_STATE);
    return bReady;
}

// One time command; the connection's result of a reboot, else 1.
int runTimeCommand(LumatrekHandle *psHandle, SA_Socket psSocket, LumatrekCommandRequest *psRequest)
{
    if (!psSocket || !timeSocketReady(psHandle)) {
        psRequest->i32Status = LT_STATUS_DISCONNECTED;
        return 1;
    }
    psRequest->i32Status = LT_STATUS_NOTSUPPORTED;
    if (psRequest->u32Command != LT_TIME_CMD_REBOOT)
        return 1;
    if (psRequest->u32PayloadSize != 0 || psRequest->pPayload || psRequest->u32ReplySize != 0 || psRequest->pReply) {
        psRequest->i32Status = LT_STATUS_INVALIDARGUMENT;
        return 1;
    }
    LT_Link sLink = {psSocket, nullptr, 0, 0};
    const int bConnected = ExchangeCommand(psHandle, &sLink, LT_REPLY_REBOOTING, nullptr, 0,
                                           LT_timing()->u32TransferTimeoutMs, &psRequest->i32Status);
    LT_log(psHandle, LT_text(LT_TEXT_FN_PROCESS_TIME_COMMANDS), "CMD_REBOOT on time socket (result %s, bConnected %d)\n",
           LT_statusName(psRequest->i32Status), bConnected);
    return bConnected;
}

} // namespace

extern "C" {

uint32_t SensorTimeToLocal(LumatrekHandle *psHandle, uint32_t u32SensorTime)
{
    LT_lock(psHandle, LT_MUTEX_TIME_SYNC);
    const uint32_t u32Local = u32SensorTime - psHandle->u32ReferenceSensorTime + psHandle->u32ReferenceSendTick +
                              psHandle->u32ReferenceRoundTrip;
    LT_unlock(psHandle, LT_MUTEX_TIME_SYNC);
    return u32Local;
}

uint32_t SensorTimeToLocalMonotonic(LumatrekHandle *psHandle, uint32_t u32SensorTime)
{
    LT_lock(psHandle, LT_MUTEX_TIME_SYNC);
    uint32_t u32Local = u32SensorTime - psHandle->u32ReferenceSensorTime + psHandle->u32ReferenceSendTick +
                        psHandle->u32ReferenceRoundTrip;
    if (psHandle->bMonotonicUsed && SA_DiffTime(psHandle->u32LastMonotonic, u32Local) < 0)
        u32Local = psHandle->u32LastMonotonic;
    psHandle->bMonotonicUsed = 1;
    psHandle->u32LastMonotonic = u32Local;
    LT_unlock(psHandle, LT_MUTEX_TIME_SYNC);
    return u32Local;
}

uint32_t LocalTimeToSensor(LumatrekHandle *psHandle, uint32_t u32LocalTick)
{
    LT_lock(psHandle, LT_MUTEX_TIME_SYNC);
    const uint32_t u32Sensor = u32LocalTick - psHandle->u32ReferenceSendTick + psHandle->u32ReferenceSensorTime +
                               psHandle->u32ReferenceRoundTrip;
    LT_unlock(psHandle, LT_MUTEX_TIME_SYNC);
    return u32Sensor;
}

int QueryTime(LumatrekHandle *psHandle, SA_Socket psSocket, uint32_t *pu32SendTick, uint32_t *pu32SensorTime,
              uint32_t *pu32RoundTrip)
{
    LT_Link sLink = {psSocket, nullptr, 0, 0};
    const uint32_t u32SendTick = SA_GetTickMs();
    if (!SendHeader(&sLink, LT_CODE_TIME, LT_timing()->u32TransferTimeoutMs))
        return 0;
    uint8_t au8Header[LT_HEADER_SIZE];
    if (!readTimeHeader(psHandle, psSocket, au8Header))
        return 0;
    const uint32_t u32ReceiveTick = SA_GetTickMs();
    LumatrekMessageHeader sHeader;
    LT_decodeHeader(au8Header, &sHeader);
    uint8_t au8Time[kTimeReplyLength];
    if (sHeader.u32Length != kTimeReplyLength || sHeader.u32Code != LT_CODE_TIME ||
        LT_linkRead(&sLink, au8Time, sizeof(au8Time), LT_timing()->u32TransferTimeoutMs) != SA_OK)
        return 0;
    *pu32SendTick = u32SendTick;
    *pu32SensorTime = LT_getU32(au8Time, 0);
    *pu32RoundTrip = u32ReceiveTick - u32SendTick;
    return 1;
}

void SelectTimeSample(const LT_TimeSample asSamples[LT_TIME_SAMPLES], uint32_t *pu32Average, uint32_t *pu32Index)
{
    uint32_t u32Lowest = 0, u32Highest = 0;
    if (asSamples[0].u32RoundTrip > asSamples[1].u32RoundTrip)
        u32Lowest = 1;
    else if (asSamples[0].u32RoundTrip < asSamples[1].u32RoundTrip)
        u32Highest = 1;
    for (uint32_t i = 2; i < LT_TIME_SAMPLES; i++) {
        if (asSamples[i].u32RoundTrip < asSamples[u32Lowest].u32RoundTrip)
            u32Lowest = i;
        else if (asSamples[i].u32RoundTrip > asSamples[u32Highest].u32RoundTrip)
            u32Highest = i;
    }
    uint32_t u32Sum = 0;
    for (uint32_t i = 0; i < LT_TIME_SAMPLES; i++) {
        if (i != u32Lowest && i != u32Highest)
            u32Sum += asSamples[i].u32RoundTrip;
    }
    const uint32_t u32Average = u32Sum / (u32Lowest == u32Highest ? 4u : 3u);
    uint32_t u32Chosen = LT_TIME_SAMPLES;
    for (uint32_t i = 0; i < LT_TIME_SAMPLES; i++) {
        if (i == u32Lowest || i == u32Highest)
            continue;
        if (u32Chosen == LT_TIME_SAMPLES || signedDistance(asSamples[i].u32RoundTrip, u32Average) <
                                                 signedDistance(asSamples[u32Chosen].u32RoundTrip, u32Average))
            u32Chosen = i;
    }
    *pu32Average = u32Average;
    *pu32Index = u32Chosen;
}

uint32_t LT_stepRoundTrip(uint32_t u32Stored, uint32_t u32Target)
{
    if (u32Stored == u32Target)
        return u32Stored;
    const uint32_t u32Distance = u32Stored > u32Target ? u32Stored - u32Target : u32Target - u32Stored;
    const uint32_t u32Step = u32Distance > kLargeDistance ? kLargeStep : 1;
    return u32Stored > u32Target ? u32Stored - u32Step : u32Stored + u32Step;
}

int ProcessTimeCommands(LumatrekHandle *psHandle, SA_Socket psSocket)
{
    if (!psHandle->psTimeCommandQueue)
        return 1;
    int iResult = 1;
    for (;;) {
        SA_WaitQueueItem hItem = nullptr;
        auto *psRequest = static_cast<LumatrekCommandRequest *>(SA_WaitQueue(psHandle->psTimeCommandQueue, 0, &hItem));
        if (!psRequest || !hItem)
            return iResult;
        if (runTimeCommand(psHandle, iResult ? psSocket : nullptr, psRequest) == 0)
            iResult = 0;
        SA_ReplyWaitQueue(hItem);
    }
}

int32_t TimeCancelCallback(SA_Socket, void *pHandle)
{
    LumatrekHandle *psHandle = static_cast<LumatrekHandle *>(pHandle);
    return (!LT_isRunning(psHandle) || SA_AtomicLoad(&psHandle->bTimeReconnect)) ? -1 : 0;
}

void TimeThread(LumatrekHandle *psHandle)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_THREAD_TIME), 0);
    char *pszHost = nullptr;
    uint32_t u32Port = 0;
    while (LT_isRunning(psHandle)) {
        SA_AtomicStore(&psHandle->bClockValid, 0);
        if (!copyAddress(psHandle, &pszHost, &u32Port)) {
            LT_setError(&sError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY, 1);
            break;
        }
        SetConnectionState(psHandle, LT_SOCKET_TIME, 0);
        SA_Socket psSocket = connectTime(psHandle, pszHost, u32Port);
        if (!psSocket)
            break;
        SA_AtomicStore(&psHandle->bTimeReconnect, 0);
        SA_SetCancelCallbackSocket(psSocket, &TimeCancelCallback, psHandle);
        exchangeLoop(psHandle, psSocket);
        SA_CloseSocket(&psSocket);
    }
    SA_AtomicStore(&psHandle->bClockValid, 0);
    SetConnectionState(psHandle, LT_SOCKET_TIME, 0);
    if (sError.i32Code != 0)
        LumatrekError(psHandle, &sError);
    SA_Free(&pszHost);
}

int32_t RebootOnTimeSocket(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    if (psHandle && !psHandle->psTimeCommandQueue) {
        LT_setError(psError, -219, LT_TEXT_TIME_DISCONNECTED, 0);
        return LT_STATUS_DISCONNECTED;
    }
    return SendTimeCommand(psHandle, psError, LT_TIME_CMD_REBOOT, 0, nullptr, 0, nullptr);
}

} // extern "C"
