// The window's views and remaining menu actions against the test sensor: the settings and traces
// docks with their close buttons and stored choices, the documentation pane on a tab change,
// the recording bar of a connected window and its duration, the proposed recording name, the
// video buffer, the plate-key dialog through the dialog table, and Exit.
#include "CommandTestSupport.h"

#include "AppSettings.h"
#include "DialogFactories.h"
#include "DialogSaveVideoBuffer.h"
#include "VideoPlayer.h"

#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class WindowViewsTest : public CommandTest
{
protected:
    QAction *action(const char *name) const { return window->findChild<QAction *>(name); }
    QDockWidget *dock(const char *name) const { return window->findChild<QDockWidget *>(name); }

    // A file dialog answer: notes the proposed name and folder, then chooses the path.
    Answer chooseFile(const QString &path)
    {
        return [this, path](QDialog *dialog) {
            auto *files = static_cast<QFileDialog *>(dialog);
            proposedName = files->findChild<QLineEdit *>("fileNameEdit")->text();
            proposedFolder = files->directory().absolutePath();
            if (path.isEmpty())
                return int(QDialog::Rejected);
            files->selectFile(path);
            return int(QDialog::Accepted);
        };
    }

    QString proposedName;
    QString proposedFolder;
    QTemporaryDir folder;
};

TEST_F(WindowViewsTest, SettingsDockFollowsItsCloseButtonAndMenuAndShowsOnlyWhenConnected)
{
    connectPlain();
    QDockWidget *settings = dock("dockSettings");
    ASSERT_TRUE(settings->isVisible());

    settings->close(); // as its title-bar button does
    EXPECT_FALSE(action("actionViewSettings")->isChecked());
    EXPECT_FALSE(AppSettings().showSettingsDock());
    EXPECT_FALSE(settings->isVisible());

    action("actionViewSettings")->trigger();
    EXPECT_TRUE(AppSettings().showSettingsDock());
    EXPECT_TRUE(settings->isVisible());

    // Disconnected: the choice is stored, the dock waits for the next connection.
    window->disconnect();
    settings->close();
    EXPECT_FALSE(AppSettings().showSettingsDock());
    action("actionViewSettings")->trigger();
    EXPECT_TRUE(action("actionViewSettings")->isChecked());
    EXPECT_TRUE(AppSettings().showSettingsDock());
    EXPECT_FALSE(settings->isVisible());

    window->connectToSensor("127.0.0.1", sensor->port(), QString(), false, false, false, {}, {});
    ASSERT_TRUE(window->isConnectedLook());
    EXPECT_TRUE(settings->isVisible());
}

TEST_F(WindowViewsTest, TracesDockFollowsItsCloseButtonAndMenuWhetherConnectedOrNot)
{
    setProgramArguments({});
    startWindow();
    QCoreApplication::processEvents(); // the remembered choice is applied once the loop runs
    for (const bool connected : {false, true}) {
        SCOPED_TRACE(connected ? "connected" : "disconnected");
        if (connected)
            connectPlain();
        QDockWidget *traces = dock("dockTraces"); // the connected window is a new one
        action("actionViewTraces")->setChecked(true);
        action("actionViewTraces")->trigger(); // unchecks
        EXPECT_FALSE(AppSettings().showTracesDock());
        EXPECT_FALSE(traces->isVisible());
        action("actionViewTraces")->trigger();
        EXPECT_TRUE(AppSettings().showTracesDock());
        EXPECT_TRUE(traces->isVisible());
        traces->close();
        EXPECT_FALSE(action("actionViewTraces")->isChecked());
        EXPECT_FALSE(AppSettings().showTracesDock());
        EXPECT_FALSE(traces->isVisible());
    }
}

TEST_F(WindowViewsTest, ATabChangeEmptiesAndHidesTheDocumentationPane)
{
    connectPlain();
    auto *pane = window->findChild<QWidget *>("widgetDoc");
    window->showDocumentation({QStringLiteral("config")}, QString());
    ASSERT_FALSE(pane->isHidden());

    auto *tabs = window->findChild<QTabWidget *>("tabWidget");
    tabs->setCurrentIndex(tabs->currentIndex() == 0 ? 1 : 0);
    EXPECT_TRUE(pane->isHidden());
    EXPECT_TRUE(window->findChild<QLabel *>("labelDoc")->text().isEmpty());
}

