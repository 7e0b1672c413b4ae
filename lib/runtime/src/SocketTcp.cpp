/* TCP client connections, exact-length reads and writes with time-out and cancel, the
 * data wait, and the listening socket with accept. */
#include "NetInternal.h"

#include <string.h>

/* Every connect and accept of this system asks for this keep-alive time. */
static const uint32_t kDefaultKeepAliveMs = 30000;

/* Splits "host_localaddress" and resolves both; 0 or -1. */
static int ResolveRemote(const char *pcszRemoteAddr, char *pszHost, uint32_t u32HostSize, uint32_t *pu32Remote,
                         uint32_t *pu32Local)
{
    size_t uLength = strlen(pcszRemoteAddr);
    if (uLength >= u32HostSize)
        return SA_ERROR;
    memcpy(pszHost, pcszRemoteAddr, uLength + 1);
    char *pszLocal = strchr(pszHost, '_');
    *pu32Local = 0;
    if (pszLocal != nullptr) {
        *pszLocal++ = '\0';
        if (SA_OsParseIPv4(pszLocal, pu32Local) != 0)
            return SA_ERROR;
    }
    if (SA_OsResolveIPv4(pszHost, pu32Remote) != 0 && SA_OsParseIPv4(pszHost, pu32Remote) != 0)
        return SA_ERROR;
    return (*pu32Remote == 0 || *pu32Remote == 0xFFFFFFFFu) ? SA_ERROR : SA_OK;
}

static int SetBufferSizes(SA_Socket psSocket, const uint32_t *pu32Send, const uint32_t *pu32Receive)
{
    if (pu32Send != nullptr && SA_OsSetBufferSize(psSocket->iSocket, 1, *pu32Send) != 0)
        return SA_ERROR;
    if (pu32Receive != nullptr && SA_OsSetBufferSize(psSocket->iSocket, 0, *pu32Receive) != 0)
        return SA_ERROR;
    return SA_OK;
}

static int ConfigureClientSocket(SA_Socket psSocket, const uint32_t *pu32SendBufferSize,
                                 const uint32_t *pu32ReceiveBufferSize, uint32_t u32KeepAliveMs)
{
    if (pu32SendBufferSize != nullptr)
        SA_ASSERT(*pu32SendBufferSize);
    if (pu32ReceiveBufferSize != nullptr)
        SA_ASSERT(*pu32ReceiveBufferSize);
    if (SA_OsSetNonBlocking(psSocket->iSocket, 1) != 0 || SA_OsSetKeepAliveOn(psSocket->iSocket) != 0)
        return SA_ERROR;
    if (SetBufferSizes(psSocket, pu32SendBufferSize, pu32ReceiveBufferSize) != SA_OK ||
        SA_OsSetNoDelay(psSocket->iSocket) != 0)
        return SA_ERROR;
    return SA_SetKeepAliveSocket(psSocket, u32KeepAliveMs) == 1 ? SA_OK : SA_ERROR;
}

static int WaitConnected(SA_Socket psSocket, uint32_t u32StartTick, uint32_t u32TimeoutMs)
{
    uint32_t u32Remaining = SA_RemainingTime(u32StartTick, u32TimeoutMs);
    int iResult = u32Remaining == 0 ? SA_TIMEOUT : SA_SelectSocket(psSocket, u32Remaining, 0, 1);
    if (iResult != SA_OK)
        return iResult;
    /* A refused or unreachable peer also makes the socket writable: ask what happened. */
    return SA_OsConnectResult(psSocket->iSocket) == 0 ? SA_OK : SA_ERROR;
}

/* Reads or writes what it can: bytes moved, or 0 with what to wait for (SA_IO_FAILED on a
 * closed connection or an error). */
static int32_t MoveSome(SA_Socket psSocket, void *pBuffer, uint32_t u32Size, int bWrite, enum SA_IoWait *peWait)
{
    if (psSocket->psSsl != nullptr)
        return SA_TlsMove(psSocket, pBuffer, u32Size, bWrite, peWait);
    int32_t i32Moved = bWrite ? SA_OsSend(psSocket->iSocket, pBuffer, u32Size) : SA_OsRecv(psSocket->iSocket, pBuffer, u32Size);
    if (i32Moved > 0)
        return i32Moved;
    if (i32Moved == SA_OS_IO_WOULD_BLOCK)
        *peWait = bWrite ? SA_IO_WAIT_WRITE : SA_IO_WAIT_READ;
    else
        *peWait = SA_IO_FAILED;
    return 0;
}

