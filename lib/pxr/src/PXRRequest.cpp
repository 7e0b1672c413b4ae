/* Requests and their answers over the synchronous connection, one at a time, asynchronous
 * messages, and the stored stream subscription that every new asynchronous connection gets. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const char kNotConnected[] = "Not connected";

PXRLT *bridgeOf(PXR *psPxr)
{
    return __atomic_load_n(&psPxr->psBridge, __ATOMIC_ACQUIRE);
}

int hasOutcome(PXR *psPxr, uint32_t u32Id)
{
    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    int bDone = psPxr->u32AnsweredId == u32Id || psPxr->u32FailedId == u32Id;
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
    return bDone;
}

// Waits for the answer event, looking at the slot between slices: a reconnection clears the
// event, and must not hide an outcome that came before the requester began to wait.
void waitForOutcome(PXR *psPxr, uint32_t u32Id, uint32_t u32TimeoutMs)
{
    uint32_t u32Start = SA_GetTickMs();
    while (!hasOutcome(psPxr, u32Id)) {
        uint32_t u32Elapsed = SA_ElapsedTime(u32Start, SA_GetTickMs());
        if (u32TimeoutMs != SA_INFINITE && u32Elapsed >= u32TimeoutMs)
            return;
        uint32_t u32Slice = PXR_timing()->u32StopPollMs;
        if (u32TimeoutMs != SA_INFINITE && u32TimeoutMs - u32Elapsed < u32Slice)
            u32Slice = u32TimeoutMs - u32Elapsed;
        SA_WaitEventTimeout(psPxr->hEventSynchronousAnswer, u32Slice);
    }
}

// Posts the request to the synchronous thread and waits for its answer; null with the reason.
PXRMsg *postAndWait(PXR *psPxr, PXRMsg *psRequest, uint32_t u32TimeoutMs)
{
    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    if (!psPxr->bSynchronousLinkUp) {
        SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
        PXR_setHandleError(psPxr, kNotConnected);
        return nullptr;
    }
    if (++psPxr->u32SentId == 0)
        psPxr->u32SentId = 1;
    uint32_t u32Id = psPxr->u32SentId;
    psPxr->psPendingRequest = psRequest;
    psPxr->u32PendingTimeoutMs = u32TimeoutMs;
    // An answer event left over from an abandoned request must not end this wait.
    SA_ClearEvent(psPxr->hEventSynchronousAnswer);
    SA_SetEvent(psPxr->hEventSynchronousSend);
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);

    waitForOutcome(psPxr, u32Id, u32TimeoutMs);

    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    PXRMsg *psAnswer = nullptr;
    const char *pcszReason = kNotConnected;
    if (psPxr->u32AnsweredId == u32Id && psPxr->psAnswer) {
        psAnswer = psPxr->psAnswer;
        psPxr->psAnswer = nullptr;
    } else if (psPxr->u32FailedId != u32Id) {
        pcszReason = "Timeout";
    }
    psPxr->psPendingRequest = nullptr;
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
    if (!psAnswer) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DEBUG, "Timeout");
        PXR_setHandleError(psPxr, "%s", pcszReason);
    }
    return psAnswer;
}

// The thread's own hold on the posted request: a reference, or a copy of a writable one.
PXRMsg *holdRequest(PXR *psPxr, PXRMsg *psRequest)
{
    if (PXRMsgIsReadOnly(psRequest) && PXRMsgAddRef(psRequest))
        return psRequest;
    PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_WARNING,
              "Warning, msg to be sent is NOT read only and will be copied");
    return PXRMsgCopy(psRequest);
}

int failAsynchronous(PXR *psPxr, const char *pcszReason)
{
    PXR_setHandleError(psPxr, "%s", pcszReason);
    return 0;
}

// A subscription is merged into the stored one: 1 when the link is up and it must be written
// now, 0 when it waits for the next connection, -1 when the handle is not bound.
int storeSubscription(PXR *psPxr, PXRMsgElement *psRoot)
{
    SA_LockMutex(psPxr->hMutexSubscription);
    int iResult = -1;
    if (psPxr->psSubscription) {
        PXRMsgElementMerge(PXRMsgChild(psPxr->psSubscription), psRoot, nullptr, 1);
        iResult = SA_AtomicLoad(&psPxr->bAsynchronousLinkUp);
    }
    SA_UnlockMutex(psPxr->hMutexSubscription);
    return iResult;
}

void traceSubscriptionKept(PXR *psPxr)
{
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_WARNING,
              "Asynchronous connection not ready : the setEnableStreams message will be sent at connection");
}

} // namespace

extern "C" {

PXRMsg *PXRSendRequest(PXR *psPxr, PXRMsg *psRequest, uint32_t u32TimeoutMs)
{
    if (!psPxr)
        return nullptr;
    if (!psPxr->bSynchronousEnabled) {
        PXR_setHandleError(psPxr, "Synchronous mode is not enabled");
        return nullptr;
    }
    if (!SA_AtomicLoad(&psPxr->bSynchronousConnected) || !psPxr->hMutexSynchronousSend) {
        PXR_setHandleError(psPxr, kNotConnected);
        return nullptr;
    }
    if (!PXRMsgChild(psRequest)) {
        PXR_setHandleError(psPxr, "Invalid message : no element in msg");
        return nullptr;
    }
    SA_LockMutex(psPxr->hMutexSynchronousSend);
    const PXR_LegacyBridge *psBridge = PXR_legacyBridge();
    PXRMsg *psAnswer = bridgeOf(psPxr) && psBridge && psBridge->rSendRequest
                           ? psBridge->rSendRequest(psPxr, psRequest, u32TimeoutMs)
                           : postAndWait(psPxr, psRequest, u32TimeoutMs);
    SA_UnlockMutex(psPxr->hMutexSynchronousSend);
    if (psAnswer) {
        PXRMsgSetReadOnly(psAnswer, 1);
        psAnswer->psOwner = psPxr;
    }
    return psAnswer;
}

int PXRSendAsynchronousMessage(PXR *psPxr, PXRMsg *psMsg)
{
    if (!psPxr)
        return 0;
    if (!psPxr->bAsynchronousEnabled)
        return failAsynchronous(psPxr, "Asynchronous mode is not enabled");
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    if (!psRoot)
        return failAsynchronous(psPxr, "Invalid message : no element in msg");
    if (!psPxr->hMutexSubscription)
        return failAsynchronous(psPxr, kNotConnected);
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DEBUG, "sending asynchronous message : %s", PXRMsgElementName(psRoot));
    const PXR_LegacyBridge *psBridge = PXR_legacyBridge();
    if (bridgeOf(psPxr) && psBridge && psBridge->rSendAsynchronousMessage)
        return psBridge->rSendAsynchronousMessage(psPxr, psMsg);
    int bSubscription = PXRMsgStringEqual(PXRMsgElementName(psRoot), "setEnableStreams");
    int iUp = bSubscription ? storeSubscription(psPxr, psRoot) : SA_AtomicLoad(&psPxr->bAsynchronousLinkUp);
    if (iUp < 0)
        return failAsynchronous(psPxr, kNotConnected);
    int iWritten = iUp ? PXR_writeAsynchronous(psPxr, psMsg) : -1;
    if (iWritten == 1)
        return 1;
    // Not written: a subscription goes out with the stored one at the next connection.
    if (bSubscription) {
        traceSubscriptionKept(psPxr);
        return 1;
    }
    return iWritten == 0 ? 0 : failAsynchronous(psPxr, kNotConnected);
}

int PXR_writeAsynchronous(PXR *psPxr, PXRMsg *psMsg)
{
    SA_LockMutex(psPxr->hMutexAsynchronousSend);
    int iResult = -1;
    if (SA_AtomicLoad(&psPxr->bAsynchronousLinkUp) && psPxr->psAsynchronousSocket)
        iResult = PXR_writeMessage(psPxr, psPxr->psAsynchronousSocket, psMsg);
    SA_UnlockMutex(psPxr->hMutexAsynchronousSend);
    return iResult;
}

void PXR_publishAsynchronousSocket(PXR *psPxr, SA_Socket psSocket)
{
    SA_LockMutex(psPxr->hMutexAsynchronousSend);
    psPxr->psAsynchronousSocket = psSocket;
    SA_UnlockMutex(psPxr->hMutexAsynchronousSend);
}

int PXR_sendStoredSubscription(PXR *psPxr, SA_Socket psSocket)
{
    SA_LockMutex(psPxr->hMutexSubscription);
    int bWritten = PXR_writeMessage(psPxr, psSocket, psPxr->psSubscription);
    if (bWritten)
        SA_AtomicStore(&psPxr->bAsynchronousLinkUp, 1);
    SA_UnlockMutex(psPxr->hMutexSubscription);
    return bWritten;
}

void PXR_closeAsynchronousLink(PXR *psPxr)
{
    SA_LockMutex(psPxr->hMutexSubscription);
    SA_AtomicStore(&psPxr->bAsynchronousLinkUp, 0);
    SA_UnlockMutex(psPxr->hMutexSubscription);
    PXR_publishAsynchronousSocket(psPxr, nullptr);
}

int PXR_sendAndReceive(PXR *psPxr, SA_Socket psSocket, PXRStreamBuffer *psBuffer, XML_Parser hParser,
                       PXRMsg *psRequest, PXRMsg *psAnswer, uint32_t u32TimeoutMs)
{
    if (!psRequest) {
        PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_WARNING, "No message to send!");
        return 0;
    }
    if (!PXR_writeMessage(psPxr, psSocket, psRequest)) {
        PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_WARNING, "Unable to write message to socket");
        return 0;
    }
    if (PXR_readMessage(psPxr, psAnswer, psSocket, u32TimeoutMs, psBuffer, hParser) != 0) {
        PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_WARNING, "Msg ReadFromSocket failed : %s",
                  PXRGetLastError(psAnswer));
        return 0;
    }
    return 1;
}

int PXR_exchangeRequest(PXR *psPxr, SA_Socket psSocket, PXRStreamBuffer *psBuffer, XML_Parser hParser,
                        uint32_t *pu32FailedId)
{
    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    if (!psPxr->psPendingRequest) {
        SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
        return 1;
    }
    PXRMsg *psRequest = holdRequest(psPxr, psPxr->psPendingRequest);
    uint32_t u32Id = psPxr->u32SentId;
    uint32_t u32TimeoutMs = psPxr->u32PendingTimeoutMs;
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);

    PXRMsg *psAnswer = PXRMsgCreate();
    int bDone = psAnswer && PXR_sendAndReceive(psPxr, psSocket, psBuffer, hParser, psRequest, psAnswer, u32TimeoutMs);
    PXRMsgDestroy(psRequest);
    if (!bDone) {
        PXRMsgDestroy(psAnswer);
        *pu32FailedId = u32Id;
        return 0;
    }
    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    if (psPxr->psPendingRequest && psPxr->u32SentId == u32Id) {
        psPxr->u32AnsweredId = u32Id;
        psPxr->psAnswer = psAnswer;
        psAnswer = nullptr;
        SA_SetEvent(psPxr->hEventSynchronousAnswer);
    }
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
    PXRMsgDestroy(psAnswer);
    return 1;
}

void PXR_keepPendingRequest(PXR *psPxr)
{
    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    psPxr->bSynchronousLinkUp = 0;
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
}

int PXR_setSynchronousLink(PXR *psPxr, int bUp, uint32_t u32BrokenId)
{
    SA_LockMutex(psPxr->hMutexSynchronousSend2);
    psPxr->bSynchronousLinkUp = bUp;
    int bFailed = 0;
    int bNewerWaits = u32BrokenId != 0 && psPxr->u32SentId != u32BrokenId;
    if (!bUp && psPxr->psPendingRequest && !bNewerWaits) {
        psPxr->psPendingRequest = nullptr;
        psPxr->u32FailedId = psPxr->u32SentId;
        SA_SetEvent(psPxr->hEventSynchronousAnswer);
        bFailed = 1;
    }
    SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
    return bFailed;
}

} // extern "C"
