// The connection handle: creation, bind options and their errors, plain and TLS binds with
// the TLS-failure callback, client certificates, state reports and the legacy hand-over.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "ConnectionTestSupport.h"
#include "TlsIdentity.h"

using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Role;

namespace {

struct OptionCase {
    const char *pcszOptions;
    const char *pcszError; // null: the bind succeeds
    uint16_t u16CommandPort;
    uint16_t u16TimePort;
};

std::string longItem(size_t szLength)
{
    std::string item = "commandPort=";
    item += std::string(szLength - item.size() - 1, '0');
    return item + "5";
}

const std::string kItemTooLong = longItem(128);
const std::string kLongestItem = longItem(127);

class BindOptions : public ConnectionTest, public ::testing::WithParamInterface<OptionCase> {};

} // namespace

TEST(HandleCreation, CreateBeforeTheLibraryStartsGivesNull)
{
    EXPECT_EQ(PXRCreate(), nullptr);
}

TEST_P(BindOptions, AreAppliedOrRefusedWithTheirReason)
{
    const OptionCase &c = GetParam();
    FybSensor sensor;
    int bBound = bindTo(sensor, c.pcszOptions);
    if (!c.pcszError) {
        ASSERT_EQ(bBound, 1) << PXRGetLastError(pxr);
        EXPECT_EQ(pxr->u16CommandPort, c.u16CommandPort);
        EXPECT_EQ(pxr->u16TimePort, c.u16TimePort);
        return;
    }
    EXPECT_EQ(bBound, 0);
    EXPECT_STREQ(PXRGetLastError(pxr), c.pcszError);
    // Nothing of the failed bind is left: the handle is unbound and binds again.
    EXPECT_EQ(PXRGetAddress(pxr), nullptr);
    EXPECT_EQ(pxr->psThreadAsynchronous, nullptr);
    EXPECT_EQ(pxr->psSendBufferPool, nullptr);
    EXPECT_EQ(bindTo(sensor), 1);
    EXPECT_TRUE(waitConnected());
}

INSTANTIATE_TEST_SUITE_P(
    Handle, BindOptions,
    ::testing::Values(
        OptionCase{"commandPort=12000;timePort=12001", nullptr, 12000, 12001},
        OptionCase{"timePort=10000;", nullptr, 11011, 10000}, OptionCase{";;commandPortX=5", nullptr, 5, 10000},
        OptionCase{nullptr, nullptr, 11011, 10000},
        OptionCase{"commandPort", "Invalid option : can not found '=' in 'commandPort'", 0, 0},
        OptionCase{"timePort=1;foo=1", "Unknown option : 'foo=1'", 0, 0},
        OptionCase{"disableSynchronousConnection=1;disableAsynchronousConnection=true",
                   "The synchronous and asynchronous connections are both disabled : nothing will be done!", 0, 0},
        OptionCase{kItemTooLong.c_str(), "Option item is too long", 0, 0},
        OptionCase{kLongestItem.c_str(), nullptr, 5, 10000}, OptionCase{"timePort=65535", nullptr, 11011, 65535},
        // A port is never cut to 16 bits nor read from a number's first digits.
        OptionCase{"commandPort=4294967295",
                   "Invalid option : '4294967295' is not a port from 1 to 65535 for 'commandPort'", 0, 0},
        OptionCase{"timePort=65536", "Invalid option : '65536' is not a port from 1 to 65535 for 'timePort'", 0, 0},
        OptionCase{"commandPort=-1", "Invalid option : '-1' is not a port from 1 to 65535 for 'commandPort'", 0, 0},
        OptionCase{"commandPort=12x", "Invalid option : '12x' is not a port from 1 to 65535 for 'commandPort'", 0, 0},
        OptionCase{"timePort=", "Invalid option : '' is not a port from 1 to 65535 for 'timePort'", 0, 0},
        OptionCase{"timePort=0", "Invalid option : '0' is not a port from 1 to 65535 for 'timePort'", 0, 0}));

