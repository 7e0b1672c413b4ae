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

    // Milliseconds an answer may take before the wait dialog shows.
    static const int kDialogDelayMs = 250;
    static const uint32_t kTimeoutMs = 300000;

protected:
    void run() override;

private:
    ThreadSendRequest(PXRMsg *request, PXR *handle);
    // Runs the worker, showing the wait dialog once the answer is late.
    void startAndWait();

    PXRMsg *m_request;
    PXRMsg *m_answer = nullptr;
    PXR *m_handle;
};
