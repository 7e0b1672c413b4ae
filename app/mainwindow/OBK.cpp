// The application's main window: the connect page or the video, the sensor dock, the traces dock,
// the tool bar with the menus and the lock switch; it owns the log units, the discovery object and
// the plate decryptor that the rest of the application reaches through MainWindowInterface.
#include "OBK.h"
#include "ui_OBK.h"

#include "CommandLineSensor.h"
#include "DialogStats.h"
#include "DialogChangePassword.h"
#include "DialogOptions.h"
#include "DialogRestoreSettings.h"
#include "DialogSaveVideoBuffer.h"
#include "DiscoveryFactory.h"
#include "FileSaveActions.h"
#include "HistoryWalk.h"
#include "MainWindowResources.h"
#include "MessageFileSender.h"
#include "Model.h"
#include "OpenGLProbe.h"
#include "PXRPrivateToolBox.h"
#include "PictureRequest.h"
#include "SensorCommands.h"
#include "SettingsDialogRegistry.h"
#include "VideoRecorder.h"
#include "SA_Log.h"
#include "ZyAutoCursor.h"
#include "ZyDialogs.h"
#include "ZyLogs.h"
#include "ZyLogsUnit.h"
#include "ZyModalRunner.h"
#include "ZyStylesheet.h"
#include "ZySwitchButton.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>

