/* The two connection threads of a bound handle: the asynchronous one receives what the sensor
 * pushes and keeps that connection alive; the synchronous one carries requests and answers. */
#include "PXR_Internal.h"

#include <cerrno>
#include <cstring>

namespace {

// A sensor that breaks every connection soon after its hello would otherwise be connected
// to again at once, hundreds of times a second.
struct BackOff {
    int bOpened;
    uint32_t u32OpenedAt;
    uint32_t u32DelayMs; /* 0: the next attempt at once */
};

// What each thread owns for its whole life.
struct ThreadParts {
    PXRStreamBuffer *psBuffer;
    XML_Parser hParser;
    PXRMsg *psKeepAlive;
    BackOff sBackOff;
};

int createParts(ThreadParts *psParts)
{
    psParts->psBuffer = PXRStreamBufferCreate();
    psParts->hParser = XML_ParserCreate(nullptr);
    psParts->psKeepAlive = PXR_makeMessage("keep-alive", nullptr, nullptr);
    return psParts->psBuffer && psParts->hParser && psParts->psKeepAlive;
}

void releaseParts(ThreadParts *psParts)
{
    PXRStreamBufferRelease(psParts->psBuffer);
    if (psParts->hParser)
        XML_ParserFree(psParts->hParser);
    PXRMsgDestroy(psParts->psKeepAlive);
}

uint32_t elapsedSince(uint32_t u32Tick)
{
    return SA_ElapsedTime(u32Tick, SA_GetTickMs());
}

// After the end of a connection that was opened: a connection that stayed up is made again at
// once; one that broke sooner waits, twice as long each time up to the limit.
void backOff(PXR *psPxr, BackOff *psBackOff, const char *pcszModule)
{
    if (!psBackOff->bOpened || !PXR_isRunning(psPxr))
        return;
    psBackOff->bOpened = 0;
    const PXR_Timing *psTiming = PXR_timing();
    uint32_t u32UpMs = elapsedSince(psBackOff->u32OpenedAt);
    if (u32UpMs >= psTiming->u32StableConnectionMs) {
        psBackOff->u32DelayMs = 0;
        return;
    }
    uint32_t u32Delay = psBackOff->u32DelayMs ? psBackOff->u32DelayMs * 2 : psTiming->u32BackOffFirstMs;
    psBackOff->u32DelayMs = u32Delay < psTiming->u32BackOffMaxMs ? u32Delay : psTiming->u32BackOffMaxMs;
    PXR_trace(psPxr, pcszModule, PXR_LEVEL_EVENT, "Connection lost after %u ms, next attempt in %u ms", u32UpMs,
              psBackOff->u32DelayMs);
    PXR_pause(psPxr, psBackOff->u32DelayMs);
}

void traceAlgorithms(PXR *psPxr, PXRMsg *psHello)
{
    PXRMsgElement *psInfos = PXRMsgElementFirstChild(PXRMsgChild(psHello), "infos");
    PXRMsgElement *psCameras = PXRMsgElementFirstChild(psInfos, "cameras");
    for (PXRMsgElement *psCamera = PXRMsgElementFirstChild(psCameras, "camera"); psCamera;
         psCamera = PXRMsgElementNextChild(psCameras, psCamera, "camera")) {
        const char *pcszId = PXRMsgElementAttributeValue(psCamera, "id");
        PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DEBUG, "Algorithms on camera %s:", pcszId ? pcszId : "");
        PXRMsgElement *psAlgorithms = PXRMsgElementFirstChild(psCamera, "enabledAlgorithms");
        for (PXRMsgElement *psAlgorithm = PXRMsgElementFirstChild(psAlgorithms, nullptr); psAlgorithm;
             psAlgorithm = PXRMsgElementNextChild(psAlgorithms, psAlgorithm, nullptr))
            PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DEBUG, "    %s", PXRMsgElementName(psAlgorithm));
    }
}

