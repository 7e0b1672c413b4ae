/* BSD sockets and poll() under the runtime's network layer: every system call of it,
 * with EINTR retried and errno left as the last socket error. */
#include "NetPlatform.h"
#include "SA_Core.h"

#include <arpa/inet.h>
#include <climits>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

/* Largest payload of an IPv4 UDP datagram (65535 - 8 - 20). */
static const uint32_t kMaxUdpPayload = 65507;

extern "C" {

int SA_OsNetStart(void)
{
    /* OpenSSL writes through plain write(): a peer that went away must not kill the process. */
    struct sigaction sOld;
    if (sigaction(SIGPIPE, nullptr, &sOld) != 0)
        return -1;
    if (sOld.sa_handler == SIG_DFL && signal(SIGPIPE, SIG_IGN) == SIG_ERR)
        return -1;
    return 0;
}

void SA_OsNetStop(void) {}

int SA_OsParseIPv4(const char *pcszText, uint32_t *pu32Addr)
{
    struct in_addr sAddr;
    if (inet_pton(AF_INET, pcszText, &sAddr) != 1)
        return -1;
    *pu32Addr = sAddr.s_addr;
    return 0;
}

int SA_OsResolveIPv4(const char *pcszHost, uint32_t *pu32Addr)
{
    struct addrinfo sHints;
    memset(&sHints, 0, sizeof(sHints));
    sHints.ai_family = AF_INET;
    sHints.ai_socktype = SOCK_STREAM;
    struct addrinfo *psList = nullptr;
    if (getaddrinfo(pcszHost, nullptr, &sHints, &psList) != 0 || psList == nullptr)
        return -1;
    *pu32Addr = reinterpret_cast<struct sockaddr_in *>(psList->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(psList);
    return 0;
}

void SA_OsFormatIPv4(uint32_t u32Addr, char *pszText, uint32_t u32Size)
{
    struct in_addr sAddr;
    sAddr.s_addr = u32Addr;
    if (inet_ntop(AF_INET, &sAddr, pszText, u32Size) == nullptr && u32Size > 0)
        pszText[0] = '\0';
}

SA_OsSocket SA_OsOpenSocket(int bStream)
{
    return socket(AF_INET, (bStream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, 0);
}

void SA_OsCloseSocket(SA_OsSocket iSocket, int bShutdownSend)
{
    if (iSocket < 0)
        return;
    int iSaved = errno;
    if (bShutdownSend)
        shutdown(iSocket, SHUT_WR);
    close(iSocket);
    errno = iSaved;
}

int SA_OsSetNonBlocking(SA_OsSocket iSocket, int bNonBlocking)
{
    int iFlags = fcntl(iSocket, F_GETFL, 0);
    if (iFlags < 0)
        return -1;
    iFlags = bNonBlocking ? (iFlags | O_NONBLOCK) : (iFlags & ~O_NONBLOCK);
    return fcntl(iSocket, F_SETFL, iFlags) == 0 ? 0 : -1;
}

static int SetIntOption(SA_OsSocket iSocket, int iLevel, int iName, int iValue)
{
    return setsockopt(iSocket, iLevel, iName, &iValue, sizeof(iValue)) == 0 ? 0 : -1;
}

int SA_OsSetBufferSize(SA_OsSocket iSocket, int bSend, uint32_t u32Size)
{
    int iSize = u32Size > INT_MAX ? INT_MAX : static_cast<int>(u32Size);
    return SetIntOption(iSocket, SOL_SOCKET, bSend ? SO_SNDBUF : SO_RCVBUF, iSize);
}

int SA_OsSetNoDelay(SA_OsSocket iSocket) { return SetIntOption(iSocket, IPPROTO_TCP, TCP_NODELAY, 1); }

int SA_OsSetKeepAliveOn(SA_OsSocket iSocket) { return SetIntOption(iSocket, SOL_SOCKET, SO_KEEPALIVE, 1); }

int SA_OsSetReuseAddr(SA_OsSocket iSocket)
{
    /* On Linux this alone lets every listener of a UDP port bind it and hear its broadcasts. */
    return SetIntOption(iSocket, SOL_SOCKET, SO_REUSEADDR, 1);
}

int SA_OsSetMaxRetransmitUnlimited(SA_OsSocket iSocket)
{
    /* 0 leaves retransmission to the system's own limit rather than a user time-out. */
    if (SetIntOption(iSocket, IPPROTO_TCP, TCP_USER_TIMEOUT, 0) == 0 || errno == ENOPROTOOPT)
        return 0;
    return -1;
}

int SA_OsSetKeepAliveTimes(SA_OsSocket iSocket, uint32_t u32IdleMs, uint32_t u32IntervalMs, uint32_t u32DetectMs)
{
    /* Linux counts in whole seconds and needs a probe count: pick the count that makes
     * idle + count x interval come closest to the wanted detection time. */
    int iIdle = static_cast<int>((u32IdleMs + 500) / 1000);
    int iInterval = static_cast<int>((u32IntervalMs + 500) / 1000);
    if (iIdle < 1)
        iIdle = 1;
    if (iInterval < 1)
        iInterval = 1;
    uint32_t u32Probing = u32DetectMs > u32IdleMs ? u32DetectMs - u32IdleMs : 0;
    uint32_t u32Step = static_cast<uint32_t>(iInterval) * 1000;
    int iCount = static_cast<int>((u32Probing + u32Step / 2) / u32Step);
    if (iCount < 1)
        iCount = 1;
    if (iCount > 127)
        iCount = 127;
    if (SetIntOption(iSocket, IPPROTO_TCP, TCP_KEEPIDLE, iIdle) != 0)
        return -1;
    if (SetIntOption(iSocket, IPPROTO_TCP, TCP_KEEPINTVL, iInterval) != 0)
        return -1;
    return SetIntOption(iSocket, IPPROTO_TCP, TCP_KEEPCNT, iCount);
}

int SA_OsSetLinger(SA_OsSocket iSocket, int bOn, uint32_t u32Seconds)
{
    struct linger sLinger;
    sLinger.l_onoff = bOn ? 1 : 0;
    sLinger.l_linger = u32Seconds > INT_MAX ? INT_MAX : static_cast<int>(u32Seconds);
    return setsockopt(iSocket, SOL_SOCKET, SO_LINGER, &sLinger, sizeof(sLinger)) == 0 ? 0 : -1;
}

int SA_OsMaxDatagramSize(SA_OsSocket, uint32_t *pu32Size)
{
    *pu32Size = kMaxUdpPayload;
    return 0;
}

static struct sockaddr_in MakeAddress(uint32_t u32Addr, uint16_t u16Port)
{
    struct sockaddr_in sAddr;
    memset(&sAddr, 0, sizeof(sAddr));
    sAddr.sin_family = AF_INET;
    sAddr.sin_addr.s_addr = u32Addr;
    sAddr.sin_port = htons(u16Port);
    return sAddr;
}

int SA_OsBind(SA_OsSocket iSocket, uint32_t u32Addr, uint16_t u16Port)
{
    struct sockaddr_in sAddr = MakeAddress(u32Addr, u16Port);
    return bind(iSocket, reinterpret_cast<struct sockaddr *>(&sAddr), sizeof(sAddr)) == 0 ? 0 : -1;
}

int SA_OsConnectStart(SA_OsSocket iSocket, uint32_t u32Addr, uint16_t u16Port)
{
    struct sockaddr_in sAddr = MakeAddress(u32Addr, u16Port);
    if (connect(iSocket, reinterpret_cast<struct sockaddr *>(&sAddr), sizeof(sAddr)) == 0)
        return 0;
    /* An interrupted connect goes on in the background, like one in progress. */
    return (errno == EINPROGRESS || errno == EINTR) ? 1 : -1;
}

int SA_OsConnectResult(SA_OsSocket iSocket)
{
    int iError = 0;
    socklen_t uLength = sizeof(iError);
    if (getsockopt(iSocket, SOL_SOCKET, SO_ERROR, &iError, &uLength) != 0)
        return -1;
    if (iError != 0) {
        errno = iError;
        return -1;
    }
    return 0;
}

int SA_OsListen(SA_OsSocket iSocket, int iBacklog) { return listen(iSocket, iBacklog) == 0 ? 0 : -1; }

int SA_OsAccept(SA_OsSocket iSocket, SA_OsSocket *piConnected, uint32_t *pu32Addr, uint16_t *pu16Port)
{
    struct sockaddr_storage sPeer;
    socklen_t uLength;
    int iConnected;
    do {
        uLength = sizeof(sPeer);
        iConnected = accept4(iSocket, reinterpret_cast<struct sockaddr *>(&sPeer), &uLength, SOCK_CLOEXEC);
    } while (iConnected < 0 && errno == EINTR);
    if (iConnected < 0)
        return (errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNABORTED) ? 1 : -1;
    if (sPeer.ss_family != AF_INET) {
        close(iConnected);
        return -1;
    }
    const struct sockaddr_in *psPeer = reinterpret_cast<const struct sockaddr_in *>(&sPeer);
    *piConnected = iConnected;
    *pu32Addr = psPeer->sin_addr.s_addr;
    *pu16Port = ntohs(psPeer->sin_port);
    return 0;
}

int SA_OsPoll(SA_OsSocket iSocket, uint32_t u32TimeoutMs, int bRead, int bWrite)
{
    struct pollfd sPoll;
    sPoll.fd = iSocket;
    sPoll.events = static_cast<short>((bRead ? POLLIN : 0) | (bWrite ? POLLOUT : 0));
    uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        int iWait = -1;
        if (u32TimeoutMs != SA_INFINITE) {
            uint32_t u32Elapsed = SA_ElapsedTime(u32Start, SA_GetTickMs());
            uint32_t u32Left = u32Elapsed >= u32TimeoutMs ? 0 : u32TimeoutMs - u32Elapsed;
            iWait = u32Left > INT_MAX ? INT_MAX : static_cast<int>(u32Left);
        }
        sPoll.revents = 0;
        int iResult = poll(&sPoll, 1, iWait);
        if (iResult > 0) {
            /* A hang-up or error makes the next read or write report it. */
            if (sPoll.revents & POLLNVAL)
                return -1;
            return 0;
        }
        if (iResult == 0) {
            if (iWait == INT_MAX && u32TimeoutMs != SA_INFINITE)
                continue;
            return 1;
        }
        if (errno != EINTR)
            return -1;
    }
}

int32_t SA_OsRecv(SA_OsSocket iSocket, void *pBuffer, uint32_t u32Size)
{
    size_t uSize = u32Size > INT32_MAX ? INT32_MAX : u32Size;
    ssize_t iRead;
    do {
        iRead = recv(iSocket, pBuffer, uSize, 0);
    } while (iRead < 0 && errno == EINTR);
    if (iRead >= 0)
        return static_cast<int32_t>(iRead);
    return (errno == EAGAIN || errno == EWOULDBLOCK) ? SA_OS_IO_WOULD_BLOCK : SA_OS_IO_FAILED;
}

int32_t SA_OsSend(SA_OsSocket iSocket, const void *pData, uint32_t u32Length)
{
    size_t uLength = u32Length > INT32_MAX ? INT32_MAX : u32Length;
    ssize_t iSent;
    do {
        iSent = send(iSocket, pData, uLength, MSG_NOSIGNAL);
    } while (iSent < 0 && errno == EINTR);
    if (iSent >= 0)
        return static_cast<int32_t>(iSent);
    return (errno == EAGAIN || errno == EWOULDBLOCK) ? SA_OS_IO_WOULD_BLOCK : SA_OS_IO_FAILED;
}

int SA_OsReadableBytes(SA_OsSocket iSocket, uint32_t *pu32Count)
{
    int iCount = 0;
    if (ioctl(iSocket, FIONREAD, &iCount) != 0 || iCount < 0)
        return -1;
    *pu32Count = static_cast<uint32_t>(iCount);
    return 0;
}

int SA_OsRecvFrom(SA_OsSocket iSocket, void *pBuffer, uint32_t u32Size, uint32_t *pu32Received,
                  uint32_t *pu32Addr, uint16_t *pu16Port)
{
    struct sockaddr_in sFrom;
    socklen_t uLength;
    ssize_t iRead;
    do {
        uLength = sizeof(sFrom);
        memset(&sFrom, 0, sizeof(sFrom));
        /* MSG_TRUNC makes the result the datagram's full size, so a cut one is seen; a datagram
         * dropped between the wait and here (bad checksum) must not block. */
        iRead = recvfrom(iSocket, pBuffer, u32Size, MSG_TRUNC | MSG_DONTWAIT, reinterpret_cast<struct sockaddr *>(&sFrom), &uLength);
    } while (iRead < 0 && errno == EINTR);
    if (iRead < 0)
        return -1;
    *pu32Received = static_cast<uint32_t>(iRead);
    *pu32Addr = sFrom.sin_addr.s_addr;
    *pu16Port = ntohs(sFrom.sin_port);
    return 0;
}

} /* extern "C" */
