// The connection threads' dialogue with the sensor: hello checks, keep-alive and silence by
// protocol version, refused and dropped connections and the reconnection that follows, the
// back-off after connections that break early, and the idle synchronous connection's watch.
#include "ConnectionTestSupport.h"

using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Role;

namespace {

struct HelloCase {
    const char *pcszName;
    std::string bytes;
    const char *pcszTrace;
};

class BadHello : public ConnectionTest, public ::testing::WithParamInterface<HelloCase> {};

std::string helloWithout(const char *pcszAttribute)
{
    Element hello = FybSensor::helloMessage();
    std::erase_if(hello.attributes, [&](const auto &a) { return a.first == pcszAttribute; });
    return fybsim::wireOf(hello);
}

} // namespace

TEST_P(BadHello, ClosesTheConnectionAndTriesAgain)
{
    FybSensor sensor;
    sensor.setHello(GetParam().bytes);
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    // The two connections take turns at the connect mutex, each turn up to a read time-out long.
    EXPECT_TRUE(waitTrace(start, GetParam().pcszTrace, 15s, 2));
    EXPECT_GE(sensor.acceptedCount(), 2u);
    EXPECT_EQ(PXRGetConnectionState(pxr), 0);
    EXPECT_TRUE(reports(start).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Threads, BadHello,
    ::testing::Values(
        HelloCase{"Silent", "", "6 [PXR]async: No data read, disconnect and try to reconnect"},
        HelloCase{"Truncated", std::string(fybsim::kSinglePartHeader) + "<msg><hello protocolVersion=\"2\"",
                  "No hello message received : disconnect and try to reconnect"},
        HelloCase{"Garbled", std::string(fybsim::kSinglePartHeader) + "<msg><hello <<</msg>",
                  "No hello message received : disconnect and try to reconnect"},
        HelloCase{"Empty", fybsim::wireOf(nullptr),
                  "Invalid message received, no element in msg : disconnect and try to reconnect"},
        HelloCase{"WrongRoot", fybsim::wireOf(Element("goodbye").set("protocolVersion", "2")),
                  "Invalid message received, type is not 'hello' : disconnect and try to reconnect"},
        HelloCase{"NoVersion", helloWithout("protocolVersion"), "4 [PXR]No protocol version defined in 'hello' message!"},
        HelloCase{"Version3", fybsim::wireOf(FybSensor::helloMessage(3)),
                  "4 [PXR]Unknown protocol version, you should update your PXR!"}),
    [](const ::testing::TestParamInfo<HelloCase> &info) { return std::string(info.param.pcszName); });

TEST_F(ConnectionTest, VersionOneHasNoAsynchronousKeepAliveNorSilenceDrop)
{
    FybSensor sensor;
    sensor.setHello(FybSensor::helloMessage(1));
    sensor.setSilent(true, Role::Asynchronous);
    const FybSensor::Mark since = sensor.mark();
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(waitConnected());
    // The synchronous connection still exchanges its keep-alive.
    EXPECT_TRUE(sensor.waitForRoot(since, "keep-alive", 5s, 1, Role::Synchronous));
    EXPECT_EQ(sensor.waitForRoot(since, "keep-alive", 1500ms, 0, Role::Asynchronous), std::nullopt);
    EXPECT_EQ(sensor.connectionCount(Role::Asynchronous), 1u);
    EXPECT_FALSE(traced("No message received for more than 30s"));
}

TEST_F(ConnectionTest, VersionTwoKeepsAliveAndDropsASilentConnection)
{
    FybSensor sensor;
    const FybSensor::Mark since = sensor.mark();
    const Mark bound = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(waitReports(bound, 1));
    // The sensor's keep-alive replies are bytes received: longer than the silence limit, still up.
    ASSERT_TRUE(sensor.waitForRoot(since, "keep-alive", 5s, 4, Role::Asynchronous));
    EXPECT_EQ(sensor.connectionCount(Role::Asynchronous), 1u);
    EXPECT_EQ(PXRGetQueueSize(pxr), 0u); // keep-alive messages are not delivered
    const FybSensor::Mark silent = sensor.mark();
    const Mark start = mark();
    sensor.setSilent(true, Role::Asynchronous);
    EXPECT_TRUE(waitTrace(start, "6 [taskAsynchronous]No message received for more than 30s, disconnecting"));
    EXPECT_TRUE(sensor.waitForConnections(silent, Role::Asynchronous, 1, 5s));
    ASSERT_TRUE(waitReports(start, 2));
    std::vector<StateReport> seen = reports(start);
    EXPECT_EQ(seen[0].bConnected, 0);
    EXPECT_EQ(seen[1].bConnected, 1);
}

TEST_F(ConnectionTest, RefusedConnectionsAreTriedAgainUntilTheSensorListens)
{
    FybSensor sensor;
    ASSERT_TRUE(sensor.setListening(false));
    const Mark bound = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    // The connect mutex is held across the retries: whichever thread took it first retries.
    EXPECT_TRUE(waitTrace(bound, ": Connecting ...", 5s, 3));
    ASSERT_TRUE(sensor.setListening(true));
    EXPECT_TRUE(waitConnected());

    sensor.setRefuseConnections(true);
    size_t szAccepted = sensor.acceptedCount();
    const Mark dropped = mark();
    sensor.dropConnections();
    // Each refused connection is accepted, then closed before any byte.
    EXPECT_TRUE(waitTrace(dropped, "No data read, disconnect and try to reconnect", 5s, 2));
    EXPECT_GT(sensor.acceptedCount(), szAccepted + 1);
    sensor.setRefuseConnections(false);
    EXPECT_TRUE(waitConnected());
}

TEST_F(ConnectionTest, DroppedConnectionIsMadeAgainAtOnce)
{
    FybSensor sensor;
    const FybSensor::Mark since = sensor.mark();
    const Mark bound = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(waitReports(bound, 1));
    ASSERT_TRUE(sensor.waitForConnections(since, Role::Synchronous, 1, 5s));
    const FybSensor::Mark before = sensor.mark();
    const Mark start = mark();
    sensor.dropConnections(Role::Synchronous);
    ASSERT_TRUE(waitReports(start, 2));
    ASSERT_TRUE(sensor.waitForConnections(before, Role::Synchronous, 1, 5s));
    std::vector<StateReport> seen = reports(start);
    EXPECT_EQ(seen[0].bConnected, 0);
    EXPECT_EQ(seen[1].bConnected, 1);
    EXPECT_EQ(sensor.connectionCount(Role::Synchronous), 2u);
    EXPECT_EQ(sensor.connectionCount(Role::Asynchronous), 1u);
    EXPECT_TRUE(traced("5 [taskSynchronous]Disconnected"));
}

namespace {

void countState(PXR *, int bConnected, void *pUser)
{
    static_cast<std::vector<int> *>(pUser)->push_back(bConnected);
}

} // namespace

TEST_F(ConnectionTest, UnbindReportsTheDisconnectionAndEndsBothThreads)
{
    FybSensor sensor;
    std::vector<int> plainReports; // written by the threads, read once they are joined
    PXRSetConnectionStateCallback(pxr, &countState, &plainReports);
    const Mark bound = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(waitReports(bound, 1));
    EXPECT_EQ(PXRUnbind(pxr), 1);
    EXPECT_EQ(plainReports, (std::vector<int>{1, 0}));
    std::vector<StateReport> seen = reports(bound);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].bConnected, 0);
    EXPECT_EQ(PXRGetConnectionState(pxr), 0);
    EXPECT_EQ(PXRGetAddress(pxr), nullptr);
    EXPECT_TRUE(traced("6 [taskAsynchronous]End of asynchronous thread"));
    EXPECT_TRUE(traced("6 [taskSynchronous]End of synchronous thread"));
    EXPECT_TRUE(sensor.waitForOpenCount(Role::Unknown, 0, 5s));
    EXPECT_EQ(PXRWaitForConnection(pxr, 0), 0);
}

