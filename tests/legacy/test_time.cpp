// The clock of the time connection: the sample filter and the round-trip steps, the
// conversions across the wraps of both clocks, the time thread against the test sensor's
// clock, and the reboot through the time socket.
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

#include "KgvDevice.h"
#include "KgvSensor.h"
#include "LegacyTestSupport.h"
#include "SA_Internal.h"
#include "WaitQueueInternal.h"

using namespace kgvsim;

namespace {

// Polls a condition that no callback announces, for at most the limit.
bool eventually(const std::function<bool()> &condition, std::chrono::milliseconds limit = 5s)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

struct FilterCase {
    const char *pcszName;
    uint32_t au32RoundTrips[LT_TIME_SAMPLES];
    uint32_t u32Average, u32Index;
};

const FilterCase kFilterCases[] = {
    {"lowest second, highest third", {12, 3, 40, 9, 10}, 10, 4},
    {"all equal", {7, 7, 7, 7, 7}, 7, 1},
    {"first nearest kept on ties", {5, 9, 5, 9, 5}, 6, 2},
    {"descending", {50, 40, 30, 20, 10}, 30, 2},
    {"highest first", {90, 10, 20, 30, 40}, 30, 3},
    {"lowest last", {20, 30, 40, 50, 1}, 30, 1},
    {"sum wraps as unsigned", {0xFFFFFFF0u, 0xFFFFFFF1u, 2, 0x80000000u, 3}, 0x2AAAAAA6u, 4},
};

class TimeTest : public LumatrekTest {
protected:
    void TearDown() override
    {
        LumatrekDestroy(&handle);
        clock.reset();
        sensor.reset();
        SA_SetTickOffsetForTest(0);
        LumatrekTest::TearDown();
    }
    // A handle with a stream (not started) and a time socket on the test sensor's clock.
    void start(uint32_t u32SensorStart, std::chrono::milliseconds delay = 0ms,
               std::vector<KgvClock::TimeAnswer> script = {})
    {
        sensor = std::make_unique<KgvSensor>();
        clock = std::make_unique<KgvClock>(*sensor, u32SensorStart);
        clock->setDelay(delay);
        clock->script(std::move(script));
        const std::string text = "127.0.0.1:0,0," + std::to_string(sensor->port(Port::Time));
        handle = create(text.c_str(), LT_CREATE_STREAM | LT_CREATE_TIME);
        ASSERT_NE(handle, nullptr);
    }
    bool clockValid()
    {
        return eventually([&] { return SA_AtomicLoad(&handle->bClockValid) == 1; });
    }
    uint32_t timeSocket()
    {
        LumatrekConnectionState sState{};
        LumatrekGetState(handle, &sState);
        return sState.u32TimeSocket;
    }
    void setReference(uint32_t u32Send, uint32_t u32Sensor, uint32_t u32RoundTrip)
    {
        LT_lock(handle, LT_MUTEX_TIME_SYNC);
        handle->u32ReferenceSendTick = u32Send;
        handle->u32ReferenceSensorTime = u32Sensor;
        handle->u32ReferenceRoundTrip = u32RoundTrip;
        LT_unlock(handle, LT_MUTEX_TIME_SYNC);
    }
    uint32_t roundTrip()
    {
        LT_lock(handle, LT_MUTEX_TIME_SYNC);
        const uint32_t u32RoundTrip = handle->u32ReferenceRoundTrip;
        LT_unlock(handle, LT_MUTEX_TIME_SYNC);
        return u32RoundTrip;
    }
    // How far the mapped sensor clock is from the local tick now.
    int32_t mappingError()
    {
        const uint32_t u32Local = SA_GetTickMs();
        return SA_DiffTime(u32Local, SensorTimeToLocal(handle, clock->now()));
    }

    std::unique_ptr<KgvSensor> sensor;
    std::unique_ptr<KgvClock> clock;
    LumatrekHandle *handle = nullptr;
};

} // namespace

TEST(TimeFilter, ChoosesTheSampleNearestTheAverageOfTheMiddleRoundTrips)
{
    for (const FilterCase &sCase : kFilterCases) {
        LT_TimeSample asSamples[LT_TIME_SAMPLES];
        for (uint32_t i = 0; i < LT_TIME_SAMPLES; i++)
            asSamples[i] = {1000 + i, 5000 + i, sCase.au32RoundTrips[i]};
        uint32_t u32Average = 0, u32Index = 99;
        SelectTimeSample(asSamples, &u32Average, &u32Index);
        EXPECT_EQ(u32Average, sCase.u32Average) << sCase.pcszName;
        EXPECT_EQ(u32Index, sCase.u32Index) << sCase.pcszName;
    }
}

