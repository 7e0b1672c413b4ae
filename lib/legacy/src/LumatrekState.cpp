/* The handle's connection state: three sockets and three sensor conditions combined into one
 * state, the ready event kept in step with it, and the callback told of every change. */
#include "Lumatrek_Internal.h"

namespace {

const int32_t kWaitFailed = -7;

uint32_t globalState(LumatrekHandle *psHandle)
{
    const LumatrekConnectionState &sState = psHandle->sState;
    if (!LT_isRunning(psHandle) ||
        (sState.u32TimeSocket == 0 && sState.u32CommandSocket == 0 && sState.u32StreamSocket == 0))
        return LUMATREK_STATE_NOT_CONNECTED;
    if (psHandle->bBusy)
        return LUMATREK_STATE_BUSY;
    if (psHandle->bTooCold)
        return LUMATREK_STATE_TOO_COLD;
    if (psHandle->bRs232Locked)
        return LUMATREK_STATE_RS232_LOCKED;
    const uint32_t u32Socket = psHandle->bCommandOnly ? sState.u32CommandSocket : sState.u32StreamSocket;
    return u32Socket == LT_SOCKET_CONNECTED ? LUMATREK_STATE_READY : LUMATREK_STATE_NOT_CONNECTED;
}

// Under the state mutex: the global state, the event, and the callback when the record
// differs from the one before (or always when bForce).
void publish(LumatrekHandle *psHandle, const LumatrekConnectionState &sBefore, int bForce)
{
    LumatrekConnectionState &sState = psHandle->sState;
    sState.u32Global = globalState(psHandle);
    if (psHandle->hReadyEvent) {
        if (sState.u32Global == LUMATREK_STATE_READY)
            SA_SetEvent(psHandle->hReadyEvent);
        else
            SA_ClearEvent(psHandle->hReadyEvent);
    }
    const int bChanged = sState.u32Global != sBefore.u32Global || sState.u32TimeSocket != sBefore.u32TimeSocket ||
                         sState.u32CommandSocket != sBefore.u32CommandSocket ||
                         sState.u32StreamSocket != sBefore.u32StreamSocket;
    if ((bChanged || bForce) && psHandle->rStateCallback) {
        LumatrekConnectionState sCopy = sState;
        psHandle->rStateCallback(psHandle, &sCopy, psHandle->pStateUser);
    }
}

void setSocket(uint32_t *pu32Socket, uint32_t u32Value)
{
    if (u32Value == 0 || u32Value == LT_SOCKET_CONNECTED)
        *pu32Socket = u32Value;
}

} // namespace

extern "C" {

void SetConnectionState(LumatrekHandle *psHandle, uint32_t u32Which, uint32_t u32Value)
{
    if (!psHandle)
        return;
    LT_lock(psHandle, LT_MUTEX_STATE);
    const LumatrekConnectionState sBefore = psHandle->sState;
    switch (u32Which) {
    case LT_SOCKET_TIME: setSocket(&psHandle->sState.u32TimeSocket, u32Value); break;
    case LT_SOCKET_STREAM: setSocket(&psHandle->sState.u32StreamSocket, u32Value); break;
    case LT_SOCKET_COMMAND: setSocket(&psHandle->sState.u32CommandSocket, u32Value); break;
    case LT_CONDITION_RS232_LOCKED: psHandle->bRs232Locked = u32Value == LUMATREK_STATE_RS232_LOCKED; break;
    case LT_CONDITION_TOO_COLD: psHandle->bTooCold = u32Value == LUMATREK_STATE_TOO_COLD; break;
    case LT_CONDITION_BUSY: psHandle->bBusy = u32Value == LUMATREK_STATE_BUSY; break;
    default: break;
    }
    publish(psHandle, sBefore, 0);
    LT_unlock(psHandle, LT_MUTEX_STATE);
}

void LT_resetConnectionState(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_STATE);
    const LumatrekConnectionState sBefore = psHandle->sState;
    psHandle->sState = LumatrekConnectionState{};
    psHandle->bBusy = 0;
    psHandle->bTooCold = 0;
    psHandle->bRs232Locked = 0;
    publish(psHandle, sBefore, 1);
    LT_unlock(psHandle, LT_MUTEX_STATE);
}

void LumatrekGetState(LumatrekHandle *psHandle, LumatrekConnectionState *psState)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_STATE), 1);
    if (!psState || !CheckHandle(psHandle, &sError))
        return;
    LT_lock(psHandle, LT_MUTEX_STATE);
    *psState = psHandle->sState;
    LT_unlock(psHandle, LT_MUTEX_STATE);
}

int32_t WaitReady(LumatrekHandle *psHandle, uint32_t u32TimeoutMs)
{
    if (!psHandle)
        return LUMATREK_ERROR_INVALID_ARGUMENT;
    switch (SA_WaitEventTimeout(psHandle->hReadyEvent, u32TimeoutMs)) {
    case SA_OK: return 0;
    case SA_TIMEOUT: return LUMATREK_ERROR_TIMEOUT;
    default: return kWaitFailed;
    }
}

} // extern "C"
