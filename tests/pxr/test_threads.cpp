// The connection threads' dialogue with the sensor: hello checks, keep-alive and silence by
// protocol version, refused and dropped connections and the reconnection that follows.
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
