// The main window: its form and first look, the connect page fed by discovery, the restored
// window, hardware rendering, the documentation pane, the connected look, the orderly close
// (also while a request runs) and a clean end.
#include "MainWindowTestSupport.h"
#include "OBK.h"
#include "TestPictures.h"

#include "MsgManagerNotifier.h"
#include "OpenGLProbe.h"
#include "RecognitionTestSupport.h"
#include "SA_Log.h"
#include "WidgetCameraSettings.h"
#include "WidgetConnect.h"
#include "WidgetSettings.h"
#include "WidgetVideoPlayer.h"
#include "ZyModalRunner.h"

#include <QDockWidget>
#include <QLabel>
#include <QMetaMethod>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <memory>

namespace {

using fybsim::Announcer;

const char kSchema[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="config">
    <xs:complexType>
      <xs:attribute name="name" type="xs:string"/>
      <xs:attribute name="notes" type="xs:string">
        <xs:annotation><xs:documentation>LONG</xs:documentation></xs:annotation>
      </xs:attribute>
    </xs:complexType>
  </xs:element>
</xs:schema>)";

class OBKTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        window.reset();
        MainWindowTest::TearDown();
    }

    OBK &makeWindow()
    {
        window = std::make_unique<OBK>();
        return *window;
    }
    template <typename T> T *child(const char *name) { return window->findChild<T *>(name); }
    QStringList menuTitles()
    {
        QStringList titles;
        for (QAction *action : child<QMenuBar>("menuBar")->actions())
            titles << action->text();
        return titles;
    }

    std::unique_ptr<OBK> window;
};

TEST_F(OBKTest, NewWindowShowsTheConnectPageWithFileViewAndHelpMenusInTheToolBar)
{
    makeWindow();
    EXPECT_EQ(window->windowTitle(), "BZK");
    auto *tabs = child<QTabWidget>("tabWidget");
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    EXPECT_EQ(titles, QStringList({"Info", "Settings", "Cameras", "Detections"}));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(menuTitles(), QStringList({"BZK", "View", "?"}));
    EXPECT_EQ(child<QMenuBar>("menuBar")->parentWidget(), child<QToolBar>("toolBar"));
    EXPECT_FALSE(window->isConnectedLook());

    window->resize(1200, 700);
    window->show();
    EXPECT_TRUE(child<QWidget>("widgetConnect")->isVisible());
    EXPECT_FALSE(child<QWidget>("widgetVideoPlayer")->isVisible());
    EXPECT_FALSE(child<QDockWidget>("dockSettings")->isVisible());
    EXPECT_FALSE(child<QWidget>("widgetDoc")->isVisible());
    EXPECT_FALSE(child<QAction>("actionSensorDisconnect")->isVisible());
}

TEST_F(OBKTest, ConnectPageListsAnnouncedSensorsAndAClickFillsIt)
{
    AppSettings().setShowTracesDock(true);
    QSettings().setValue("traceTab", 0u);
    makeWindow().resize(1280, 720);
    window->show();
    auto *list = child<PXRDiscoverTreeWidget>("treeDiscover");
    Announcer first(discoveryPort, "127.0.0.2");
    Announcer second(discoveryPort, "127.0.0.3");
    ASSERT_NE(announceUntilListed(list, [&] { first.announce(Announcer::announcement(10001, 12001)); }, "127.0.0.2"),
              nullptr);
    fybsim::LegacySensorInfo legacy;
    legacy.commandPort = 11012;
    legacy.timePort = 10005;
    QTreeWidgetItem *row = announceUntilListed(list, [&] { second.send(Announcer::legacySensor(legacy)); }, "127.0.0.3");
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, (list->visualItemRect(row) & list->viewport()->rect()).center());
    EXPECT_EQ(child<QLineEdit>("txtSensorAddress")->text(), "127.0.0.3");
    EXPECT_EQ(child<QSpinBox>("spinPort")->value(), 10001);
    EXPECT_EQ(child<QLineEdit>("txtOptions")->text(), "commandPort=11012;timePort=10005");
    ASSERT_TRUE(waitLong([&] { return child<QDockWidget>("dockTraces")->isVisible(); }));
    for (int column = 0; column < list->columnCount(); ++column)
        list->resizeColumnToContents(column);
    keepPicture(*window, "OBK-connect-page");
}

