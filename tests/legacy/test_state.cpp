// The connection state: how sockets and sensor conditions combine, the ready event that
// follows it, the callback on changes only, and the state read and wait of a handle.
#include <vector>

#include "LegacyTestSupport.h"
#include "SA_Internal.h"

namespace {

struct Step {
    uint32_t u32Which, u32Value;
};

struct StateCase {
    const char *pcszName;
    uint32_t u32Flags;
    std::vector<Step> steps;
    uint32_t u32Global;
};

const uint32_t kStream = LT_CREATE_STREAM | LT_CREATE_TIME;
const uint32_t kCommand = LT_CREATE_COMMAND;

const StateCase kStateCases[] = {
    {"time only", kStream, {{LT_SOCKET_TIME, 2}}, 0},
    {"time and stream", kStream, {{LT_SOCKET_TIME, 2}, {LT_SOCKET_STREAM, 2}}, 2},
    {"stream alone", kStream, {{LT_SOCKET_STREAM, 2}}, 2},
    {"command on a stream handle", kStream, {{LT_SOCKET_TIME, 2}, {LT_SOCKET_COMMAND, 2}}, 0},
    {"busy first", kStream, {{LT_SOCKET_STREAM, 2}, {7, 1}, {6, 5}, {5, 4}}, 1},
    {"too cold before locked", kStream, {{LT_SOCKET_STREAM, 2}, {6, 5}, {5, 4}}, 5},
    {"locked", kStream, {{LT_SOCKET_STREAM, 2}, {5, 4}}, 4},
    {"conditions without sockets", kStream, {{7, 1}, {6, 5}}, 0},
    {"condition cleared", kStream, {{LT_SOCKET_STREAM, 2}, {7, 1}, {7, 0}}, 2},
    {"condition set only by its value", kStream, {{LT_SOCKET_STREAM, 2}, {7, 2}, {6, 4}, {5, 5}}, 2},
    {"stream lost", kStream, {{LT_SOCKET_TIME, 2}, {LT_SOCKET_STREAM, 2}, {LT_SOCKET_STREAM, 0}}, 0},
    {"values other than 0 and 2 ignored", kStream, {{LT_SOCKET_STREAM, 2}, {LT_SOCKET_STREAM, 1}}, 2},
    {"command handle ready", kCommand, {{LT_SOCKET_COMMAND, 2}}, 2},
    {"command handle busy", kCommand, {{LT_SOCKET_COMMAND, 2}, {7, 1}}, 1},
    {"command handle with a stream socket", kCommand, {{LT_SOCKET_STREAM, 2}}, 0},
    {"command handle locked", kCommand, {{LT_SOCKET_COMMAND, 2}, {5, 4}}, 4},
};

} // namespace

TEST_F(LumatrekTest, SocketsAndConditionsCombineByPrecedenceWithTheReadyEventInStep)
{
    for (const StateCase &sCase : kStateCases) {
        // A handle of the case's kind with no thread: the time and command threads reset
        // their sockets and conditions when they start, which would race with the steps.
        LumatrekHandle *psHandle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
        ASSERT_NE(psHandle, nullptr);
        psHandle->bCommandOnly = sCase.u32Flags == kCommand;
        for (const Step &sStep : sCase.steps)
            SetConnectionState(psHandle, sStep.u32Which, sStep.u32Value);
        LumatrekConnectionState sState{};
        LumatrekGetState(psHandle, &sState);
        EXPECT_EQ(sState.u32Global, sCase.u32Global) << sCase.pcszName;
        EXPECT_EQ(WaitReady(psHandle, 0), sCase.u32Global == 2 ? 0 : -21) << sCase.pcszName;
        LumatrekDestroy(&psHandle);
    }
}

TEST_F(LumatrekTest, CallbackComesOnlyWhenTheGlobalStateOrASocketChanges)
{
    // No time thread: its own first report of the time socket would land among these.
    LumatrekHandle *psHandle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
    ASSERT_NE(psHandle, nullptr);
    const size_t szMark = stateCount();
    SetConnectionState(psHandle, 7, 1); // busy with nothing connected: the state stays 0
    SetConnectionState(psHandle, 7, 0);
    SetConnectionState(psHandle, LT_SOCKET_TIME, 2);
    SetConnectionState(psHandle, LT_SOCKET_TIME, 2);
    SetConnectionState(psHandle, 5, 4);
    SetConnectionState(psHandle, 5, 4);
    SetConnectionState(psHandle, 5, 0);
    SetConnectionState(psHandle, LT_SOCKET_STREAM, 2);
    SetConnectionState(psHandle, 9, 2); // nothing of that number
    auto reports = statesSince(szMark);
    ASSERT_EQ(reports.size(), 4u);
    const uint32_t aExpected[][4] = {{0, 2, 0, 0}, {4, 2, 0, 0}, {0, 2, 0, 0}, {2, 2, 0, 2}};
    for (size_t i = 0; i < reports.size(); i++) {
        EXPECT_EQ(reports[i].u32Global, aExpected[i][0]) << i;
        EXPECT_EQ(reports[i].u32TimeSocket, aExpected[i][1]) << i;
        EXPECT_EQ(reports[i].u32CommandSocket, aExpected[i][2]) << i;
        EXPECT_EQ(reports[i].u32StreamSocket, aExpected[i][3]) << i;
    }
    EXPECT_EQ(WaitReady(psHandle, 0), 0);
    SetConnectionState(psHandle, LT_SOCKET_STREAM, 0);
    EXPECT_EQ(WaitReady(psHandle, 0), -21);
    EXPECT_EQ(statesSince(szMark).back().u32Global, 0u);
    LumatrekDestroy(&psHandle);
}

TEST_F(LumatrekTest, AStoppedHandleKeepsTheCallersStateRecordAndWaitsNeedAHandle)
{
    EXPECT_EQ(WaitReady(nullptr, SA_INFINITE), -20);
    LumatrekGetState(nullptr, nullptr);
    LumatrekHandle *psHandle = create("127.0.0.1:0,0,0", kCommand);
    ASSERT_NE(psHandle, nullptr);
    SetConnectionState(psHandle, LT_SOCKET_COMMAND, 2);
    SA_AtomicStore(&psHandle->i32Running, 0);
    LumatrekConnectionState sState = {9, 9, 9, 9};
    LumatrekGetState(psHandle, &sState);
    EXPECT_EQ(sState.u32Global, 9u);
    EXPECT_EQ(sState.u32CommandSocket, 9u);
    EXPECT_TRUE(reported().empty()) << "reading the state reports nothing";
    SetConnectionState(psHandle, LT_SOCKET_TIME, 2);
    EXPECT_EQ(WaitReady(psHandle, 0), -21) << "a stopped handle is never ready";
    LumatrekDestroy(&psHandle);
}

TEST_F(LumatrekTest, ReadyWaitRunsItsWholeTimeAcrossTheTickWrap)
{
    LumatrekHandle *psHandle = create("127.0.0.1:0,0,0", kCommand);
    ASSERT_NE(psHandle, nullptr);
    SA_SetTickOffsetForTest(0);
    SA_SetTickOffsetForTest(0u - 100u - SA_GetTickMs());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitReady(psHandle, 300), -21);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_LT(SA_GetTickMs(), 1000u) << "the tick wrapped during the wait";
    SA_SetTickOffsetForTest(0);
    LumatrekDestroy(&psHandle);
}
