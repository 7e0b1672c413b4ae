// The application's side of the master sensor's connection once the library has bound it: the
// wait, the relock, the schema, the stream subscription, the clock, and the same again after every
// drop; with the guards that make a close or a drop wait for the requests being awaited.
#include "ConnectionHandshake.h"

#include "ConnectionHandshakeHost.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "MsgManager.h"
#include "MsgManagerNotifier.h"
#include "PXRPrivateToolBox.h"
#include "Sensor.h"

namespace {

void log(int level, const QString &text)
{
    MainWindowInterface::logApp(level, text);
}

} // namespace

ConnectionHandshake::ConnectionHandshake(Model *model, ConnectionHandshakeHost *host, QObject *parent)
    : QObject(parent), m_model(model), m_host(host)
{
}

bool ConnectionHandshake::run()
{
    if (m_running)
        return true;
    m_running = true;
    Sensor &sensor = m_model->masterSensor();
    // Drops during the wait must not start a second handshake.
    QObject::disconnect(&sensor, &Sensor::signalDisconnected, this, &ConnectionHandshake::onDisconnectionReceived);
    log(6, QStringLiteral("Waiting for connection..."));
    if (!m_host->waitForConnection(sensor)) {
        m_host->abandonConnection();
        m_running = false;
        return false;
    }
    // Losses during the handshake reach no slot; they are counted here and dealt with at its end.
    m_lossesDuringHandshake = 0;
    const QMetaObject::Connection lossCounter = connect(
        &sensor, &Sensor::signalDisconnected, this, [this] { ++m_lossesDuringHandshake; }, Qt::DirectConnection);
    // The whole handshake counts as a request: a close or a loss of the kept trees waits for its end.
    MsgManagerNotifier::instance()->requestStarted();

    log(6, QStringLiteral("Connected, protocol is %1").arg(sensor.detectedProtocol()));
    // A legacy sensor keeps its lock across a drop; a current one forgets it.
    if (sensor.detectedProtocol() == QLatin1String("FYB") && sensor.wasLocked()) {
        log(7, QStringLiteral("relock sensor"));
        m_host->relockSensor();
    }
    requestSchema();
    log(6, QStringLiteral("Connection done"));
    subscribeToStreams();
    m_model->requestSensorDate();
    m_host->showLockState();
    m_model->parseInfos();
    m_host->showSensorState();
    connect(&sensor, &Sensor::signalDisconnected, this, &ConnectionHandshake::onDisconnectionReceived);
    m_host->connectionEstablished();

    QObject::disconnect(lossCounter);
    MsgManagerNotifier::instance()->requestEnded();
    m_running = false;
    // A request of this handshake may have gone to a link that was already dead, and its loss
    // came while unhooked: the next connection must run the whole handshake again.
    if (lostTheLink())
        QMetaObject::invokeMethod(this, &ConnectionHandshake::onDisconnectionReceived, Qt::QueuedConnection);
    return true;
}

bool ConnectionHandshake::lostTheLink() const
{
    return m_lossesDuringHandshake > 0 || !m_model->masterSensor().isConnected();
}

void ConnectionHandshake::requestSchema()
{
    log(6, QStringLiteral("Requesting XSD..."));
    PXRMsg *request = PXRMsgCreate();
    PXRMsgSetChild(request, PXRMsgElementCreate("getXSD"));
    PXRMsg *answer = MsgManager::sendRequest(request);
    PXRMsgDestroy(request);
    PXRMsgElement *root = answer != nullptr ? PXRMsgChild(answer) : nullptr;
    if (answer == nullptr) {
        log(4, QStringLiteral("Unable to get XSD!"));
    } else if (root != nullptr && PXRMsgStringEqual(PXRMsgElementName(root), "xsd")) {
        if (!m_model->schemaDoc().load(static_cast<const char *>(PXRMsgElementContent(root)),
                                       int(PXRMsgElementContentSize(root)))) {
            log(4, QStringLiteral("Unable to parse XSD"));
        } else {
            log(7, QStringLiteral("XSD received"));
            m_host->showSchemaActions();
        }
    } else if (PXRPToolIsAnswer(answer)) {
        const char *error = PXRPToolAnswerError(answer);
        log(4, QStringLiteral("XSD invalid answer : %1").arg(QString::fromUtf8(error != nullptr ? error : "")));
    } else {
        log(4, QStringLiteral("XSD invalid answer"));
    }
    PXRMsgDestroy(answer);
}

void ConnectionHandshake::subscribeToStreams()
{
    PXRMsg *message = PXRMsgCreate();
    PXRMsgElement *root = PXRMsgElementCreate("setEnableStreams");
    PXRMsgSetChild(message, root);
    // Off then on, so that the sensor pushes its configuration and information afresh.
    for (const char *value : {"0", "1"}) {
        for (const char *stream : {"configChanges", "infoChanges", "traces"})
            PXRMsgElementSetAttribute(root, stream, value);
        PXRSendAsynchronousMessage(m_model->masterSensor().handle(), message);
    }
    PXRMsgDestroy(message);
}

void ConnectionHandshake::unhook()
{
    QObject::disconnect(&m_model->masterSensor(), &Sensor::signalDisconnected, this, nullptr);
}

void ConnectionHandshake::hook()
{
    Sensor &sensor = m_model->masterSensor();
    connect(&sensor, &Sensor::signalDisconnected, this, &ConnectionHandshake::onDisconnectionReceived,
            Qt::UniqueConnection);
    if (!sensor.isConnected())
        onDisconnectionReceived();
}

void ConnectionHandshake::onDisconnectionReceived()
{
    // A report that outlived the connection the operator closed meanwhile.
    if (m_model->masterSensor().handle() == nullptr)
        return;
    // A request's worker still uses the handle that a cancelled wait would destroy.
    if (deferWhileRequestsRun(m_disconnectionDeferred, [this] { onDisconnectionReceived(); }))
        return;
    log(6, QStringLiteral("disconnection received"));
    m_host->connectionLost();
    run();
}

bool ConnectionHandshake::closeMustWait()
{
    const bool alreadyDeferred = m_closeDeferred;
    if (!deferWhileRequestsRun(m_closeDeferred, [this] { emit closeAllowed(); }))
        return false;
    if (!alreadyDeferred)
        log(5, QStringLiteral("Closing once the running requests have returned"));
    return true;
}

bool ConnectionHandshake::deferWhileRequestsRun(bool &deferred, const std::function<void()> &step)
{
    if (MsgManager::runningRequests() == 0)
        return false;
    if (!deferred) {
        deferred = true;
        connect(MsgManagerNotifier::instance(), &MsgManagerNotifier::allRequestsFinished, this,
                [&deferred, step] {
                    deferred = false;
                    step();
                },
                Qt::SingleShotConnection);
    }
    return true;
}
