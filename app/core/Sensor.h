// One sensor connection: the library handle bound plain or over TLS, the connection flags the
// library's threads change, and the pump that takes received messages on the GUI thread.
#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include "PXR.h"

#include <atomic>

class Sensor : public QObject
{
    Q_OBJECT

public:
    explicit Sensor(QObject *parent = nullptr);
    ~Sensor() override;

    // Replaces any handle by a new one bound to the sensor; true when the bind was accepted (the
    // connection itself comes later). A refused bind keeps its handle until disconnect().
    bool connect(const QString &address, quint16 port, const QString &options, bool secured, bool ignoreSSLErrors,
                 bool useClientCertificate, const QString &certificateFile, const QString &keyFile);
    // Destroys the handle (its threads end first) and clears the flags; the drop total stays.
    void disconnect();

    PXR *handle() const { return m_handle; }
    QString address() const { return m_address; }
    quint16 port() const { return m_port; }
    bool isConnected() const;
    bool isLocked() const;
    bool wasLocked() const;
    // Messages the handle's queue refused since the last connect().
    qint32 messageDrops() const { return m_messageDrops; }
    // "FYB", "KGV" or "Unknown".
    QString detectedProtocol() const;

    // Locking through the application also forgets an earlier lock lost with the connection.
    void setLocked(bool locked);

    // The library's callbacks, called on its threads with the Sensor as user data.
    static void onConnectionState(PXR *handle, int connected, uint32_t sslErrors, void *userData);
    static void onNewMessage(PXR *handle, void *userData);

signals:
    // The connection was lost; receivers must be queued or on another thread. Losses that come
    // while one is still waiting for the GUI thread are folded into it: the flags tell the rest.
    void signalDisconnected();
    void signalNewMessage();
    // A received message (a PXRMsg); the receiver, connected directly, takes it over.
    void signalMsgReceived(void *pMsg);

private slots:
    void getNewMessages();

private:
    void connectionStateChanged(PXR *handle, bool connected);

    PXR *m_handle = nullptr;
    QString m_address;
    quint16 m_port = 0;
    bool m_connected = false;
    bool m_locked = false;
    bool m_wasLocked = false;
    mutable QMutex m_mutex;
    qint32 m_messageDrops = 0;
    std::atomic_bool m_lossWaiting = false;
};
