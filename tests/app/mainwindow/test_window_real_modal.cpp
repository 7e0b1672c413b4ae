// The window with no dialog handler: every dialog runs its real modal loop and an operator who
// always cancels ends it. Every menu command and every button of the connected window runs once
// for real; the window must still be there and answer, and commands that need no answer must
// still have done their part. New dialogs are opened here once for real.
#include "CommandTestSupport.h"

#include "DialogEnslavementAdvancedSettings.h"
#include "DialogHttpPushFilter.h"
#include "DialogSelectSensor.h"
#include "DialogDNSServers.h"
#include "DialogNTPServers.h"
#include "DialogNetworkAdvancedSettings.h"
#include "DialogNetworkRoute.h"
#include "DialogNetworkScanWifi.h"
#include "DialogUnicastDiscoverClients.h"
#include "PXRMessage.h"
#include "ModalCloser.h"
#include "VideoPlayer.h"
#include "ZyModalRunner.h"
#include "WidgetImageBase.h"
#include "WidgetVideoPlayer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class WindowRealModalTest : public CommandTest
{
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        ZyModalRunner::setHandler({});
        // The connection's wait ends by itself once the sensor is connected.
        closer = std::make_unique<ModalCloser>(QDialog::Rejected, [](QWidget *widget) {
            return qobject_cast<DialogWait *>(widget) != nullptr;
        });
    }
    void TearDown() override
    {
        CommandTest::TearDown();
        closer.reset();
    }

    void connectLocked()
    {
        connectPlain();
        window->on_actionSensorLock_triggered();
        ASSERT_TRUE(master().isLocked());
    }

    // The window is up, runs a queued call and has no modal window left behind.
    void expectAnswering(const QString &after)
    {
        SCOPED_TRACE(after.toStdString());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        auto called = std::make_shared<bool>(false);
        QMetaObject::invokeMethod(window.get(), [called] { *called = true; }, Qt::QueuedConnection);
        EXPECT_TRUE(waitLong([called] { return *called; }));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }

    // The commands of the window's menus, as the menu bar offers them now.
    QList<QAction *> menuCommands() const
    {
        QList<QAction *> commands;
        for (QAction *menu : window->findChild<QMenuBar *>("menuBar")->actions())
            if (menu->menu() != nullptr)
                for (QAction *action : menu->menu()->actions())
                    if (!action->isSeparator() && action->menu() == nullptr)
                        commands << action;
        return commands;
    }

    // The push and tool buttons the window shows now, but for the tool bar's disconnection,
    // which is checked on its own.
    QList<QPointer<QAbstractButton>> windowButtons() const
    {
        const QAction *disconnect = window->findChild<QAction *>("actionSensorDisconnect");
        QList<QPointer<QAbstractButton>> buttons;
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            const auto *tool = qobject_cast<QToolButton *>(button);
            const bool kind = tool != nullptr || qobject_cast<QPushButton *>(button) != nullptr;
            if (kind && button->window() == window.get() && button->isVisible()
                && (tool == nullptr || tool->defaultAction() != disconnect))
                buttons << button;
        }
        return buttons;
    }

    std::unique_ptr<ModalCloser> closer;
};

// What a command does when every dialog it opens is cancelled: the requests the sensor gets and
// the windows that had to be closed, in order. A command missing here fails the test: add its row.
struct CommandCase
{
    const char *action;
    QStringList requests;
    QStringList closed;
    const char *follower = nullptr;  // a window shown while the command is checked
};