TEST(TimeFilter, TheStoredRoundTripMovesOneStepTowardsItsTarget)
{
    const struct {
        uint32_t u32Stored, u32Target, u32Next;
    } kSteps[] = {{30, 12, 20}, {30, 25, 29}, {30, 30, 30}, {5, 30, 15}, {5, 8, 6}, {11, 0, 1}, {10, 0, 9}};
    for (const auto &sStep : kSteps)
        EXPECT_EQ(LT_stepRoundTrip(sStep.u32Stored, sStep.u32Target), sStep.u32Next)
            << sStep.u32Stored << " towards " << sStep.u32Target;
}

TEST_F(TimeTest, ConversionsHoldAcrossTheWrapOfEitherClock)
{
    handle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(SensorTimeToLocal(handle, 1234), 1234u) << "no reference yet: the value itself";
    EXPECT_EQ(LocalTimeToSensor(handle, 1234), 1234u);
    const struct {
        uint32_t u32Send, u32Sensor, u32RoundTrip, u32SensorTime, u32Local;
    } kCases[] = {
        {0xFFFFFF00u, 0x00000100u, 10, 0x00000180u, 0xFFFFFF8Au},  // local clock wraps later
        {0xFFFFFF00u, 0x00000100u, 10, 0x00000300u, 0x0000010Au},  // past the local wrap
        {0x00000100u, 0xFFFFFF00u, 4, 0x00000010u, 0x00000214u},  // past the sensor wrap
        {0x80000000u, 0x7FFFFFFFu, 0, 0x80000000u, 0x80000001u},
    };
    for (const auto &sCase : kCases) {
        setReference(sCase.u32Send, sCase.u32Sensor, sCase.u32RoundTrip);
        EXPECT_EQ(SensorTimeToLocal(handle, sCase.u32SensorTime), sCase.u32Local);
        EXPECT_EQ(LocalTimeToSensor(handle, sCase.u32Local), sCase.u32SensorTime + 2 * sCase.u32RoundTrip)
            << "both ways add the round trip";
    }
}

TEST_F(TimeTest, TheMonotonicConversionNeverGoesBackEvenAcrossTheWrap)
{
    handle = create("127.0.0.1:0,0,0", LT_CREATE_STREAM);
    ASSERT_NE(handle, nullptr);
    setReference(0xFFFFFF00u, 0, 0);
    EXPECT_EQ(SensorTimeToLocalMonotonic(handle, 0xF0), 0xFFFFFFF0u);
    EXPECT_EQ(SensorTimeToLocalMonotonic(handle, 0x80), 0xFFFFFFF0u) << "earlier: the previous result";
    EXPECT_EQ(SensorTimeToLocalMonotonic(handle, 0x110), 0x10u) << "later, past the wrap";
    EXPECT_EQ(SensorTimeToLocalMonotonic(handle, 0x100), 0x10u);
}

TEST_F(TimeTest, TheSensorClockStaysMappedWhileBothClocksWrap)
{
    SA_SetTickOffsetForTest(0);
    SA_SetTickOffsetForTest(0u - 400u - SA_GetTickMs());
    start(0xFFFFFE00u);
    ASSERT_TRUE(clockValid());
    EXPECT_EQ(timeSocket(), uint32_t(LT_SOCKET_CONNECTED));
    EXPECT_LE(std::abs(mappingError()), 1000);
    ASSERT_TRUE(eventually([&] { return SA_GetTickMs() < 0x80000000u && clock->now() < 0x80000000u; }))
        << "both clocks wrapped";
    const size_t szRequests = clock->requests();
    ASSERT_TRUE(eventually([&] { return clock->requests() >= szRequests + 2; })) << "samples go on after the wraps";
    EXPECT_LE(std::abs(mappingError()), 1000) << "a wrap would put it 2^32 ms away";
    EXPECT_EQ(sensor->connectionCount(Port::Time), 1u);
}

TEST_F(TimeTest, TheRoundTripFollowsTheSensorsDelayInSteps)
{
    start(1000, 100ms);
    ASSERT_TRUE(clockValid());
    const uint32_t u32First = roundTrip();
    EXPECT_GE(u32First, 100u) << "the first sample is the reference as it came";
    clock->setDelay(20ms);
    ASSERT_TRUE(eventually([&] { return roundTrip() < u32First; }, 10s)) << "moved after five samples";
    const uint32_t u32Stepped = roundTrip();
    EXPECT_EQ(u32First - u32Stepped, 10u) << "far from the target: a step of 10 ms";
}

