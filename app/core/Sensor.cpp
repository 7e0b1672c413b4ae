// One sensor connection: the library handle bound plain or over TLS, the connection flags the
// library's threads change, and the pump that takes received messages on the GUI thread.
#include "Sensor.h"

#include "MainWindowInterface.h"

#include <QFile>
#include <QMetaMethod>

Sensor::Sensor(QObject *parent)
    : QObject(parent)
{
    // Emitted on a library thread, so it reaches the pump queued on the GUI thread.
    QObject::connect(this, &Sensor::signalNewMessage, this, &Sensor::getNewMessages);
}

Sensor::~Sensor()
{
    disconnect();
}

bool Sensor::connect(const QString &address, quint16 port, const QString &options, bool secured,
                     bool ignoreSSLErrors, bool useClientCertificate, const QString &certificateFile,
                     const QString &keyFile)
{
    disconnect();
    m_handle = PXRCreate();
    m_messageDrops = 0;
    if (m_handle == nullptr) {
        MainWindowInterface::logApp(3, QString("Cannot bind PXR : %1").arg("Cannot create the connection handle"));
        return false;
    }
    PXRSetConnectionStateCallback2(m_handle, &Sensor::onConnectionState, this);
    PXRSetNewMessageCallback(m_handle, &Sensor::onNewMessage, this);

    const QByteArray server = address.toLatin1();
    const QByteArray optionText = options.toLatin1();
    int bound = 0;
    if (secured) {
        if (ignoreSSLErrors)
            PXRSetIgnoreSSLErrors(m_handle, PXR_SSL_ERROR_ALL);
        // A certificate that cannot be loaded does not stop the bind; the handshake tells.
        if (useClientCertificate)
            PXRUseClientCertificateFile(m_handle, QFile::encodeName(certificateFile).constData(),
                                        QFile::encodeName(keyFile).constData());
        bound = PXRBindS(m_handle, server.constData(), port, optionText.constData());
    } else {
        bound = PXRBind(m_handle, server.constData(), port, optionText.constData());
    }
    if (bound == 0) {
        MainWindowInterface::logApp(3, QString("Cannot bind PXR : %1").arg(QString::fromUtf8(PXRGetLastError(m_handle))));
        return false;
    }
    m_address = address;
    m_port = port;
    return true;
}

void Sensor::disconnect()
{
    // Not under the mutex: a state report that comes while the threads stop must not block.
    if (m_handle != nullptr) {
        PXRDestroy(m_handle);
        m_handle = nullptr;
    }
    m_address.clear();
    QMutexLocker lock(&m_mutex);
    m_connected = false;
    m_locked = false;
    m_wasLocked = false;
}

bool Sensor::isConnected() const
{
    QMutexLocker lock(&m_mutex);
    return m_connected;
}

bool Sensor::isLocked() const
{
    QMutexLocker lock(&m_mutex);
    return m_locked;
}

bool Sensor::wasLocked() const
{
    QMutexLocker lock(&m_mutex);
    return m_wasLocked;
}

QString Sensor::detectedProtocol() const
{
    return QString::fromLatin1(PXRGetDetectedProtocol(m_handle));
}

void Sensor::setLocked(bool locked)
{
    QMutexLocker lock(&m_mutex);
    m_locked = locked;
    if (locked)
        m_wasLocked = false;
}

void Sensor::onConnectionState(PXR *handle, int connected, uint32_t, void *userData)
{
    // The problem bits are read from the handle by the wait dialog.
    MainWindowInterface::logApp(5, QString("Sensor connection state : %1").arg(connected));
    static_cast<Sensor *>(userData)->connectionStateChanged(handle, connected != 0);
}

void Sensor::connectionStateChanged(PXR *handle, bool connected)
{
    QMutexLocker lock(&m_mutex);
    const bool was = m_connected;
    m_connected = connected;
    if (connected || !was)
        return;
    // A legacy sensor keeps its lock across a drop; a current one forgets it and is locked
    // again by the handshake. One drop may come as several losses (each connection of the pair
    // on its own), so a second one before the handshake must not forget the first.
    if (qstrcmp(PXRGetDetectedProtocol(handle), "FYB") == 0) {
        m_wasLocked = m_wasLocked || m_locked;
        m_locked = false;
    }
    if (m_lossWaiting.exchange(true))
        return;
    // Queued ahead of the receivers' own calls: a loss while they run is signalled again.
    QMetaObject::invokeMethod(this, [this] { m_lossWaiting = false; }, Qt::QueuedConnection);
    emit signalDisconnected();
}

void Sensor::onNewMessage(PXR *, void *userData)
{
    emit static_cast<Sensor *>(userData)->signalNewMessage();
}

void Sensor::getNewMessages()
{
    // The handle is read before each pop: a receiver may have disconnected the sensor.
    while (m_handle != nullptr) {
        PXRMsg *msg = PXRPopMessage(m_handle);
        if (msg == nullptr)
            break;
        if (isSignalConnected(QMetaMethod::fromSignal(&Sensor::signalMsgReceived)))
            emit signalMsgReceived(msg);
        else
            PXRMsgDestroy(msg);
    }
    if (m_handle == nullptr)
        return;
    const uint32_t drops = PXRGetMessageDrops(m_handle);
    if (drops != 0) {
        m_messageDrops += qint32(drops);
        PXRResetMessageDrops(m_handle);
    }
}
