// A light stream handle on the test sensor's stream port: connection and subscription,
// configuration pushed on every connection, frames, stream commands, pause across
// reconnections, keep-alives, and the faults a sensor can make.
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "KgvBlocks.h"
#include "KgvDevice.h"
#include "KgvSensor.h"
#include "LegacyTestSupport.h"

using kgvsim::Block;
using kgvsim::fourcc;
using kgvsim::packet;
using kgvsim::Port;

namespace {

struct Delivered {
    std::mutex m;
    std::vector<uint32_t> configTypes;
    std::vector<uint32_t> eventTypes;
    std::vector<uint32_t> frameConnections;
    std::vector<std::string> frames;
};

void onConfig(LumatrekHandle *, LumatrekConfigRecord *psRecord, void *pUser)
{
    auto *d = static_cast<Delivered *>(pUser);
    std::lock_guard lock(d->m);
    d->configTypes.push_back(psRecord->u32Type);
}
void onEvent(LumatrekHandle *, LumatrekEvent *psEvent, void *pUser)
{
    auto *d = static_cast<Delivered *>(pUser);
    {
        std::lock_guard lock(d->m);
        d->eventTypes.push_back(psEvent->u32Type);
    }
    LumatrekReleaseEvent(&psEvent);
}
void onFrame(LumatrekHandle *, uint32_t, uint32_t u32Connection, uint32_t, uint32_t, uint32_t, uint32_t u32Size,
             const uint8_t *pu8Frame, void *pUser)
{
    auto *d = static_cast<Delivered *>(pUser);
    std::lock_guard lock(d->m);
    d->frameConnections.push_back(u32Connection);
    d->frames.emplace_back(reinterpret_cast<const char *>(pu8Frame), u32Size);
}

// What the sensor pushes on every stream connection: its version, its configuration, the end mark.
std::string streamGreeting()
{
    return packet(274, kgvsim::versionBlock({})) + packet(43693, kgvsim::videoBlock({})) +
           packet(43747, kgvsim::measuresBlock({1, 2, 3, 4}, 20)) + packet(21862);
}

std::string frame(const std::string &bytes)
{
    return packet(fourcc("JPEG"), std::string(Block(12).u32(0, 1234).u32(4, 1).u32(8, 1)) + bytes);
}

} // namespace

class StreamConnectionTest : public LumatrekTest {
protected:
    void SetUp() override
    {
        LumatrekTest::SetUp();
        LT_Timing *psTiming = LT_timing();
        psTiming->u32ReconnectPauseMs = 40;
        psTiming->u32TransferTimeoutMs = 3000;
        psTiming->u32StreamKeepAliveMs = 10000;
        sensor = std::make_unique<kgvsim::KgvSensor>();
        sensor->setGreeting(Port::Stream, streamGreeting());
    }
    void TearDown() override
    {
        LumatrekDestroy(&handle);
        sensor.reset();
        LumatrekTest::TearDown();
    }
    // The callbacks are in place before the sensor accepts, so that they see its first bytes.
    void start(bool bListen = true)
    {
        ASSERT_TRUE(sensor->setListening(Port::Stream, false));
        handle = LumatrekCreateLightStream(sensor->connectionText().c_str(), 1, 0, &LumatrekTest::onState, this,
                                           &LumatrekTest::onError, this);
        ASSERT_NE(handle, nullptr);
        ASSERT_TRUE(LumatrekAddConfigCallback(handle, &onConfig, &delivered));
        ASSERT_TRUE(LumatrekAddEventCallback(handle, &onEvent, &delivered));
        ASSERT_TRUE(LumatrekAddXpegCallback(handle, &onFrame, &delivered));
        if (bListen) {
            ASSERT_TRUE(sensor->setListening(Port::Stream, true));
        }
    }
    bool streamState(uint32_t u32Value)
    {
        return waitFor(5s, [&] { return !states.empty() && states.back().u32StreamSocket == u32Value; });
    }
    template <typename Pred>
    bool waitDelivered(Pred pred)
    {
        for (int i = 0; i < 500; i++) {
            {
                std::lock_guard lock(delivered.m);
                if (pred())
                    return true;
            }
            // Deliveries come from the handle's threads; poll their record.
            std::unique_lock lock(mutex);
            changed.wait_for(lock, 10ms);
        }
        return false;
    }
    size_t countOf(const std::vector<uint32_t> &values, uint32_t u32Value)
    {
        return size_t(std::count(values.begin(), values.end(), u32Value));
    }

    std::unique_ptr<kgvsim::KgvSensor> sensor;
    LumatrekHandle *handle = nullptr;
    Delivered delivered;
};

TEST_F(StreamConnectionTest, SubscribesAfterTheVersionAndDeliversThePushedConfiguration)
{
    start();
    const auto start = sensor->waitForPacket(Port::Stream, LT_STREAM_START, 5s);
    const auto mask = sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s);
    ASSERT_TRUE(start && mask);
    EXPECT_EQ(kgvsim::readU32(mask->payload, 0), LT_STREAM_MASK);
    EXPECT_TRUE(waitDelivered([&] { return countOf(delivered.configTypes, LUMATREK_CONFIG_END) == 1; }));
    std::lock_guard lock(delivered.m);
    EXPECT_EQ(delivered.configTypes, (std::vector<uint32_t>{3, 4, 8, LUMATREK_CONFIG_END}));
}