TEST_F(ConnectionTest, OptionsAreTracedWithTheirValues)
{
    FybSensor sensor;
    ASSERT_EQ(bindTo(sensor, "commandPort=12000;disableSynchronousConnection=true"), 1);
    EXPECT_TRUE(traced("5 [PXR]Option 'commandPort' = '12000'"));
    EXPECT_TRUE(traced("5 [PXR]Option 'disableSynchronousConnection' = 'true'"));
    EXPECT_TRUE(traced("5 [PXR]Binds to server: 127.0.0.1:"));
}

TEST_F(ConnectionTest, BindConnectsBothConnectionsWithHelloModeAndSubscription)
{
    FybSensor sensor;
    const FybSensor::Mark since = sensor.mark();
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor), 1);
    EXPECT_STREQ(PXRGetAddress(pxr), "127.0.0.1");
    EXPECT_EQ(PXRGetPort(pxr), sensor.port());
    EXPECT_EQ(PXRGetSSL(pxr), 0);
    EXPECT_EQ(PXRWaitForConnection(pxr, 5000), 1);
    EXPECT_EQ(PXRGetConnectionState(pxr), 1);
    EXPECT_STREQ(PXRGetDetectedProtocol(pxr), "FYB");
    ASSERT_TRUE(sensor.waitForConnections(since, Role::Synchronous, 1, 5s));
    auto subscription = sensor.waitForRoot(since, "setEnableStreams", 5s, 0, Role::Asynchronous);
    ASSERT_TRUE(subscription);
    // The asynchronous connection gets its mode first, then the stored subscription.
    std::vector<fybsim::Received> seen = sensor.received();
    for (const fybsim::Received &r : seen) {
        if (r.connection == subscription->connection) {
            EXPECT_EQ(r.rootName(), "setConnectionMode");
            EXPECT_EQ(*r.attribute("connection"), "asynchronous");
            break;
        }
    }
    ASSERT_TRUE(waitReports(start, 1));
    EXPECT_EQ(reports(start)[0].bConnected, 1);
    EXPECT_TRUE(traced("5 [PXR]Equipment protocol: 2"));
    EXPECT_TRUE(traced("5 [PXR]Equipment type: FybSim"));
    EXPECT_TRUE(traced("7 [taskAsynchronous]Algorithms on camera 0:"));
    EXPECT_TRUE(traced("7 [taskAsynchronous]    anpr"));
    EXPECT_TRUE(traced("5 [PXR]async: Socket connected"));
    EXPECT_TRUE(traced("6 [PXR]sync: PXR_connectToSocket finished"));
}

TEST_F(ConnectionTest, ProtocolIsUnknownUntilTheFirstBytesArrive)
{
    FybSensor sensor;
    sensor.setHello("");
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(sensor.waitForOpenCount(Role::Unknown, 1, 5s));
    EXPECT_STREQ(PXRGetDetectedProtocol(pxr), "Unknown");
    EXPECT_STREQ(PXRGetDetectedProtocol(nullptr), "Unknown");
    sensor.push(fybsim::wireOf(FybSensor::helloMessage()), {}, Role::Unknown);
    EXPECT_TRUE(waitFor(5s, [&] { return std::string(PXRGetDetectedProtocol(pxr)) == "FYB"; }));
}

TEST_F(ConnectionTest, RebindingABoundHandleUnbindsItFirst)
{
    FybSensor first, second;
    const Mark bound = mark();
    ASSERT_EQ(bindTo(first), 1);
    ASSERT_TRUE(waitReports(bound, 1));
    const Mark rebind = mark();
    ASSERT_EQ(bindTo(second), 1);
    ASSERT_TRUE(waitReports(rebind, 2));
    std::vector<StateReport> seen = reports(rebind);
    EXPECT_EQ(seen[0].bConnected, 0);
    EXPECT_EQ(seen[1].bConnected, 1);
    EXPECT_TRUE(first.waitForOpenCount(Role::Unknown, 0, 5s));
    EXPECT_EQ(PXRGetPort(pxr), second.port());
}

