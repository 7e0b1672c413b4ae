// The connection handshake against the test FYB and KGV sensors without a window: its requests in
// order, the schema's answers, the relock, the re-entry guard, the guards that make a drop report
// or a close wait for the requests being awaited, and one handshake per sensor restart.
#include "ModelTestSupport.h"

#include "ConnectionHandshake.h"
#include "ConnectionHandshakeHost.h"
#include "DialogWait.h"
#include "KgvDevice.h"
#include "KgvSensor.h"
#include "KgvStreamPackets.h"
#include "MsgManager.h"
#include "ZyModalRunner.h"

#include <QFile>

#include <thread>

namespace {

using fybsim::FybSensor;
using fybsim::Reply;
using fybsim::Role;

const QStringList kSteps = {"wait", "schema", "lock state", "sensor state", "established"};

// Stands for the window: the real wait dialog, every other step noted by name; a test may act
// from inside a step.
class RecordingHost : public ConnectionHandshakeHost
{
public:
    bool waitForConnection(Sensor &sensor) override
    {
        note("wait");
        DialogWait dialog;
        return dialog.execConnecting(&sensor) != 0;
    }
    void abandonConnection() override
    {
        note("abandon");
        Model::instance()->clear();
    }
    void relockSensor() override { note("relock"); }
    void showSchemaActions() override { note("schema"); }
    void showLockState() override { note("lock state"); }
    void showSensorState() override { note("sensor state"); }
    void connectionEstablished() override { note("established"); }
    void connectionLost() override { note("lost"); }

    int count(const QString &step) const { return int(steps.count(step)); }

    QStringList steps;
    std::function<void(const QString &)> onStep;

private:
    void note(const QString &step)
    {
        steps << step;
        if (onStep)
            onStep(step);
    }
};

Reply schemaReply()
{
    QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/menu-requests.xsd"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return Reply::message(Element("xsd").withContent(file.readAll().toStdString()));
}

// Lists compared as text, so that a failure reads.
std::string listed(const QStringList &list)
{
    return list.join(" | ").toStdString();
}

// A message as the test sensor saw it: its root, and the three stream switches when it has them.
QString described(const fybsim::Received &received)
{
    QString text = QString::fromStdString(received.rootName());
    for (const char *stream : {"configChanges", "infoChanges", "traces"})
        if (const std::string *value = received.attribute(stream))
            text += QLatin1Char(' ') + QString::fromStdString(*value);
    return text;
}

// What the connections of the role received since the mark, keep-alives left out.
QStringList receivedSince(const FybSensor &server, const FybSensor::Mark &since, Role role)
{
    QStringList texts;
    const std::vector<fybsim::Received> all = server.received();
    for (std::size_t i = since.received; i < all.size(); ++i)
        if (all[i].role == role && all[i].rootName() != "keep-alive")
            texts << described(all[i]);
    return texts;
}

class HandshakeTest : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        handshake = std::make_unique<ConnectionHandshake>(model, &host);
    }
    void TearDown() override
    {
        handshake.reset();
        ZyModalRunner::setHandler({});
        ModelTest::TearDown();
    }

    // Binds the master sensor without waiting: the handshake's own wait does.
    void bind(FybSensor &server)
    {
        ASSERT_TRUE(model->masterSensor().connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
    }
    // A loss and the reconnection as the library reports them, from a thread of its own.
    static void reportLossAndReconnection(Sensor &sensor)
    {
        std::thread([&sensor] {
            Sensor::onConnectionState(sensor.handle(), 0, 0, &sensor);
            Sensor::onConnectionState(sensor.handle(), 1, 0, &sensor);
        }).join();
    }
    int logged(const QString &text) const { return int(appLog().count(text)); }
    // The handshake's own log lines, in the order they were written.
    QStringList handshakeLines() const
    {
        static const QStringList kept = {"Waiting for connection...", "Connected, protocol is", "Requesting XSD...",
                                         "XSD received", "Connection done", "disconnection received"};
        QStringList lines;
        for (const QString &line : appLog().split(QLatin1Char('\n')))
            for (const QString &text : kept)
                if (line.contains(text))
                    lines << line.mid(line.indexOf(text)).trimmed();
        return lines;
    }
    // One synchronous round trip of the test's own: a link left dead behind a handshake shows.
    void roundTrip()
    {
        PXRMsg *request = PXRMsgCreate();
        PXRMsgSetChild(request, PXRMsgElementCreate("probe"));
        PXRMsg *answer = MsgManager::sendRequest(request);
        EXPECT_NE(answer, nullptr) << "the synchronous link answers";
        PXRMsgDestroy(answer);
        PXRMsgDestroy(request);
    }

    RecordingHost host;
    std::unique_ptr<ConnectionHandshake> handshake;
};

