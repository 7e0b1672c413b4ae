// Counts the requests being awaited, and tells once none is, so that work a request's wait must
// not run into (clearing the kept trees, closing the window) can be done afterwards.
#pragma once

#include <QObject>

class MsgManagerNotifier : public QObject
{
    Q_OBJECT

public:
    // The process-wide notifier, made at first use on the GUI thread.
    static MsgManagerNotifier *instance();

    int runningRequests() const { return m_running; }
    void requestStarted();
    void requestEnded();

signals:
    // From the event loop, after the last awaited request has returned to its caller, while
    // still none runs.
    void allRequestsFinished();

private:
    MsgManagerNotifier() = default;

    int m_running = 0;
};
