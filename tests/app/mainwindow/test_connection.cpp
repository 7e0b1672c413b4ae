// The main window's connection road against the test sensor on loopback: the start-up connection
// with its wait dialog and handshake, TLS, drops and reconnections, Cancel, refused options, the
// legacy branches, and back to the connect page.
#include "MainWindowTestSupport.h"
#include "OBK.h"
#include "TestPictures.h"

#include "DialogWait.h"
#include "FybSensor.h"
#include "MsgManager.h"
#include "WidgetConnect.h"
#include "WidgetGeneralSettings.h"
#include "WidgetSettings.h"
#include "ZySwitchButton.h"

#include <QDockWidget>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidgetItemIterator>

#include <chrono>
#include <functional>
#include <memory>

namespace {

using namespace std::chrono_literals;
using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Reply;
using fybsim::Role;

// The test sensor's schema, naming its menu requests; without "openBarrier" on demand.
QByteArray menuSchema(bool withOpenBarrier = true)
{
    QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/menu-requests.xsd"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    if (!withOpenBarrier)
        text.replace("  <xs:element name=\"openBarrier\"><xs:complexType/></xs:element>\n", "");
    return text;
}

Reply schemaReply(bool withOpenBarrier = true)
{
    return Reply::message(Element("xsd").withContent(menuSchema(withOpenBarrier).toStdString()));
}

Element infosWithSerial(const char *serial)
{
    return Element("infos").add(Element("sensor").set("serial", serial).set("productVersion", "1.0.0"));
}

// The test sensor with its schema and information.
void prepare(FybSensor &sensor, bool withOpenBarrier = true)
{
    sensor.setReply("getXSD", schemaReply(withOpenBarrier));
    sensor.setInfos(infosWithSerial("SIM-0001"));
}

class ConnectionTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        shortenConnectionTiming();
        PXR_timing()->u32FirstBytesTimeoutMs = 2000;
        PXR_timing()->u32HelloTimeoutMs = 2000;
        ZyModalRunner::setHandler([this](QDialog *dialog) { return answer(dialog); });
    }
    void TearDown() override
    {
        window.reset();
        ZyModalRunner::setHandler({});
        MainWindowTest::TearDown();
        PXR_resetTiming();
    }

    // The wait dialog runs for real unless the test scripts it; message boxes are answered OK.
    int answer(QDialog *dialog)
    {
        if (auto *wait = qobject_cast<DialogWait *>(dialog)) {
            ++waits;
            return onWait ? onWait(wait) : wait->exec();
        }
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            boxes << box->text();
            return int(QMessageBox::Ok);
        }
        ADD_FAILURE() << "unexpected dialog " << dialog->metaObject()->className();
        return int(QDialog::Rejected);
    }

    // The whole program's start with the sensor named on the command line.
    OBK &startWith(uint16_t port)
    {
        setProgramArguments({QStringLiteral("127.0.0.1:%1").arg(port)});
        window = std::make_unique<OBK>();
        window->resize(1280, 760);
        window->show();
        return *window;
    }
    OBK &startIdle()
    {
        setProgramArguments({});
        window = std::make_unique<OBK>();
        window->show();
        return *window;
    }
    // The connect page's own connect, as the operator would press it.
    void connectFromPage(uint16_t port, const QString &options)
    {
        auto *page = child<WidgetConnect>("widgetConnect");
        page->setLastSensor("127.0.0.1", port, port, options);
        page->on_btnConnect_clicked();
    }

    template <typename T> T *child(const char *name) { return window->findChild<T *>(name); }
    QStringList infoTexts() { return treeTexts(child<WidgetGeneralSettings>("widgetInformations")); }
    QStringList settingsTexts() { return treeTexts(child<WidgetSettings>("tabSettings")->tree()); }
    bool infoShows(const QString &text) { return infoTexts().contains(text); }
    Sensor &master() { return Model::instance()->masterSensor(); }

    std::unique_ptr<OBK> window;
    std::function<int(DialogWait *)> onWait;
    int waits = 0;
    QStringList boxes;
};