TEST_F(ConnectionTest, StateFollowsTheOnlyEnabledConnection)
{
    FybSensor sensor;
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor, "disableSynchronousConnection=1"), 1);
    ASSERT_TRUE(waitReports(start, 1));
    EXPECT_EQ(sensor.connectionCount(Role::Synchronous), 0u);
    PXRMsg *psRequest = makeMessage("getXSD");
    EXPECT_EQ(PXRSendRequest(pxr, psRequest, 1000), nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Synchronous mode is not enabled");
    ASSERT_TRUE(sensor.waitForConnections({}, Role::Asynchronous, 1, 5s));
    const Mark drop = mark();
    sensor.dropConnections(Role::Asynchronous);
    ASSERT_TRUE(waitReports(drop, 2));
    EXPECT_EQ(reports(drop)[0].bConnected, 0);
    EXPECT_EQ(reports(drop)[1].bConnected, 1);
    PXRMsgDestroy(psRequest);

    ASSERT_EQ(bindTo(sensor, "disableAsynchronousConnection=1"), 1);
    ASSERT_TRUE(waitConnected());
    PXRMsg *psStreams = makeMessage("setEnableStreams", {"traces", "1"});
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psStreams), 0);
    EXPECT_STREQ(PXRGetLastError(pxr), "Asynchronous mode is not enabled");
    PXRMsgDestroy(psStreams);
}

TEST_F(ConnectionTest, UnbindReturnsPromptlyWhileThreadsWaitOnASilentSensor)
{
    PXR_resetTiming(); // the long waits of a real sensor
    FybSensor sensor;
    sensor.setHello("");
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(sensor.waitForOpenCount(Role::Unknown, 1, 5s));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PXRUnbind(pxr), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_TRUE(traced("7 [PXR]ThreadAsynchronous finished"));
    EXPECT_TRUE(traced("5 [PXR]Unbind done"));
}

TEST_F(ConnectionTest, UnbindEndsARequestWaitingForAnAnswerThatNeverComes)
{
    PXR_resetTiming();
    FybSensor sensor;
    sensor.setDefaultReply(fybsim::Reply::never());
    ASSERT_EQ(bindTo(sensor), 1);
    ASSERT_TRUE(waitConnected());
    const FybSensor::Mark since = sensor.mark();
    PXRMsg *psAnswer = reinterpret_cast<PXRMsg *>(1);
    std::thread requester([&] {
        PXRMsg *psRequest = makeMessage("getConfig");
        psAnswer = PXRSendRequest(pxr, psRequest, 300000);
        PXRMsgDestroy(psRequest);
    });
    ASSERT_TRUE(sensor.waitForRoot(since, "getConfig", 5s));
    auto start = std::chrono::steady_clock::now();
    PXRUnbind(pxr);
    requester.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(psAnswer, nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Not connected");
}

// ---- TLS ----

namespace {

class BindTlsTest : public ConnectionTest {
protected:
    void SetUp() override
    {
        ConnectionTest::SetUp();
        identity = fybsim::TlsIdentity::selfSigned();
        folder = ::testing::TempDir() + "pxrtls" + std::to_string(::getpid());
        std::string command = "mkdir -p " + folder;
        ASSERT_EQ(std::system(command.c_str()), 0);
        // No trust but what a test names.
        setenv("SSL_CERT_FILE", (folder + "/none.pem").c_str(), 1);
        setenv("SSL_CERT_DIR", (folder + "/nodir").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder + "/nodata").c_str(), 1);
    }
    void TearDown() override
    {
        ConnectionTest::TearDown();
        std::string command = "rm -rf " + folder;
        std::system(command.c_str());
    }
    std::string write(const std::string &name, const std::string &text)
    {
        std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    fybsim::TlsIdentity identity;
    std::string folder;
};

} // namespace

TEST_F(BindTlsTest, RefusedHandshakeIsReportedAndRetriedAtOnceWhenTheMaskChanges)
{
    FybSensor sensor(identity);
    onReport = [&](const StateReport &report) {
        if (!report.bConnected && report.u32SslErrors)
            PXRSetIgnoreSSLErrors(pxr, PXR_SSL_ERROR_ALL);
    };
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor, nullptr, true), 1);
    EXPECT_EQ(PXRGetSSL(pxr), 1);
    ASSERT_TRUE(waitReports(start, 2));
    std::vector<StateReport> seen = reports(start);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0].bConnected, 0);
    EXPECT_TRUE(seen[0].u32SslErrors & PXR_SSL_ERROR_UNTRUSTED);
    EXPECT_EQ(seen.back().bConnected, 1);
    EXPECT_EQ(PXRGetIgnoreSSLErrors(pxr), PXR_SSL_ERROR_ALL);
    EXPECT_TRUE(PXRGetSSLErrors(pxr) & PXR_SSL_ERROR_UNTRUSTED);
    EXPECT_TRUE(traced("[PXR]async: SSL connection failed : SSL errors=") ||
                traced("[PXR]sync: SSL connection failed : SSL errors="));
    // The mask changed during the callback: no pause before the next attempt.
    EXPECT_EQ(traceCount("SSL connection failed"), 1u);
}