// Connects and checks the hello; 1 with the socket connected and the protocol version.
int openConnection(PXR *psPxr, SA_Socket *ppsSocket, ThreadParts *psParts, const char *pcszConnection,
                   const char *pcszModule, uint32_t *pu32Version, PXRMsg **ppsHello)
{
    PXRMsg *psHello = PXRMsgCreate();
    if (!psHello || !PXR_connectToSocket(psPxr, psHello, ppsSocket, psParts->psBuffer, psParts->hParser,
                                         pcszConnection)) {
        if (PXR_protocol(psPxr) != PXR_PROTOCOL_KGV)
            PXR_pause(psPxr, PXR_timing()->u32ReconnectDelayMs);
        PXRMsgDestroy(psHello);
        return 0;
    }
    PXR_trace(psPxr, pcszModule, PXR_LEVEL_DETAIL, "Connected, parsing 'hello message'...");
    if (!PXR_checkHello(psPxr, psHello, pu32Version)) {
        PXR_trace(psPxr, pcszModule, PXR_LEVEL_WARNING, "Disconnecting...");
        PXR_pause(psPxr, PXR_timing()->u32ReconnectDelayMs);
        PXRMsgDestroy(psHello);
        return 0;
    }
    *ppsHello = psHello;
    psParts->sBackOff.bOpened = 1;
    psParts->sBackOff.u32OpenedAt = SA_GetTickMs();
    return 1;
}

int sendConnectionMode(PXR *psPxr, SA_Socket psSocket, const char *pcszMode, const char *pcszModule)
{
    PXR_trace(psPxr, pcszModule, PXR_LEVEL_DETAIL, "Negociating connection mode...");
    PXRMsg *psMode = PXR_makeMessage("setConnectionMode", "connection", pcszMode);
    int bWritten = psMode && PXR_writeMessage(psPxr, psSocket, psMode);
    PXRMsgDestroy(psMode);
    return bWritten;
}

// ---- asynchronous connection ----

struct AsynchronousState {
    ThreadParts sParts;
    uint32_t u32LastKeepAlive;
    uint32_t u32LastReceived;
    uint32_t u32Version;
};

// Keep-alive and silence rules of protocol version 2 on; 0 when the connection must go.
int keepAlive(PXR *psPxr, AsynchronousState *psState)
{
    if (psState->u32Version < 2)
        return 1;
    if (elapsedSince(psState->u32LastReceived) >= PXR_timing()->u32SilenceDropMs) {
        PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DETAIL, "No message received for more than 30s, disconnecting");
        return 0;
    }
    if (elapsedSince(psState->u32LastKeepAlive) < PXR_timing()->u32KeepAliveMs)
        return 1;
    if (PXR_writeAsynchronous(psPxr, psState->sParts.psKeepAlive) != 1) {
        PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_WARNING, "Unable to send keep-alive message, disconnecting");
        return 0;
    }
    psState->u32LastKeepAlive = SA_GetTickMs();
    return 1;
}

// Reads every whole message the buffer starts; 0 when the stream cannot be read any more.
int deliverMessages(PXR *psPxr, SA_Socket psSocket, AsynchronousState *psState)
{
    while (psState->sParts.psBuffer->u32Length >= PXR_FIRST_BYTES && PXR_isRunning(psPxr)) {
        PXRMsg *psMsg = PXRMsgCreate();
        if (!psMsg || PXR_readMessage(psPxr, psMsg, psSocket, PXR_timing()->u32MessageTimeoutMs,
                                      psState->sParts.psBuffer, psState->sParts.hParser) != 0) {
            PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_ERROR, "Msg ReadFromSocket failed : %s",
                      PXRGetLastError(psMsg));
            PXRMsgDestroy(psMsg);
            return 0;
        }
        psState->u32LastReceived = SA_GetTickMs();
        PXRMsgElement *psRoot = PXRMsgChild(psMsg);
        if (psRoot && strcmp(PXRMsgElementName(psRoot), "keep-alive") == 0)
            PXRMsgDestroy(psMsg);
        else if (!PXR_pushReceivedMessage(psPxr, psMsg))
            PXRMsgDestroy(psMsg);
    }
    return 1;
}

void receive(PXR *psPxr, SA_Socket psSocket, AsynchronousState *psState)
{
    PXRStreamBuffer *psBuffer = psState->sParts.psBuffer;
    while (PXR_isRunning(psPxr) && keepAlive(psPxr, psState)) {
        uint32_t u32Before = psBuffer->u32Length;
        int iResult = PXR_fillBuffer(psPxr, psSocket, psBuffer, PXR_FIRST_BYTES, PXR_timing()->u32AsynchronousReadMs);
        if (psBuffer->u32Length != u32Before)
            psState->u32LastReceived = SA_GetTickMs();
        if (iResult == SA_TIMEOUT)
            continue;
        if (iResult != SA_OK) {
            if (PXR_isRunning(psPxr))
                PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DETAIL, "ReadFromSocket failed : %d", errno);
            return;
        }
        if (!deliverMessages(psPxr, psSocket, psState))
            return;
    }
}

