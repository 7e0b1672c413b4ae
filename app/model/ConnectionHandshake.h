// The application's side of the master sensor's connection once the library has bound it: the
// wait, the relock, the schema, the stream subscription, the clock, and the same again after every
// drop; with the guards that make a close or a drop wait for the requests being awaited.
#pragma once

#include <QObject>

#include <atomic>
#include <functional>

class ConnectionHandshakeHost;
class Model;

class ConnectionHandshake : public QObject
{
    Q_OBJECT

public:
    // Neither is owned; both outlive the handshake.
    ConnectionHandshake(Model *model, ConnectionHandshakeHost *host, QObject *parent = nullptr);

    // Waits for the library's connection (the operator may cancel), then brings the application
    // up to date with the master sensor; false only when cancelled, true at once while one runs.
    bool run();
    bool isRunning() const { return m_running; }
    // Drops reported from now on start no handshake, until the next handshake's end.
    void unhook();
    // Follows drops again after unhook; a loss reported meanwhile is handled at once.
    void hook();
    // True while requests are awaited (a handshake counts as one): the window must not close
    // yet; closeAllowed follows once none is.
    bool closeMustWait();

public slots:
    // The library lost the master's connection and reconnects by itself: the handshake runs again,
    // once no request is awaited.
    void onDisconnectionReceived();

signals:
    void closeAllowed();

private:
    void requestSchema();
    void subscribeToStreams();
    // A loss reported while the handshake had its hook off, or a link found down at its end.
    bool lostTheLink() const;
    // True while requests are awaited; the step then runs once none is, however often asked.
    bool deferWhileRequestsRun(bool &deferred, const std::function<void()> &step);

    Model *m_model;
    ConnectionHandshakeHost *m_host;
    bool m_running = false;
    bool m_closeDeferred = false;
    bool m_disconnectionDeferred = false;
    // Losses the library reported during the handshake; written on its threads.
    std::atomic<int> m_lossesDuringHandshake{0};
};
