// TCP and UDP sockets against real loopback peers: exact reads and writes, time-outs,
// cancel callbacks, closed peers, refused connects, keep-alive, accept and datagrams.
#include "LoopbackServer.h"
#include "NetInternal.h"
#include "NetTestFixture.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

using testnet::LoopbackServer;

namespace {

class SocketTest : public NetTest {
protected:
    SA_Socket Connect(uint16_t port, uint32_t timeoutMs = 5000)
    {
        SA_Socket socket = nullptr;
        EXPECT_EQ(SA_ConnectSocketTCPTimeout("127.0.0.1", port, &socket, nullptr, nullptr, timeoutMs), SA_OK);
        return socket;
    }
    void TearDown() override
    {
        SA_CloseSocket(&socket_);
        NetTest::TearDown();
    }
    SA_Socket socket_ = nullptr;
};

struct CancelCount {
    std::atomic<int> calls{0};
    int32_t answer = 0;
};

int32_t CountingCancel(SA_Socket, void *argument)
{
    CancelCount *count = static_cast<CancelCount *>(argument);
    count->calls++;
    return count->answer;
}

// Sends the bytes in two pieces, the second only once the first was taken, then closes or waits.
LoopbackServer::Handler SendPieces(std::string first, std::string second, bool closeAfterFirst)
{
    return [=](int fd, const std::atomic<bool> &stopping) {
        testnet::SendAll(fd, first.data(), first.size());
        if (closeAfterFirst)
            return;
        char ack;
        if (testnet::WaitReadable(fd, stopping, 5000) && recv(fd, &ack, 1, 0) == 1)
            testnet::SendAll(fd, second.data(), second.size());
        testnet::HoldOpen(fd, stopping);
    };
}

TEST_F(SocketTest, ReadAssemblesPiecesIntoExactLength)
{
    LoopbackServer peer(SendPieces("abcd", "efghij", false));
    socket_ = Connect(peer.port());
    char first[4];
    ASSERT_EQ(SA_ReadSocketLength(socket_, first, 4, 2000), SA_OK);
    ASSERT_EQ(SA_WriteSocketLength(socket_, "k", 1, 2000), SA_OK);
    char rest[6];
    ASSERT_EQ(SA_ReadSocketLength(socket_, rest, 6, 2000), SA_OK);
    EXPECT_EQ(std::string(first, 4) + std::string(rest, 6), "abcdefghij");
}

TEST_F(SocketTest, ReadOfTenGetsTenWhenPeerSendsFourThenSix)
{
    LoopbackServer peer([](int fd, const std::atomic<bool> &stopping) {
        testnet::SendAll(fd, "abcd", 4);
        testnet::SendAll(fd, "efghij", 6);
        testnet::HoldOpen(fd, stopping);
    });
    socket_ = Connect(peer.port());
    char buffer[10];
    ASSERT_EQ(SA_ReadSocketLength(socket_, buffer, 10, 2000), SA_OK);
    EXPECT_EQ(std::string(buffer, 10), "abcdefghij");
}

TEST_F(SocketTest, ReadFailsWhenPeerClosesBeforeLength)
{
    LoopbackServer peer(SendPieces("abcd", "", true));
    socket_ = Connect(peer.port());
    char buffer[10];
    EXPECT_EQ(SA_ReadSocketLength(socket_, buffer, 10, 5000), SA_ERROR);
}

TEST_F(SocketTest, ReadTimesOutOnSilentPeerPollingCancelEverySecond)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    CancelCount cancel;
    SA_SetCancelCallbackSocket(socket_, CountingCancel, &cancel);
    char buffer[4];
    uint32_t start = SA_GetTickMs();
    EXPECT_EQ(SA_ReadSocketLength(socket_, buffer, 4, 2500), SA_TIMEOUT);
    EXPECT_GE(SA_ElapsedTime(start, SA_GetTickMs()), 2500u);
    EXPECT_GE(cancel.calls.load(), 3);
}