TEST_F(BindTlsTest, RefusedHandshakeIsRetriedAfterItsPauseWhileTheMaskStays)
{
    FybSensor sensor(identity);
    const Mark start = mark();
    ASSERT_EQ(bindTo(sensor, nullptr, true), 1);
    ASSERT_TRUE(waitTrace(start, "SSL connection failed", 5s, 3));
    EXPECT_EQ(PXRGetConnectionState(pxr), 0);
    std::vector<StateReport> seen = reports(start);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].bConnected, 0);
}

TEST_F(BindTlsTest, TrustedCertificateConnectsWithOnlyTheMissingRevocationListIgnored)
{
    setenv("SSL_CERT_FILE", write("trusted.pem", identity.certificatePem).c_str(), 1);
    FybSensor sensor(identity);
    PXRSetIgnoreSSLErrors(pxr, PXR_SSL_ERROR_NO_CRL);
    ASSERT_EQ(bindTo(sensor, nullptr, true), 1);
    ASSERT_TRUE(waitConnected());
    EXPECT_EQ(PXRGetSSLErrors(pxr), PXR_SSL_ERROR_NO_CRL);
    PXRMsg *psRequest = makeMessage("getConfig");
    PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, 5000);
    EXPECT_EQ(rootName(psAnswer), "answer");
    PXRMsgDestroy(psAnswer);
    PXRMsgDestroy(psRequest);
}

TEST_F(BindTlsTest, ClientCertificateIsPresentedToTheSensor)
{
    fybsim::TlsIdentity client = fybsim::TlsIdentity::selfSigned("client");
    // Padded to the largest file accepted.
    std::string certificate = client.certificatePem;
    certificate += std::string(PXR_CERTIFICATE_FILE_MAX - certificate.size(), '\n');
    ASSERT_EQ(PXRUseClientCertificateFile(pxr, write("c.pem", certificate).c_str(),
                                          write("k.pem", client.privateKeyPem).c_str()),
              1)
        << PXRGetLastError(pxr);
    FybSensor sensor(identity, true);
    PXRSetIgnoreSSLErrors(pxr, PXR_SSL_ERROR_ALL);
    ASSERT_EQ(bindTo(sensor, nullptr, true), 1);
    ASSERT_TRUE(waitConnected());
    std::vector<std::string> presented = sensor.clientCertificates();
    ASSERT_FALSE(presented.empty());
    EXPECT_EQ(presented[0], client.certificatePem);
}