TEST_F(StreamConnectionTest, HeaderSplitAcrossPollsKeepsTheStreamInStep)
{
    start();
    ASSERT_TRUE(streamState(LT_SOCKET_CONNECTED));
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s));
    // The pause is longer than the header poll: the first three bytes wait alone.
    const std::string bytes = frame("first") + frame("second");
    sensor->send(Port::Stream, bytes, {3, 10}, 200ms);
    EXPECT_TRUE(waitDelivered([&] { return delivered.frames.size() == 2; }));
    std::lock_guard lock(delivered.m);
    EXPECT_EQ(delivered.frames, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(sensor->connectionCount(Port::Stream), 1u) << "no reconnection";
}

TEST_F(StreamConnectionTest, PausedStreamStaysPausedAcrossReconnections)
{
    start();
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s));
    EXPECT_EQ(LumatrekSetStreamState(handle, 0), 0);
    const auto pause = sensor->waitForPacket(Port::Stream, LT_STREAM_RUN_STATE, 5s);
    ASSERT_TRUE(pause);
    EXPECT_EQ(kgvsim::readU32(pause->payload, 0), 0u);
    // The same state again sends nothing.
    EXPECT_EQ(LumatrekSetStreamState(handle, 0), 0);

    sensor->dropConnections(Port::Stream);
    ASSERT_TRUE(sensor->waitForConnections(Port::Stream, 2, 5s));
    const auto again = sensor->waitForPacket(Port::Stream, LT_STREAM_RUN_STATE, 5s, 1);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->connection, 2u);
    EXPECT_EQ(kgvsim::readU32(again->payload, 0), 0u);
    size_t szRunStates = 0;
    for (const auto &p : sensor->packets(Port::Stream))
        szRunStates += p.code == LT_STREAM_RUN_STATE;
    EXPECT_EQ(szRunStates, 2u);
}

TEST_F(StreamConnectionTest, RunStateWhileNotConnectedIsAnEvent)
{
    start(false);
    EXPECT_EQ(LumatrekSetStreamState(handle, 0), 0);
    EXPECT_TRUE(waitDelivered([&] { return countOf(delivered.eventTypes, LUMATREK_EVENT_RUN_STATE) == 1; }));
    // Once connected, the paused state is held.
    ASSERT_TRUE(sensor->setListening(Port::Stream, true));
    const auto hold = sensor->waitForPacket(Port::Stream, LT_STREAM_RUN_STATE, 5s);
    ASSERT_TRUE(hold);
    EXPECT_EQ(kgvsim::readU32(hold->payload, 0), 0u);
}

TEST_F(StreamConnectionTest, PictureRequestsAndRawCommandsGoOnTheStream)
{
    start();
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s));
    EXPECT_EQ(LumatrekGetImageV2(handle, 0, 42), 0);
    const auto gexi = sensor->waitForPacket(Port::Stream, fourcc("GEXI"), 5s);
    ASSERT_TRUE(gexi);
    ASSERT_EQ(gexi->payload.size(), 16u);
    EXPECT_EQ(kgvsim::readU32(gexi->payload, 0), 42u);
    EXPECT_EQ(kgvsim::readU32(gexi->payload, 4), 0u) << "a zero time stays zero";
    EXPECT_EQ(LumatrekGetCurrentLogInfoV2(handle, 12, 1), 0);
    const auto log = sensor->waitForPacket(Port::Stream, LT_STREAM_LOG_PUSHED, 5s);
    ASSERT_TRUE(log);
    EXPECT_EQ(kgvsim::readU32(log->payload, 0), 12u);
    EXPECT_EQ(SendStreamCommandKGV(handle, 0x4321, "abc", 3), 0);
    const auto raw = sensor->waitForPacket(Port::Stream, 0x4321, 5s);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->payload, "abc");
}

TEST_F(StreamConnectionTest, PictureRequestNeedsTheEventCallback)
{
    start();
    LumatrekCancelEventCallback(handle);
    const size_t szMark = reported().size();
    EXPECT_EQ(LumatrekGetImage(handle, 5), -1);
    const auto errs = reported();
    ASSERT_GT(errs.size(), szMark);
    EXPECT_EQ(errs.back().text, "Event callback must be installed first");
}

TEST_F(StreamConnectionTest, SilentSensorGetsKeepAlives)
{
    LT_timing()->u32StreamKeepAliveMs = 100;
    start();
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_CODE_KEEP_ALIVE, 5s, 2));
    EXPECT_EQ(sensor->connectionCount(Port::Stream), 1u);
}