TEST_F(OBKTest, ChangePasswordIsOfferedOnlyWhenTheMachineWideStoreIsWritable)
{
    EXPECT_TRUE(makeWindow().findChild<QAction *>("actionChangePassword")->isEnabled());
    window.reset();
    UnwritableMachineStore unwritable;
    EXPECT_FALSE(makeWindow().findChild<QAction *>("actionChangePassword")->isEnabled());
}

TEST_F(OBKTest, FullScreenStateComesBackAsANormalWindowWithItsBars)
{
    // Full screen hides the bars, so the saved state holds them hidden.
    makeWindow().show();
    window->toggleFullScreen();
    window->close();
    window.reset();
    makeWindow();
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
    window->show();
    EXPECT_TRUE(child<QToolBar>("toolBar")->isVisible());
    EXPECT_TRUE(child<QMenuBar>("menuBar")->isVisible());
}

TEST_F(OBKTest, ToggledFullScreenHidesTheBarsAndShowsThemAgain)
{
    makeWindow().show();
    window->toggleFullScreen();
    EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(child<QToolBar>("toolBar")->isVisible());
    window->toggleFullScreen();
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(child<QToolBar>("toolBar")->isVisible());
    EXPECT_TRUE(child<QDockWidget>("dockSettings")->isVisible());
}

TEST_F(OBKTest, DisabledHardwareRenderingIsLoggedOnceAsChosenAndTwiceAsState)
{
    LogMark mark;
    makeWindow();
    const QStringList lines = mark.linesWith("Hardware rendering");
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].contains("Hardware rendering has been manually disabled"));
    EXPECT_TRUE(lines[1].contains("Hardware rendering disabled"));
    EXPECT_TRUE(lines[2].contains("Hardware rendering disabled"));
    EXPECT_FALSE(MainWindowInterface::hardwareRendering());
    EXPECT_EQ(mark.linesWith("BZK 7.7.0.2 build 632 started").size(), 1);
}

TEST_F(OBKTest, ProbeWithoutAGraphicsCardTurnsHardwareRenderingOff)
{
    const struct
    {
        bool probe;
        const char *state;
    } cases[] = {{true, "Hardware rendering enabled"}, {false, "Hardware rendering disabled"}};
    AppSettings().setNoHardwareRendering(false);
    for (const auto &c : cases) {
        window.reset();
        OpenGLProbe::assume(c.probe);
        MainWindowInterface::setHardwareRendering(true);
        LogMark mark;
        makeWindow();
        const QStringList lines = mark.linesWith("Hardware rendering");
        EXPECT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
        EXPECT_EQ(lines.filter(c.state).size(), 2) << c.state;
        EXPECT_EQ(MainWindowInterface::hardwareRendering(), c.probe);
        EXPECT_EQ(child<WidgetVideoPlayer>("widgetVideoPlayer")->hardwareRendering(), c.probe);
    }
    window.reset();
    OpenGLProbe::assume(std::nullopt);
}

