// The program's start: the command line acted on by the window, and the whole program run in a
// child process, refused at the password gate or closed once its window shows.
#include "MainWindowTestSupport.h"
#include "OBK.h"

#include "DialogWait.h"
#include "WidgetConnect.h"

#include <QCryptographicHash>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>

#include <memory>

namespace {

class ProgramStartTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        window.reset();
        MainWindowTest::TearDown();
    }

    std::unique_ptr<OBK> window;
};

TEST_F(ProgramStartTest, CommandLineConnectsOnlyToTheSensorItNames)
{
    struct Case
    {
        QStringList arguments;
        bool secured;
        const char *connectsTo; // null: nothing is connected
        bool refused;
    };
    const Case cases[] = {
        {{"10.1.2.3"}, false, "10.1.2.3:10001", false},
        {{"10.1.2.3"}, true, "10.1.2.3:12001", false},
        {{"10.1.2.3:8080"}, false, "10.1.2.3:8080", false},
        {{"10.1.2.3:8080"}, true, "10.1.2.3:12001", false},
        {{}, false, nullptr, false},
        {{"10.1.2.3", "10.1.2.4"}, false, nullptr, false},
        {{"fe80::1"}, false, nullptr, true},
        {{"10.1.2.3:80x"}, false, nullptr, true},
        {{"10.1.2.3:65536"}, false, nullptr, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + (c.secured ? " secured" : ""));
        AppSettings settings;
        settings.setSecuredConnection(c.secured);
        settings.setLastSensor("192.168.9.9", 10009, 12009, "timePort=10005");
        setProgramArguments(c.arguments);
        BoxRecorder boxes;
        // The wait for the named sensor is cancelled; message boxes are recorded.
        ZyModalRunner::setHandler([&boxes](QDialog *dialog) {
            if (qobject_cast<DialogWait *>(dialog) != nullptr)
                return int(QDialog::Rejected);
            auto *box = qobject_cast<QMessageBox *>(dialog);
            boxes.boxes.append({box->icon(), box->windowTitle(), box->text(), box->detailedText()});
            return int(QMessageBox::Ok);
        });
        LogMark mark;
        window = std::make_unique<OBK>();

        const QStringList connecting = mark.linesWith("Connecting to sensor");
        if (c.connectsTo != nullptr) {
            ASSERT_EQ(connecting.size(), 1);
            EXPECT_TRUE(connecting[0].endsWith(c.connectsTo)) << connecting[0].toStdString();
            EXPECT_EQ(AppSettings().lastSensorOptions(), "") << "the named sensor has no options";
        } else {
            EXPECT_TRUE(connecting.isEmpty());
            auto *page = window->findChild<WidgetConnect *>("widgetConnect");
            EXPECT_EQ(page->findChild<QLineEdit *>("txtSensorAddress")->text(), "192.168.9.9");
            EXPECT_EQ(page->findChild<QSpinBox *>("spinPort")->value(), 10009);
        }
        ASSERT_EQ(boxes.boxes.size(), c.refused ? 1 : 0);
        if (c.refused) {
            EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
            EXPECT_EQ(boxes.boxes[0].title, "BZK");
            EXPECT_TRUE(boxes.boxes[0].text.contains(c.arguments[0]));
        }
        window.reset();
        ZyModalRunner::setHandler({});
    }
}

// The whole program in a child process, with its own settings and application-data folders.
class ProgramRunTest : public ::testing::Test
{
protected:
    struct Run
    {
        int exitCode = -1;
        QString output;
    };

    Run run(const QString &which, const QStringList &arguments)
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("BZK_TEST_SETTINGS", scratch.filePath("settings"));
        environment.insert("APPDATA", scratch.filePath("appdata"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), QStringList({"--program", which}) + arguments);
        Run result;
        if (!child.waitForFinished(120000)) {
            child.kill();
            child.waitForFinished();
            return result;
        }
        result.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
        result.output = QString::fromLocal8Bit(child.readAllStandardOutput());
        return result;
    }

    // The child's daily log file, or empty when it wrote none.
    QString childLog()
    {
        QFile file(scratch.filePath("appdata/BZK/") + QDate::currentDate().toString("yyyyMMdd") + "_BZK7.log");
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    QTemporaryDir scratch;
};

TEST_F(ProgramRunTest, RefusedStartUpPasswordEndsWithCodeOneAndNoWindow)
{
    // The machine-wide store of the child, holding a start-up password hash.
    QSettings store(scratch.filePath("settings/system/Brondmere/BZK7.conf"), QSettings::IniFormat);
    store.setValue("password", QCryptographicHash::hash("secret", QCryptographicHash::Sha1));
    store.sync();
    const Run result = run("refuse-password", {});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.output.contains("password asked: DialogCheckPassword")) << result.output.toStdString();
    EXPECT_TRUE(childLog().isEmpty()) << "no window was built";
}

TEST_F(ProgramRunTest, ProgramShowsItsWindowAndClosesInOrder)
{
    const Run result = run("close-window", {"127.0.0.1:1"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.output.contains("wait cancelled: DialogWait")) << result.output.toStdString();
    EXPECT_TRUE(result.output.contains("window shown: 1")) << result.output.toStdString();
    const QString log = childLog();
    const qsizetype connecting = log.indexOf("Connecting to sensor 127.0.0.1:1");
    const qsizetype closing = log.indexOf("Application closing...");
    const qsizetype done = log.indexOf("Application done");
    EXPECT_GE(connecting, 0) << log.toStdString();
    EXPECT_GT(closing, connecting);
    EXPECT_GT(done, closing);
}

} // namespace
