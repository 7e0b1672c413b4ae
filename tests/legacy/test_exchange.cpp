// The exchanges of the command connection over a buffer standing for the sensor: reply codes
// into statuses and conditions, malformed and short replies, and statuses into error texts.
#include <string>

#include "KgvBlocks.h"
#include "LegacyTestSupport.h"

using kgvsim::header;
using kgvsim::packet;

namespace {

const uint32_t kCode = 0xAABA;

class ExchangeTest : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        handle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
        ASSERT_NE(handle, nullptr);
    }
    void TearDown() override
    {
        LumatrekDestroy(&handle);
        LumatrekTest::TearDown();
    }
    LT_Link link(const std::string &bytes)
    {
        input = bytes;
        return {nullptr, reinterpret_cast<const uint8_t *>(input.data()), uint32_t(input.size()), 0};
    }
    uint32_t global()
    {
        LumatrekConnectionState sState{};
        LumatrekGetState(handle, &sState);
        return sState.u32Global;
    }

    LumatrekHandle *handle = nullptr;
    std::string input;
};

struct ReplyCase {
    uint32_t u32Reply;
    int32_t i32Status;
    int iUsable;
};

const ReplyCase kReplies[] = {
    {kCode, 0, 1},      {0xAAAA, 0, 1},  {0xAAA9, -1, 1}, {0xAA9F, -3, 1},  {0xAAA5, -5, 1},
    {0xAAA8, -6, 1},    {0xAAA7, -9, 1}, {0xAAA6, -11, 1}, {0xAAA4, -13, 1}, {0xAAA3, -14, 1},
    {0x1111, 0, 0},     {0x1234, -8, 0}, {0xAAB1, -8, 0},
};

} // namespace

TEST_F(ExchangeTest, EachReplyCodeGivesItsStatusAndWhetherTheConnectionLasts)
{
    for (const ReplyCase &sCase : kReplies) {
        LT_Link sLink = link(header(0, sCase.u32Reply));
        int32_t i32Status = 99;
        EXPECT_EQ(ExchangeCommand(handle, &sLink, kCode, nullptr, 0, 100, &i32Status), sCase.iUsable)
            << std::hex << sCase.u32Reply;
        EXPECT_EQ(i32Status, sCase.i32Status) << std::hex << sCase.u32Reply;
    }
    EXPECT_EQ(handle->bBusy, 1);
    EXPECT_EQ(handle->bTooCold, 1);
    EXPECT_EQ(SA_AtomicLoad(&handle->bCommandReconnect), 1) << "set by the rebooting sensor";
    EXPECT_EQ(SA_AtomicLoad(&handle->bAddressChanged), 1);
    EXPECT_EQ(SA_AtomicLoad(&handle->bTimeReconnect), 1);
}

TEST_F(ExchangeTest, MalformedAndMissingRepliesLoseTheConnection)
{
    const struct {
        const char *pcszName;
        std::string bytes;
        int32_t i32Status;
    } kCases[] = {
        {"length on an acknowledgement", header(4, 0xAAAA) + "abcd", -8},
        {"length on a refusal", header(2, 0xAAA9) + "ab", -8},
        {"cut header", std::string("\x00\x00\x00", 3), -2},
        {"nothing", "", -2},
    };
    for (const auto &sCase : kCases) {
        LT_Link sLink = link(sCase.bytes);
        int32_t i32Status = 0;
        EXPECT_EQ(ExchangeCommand(handle, &sLink, kCode, nullptr, 0, 100, &i32Status), 0) << sCase.pcszName;
        EXPECT_EQ(i32Status, sCase.i32Status) << sCase.pcszName;
    }
}

TEST_F(ExchangeTest, AReadAnsweredWithoutItsDataIsAnInvalidAnswer)
{
    const struct {
        const char *pcszName;
        std::string bytes;
        int32_t i32Status;
        int iUsable;
    } kCases[] = {
        {"data", packet(kCode, "abcd"), 0, 1},
        {"bare acknowledgement", header(0, 0xAAAA), -8, 0},
        {"rebooting", header(0, 0x1111), -8, 0},
        {"not supported", header(0, 0xAAA8), -6, 1},
        {"refusal with bytes", header(4, 0xAAA8) + "abcd", -8, 0},
        {"shorter data", packet(kCode, "abc"), -8, 0},
        {"longer data", packet(kCode, "abcde"), -8, 0},
        {"cut data", header(4, kCode) + "ab", -2, 0},
    };
    for (const auto &sCase : kCases) {
        LT_Link sLink = link(sCase.bytes);
        char acOut[4] = {'s', 't', 'a', 'l'};
        int32_t i32Status = 0;
        EXPECT_EQ(ExchangeCommandRead(handle, &sLink, kCode, nullptr, 0, acOut, sizeof(acOut), 100, &i32Status),
                  sCase.iUsable)
            << sCase.pcszName;
        EXPECT_EQ(i32Status, sCase.i32Status) << sCase.pcszName;
        if (sCase.i32Status == 0) {
            EXPECT_EQ(std::string(acOut, 4), "abcd");
        }
    }
}