TEST_F(StreamConnectionTest, OversizedPacketDropsTheConnectionAndItIsMadeAgain)
{
    start();
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s));
    const size_t szMark = reported().size();
    sensor->send(Port::Stream, kgvsim::header(LT_MAX_PACKET + 1, fourcc("JPEG")) + std::string(16, 'x'));
    ASSERT_TRUE(sensor->waitForConnections(Port::Stream, 2, 5s));
    EXPECT_TRUE(waitFor(5s, [&] {
        for (size_t i = szMark; i < errors.size(); i++) {
            if (errors[i].i32Code == -300)
                return true;
        }
        return false;
    }));
    // The new connection works: its frames arrive, numbered with the connection.
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s, 1));
    sensor->send(Port::Stream, frame("after"));
    EXPECT_TRUE(waitDelivered([&] { return !delivered.frames.empty(); }));
    std::lock_guard lock(delivered.m);
    EXPECT_EQ(delivered.frameConnections.back(), 2u);
}

TEST_F(StreamConnectionTest, ReplayAfterReconnectionHoldsOnlyWhatCameAgain)
{
    start();
    ASSERT_TRUE(waitDelivered([&] { return countOf(delivered.configTypes, LUMATREK_CONFIG_END) == 1; }));
    sensor->setGreeting(Port::Stream, packet(274, kgvsim::versionBlock({})) + packet(21862));
    sensor->dropConnections(Port::Stream);
    ASSERT_TRUE(waitDelivered([&] { return countOf(delivered.configTypes, LUMATREK_CONFIG_END) == 2; }));
    {
        std::lock_guard lock(delivered.m);
        delivered.configTypes.clear();
    }
    ASSERT_TRUE(LumatrekAddConfigCallback(handle, &onConfig, &delivered));
    std::lock_guard lock(delivered.m);
    EXPECT_EQ(delivered.configTypes, std::vector<uint32_t>{3});
}

TEST_F(StreamConnectionTest, DestroyEndsEveryStreamThread)
{
    start();
    ASSERT_TRUE(streamState(LT_SOCKET_CONNECTED));
    LumatrekDestroy(&handle);
    for (const auto &e : reported())
        EXPECT_NE(e.i32Code, LUMATREK_ERROR_THREAD_LATE) << e.text;
    EXPECT_TRUE(sensor->waitForOpenCount(Port::Stream, 0, 5s));
}

namespace {

// A video consumer that holds the network thread until the test lets it go.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool bEntered = false;
    bool bOpen = false;
    int iCalls = 0;
};

void onFrameHeld(LumatrekHandle *, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, const uint8_t *,
                 void *pUser)
{
    auto *g = static_cast<Gate *>(pUser);
    std::unique_lock lock(g->m);
    g->iCalls++;
    g->bEntered = true;
    g->cv.notify_all();
    g->cv.wait(lock, [&] { return g->bOpen; });
}

} // namespace

TEST_F(StreamConnectionTest, LateNetworkThreadKeepsTheStreamAreaUntilItEnds)
{
    const int32_t i32Libraries = LT_libraryReferences();
    start();
    Gate gate;
    ASSERT_TRUE(LumatrekAddXpegCallback(handle, &onFrameHeld, &gate));
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s));
    // Frames behind the held one keep the thread reading into the pool once it goes on.
    sensor->send(Port::Stream, frame("held") + frame("next") + frame("last"));
    {
        std::unique_lock lock(gate.m);
        ASSERT_TRUE(gate.cv.wait_for(lock, 5s, [&] { return gate.bEntered; }));
    }
    LT_timing()->u32LongJoinMs = 100;
    const size_t szMark = reported().size();
    LumatrekDestroy(&handle);
    bool bLate = false;
    for (const auto &e : reported())
        bLate |= e.i32Code == LUMATREK_ERROR_THREAD_LATE && e.text == "Net thread did not terminate";
    EXPECT_TRUE(bLate);
    EXPECT_GT(reported().size(), szMark);
    {
        std::lock_guard lock(gate.m);
        gate.bOpen = true;
    }
    gate.cv.notify_all();
    // The handle goes when its late thread lets go (the sanitizer run checks nothing was used after).
    bool bFreed = false;
    for (int i = 0; i < 500 && !bFreed; i++) {
        bFreed = LT_libraryReferences() <= i32Libraries;
        if (!bFreed) {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, 10ms);
        }
    }
    EXPECT_TRUE(bFreed);
    std::lock_guard lock(gate.m);
    EXPECT_EQ(gate.iCalls, 1) << "no callback after destroy";
}

TEST_F(StreamConnectionTest, AddressChangeSaysGoodbyeAndConnectsAgain)
{
    start();
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s));
    SA_AtomicStore(&handle->bAddressChanged, 1);
    const auto bye = sensor->waitForPacket(Port::Stream, LT_STREAM_GOODBYE, 5s);
    ASSERT_TRUE(bye);
    EXPECT_EQ(bye->connection, 1u);
    ASSERT_TRUE(sensor->waitForPacket(Port::Stream, LT_STREAM_SET_MASK, 5s, 1));
    EXPECT_EQ(SA_AtomicLoad(&handle->bAddressChanged), 0) << "the new address was taken";
}