// The actions that follow the test sensor's schema.
const char *const kSchemaActions[] = {
    "actionGetImage", "actionGetHistory", "actionGet_current_log", "actionTrigger_on", "actionTrigger_on_advanced",
    "actionTrigger_timeout", "actionTrigger_off", "actionSaveSensorTraces", "actionResetCounters",
    "actionTestNTP", "actionInstall_application", "actionRecalibrateOptics", "actionUpdate_firmware_from_URL",
    "actionForbidSetConfig"};

TEST_F(ConnectionTest, StartUpConnectsFillsBothTreesShowsTheSchemasActionsAndDisconnects)
{
    for (bool withOpenBarrier : {true, false}) {
        SCOPED_TRACE(withOpenBarrier ? "schema with openBarrier" : "schema without openBarrier");
        FybSensor sensor;
        prepare(sensor, withOpenBarrier);
        sensor.setClockSkew(-1h);
        const FybSensor::Mark since = sensor.mark();
        LogMark log;
        waits = 0;
        startWith(sensor.port());

        // On a loaded machine the library may be connected before the wait would begin.
        EXPECT_LE(waits, 1) << "the wait dialog ran at most once, until the library connected";
        EXPECT_EQ(log.linesWith("Connected, protocol is FYB").size(), 1);
        EXPECT_TRUE(window->isConnectedLook());
        EXPECT_EQ(window->windowTitle(), "BZK - 127.0.0.1 - Unsecured connection");
        ASSERT_TRUE(sensor.waitForRoot(since, "getXSD", 5s, 0, Role::Synchronous));
        ASSERT_TRUE(sensor.waitForRoot(since, "getDate", 5s, 0, Role::Synchronous));
        EXPECT_FALSE(sensor.waitForRoot(since, "getXSD", 0ms, 1)) << "one schema request";
        // The subscription goes twice on the asynchronous connection, off then on, after the one
        // the library sends by itself on connecting.
        ASSERT_TRUE(sensor.waitForRoot(since, "setEnableStreams", 5s, 2, Role::Asynchronous));
        QStringList subscriptions;
        for (const fybsim::Received &r : sensor.received())
            if (r.rootName() == "setEnableStreams" && r.role == Role::Asynchronous)
                for (const char *stream : {"configChanges", "infoChanges", "traces"})
                    if (const std::string *value = r.attribute(stream))
                        subscriptions << QString::fromStdString(*value);
        EXPECT_EQ(subscriptions, QStringList({"0", "0", "0", "1", "1", "1"}));
        // The sensor's clock runs an hour behind.
        EXPECT_TRUE(Model::instance()->clockOffsetValid());
        EXPECT_NEAR(double(Model::instance()->clockOffsetMs()), 3600000.0, 60000.0);

        ASSERT_TRUE(waitLong([&] { return infoShows("SIM-0001"); })) << infoTexts().join('|').toStdString();
        ASSERT_TRUE(waitLong([&] { return settingsTexts().contains("fybsim"); }))
            << settingsTexts().join('|').toStdString();
        for (const char *action : kSchemaActions)
            EXPECT_TRUE(child<QAction>(action)->isVisible()) << action;
        EXPECT_EQ(child<QAction>("actionOpenBarrier")->isVisible(), withOpenBarrier);
        EXPECT_EQ(child<QTabWidget>("tabWidget")->currentIndex(), 0) << "the Info tab";
        if (withOpenBarrier)
            keepPicture(*window, "OBK-connected-info");

        // The operator locks the sensor with the switch, then resets its counters.
        const FybSensor::Mark commands = sensor.mark();
        boxes.clear();
        emit window->findChild<ZySwitchButton *>()->clicked();
        EXPECT_TRUE(master().isLocked());
        child<QAction>("actionResetCounters")->trigger();
        EXPECT_TRUE(sensor.waitForRoot(commands, "lock", 5s, 0, Role::Synchronous));
        EXPECT_TRUE(sensor.waitForRoot(commands, "resetCounters", 5s, 0, Role::Synchronous));
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();

        LogMark disconnecting;
        child<QAction>("actionSensorDisconnect")->trigger();
        EXPECT_FALSE(window->isConnectedLook());
        EXPECT_TRUE(child<QWidget>("widgetConnect")->isVisible());
        EXPECT_EQ(window->windowTitle(), "BZK");
        EXPECT_EQ(master().handle(), nullptr);
        EXPECT_EQ(Model::instance()->config(), nullptr);
        EXPECT_EQ(Model::instance()->infos(), nullptr);
        EXPECT_EQ(disconnecting.linesWith("Disconnected from sensor 127.0.0.1").size(), 1);
        window.reset();
    }
}