TEST_F(OBKTest, DocumentationPaneHidesWithoutTextAndKeepsBetween20And138Pixels)
{
    SchemaDoc &schema = Model::instance()->schemaDoc();
    const QByteArray text = QByteArray(kSchema).replace("LONG", QByteArray("A long explanation. ").repeated(200));
    ASSERT_TRUE(schema.load(text.constData(), int(text.size())));
    makeWindow().resize(1000, 700);
    window->show();
    // The pane lies in the sensor dock, which shows once connected.
    child<QDockWidget>("dockSettings")->show();
    auto *pane = child<QWidget>("widgetDoc");
    // A tiny font makes one line of text need fewer than 12 pixels.
    child<QLabel>("labelDoc")->setStyleSheet("QLabel { font-size: 5px; }");

    struct Case
    {
        QStringList path;
        QString attribute;
        bool visible;
        int height;
    };
    const Case cases[] = {
        {{}, "", false, -1},
        {{"config"}, "name", true, 20},
        {{"config"}, "notes", true, 138},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.attribute.toStdString());
        window->showDocumentation(c.path, c.attribute);
        EXPECT_EQ(!pane->isHidden(), c.visible);
        if (c.height > 0) {
            EXPECT_EQ(pane->minimumHeight(), c.height);
            EXPECT_EQ(pane->maximumHeight(), c.height);
        }
    }
    QCoreApplication::processEvents();
    EXPECT_GT(child<QScrollArea>("scrollAreaDoc")->verticalScrollBar()->maximum(), 0) << "long text scrolls";
    const char empty[] = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema"/>)";
    schema.load(empty, int(sizeof(empty) - 1));
}

TEST_F(OBKTest, ConnectedLookNamesTheHostOnceAndDisconnectedLookRestoresTheTitle)
{
    Sensor &sensor = Model::instance()->masterSensor();
    ASSERT_TRUE(sensor.connect("127.0.0.1", Announcer::unusedPort(), "", false, false, false, "", ""));
    makeWindow().show();
    window->onConnected();
    const QString title = window->windowTitle();
    EXPECT_EQ(title, "BZK - 127.0.0.1 - Unsecured connection");
    window->onConnected();
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(menuTitles(), QStringList({"BZK", "View", "Sensor", "Video", "?"}));
    EXPECT_TRUE(child<QWidget>("widgetVideoPlayer")->isVisible());
    EXPECT_FALSE(child<QWidget>("widgetConnect")->isVisible());
    EXPECT_TRUE(child<QAction>("actionSensorDisconnect")->isVisible());

    window->onDisconnected();
    EXPECT_EQ(window->windowTitle(), "BZK");
    EXPECT_EQ(menuTitles(), QStringList({"BZK", "View", "?"}));
    EXPECT_TRUE(child<QWidget>("widgetConnect")->isVisible());
}

TEST_F(OBKTest, CloseSavesTheWindowDisconnectsAndLogsInOrder)
{
    for (bool connected : {false, true}) {
        SCOPED_TRACE(connected);
        Sensor &sensor = Model::instance()->masterSensor();
        if (connected) {
            ASSERT_TRUE(sensor.connect("127.0.0.1", Announcer::unusedPort(), "", false, false, false, "", ""));
        }
        makeWindow().show();
        LogMark mark;
        window->close();
        const QStringList expected = connected
                                         ? QStringList({"Application closing...", "Disconnecting from sensor 127.0.0.1",
                                                        "Disconnected from sensor 127.0.0.1", "Application done"})
                                         : QStringList({"Application closing...", "Application done"});
        const QStringList lines = mark.lines();
        int at = 0;
        for (const QString &line : lines)
            if (at < expected.size() && line.contains(expected[at]))
                ++at;
        EXPECT_EQ(at, expected.size()) << lines.join('\n').toStdString();
        EXPECT_EQ(mark.linesWith("Disconnecting").isEmpty(), !connected);
        EXPECT_EQ(sensor.handle(), nullptr);
        EXPECT_FALSE(AppSettings().windowGeometry().isEmpty());
        window.reset();
    }
}