TEST_F(BindTlsTest, ClientCertificateFailuresLeaveNoCertificate)
{
    fybsim::TlsIdentity client = fybsim::TlsIdentity::selfSigned("client");
    std::string cert = write("c.pem", client.certificatePem);
    std::string key = write("k.pem", client.privateKeyPem);
    std::string tooBig = write("big.pem", client.certificatePem + std::string(PXR_CERTIFICATE_FILE_MAX + 1 -
                                                                              client.certificatePem.size(), '\n'));
    struct Case {
        const char *pcszCert;
        const char *pcszKey;
        const char *pcszError;
    } cases[] = {
        {tooBig.c_str(), key.c_str(), "Cert file is too big"},
        {cert.c_str(), tooBig.c_str(), "Key file is too big"},
        {"/nonexistent/c.pem", key.c_str(), "Unable to open Cert file"},
        {cert.c_str(), "/nonexistent/k.pem", "Unable to open Key file"},
        {key.c_str(), key.c_str(), "Unable to load Certificate"},
        {cert.c_str(), cert.c_str(), "Unable to load private Key"},
        {cert.c_str(), nullptr, "Unable to load private Key"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PXRUseClientCertificateFile(pxr, c.pcszCert, c.pcszKey), 0) << c.pcszError;
        EXPECT_STREQ(PXRGetLastError(pxr), c.pcszError);
    }
    EXPECT_EQ(PXRUseClientCertificate(pxr, client.certificatePem.c_str(), uint32_t(client.certificatePem.size()),
                                      nullptr, 0),
              0);
    EXPECT_STREQ(PXRGetLastError(pxr), "Unable to load private Key");
    EXPECT_EQ(pxr->psClientCert, nullptr);
    EXPECT_EQ(pxr->psClientKey, nullptr);
    EXPECT_EQ(PXRUseClientCertificate(pxr, client.certificatePem.c_str(), uint32_t(client.certificatePem.size()),
                                      client.privateKeyPem.c_str(), uint32_t(client.privateKeyPem.size())),
              1);
    EXPECT_STREQ(PXRGetLastError(pxr), "");
}

// ---- legacy hand-over ----

namespace {

struct FakeBridge {
    std::mutex mutex;
    int iCreated = 0, iReleased = 0, iAsynchronous = 0, iRequests = 0;
    PXR *psCreatedFor = nullptr;
    int bProtocolLocked = 0;
};
FakeBridge *g_psFake = nullptr;
int g_iFakeRecord = 0;

int fakeCreate(PXR *psPxr)
{
    std::lock_guard lock(g_psFake->mutex);
    g_psFake->iCreated++;
    g_psFake->psCreatedFor = psPxr;
    // Called under the protocol-test mutex: another thread cannot take it now.
    std::thread probe([&] {
        int bTaken = SA_LockMutexTimeout(psPxr->hMutexTestProtocol, 0) == SA_OK;
        if (bTaken)
            SA_UnlockMutex(psPxr->hMutexTestProtocol);
        g_psFake->bProtocolLocked = !bTaken;
    });
    probe.join();
    __atomic_store_n(&psPxr->psBridge, reinterpret_cast<PXRLT *>(&g_iFakeRecord), __ATOMIC_RELEASE);
    PXR_setConnectionState(psPxr, 1, 1);
    return 1;
}
int fakeRelease(PXR *psPxr)
{
    std::lock_guard lock(g_psFake->mutex);
    g_psFake->iReleased++;
    psPxr->psBridge = nullptr;
    PXR_setConnectionState(psPxr, 0, 0);
    return 1;
}
int fakeAsynchronous(PXR *, PXRMsg *)
{
    std::lock_guard lock(g_psFake->mutex);
    return ++g_psFake->iAsynchronous;
}
PXRMsg *fakeRequest(PXR *, PXRMsg *, uint32_t)
{
    std::lock_guard lock(g_psFake->mutex);
    g_psFake->iRequests++;
    return makeMessage("answer", {"status", "ok"});
}
const PXR_LegacyBridge kFakeBridge = {&fakeCreate, &fakeRelease, &fakeAsynchronous, &fakeRequest};

class LegacyTest : public ConnectionTest {
protected:
    // Binds to a sensor whose first bytes are of the legacy family; both threads end.
    void bindToLegacySensor(FybSensor &sensor)
    {
        sensor.setHello(FybSensor::legacyBytes());
        const Mark start = mark();
        ASSERT_EQ(bindTo(sensor), 1);
        ASSERT_TRUE(waitTrace(start, "End of asynchronous thread"));
        ASSERT_TRUE(waitTrace(start, "End of synchronous thread"));
        EXPECT_STREQ(PXRGetDetectedProtocol(pxr), "KGV");
    }
};

} // namespace

