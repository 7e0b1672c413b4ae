// The sensor connection object against the test sensor: flags through connections and drops,
// the lost-connection signal, refused binds, the message pump and the drop total, and TLS with
// a client certificate whose path is not Latin-1.
#include "SensorTestSupport.h"

#include <QFile>

#include <atomic>

namespace {

using fybsim::Element;
using fybsim::FybSensor;
using fybsim::Role;

// Until the handle's queue has seen this many drops; the GUI thread does not turn meanwhile.
bool waitDrops(PXR *handle, uint32_t count)
{
    while (PXRGetMessageDrops(handle) < count)
        if (!PXRWaitForNewMessage(handle, 5000))
            return false;
    return true;
}

bool waitQueued(PXR *handle, uint32_t count)
{
    while (PXRGetQueueSize(handle) < count)
        if (!PXRWaitForNewMessage(handle, 5000))
            return false;
    return true;
}

TEST_F(SensorTest, ConnectsFollowsAndLeavesTheTestSensor)
{
    FybSensor server;
    EXPECT_EQ(sensor->handle(), nullptr);
    EXPECT_EQ(sensor->port(), 0);
    connectTo(server);
    EXPECT_NE(sensor->handle(), nullptr);
    EXPECT_EQ(sensor->address(), QString("127.0.0.1"));
    EXPECT_EQ(sensor->port(), server.port());
    EXPECT_EQ(sensor->detectedProtocol(), QString("FYB"));
    EXPECT_TRUE(appLog().contains("[5] Sensor connection state : 1"));

    sensor->disconnect();
    EXPECT_EQ(sensor->handle(), nullptr);
    EXPECT_TRUE(sensor->address().isEmpty());
    EXPECT_EQ(sensor->port(), server.port()) << "only the address is forgotten";
    EXPECT_FALSE(sensor->isConnected());
    EXPECT_TRUE(server.waitForOpenCount(Role::Unknown, 0, 5s));
}

TEST_F(SensorTest, EachLossOfTheConnectionIsSignalledOnceAndTheFlagsFollow)
{
    FybSensor server;
    connectTo(server);
    std::atomic_int losses = 0;
    const auto receiver = onSignal(sensor.get(), &Sensor::signalDisconnected, [&] { ++losses; });

    // The GUI thread turns between two drops: each loss is signalled.
    for (int round = 1; round <= 2; ++round) {
        dropAndWaitForReconnection(server);
        EXPECT_GE(lossesLogged(), round);
        ASSERT_TRUE(waitUntil([&] { return losses == lossesLogged(); })) << appLog().toStdString();
    }

    // Reports of a lost connection while already lost (a refused TLS attempt) change nothing.
    const int before = losses;
    Sensor::onConnectionState(sensor->handle(), 0, 0, sensor.get());
    EXPECT_FALSE(sensor->isConnected());
    Sensor::onConnectionState(sensor->handle(), 0, PXR_SSL_ERROR_UNTRUSTED, sensor.get());
    Sensor::onConnectionState(sensor->handle(), 1, 0, sensor.get());
    EXPECT_TRUE(sensor->isConnected());
    ASSERT_TRUE(waitUntil([&] { return losses == before + 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(losses, before + 1);
}

TEST_F(SensorTest, LossesWhileOneWaitsForTheGuiThreadAreFoldedIntoIt)
{
    FybSensor server;
    connectTo(server);
    std::atomic_int losses = 0;
    const auto receiver = onSignal(sensor.get(), &Sensor::signalDisconnected, [&] { ++losses; });
    for (int flap = 0; flap < 50; ++flap) {
        Sensor::onConnectionState(sensor->handle(), 0, 0, sensor.get());
        Sensor::onConnectionState(sensor->handle(), 1, 0, sensor.get());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(losses, 1);
    EXPECT_TRUE(sensor->isConnected()) << "the latest state";

    // Once the waiting loss is handled, the next one is signalled again.
    Sensor::onConnectionState(sensor->handle(), 0, 0, sensor.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(losses, 2);
    EXPECT_FALSE(sensor->isConnected());
}

TEST_F(SensorTest, LockIsRememberedWhenACurrentSensorDrops)
{
    FybSensor server;
    connectTo(server);
    std::atomic_int losses = 0;
    const auto receiver = onSignal(sensor.get(), &Sensor::signalDisconnected, [&] { ++losses; });
    sensor->setLocked(true);
    EXPECT_TRUE(sensor->isLocked());
    EXPECT_FALSE(sensor->wasLocked());

    server.dropConnections();
    ASSERT_TRUE(waitUntil([&] { return losses >= 1; }));
    EXPECT_FALSE(sensor->isLocked());
    EXPECT_TRUE(sensor->wasLocked());

    // Each connection of the pair may be lost on its own: the lock is remembered through all.
    dropAndWaitForReconnection(server);
    Sensor::onConnectionState(sensor->handle(), 0, 0, sensor.get());
    EXPECT_TRUE(sensor->wasLocked()) << "kept until the handshake locks again";
    Sensor::onConnectionState(sensor->handle(), 1, 0, sensor.get());
    sensor->setLocked(true);
    EXPECT_FALSE(sensor->wasLocked());
    sensor->disconnect();
    EXPECT_FALSE(sensor->isLocked());
}

TEST_F(SensorTest, RefusedBindKeepsItsHandleUntilDisconnect)
{
    FybSensor server;
    connectTo(server);
    EXPECT_FALSE(sensor->connect("127.0.0.1", 4321, "colour=red", false, false, false, {}, {}));
    EXPECT_NE(sensor->handle(), nullptr);
    EXPECT_TRUE(sensor->address().isEmpty());
    EXPECT_EQ(sensor->port(), server.port()) << "the port of the last accepted bind";
    EXPECT_FALSE(sensor->isConnected());
    EXPECT_TRUE(appLog().contains("[3] Cannot bind PXR : Unknown option : 'colour")) << appLog().toStdString();
    sensor->disconnect();
    EXPECT_EQ(sensor->handle(), nullptr);
}

TEST_F(SensorTest, OnePumpDeliversEveryWaitingMessageInOrder)
{
    FybSensor server;
    connectTo(server);
    QStringList received;
    QObject::connect(sensor.get(), &Sensor::signalMsgReceived, sensor.get(), [&](void *message) {
        auto *msg = static_cast<PXRMsg *>(message);
        received << QString::fromUtf8(PXRMsgElementAttributeValue(PXRMsgChild(msg), "n"));
        PXRMsgDestroy(msg);
    });

    for (const char *n : {"1", "2", "3"})
        ASSERT_EQ(server.push(Element("trace").set("n", n)), 1u);
    // The GUI thread has not turned: all three wait in the queue for one pump.
    ASSERT_TRUE(waitQueued(sensor->handle(), 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(received, QStringList({"1", "2", "3"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(received.size(), 3);
    EXPECT_EQ(PXRGetQueueSize(sensor->handle()), 0u);
}

TEST_F(SensorTest, DropTotalGrowsAcrossReconnectionsAndRestartsAtTheNextConnect)
{
    FybSensor server;
    connectTo(server);
    int delivered = 0;
    QObject::connect(sensor.get(), &Sensor::signalMsgReceived, sensor.get(), [&](void *message) {
        ++delivered;
        PXRMsgDestroy(static_cast<PXRMsg *>(message));
    });
    PXRSetMaxQueueSize(sensor->handle(), 1);

    for (int round = 1; round <= 2; ++round) {
        const int before = delivered;
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(server.push(Element("trace")), 1u);
        ASSERT_TRUE(waitDrops(sensor->handle(), 2));
        ASSERT_TRUE(waitUntil([&] { return sensor->messageDrops() == 2 * round; }));
        EXPECT_EQ(delivered, before + 1);
        EXPECT_EQ(PXRGetMessageDrops(sensor->handle()), 0u) << "the handle's count is taken over";

        dropAndWaitForReconnection(server);
    }
    connectTo(server);
    EXPECT_EQ(sensor->messageDrops(), 0);
}

// The paths go to the library in the file-system encoding, so a name outside Latin-1 opens.
TEST_F(SensorTest, SecuredConnectionPresentsAClientCertificateFromAnyPath)
{
    const fybsim::TlsIdentity client = fybsim::TlsIdentity::selfSigned("client");
    QTemporaryDir folder;
    const QString certificate = folder.filePath(QString::fromUtf8("certificat \xc3\xa9t\xc3\xa9 \xe8\xaf\x81.pem"));
    const QString key = folder.filePath(QString::fromUtf8("cl\xc3\xa9 \xe5\xaf\x86.key"));
    for (const auto &[path, pem] : {std::pair{certificate, client.certificatePem}, std::pair{key, client.privateKeyPem}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pem.data(), qint64(pem.size()));
    }
    FybSensor server(fybsim::TlsIdentity::selfSigned(), true);
    ASSERT_TRUE(sensor->connect("127.0.0.1", server.port(), {}, true, true, true, certificate, key));
    ASSERT_TRUE(waitUntil([&] { return sensor->isConnected(); }));
    EXPECT_EQ(PXRGetIgnoreSSLErrors(sensor->handle()), PXR_SSL_ERROR_ALL);
    ASSERT_FALSE(server.clientCertificates().empty());
    EXPECT_EQ(server.clientCertificates().front(), client.certificatePem);
}

} // namespace