TEST_F(ConnectionTest, HandshakeGoesOnAfterASchemaAnswerItCannotUse)
{
    struct Case
    {
        const char *name;
        Reply reply;
        const char *logged;
    };
    const Case cases[] = {
        {"refused", Reply::failed("Busy"), "XSD invalid answer : Busy"},
        {"another answer", Reply::message(Element("config")), "XSD invalid answer"},
        {"unreadable schema", Reply::message(Element("xsd").withContent("<xs:schema")), "Unable to parse XSD"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FybSensor sensor;
        sensor.setInfos(infosWithSerial("SIM-0001"));
        sensor.setReply("getXSD", c.reply);
        const FybSensor::Mark since = sensor.mark();
        LogMark log;
        startWith(sensor.port());
        EXPECT_EQ(log.linesWith(c.logged).size(), 1);
        EXPECT_TRUE(log.linesWith("XSD received").isEmpty());
        EXPECT_EQ(log.linesWith("Connection done").size(), 1);
        EXPECT_TRUE(window->isConnectedLook());
        EXPECT_TRUE(sensor.waitForRoot(since, "getDate", 5s));
        EXPECT_TRUE(waitLong([&] { return infoShows("SIM-0001"); }));
        window.reset();
    }
}

TEST_F(ConnectionTest, SecuredConnectShowsTheSslErrorsUntilIgnored)
{
    FybSensor sensor(fybsim::TlsIdentity::selfSigned());
    prepare(sensor);
    AppSettings settings;
    settings.setSecuredConnection(true);
    settings.setIgnoreSSLErrors(false);
    QString shown;
    onWait = [&](DialogWait *wait) {
        auto *ignore = wait->findChild<QPushButton *>("btnIgnoreSSLErrors");
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, wait, [&] {
            if (ignore->isHidden())
                return;
            poll.stop();
            shown = wait->findChild<QLabel *>("labelMessage")->text();
            keepPicture(*wait, "DialogWait-ssl-errors");
            ignore->click();
        });
        poll.start(20);
        return wait->exec();
    };
    startIdle();
    connectFromPage(sensor.port(), QString());
    EXPECT_TRUE(shown.startsWith("Unable to connect : SSL errors\n   ")) << shown.toStdString();
    EXPECT_TRUE(window->isConnectedLook());
    EXPECT_TRUE(window->windowTitle().endsWith(" - Secured connection")) << window->windowTitle().toStdString();
    EXPECT_TRUE(waitLong([&] { return infoShows("SIM-0001"); }));
}

TEST_F(ConnectionTest, DropShowsTheReconnectWaitAndRunsTheWholeHandshakeAgain)
{
    FybSensor sensor;
    prepare(sensor);
    startWith(sensor.port());
    ASSERT_TRUE(window->isConnectedLook());
    ASSERT_TRUE(waitLong([&] { return infoShows("SIM-0001"); }));

    // The sensor stays away until the reconnect wait is on screen.
    sensor.setRefuseConnections(true);
    onWait = [&](DialogWait *wait) {
        sensor.setRefuseConnections(false);
        return wait->exec();
    };
    sensor.setInfos(infosWithSerial("SIM-0002"));
    const int waitsBefore = waits;
    const FybSensor::Mark since = sensor.mark();
    LogMark log;
    sensor.dropConnections();

    // Both links notice the drop; the whole handshake runs again once the sensor takes
    // connections.
    ASSERT_TRUE(waitLong([&] { return !log.linesWith("XSD received").isEmpty(); }))
        << log.lines().join('\n').toStdString();
    EXPECT_GE(log.linesWith("disconnection received").size(), 1);
    EXPECT_GE(waits, waitsBefore + 1);
    EXPECT_TRUE(sensor.waitForRoot(since, "getXSD", 5s, 0, Role::Synchronous));
    EXPECT_TRUE(sensor.waitForRoot(since, "setEnableStreams", 5s, 1, Role::Asynchronous));
    EXPECT_TRUE(waitLong([&] { return infoShows("SIM-0002"); })) << infoTexts().join('|').toStdString();
    EXPECT_TRUE(window->isConnectedLook());
    EXPECT_EQ(window->windowTitle(), "BZK - 127.0.0.1 - Unsecured connection");
}