TEST_F(SocketTest, CancelValueEndsReadAndWrite)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    CancelCount cancel;
    cancel.answer = 7;
    SA_SetCancelCallbackSocket(socket_, CountingCancel, &cancel);
    char buffer[4];
    EXPECT_EQ(SA_ReadSocketLength(socket_, buffer, 4, SA_INFINITE), 7);
    // A write is cancelled at its first wait: fill the send path until the peer's window closes.
    std::string block(1 << 20, 'x');
    int32_t result = SA_OK;
    for (int i = 0; i < 64 && result == SA_OK; i++)
        result = SA_WriteSocketLength(socket_, block.data(), static_cast<uint32_t>(block.size()), SA_INFINITE);
    EXPECT_EQ(result, 7);
}

TEST_F(SocketTest, CancelValueEndsTheWaitForData)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    CancelCount cancel;
    SA_SetCancelCallbackSocket(socket_, CountingCancel, &cancel);
    uint32_t count = 0;
    EXPECT_EQ(SA_WaitForDataOnSocket(socket_, &count, 1500), SA_TIMEOUT);
    EXPECT_GE(cancel.calls.load(), 2);
    cancel.answer = 7;
    EXPECT_EQ(SA_WaitForDataOnSocket(socket_, &count, SA_INFINITE), 7);
}

TEST_F(SocketTest, WriteTimesOutWhenPeerStopsReading)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    std::string block(1 << 20, 'x');
    int32_t result = SA_OK;
    for (int i = 0; i < 64 && result == SA_OK; i++)
        result = SA_WriteSocketLength(socket_, block.data(), static_cast<uint32_t>(block.size()), 1200);
    EXPECT_EQ(result, SA_TIMEOUT);
}

TEST_F(SocketTest, WriteToClosedPeerFailsWithoutKillingProcess)
{
    LoopbackServer peer([](int, const std::atomic<bool> &) {});
    socket_ = Connect(peer.port());
    ASSERT_TRUE(peer.waitServed(1, 5000));
    // The send path must not rely on SIGPIPE being ignored by the runtime's start.
    struct sigaction restore {}, previous {};
    restore.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &restore, &previous);
    int32_t result = SA_OK;
    for (int i = 0; i < 50 && result == SA_OK; i++)
        result = SA_WriteSocketLength(socket_, "data", 4, 1000);
    sigaction(SIGPIPE, &previous, nullptr);
    EXPECT_EQ(result, SA_ERROR);
}

TEST_F(SocketTest, RefusedConnectFailsAtOnceInsteadOfTimingOut)
{
    testnet::RefusingPort refusing;
    uint32_t start = SA_GetTickMs();
    SA_Socket socket = nullptr;
    EXPECT_EQ(SA_ConnectSocketTCPTimeout("127.0.0.1", refusing.port(), &socket, nullptr, nullptr, 10000),
              SA_ERROR);
    EXPECT_EQ(socket, nullptr);
    EXPECT_LT(SA_ElapsedTime(start, SA_GetTickMs()), 10000u);
}

TEST_F(SocketTest, ConnectTimesOutWhenPeerNeverAnswers)
{
    // A full accept queue makes the kernel drop further connection requests unanswered.
    LoopbackServer peer(testnet::HoldOpen, 0);
    peer.pauseAccepting();
    int queued = testnet::ConnectLoopback(peer.port());
    ASSERT_GE(queued, 0);
    SA_Socket socket = nullptr;
    EXPECT_EQ(SA_ConnectSocketTCPTimeout("127.0.0.1", peer.port(), &socket, nullptr, nullptr, 1000), SA_TIMEOUT);
    EXPECT_EQ(socket, nullptr);
    close(queued);
}