static int32_t PollCancel(SA_Socket psSocket)
{
    return psSocket->rCancel != nullptr ? psSocket->rCancel(psSocket, psSocket->pCancelArgument) : 0;
}

/* One wait of at most a slice for readable bytes, the cancel callback polled first. */
static int WaitDataSlice(SA_Socket psSocket, uint32_t u32Start, uint32_t u32TimeoutMs, int bWrite)
{
    int32_t i32Cancel = PollCancel(psSocket);
    if (i32Cancel != 0)
        return i32Cancel;
    return SA_WaitSlice(psSocket, u32Start, u32TimeoutMs, bWrite ? SA_IO_WAIT_BOTH : SA_IO_WAIT_READ);
}

static int WaitForPlainData(SA_Socket psSocket, uint32_t *pu32Count, uint32_t u32TimeoutMs)
{
    uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        int iResult = WaitDataSlice(psSocket, u32Start, u32TimeoutMs, 0);
        if (iResult != SA_OK)
            return iResult;
        if (SA_SelectSocket(psSocket, 0, 1, 0) == SA_OK)
            break;
    }
    /* Readable with nothing to read: the peer has closed. */
    uint32_t u32Ready = 0;
    if (SA_OsReadableBytes(psSocket->iSocket, &u32Ready) != 0 || u32Ready == 0)
        return SA_ERROR;
    *pu32Count = u32Ready;
    return SA_OK;
}

static int WaitForTlsData(SA_Socket psSocket, uint32_t *pu32Count, uint32_t u32TimeoutMs)
{
    uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        enum SA_IoWait eWait = SA_IO_WAIT_READ;
        if (SA_TlsPending(psSocket, pu32Count, &eWait) != SA_OK)
            return SA_ERROR;
        if (*pu32Count > 0)
            return SA_OK;
        if (eWait == SA_IO_RETRY)
            continue;
        int iResult = WaitDataSlice(psSocket, u32Start, u32TimeoutMs, eWait != SA_IO_WAIT_READ);
        if (iResult != SA_OK)
            return iResult;
    }
}