namespace {

// The waits announced by the back-off traces of one connection thread since the mark.
std::vector<unsigned> backOffWaits(const std::vector<std::string> &traces, const char *pcszModule)
{
    const std::string key = std::string("[") + pcszModule + "]Connection lost after ";
    std::vector<unsigned> waits;
    for (const std::string &line : traces) {
        size_t szAt = line.find(key);
        size_t szWait = line.find("next attempt in ");
        if (szAt != std::string::npos && szWait != std::string::npos)
            waits.push_back(unsigned(std::stoul(line.substr(szWait + 16))));
    }
    return waits;
}

class ConnectionTestBackOff : public ConnectionTest {
protected:
    void SetUp() override
    {
        ConnectionTest::SetUp();
        PXR_Timing *psTiming = PXR_timing();
        psTiming->u32StableConnectionMs = 400;
        psTiming->u32BackOffFirstMs = 50;
        psTiming->u32BackOffMaxMs = 200;
    }
    std::vector<unsigned> waitsSince(const Mark &since, const char *pcszModule) const
    {
        std::lock_guard lock(mutex);
        return backOffWaits({traces.begin() + since.szTraces, traces.end()}, pcszModule);
    }
};

struct BreakCase {
    const char *pcszName;
    fybsim::FybSensor::Break eBreak;
    const char *pcszModule;
    std::vector<unsigned> waits;
};

class BackOffDoubling : public ConnectionTestBackOff, public ::testing::WithParamInterface<BreakCase> {};

} // namespace