TEST_F(SocketTest, BadAddressesFailWithoutWaiting)
{
    // Nothing here may reach past loopback: no broadcast, no name lookup.
    const char *addresses[] = {"", "0.0.0.0", "127.0.0.1_not-an-address", "127.0.0.300"};
    for (const char *address : addresses) {
        SA_Socket socket = nullptr;
        EXPECT_EQ(SA_ConnectSocketTCPTimeout(address, 80, &socket, nullptr, nullptr, 5000), SA_ERROR) << address;
        EXPECT_EQ(socket, nullptr);
    }
}

TEST_F(SocketTest, LocalAddressAfterUnderscoreIsBoundBeforeConnecting)
{
    std::string peerAddress;
    LoopbackServer peer([&](int fd, const std::atomic<bool> &stopping) {
        sockaddr_in from{};
        socklen_t length = sizeof(from);
        getpeername(fd, reinterpret_cast<sockaddr *>(&from), &length);
        char text[16];
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
        peerAddress = text;
        testnet::SendAll(fd, "!", 1);
        testnet::HoldOpen(fd, stopping);
    });
    SA_Socket socket = nullptr;
    ASSERT_EQ(SA_ConnectSocketTCPTimeout("127.0.0.1_127.0.0.2", peer.port(), &socket, nullptr, nullptr, 5000), SA_OK);
    socket_ = socket;
    char mark;
    ASSERT_EQ(SA_ReadSocketLength(socket_, &mark, 1, 5000), SA_OK);
    EXPECT_EQ(peerAddress, "127.0.0.2");
}

static int IntOption(int fd, int level, int name)
{
    int value = -1;
    socklen_t length = sizeof(value);
    getsockopt(fd, level, name, &value, &length);
    return value;
}

TEST_F(SocketTest, KeepAliveDetectsDeadPeerInAboutThirtySeconds)
{
    LoopbackServer peer(testnet::HoldOpen);
    uint32_t sizes = 65536;
    ASSERT_EQ(SA_ConnectSocketTCPTimeout("127.0.0.1", peer.port(), &socket_, &sizes, &sizes, 5000), SA_OK);
    int fd = socket_->iSocket;
    EXPECT_EQ(IntOption(fd, SOL_SOCKET, SO_KEEPALIVE), 1);
    EXPECT_EQ(IntOption(fd, IPPROTO_TCP, TCP_NODELAY), 1);
    int idle = IntOption(fd, IPPROTO_TCP, TCP_KEEPIDLE);
    int interval = IntOption(fd, IPPROTO_TCP, TCP_KEEPINTVL);
    int count = IntOption(fd, IPPROTO_TCP, TCP_KEEPCNT);
    EXPECT_EQ(idle, 10);
    EXPECT_EQ(interval, 2);
    EXPECT_NEAR(idle + interval * count, 30, 3);
}

TEST_F(SocketTest, LingerAndBlockingModeReachTheSocket)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    int fd = socket_->iSocket;
    EXPECT_NE(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_EQ(SA_SetBlockingSocket(socket_, 1), SA_OK);
    EXPECT_EQ(fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
    EXPECT_EQ(SA_SetBlockingSocket(socket_, 0), SA_OK);
    EXPECT_EQ(SA_SetLingerSocket(socket_, 1, 5), SA_OK);
    linger value{};
    socklen_t length = sizeof(value);
    getsockopt(fd, SOL_SOCKET, SO_LINGER, &value, &length);
    EXPECT_EQ(value.l_onoff, 1);
    EXPECT_EQ(value.l_linger, 5);
}

TEST_F(SocketTest, ZeroLengthReadIsReportedAndReadsNothing)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    char buffer[1];
    EXPECT_EQ(SA_ReadSocketLength(socket_, buffer, 0, 1000), SA_OK);
    EXPECT_GE(asserts.load(), 1);
}

TEST_F(SocketTest, KeepAliveBelowThirtySecondsFailsTheConnect)
{
    LoopbackServer peer(testnet::HoldOpen);
    SA_Socket socket = nullptr;
    EXPECT_EQ(SA_ConnectSocketTCPTimeoutEx("127.0.0.1", peer.port(), &socket, nullptr, nullptr, 5000, 20000), SA_ERROR);
    EXPECT_EQ(socket, nullptr);
}

