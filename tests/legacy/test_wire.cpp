// The legacy wire's pieces: the header and its four-character codes, the request record, and
// the dropping of unwanted bytes from a socket.
#include <gtest/gtest.h>

#include "KgvSensor.h"
#include "LegacyTestSupport.h"

using namespace kgvsim;

TEST(LegacyWire, HeaderIsLengthThenCodeWithFourCharacterCodesInMemoryOrder)
{
    const struct {
        uint32_t u32Length, u32Code;
        const char *pcszCode; // as the bytes on the wire, when a four-character code
    } kHeaders[] = {{16, LT_FOURCC('J', 'P', 'E', 'G'), "JPEG"},
                    {8, LT_FOURCC('G', 'P', 'I', 'O'), "GPIO"},
                    {0, 0xAAB2, nullptr},
                    {0xFFFFFFFF, 0x12345678, nullptr}};
    for (const auto &sHeader : kHeaders) {
        const LumatrekMessageHeader sIn = {sHeader.u32Length, sHeader.u32Code};
        uint8_t au8Bytes[LT_HEADER_SIZE];
        LT_encodeHeader(&sIn, au8Bytes);
        const std::string bytes(reinterpret_cast<char *>(au8Bytes), sizeof(au8Bytes));
        EXPECT_EQ(bytes, header(sHeader.u32Length, sHeader.u32Code));
        if (sHeader.pcszCode) {
            EXPECT_EQ(bytes.substr(4), sHeader.pcszCode);
        }
        LumatrekMessageHeader sOut{};
        LT_decodeHeader(reinterpret_cast<const uint8_t *>(bytes.data()), &sOut);
        EXPECT_EQ(sOut.u32Length, sHeader.u32Length);
        EXPECT_EQ(sOut.u32Code, sHeader.u32Code);
    }
    EXPECT_EQ(LT_FOURCC('J', 'P', 'E', 'G'), fourcc("JPEG"));
}

TEST(LegacyWire, RequestStartsFullAndWaitingForItsReply)
{
    LumatrekErrorInfo sError{};
    const uint32_t u32In = 5;
    uint8_t au8Out[4];
    LumatrekCommandRequest sRequest;
    memset(&sRequest, 0x5A, sizeof(sRequest));
    InitCommandRequest(&sRequest, &sError, 27, 160, &u32In, 4, au8Out, 4);
    EXPECT_EQ(sRequest.u32Command, 27u);
    EXPECT_EQ(sRequest.u32Argument, 160u);
    EXPECT_EQ(sRequest.u32WaitReply, 1u);
    EXPECT_EQ(sRequest.u32BusyOverride, 0u);
    EXPECT_EQ(sRequest.pPayload, &u32In);
    EXPECT_EQ(sRequest.u32PayloadSize, 4u);
    EXPECT_EQ(sRequest.i32Status, -5);
    EXPECT_EQ(sRequest.psError, &sError);
    EXPECT_EQ(sRequest.pReply, au8Out);
    EXPECT_EQ(sRequest.u32ReplySize, 4u);
    for (uint32_t u32Time : sRequest.au32Timing)
        EXPECT_EQ(u32Time, 0u);
}

TEST_F(LumatrekTest, SkippedBytesAreReadAndDroppedUpToTheNextPacket)
{
    LT_timing()->u32TransferTimeoutMs = 2000;
    KgvSensor sensor;
    SA_Socket psSocket = nullptr;
    ASSERT_EQ(SA_ConnectSocketTCPTimeout("127.0.0.1", sensor.port(Port::Command), &psSocket, nullptr, nullptr, 2000),
              SA_OK);
    ASSERT_TRUE(sensor.waitForOpenCount(Port::Command, 1, 5s));
    const std::string junk(3000, '\x33');
    const std::string next = packet(7, "ok");
    ASSERT_EQ(sensor.send(Port::Command, junk + next, {1, 1024, 1500, 2999, 3001}, 10ms), 1u);
    EXPECT_EQ(SkipSocketBytes(psSocket, 3000), 1);
    uint8_t au8Next[10];
    ASSERT_EQ(SA_ReadSocketLength(psSocket, au8Next, sizeof(au8Next), 2000), SA_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(au8Next), sizeof(au8Next)), next);
    EXPECT_EQ(SkipSocketBytes(psSocket, 0), 1);

    ASSERT_EQ(sensor.send(Port::Command, "abc"), 1u);
    sensor.dropConnections(Port::Command);
    EXPECT_EQ(SkipSocketBytes(psSocket, 10), 0) << "the connection ended before the tenth byte";
    SA_CloseSocket(&psSocket);
}