TEST_F(TimeTest, AReplyCutAcrossReadSlicesKeepsItsFraming)
{
    start(5000);
    ASSERT_TRUE(clockValid());
    // Each reply stops after three header bytes for longer than a read slice.
    clock->script({{KgvClock::Kind::Split, 120ms, 3}, {KgvClock::Kind::Split, 120ms, 5},
                   {KgvClock::Kind::Split, 120ms, 9}});
    const size_t szRequests = clock->requests();
    ASSERT_TRUE(eventually([&] { return clock->requests() >= szRequests + 5; }));
    EXPECT_EQ(sensor->connectionCount(Port::Time), 1u) << "no reply was misread";
    EXPECT_LE(std::abs(mappingError()), 1000);
}

TEST_F(TimeTest, ABadOrMissingReplyMakesANewConnection)
{
    LT_timing()->u32TimeReplySlices = 3;
    const KgvClock::Kind kKinds[] = {KgvClock::Kind::WrongCode, KgvClock::Kind::WrongLength, KgvClock::Kind::Silence,
                                     KgvClock::Kind::Drop};
    start(5000);
    ASSERT_TRUE(clockValid());
    for (KgvClock::Kind eKind : kKinds) {
        const size_t szConnections = sensor->connectionCount(Port::Time);
        clock->script({{eKind, 0ms, 3}});
        EXPECT_TRUE(sensor->waitForConnections(Port::Time, szConnections + 1, 5s)) << int(eKind);
        ASSERT_TRUE(clockValid());
    }
}

TEST_F(TimeTest, ARebootFallsBackToTheTimeSocket)
{
    start(5000);
    ASSERT_TRUE(clockValid());
    ASSERT_EQ(timeSocket(), uint32_t(LT_SOCKET_CONNECTED));
    EXPECT_EQ(LumatrekReboot(handle), 0);
    EXPECT_EQ(clock->reboots(), 1u);
    auto reboot = sensor->waitForPacket(Port::Time, kRebooting, 1s);
    ASSERT_TRUE(reboot);
    EXPECT_TRUE(reboot->payload.empty());
    EXPECT_TRUE(reported().empty()) << "the failure on the command connection is not reported";

    LumatrekErrorInfo sError;
    LT_initError(&sError, "test", 1);
    const uint8_t u8Data = 1;
    EXPECT_EQ(SendTimeCommand(handle, &sError, LT_TIME_CMD_REBOOT, 1, &u8Data, 0, nullptr), LT_STATUS_INVALIDARGUMENT);
    EXPECT_EQ(SendTimeCommand(handle, &sError, 7, 0, nullptr, 0, nullptr), LT_STATUS_NOTSUPPORTED);
}

TEST_F(TimeTest, ATimeCommandWhileTheTimeSocketIsDownIsAnsweredAtOnce)
{
    sensor = std::make_unique<KgvSensor>();
    sensor->setListening(Port::Time, false);
    const std::string text = "127.0.0.1:0,0," + std::to_string(sensor->port(Port::Time));
    handle = create(text.c_str(), LT_CREATE_STREAM | LT_CREATE_TIME);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LumatrekReboot(handle), LT_STATUS_DISCONNECTED);
    EXPECT_EQ(reported().back().i32Code, -219);
    EXPECT_EQ(reported().back().text, "Time socket disconnected");
    EXPECT_EQ(reported().back().function, "LumatrekReboot");
}

TEST_F(TimeTest, RequestsStillQueuedAtDestructionAreAnsweredAsClosing)
{
    start(5000, 0ms, {{KgvClock::Kind::Silence, 0ms, 3}});
    ASSERT_TRUE(sensor->waitForPacket(Port::Time, kTimeCode, 5s)) << "the thread waits for its reply";
    LumatrekErrorInfo sError;
    LT_initError(&sError, "test", 1);
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, &sError, LT_TIME_CMD_REBOOT, 0, nullptr, 0, nullptr, 0);
    static std::promise<void> *s_psQueued;
    std::promise<void> queued;
    s_psQueued = &queued;
    SA_SetWaitQueueSentHookForTest([](void *) { s_psQueued->set_value(); });
    auto sent = std::async(std::launch::async, [&] {
        return LT_submitRequest(handle, handle->psTimeCommandQueue, &sRequest, SA_INFINITE);
    });
    ASSERT_EQ(queued.get_future().wait_for(5s), std::future_status::ready);
    SA_SetWaitQueueSentHookForTest(nullptr);
    LumatrekDestroy(&handle);
    ASSERT_EQ(sent.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(sent.get(), SA_OK);
    EXPECT_EQ(sRequest.i32Status, LT_STATUS_CLOSING);
}