TEST_F(OBKTest, CloseWaitsUntilNoRequestRuns)
{
    makeWindow().show();
    MsgManagerNotifier *requests = MsgManagerNotifier::instance();
    requests->requestStarted();
    LogMark mark;
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->close()) << "asked twice, closes once";
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(mark.linesWith("Application closing...").isEmpty());
    requests->requestEnded();
    ASSERT_TRUE(waitLong([&] { return !window->isVisible(); }));
    EXPECT_EQ(mark.linesWith("Application closing...").size(), 1);
    EXPECT_EQ(mark.linesWith("Application done").size(), 1);
}

TEST_F(OBKTest, TracesReachTheLibraryLogWhileTheWindowLivesAndNothingAfter)
{
    makeWindow();
    LogMark mark;
    PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING, "trace while alive");
    SA_Log("runtime line while alive");
    EXPECT_EQ(mark.linesWith("trace while alive").size(), 1);
    EXPECT_EQ(mark.linesWith("runtime line while alive").size(), 1);

    window.reset();
    EXPECT_EQ(MainWindowInterface::instance(), nullptr);
    EXPECT_EQ(MainWindowInterface::appLog(), nullptr);
    LogMark after;
    PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING, "late trace");
    SA_Log("late runtime line");
    MainWindowInterface::logApp(3, "late application line");
    EXPECT_TRUE(after.lines().isEmpty());
}

TEST_F(OBKTest, EditRequestsOfEveryPanelReachTheDialogDispatcher)
{
    makeWindow();
    // The recording key opens the file dialog, which is cancelled here.
    ZyModalRunner::setHandler([](QDialog *) { return int(QDialog::Rejected); });
    LogMark mark;
    emit child<WidgetSettings>("tabSettings")->openDialog("network");
    emit child<WidgetCameraSettings>("widgetCameraSettings")->openDialog("1:stream");
    emit child<WidgetVideoPlayer>("widgetVideoPlayer")->openDialog("recording_start");
    const QStringList lines = mark.linesWith("openDialog");
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].endsWith("network"));
    EXPECT_TRUE(lines[1].endsWith("1:stream"));
    EXPECT_TRUE(lines[2].endsWith("recording_start"));
    ZyModalRunner::setHandler({});
}

TEST_F(OBKTest, RememberedPlateKeyReachesTheWindowsDecryptor)
{
    EXPECT_EQ(PXRPToolPlateDecryptorHasKey(makeWindow().plateDecryptor()), 0);
    window.reset();
    ASSERT_TRUE(AppSettings().setPrivateKey(testRsaKey("phrase"), "phrase", true));
    makeWindow();
    ASSERT_EQ(MainWindowInterface::instance(), window.get());
    EXPECT_EQ(PXRPToolPlateDecryptorHasKey(MainWindowInterface::instance()->plateDecryptor()), 1);
}

TEST_F(OBKTest, DailyLogFileIsWrittenInTheApplicationDataFolder)
{
    makeWindow();
    EXPECT_TRUE(QFile::exists(dailyLogPath()));
    LogMark mark;
    MainWindowInterface::logApp(5, "application line");
    MainWindowInterface::logSensor(5, "sensor line");
    EXPECT_EQ(mark.linesWith("application line").size(), 1);
    EXPECT_EQ(mark.linesWith("sensor line").size(), 1);
}

