// Legacy handles: connection texts, creation by kind, destruction with its threads and queued
// requests, and a thread that outlives its join limit.
#include <atomic>
#include <future>
#include <thread>

#include "LegacyTestSupport.h"
#include "WaitQueueInternal.h"

namespace {

struct AddressCase {
    const char *pcszText;
    uint32_t u32Flags;
    const char *pcszHost;
    uint32_t u32Command, u32StreamPort, u32Override, u32Time;
};

const AddressCase kAddressCases[] = {
    {"10.0.0.5", LT_CREATE_STREAM, "10.0.0.5", 11011, 10001, 0, 10000},
    {"10.0.0.5:0,10005,10006", LT_CREATE_STREAM, "10.0.0.5", 0, 10001, 10005, 10006},
    {"10.0.0.5:11011,0,0", LT_CREATE_STREAM, "10.0.0.5", 11011, 10001, 0, 0},
    {"  \tsensor.local", LT_CREATE_STREAM, "sensor.local", 11011, 10001, 0, 10000},
    {"10.0.0.5:12000", LT_CREATE_STREAM, "10.0.0.5", 12000, 10001, 0, 0},
    {"10.0.0.5:x,,7", LT_CREATE_STREAM, "10.0.0.5", 0, 10001, 0, 7},
    {"10.0.0.5: 99999,65535,2,3", LT_CREATE_STREAM, "10.0.0.5", 0, 10001, 65535, 2},
    {"", LT_CREATE_STREAM, "", 11011, 10001, 0, 10000},
};

// Holds its handle's thread until released, then touches the handle once more.
struct StuckThread {
    static std::atomic<bool> release;
    static std::atomic<uint32_t> seenPort;
    static void run(LumatrekHandle *psHandle)
    {
        while (!release.load())
            SA_Sleep(5);
        seenPort = psHandle->u32CommandPort;
        SetConnectionState(psHandle, LT_SOCKET_COMMAND, LT_SOCKET_CONNECTED);
    }
};
std::atomic<bool> StuckThread::release{false};
std::atomic<uint32_t> StuckThread::seenPort{0};

std::promise<void> *g_psQueued = nullptr;
void onQueued(void *)
{
    if (g_psQueued)
        g_psQueued->set_value();
}

bool waitReferences(int32_t i32Count, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (LT_libraryReferences() != i32Count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

} // namespace

TEST_F(LumatrekTest, ConnectionTextsGiveTheHostAndPorts)
{
    for (const AddressCase &sCase : kAddressCases) {
        LumatrekHandle *psHandle = create(sCase.pcszText, sCase.u32Flags);
        ASSERT_NE(psHandle, nullptr) << sCase.pcszText;
        EXPECT_STREQ(psHandle->pszHost, sCase.pcszHost) << sCase.pcszText;
        EXPECT_EQ(psHandle->u32CommandPort, sCase.u32Command) << sCase.pcszText;
        EXPECT_EQ(psHandle->u32StreamPort, sCase.u32StreamPort) << sCase.pcszText;
        EXPECT_EQ(psHandle->u32StreamPortOverride, sCase.u32Override) << sCase.pcszText;
        EXPECT_EQ(psHandle->u32TimePort, sCase.u32Time) << sCase.pcszText;
        LumatrekDestroy(&psHandle);
    }
    LumatrekHandle *psCommand = create("10.0.0.5", LT_CREATE_COMMAND);
    ASSERT_NE(psCommand, nullptr);
    EXPECT_EQ(psCommand->u32StreamPort, 0u) << "no stream port without a stream";
    LumatrekDestroy(&psCommand);
}

TEST_F(LumatrekTest, EachKindStartsItsThreadsAndDestructionEndsThemAndFreesTheHandle)
{
    const struct {
        uint32_t u32Flags;
        bool bCommandThread, bTimeThread, bCommandOnly;
    } kKinds[] = {
        {LT_CREATE_COMMAND, true, false, true},
        {LT_CREATE_STREAM, false, false, false},
        {LT_CREATE_STREAM | LT_CREATE_TIME, false, true, false},
    };
    const int32_t i32References = LT_libraryReferences();
    for (const auto &sKind : kKinds) {
        const size_t szMark = stateCount();
        LumatrekHandle *psHandle = create("127.0.0.1", sKind.u32Flags);
        ASSERT_NE(psHandle, nullptr);
        EXPECT_EQ(LT_libraryReferences(), i32References + 1);
        EXPECT_EQ(psHandle->sCommandThread.psThread != nullptr, sKind.bCommandThread) << sKind.u32Flags;
        EXPECT_EQ(psHandle->sTimeThread.psThread != nullptr, sKind.bTimeThread) << sKind.u32Flags;
        EXPECT_EQ(psHandle->bCommandOnly != 0, sKind.bCommandOnly);
        EXPECT_EQ(psHandle->bHasTime != 0, sKind.bTimeThread);
        EXPECT_EQ(statesSince(szMark).size(), 1u) << "creation reports the reset state once";

        const size_t szBeforeDestroy = stateCount();
        LumatrekDestroy(&psHandle);
        EXPECT_EQ(psHandle, nullptr);
        EXPECT_EQ(LT_libraryReferences(), i32References) << "freed at once when its threads ended";
        auto after = statesSince(szBeforeDestroy);
        ASSERT_FALSE(after.empty());
        EXPECT_EQ(after.back().u32Global, 0u);
        EXPECT_TRUE(reported().empty());
    }
    LumatrekDestroy(nullptr);
    LumatrekHandle *psNone = nullptr;
    LumatrekDestroy(&psNone);
}

TEST_F(LumatrekTest, LightStreamAndCommandCreationsNameThemselvesInTheirFailures)
{
    const int32_t i32References = LT_libraryReferences();
    EXPECT_EQ(LumatrekCreateCommand(nullptr, &LumatrekTest::onState, this, &LumatrekTest::onError, this), nullptr);
    EXPECT_EQ(LumatrekCreateLightStream(nullptr, 1, 1, &LumatrekTest::onState, this, &LumatrekTest::onError, this),
              nullptr);
    auto reports = reported();
    ASSERT_EQ(reports.size(), 2u);
    const char *apcszFunctions[] = {"LumatrekCreateCommand", "LumatrekCreateLightStream"};
    for (size_t i = 0; i < 2; i++) {
        EXPECT_EQ(reports[i].psHandle, nullptr);
        EXPECT_EQ(reports[i].i32Code, -20);
        EXPECT_EQ(reports[i].text, "Invalid argument");
        EXPECT_EQ(reports[i].i32Critical, 1);
        EXPECT_EQ(reports[i].i32Type, 1);
        EXPECT_EQ(reports[i].function, apcszFunctions[i]);
    }
    EXPECT_EQ(LT_libraryReferences(), i32References) << "a failed creation leaves nothing behind";

    LumatrekHandle *psHandle =
        LumatrekCreateLightStream("127.0.0.1:0,0,0", 1, 1, &LumatrekTest::onState, this, &LumatrekTest::onError, this);
    ASSERT_NE(psHandle, nullptr);
    EXPECT_EQ(psHandle->u32StreamOption, 1u);
    EXPECT_EQ(psHandle->u32RunState, 1u);
    EXPECT_EQ(psHandle->u32StreamMask, 0x1FFFFFFFu);
    LumatrekDestroy(&psHandle);
}

TEST_F(LumatrekTest, RequestsStillQueuedAtDestructionAreAnsweredAsClosing)
{
    // The time queue's case waits on a silent clock, with the time connection's tests.
    const struct {
        uint32_t u32Flags;
        SA_WaitQueueData LumatrekHandle::*pQueue;
    } kQueues[] = {
        {LT_CREATE_COMMAND, &LumatrekHandle::psCommandQueue},
        {LT_CREATE_STREAM, &LumatrekHandle::psCommandQueue},
    };
    for (const auto &sQueue : kQueues) {
        LumatrekHandle *psHandle = create("127.0.0.1:0,0,0", sQueue.u32Flags);
        ASSERT_NE(psHandle, nullptr);
        // Failed connections answer waiting requests unless the command mode is on.
        LumatrekSetCommandMode(psHandle, SA_INFINITE);
        std::promise<void> queued;
        g_psQueued = &queued;
        SA_SetWaitQueueSentHookForTest(&onQueued);
        LumatrekErrorInfo sError;
        LumatrekCommandRequest sRequest;
        InitCommandRequest(&sRequest, &sError, 1, 0, nullptr, 0, nullptr, 0);
        EXPECT_EQ(sRequest.i32Status, LT_STATUS_FULL);
        auto sent = std::async(std::launch::async, [&] {
            return LT_submitRequest(psHandle, psHandle->*sQueue.pQueue, &sRequest, SA_INFINITE);
        });
        ASSERT_EQ(queued.get_future().wait_for(5s), std::future_status::ready);
        SA_SetWaitQueueSentHookForTest(nullptr);
        g_psQueued = nullptr;
        LumatrekDestroy(&psHandle);
        ASSERT_EQ(sent.wait_for(5s), std::future_status::ready);
        EXPECT_EQ(sent.get(), SA_OK);
        EXPECT_EQ(sRequest.i32Status, LT_STATUS_CLOSING);
        EXPECT_STREQ(LT_statusName(sRequest.i32Status), "UNKNOWN");
    }
}

TEST_F(LumatrekTest, AThreadPastItsJoinLimitIsReportedAndTheHandleOutlivesIt)
{
    LT_timing()->u32LongJoinMs = 100;
    const int32_t i32References = LT_libraryReferences();
    LumatrekHandle *psHandle = create("127.0.0.1:4321,0,0", LT_CREATE_STREAM);
    ASSERT_NE(psHandle, nullptr);
    StuckThread::release = false;
    ASSERT_EQ(LT_startThread(psHandle, &psHandle->sCommandThread, &StuckThread::run, 0, "StuckThread"), 1);

    LumatrekDestroy(&psHandle);
    EXPECT_EQ(psHandle, nullptr);
    auto reports = reported();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].i32Code, -95);
    EXPECT_EQ(reports[0].text, "Command thread did not terminate");
    EXPECT_EQ(reports[0].i32Critical, 1);
    EXPECT_EQ(reports[0].function, "LumatrekDestroy");
    EXPECT_EQ(LT_libraryReferences(), i32References + 1) << "kept while its thread runs";

    const size_t szStates = stateCount();
    StuckThread::release = true;
    EXPECT_TRUE(waitReferences(i32References, 5s)) << "freed by its last thread";
    EXPECT_EQ(StuckThread::seenPort.load(), 4321u);
    EXPECT_EQ(stateCount(), szStates) << "a destroyed handle calls back no more";
    EXPECT_EQ(reported().size(), 1u);
}