// A restarting sensor closes the synchronous connection too, perhaps not seen yet: the handle
// reports itself connected only after that connection has looked at its socket since.
void awaitSynchronousLook(PXR *psPxr)
{
    if (!psPxr->bSynchronousEnabled || !SA_AtomicLoad(&psPxr->bSynchronousConnected))
        return;
    uint32_t u32Checks = SA_AtomicLoadU(&psPxr->u32LinkChecks);
    uint32_t u32Start = SA_GetTickMs();
    SA_SetEvent(psPxr->hEventSynchronousSend);
    while (SA_AtomicLoad(&psPxr->bSynchronousConnected) && SA_AtomicLoadU(&psPxr->u32LinkChecks) == u32Checks &&
           elapsedSince(u32Start) < PXR_timing()->u32ConnectTimeoutMs && PXR_pause(psPxr, 1)) {
    }
}

void unableToWrite(PXR *psPxr)
{
    PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DETAIL, "Unable to write message : disconnect and try to reconnect");
}

void runAsynchronousConnection(PXR *psPxr, AsynchronousState *psState)
{
    SA_Socket psSocket = nullptr;
    PXRMsg *psHello = nullptr;
    if (openConnection(psPxr, &psSocket, &psState->sParts, "async", PXR_MODULE_ASYNCHRONOUS, &psState->u32Version,
                       &psHello)) {
        traceAlgorithms(psPxr, psHello);
        PXRMsgDestroy(psHello);
        PXR_publishAsynchronousSocket(psPxr, psSocket);
        if (!sendConnectionMode(psPxr, psSocket, "asynchronous", PXR_MODULE_ASYNCHRONOUS)) {
            unableToWrite(psPxr);
        } else {
            PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DEBUG, "sending MsgOnConnect");
            if (!PXR_sendStoredSubscription(psPxr, psSocket)) {
                unableToWrite(psPxr);
            } else {
                awaitSynchronousLook(psPxr);
                PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_EVENT, "Connected");
                PXR_setConnectionFlag(psPxr, 1, 1);
                psState->u32LastReceived = SA_GetTickMs();
                receive(psPxr, psSocket, psState);
            }
        }
        PXR_closeAsynchronousLink(psPxr);
    }
    SA_CloseSocket(&psSocket);
}

// ---- synchronous connection ----

struct SynchronousState {
    ThreadParts sParts;
    uint32_t u32LastExchange;
    int bEndedIdle; /* by the idle watch, so nothing was sent on the dead socket */
};

int exchangeKeepAlive(PXR *psPxr, SA_Socket psSocket, SynchronousState *psState)
{
    PXRMsg *psReply = PXRMsgCreate();
    int bDone = psReply && PXR_sendAndReceive(psPxr, psSocket, psState->sParts.psBuffer, psState->sParts.hParser,
                                              psState->sParts.psKeepAlive, psReply,
                                              PXR_timing()->u32KeepAliveReplyTimeoutMs);
    PXRMsgDestroy(psReply);
    if (bDone)
        psState->u32LastExchange = SA_GetTickMs();
    return bDone;
}

// Nothing comes unsolicited on this connection: while idle, a readable socket means the sensor
// closed it or broke the dialogue. 0 when the connection must go.
int idleSocketSound(PXR *psPxr, SA_Socket psSocket)
{
    if (SA_SelectSocket(psSocket, 0, 1, 0) == SA_TIMEOUT) {
        __atomic_add_fetch(&psPxr->u32LinkChecks, 1, __ATOMIC_RELEASE);
        return 1;
    }
    uint32_t u32Count = 0;
    int bData = SA_GetReadableBytesSocket(psSocket, &u32Count) == SA_OK && u32Count > 0;
    PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_DETAIL,
              bData ? "Unexpected data while idle, disconnecting" : "Connection closed by the sensor, disconnecting");
    return 0;
}

