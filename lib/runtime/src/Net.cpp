/* The network layer's start and release, the socket record, its options, waits and close. */
#include "NetInternal.h"

/* No single wait lasts longer, so cancel callbacks are polled at least once a second. */
static const uint32_t kWaitSliceMs = 1000;

extern "C" {

int SA_InitNet(void)
{
    if (SA_TlsInit() != SA_OK)
        return SA_ERROR;
    return SA_OsNetStart() == 0 ? SA_OK : SA_ERROR;
}

void SA_ReleaseNet(void) { SA_OsNetStop(); }

SA_Socket SA_NewSocketRecord(void)
{
    SA_Socket psSocket = static_cast<SA_Socket>(SA_Calloc(1, sizeof(struct SA_SocketRec)));
    if (psSocket != nullptr)
        psSocket->iSocket = SA_OS_INVALID_SOCKET;
    return psSocket;
}

int SA_KeepOrCloseSocket(int iResult, SA_Socket psSocket, SA_Socket *ppsSocket)
{
    if (iResult == SA_OK)
        *ppsSocket = psSocket;
    else
        SA_CloseSocket(&psSocket);
    return iResult;
}

uint32_t SA_RemainingTime(uint32_t u32StartTick, uint32_t u32TimeoutMs)
{
    if (u32TimeoutMs == SA_INFINITE)
        return SA_INFINITE;
    uint32_t u32Elapsed = SA_ElapsedTime(u32StartTick, SA_GetTickMs());
    return u32Elapsed >= u32TimeoutMs ? 0 : u32TimeoutMs - u32Elapsed;
}

int SA_WaitSlice(SA_Socket psSocket, uint32_t u32StartTick, uint32_t u32TimeoutMs, enum SA_IoWait eWait)
{
    uint32_t u32Remaining = SA_RemainingTime(u32StartTick, u32TimeoutMs);
    if (u32Remaining == 0)
        return SA_TIMEOUT;
    uint32_t u32Slice = u32Remaining < kWaitSliceMs ? u32Remaining : kWaitSliceMs;
    int bRead = eWait != SA_IO_WAIT_WRITE;
    int bWrite = eWait != SA_IO_WAIT_READ;
    int iResult = SA_SelectSocket(psSocket, u32Slice, bRead, bWrite);
    if (iResult == SA_TIMEOUT && u32Remaining <= kWaitSliceMs)
        return SA_TIMEOUT;
    return iResult == SA_ERROR ? SA_ERROR : SA_OK;
}

int SA_SelectSocket(SA_Socket psSocket, uint32_t u32TimeoutMs, int bRead, int bWrite)
{
    SA_ASSERT(psSocket);
    if (psSocket == nullptr)
        return SA_ERROR;
    return SA_OsPoll(psSocket->iSocket, u32TimeoutMs, bRead, bWrite);
}

int SA_GetReadableBytesSocket(SA_Socket psSocket, uint32_t *pu32Count)
{
    SA_ASSERT(psSocket && pu32Count);
    if (psSocket == nullptr || pu32Count == nullptr)
        return SA_ERROR;
    return SA_OsReadableBytes(psSocket->iSocket, pu32Count) == 0 ? SA_OK : SA_ERROR;
}

void SA_SetCancelCallbackSocket(SA_Socket psSocket, SA_SocketCancelCallback rCallback, void *pArgument)
{
    SA_ASSERT(psSocket);
    if (psSocket == nullptr)
        return;
    psSocket->rCancel = rCallback;
    psSocket->pCancelArgument = pArgument;
}

int SA_SetKeepAliveSocket(SA_Socket psSocket, uint32_t u32KeepAliveMs)
{
    /* First probe after 10 s, then ten probes spread over the rest of the keep-alive time. */
    const uint32_t u32IdleMs = 10000;
    SA_ASSERT(psSocket);
    if (psSocket == nullptr || SA_OsSetMaxRetransmitUnlimited(psSocket->iSocket) != 0)
        return 0;
    if (u32KeepAliveMs < 30000)
        return 0;
    uint32_t u32IntervalMs = (u32KeepAliveMs - u32IdleMs) / 9 + 2;
    return SA_OsSetKeepAliveTimes(psSocket->iSocket, u32IdleMs, u32IntervalMs, u32KeepAliveMs) == 0 ? 1 : 0;
}

int SA_SetLingerSocket(SA_Socket psSocket, int bOn, uint32_t u32Seconds)
{
    SA_ASSERT(psSocket);
    if (psSocket == nullptr)
        return SA_ERROR;
    return SA_OsSetLinger(psSocket->iSocket, bOn, u32Seconds) == 0 ? SA_OK : SA_ERROR;
}

int SA_SetBlockingSocket(SA_Socket psSocket, int bBlocking)
{
    SA_ASSERT(psSocket);
    if (psSocket != nullptr)
        SA_OsSetNonBlocking(psSocket->iSocket, !bBlocking);
    return SA_OK;
}

int SA_CloseSocket(SA_Socket *ppsSocket)
{
    SA_ASSERT(ppsSocket);
    if (ppsSocket == nullptr || *ppsSocket == nullptr)
        return SA_OK;
    SA_Socket psSocket = *ppsSocket;
    SA_TlsFree(psSocket);
    SA_OsCloseSocket(psSocket->iSocket, 1);
    SA_Free(ppsSocket);
    return SA_OK;
}

} /* extern "C" */
