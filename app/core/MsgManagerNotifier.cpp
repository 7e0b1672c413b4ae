// Counts the requests being awaited, and tells once none is, so that work a request's wait must
// not run into (clearing the kept trees, closing the window) can be done afterwards.
#include "MsgManagerNotifier.h"

MsgManagerNotifier *MsgManagerNotifier::instance()
{
    static MsgManagerNotifier notifier;
    return &notifier;
}

void MsgManagerNotifier::requestStarted()
{
    ++m_running;
}

void MsgManagerNotifier::requestEnded()
{
    if (--m_running != 0)
        return;
    // Queued, so the caller has taken its answer and finished with it before anyone acts.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_running == 0)
                emit allRequestsFinished();
        },
        Qt::QueuedConnection);
}