TEST_F(SocketTest, DataWaitReportsCountTimeoutAndClose)
{
    LoopbackServer peer([](int fd, const std::atomic<bool> &stopping) {
        char go;
        if (!testnet::WaitReadable(fd, stopping, 5000) || recv(fd, &go, 1, 0) != 1)
            return;
        testnet::SendAll(fd, "12345", 5);
        if (testnet::WaitReadable(fd, stopping, 5000))
            recv(fd, &go, 1, 0);
    });
    socket_ = Connect(peer.port());
    uint32_t count = 99;
    EXPECT_EQ(SA_WaitForDataOnSocket(socket_, &count, 200), SA_TIMEOUT);
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(SA_WriteSocketLength(socket_, "g", 1, 1000), SA_OK);
    ASSERT_EQ(SA_WaitForDataOnSocket(socket_, &count, 5000), SA_OK);
    EXPECT_GE(count, 1u);
    char buffer[5];
    ASSERT_EQ(SA_ReadSocketLength(socket_, buffer, 5, 1000), SA_OK);
    ASSERT_EQ(SA_WriteSocketLength(socket_, "c", 1, 1000), SA_OK);
    EXPECT_EQ(SA_WaitForDataOnSocket(socket_, &count, 5000), SA_ERROR);
    EXPECT_EQ(count, 0u);
}

TEST_F(SocketTest, SelectWaitsForWritableAndTimesOutOnRead)
{
    LoopbackServer peer(testnet::HoldOpen);
    socket_ = Connect(peer.port());
    EXPECT_EQ(SA_SelectSocket(socket_, 1000, 0, 1), SA_OK);
    EXPECT_EQ(SA_SelectSocket(socket_, 100, 1, 0), SA_TIMEOUT);
    EXPECT_EQ(SA_SelectSocket(socket_, SA_INFINITE, 1, 1), SA_OK);
}

TEST_F(SocketTest, ListenerAcceptsWithPeerAddressAndTimesOutWithout)
{
    SA_Socket listener = nullptr;
    ASSERT_EQ(SA_ServerInitializeConnectionTCP(0, &listener, nullptr, nullptr), SA_OK);
    uint16_t port = testnet::LocalPort(listener->iSocket);
    SA_Socket accepted = nullptr;
    EXPECT_EQ(SA_WaitConnectionTCP(listener, 16, &accepted, nullptr, 100), SA_TIMEOUT);
    int client = testnet::ConnectLoopback(port);
    ASSERT_GE(client, 0);
    char address[16] = "";
    uint16_t peerPort = 0;
    ASSERT_EQ(SA_WaitConnectionTCPEx(listener, 16, &accepted, address, &peerPort, 5000), SA_OK);
    EXPECT_STREQ(address, "127.0.0.1");
    EXPECT_EQ(peerPort, testnet::LocalPort(client));
    testnet::SendAll(client, "hi", 2);
    char buffer[2];
    EXPECT_EQ(SA_ReadSocketLength(accepted, buffer, 2, 5000), SA_OK);
    SA_CloseSocket(&accepted);
    EXPECT_EQ(accepted, nullptr);
    close(client);
    SA_CloseSocket(&listener);
}

TEST_F(SocketTest, ListenerRefusesZeroBufferSize)
{
    uint32_t zero = 0;
    SA_Socket listener = nullptr;
    EXPECT_EQ(SA_ServerInitializeConnectionTCP(0, &listener, &zero, nullptr), SA_ERROR);
    EXPECT_EQ(listener, nullptr);
    EXPECT_GE(asserts.load(), 1);
}

TEST_F(SocketTest, CloseAcceptsNullVariable)
{
    SA_Socket socket = nullptr;
    EXPECT_EQ(SA_CloseSocket(&socket), SA_OK);
}

