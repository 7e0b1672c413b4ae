// The worker thread of one synchronous request, and the wait that keeps the GUI thread turning
// (without user input) until it ends, with the wait dialog for a slow answer.
#include "ThreadSendRequest.h"

#include "DialogWait.h"
#include "MainWindowInterface.h"
#include "MsgManager.h"
#include "MsgManagerNotifier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

ThreadSendRequest::ThreadSendRequest(PXRMsg *request, PXR *handle, uint32_t timeoutMs)
    : m_request(request)
    , m_handle(handle)
    , m_timeoutMs(timeoutMs)
{
}

PXRMsg *ThreadSendRequest::sendRequest(PXRMsg *request)
{
    return send(request, kTimeoutMs, true);
}

PXRMsg *ThreadSendRequest::sendQuietly(PXRMsg *request, uint32_t timeoutMs)
{
    return send(request, timeoutMs, false);
}

PXRMsg *ThreadSendRequest::send(PXRMsg *request, uint32_t timeoutMs, bool withDialog)
{
    ThreadSendRequest thread(request, MsgManager::masterHandle(), timeoutMs);
    MsgManagerNotifier::instance()->requestStarted();
    thread.startAndWait(withDialog);
    MsgManagerNotifier::instance()->requestEnded();
    return thread.m_answer;
}

void ThreadSendRequest::startAndWait(bool withDialog)
{
    QElapsedTimer waited;
    waited.start();
    // The loop sleeps until the worker's end or the dialog's moment, so the wait costs no CPU.
    QEventLoop loop;
    QObject::connect(this, &QThread::finished, &loop, &QEventLoop::quit);
    // The active window may be closed during the wait, taking the dialog with it.
    QPointer<DialogWait> dialog;
    QTimer dialogTimer;
    dialogTimer.setSingleShot(true);
    dialogTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&dialogTimer, &QTimer::timeout, &loop, [&] {
        const qint64 elapsed = waited.elapsed();
        if (elapsed <= kDialogDelayMs) {
            dialogTimer.start(int(kDialogDelayMs + 1 - elapsed));
            return;
        }
        dialog = new DialogWait(QApplication::activeWindow());
        dialog->showSendingRequest();
    });
    if (withDialog)
        dialogTimer.start(kDialogDelayMs + 1);

    start();
    if (!isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    wait();
    delete dialog.data();
}

void ThreadSendRequest::run()
{
    MainWindowInterface::logApp(7, QString("ThreadSendRequest::PXRSendRequest %1").arg(PXRGetConnectionState(m_handle)));
    if (m_handle != nullptr)
        m_answer = PXRSendRequest(m_handle, m_request, m_timeoutMs);
    MainWindowInterface::logApp(7, "ThreadSendRequest::PXRSendRequest finished");
}