TEST_F(OBKTest, SlotsKeepTheirPlaceInTheMetaObject)
{
    const QStringList expected = {
        "connectToSensor", "prepareForDisconnect", "disconnect", "onDisconnectionReceived", "onConfigReceived",
        "onInfosReceived", "saveCameraSettings", "doPeriodicTasks", "openDialog", "criticalMessage",
        "on_dockSettings_closeButtonClicked", "on_dockTraces_closeButtonClicked", "on_actionViewSettings_triggered",
        "on_actionViewTraces_triggered", "on_actionViewStats_triggered", "on_actionOptions_triggered",
        "on_actionChangePassword_triggered", "on_actionChangeRSAPrivate_triggered", "on_actionExit_triggered",
        "on_actionSensorDisconnect_triggered", "on_actionSensorLock_triggered", "on_actionSensorReboot_triggered",
        "on_actionForbidSetConfig_triggered", "on_actionSensorSaveConfiguration_triggered",
        "on_actionSensorRestoreConfiguration_triggered", "on_actionSaveInformations_triggered",
        "on_actionSaveXSD_triggered", "on_actionSaveXSDDoc_triggered", "on_actionSaveSensorTraces_triggered",
        "on_actionResetCounters_triggered", "on_actionTestNTP_triggered", "on_actionGetHistory_triggered",
        "on_actionSendSynchronousMessage_triggered", "on_actionSendAsynchronousMessage_triggered",
        "on_actionGetImage_triggered", "on_actionGet_current_log_triggered", "on_actionTrigger_on_triggered",
        "on_actionTrigger_on_advanced_triggered", "on_actionTrigger_timeout_triggered",
        "on_actionTrigger_off_triggered", "on_actionOpenBarrier_triggered", "on_actionRecalibrateOptics_triggered",
        "on_actionInstall_application_triggered", "on_actionUpdate_firmware_from_URL_triggered",
        "on_actionVideoStartRecording_triggered", "on_actionVideoStopRecording_triggered",
        "on_btnStopRecording_clicked", "on_actionSaveVideoBuffer_triggered", "on_actionAbout_triggered",
        "on_tabWidget_currentChanged"};
    QStringList found;
    const QMetaObject &meta = OBK::staticMetaObject;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        if (meta.method(i).methodType() == QMetaMethod::Slot && meta.method(i).access() == QMetaMethod::Public)
            found << QString::fromLatin1(meta.method(i).name());
    EXPECT_EQ(found, expected);
}

TEST_F(OBKTest, PeriodicTaskCapsTheMasterGroupsAndPurgesOldOnesOfBothManagers)
{
    makeWindow();
    Model *model = Model::instance();
    const QDateTime now = QDateTime::currentDateTime();
    QDateTime created = now.addSecs(-1801);
    for (RecognitionManager *manager : {&model->masterRecognitions(), &model->slaveRecognitions()})
        manager->setClock([&created] { return created; });
    // Two master groups and one slave group too old, then 99 recent master groups: 101 in all.
    for (int i = 0; i < 2; ++i)
        model->masterRecognitions().onMessage(recotest::passage("new").get(), created);
    model->slaveRecognitions().onMessage(recotest::passage("new").get(), created);
    created = now;
    for (int i = 0; i < 99; ++i)
        model->masterRecognitions().onMessage(recotest::passage("new").get(), created);
    ASSERT_EQ(model->masterRecognitions().groups().size(), 101);

    window->doPeriodicTasks();
    EXPECT_EQ(model->masterRecognitions().groups().size(), 99);
    for (const RecognitionGroup &group : model->masterRecognitions().groups())
        EXPECT_EQ(group.creationTime(), now);
    EXPECT_TRUE(model->slaveRecognitions().groups().isEmpty());
    for (RecognitionManager *manager : {&model->masterRecognitions(), &model->slaveRecognitions()}) {
        manager->clear();
        manager->setClock({});
    }
}

TEST_F(OBKTest, SecondDisconnectionLogsAnEmptyAddressAndChangesNothingElse)
{
    Sensor &sensor = Model::instance()->masterSensor();
    ASSERT_TRUE(sensor.connect("127.0.0.1", Announcer::unusedPort(), "", false, false, false, "", ""));
    makeWindow().onConnected();
    window->disconnect();
    EXPECT_FALSE(window->isConnectedLook());
    LogMark mark;
    window->disconnect();
    const QStringList lines = mark.linesWith("from sensor");
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].endsWith("Disconnecting from sensor "));
    EXPECT_TRUE(lines[1].endsWith("Disconnected from sensor "));
    EXPECT_FALSE(window->isConnectedLook());
    EXPECT_EQ(window->windowTitle(), "BZK");
}

} // namespace