TEST_F(ConnectionTest, CancelledWaitAndRefusedOptionsLeaveTheWindowIdle)
{
    FybSensor sensor;
    sensor.setRefuseConnections(true);
    struct Case
    {
        const char *name;
        QString options;
        int waits;
        const char *box;
    };
    const Case cases[] = {
        {"cancelled wait", QString(), 1, nullptr},
        {"unknown option", QStringLiteral("noSuchOption=1"), 0, "Cannot connect to sensor 127.0.0.1"},
    };
    onWait = [](DialogWait *wait) {
        QTimer::singleShot(0, wait, [wait] { press(*wait, "buttonBox", QDialogButtonBox::Cancel); });
        return wait->exec();
    };
    startIdle();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        waits = 0;
        boxes.clear();
        LogMark log;
        connectFromPage(sensor.port(), c.options);
        EXPECT_EQ(waits, c.waits);
        EXPECT_EQ(boxes, c.box != nullptr ? QStringList({c.box}) : QStringList());
        EXPECT_EQ(log.linesWith("Disconnected from sensor").size(), 1);
        EXPECT_FALSE(window->isConnectedLook());
        EXPECT_EQ(window->windowTitle(), "BZK");
        EXPECT_EQ(master().handle(), nullptr);
        EXPECT_TRUE(child<QWidget>("widgetConnect")->isVisible());
    }
}

TEST_F(ConnectionTest, DisconnectingUnderTheConnectionWaitEndsItAsCancelled)
{
    FybSensor sensor;
    sensor.setRefuseConnections(true);
    onWait = [this](DialogWait *wait) {
        QTimer::singleShot(0, window.get(), [this] { window->disconnect(); });
        return wait->exec();
    };
    startIdle();
    LogMark log;
    connectFromPage(sensor.port(), QString());
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(window->isConnectedLook());
    EXPECT_EQ(master().handle(), nullptr);
    EXPECT_TRUE(log.linesWith("Connected, protocol").isEmpty());
}

TEST_F(ConnectionTest, AddressIsLoggedAsTypedAndBoundWithoutBlanks)
{
    FybSensor sensor;
    startIdle();
    LogMark log;
    window->connectToSensor(" 127.0.0.1 ", sensor.port(), "", false, false, false, "", "");
    EXPECT_EQ(log.linesWith(QStringLiteral("Connecting to sensor  127.0.0.1 :%1").arg(sensor.port())).size(), 1);
    EXPECT_EQ(master().address(), "127.0.0.1");
    EXPECT_TRUE(window->isConnectedLook());
}