TEST_F(LegacyTest, SensorIsDetectedAndHandedToTheBridge)
{
    FakeBridge fake;
    g_psFake = &fake;
    PXR_setLegacyBridge(&kFakeBridge);
    FybSensor sensor;
    bindToLegacySensor(sensor);
    EXPECT_TRUE(traced("6 [PXR]async: Protocol KGV needs to be used, switching to LTDLL") ||
                traced("6 [PXR]sync: Protocol KGV needs to be used, switching to LTDLL"));
    EXPECT_EQ(traceCount("Disconnected"), 0u);
    {
        std::lock_guard lock(fake.mutex);
        EXPECT_EQ(fake.iCreated, 1);
        EXPECT_EQ(fake.psCreatedFor, pxr);
        EXPECT_TRUE(fake.bProtocolLocked);
    }
    PXRMsg *psRequest = makeMessage("getInfos");
    PXRMsg *psAnswer = PXRSendRequest(pxr, psRequest, 1000);
    ASSERT_NE(psAnswer, nullptr);
    EXPECT_EQ(PXRMsgGetPXR(psAnswer), pxr);
    EXPECT_NE(PXRMsgIsReadOnly(psAnswer), 0);
    EXPECT_EQ(PXRSendAsynchronousMessage(pxr, psRequest), 1);
    PXRMsgDestroy(psAnswer);
    PXRMsgDestroy(psRequest);
    PXRUnbind(pxr);
    std::lock_guard lock(fake.mutex);
    EXPECT_EQ(fake.iRequests, 1);
    EXPECT_EQ(fake.iAsynchronous, 1);
    EXPECT_EQ(fake.iReleased, 1);
    g_psFake = nullptr;
}

TEST_F(LegacyTest, SensorWithoutBridgeIsOnlyDetected)
{
    FybSensor sensor;
    bindToLegacySensor(sensor);
    PXRMsg *psRequest = makeMessage("getInfos");
    EXPECT_EQ(PXRSendRequest(pxr, psRequest, 100), nullptr);
    EXPECT_STREQ(PXRGetLastError(pxr), "Not connected");
    PXRMsgDestroy(psRequest);
    // Protocol is kept until the next bind.
    PXRUnbind(pxr);
    EXPECT_STREQ(PXRGetDetectedProtocol(pxr), "KGV");
}

namespace {

// Bytes the handle's asynchronous socket holds unread, or -1 without a socket.
int64_t unreadAsynchronousBytes(PXR *psPxr)
{
    SA_LockMutex(psPxr->hMutexAsynchronousSend);
    uint32_t u32Count = 0;
    int64_t i64Unread = psPxr->psAsynchronousSocket &&
                                SA_GetReadableBytesSocket(psPxr->psAsynchronousSocket, &u32Count) == SA_OK
                            ? int64_t(u32Count)
                            : -1;
    SA_UnlockMutex(psPxr->hMutexAsynchronousSend);
    return i64Unread;
}

} // namespace

TEST_F(ConnectionTest, UnbindEndsAReadStalledInsideAMessage)
{
    PXR_resetTiming();
    FybSensor sensor;
    connectTo(sensor);
    std::string bytes = fybsim::wireOf(Element("anpr").set("plate", "HALF"));
    ASSERT_EQ(sensor.push(bytes.substr(0, bytes.size() / 2)), 1u);
    // Once the thread has taken the bytes it waits inside the message for the rest.
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (unreadAsynchronousBytes(pxr) != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(unreadAsynchronousBytes(pxr), 0);
    auto start = std::chrono::steady_clock::now();
    PXRUnbind(pxr);
    // The reader's socket waits look at the stop flag at least once a second.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_EQ(PXRGetQueueSize(pxr), 0u);
}
