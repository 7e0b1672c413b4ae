// The debug name service on loopback: "List", unknown names, over-long and split requests,
// silent clients, start through SA_Init and stop through SA_Release.
#include "LoopbackServer.h"
#include "SA.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class DebugServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        port_ = testnet::UnusedPort();
        ASSERT_EQ(SA_Init(0, 0, port_), SA_OK);
    }
    void TearDown() override { SA_Release(); }

    // The service thread opens its port after SA_Init returns: retry until it listens.
    int Connect()
    {
        uint32_t start = SA_GetTickMs();
        int fd = -1;
        while (fd < 0 && SA_ElapsedTime(start, SA_GetTickMs()) < 5000)
            fd = testnet::ConnectLoopback(port_);
        return fd;
    }

    // Sends the pieces and collects the whole answer until the service closes.
    std::string Ask(std::initializer_list<std::string> pieces)
    {
        int fd = Connect();
        EXPECT_GE(fd, 0);
        for (const std::string &piece : pieces)
            testnet::SendAll(fd, piece.data(), piece.size());
        std::string answer;
        char buffer[64];
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 5000) > 0) {
            ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
            if (got <= 0)
                break;
            answer.append(buffer, static_cast<size_t>(got));
        }
        close(fd);
        return answer;
    }

    uint16_t port_ = 0;
};

TEST_F(DebugServerTest, ListInAnyLetterCaseIsAnsweredWithEmptyList)
{
    EXPECT_EQ(Ask({std::string("LIST", 5)}), std::string(1, '\0'));
    EXPECT_EQ(Ask({std::string("list", 5)}), std::string(1, '\0'));
}

TEST_F(DebugServerTest, UnknownChannelIsAnsweredWithMinusOne)
{
    EXPECT_EQ(Ask({std::string("camera", 7)}), std::string(4, '\xFF'));
}

TEST_F(DebugServerTest, RequestSplitAcrossWritesIsCollected)
{
    EXPECT_EQ(Ask({"Li", std::string("st", 3)}), std::string(1, '\0'));
}

TEST_F(DebugServerTest, NameOfTwentyCharactersGetsNoAnswer)
{
    EXPECT_EQ(Ask({std::string("abcdefghijklmnopqrst", 21)}), "");
    EXPECT_EQ(Ask({std::string("abcdefghijklmnopqrs", 20)}), std::string(4, '\xFF'));
}

TEST_F(DebugServerTest, SilentClientIsDroppedAndServiceGoesOn)
{
    EXPECT_EQ(Ask({}), "");
    EXPECT_EQ(Ask({std::string("x", 2)}), std::string(4, '\xFF'));
}

TEST_F(DebugServerTest, ReleaseStopsTheService)
{
    ASSERT_EQ(Ask({std::string("List", 5)}).size(), 1u);
    SA_Release();
    EXPECT_LT(testnet::ConnectLoopback(port_), 0);
    ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
}

TEST(DebugChannelList, NamesCompareIgnoringAsciiCaseOnly)
{
    struct Case {
        const char *a, *b;
        int equal;
    } cases[] = {{"List", "LIST", 1}, {"abc", "abcd", 0}, {"", "", 1}, {"a-1", "A-1", 1}, {"\xE9", "\xC9", 0},
                 {"ab", "ac", 0}};
    for (const Case &c : cases)
        EXPECT_EQ(CmpForEqual(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(DebugChannelList, ServiceWithoutChannelsLocatesNothing)
{
    ASSERT_EQ(SA_Init(0, 0, -1), SA_OK);
    SA_DebugData service = DebugConnectionServerInit(testnet::UnusedPort(), 1, 2);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(LocateDebugChannel(service, "any"), nullptr);
    DebugConnectionServerRelease(&service);
    EXPECT_EQ(service, nullptr);
    EXPECT_EQ(DebugConnectionServerInit(70000, 1, 2), nullptr);
    SA_Release();
}

} // namespace