TEST_F(ExchangeTest, ArgumentsThatDoNotFitAreRefusedWithoutTraffic)
{
    LT_Link sLink = link(header(0, 0xAAAA));
    int32_t i32Status = 0;
    char acOut[4];
    EXPECT_EQ(ExchangeCommand(handle, &sLink, kCode, nullptr, 4, 100, &i32Status), 1);
    EXPECT_EQ(i32Status, -7);
    EXPECT_EQ(ExchangeCommandRead(handle, &sLink, kCode, nullptr, 0, nullptr, 4, 100, &i32Status), 1);
    EXPECT_EQ(i32Status, -7);
    EXPECT_EQ(ExchangeCommandRead(handle, &sLink, kCode, nullptr, 0, acOut, 0, 100, &i32Status), 1);
    EXPECT_EQ(i32Status, -7);
    EXPECT_EQ(sLink.u32InputPosition, 0u) << "nothing was read";
}

TEST_F(ExchangeTest, ReadsUpToABufferAndByPrefix)
{
    char acOut[8];
    uint32_t u32Got = 0;
    int32_t i32Status = 0;
    LT_Link sLink = link(packet(kCode, "abc"));
    EXPECT_EQ(ExchangeCommandReadUpTo(handle, &sLink, kCode, nullptr, 0, acOut, 8, 100, &i32Status, &u32Got), 1);
    EXPECT_EQ(i32Status, 0);
    EXPECT_EQ(u32Got, 3u);
    sLink = link(packet(kCode, "123456789"));
    EXPECT_EQ(ExchangeCommandReadUpTo(handle, &sLink, kCode, nullptr, 0, acOut, 8, 100, &i32Status, &u32Got), 0);
    EXPECT_EQ(i32Status, -7) << "longer than the buffer";
    sLink = link(header(0, 0xAAAA));
    EXPECT_EQ(ExchangeCommandReadUpTo(handle, &sLink, kCode, nullptr, 0, acOut, 8, 100, &i32Status, &u32Got), 1);
    EXPECT_EQ(u32Got, 0u);

    uint32_t u32Left = 0;
    sLink = link(packet(kCode, "headbody"));
    EXPECT_EQ(ExchangeCommandReadPrefix(handle, &sLink, kCode, nullptr, 0, acOut, 4, 100, &i32Status, &u32Left), 1);
    EXPECT_EQ(u32Left, 4u);
    EXPECT_EQ(std::string(acOut, 4), "head");
    sLink = link(packet(kCode, "ab"));
    EXPECT_EQ(ExchangeCommandReadPrefix(handle, &sLink, kCode, nullptr, 0, acOut, 4, 100, &i32Status, &u32Left), 0);
    EXPECT_EQ(i32Status, -7) << "shorter than the prefix";
}

TEST_F(ExchangeTest, TwoRepliesAcknowledgeThenGiveTheStatus)
{
    const struct {
        const char *pcszName;
        std::string bytes;
        int32_t i32Status;
        int iUsable;
    } kCases[] = {
        {"own code at once", header(0, kCode), 0, 1},
        {"acknowledged twice", header(0, 0xAAAA) + header(0, 0xAAAA), 0, 1},
        {"acknowledged then refused", header(0, 0xAAAA) + header(0, 0xAAA9), -1, 1},
        {"refused first", header(0, 0xAAA8), -6, 1},
        {"second missing", header(0, 0xAAAA), -2, 0},
        {"length on the second", header(0, 0xAAAA) + header(2, 0xAAAA) + "xx", -8, 0},
    };
    LT_timing()->u32TransferTimeoutMs = 100;
    for (const auto &sCase : kCases) {
        LT_Link sLink = link(sCase.bytes);
        int32_t i32Status = 0;
        const uint8_t au8Payload[8] = {};
        EXPECT_EQ(ExchangeCommandTwoReplies(handle, &sLink, kCode, au8Payload, 8, &i32Status), sCase.iUsable)
            << sCase.pcszName;
        EXPECT_EQ(i32Status, sCase.i32Status) << sCase.pcszName;
    }
}

TEST_F(ExchangeTest, StatusesBecomeTheLibrarysErrorsByConnection)
{
    const struct {
        int32_t i32Status;
        uint32_t u32Port;
        int32_t i32Code;
        const char *pcszText;
    } kCases[] = {
        {-1, 11011, -205, "Command nacked"},
        {-2, 11011, -206, "Command socket disconnected"},
        {-2, 10001, -218, "Stream socket disconnected"},
        {-2, 10000, -219, "Time socket disconnected"},
        {-3, 11011, -210, "Command socket busy"},
        {-4, 11011, -23, "Empty"},
        {-5, 11011, -22, "Full"},
        {-6, 11011, -215, "Command not supported"},
        {-7, 11011, -20, "Command invalid argument"},
        {-8, 11011, -207, "Command invalid answer"},
        {-9, 11011, -216, "Command RS232 locked"},
        {-10, 11011, -217, "Command RS232 not locked"},
        {-11, 11011, -21, "Timeout"},
        {-12, 11011, -25, "Lumatrek is closing"},
        {-12, 10001, -25, "Lumatrek is closing"},
        {-13, 11011, -230, "FLASH corrupted"},
        {-14, 11011, -240, "Too cold, camera not started"},
        {-15, 11011, -231, "FILE corrupted"},
        {-16, 11011, -27, "Read-only device"},
        {-99, 11011, -5, "Unknown"},
    };
    for (const auto &sCase : kCases) {
        LumatrekErrorInfo sError;
        LT_initError(&sError, "f", 1);
        CommandStatusToError(&sError, sCase.i32Status, sCase.u32Port);
        EXPECT_EQ(sError.i32Code, sCase.i32Code) << sCase.i32Status;
        EXPECT_STREQ(sError.pcszText, sCase.pcszText);
        EXPECT_EQ(sError.i32Critical, 0);
    }
}