TEST_F(HandshakeTest, AsksTheSensorInOrderAndShowsEachStep)
{
    FybSensor server;
    server.setReply("getXSD", schemaReply());
    server.setClockSkew(-1h);
    const FybSensor::Mark since = server.mark();
    bind(server);

    ASSERT_TRUE(handshake->run());

    EXPECT_EQ(listed(host.steps), listed(kSteps));
    EXPECT_FALSE(handshake->isRunning());
    EXPECT_EQ(MsgManager::runningRequests(), 0);
    EXPECT_EQ(listed(handshakeLines()), listed({"Waiting for connection...", "Connected, protocol is FYB",
                                                "Requesting XSD...", "XSD received", "Connection done"}));
    EXPECT_EQ(listed(receivedSince(server, since, Role::Synchronous)),
              listed({"setConnectionMode", "getXSD", "getDate"}));
    // The subscription the library sends by itself on connecting, then the handshake's off and on.
    ASSERT_TRUE(server.waitForRoot(since, "setEnableStreams", 5s, 2, Role::Asynchronous));
    EXPECT_EQ(listed(receivedSince(server, since, Role::Asynchronous)),
              listed({"setConnectionMode", "setEnableStreams", "setEnableStreams 0 0 0", "setEnableStreams 1 1 1"}));
    EXPECT_TRUE(model->schemaDoc().hasElement({"openBarrier"}));
    EXPECT_TRUE(model->clockOffsetValid());
    EXPECT_NEAR(double(model->clockOffsetMs()), 3600000.0, 60000.0);
}

TEST_F(HandshakeTest, LegacySensorGetsTheSchemaButNeitherRelockNorClock)
{
    kgvsim::KgvSensor server;
    server.setGreeting(kgvsim::Port::Stream, kgvsim::streamConfiguration({}));
    kgvsim::KgvDevice device{server};
    kgvsim::KgvClock clock{server, 0x20000};
    const QString options = QStringLiteral("timePort=%1;commandPort=%2")
                                .arg(server.port(kgvsim::Port::Time))
                                .arg(server.port(kgvsim::Port::Command));
    Sensor &sensor = model->masterSensor();
    ASSERT_TRUE(sensor.connect("127.0.0.1", server.port(kgvsim::Port::Stream), options, false, false, false, {}, {}));
    ASSERT_TRUE(handshake->run());
    ASSERT_TRUE(sensor.isConnected());
    sensor.setLocked(true);

    // A lost stream: the legacy sensor keeps its lock, so the handshake only runs again.
    ASSERT_TRUE(sensor.detectedProtocol() == "KGV");
    reportLossAndReconnection(sensor);
    ASSERT_TRUE(waitUntil([&] { return host.count("established") == 2; }));

    EXPECT_EQ(listed(host.steps), listed(kSteps + QStringList({"lost"}) + kSteps));
    EXPECT_EQ(logged("Connected, protocol is KGV"), 2);
    EXPECT_TRUE(sensor.isLocked());
    // The legacy sensor's dates count as this machine's.
    EXPECT_TRUE(model->clockOffsetValid());
    EXPECT_EQ(model->clockOffsetMs(), 0);
}

struct SchemaCase
{
    const char *name;
    std::function<Reply()> reply;
    const char *logged;
    bool shown;
};

void PrintTo(const SchemaCase &c, std::ostream *out)
{
    *out << c.name;
}

class HandshakeSchemaTest : public HandshakeTest, public ::testing::WithParamInterface<SchemaCase>
{
};

