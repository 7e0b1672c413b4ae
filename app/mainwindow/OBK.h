// The application's main window: the connect page or the video, the sensor dock, the traces dock,
// the tool bar with the menus and the lock switch; it owns the log units, the discovery object and
// the plate decryptor that the rest of the application reaches through MainWindowInterface.
#pragma once

#include "AppSettings.h"
#include "ConnectionHandshake.h"
#include "ConnectionHandshakeHost.h"
#include "DialogDispatcher.h"
#include "DialogWait.h"
#include "MainWindowInterface.h"

#include <QDateTime>
#include <QMainWindow>
#include <QTimer>

#include <cstdint>

#include "PXR.h"

class DialogStats;
class ZyLogsUnit;
class ZySwitchButton;
class Model;
struct PXRPToolPlateDecryptor;

namespace Ui {
class OBKClass;
}

class OBK : public QMainWindow, public MainWindowInterface, private ConnectionHandshakeHost
{
    Q_OBJECT

public:
    explicit OBK(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~OBK() override;

    // The looks that follow the connection, the lock and full screen.
    void updateUi();
    void onConnected();
    void onDisconnected();
    void updateLockState();
    bool isConnectedLook() const { return m_connected; }
    void applyStyleSheets();

    // Brings the application up to date with the master sensor once the library has connected
    // it (a wait the operator may cancel); false only when cancelled. Runs again after drops.
    bool initConnection();

    // MainWindowInterface
    PXRPToolPlateDecryptor *plateDecryptor() override { return m_plateDecryptor; }
    PXRDiscover *discover() override { return m_discover; }
    void setDiscover(PXRDiscover *discover) override { m_discover = discover; }
    WidgetVideoPlayer *videoPlayer() override;
    QAction *actionStartRecording() override;
    QAction *actionSaveVideoBuffer() override;
    void showDocumentation(const QStringList &elementPath, const QString &attribute) override;
    void toggleFullScreen() override;
    void undoPrepareForDisconnect() override;

    // The sensor library's trace function and the runtime's log callback; any thread.
    static int onPXRTrace(PXR *handle, int level, const char *text, void *user);
    static void onRuntimeLog(const char *text);
    // The recording bar's duration, "mm:ss"; minutes go on past 59.
    static QString recordingDurationText(qint64 seconds);

public slots:
    void connectToSensor(QString strAddress, uint16_t uPort, QString strOptions, bool bSecured,
                         bool bIgnoreSSLErrors, bool bUseCertificate, QString strCertificateFile,
                         QString strCertificateKeyFile);
    void prepareForDisconnect() override;
    // Named as the other slots expect it; inside this class QObject::disconnect is spelt out.
    void disconnect();
    void onDisconnectionReceived();
    void onConfigReceived();
    void onInfosReceived();
    void saveCameraSettings();
    void doPeriodicTasks();
    void openDialog(QString strTabKey);
    void criticalMessage(QString strMessage);
    void on_dockSettings_closeButtonClicked();
    void on_dockTraces_closeButtonClicked();
    void on_actionViewSettings_triggered();
    void on_actionViewTraces_triggered();
    void on_actionViewStats_triggered();
    void on_actionOptions_triggered();
    void on_actionChangePassword_triggered();
    void on_actionChangeRSAPrivate_triggered();
    void on_actionExit_triggered();
    void on_actionSensorDisconnect_triggered();
    void on_actionSensorLock_triggered();
    void on_actionSensorReboot_triggered();
    void on_actionForbidSetConfig_triggered();
    void on_actionSensorSaveConfiguration_triggered();
    void on_actionSensorRestoreConfiguration_triggered();
    void on_actionSaveInformations_triggered();
    void on_actionSaveXSD_triggered();
    void on_actionSaveXSDDoc_triggered();
    void on_actionSaveSensorTraces_triggered();
    void on_actionResetCounters_triggered();
    void on_actionTestNTP_triggered();
    void on_actionGetHistory_triggered();
    void on_actionSendSynchronousMessage_triggered();
    void on_actionSendAsynchronousMessage_triggered();
    void on_actionGetImage_triggered();
    void on_actionGet_current_log_triggered();
    void on_actionTrigger_on_triggered();
    void on_actionTrigger_on_advanced_triggered();
    void on_actionTrigger_timeout_triggered();
    void on_actionTrigger_off_triggered();
    void on_actionOpenBarrier_triggered();
    void on_actionRecalibrateOptics_triggered();
    void on_actionInstall_application_triggered();
    void on_actionUpdate_firmware_from_URL_triggered();
    void on_actionVideoStartRecording_triggered();
    void on_actionVideoStopRecording_triggered();
    void on_btnStopRecording_clicked();
    void on_actionSaveVideoBuffer_triggered();
    void on_actionAbout_triggered();
    void on_tabWidget_currentChanged(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startLogs();
    void decideHardwareRendering();
    void logHardwareRendering();
    void buildToolBar();
    void restoreWindow();
    void clearViews();
    void connectViews();
    void loadPlateKey();
    void logLibraryVersion();
    void actOnCommandLine();
    void updateForbidSetConfigText();
    void fillPanels();
    void setDialogActions();
    void refreshSensorDate();
    QString proposedRecordingFile() const;
    void showRecordingLook(bool recording);

    // ConnectionHandshakeHost
    bool waitForConnection(Sensor &sensor) override;
    void abandonConnection() override { disconnect(); }
    void relockSensor() override { on_actionSensorLock_triggered(); }
    void showSchemaActions() override;
    void showLockState() override { updateLockState(); }
    void showSensorState() override;
    void connectionEstablished() override;
    void connectionLost() override;

    QAction *m_lockLabelEntry = nullptr;
    QAction *m_lockSwitchEntry = nullptr;
    Model *m_model;
    AppSettings m_settings;
    DialogWait m_waitDialog;
    DialogStats *m_stats = nullptr;
    QString m_baseTitle;
    int m_cameraTabIndex = -1;
    int m_recognitionsTabIndex = -1;
    QDateTime m_recordingStart;
    ZySwitchButton *m_lockSwitch = nullptr;
    bool m_connected = false;
    QTimer m_periodicTimer;
    Ui::OBKClass *ui;
    PXRDiscover *m_discover = nullptr;
    PXRPToolPlateDecryptor *m_plateDecryptor = nullptr;
    ZyLogsUnit *m_appLog = nullptr;
    ZyLogsUnit *m_sensorLog = nullptr;
    ZyLogsUnit *m_libraryLog = nullptr;
    DialogDispatcher m_dialogs;
    ConnectionHandshake m_handshake;
};