TEST_P(BackOffDoubling, ConnectionsBrokenEarlyWaitLongerEachTimeUpToTheLimit)
{
    FybSensor sensor;
    sensor.setBreakConnections(GetParam().eBreak);
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    const std::vector<unsigned> &expected = GetParam().waits;
    ASSERT_TRUE(waitTrace(start, std::string("[") + GetParam().pcszModule + "]Connection lost after", 15s,
                          expected.size()));
    std::vector<unsigned> waits = waitsSince(start, GetParam().pcszModule);
    waits.resize(expected.size());
    EXPECT_EQ(waits, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Threads, BackOffDoubling,
    ::testing::Values(BreakCase{"AfterHello", FybSensor::Break::AfterHello, PXR_MODULE_ASYNCHRONOUS, {50, 100, 200, 200, 200}},
                      BreakCase{"AfterFirstPush", FybSensor::Break::AfterFirstPush, PXR_MODULE_ASYNCHRONOUS,
                                {50, 100, 200, 200, 200}},
                      BreakCase{"SynchronousAfterHello", FybSensor::Break::AfterHello, PXR_MODULE_SYNCHRONOUS,
                                {50, 100, 200, 200}}),
    [](const ::testing::TestParamInfo<BreakCase> &info) { return std::string(info.param.pcszName); });

TEST_F(ConnectionTestBackOff, ConnectionThatStayedUpIsMadeAgainAtOnceAndResetsTheBackOff)
{
    FybSensor sensor;
    sensor.setBreakConnections(FybSensor::Break::AfterHello);
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(waitTrace(start, "[taskAsynchronous]Connection lost after", 15s, 2));
    sensor.setBreakConnections(FybSensor::Break::Never);
    ASSERT_TRUE(waitConnected(15s));
    // Keep-alives every 300 ms: the third after the mark comes once the connection is stable.
    const FybSensor::Mark up = sensor.mark();
    ASSERT_TRUE(sensor.waitForRoot(up, "keep-alive", 15s, 2, Role::Asynchronous));

    // A single reboot: made again at once, with no wait.
    const FybSensor::Mark beforeDrop = sensor.mark();
    const Mark dropped = mark();
    sensor.dropConnections();
    ASSERT_TRUE(sensor.waitForConnections(beforeDrop, Role::Asynchronous, 1, 15s));
    ASSERT_TRUE(sensor.waitForConnections(beforeDrop, Role::Synchronous, 1, 15s));
    EXPECT_TRUE(waitsSince(dropped, PXR_MODULE_ASYNCHRONOUS).empty());
    EXPECT_TRUE(waitsSince(dropped, PXR_MODULE_SYNCHRONOUS).empty());

    // Broken early again: the wait starts over from the first.
    ASSERT_TRUE(waitConnected(15s));
    ASSERT_TRUE(sensor.waitForRoot(sensor.mark(), "keep-alive", 15s, 2, Role::Asynchronous));
    sensor.setBreakConnections(FybSensor::Break::AfterHello);
    const Mark again = mark();
    sensor.dropConnections();
    ASSERT_TRUE(waitTrace(again, "[taskAsynchronous]Connection lost after", 15s, 1));
    EXPECT_EQ(waitsSince(again, PXR_MODULE_ASYNCHRONOUS).front(), 50u);
}

namespace {

struct IdleCase {
    const char *pcszName;
    std::function<void(FybSensor &)> act;
    const char *pcszTrace;
};

class IdleSynchronous : public ConnectionTest, public ::testing::WithParamInterface<IdleCase> {
protected:
    void SetUp() override
    {
        ConnectionTest::SetUp();
        // No keep-alive during the test: only the idle watch can notice.
        PXR_timing()->u32KeepAliveMs = 60000;
        PXR_timing()->u32SilenceDropMs = 60000;
    }
};

} // namespace

TEST_P(IdleSynchronous, ConnectionEndsAtOnceAndTheNextRequestIsServed)
{
    FybSensor sensor;
    connectTo(sensor);
    const FybSensor::Mark before = sensor.mark();
    const Mark start = mark();
    GetParam().act(sensor);
    ASSERT_TRUE(waitTrace(start, std::string("[taskSynchronous]") + GetParam().pcszTrace));
    ASSERT_TRUE(waitReports(start, 2));
    EXPECT_EQ(reports(start)[1].bConnected, 1);
    PXRMsg *psRequest = makeMessage("getInfos");
    PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, 10000);
    EXPECT_EQ(attributeOf(psAnswer, "status"), "ok");
    PXRMsgDestroy(psAnswer);
    PXRMsgDestroy(psRequest);
    std::optional<fybsim::Received> served = sensor.waitForRoot(before, "getInfos", 5s);
    ASSERT_TRUE(served);
    EXPECT_EQ(served->connection, sensor.acceptedCount());
    // No keep-alive exchange found the end: the asynchronous link sends its first one whenever
    // it comes up, so only the synchronous link is looked at.
    EXPECT_EQ(sensor.waitForRoot(before, "keep-alive", 0ms, 0, Role::Synchronous), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    ConnectionTest, IdleSynchronous,
    ::testing::Values(IdleCase{"PeerCloses", [](FybSensor &s) { s.dropConnections(Role::Synchronous); },
                               "Connection closed by the sensor, disconnecting"},
                      IdleCase{"UnexpectedByte", [](FybSensor &s) { s.push("x", {}, Role::Synchronous); },
                               "Unexpected data while idle, disconnecting"}),
    [](const ::testing::TestParamInfo<IdleCase> &info) { return std::string(info.param.pcszName); });

TEST_F(ConnectionTest, SensorRestartIsReportedOnceAndTheFirstRequestIsServed)
{
    FybSensor sensor;
    connectTo(sensor);
    const Mark start = mark();
    sensor.dropConnections();
    ASSERT_TRUE(waitReports(start, 2, 15s));
    PXRMsg *psRequest = makeMessage("getInfos");
    PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, 10000);
    EXPECT_EQ(attributeOf(psAnswer, "status"), "ok");
    PXRMsgDestroy(psAnswer);
    PXRMsgDestroy(psRequest);
    std::vector<StateReport> seen = reports(start);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].bConnected, 0);
    EXPECT_EQ(seen[1].bConnected, 1);
    EXPECT_EQ(sensor.connectionCount(Role::Synchronous), 2u);
    EXPECT_FALSE(traced("the message could NOT be sent"));
}