// Serves requests until the connection fails; the id of a request whose exchange failed.
uint32_t serveRequests(PXR *psPxr, SA_Socket psSocket, SynchronousState *psState)
{
    while (PXR_isRunning(psPxr)) {
        if (elapsedSince(psState->u32LastExchange) > PXR_timing()->u32KeepAliveMs &&
            !exchangeKeepAlive(psPxr, psSocket, psState))
            return 0;
        int bPosted = SA_WaitEventTimeout(psPxr->hEventSynchronousSend, PXR_timing()->u32RequestPollMs) == SA_OK;
        if (!PXR_isRunning(psPxr))
            continue;
        if (!idleSocketSound(psPxr, psSocket)) {
            psState->bEndedIdle = 1;
            return 0;
        }
        if (!bPosted)
            continue;
        uint32_t u32FailedId = 0;
        if (!PXR_exchangeRequest(psPxr, psSocket, psState->sParts.psBuffer, psState->sParts.hParser, &u32FailedId))
            return u32FailedId;
        psState->u32LastExchange = SA_GetTickMs();
    }
    return 0;
}

// The id of a request whose failed exchange ended the connection, 0 for any other end.
uint32_t runSynchronousConnection(PXR *psPxr, SA_Socket *ppsSocket, SynchronousState *psState)
{
    uint32_t u32Version = 0;
    PXRMsg *psHello = nullptr;
    if (!openConnection(psPxr, ppsSocket, &psState->sParts, "sync", PXR_MODULE_SYNCHRONOUS, &u32Version, &psHello))
        return 0;
    PXRMsgDestroy(psHello);
    if (!sendConnectionMode(psPxr, *ppsSocket, "synchronous", PXR_MODULE_SYNCHRONOUS) || !PXR_isRunning(psPxr))
        return 0;
    PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_EVENT, "Connected");
    PXR_setSynchronousLink(psPxr, 1, 0);
    // A request kept from the last connection goes at once.
    SA_SetEvent(psPxr->hEventSynchronousSend);
    PXR_setConnectionFlag(psPxr, 0, 1);
    return serveRequests(psPxr, *ppsSocket, psState);
}

} // namespace

extern "C" {

void PXR_taskAsynchronous(void *pArgument)
{
    PXR *psPxr = static_cast<PXR *>(pArgument);
    AsynchronousState sState = {};
    // The first keep-alive is due as soon as the connection is up.
    sState.u32LastKeepAlive = SA_GetTickMs() - PXR_timing()->u32KeepAliveMs;
    if (createParts(&sState.sParts)) {
        PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DETAIL, "taskAsynchronous started");
        while (PXR_isRunning(psPxr)) {
            runAsynchronousConnection(psPxr, &sState);
            if (PXR_protocol(psPxr) == PXR_PROTOCOL_KGV)
                break;
            PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_EVENT, "Disconnected");
            PXR_setConnectionFlag(psPxr, 1, 0);
            backOff(psPxr, &sState.sParts.sBackOff, PXR_MODULE_ASYNCHRONOUS);
        }
    }
    releaseParts(&sState.sParts);
    PXR_trace(psPxr, PXR_MODULE_ASYNCHRONOUS, PXR_LEVEL_DETAIL, "End of asynchronous thread");
}

void PXR_taskSynchronous(void *pArgument)
{
    PXR *psPxr = static_cast<PXR *>(pArgument);
    SynchronousState sState = {};
    sState.u32LastExchange = SA_GetTickMs();
    if (createParts(&sState.sParts)) {
        PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_DETAIL, "taskSynchronous started");
        while (PXR_isRunning(psPxr)) {
            SA_Socket psSocket = nullptr;
            sState.bEndedIdle = 0;
            uint32_t u32BrokenId = runSynchronousConnection(psPxr, &psSocket, &sState);
            SA_CloseSocket(&psSocket);
            if (PXR_protocol(psPxr) == PXR_PROTOCOL_KGV)
                break;
            // A request never sent survives the reconnection, unless the handle stops.
            int bFailed = 0;
            if (sState.bEndedIdle && PXR_isRunning(psPxr))
                PXR_keepPendingRequest(psPxr);
            else
                bFailed = PXR_setSynchronousLink(psPxr, 0, PXR_isRunning(psPxr) ? u32BrokenId : 0);
            PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_EVENT,
                      bFailed ? "Disconnected, the message could NOT be sent" : "Disconnected");
            PXR_setConnectionFlag(psPxr, 0, 0);
            backOff(psPxr, &sState.sParts.sBackOff, PXR_MODULE_SYNCHRONOUS);
        }
    }
    // Nobody may wait for an answer once this thread is gone.
    PXR_setSynchronousLink(psPxr, 0, 0);
    releaseParts(&sState.sParts);
    PXR_trace(psPxr, PXR_MODULE_SYNCHRONOUS, PXR_LEVEL_DETAIL, "End of synchronous thread");
}

} // extern "C"
