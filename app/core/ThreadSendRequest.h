// The worker thread of one synchronous request, and the wait that keeps the GUI thread turning
// (without user input) until it ends, with the wait dialog for a slow answer.
#pragma once

#include <QThread>

#include "PXR.h"

class ThreadSendRequest : public QThread
{
public:
    // The answer (the caller's) or null. GUI thread; may be nested in another request's wait.
    static PXRMsg *sendRequest(PXRMsg *request);
    // The same without the wait dialog and with the given time-out, for requests the operator
    // did not ask for.
    static PXRMsg *sendQuietly(PXRMsg *request, uint32_t timeoutMs);

    // Milliseconds an answer may take before the wait dialog shows.
    static const int kDialogDelayMs = 250;
    static const uint32_t kTimeoutMs = 300000;

protected:
    void run() override;

private:
    ThreadSendRequest(PXRMsg *request, PXR *handle, uint32_t timeoutMs);
    static PXRMsg *send(PXRMsg *request, uint32_t timeoutMs, bool withDialog);
    // Runs the worker, showing the wait dialog once the answer is late when asked to.
    void startAndWait(bool withDialog);

    PXRMsg *m_request;
    PXRMsg *m_answer = nullptr;
    PXR *m_handle;
    uint32_t m_timeoutMs;
};
