// Fixture of the core tests that talk to the test sensor: the sensor library's timing shortened,
// a stand-in main window whose application log goes to a file, and a Sensor to bind with.
#pragma once

#include "CoreTestSupport.h"
#include "FybSensor.h"
#include "MsgManager.h"
#include "PXR_Internal.h"
#include "Sensor.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>

using namespace std::chrono_literals;

class SensorTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        PXR_resetTiming();
        PXR_Timing *timing = PXR_timing();
        timing->u32ConnectRetryMs = 50;
        timing->u32TlsRetryMs = 50;
        timing->u32FirstBytesTimeoutMs = 1000;
        timing->u32HelloTimeoutMs = 1000;
        timing->u32ReconnectDelayMs = 100;
        timing->u32AsynchronousReadMs = 100;
        timing->u32MessageTimeoutMs = 1000;
        timing->u32KeepAliveMs = 300;
        timing->u32SilenceDropMs = 1000;
        timing->u32KeepAliveReplyTimeoutMs = 1000;
        timing->u32RequestPollMs = 50;
        timing->u32StopPollMs = 50;
        window = std::make_unique<FakeMainWindow>();
        window->app.initFile(true, logFolder.path(), "app", 0);
    }
    void TearDown() override
    {
        sensor.reset();
        window.reset();
        PXR_resetTiming();
        CoreTest::TearDown();
    }

    // Binds the sensor object to the test sensor and waits until both connections are up.
    void connectTo(fybsim::FybSensor &server, const QString &options = QString())
    {
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_TRUE(sensor->connect("127.0.0.1", server.port(), options, false, false, false, {}, {}));
        ASSERT_TRUE(waitUntil([&] { return sensor->isConnected(); }));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 5s));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Synchronous, 1, 5s));
    }

    // Closes every connection of the test sensor and waits until the library has made both again.
    void dropAndWaitForReconnection(fybsim::FybSensor &server)
    {
        const fybsim::FybSensor::Mark since = server.mark();
        server.dropConnections();
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 5s));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Synchronous, 1, 5s));
        ASSERT_TRUE(waitUntil([&] { return sensor->isConnected(); }));
    }

    // The losses the library reported so far: each report of 0 that follows a report of 1.
    int lossesLogged() const
    {
        static const QRegularExpression report("Sensor connection state : ([01])");
        int losses = 0;
        bool connected = false;
        for (auto match = report.globalMatch(appLog()); match.hasNext();) {
            const bool now = match.next().captured(1) == "1";
            losses += connected && !now ? 1 : 0;
            connected = now;
        }
        return losses;
    }

    // What the application log holds so far.
    QString appLog() const
    {
        const QStringList files = QDir(logFolder.path()).entryList({"*_app.log"}, QDir::Files);
        QFile file(logFolder.filePath(files.value(0)));
        if (files.isEmpty() || !file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromLatin1(file.readAll());
    }

    QTemporaryDir logFolder;
    std::unique_ptr<FakeMainWindow> window;
    std::unique_ptr<Sensor> sensor = std::make_unique<Sensor>();
};

// A sensor connected to the test sensor and made the request manager's master.
class MasterSensorTest : public SensorTest
{
protected:
    void SetUp() override
    {
        SensorTest::SetUp();
        connectTo(server);
        MsgManager::setMasterSensor(sensor.get());
    }
    void TearDown() override
    {
        MsgManager::setMasterSensor(nullptr);
        SensorTest::TearDown();
    }

    fybsim::FybSensor server;
};

// Calls the function on each signal of the sender, queued on the GUI thread as the model's
// receivers are; stops with the returned object.
template <typename Signal>
std::unique_ptr<QObject> onSignal(Sensor *sender, Signal signal, std::function<void()> function)
{
    auto context = std::make_unique<QObject>();
    QObject::connect(sender, signal, context.get(), std::move(function), Qt::QueuedConnection);
    return context;
}