extern "C" {

int SA_CheckConnectArguments(const char *pcszRemoteAddr, SA_Socket *ppsSocket)
{
    SA_ASSERT(pcszRemoteAddr && ppsSocket);
    return (pcszRemoteAddr == nullptr || ppsSocket == nullptr) ? SA_ERROR : SA_OK;
}

int SA_ConnectTcpRecord(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                        const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                        uint32_t u32StartTick, uint32_t u32TimeoutMs, uint32_t u32KeepAliveMs, char *pszHost,
                        uint32_t u32HostSize)
{
    *ppsSocket = nullptr;
    uint32_t u32Remote = 0, u32Local = 0;
    if (ResolveRemote(pcszRemoteAddr, pszHost, u32HostSize, &u32Remote, &u32Local) != SA_OK)
        return SA_ERROR;
    SA_Socket psSocket = SA_NewSocketRecord();
    if (psSocket == nullptr)
        return SA_ERROR;
    *ppsSocket = psSocket;
    psSocket->iSocket = SA_OsOpenSocket(1);
    if (psSocket->iSocket == SA_OS_INVALID_SOCKET)
        return SA_ERROR;
    if (ConfigureClientSocket(psSocket, pu32SendBufferSize, pu32ReceiveBufferSize, u32KeepAliveMs) != SA_OK)
        return SA_ERROR;
    if (SA_OsBind(psSocket->iSocket, u32Local, 0) != 0)
        return SA_ERROR;
    int iStarted = SA_OsConnectStart(psSocket->iSocket, u32Remote, u16Port);
    if (iStarted != 1)
        return iStarted == 0 ? SA_OK : SA_ERROR;
    return WaitConnected(psSocket, u32StartTick, u32TimeoutMs);
}

int SA_ConnectSocketTCPTimeoutEx(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                                 const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                                 uint32_t u32TimeoutMs, uint32_t u32KeepAliveMs)
{
    if (SA_CheckConnectArguments(pcszRemoteAddr, ppsSocket) != SA_OK)
        return SA_ERROR;
    char aszHost[256];
    SA_Socket psSocket = nullptr;
    int iResult = SA_ConnectTcpRecord(pcszRemoteAddr, u16Port, &psSocket, pu32SendBufferSize, pu32ReceiveBufferSize,
                                      SA_GetTickMs(), u32TimeoutMs, u32KeepAliveMs, aszHost, sizeof(aszHost));
    return SA_KeepOrCloseSocket(iResult, psSocket, ppsSocket);
}

int SA_ConnectSocketTCPTimeout(const char *pcszRemoteAddr, uint16_t u16Port, SA_Socket *ppsSocket,
                               const uint32_t *pu32SendBufferSize, const uint32_t *pu32ReceiveBufferSize,
                               uint32_t u32TimeoutMs)
{
    return SA_ConnectSocketTCPTimeoutEx(pcszRemoteAddr, u16Port, ppsSocket, pu32SendBufferSize,
                                        pu32ReceiveBufferSize, u32TimeoutMs, kDefaultKeepAliveMs);
}

int32_t SA_ReadSocketLength(SA_Socket psSocket, void *pBuffer, uint32_t u32SizeOfBuffer, uint32_t u32TimeoutMs)
{
    SA_ASSERT(psSocket && pBuffer && u32SizeOfBuffer);
    if (psSocket == nullptr || pBuffer == nullptr)
        return SA_ERROR;
    uint32_t u32Start = SA_GetTickMs();
    uint8_t *pu8Buffer = static_cast<uint8_t *>(pBuffer);
    uint32_t u32Done = 0;
    while (u32Done < u32SizeOfBuffer) {
        int32_t i32Cancel = PollCancel(psSocket);
        if (i32Cancel != 0)
            return i32Cancel;
        enum SA_IoWait eWait = SA_IO_FAILED;
        int32_t i32Read = MoveSome(psSocket, pu8Buffer + u32Done, u32SizeOfBuffer - u32Done, 0, &eWait);
        if (i32Read > 0) {
            u32Done += static_cast<uint32_t>(i32Read);
            continue;
        }
        if (eWait == SA_IO_RETRY)
            continue;
        if (eWait == SA_IO_FAILED)
            return SA_ERROR;
        int iWait = SA_WaitSlice(psSocket, u32Start, u32TimeoutMs, eWait);
        if (iWait != SA_OK)
            return iWait;
    }
    return SA_OK;
}

int32_t SA_WriteSocketLength(SA_Socket psSocket, const void *pData, uint32_t u32Length, uint32_t u32TimeoutMs)
{
    if (psSocket == nullptr || (pData == nullptr && u32Length > 0))
        return SA_ERROR;
    uint32_t u32Start = SA_GetTickMs();
    const uint8_t *pu8Data = static_cast<const uint8_t *>(pData);
    uint32_t u32Done = 0;
    while (u32Done < u32Length) {
        enum SA_IoWait eWait = SA_IO_FAILED;
        int32_t i32Sent = MoveSome(psSocket, const_cast<uint8_t *>(pu8Data) + u32Done, u32Length - u32Done, 1, &eWait);
        if (i32Sent > 0) {
            u32Done += static_cast<uint32_t>(i32Sent);
            if (u32Done == u32Length)
                break;
            eWait = SA_IO_WAIT_WRITE;
        } else if (eWait == SA_IO_RETRY) {
            eWait = SA_IO_WAIT_WRITE;
        } else if (eWait == SA_IO_FAILED) {
            return SA_ERROR;
        }
        int iWait = SA_WaitSlice(psSocket, u32Start, u32TimeoutMs, eWait);
        if (iWait != SA_OK)
            return iWait;
        int32_t i32Cancel = PollCancel(psSocket);
        if (i32Cancel != 0)
            return i32Cancel;
    }
    return SA_OK;
}

int SA_WaitForDataOnSocket(SA_Socket psSocket, uint32_t *pu32Count, uint32_t u32TimeoutMs)
{
    uint32_t u32Ignored = 0;
    uint32_t *pu32Out = pu32Count != nullptr ? pu32Count : &u32Ignored;
    *pu32Out = 0;
    SA_ASSERT(psSocket);
    if (psSocket == nullptr)
        return SA_ERROR;
    return psSocket->psSsl != nullptr ? WaitForTlsData(psSocket, pu32Out, u32TimeoutMs)
                                      : WaitForPlainData(psSocket, pu32Out, u32TimeoutMs);
}

int SA_ServerInitializeConnectionTCP(uint16_t u16Port, SA_Socket *ppsSocket, const uint32_t *pu32SendSize,
                                     const uint32_t *pu32ReceiveSize)
{
    SA_ASSERT(ppsSocket);
    if (ppsSocket == nullptr)
        return SA_ERROR;
    if (pu32SendSize != nullptr && *pu32SendSize == 0) {
        SA_ASSERT(*pu32SendSize);
        return SA_ERROR;
    }
    if (pu32ReceiveSize != nullptr && *pu32ReceiveSize == 0) {
        SA_ASSERT(*pu32ReceiveSize);
        return SA_ERROR;
    }
    SA_Socket psSocket = SA_NewSocketRecord();
    if (psSocket == nullptr)
        return SA_ERROR;
    psSocket->iSocket = SA_OsOpenSocket(1);
    /* Non-blocking, so a connection reset between the wait and the accept cannot hang. */
    int iResult = (psSocket->iSocket != SA_OS_INVALID_SOCKET && SA_OsSetNonBlocking(psSocket->iSocket, 1) == 0 &&
                   SetBufferSizes(psSocket, pu32SendSize, pu32ReceiveSize) == SA_OK &&
                   SA_OsSetLinger(psSocket->iSocket, 1, 0) == 0 && SA_OsBind(psSocket->iSocket, 0, u16Port) == 0 &&
                   SA_OsListen(psSocket->iSocket, 32) == 0)
                      ? SA_OK
                      : SA_ERROR;
    return SA_KeepOrCloseSocket(iResult, psSocket, ppsSocket);
}

/* Takes one pending connection: 0 with the configured record, 1 none yet, -1 error. */
static int AcceptOne(SA_Socket hSocket, SA_Socket *ppsConnected, uint32_t *pu32Addr, uint16_t *pu16Port,
                     uint32_t u32StartTick, uint32_t u32TimeoutMs)
{
    SA_OsSocket iConnected = SA_OS_INVALID_SOCKET;
    int iAccepted = SA_OsAccept(hSocket->iSocket, &iConnected, pu32Addr, pu16Port);
    if (iAccepted != 0)
        return iAccepted;
    SA_Socket psSocket = SA_NewSocketRecord();
    if (psSocket == nullptr) {
        SA_OsCloseSocket(iConnected, 0);
        return SA_ERROR;
    }
    psSocket->iSocket = iConnected;
    int iResult = (SA_OsSetNonBlocking(iConnected, 1) == 0 && SA_OsSetNoDelay(iConnected) == 0 &&
                   SA_SetKeepAliveSocket(psSocket, kDefaultKeepAliveMs) == 1)
                      ? SA_OK
                      : SA_ERROR;
    if (iResult == SA_OK && hSocket->psSslCtx != nullptr)
        iResult = SA_TlsAccept(hSocket, psSocket, u32StartTick, u32TimeoutMs) == SA_OK ? SA_OK : SA_ERROR;
    if (iResult == SA_OK && SA_OsSetLinger(iConnected, 1, 0) != 0)
        iResult = SA_ERROR;
    return SA_KeepOrCloseSocket(iResult, psSocket, ppsConnected);
}

int SA_WaitConnectionTCPEx(SA_Socket hSocket, uint32_t, SA_Socket *ppsConnectedSocket, char *pszPeerAddr,
                           uint16_t *pu16PeerPort, uint32_t u32TimeoutMs)
{
    SA_ASSERT(hSocket && ppsConnectedSocket);
    if (hSocket == nullptr || ppsConnectedSocket == nullptr)
        return SA_ERROR;
    uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        uint32_t u32Remaining = SA_RemainingTime(u32Start, u32TimeoutMs);
        int iResult = SA_SelectSocket(hSocket, u32Remaining, 1, 0);
        if (iResult != SA_OK)
            return iResult;
        uint32_t u32Addr = 0;
        uint16_t u16Port = 0;
        SA_Socket psConnected = nullptr;
        iResult = AcceptOne(hSocket, &psConnected, &u32Addr, &u16Port, u32Start, u32TimeoutMs);
        if (iResult == SA_TIMEOUT && SA_RemainingTime(u32Start, u32TimeoutMs) > 0)
            continue;
        if (iResult != SA_OK)
            return iResult;
        if (pszPeerAddr != nullptr)
            SA_OsFormatIPv4(u32Addr, pszPeerAddr, 16);
        if (pu16PeerPort != nullptr)
            *pu16PeerPort = u16Port;
        *ppsConnectedSocket = psConnected;
        return SA_OK;
    }
}

int SA_WaitConnectionTCP(SA_Socket hSocket, uint32_t u32PeerAddrSize, SA_Socket *ppsConnectedSocket,
                         char *pszPeerAddr, uint32_t u32TimeoutMs)
{
    return SA_WaitConnectionTCPEx(hSocket, u32PeerAddrSize, ppsConnectedSocket, pszPeerAddr, nullptr, u32TimeoutMs);
}

} /* extern "C" */