TEST_P(HandshakeSchemaTest, SchemaActionsFollowOnlyALoadedSchemaAndTheHandshakeGoesOn)
{
    const SchemaCase &c = GetParam();
    FybSensor server;
    server.setReply("getXSD", c.reply());
    const FybSensor::Mark since = server.mark();
    bind(server);
    ASSERT_TRUE(handshake->run());
    EXPECT_EQ(logged(c.logged), 1);
    EXPECT_EQ(host.count("schema"), c.shown ? 1 : 0);
    EXPECT_EQ(host.count("established"), 1);
    EXPECT_EQ(logged("Connection done"), 1);
    EXPECT_TRUE(server.waitForRoot(since, "getDate", 0ms, 0, Role::Synchronous));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HandshakeSchemaTest,
    ::testing::Values(SchemaCase{"schema", [] { return schemaReply(); }, "XSD received", true},
                      SchemaCase{"refused", [] { return Reply::failed("Busy"); }, "XSD invalid answer : Busy", false},
                      SchemaCase{"another answer", [] { return Reply::message(Element("config")); },
                                 "XSD invalid answer", false},
                      SchemaCase{"unreadable schema",
                                 [] { return Reply::message(Element("xsd").withContent("<xs:schema")); },
                                 "Unable to parse XSD", false}),
    [](const ::testing::TestParamInfo<SchemaCase> &info) { return "case" + std::to_string(info.index); });

class HandshakeRelockTest : public HandshakeTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(HandshakeRelockTest, CurrentSensorLockedBeforeALossIsRelockedBeforeTheSchemaIsAsked)
{
    const bool lockedBefore = GetParam();
    FybSensor server;
    server.setReply("getXSD", schemaReply());
    connectSensor(model->masterSensor(), server);
    Sensor &sensor = model->masterSensor();
    sensor.setLocked(lockedBefore);
    reportLossAndReconnection(sensor);
    ASSERT_EQ(sensor.wasLocked(), lockedBefore);
    const FybSensor::Mark since = server.mark();
    bool schemaAskedBeforeRelock = false;
    host.onStep = [&](const QString &step) {
        if (step == "relock")
            schemaAskedBeforeRelock = server.waitForRoot(since, "getXSD", 0ms).has_value();
    };

    ASSERT_TRUE(handshake->run());

    QStringList expected = kSteps;
    if (lockedBefore)
        expected.insert(1, "relock");
    EXPECT_EQ(listed(host.steps), listed(expected));
    EXPECT_EQ(logged("relock sensor"), lockedBefore ? 1 : 0);
    EXPECT_FALSE(schemaAskedBeforeRelock);
}

INSTANTIATE_TEST_SUITE_P(Lock, HandshakeRelockTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return info.param ? "lockedBefore" : "notLockedBefore";
                         });

TEST_F(HandshakeTest, SecondRunWhileOneRunsReturnsAtOnce)
{
    FybSensor server;
    server.setReply("getXSD", schemaReply());
    const FybSensor::Mark since = server.mark();
    bind(server);
    bool nested = false;
    host.onStep = [&](const QString &step) {
        if (step == "schema") {
            EXPECT_TRUE(handshake->isRunning());
            nested = handshake->run();
        }
    };
    ASSERT_TRUE(handshake->run());
    EXPECT_TRUE(nested);
    EXPECT_EQ(listed(host.steps), listed(kSteps));
    EXPECT_FALSE(server.waitForRoot(since, "getXSD", 0ms, 1)) << "one schema request";
}

TEST_F(HandshakeTest, LossReportedDuringTheHandshakeWaitsForItsEndThenRunsItAgain)
{
    FybSensor server;
    server.setReply("getXSD", schemaReply());
    const FybSensor::Mark since = server.mark();
    bind(server);
    host.onStep = [&](const QString &step) {
        if (step == "schema" && host.count("schema") == 1)
            handshake->onDisconnectionReceived();
    };
    ASSERT_TRUE(handshake->run());
    EXPECT_EQ(listed(host.steps), listed(kSteps)) << "nothing more while the handshake ran";
    EXPECT_EQ(logged("disconnection received"), 0);

    ASSERT_TRUE(waitUntil([&] { return host.count("established") == 2; }));
    EXPECT_EQ(listed(host.steps), listed(kSteps + QStringList({"lost"}) + kSteps));
    EXPECT_EQ(listed(handshakeLines().mid(5, 2)), listed({"disconnection received", "Waiting for connection..."}));
    EXPECT_TRUE(server.waitForRoot(since, "getXSD", 0ms, 1, Role::Synchronous));
}

