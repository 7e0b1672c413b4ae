// The process-wide main-window link and the log entry points: lines before, during and after a
// window's life, from several threads; the hardware-rendering flag.
#include "CoreTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class MainWindowInterfaceTest : public CoreTest
{
protected:
    // Sends each unit of the window to its own file in the scratch folder.
    void logToFiles(FakeMainWindow &window, const QString &tag)
    {
        window.app.initFile(true, scratch.path(), tag + "app", 0);
        window.sensor.initFile(true, scratch.path(), tag + "sensor", 0);
        window.library.initFile(true, scratch.path(), tag + "library", 0);
    }

    QByteArray fileOf(const QString &name) const
    {
        const QStringList files = QDir(scratch.path()).entryList({"*_" + name + ".log"}, QDir::Files);
        if (files.isEmpty())
            return QByteArray();
        QFile file(scratch.filePath(files.first()));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QTemporaryDir scratch;
};

TEST_F(MainWindowInterfaceTest, LinesReachTheirUnitOnlyWhileAWindowIsRegistered)
{
    MainWindowInterface::logApp(5, "before the window");
    EXPECT_EQ(MainWindowInterface::instance(), nullptr);
    EXPECT_EQ(MainWindowInterface::appLog(), nullptr);
    {
        FakeMainWindow window;
        EXPECT_EQ(MainWindowInterface::instance(), &window);
        EXPECT_EQ(MainWindowInterface::appLog(), &window.app);
        EXPECT_EQ(MainWindowInterface::sensorLog(), &window.sensor);
        EXPECT_EQ(MainWindowInterface::libraryLog(), &window.library);
        logToFiles(window, "");
        MainWindowInterface::logApp(3, "application line");
        MainWindowInterface::logSensor(6, "SensorTrace: sensor line");
        MainWindowInterface::logLibrary(7, "[PXR] library line");
    }
    MainWindowInterface::logApp(5, "after the window");
    MainWindowInterface::logSensor(5, "after the window");
    EXPECT_EQ(MainWindowInterface::instance(), nullptr);
    EXPECT_EQ(MainWindowInterface::sensorLog(), nullptr);

    const QByteArray app = fileOf("app");
    EXPECT_TRUE(app.contains("[3] application line\r\n"));
    EXPECT_FALSE(app.contains("sensor line"));
    EXPECT_FALSE(app.contains("window"));
    EXPECT_TRUE(fileOf("sensor").endsWith("[6] SensorTrace: sensor line\r\n"));
    EXPECT_TRUE(fileOf("library").endsWith("[7] [PXR] library line\r\n"));
}

TEST_F(MainWindowInterfaceTest, LinesAreDroppedWhileTheWindowHasNoUnitsYet)
{
    FakeMainWindow window(false);
    logToFiles(window, "");
    EXPECT_EQ(MainWindowInterface::instance(), &window);
    EXPECT_EQ(MainWindowInterface::appLog(), nullptr);
    MainWindowInterface::logApp(5, "too early");
    MainWindowInterface::logSensor(5, "too early");
    EXPECT_TRUE(fileOf("app").isEmpty());
    EXPECT_TRUE(fileOf("sensor").isEmpty());
}

TEST_F(MainWindowInterfaceTest, LineFromAnotherThreadReachesTheWindowsUnit)
{
    FakeMainWindow window;
    logToFiles(window, "");
    std::thread([] { MainWindowInterface::logApp(5, "from a library thread"); }).join();
    EXPECT_TRUE(fileOf("app").contains("[5] from a library thread\r\n"));
}

TEST_F(MainWindowInterfaceTest, LinesFromSeveralThreadsAcrossWindowLivesNeverCrash)
{
    std::atomic_bool stop = false;
    std::vector<std::thread> loggers;
    for (int i = 0; i < 4; ++i) {
        loggers.emplace_back([&stop, i] {
            while (!stop.load()) {
                MainWindowInterface::logApp(5, QString("app line of thread %1").arg(i));
                MainWindowInterface::logSensor(6, QString("sensor line of thread %1").arg(i));
                MainWindowInterface::logLibrary(7, QString("library line of thread %1").arg(i));
            }
        });
    }
    for (int life = 0; life < 20; ++life) {
        auto window = std::make_unique<FakeMainWindow>();
        const QString tag = QString("life%1").arg(life);
        logToFiles(*window, tag);
        // The window stays until the threads have written into it.
        EXPECT_TRUE(waitUntil([&] { return fileOf(tag + "sensor").count('\n') >= 10; })) << life;
        window.reset();
    }
    stop = true;
    for (std::thread &logger : loggers)
        logger.join();
    // Every line of a window's life is whole.
    for (const QByteArray &line : fileOf("life0app").split('\n')) {
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.endsWith('\r') && line.contains(" [5] app line of thread ")) << line.constData();
        }
    }
}

TEST_F(MainWindowInterfaceTest, HardwareRenderingStartsAllowedUntilAWindowClearsIt)
{
    EXPECT_TRUE(MainWindowInterface::hardwareRendering());
    MainWindowInterface::setHardwareRendering(false);
    EXPECT_FALSE(MainWindowInterface::hardwareRendering());
    MainWindowInterface::setHardwareRendering(true);
}

} // namespace
