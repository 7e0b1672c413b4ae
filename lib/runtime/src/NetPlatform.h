/* The platform calls under the network layer and the certificate stores, one small
 * function each; the POSIX versions live in posix/Socket.cpp and posix/CertFolder.cpp. */
#ifndef NET_PLATFORM_H
#define NET_PLATFORM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int SA_OsSocket;
#define SA_OS_INVALID_SOCKET (-1)

/* Results of a send or receive that moved no byte. */
#define SA_OS_IO_FAILED (-1)
#define SA_OS_IO_WOULD_BLOCK (-2)

/* Addresses are IPv4 in network byte order. */
int SA_OsNetStart(void);
void SA_OsNetStop(void);
int SA_OsResolveIPv4(const char *pcszHost, uint32_t *pu32Addr);
int SA_OsParseIPv4(const char *pcszText, uint32_t *pu32Addr);
void SA_OsFormatIPv4(uint32_t u32Addr, char *pszText, uint32_t u32Size);

SA_OsSocket SA_OsOpenSocket(int bStream);
void SA_OsCloseSocket(SA_OsSocket iSocket, int bShutdownSend);
int SA_OsSetNonBlocking(SA_OsSocket iSocket, int bNonBlocking);
int SA_OsSetBufferSize(SA_OsSocket iSocket, int bSend, uint32_t u32Size);
int SA_OsSetNoDelay(SA_OsSocket iSocket);
int SA_OsSetKeepAliveOn(SA_OsSocket iSocket);
int SA_OsSetMaxRetransmitUnlimited(SA_OsSocket iSocket);
int SA_OsSetKeepAliveTimes(SA_OsSocket iSocket, uint32_t u32IdleMs, uint32_t u32IntervalMs, uint32_t u32DetectMs);
int SA_OsSetLinger(SA_OsSocket iSocket, int bOn, uint32_t u32Seconds);
int SA_OsSetReuseAddr(SA_OsSocket iSocket);
int SA_OsMaxDatagramSize(SA_OsSocket iSocket, uint32_t *pu32Size);

int SA_OsBind(SA_OsSocket iSocket, uint32_t u32Addr, uint16_t u16Port);
/* 0 connected, 1 in progress, -1 error. */
int SA_OsConnectStart(SA_OsSocket iSocket, uint32_t u32Addr, uint16_t u16Port);
/* The outcome of a connect that became writable: 0 connected, -1 failed. */
int SA_OsConnectResult(SA_OsSocket iSocket);
int SA_OsListen(SA_OsSocket iSocket, int iBacklog);
/* 0 accepted, 1 nothing to accept yet, -1 error (a peer that is not IPv4 too). */
int SA_OsAccept(SA_OsSocket iSocket, SA_OsSocket *piConnected, uint32_t *pu32Addr, uint16_t *pu16Port);

/* Waits until readable or writable: 0 ready, 1 time-out, -1 error; SA_INFINITE waits for ever. */
int SA_OsPoll(SA_OsSocket iSocket, uint32_t u32TimeoutMs, int bRead, int bWrite);
/* Bytes moved (0 from a receive: the peer closed), or SA_OS_IO_FAILED / SA_OS_IO_WOULD_BLOCK. */
int32_t SA_OsRecv(SA_OsSocket iSocket, void *pBuffer, uint32_t u32Size);
int32_t SA_OsSend(SA_OsSocket iSocket, const void *pData, uint32_t u32Length);
int SA_OsReadableBytes(SA_OsSocket iSocket, uint32_t *pu32Count);
/* One datagram: 0 with its full size in *pu32Received (larger than u32Size when cut), -1 error. */
int SA_OsRecvFrom(SA_OsSocket iSocket, void *pBuffer, uint32_t u32Size, uint32_t *pu32Received,
                  uint32_t *pu32Addr, uint16_t *pu16Port);

/* Certificate folders: the per-user and the machine-wide data folder, and the files of a folder. */
int SA_OsUserDataFolder(char *pszPath, uint32_t u32Size);
int SA_OsMachineDataFolder(char *pszPath, uint32_t u32Size);
typedef void (*SA_OsFolderEntryCallback)(const char *pcszPath, void *pArgument);
/* Calls back with the path of each regular file of the folder; -1 when it cannot be opened. */
int SA_OsListFolder(const char *pcszFolder, SA_OsFolderEntryCallback rCallback, void *pArgument);

#ifdef __cplusplus
}
#endif

#endif