TEST_F(HandshakeTest, LossReportedOnceTheConnectionIsClosedIsIgnored)
{
    FybSensor server;
    server.setReply("getXSD", schemaReply());
    bind(server);
    ASSERT_TRUE(handshake->run());
    model->clear();
    handshake->onDisconnectionReceived();
    EXPECT_EQ(listed(host.steps), listed(kSteps));
    EXPECT_EQ(logged("disconnection received"), 0);
}

TEST_F(HandshakeTest, CloseWaitsForTheRunningHandshakeAndIsAllowedOnce)
{
    FybSensor server;
    bind(server);
    EXPECT_FALSE(handshake->closeMustWait()) << "nothing awaited";
    int allowed = 0;
    QObject::connect(handshake.get(), &ConnectionHandshake::closeAllowed, handshake.get(), [&] { ++allowed; });
    QList<bool> mustWait;
    host.onStep = [&](const QString &step) {
        if (step == "lock state")
            mustWait << handshake->closeMustWait() << handshake->closeMustWait();
    };
    ASSERT_TRUE(handshake->run());
    EXPECT_EQ(mustWait, QList<bool>({true, true}));
    EXPECT_EQ(allowed, 0);
    ASSERT_TRUE(waitUntil([&] { return allowed == 1; }));
    EXPECT_FALSE(handshake->closeMustWait());
    EXPECT_EQ(logged("Closing once the running requests have returned"), 1);
}

TEST_F(HandshakeTest, CancelledWaitGivesTheConnectionUpAndAsksNothing)
{
    FybSensor server;
    server.setRefuseConnections(true);
    const FybSensor::Mark since = server.mark();
    ZyModalRunner::setHandler([](QDialog *) { return int(QDialog::Rejected); });
    bind(server);
    EXPECT_FALSE(handshake->run());
    EXPECT_EQ(listed(host.steps), listed({"wait", "abandon"}));
    EXPECT_FALSE(handshake->isRunning());
    EXPECT_EQ(model->masterSensor().handle(), nullptr);
    EXPECT_EQ(logged("Connected, protocol is"), 0);
    EXPECT_EQ(MsgManager::runningRequests(), 0);
    EXPECT_TRUE(receivedSince(server, since, Role::Synchronous).isEmpty());
}

TEST_F(HandshakeTest, SensorRestartedWhileIdleGetsExactlyOneHandshake)
{
    // The library's own timing but for quick reconnections: the synchronous link's keep-alive is
    // not due yet when the sensor restarts.
    PXR_resetTiming();
    PXR_Timing *timing = PXR_timing();
    timing->u32ConnectRetryMs = 50;
    timing->u32ReconnectDelayMs = 100;
    timing->u32RequestPollMs = 50;
    timing->u32StopPollMs = 50;
    FybSensor server;
    server.setReply("getXSD", schemaReply());
    server.restartAfterAnswering("getDate", 4s);
    const FybSensor::Mark start = server.mark();
    bind(server);
    ASSERT_TRUE(handshake->run());
    ASSERT_TRUE(server.waitForRoot(start, "setEnableStreams", 5s, 2, Role::Asynchronous));
    const FybSensor::Mark since = server.mark();
    host.steps.clear();

    ASSERT_TRUE(waitUntil([&] { return host.count("established") >= 1 && !handshake->isRunning(); }))
        << host.steps.join('|').toStdString();
    roundTrip();
    // The asynchronous link's sends reach the sensor on their own thread's time.
    EXPECT_TRUE(server.waitForRoot(since, "setEnableStreams", 5s, 2, Role::Asynchronous));

    EXPECT_EQ(listed(host.steps), listed(QStringList({"lost"}) + kSteps));
    EXPECT_EQ(listed(receivedSince(server, since, Role::Synchronous)),
              listed({"setConnectionMode", "getXSD", "getDate", "probe"}));
    EXPECT_EQ(listed(receivedSince(server, since, Role::Asynchronous)),
              listed({"setConnectionMode", "setEnableStreams 1 1 1", "setEnableStreams 0 0 0",
                      "setEnableStreams 1 1 1"}))
        << "the subscription the library sends again by itself, then the handshake's off and on";
}

} // namespace