class UdpTest : public NetTest {
protected:
    void TearDown() override
    {
        SA_CloseSocket(&first_);
        SA_CloseSocket(&second_);
        NetTest::TearDown();
    }
    static void SendDatagram(uint16_t port, const std::string &data, const char *to = "127.0.0.1", int *fromPort = nullptr)
    {
        int fd = socket(AF_INET, SOCK_DGRAM, 0);
        int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        inet_pton(AF_INET, to, &addr.sin_addr);
        sendto(fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr *>(&addr), sizeof(addr));
        if (fromPort != nullptr)
            *fromPort = testnet::LocalPort(fd);
        close(fd);
    }
    uint16_t Open(SA_Socket *socket, uint16_t port = 0)
    {
        uint32_t largest = 0;
        EXPECT_EQ(SA_CreateUnconnectedSocketUDPReuseAddr(socket, port, nullptr, nullptr, &largest), SA_OK);
        EXPECT_EQ(largest, 65507u);
        return *socket != nullptr ? testnet::LocalPort((*socket)->iSocket) : 0;
    }
    SA_Socket first_ = nullptr;
    SA_Socket second_ = nullptr;
};

TEST_F(UdpTest, DatagramArrivesWithSenderAddressAndPort)
{
    uint16_t port = Open(&first_);
    int fromPort = 0;
    SendDatagram(port, "hello", "127.0.0.1", &fromPort);
    char buffer[64];
    uint32_t size = sizeof(buffer);
    char sender[16] = "";
    uint16_t senderPort = 0;
    ASSERT_EQ(SA_ReadUnconnectedSocketUDP(first_, buffer, &size, sender, &senderPort, 2000), SA_OK);
    EXPECT_EQ(std::string(buffer, size), "hello");
    EXPECT_STREQ(sender, "127.0.0.1");
    EXPECT_EQ(senderPort, fromPort);
}

TEST_F(UdpTest, OversizedDatagramIsReportedNotCut)
{
    uint16_t port = Open(&first_);
    SendDatagram(port, std::string(100, 'a'));
    SendDatagram(port, "fits");
    char buffer[16];
    uint32_t size = sizeof(buffer);
    EXPECT_EQ(SA_ReadUnconnectedSocketUDP(first_, buffer, &size, nullptr, nullptr, 2000), SA_ERROR);
    EXPECT_EQ(size, sizeof(buffer));
    ASSERT_EQ(SA_ReadUnconnectedSocketUDP(first_, buffer, &size, nullptr, nullptr, 2000), SA_OK);
    EXPECT_EQ(std::string(buffer, size), "fits");
}

TEST_F(UdpTest, EmptyDatagramIsAnErrorAndSilenceATimeout)
{
    uint16_t port = Open(&first_);
    char buffer[16];
    uint32_t size = sizeof(buffer);
    EXPECT_EQ(SA_ReadUnconnectedSocketUDP(first_, buffer, &size, nullptr, nullptr, 1000), SA_TIMEOUT);
    SendDatagram(port, "");
    EXPECT_EQ(SA_ReadUnconnectedSocketUDP(first_, buffer, &size, nullptr, nullptr, 2000), SA_ERROR);
}

TEST_F(UdpTest, TwoListenersShareAPortAndBothHearBroadcasts)
{
    uint16_t port = Open(&first_);
    ASSERT_EQ(Open(&second_, port), port);
    // The loopback broadcast address reaches every listener without leaving the machine.
    SendDatagram(port, "announce", "127.255.255.255");
    for (SA_Socket socket : {first_, second_}) {
        char buffer[64];
        uint32_t size = sizeof(buffer);
        ASSERT_EQ(SA_ReadUnconnectedSocketUDP(socket, buffer, &size, nullptr, nullptr, 2000), SA_OK);
        EXPECT_EQ(std::string(buffer, size), "announce");
    }
}

} // namespace