namespace {

constexpr int kPeriodicMs = 1000;
constexpr int kRecognitionsKeptSeconds = 1800;
constexpr int kLibraryVersionSize = 1024;
// The documentation pane shows between one short line and about nine lines.
constexpr int kDocMinHeight = 12;
constexpr int kDocMaxHeight = 130;
constexpr int kDocPadding = 8;

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

OBK::OBK(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), m_model(Model::instance()), m_waitDialog(this), ui(new Ui::OBKClass),
      m_dialogs(this, [](const QString &line) { logApp(6, line); }), m_handshake(m_model, this)
{
    registerWindow();
    registerSettingsDialogs();
    loadMainWindowResources();
    startLogs();
    m_discover = DiscoveryFactory::createStarted();
    decideHardwareRendering();

    ZyLogs::log(7, QStringLiteral("setupUi..."));
    ui->setupUi(this);
    ZyLogs::log(7, QStringLiteral("setupUi done"));
    logHardwareRendering();

    buildToolBar();
    ui->widgetInformations->setupHeader(QStringLiteral("treeInformations"));
    ui->widgetConnect->setLastSensor(m_settings.lastSensorAddress(), m_settings.lastSensorPort(),
                                     m_settings.lastSensorPortSSL(), m_settings.lastSensorOptions());
    ui->actionChangePassword->setEnabled(m_settings.isMachineWideWritable());
    ui->actionViewSettings->setChecked(m_settings.showSettingsDock());
    ui->actionViewTraces->setChecked(m_settings.showTracesDock());
    QTimer::singleShot(0, this, &OBK::on_actionViewTraces_triggered);
    QObject::connect(&m_handshake, &ConnectionHandshake::closeAllowed, this, &QWidget::close);
    ui->widgetRecognitions->setVideoPlayer(ui->widgetVideoPlayer);
    applyStyleSheets();

    m_baseTitle = windowTitle();
    m_cameraTabIndex = ui->tabWidget->indexOf(ui->tabCamera);
    m_recognitionsTabIndex = ui->tabWidget->indexOf(ui->tabRecognitions);
    restoreWindow();
    m_connected = false;
    setWindowTitle(m_baseTitle);
    clearViews();
    updateUi();
    connectViews();
    m_periodicTimer.setInterval(kPeriodicMs);
    m_periodicTimer.start();

    loadPlateKey();
    logLibraryVersion();
    PXRSetTraceFunction(&OBK::onPXRTrace, this);
    SA_SetLogCallback(&OBK::onRuntimeLog);
    actOnCommandLine();
    ui->widgetDoc->hide();
    m_stats = new DialogStats(this);
}

OBK::~OBK()
{
    // First of all: no library thread, runtime thread or late caller may reach this window again.
    PXRSetTraceFunction(nullptr, nullptr);
    SA_SetLogCallback(nullptr);
    unregisterWindow();

    PXRPToolPlateDecryptorDestroy(m_plateDecryptor);
    m_plateDecryptor = nullptr;
    PXRDiscoverDestroy(m_discover);
    m_discover = nullptr;
    delete m_appLog;
    m_appLog = nullptr;
    delete m_libraryLog;
    m_libraryLog = nullptr;
    delete m_sensorLog;
    m_sensorLog = nullptr;
    delete ui;
}

void OBK::startLogs()
{
    ZyLogs::init(this);
    ZyLogs::setLevel(7);
    ZyLogs::setConsole(true);
    ZyLogs::initFile(true, QStringLiteral("%AppData%/BZK"), QCoreApplication::applicationName(), 8);
    ZyLogs::log(5, QStringLiteral(" "));
    ZyLogs::log(5, QStringLiteral("BZK %1.%2.%3.%4 build %5 started").arg(7).arg(7).arg(0).arg(2).arg(632));

    m_appLog = new ZyLogsUnit(this);
    m_sensorLog = new ZyLogsUnit(this);
    m_libraryLog = new ZyLogsUnit(this);
    for (ZyLogsUnit *unit : {m_appLog, m_sensorLog, m_libraryLog}) {
        unit->setLevel(7);
        unit->log(5, QStringLiteral("Application started"));
    }
    for (ZyLogsUnit *unit : {m_appLog, m_sensorLog, m_libraryLog})
        unit->setForward(true);
    setLogUnits(m_appLog, m_sensorLog, m_libraryLog);
}

void OBK::decideHardwareRendering()
{
    if (m_settings.noHardwareRendering()) {
        ZyLogs::log(5, QStringLiteral("Hardware rendering has been manually disabled"));
        setHardwareRendering(false);
    } else if (!OpenGLProbe::available()) {
        setHardwareRendering(false);
    }
    logHardwareRendering();
}

void OBK::logHardwareRendering()
{
    ZyLogs::log(5, hardwareRendering() ? QStringLiteral("Hardware rendering enabled")
                                       : QStringLiteral("Hardware rendering disabled"));
}

void OBK::buildToolBar()
{
    ZySwitchButton::Style style;
    style.showImages = true;
    style.offImage = QPixmap(QStringLiteral(":/OBK/unlock"));
    style.onImage = QPixmap(QStringLiteral(":/OBK/lock"));
    style.value = false;
    style.enabled = true;
    style.integer = 200;
    style.height = 24;
    style.widthRatio = 2.2f;
    style.offTooltip = tr("Lock");
    style.onTooltip = tr("Unlock");
    m_lockSwitch = new ZySwitchButton(this, style);
    // The switch never moves itself: the lock command decides and the locked look moves it.
    QObject::connect(m_lockSwitch, &ZySwitchButton::clicked, this, &OBK::on_actionSensorLock_triggered);

    // On Linux a native menu bar would leave the window; the tool bar holds it instead.
    ui->menuBar->setNativeMenuBar(false);
    QAction *disconnectAction = ui->actionSensorDisconnect;
    ui->toolBar->insertWidget(disconnectAction, ui->menuBar);
    m_lockLabelEntry = ui->toolBar->insertWidget(
        disconnectAction, new QLabel(tr("The sensor must be locked to change its configuration"), this));
    ui->toolBar->insertWidget(disconnectAction, new QLabel(QStringLiteral("     "), this));
    m_lockSwitchEntry = ui->toolBar->insertWidget(disconnectAction, m_lockSwitch);
    ui->toolBar->insertWidget(disconnectAction, new QLabel(QStringLiteral("    "), this));
    m_lockLabelEntry->setVisible(false);
    m_lockSwitchEntry->setVisible(false);
}

void OBK::restoreWindow()
{
    const QByteArray state = m_settings.windowState();
    // With nothing remembered, the sensor dock opens wide enough for its property names.
    if (state.isEmpty() || !restoreState(state, 0))
        resizeDocks({ui->dockSettings}, {420}, Qt::Horizontal);
    restoreGeometry(m_settings.windowGeometry());
    if (windowState() & Qt::WindowFullScreen) {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        ui->menuBar->setVisible(true);
        ui->toolBar->setVisible(true);
        ui->dockSettings->setVisible(true);
    }
}

void OBK::clearViews()
{
    ui->widgetInformations->clearTree();
    ui->tabSettings->clear();
    ui->widgetCameraSettings->hideControls(true);
    ui->widgetRecognitions->clear();
    ui->widgetVideoPlayer->clear();
}

void OBK::connectViews()
{
    QObject::connect(ui->widgetConnect, &WidgetConnect::connect, this, &OBK::connectToSensor);
    QObject::connect(ui->tabSettings, &WidgetSettings::openDialog, this, &OBK::openDialog);
    QObject::connect(ui->widgetCameraSettings, &WidgetCameraSettings::openDialog, this, &OBK::openDialog);
    QObject::connect(ui->widgetVideoPlayer, &WidgetVideoPlayer::openDialog, this, &OBK::openDialog);
    setDialogActions();
    QObject::connect(&m_model->masterPlayer(), &VideoPlayer::displayFrame, ui->widgetVideoPlayer,
                     &WidgetVideoPlayer::displayFrame);
    QObject::connect(&m_model->slavePlayer(), &VideoPlayer::displayFrame, ui->widgetVideoPlayer,
                     &WidgetVideoPlayer::displaySlaveFrame);
    for (RecognitionManager *manager : {&m_model->masterRecognitions(), &m_model->slaveRecognitions()}) {
        QObject::connect(manager, &RecognitionManager::recognitionGroupChanged, ui->widgetRecognitions,
                         &WidgetRecognitions::onRecognitionGroupChanged);
        QObject::connect(manager, &RecognitionManager::recognitionGroupsdeleted, ui->widgetRecognitions,
                         &WidgetRecognitions::onRecognitionGroupsdeleted);
    }
    QObject::connect(m_model, &Model::signalConfigReceived, this, &OBK::onConfigReceived);
    QObject::connect(m_model, &Model::signalInfosReceived, this, &OBK::onInfosReceived);
    QObject::connect(&m_periodicTimer, &QTimer::timeout, this, &OBK::doPeriodicTasks);
}

void OBK::loadPlateKey()
{
    m_plateDecryptor = PXRPToolPlateDecryptorCreate();
    QByteArray key;
    QString passPhrase;
    // A key that cannot be read or deciphered leaves the decryptor without one; loading reports it.
    if (m_plateDecryptor != nullptr && m_settings.loadPrivateKey(key, passPhrase))
        PXRPToolPlateDecryptorSetKey(m_plateDecryptor, key.constData(), uint32_t(key.size()),
                                     passPhrase.toUtf8().constData());
}

void OBK::logLibraryVersion()
{
    char version[kLibraryVersionSize] = {};
    PXRGetFullVersion(version);
    for (const QString &line : QString::fromLatin1(version).split('\n'))
        m_libraryLog->log(5, line);
}

void OBK::actOnCommandLine()
{
    const CommandLineSensor sensor = CommandLineSensor::parse(QCoreApplication::arguments());
    switch (sensor.action) {
    case CommandLineSensor::Action::None:
        return;
    case CommandLineSensor::Action::Refuse:
        criticalMessage(sensor.error);
        return;
    case CommandLineSensor::Action::Connect:
        ui->widgetConnect->setLastSensor(sensor.address, sensor.port, CommandLineSensor::kDefaultSecuredPort,
                                         QString());
        ui->widgetConnect->on_btnConnect_clicked();
        return;
    }
}

int OBK::onPXRTrace(PXR *, int level, const char *text, void *)
{
    logLibrary(level, QString::fromLatin1(text));
    return 0;
}

void OBK::onRuntimeLog(const char *text)
{
    logLibrary(6, QString::fromLatin1(text));
}

void OBK::applyStyleSheets()
{
    const QString sheet = ZyStylesheet::tabBar() + ZyStylesheet::tabWidget() + ZyStylesheet::menu()
                          + ZyStylesheet::menuBar() + ZyStylesheet::toolBar() + ZyStylesheet::scrollBar()
                          + ZyStylesheet::tableView() + ZyStylesheet::headerView() + ZyStylesheet::treeView()
                          + ZyStylesheet::groupBox() + ZyStylesheet::checkBox()
                          + QStringLiteral("QLabel {font-family: 'Trebuchet MS';font-size: 9pt;}")
                          + ZyStylesheet::toolButton() + ZyStylesheet::pushButton() + ZyStylesheet::dateTimeEdit()
                          + ZyStylesheet::spinBox() + ZyStylesheet::lineEdit() + ZyStylesheet::plainTextEdit()
                          + ZyStylesheet::scrollAreaContents() + ZyStylesheet::dialog() + ZyStylesheet::comboBox()
                          + ZyStylesheet::mainWindow();
    setStyleSheet(sheet);
    ui->widgetVideoPlayer->applyButtonStyle();
}

void OBK::updateUi()
{
    // Showing or hiding the docks must not resize the window.
    const QSize kept = size();
    ui->dockSettings->setVisible(m_connected && m_settings.showSettingsDock());
    ui->widgetConnect->setVisible(!m_connected);
    ui->widgetVideoPlayer->setVisible(m_connected);

    ui->menuBar->clear();
    ui->menuBar->addMenu(ui->menuFile);
    ui->menuBar->addMenu(ui->menuView);
    if (m_connected) {
        ui->menuBar->addMenu(ui->menuSettings);
        ui->menuBar->addMenu(ui->menuVideo);
    }
    ui->menuBar->addMenu(ui->menuAbout);

    for (QAction *action : {ui->actionViewSettings, ui->actionViewStats, ui->actionSensorDisconnect, m_lockSwitchEntry,
                            m_lockLabelEntry, ui->actionSensorSaveConfiguration,
                            ui->actionSensorRestoreConfiguration, ui->actionSensorReboot,
                            ui->actionVideoStartRecording, ui->actionVideoStopRecording})
        action->setVisible(m_connected);
    ui->widgetVideoRecordingProgress->setVisible(m_connected && m_model->recorder().isRecording());
    resize(kept);
}

void OBK::onConnected()
{
    if (m_connected)
        return;
    m_connected = true;
    const QString host = m_model->masterSensor().address().section(':', 0, 0);
    const bool secured = PXRGetSSL(m_model->masterSensor().handle()) == 1;
    setWindowTitle(m_baseTitle + QStringLiteral(" - ") + host
                   + (secured ? tr(" - Secured connection") : tr(" - Unsecured connection")));
    ui->tabWidget->setCurrentIndex(0);
    ui->widgetVideoPlayer->updateControls();
    updateUi();
}

void OBK::onDisconnected()
{
    if (!m_connected)
        return;
    m_connected = false;
    setWindowTitle(m_baseTitle);
    clearViews();
    updateUi();
}

void OBK::updateLockState()
{
    const bool locked = m_model->masterSensor().isLocked();
    m_lockSwitch->setValue(locked);
    ui->dockSettings->setWindowTitle(locked ? tr("Sensor LOCKED") : tr("Sensor"));
    ui->widgetCameraSettings->setEditable(locked);
    m_lockLabelEntry->setVisible(!locked);
    for (QAction *action : {ui->actionSensorRestoreConfiguration, ui->actionSensorReboot, ui->actionResetCounters,
                            ui->actionInstall_application, ui->actionRecalibrateOptics,
                            ui->actionUpdate_firmware_from_URL, ui->actionForbidSetConfig})
        action->setEnabled(locked);
    ui->tabSettings->clear();
    ui->tabSettings->reload();
}

WidgetVideoPlayer *OBK::videoPlayer()
{
    return ui->widgetVideoPlayer;
}

QAction *OBK::actionStartRecording()
{
    return ui->actionVideoStartRecording;
}

QAction *OBK::actionSaveVideoBuffer()
{
    return ui->actionSaveVideoBuffer;
}

void OBK::showDocumentation(const QStringList &elementPath, const QString &attribute)
{
    const QString html = m_model->schemaDoc().documentationHtml(elementPath, attribute, true, true);
    ui->widgetDoc->setVisible(!html.isEmpty());
    ui->scrollAreaDoc->verticalScrollBar()->setValue(0);
    ui->scrollAreaDoc->horizontalScrollBar()->setValue(0);
    ui->labelDoc->setText(html);
    const int height = qBound(kDocMinHeight, ui->labelDoc->heightForWidth(ui->labelDoc->width()), kDocMaxHeight);
    ui->widgetDoc->setMinimumHeight(height + kDocPadding);
    ui->widgetDoc->setMaximumHeight(height + kDocPadding);
}

void OBK::toggleFullScreen()
{
    setWindowState(windowState() ^ Qt::WindowFullScreen);
    const bool normal = !(windowState() & Qt::WindowFullScreen);
    ui->menuBar->setVisible(normal);
    ui->toolBar->setVisible(normal);
    ui->dockSettings->setVisible(normal);
}

void OBK::connectToSensor(QString strAddress, uint16_t uPort, QString strOptions, bool bSecured,
                          bool bIgnoreSSLErrors, bool bUseCertificate, QString strCertificateFile,
                          QString strCertificateKeyFile)
{
    logApp(5, QStringLiteral("Connecting to sensor %1:%2").arg(strAddress).arg(uPort));
    const QString address = strAddress.trimmed();
    m_model->clear();
    if (!m_model->masterSensor().connect(address, uPort, strOptions, bSecured, bIgnoreSSLErrors, bUseCertificate,
                                         strCertificateFile, strCertificateKeyFile)) {
        criticalMessage(tr("Cannot connect to sensor %1").arg(address));
        disconnect();
        return;
    }
    if (initConnection())
        onConnected();
}

bool OBK::initConnection()
{
    return m_handshake.run();
}

bool OBK::waitForConnection(Sensor &sensor)
{
    return m_waitDialog.execConnecting(&sensor) != 0;
}

void OBK::showSchemaActions()
{
    const struct
    {
        QAction *Ui::OBKClass::*action;
        const char *request;
    } actions[] = {
        {&Ui::OBKClass::actionGetImage, "getImage"},
        {&Ui::OBKClass::actionGetHistory, "getLog"},
        {&Ui::OBKClass::actionGet_current_log, "getCurrentLog"},
        {&Ui::OBKClass::actionTrigger_on, "triggerOn"},
        {&Ui::OBKClass::actionTrigger_on_advanced, "triggerOn"},
        {&Ui::OBKClass::actionTrigger_timeout, "triggerOn"},
        {&Ui::OBKClass::actionTrigger_off, "triggerOff"},
        {&Ui::OBKClass::actionOpenBarrier, "openBarrier"},
        {&Ui::OBKClass::actionSaveSensorTraces, "getTraces"},
        {&Ui::OBKClass::actionResetCounters, "resetCounters"},
        {&Ui::OBKClass::actionTestNTP, "testNTP"},
        {&Ui::OBKClass::actionInstall_application, "updateApp"},
        {&Ui::OBKClass::actionRecalibrateOptics, "calibrateZoomFocus"},
        {&Ui::OBKClass::actionUpdate_firmware_from_URL, "updateWebFirmware"},
        {&Ui::OBKClass::actionForbidSetConfig, "forbidSetConfig"},
    };
    for (const auto &entry : actions)
        (ui->*entry.action)->setVisible(m_model->schemaDoc().hasElement({QString::fromLatin1(entry.request)}));
}

void OBK::showSensorState()
{
    updateForbidSetConfigText();
    fillPanels();
}

void OBK::connectionEstablished()
{
    m_periodicTimer.start(kPeriodicMs);
    ui->actionResetCounters->setVisible(m_model->schemaDoc().hasAttribute({QStringLiteral("resetCounters")}, {}));
}

void OBK::connectionLost()
{
    ui->widgetDoc->hide();
    updateLockState();
}

void OBK::updateForbidSetConfigText()
{
    ui->actionForbidSetConfig->setText(m_model->configForbidden() ? tr("Allow configuration changes")
                                                                  : tr("Forbid configuration changes"));
}

void OBK::fillPanels()
{
    // The information refresh, then the configuration refresh, as the two pushes run them: trees
    // kept from before a drop are shown whole at once, and the configuration after the camera list.
    ui->widgetInformations->fillInfos();
    ui->tabSettings->reload();
    ui->widgetCameraSettings->fillCameras();
    ui->widgetCameraSettings->loadConfig();
    ui->tabSettings->reload();
    ui->widgetCameraSettings->loadConfig();
    ui->widgetVideoPlayer->onConfigReceived();
}

void OBK::prepareForDisconnect()
{
    m_handshake.unhook();
    m_periodicTimer.stop();
}

void OBK::undoPrepareForDisconnect()
{
    if (m_model->masterSensor().handle() == nullptr)
        return;
    m_periodicTimer.start(kPeriodicMs);
    m_handshake.hook();
}

void OBK::disconnect()
{
    Sensor &sensor = m_model->masterSensor();
    const QString address = sensor.address();
    logApp(5, QStringLiteral("Disconnecting from sensor %1").arg(address));
    prepareForDisconnect();
    ui->actionVideoStopRecording->trigger();
    sensor.disconnect();
    m_model->clear();
    logApp(5, QStringLiteral("Disconnected from sensor %1").arg(address));
    onDisconnected();
}

void OBK::onDisconnectionReceived()
{
    m_handshake.onDisconnectionReceived();
}

void OBK::onConfigReceived()
{
    ui->tabSettings->reload();
    ui->widgetCameraSettings->loadConfig();
    ui->widgetVideoPlayer->onConfigReceived();
}

void OBK::onInfosReceived()
{
    m_model->parseInfos();
    updateForbidSetConfigText();
    ui->widgetInformations->fillInfos();
    ui->tabSettings->reload();
    ui->widgetCameraSettings->fillCameras();
    ui->widgetCameraSettings->loadConfig();
}

void OBK::saveCameraSettings()
{
    // Nothing to save here: the camera panel sends each settled change to the sensor itself; the
    // slot stays for its place among the window's slots.
}

void OBK::doPeriodicTasks()
{
    const QDateTime limit = QDateTime::currentDateTime().addSecs(-kRecognitionsKeptSeconds);
    m_model->masterRecognitions().limitCount();
    m_model->masterRecognitions().purgeBefore(limit);
    m_model->slaveRecognitions().purgeBefore(limit);
    ui->widgetRecognitions->updateStats();
    if (m_model->masterPlayer().state() == VideoPlayer::Live)
        ui->widgetRecognitions->updateViewLinks();
    if (m_model->recorder().isRecording())
        ui->labelRecordingDuration->setText(
            recordingDurationText(m_recordingStart.secsTo(QDateTime::currentDateTime())));
}

QString OBK::recordingDurationText(qint64 seconds)
{
    // The clock may have been set back meanwhile.
    seconds = qMax<qint64>(0, seconds);
    return twoDigits(seconds / 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

void OBK::openDialog(QString strTabKey)
{
    logApp(6, QStringLiteral("openDialog %1").arg(strTabKey));
    m_dialogs.dispatch(strTabKey);
}

void OBK::setDialogActions()
{
    m_dialogs.setAction(QStringLiteral("recording_start"), [this] { ui->actionVideoStartRecording->trigger(); });
    m_dialogs.setAction(QStringLiteral("save_video_buffer"), [this] { ui->actionSaveVideoBuffer->trigger(); });
    m_dialogs.setAction(QStringLiteral("date_r"), [this] { refreshSensorDate(); });
    m_dialogs.setAction(QStringLiteral("modem-pin"), [this] { SensorCommands(this).setSimPin(); });
    m_dialogs.setAction(QStringLiteral("modem-apn"), [this] { SensorCommands(this).setSimApn(); });
    m_dialogs.setOnNetworkChanged([this] {
        disconnect();
        ui->widgetConnect->restartDiscovery();
        criticalMessage(tr("The sensor now uses a new network configuration.\nYou need to reconnect."));
    });
}

void OBK::on_actionVideoStartRecording_triggered()
{
    VideoRecorder &recorder = m_model->recorder();
    if (recorder.isRecording())
        return;
    const QString path = ZyDialogs::getSaveFileName(this, QStringLiteral("recordVideo"), tr("Record a video"),
                                                    tr("Brondmere Rec Files (*.rec)"), proposedRecordingFile());
    if (path.isEmpty())
        return;
    recorder.start(path);
    m_settings.setLastVideoFileDir(QFileInfo(path).absolutePath());
    // The recorder has logged why; the window must not pretend to record.
    if (!recorder.isRecording()) {
        criticalMessage(tr("Unable to record the video stream to file %1").arg(path));
        return;
    }
    showRecordingLook(true);
    ui->labelRecordingToFile->setText(tr("Recording video stream to file %1").arg(path));
    ui->labelRecordingDuration->setText(QStringLiteral("00:00"));
    m_recordingStart = QDateTime::currentDateTime();
    // Either may be missing: not pushed yet, or dropped by a disconnection.
    for (PXRMsg *message : {m_model->config(), m_model->infos()})
        if (message != nullptr)
            recorder.onMessage(message);
}

void OBK::on_actionVideoStopRecording_triggered()
{
    m_model->recorder().stop();
    showRecordingLook(false);
}

void OBK::on_btnStopRecording_clicked()
{
    ui->actionVideoStopRecording->trigger();
}

void OBK::on_actionSaveVideoBuffer_triggered()
{
    const Sensor &sensor = m_model->masterSensor();
    const RecognitionManager &recognitions = m_model->masterRecognitions();
    DialogSaveVideoBuffer::Sources sources;
    sources.player = &m_model->masterPlayer();
    sources.recognitions = [&recognitions](const QDateTime &from, const QDateTime &to) {
        return recognitions.messagesBetween(from, to);
    };
    sources.configuration = m_model->config();
    sources.information = m_model->infos();
    sources.address = sensor.address();
    sources.port = sensor.port();
    DialogSaveVideoBuffer dialog(sources, this);
    ZyModalRunner::exec(&dialog);
}

void OBK::on_actionViewStats_triggered()
{
    m_stats->setVisible(ui->actionViewStats->isChecked());
}

void OBK::on_tabWidget_currentChanged(int)
{
    showDocumentation({}, QString());
}

void OBK::on_actionAbout_triggered()
{
    const QString text = tr("%1 v%2.%3.%4.%5\r\n\r\nBuild %6\r\nBuild date : %7 %8\r\n\r\n%9")
                             .arg(QStringLiteral("BZK"))
                             .arg(7)
                             .arg(7)
                             .arg(0)
                             .arg(2)
                             .arg(632)
                             .arg(QStringLiteral(__DATE__).simplified(), QStringLiteral(__TIME__),
                                  tr("Configuration and monitoring of licence-plate recognition sensors."));
    QMessageBox box(QMessageBox::Information, tr("About %1").arg(QStringLiteral("BZK")), text, QMessageBox::Ok, this);
    box.setIconPixmap(windowIcon().pixmap(64));
    ZyModalRunner::exec(&box);
}

void OBK::on_actionOptions_triggered()
{
    DialogOptions dialog(this);
    ZyModalRunner::exec(&dialog);
}

void OBK::on_actionChangePassword_triggered()
{
    DialogChangePassword dialog(this);
    ZyModalRunner::exec(&dialog);
}

void OBK::on_actionSensorRestoreConfiguration_triggered()
{
    DialogRestoreSettings dialog(this);
    ZyModalRunner::exec(&dialog);
}

void OBK::on_actionChangeRSAPrivate_triggered()
{
    m_dialogs.runDialog(QStringLiteral("DialogRSAPrivateKey"));
}

void OBK::on_actionExit_triggered()
{
    close();
}

QString OBK::proposedRecordingFile() const
{
    const Sensor &sensor = m_model->masterSensor();
    const QString name = QStringLiteral("%1_%2_%3")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss")),
                                  sensor.address(), QString::number(sensor.port()));
    const QString dir = m_settings.lastVideoFileDir();
    return dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
}

void OBK::showRecordingLook(bool recording)
{
    ui->widgetVideoPlayer->setRecordButtonVisible(!recording);
    ui->actionVideoStartRecording->setEnabled(!recording);
    ui->actionVideoStopRecording->setEnabled(recording);
    ui->widgetVideoRecordingProgress->setVisible(recording);
}

void OBK::refreshSensorDate()
{
    m_model->requestSensorDate();
    ui->tabSettings->reload();
}

void OBK::criticalMessage(QString strMessage)
{
    logApp(3, strMessage);
    QMessageBox box(QMessageBox::Critical, windowTitle(), strMessage, QMessageBox::Ok, this);
    ZyModalRunner::exec(&box);
}

void OBK::on_dockSettings_closeButtonClicked()
{
    ui->actionViewSettings->setChecked(false);
    on_actionViewSettings_triggered();
}

void OBK::on_dockTraces_closeButtonClicked()
{
    ui->actionViewTraces->setChecked(false);
    on_actionViewTraces_triggered();
}

void OBK::on_actionViewSettings_triggered()
{
    const bool show = ui->actionViewSettings->isChecked();
    m_settings.setShowSettingsDock(show);
    ui->dockSettings->setVisible(m_connected && show);
}

void OBK::on_actionSensorDisconnect_triggered()
{
    ZyAutoCursor cursor(this, Qt::WaitCursor);
    m_periodicTimer.stop();
    disconnect();
}

void OBK::on_actionSensorLock_triggered()
{
    if (SensorCommands(this).lockOrUnlock())
        updateLockState();
}

void OBK::on_actionSensorReboot_triggered()
{
    SensorCommands(this).reboot();
}

void OBK::on_actionForbidSetConfig_triggered()
{
    SensorCommands(this).forbidSetConfig();
}

void OBK::on_actionResetCounters_triggered()
{
    SensorCommands(this).resetCounters();
}

void OBK::on_actionTestNTP_triggered()
{
    SensorCommands(this).testNtp();
}

void OBK::on_actionGetHistory_triggered()
{
    HistoryWalk(this).run();
}

void OBK::on_actionGetImage_triggered()
{
    PictureRequest::run(this);
}

void OBK::on_actionGet_current_log_triggered()
{
    SensorCommands(this).getCurrentLog();
}

void OBK::on_actionTrigger_on_triggered()
{
    SensorCommands(this).triggerOn();
}

void OBK::on_actionTrigger_on_advanced_triggered()
{
    SensorCommands(this).triggerAdvanced();
}

void OBK::on_actionTrigger_timeout_triggered()
{
    SensorCommands(this).triggerTimeout();
}

void OBK::on_actionTrigger_off_triggered()
{
    SensorCommands(this).triggerOff();
}

void OBK::on_actionOpenBarrier_triggered()
{
    SensorCommands(this).openBarrier();
}

void OBK::on_actionRecalibrateOptics_triggered()
{
    SensorCommands(this).recalibrateOptics();
}

void OBK::on_actionUpdate_firmware_from_URL_triggered()
{
    SensorCommands(this).updateFirmwareFromUrl();
}

void OBK::on_actionViewTraces_triggered()
{
    const bool show = ui->actionViewTraces->isChecked();
    m_settings.setShowTracesDock(show);
    ui->dockTraces->setVisible(show);
}

void OBK::on_actionSensorSaveConfiguration_triggered()
{
    FileSaveActions(this).saveConfiguration();
}

void OBK::on_actionSaveInformations_triggered()
{
    FileSaveActions(this).saveInformation(m_model->infos());
}

void OBK::on_actionSaveXSD_triggered()
{
    FileSaveActions(this).saveSchema();
}

void OBK::on_actionSaveXSDDoc_triggered()
{
    FileSaveActions(this).saveSchemaDocumentation();
}

void OBK::on_actionSaveSensorTraces_triggered()
{
    FileSaveActions(this).saveTraces();
}

void OBK::on_actionSendSynchronousMessage_triggered()
{
    MessageFileSender(this).sendSynchronous();
}

void OBK::on_actionSendAsynchronousMessage_triggered()
{
    MessageFileSender(this).sendAsynchronous(m_model->masterSensor().handle());
}

void OBK::on_actionInstall_application_triggered()
{
    MessageFileSender(this).installApplication();
}

void OBK::closeEvent(QCloseEvent *event)
{
    // A request's worker still uses the sensor's handle, which the disconnection destroys.
    if (m_handshake.closeMustWait()) {
        event->ignore();
        return;
    }
    logApp(5, QStringLiteral("Application closing..."));
    m_settings.setWindowGeometry(saveGeometry());
    m_settings.setWindowState(saveState(0));
    QObject::disconnect(m_model, &Model::signalConfigReceived, this, nullptr);
    QObject::disconnect(m_model, &Model::signalInfosReceived, this, nullptr);
    if (m_model->masterSensor().handle() != nullptr) {
        ZyAutoCursor cursor(this, Qt::WaitCursor);
        m_periodicTimer.stop();
        disconnect();
    }
    logApp(5, QStringLiteral("Application done"));
    QMainWindow::closeEvent(event);
}