TEST_F(ConnectionTest, LockedSensorIsRelockedAfterADropAndLegacyHandshakeSkipsRelockAndClock)
{
    FybSensor sensor;
    prepare(sensor);
    startWith(sensor.port());
    ASSERT_TRUE(window->isConnectedLook());
    window->on_actionSensorLock_triggered();
    ASSERT_TRUE(master().isLocked());
    const FybSensor::Mark beforeDrop = sensor.mark();
    LogMark dropped;
    sensor.dropConnections();
    // Settled: locked again on a live link, every handshake begun ended (a relock that met the
    // dropped idle link got no answer and costs one more handshake, which relocks again).
    ASSERT_TRUE(waitLong([&] {
        return !dropped.linesWith("relock sensor").isEmpty() && master().isLocked() && master().isConnected()
               && dropped.linesWith("Waiting for connection...").size() == dropped.linesWith("Connection done").size();
    }));
    EXPECT_TRUE(sensor.waitForRoot(beforeDrop, "lock", 0ms, 0, Role::Synchronous)) << "the lock command ran again";
    EXPECT_FALSE(master().wasLocked());
    EXPECT_EQ(child<QDockWidget>("dockSettings")->windowTitle(), "Sensor LOCKED");

    // A relock the sensor refuses leaves the lock lost, to be tried again after the next drop.
    sensor.setReply("lock", Reply::failed("refused"));
    LogMark droppedAgain;
    sensor.dropConnections();
    ASSERT_TRUE(waitLong([&] {
        return !droppedAgain.linesWith("XSD received").isEmpty() && master().isConnected()
               && droppedAgain.linesWith("Waiting for connection...").size()
                      == droppedAgain.linesWith("Connection done").size();
    }));
    EXPECT_FALSE(master().isLocked());
    ASSERT_TRUE(master().wasLocked());

    // The same lost lock on a legacy sensor: the handshake neither relocks nor asks the clock.
    SA_AtomicStore(&master().handle()->i32DetectedProtocol, PXR_PROTOCOL_KGV);
    const FybSensor::Mark since = sensor.mark();
    LogMark log;
    waits = 0;
    EXPECT_TRUE(window->initConnection());
    SA_AtomicStore(&master().handle()->i32DetectedProtocol, PXR_PROTOCOL_FYB);
    EXPECT_EQ(waits, 0) << "already connected: no wait dialog";
    EXPECT_EQ(log.linesWith("Connected, protocol is KGV").size(), 1);
    EXPECT_TRUE(log.linesWith("relock sensor").isEmpty());
    EXPECT_TRUE(sensor.waitForRoot(since, "getXSD", 5s));
    EXPECT_FALSE(sensor.waitForRoot(since, "getDate", 0ms));
    EXPECT_FALSE(sensor.waitForRoot(since, "lock", 0ms));
    EXPECT_TRUE(Model::instance()->clockOffsetValid());
    EXPECT_EQ(Model::instance()->clockOffsetMs(), 0);
}

TEST_F(ConnectionTest, CloseDuringASlowSchemaAnswerWaitsForTheHandshake)
{
    FybSensor sensor;
    sensor.setReply("getXSD", schemaReply().after(1500ms));
    const FybSensor::Mark since = sensor.mark();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (!sensor.waitForRoot(since, "getXSD", 0ms))
            return;
        closer.stop();
        dynamic_cast<QWidget *>(MainWindowInterface::instance())->close();
    });
    closer.start(20);
    LogMark log;
    startWith(sensor.port());
    ASSERT_TRUE(waitLong([&] { return !log.linesWith("Application done").isEmpty(); }));
    const QStringList lines = log.lines();
    const auto at = [&](const char *text) { return lines.indexOf(lines.filter(text).value(0)); };
    EXPECT_LT(at("XSD received"), at("Application closing..."));
    EXPECT_LT(at("Connection done"), at("Application closing..."));
    EXPECT_EQ(master().handle(), nullptr);
}

TEST_F(ConnectionTest, DropDuringASlowSchemaAnswerEndsInAFreshHandshake)
{
    FybSensor sensor;
    prepare(sensor);
    sensor.queueReply(schemaReply().after(1500ms));
    const FybSensor::Mark since = sensor.mark();
    QTimer dropper;
    QObject::connect(&dropper, &QTimer::timeout, [&] {
        if (!sensor.waitForRoot(since, "getXSD", 0ms))
            return;
        dropper.stop();
        sensor.dropConnections();
    });
    dropper.start(20);
    LogMark log;
    startWith(sensor.port());
    ASSERT_TRUE(waitLong([&] { return !log.linesWith("XSD received").isEmpty(); }));
    EXPECT_EQ(log.linesWith("Unable to get XSD!").size(), 1);
    EXPECT_EQ(log.linesWith("disconnection received").size(), 1);
    EXPECT_TRUE(sensor.waitForRoot(since, "getXSD", 5s, 1));
    EXPECT_TRUE(waitLong([&] { return infoShows("SIM-0001"); }));
    EXPECT_TRUE(child<QAction>("actionOpenBarrier")->isVisible());
    EXPECT_TRUE(window->isConnectedLook());
}