const CommandCase kCommands[] = {
    {"actionOptions", {}, {"DialogOptions"}},
    {"actionChangeRSAPrivate", {}, {"DialogRSAPrivateKey"}},
    {"actionViewSettings", {}, {}, "dockSettings"},
    {"actionViewTraces", {}, {}, "dockTraces"},
    {"actionViewStats", {}, {}, "DialogStats"},
    {"actionSensorReboot", {}, {"QMessageBox"}},
    {"actionForbidSetConfig", {"forbidSetConfig"}, {}},
    {"actionUpdate_firmware_from_URL", {}, {"QInputDialog"}},
    {"actionInstall_application", {}, {"QFileDialog"}},
    {"actionSensorSaveConfiguration", {}, {"QFileDialog"}},
    {"actionSensorRestoreConfiguration", {}, {"DialogRestoreSettings"}},
    {"actionSaveInformations", {}, {"QFileDialog"}},
    {"actionSaveXSD", {}, {"QFileDialog"}},
    {"actionSaveXSDDoc", {}, {"QFileDialog"}},
    {"actionSendSynchronousMessage", {}, {"QFileDialog"}},
    {"actionSendAsynchronousMessage", {}, {"QFileDialog"}},
    {"actionGetImage", {}, {"DlgGetImage"}},
    {"actionGet_current_log", {"getCurrentLog"}, {"DlgMsg"}},
    {"actionTrigger_on", {"triggerOn"}, {"DlgMsg"}},
    {"actionTrigger_on_advanced", {}, {"QInputDialog"}},
    {"actionTrigger_timeout", {}, {"QInputDialog"}},
    {"actionTrigger_off", {"triggerOff"}, {"DlgMsg"}},
    {"actionOpenBarrier", {"openBarrier"}, {"DlgMsg"}},
    {"actionResetCounters", {"resetCounters"}, {}},
    {"actionSaveSensorTraces", {}, {"QFileDialog"}},
    {"actionTestNTP", {}, {"QInputDialog"}},
    {"actionGetHistory", {"getLog"}, {"DlgMsgs"}},
    {"actionRecalibrateOptics", {"calibrateZoomFocus"}, {"DlgMsg"}},
    {"actionVideoStartRecording", {}, {"QFileDialog"}},
    {"actionAbout", {}, {"QMessageBox"}},
};

const CommandCase *commandCase(const QString &action)
{
    for (const CommandCase &c : kCommands)
        if (action == QLatin1String(c.action))
            return &c;
    return nullptr;
}

TEST_F(WindowRealModalTest, EveryMenuCommandRunsForRealAndLeavesTheWindowAnswering)
{
    connectLocked();
    const QStringList endings{"actionSensorDisconnect", "actionExit"};
    QStringList ran;
    for (QAction *action : menuCommands()) {
        const QString name = action->objectName();
        if (endings.contains(name) || !action->isVisible() || !action->isEnabled())
            continue;
        SCOPED_TRACE(name.toStdString());
        const CommandCase *c = commandCase(name);
        ASSERT_NE(c, nullptr) << "a command without its row";
        const fybsim::FybSensor::Mark mark = sensor->mark();
        const qsizetype closed = closer->mark();
        action->trigger();
        ran << name;
        expectAnswering(name);
        // A progress dialog may be gone before anyone could cancel it; once cancelled, the
        // work it showed may stop before its requests.
        QStringList windows = closer->closedSince(closed);
        const QStringList requests = rootsSince(mark);
        if (windows.removeAll(QStringLiteral("QProgressDialog")) > 0) {
            EXPECT_EQ(requests, c->requests.mid(0, requests.size()));
        } else {
            EXPECT_EQ(requests, c->requests);
        }
        EXPECT_EQ(windows, c->closed);
        if (c->follower != nullptr) {
            EXPECT_EQ(window->findChild<QWidget *>(c->follower)->isVisible(), action->isChecked());
        }
    }
    for (const CommandCase &c : kCommands)
        EXPECT_TRUE(ran.contains(QLatin1String(c.action))) << c.action << " was not offered";
}

TEST_F(WindowRealModalTest, SavingTheVideoBufferRunsItsRealDialogPausedAndRefusesLive)
{
    connectLocked();
    VideoPlayer &player = Model::instance()->masterPlayer();
    player.goLive();
    qsizetype mark = closer->mark();
    window->on_actionSaveVideoBuffer_triggered(); // as the record button's key does while live
    expectAnswering(QStringLiteral("live"));
    EXPECT_EQ(closer->closedSince(mark), QStringList{"QMessageBox"});

    player.pause();
    for (int run = 0; run < 2; ++run) {
        mark = closer->mark();
        window->findChild<QAction *>("actionSaveVideoBuffer")->trigger();
        expectAnswering(QStringLiteral("paused"));
        EXPECT_EQ(closer->closedSince(mark), QStringList{"DialogSaveVideoBuffer"});
    }
    player.goLive();
}

// Buttons whose click needs no answer to show its effect: the windows closed and the replay's
// state after it, from a live or a paused replay.
struct ButtonCase
{
    const char *button;
    bool paused;
    QStringList closed;
    VideoPlayer::State after;
};

const ButtonCase kButtons[] = {
    {"btnDisplayOptions", false, {"DialogDisplayConfig"}, VideoPlayer::Live},
    {"btnDisplayOptions", true, {"DialogDisplayConfig"}, VideoPlayer::Paused},
    {"btnStartRecording", false, {"QFileDialog"}, VideoPlayer::Live},
    {"btnStartRecording", true, {"DialogSaveVideoBuffer"}, VideoPlayer::Paused},
    {"btnPause", false, {}, VideoPlayer::Paused},
    {"btnRealtime", true, {}, VideoPlayer::Live},
};