TEST_F(WindowViewsTest, RecordingBarOfTheConnectedWindowCountsMinutesPastAnHour)
{
    connectPlain();
    AppSettings().setLastVideoFileDir(folder.path());
    answers = {chooseFile(folder.filePath("gate.rec"))};
    run("actionVideoStartRecording");
    ASSERT_TRUE(Model::instance()->recorder().isRecording());
    EXPECT_EQ(proposedFolder, folder.path());
    window->doPeriodicTasks();
    EXPECT_EQ(window->findChild<QLabel *>("labelRecordingDuration")->text(), "00:00");
    // Pausing and going back to live does not offer a second recording.
    Model::instance()->masterPlayer().pause();
    Model::instance()->masterPlayer().goLive();
    EXPECT_FALSE(action("actionVideoStartRecording")->isEnabled());
    keepPicture(*window, QStringLiteral("OBK-recording"));

    const std::pair<qint64, const char *> durations[] = {
        {0, "00:00"}, {59, "00:59"}, {3725, "62:05"}, {7627, "127:07"}, {-5, "00:00"}};
    for (const auto &[seconds, text] : durations)
        EXPECT_EQ(OBK::recordingDurationText(seconds), text) << seconds;
    run("actionVideoStopRecording");
}

TEST_F(WindowViewsTest, WithoutARememberedFolderTheProposalIsTheBareName)
{
    connectPlain();
    AppSettings().setLastVideoFileDir(QString());
    answers = {chooseFile(QString())};
    run("actionVideoStartRecording");
    const QRegularExpression bare(QStringLiteral("^\\d{8}_\\d{6}_127\\.0\\.0\\.1_%1$").arg(sensor->port()));
    EXPECT_TRUE(bare.match(proposedName).hasMatch()) << proposedName.toStdString();
    EXPECT_FALSE(Model::instance()->recorder().isRecording());
    EXPECT_TRUE(AppSettings().lastVideoFileDir().isEmpty()) << "cancelled: nothing remembered";
}

TEST_F(WindowViewsTest, SavingTheVideoBufferAsksForTheWindowsSensorOrRefusesWhileLive)
{
    connectPlain();
    VideoPlayer &player = Model::instance()->masterPlayer();
    player.goLive();
    EXPECT_FALSE(action("actionSaveVideoBuffer")->isEnabled());
    window->on_actionSaveVideoBuffer_triggered(); // as the record button's key does
    ASSERT_EQ(kinds(), QStringList({"QMessageBox"}));
    EXPECT_EQ(seen[0].text, "Unable to save video buffer while in real time");

    player.pause();
    ASSERT_TRUE(action("actionSaveVideoBuffer")->isEnabled());
    QString file;
    QWidget *parent = nullptr;
    answers = {[&](QDialog *dialog) {
        parent = dialog->parentWidget();
        file = dialog->findChild<QLineEdit *>("edtFile")->text();
        return int(QDialog::Rejected);
    }};
    run("actionSaveVideoBuffer");
    ASSERT_EQ(kinds(), QStringList({"DialogSaveVideoBuffer"}));
    EXPECT_EQ(parent, window.get());
    EXPECT_TRUE(file.endsWith(QStringLiteral("_127.0.0.1_%1.rec").arg(sensor->port()))) << file.toStdString();
    player.goLive();
}

TEST_F(WindowViewsTest, PlateKeyDialogComesFromTheDialogTable)
{
    connectPlain();
    const QString name = QStringLiteral("DialogRSAPrivateKey");
    DialogFactories::remove(name);
    {
        const LogMark log;
        run("actionChangeRSAPrivate");
        EXPECT_TRUE(seen.empty());
        EXPECT_EQ(log.linesWith(name).size(), 1);
    }
    QWidget *parent = nullptr;
    DialogFactories::add(name, [&parent](QWidget *owner, const DialogArgs &) {
        parent = owner;
        auto dialog = std::make_unique<QDialog>(owner);
        dialog->setObjectName(QStringLiteral("plateKey"));
        return dialog;
    });
    run("actionChangeRSAPrivate");
    DialogFactories::remove(name);
    ASSERT_EQ(kinds(), QStringList({"QDialog"}));
    EXPECT_EQ(parent, window.get());
    EXPECT_EQ(window->findChild<QDialog *>("plateKey"), nullptr) << "destroyed after its run";
}

TEST_F(WindowViewsTest, ExitClosesTheWindowThroughItsCloseHandling)
{
    connectPlain();
    const LogMark log;
    run("actionExit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(log.linesWith(QStringLiteral("Application done")).size(), 1);
    EXPECT_EQ(master().handle(), nullptr);
}

} // namespace
