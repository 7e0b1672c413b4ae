/* UDP receive sockets shared by every listener of a port (the discovery port). */
#include "NetInternal.h"

static int ConfigureUdpSocket(SA_Socket psSocket, uint16_t u16LocalPort, const uint32_t *pu32Send,
                              const uint32_t *pu32Receive, uint32_t *pu32MaxDatagramSize)
{
    SA_OsSocket iSocket = psSocket->iSocket;
    if (iSocket == SA_OS_INVALID_SOCKET || SA_OsSetReuseAddr(iSocket) != 0)
        return SA_ERROR;
    if (pu32Send != nullptr && SA_OsSetBufferSize(iSocket, 1, *pu32Send) != 0)
        return SA_ERROR;
    if (pu32Receive != nullptr && SA_OsSetBufferSize(iSocket, 0, *pu32Receive) != 0)
        return SA_ERROR;
    if (pu32MaxDatagramSize != nullptr && SA_OsMaxDatagramSize(iSocket, pu32MaxDatagramSize) != 0)
        return SA_ERROR;
    return SA_OsBind(iSocket, 0, u16LocalPort) == 0 ? SA_OK : SA_ERROR;
}

extern "C" {

int SA_CreateUnconnectedSocketUDPReuseAddr(SA_Socket *ppsSocket, uint16_t u16LocalPort,
                                           const uint32_t *pu32SendBufferSize,
                                           const uint32_t *pu32ReceiveBufferSize, uint32_t *pu32MaxDatagramSize)
{
    SA_ASSERT(ppsSocket);
    if (ppsSocket == nullptr)
        return SA_ERROR;
    SA_Socket psSocket = SA_NewSocketRecord();
    if (psSocket == nullptr)
        return SA_ERROR;
    psSocket->iSocket = SA_OsOpenSocket(0);
    int iResult =
        ConfigureUdpSocket(psSocket, u16LocalPort, pu32SendBufferSize, pu32ReceiveBufferSize, pu32MaxDatagramSize);
    return SA_KeepOrCloseSocket(iResult, psSocket, ppsSocket);
}

int SA_ReadUnconnectedSocketUDP(SA_Socket psSocket, void *pBuffer, uint32_t *pu32SizeOfBuffer, char *pszSenderAddr,
                                uint16_t *pu16SenderPort, uint32_t u32TimeoutMs)
{
    SA_ASSERT(psSocket && pBuffer && pu32SizeOfBuffer);
    if (psSocket == nullptr || pBuffer == nullptr || pu32SizeOfBuffer == nullptr)
        return SA_ERROR;
    int iResult = SA_SelectSocket(psSocket, u32TimeoutMs, 1, 0);
    if (iResult != SA_OK)
        return iResult;
    uint32_t u32Received = 0, u32Addr = 0;
    uint16_t u16Port = 0;
    if (SA_OsRecvFrom(psSocket->iSocket, pBuffer, *pu32SizeOfBuffer, &u32Received, &u32Addr, &u16Port) != 0)
        return SA_ERROR;
    /* A datagram cut to the buffer would be parsed as a shorter, wrong message. */
    if (u32Received == 0 || u32Received > *pu32SizeOfBuffer)
        return SA_ERROR;
    *pu32SizeOfBuffer = u32Received;
    if (pszSenderAddr != nullptr)
        SA_OsFormatIPv4(u32Addr, pszSenderAddr, 16);
    if (pu16SenderPort != nullptr)
        *pu16SenderPort = u16Port;
    return SA_OK;
}

} /* extern "C" */