TEST_F(WindowRealModalTest, EveryButtonOfTheConnectedWindowRunsForRealLiveAndPaused)
{
    connectLocked();
    auto *tabs = window->findChild<QTabWidget *>("tabWidget");
    VideoPlayer &player = Model::instance()->masterPlayer();
    QSet<QString> checked;
    for (const bool paused : {false, true}) {
        QSet<QAbstractButton *> done;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            paused ? player.pause() : player.goLive();
            for (const QPointer<QAbstractButton> &button : windowButtons()) {
                // An earlier click may have rebuilt, hidden or disabled it.
                if (button.isNull() || done.contains(button) || !button->isVisible() || !button->isEnabled())
                    continue;
                done.insert(button);
                const QString name = button->objectName();
                SCOPED_TRACE(testing::Message() << name.toStdString() << ' ' << button->text().toStdString()
                                                << (paused ? " paused" : " live"));
                const qsizetype closed = closer->mark();
                button->click();
                expectAnswering(name);
                EXPECT_TRUE(window->isConnectedLook());
                for (const ButtonCase &c : kButtons) {
                    if (name != QLatin1String(c.button) || paused != c.paused)
                        continue;
                    checked << name + (paused ? " paused" : " live");
                    EXPECT_EQ(closer->closedSince(closed), c.closed);
                    EXPECT_EQ(player.state(), c.after);
                }
                paused ? player.pause() : player.goLive();
            }
        }
    }
    for (const ButtonCase &c : kButtons)
        EXPECT_TRUE(checked.contains(QLatin1String(c.button) + (c.paused ? " paused" : " live"))) << c.button;
    player.goLive();
}

// Settings dialogs opened from their tags run their real modal loop with their documentation;
// cancelled, they send nothing.
TEST_F(WindowRealModalTest, SettingsDialogsRunForReal)
{
    connectLocked();
    const std::pair<const char *, const char *> dialogs[] = {
        {"0:anpr", "DialogANPRSettings"},
        {"0:dgpr", "DialogDGPRSettings"},
        {"0:anprocr", "DialogOCRSettings"},
        {"0:dgprocr", "DialogOCRSettings"},
        {"0:anprtrigger", "DialogTriggerSettings"},
        {"0:dgprtrigger", "DialogTriggerSettings"},
        {"0:anprserial", "DialogRS232Settings"},
        {"0:dgprserial", "DialogRS232Settings"},
        {"cameras", "DialogCamerasSettings"},
        {"0:autoExposure", "DialogAutoExposureSettings"},
        {"0:enslavement", "DialogEnslavementSettings"},
        {"0:anpravar", "DialogAVARSettings"},
        {"device", "DialogDeviceSettings"},
        {"1:database", "DialogDatabaseSettings"},
        {"io", "DialogIOSettings"},
        {"lightings", "DialogLightingsSettings"},
        {"led=1:led", "DialogLedSettings"},
        {"projector=2:projector", "DialogProjectorSettings"},
        {"ftp", "DialogFTPSettings"},
        {"httpPush", "DialogHttpPushSettings"},
        {"slaves", "DialogMasterSlaveSettings"},
        {"0:speed", "DialogSpeedSettings"},
        // Outside-system protocols and sensor services.
        {"tiba", "DialogTibaSettings"},
        {"amanoOne", "DialogAmanoOneSettings"},
        {"SBFreeFlow", "DialogSBFreeFlowSettings"},
        {"nedapGenericBadge", "DialogNedapSettings"},
        {"moobyl", "DialogMoobylSettings"},
        {"rvd", "DialogRVDSettings"},
        {"mDNS", "DialogMulticastDNSSettings"},
        {"pingTest", "DialogTestPingSettings"},
        {"security-certificates", "DialogSecurity"},
        {"security-8021X", "DialogSecurity8021X"},
        {"security-lock", "DialogSecurityLock"},
        {"security-plate", "DialogSecurityRSA"},
        {"network", "DialogNetworkSettings"},
        {"0:stream", "DialogVideoStreamSettings"},
        {"0:stillPicture", "DialogStillPictureSettings"},
        {"0:classification", "DialogClassification"},
    };
    for (const auto &[tag, dialog] : dialogs) {
        SCOPED_TRACE(tag);
        const fybsim::FybSensor::Mark mark = sensor->mark();
        const qsizetype closed = closer->mark();
        window->openDialog(QString::fromLatin1(tag));
        expectAnswering(QString::fromLatin1(tag));
        EXPECT_EQ(closer->closedSince(closed), QStringList{QString::fromLatin1(dialog)});
        EXPECT_EQ(rootsSince(mark), QStringList());
    }
    // The enslavement's tuning opens only from its dialog's button.
    const qsizetype closed = closer->mark();
    DialogEnslavementAdvancedSettings advanced(window.get(), QStringLiteral("0"));
    EXPECT_EQ(advanced.exec(), int(QDialog::Rejected));
    EXPECT_EQ(closer->closedSince(closed), QStringList{"DialogEnslavementAdvancedSettings"});
    // The push filter opens only from a push server's filter button.
    const qsizetype filterClosed = closer->mark();
    DialogHttpPushFilter filter(window.get());
    EXPECT_EQ(ZyModalRunner::exec(&filter), int(QDialog::Rejected));
    EXPECT_EQ(closer->closedSince(filterClosed), QStringList{"DialogHttpPushFilter"});
    // The sensor selection opens only from the master/slave dialog's buttons.
    const qsizetype selectionClosed = closer->mark();
    DialogSelectSensor select(window.get());
    QString chosen = QStringLiteral("unchanged");
    select.setParameters(QStringLiteral("00:0A:0B:0C:0D:0E"), QStringLiteral("anpr"), &chosen);
    EXPECT_EQ(ZyModalRunner::exec(&select), int(QDialog::Rejected));
    EXPECT_EQ(closer->closedSince(selectionClosed), QStringList{"DialogSelectSensor"});
    EXPECT_EQ(chosen, "unchanged");

    // The area of interest is drawn on the picture the video page shows.
    QImage scene(640, 360, QImage::Format_RGB32);
    scene.fill(Qt::darkCyan);
    window->videoPlayer()->imageWidget()->setImage(QStringLiteral("0"), scene);
    const fybsim::FybSensor::Mark mark = sensor->mark();
    const qsizetype areaClosed = closer->mark();
    window->openDialog(QStringLiteral("0:areaOfInterest2"));
    expectAnswering(QStringLiteral("0:areaOfInterest2"));
    EXPECT_EQ(closer->closedSince(areaClosed), QStringList{"DlgAreaOfInterest2"});
    EXPECT_EQ(rootsSince(mark), QStringList());
}