TEST_F(ConnectionTest, SensorRestartingAfterTheHandshakeIsFollowedByAWholeNewHandshake)
{
    FybSensor sensor;
    prepare(sensor);
    sensor.restartAfterAnswering("getDate", 1s);
    LogMark log;
    startWith(sensor.port());
    ASSERT_TRUE(window->isConnectedLook());
    const FybSensor::Mark since = sensor.mark();
    // The restart drops both connections; only the asynchronous one notices at once.
    ASSERT_TRUE(waitLong([&] { return !log.linesWith("disconnection received").isEmpty(); }));
    ASSERT_TRUE(waitLong([&] { return log.linesWith("XSD received").size() >= 2; }))
        << log.lines().join('\n').toStdString();
    EXPECT_TRUE(sensor.waitForRoot(since, "setEnableStreams", 5s, 1, Role::Asynchronous));
    EXPECT_TRUE(waitLong([&] { return infoShows("SIM-0001"); }));
    EXPECT_TRUE(waitLong([&] { return settingsTexts().contains("fybsim"); }));
    EXPECT_TRUE(window->isConnectedLook());
}

TEST_F(ConnectionTest, SensorRebootedWhileIdleGetsOneHandshakeAndItsLockBackWithoutABox)
{
    FybSensor sensor;
    prepare(sensor);
    const FybSensor::Mark start = sensor.mark();
    startWith(sensor.port());
    ASSERT_TRUE(window->isConnectedLook());
    ASSERT_TRUE(sensor.waitForRoot(start, "setEnableStreams", 5s, 2, Role::Asynchronous));
    // The lock is the last request; the sensor reboots 4 s after it, both connections dropped.
    sensor.restartAfterAnswering("lock", 4s);
    window->on_actionSensorLock_triggered();
    ASSERT_TRUE(master().isLocked());
    const FybSensor::Mark since = sensor.mark();
    LogMark log;
    boxes.clear();

    ASSERT_TRUE(waitLong([&] {
        return !log.linesWith("Connection done").isEmpty()
               && log.linesWith("Waiting for connection...").size() == log.linesWith("Connection done").size();
    })) << log.lines().join('\n').toStdString();
    // A round trip of the test's own: a link left dead behind the handshake would show now.
    PXRMsg *probe = PXRMsgCreate();
    PXRMsgSetChild(probe, PXRMsgElementCreate("probe"));
    PXRMsg *answer = MsgManager::sendRequest(probe);
    EXPECT_NE(answer, nullptr);
    PXRMsgDestroy(answer);
    PXRMsgDestroy(probe);

    for (const char *line : {"disconnection received", "Waiting for connection...", "relock sensor", "Connection done"})
        EXPECT_EQ(log.linesWith(line).size(), 1) << line << "\n" << log.lines().join('\n').toStdString();
    QStringList requests;
    int modes = 0;
    int offs = 0;
    const std::vector<fybsim::Received> received = sensor.received();
    for (std::size_t i = since.received; i < received.size(); ++i) {
        const fybsim::Received &r = received[i];
        if (r.role == Role::Synchronous && r.rootName() != "keep-alive")
            requests << QString::fromStdString(r.rootName());
        modes += r.rootName() == "setConnectionMode" ? 1 : 0;
        const std::string *traces = r.rootName() == "setEnableStreams" ? r.attribute("traces") : nullptr;
        offs += traces != nullptr && *traces == "0" ? 1 : 0;
    }
    EXPECT_EQ(requests.join(' ').toStdString(), "setConnectionMode lock getXSD getDate probe");
    EXPECT_EQ(modes, 2) << "one connection of each role";
    EXPECT_EQ(offs, 1) << "the handshake's subscription off";
    EXPECT_TRUE(master().isLocked());
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
}

} // namespace