// The network dialog's own dialogs, opened from its links and buttons; cancelled, they change
// nothing.
TEST_F(WindowRealModalTest, NetworkDialogsRunForReal)
{
    connectLocked();
    const fybsim::FybSensor::Mark mark = sensor->mark();
    const qsizetype closed = closer->mark();
    bool changed = false;
    DialogNetworkAdvancedSettings advanced(window.get());
    EXPECT_EQ(advanced.exec(&changed), int(QDialog::Rejected));
    EXPECT_FALSE(changed);
    QStringList servers = {"10.0.0.1", "", ""};
    const QStringList kept = servers;
    DialogDNSServers dns(window.get());
    EXPECT_EQ(dns.exec(&servers), int(QDialog::Rejected));
    DialogNTPServers ntp(window.get());
    EXPECT_EQ(ntp.exec(&servers), int(QDialog::Rejected));
    DialogUnicastDiscoverClients clients(window.get());
    EXPECT_EQ(clients.exec(&servers), int(QDialog::Rejected));
    EXPECT_EQ(servers, kept);
    DialogNetworkRoute route(window.get());
    EXPECT_EQ(ZyModalRunner::exec(&route), int(QDialog::Rejected));
    const PXRMessage networks = pxrMsgWithRoot("wifiNetworks");
    QString ssid = QStringLiteral("kept");
    DialogNetworkScanWifi scan(window.get());
    EXPECT_EQ(scan.exec(&ssid, networks.get()), int(QDialog::Rejected));
    EXPECT_EQ(ssid, "kept");
    EXPECT_EQ(closer->closedSince(closed),
              QStringList({"DialogNetworkAdvancedSettings", "DialogDNSServers", "DialogNTPServers",
                           "DialogUnicastDiscoverClients", "DialogNetworkRoute", "DialogNetworkScanWifi"}));
    EXPECT_EQ(rootsSince(mark), QStringList());
}

TEST_F(WindowRealModalTest, DisconnectAndExitRunForReal)
{
    connectLocked();
    window->findChild<QAction *>("actionSensorDisconnect")->trigger();
    expectAnswering(QStringLiteral("disconnected"));
    EXPECT_FALSE(window->isConnectedLook());
    EXPECT_EQ(master().handle(), nullptr);

    window->findChild<QAction *>("actionExit")->trigger();
    EXPECT_TRUE(waitLong([&] { return !window->isVisible(); }));
}

} // namespace
