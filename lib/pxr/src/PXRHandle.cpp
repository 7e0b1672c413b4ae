/* The connection handle: creation, binding to a sensor (plain or TLS), unbinding, and the
 * overall connection state with its callbacks. */
#include "PXR_Internal.h"

namespace {

const char *const kProtocolNames[] = {"Unknown", "KGV", "FYB"};

int overallState(PXR *psPxr)
{
    int bAsynchronous = psPxr->bAsynchronousEnabled;
    int bSynchronous = psPxr->bSynchronousEnabled;
    if (!bAsynchronous && !bSynchronous)
        return 0;
    return (!bAsynchronous || SA_AtomicLoad(&psPxr->bAsynchronousConnected)) &&
           (!bSynchronous || SA_AtomicLoad(&psPxr->bSynchronousConnected));
}

int startThread(PXR *psPxr, SA_Thread *ppsThread, PTHREADFUNCTION rRoutine, const char *pcszName)
{
    return SA_CreateThreadExInfo(ppsThread, rRoutine, psPxr, PXR_THREAD_STACK_SIZE, 0, __FILE__, __func__,
                                 uint32_t(__LINE__), pcszName) == SA_OK;
}

void joinThread(PXR *psPxr, SA_Thread *ppsThread, const char *pcszTrace)
{
    if (!*ppsThread)
        return;
    SA_WaitThreadTimeout(*ppsThread, SA_INFINITE);
    SA_ExitThread(ppsThread);
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DEBUG, "%s", pcszTrace);
}

void destroyMutex(SA_Mutex *phMutex)
{
    if (*phMutex)
        SA_DestroyMutex(phMutex);
}

void destroyEvent(SA_Event *phEvent)
{
    if (*phEvent)
        SA_DestroyEvent(phEvent);
}

// Stops the threads and releases everything a bind made, whatever part of it was made.
void releaseBinding(PXR *psPxr)
{
    SA_AtomicStore(&psPxr->i32Running, 0);
    if (psPxr->hStopEvent)
        SA_SetEvent(psPxr->hStopEvent);
    if (psPxr->hEventSynchronousSend)
        SA_SetEvent(psPxr->hEventSynchronousSend);
    joinThread(psPxr, &psPxr->psThreadAsynchronous, "ThreadAsynchronous finished");
    joinThread(psPxr, &psPxr->psThreadSynchronous, "ThreadSynchronous finished");
    const PXR_LegacyBridge *psBridge = PXR_legacyBridge();
    if (psPxr->psBridge && psBridge && psBridge->rRelease)
        psBridge->rRelease(psPxr);
    psPxr->psBridge = nullptr;
    destroyMutex(&psPxr->hMutexConnect);
    destroyMutex(&psPxr->hMutexTestProtocol);
    destroyEvent(&psPxr->hConnectionEvent);
    destroyEvent(&psPxr->hStopEvent);
    PXRMsg_releaseBufferPool(&psPxr->psSendBufferPool);
    PXRMsg_releaseBufferPool(&psPxr->psDetachedSendBufferPool);
    SA_Free(&psPxr->pszServer);
    if (psPxr->hMutexSubscription) {
        SA_LockMutex(psPxr->hMutexSubscription);
        PXRMsgDestroy(psPxr->psSubscription);
        psPxr->psSubscription = nullptr;
        SA_UnlockMutex(psPxr->hMutexSubscription);
    }
    if (psPxr->hMutexSynchronousSend2) {
        SA_LockMutex(psPxr->hMutexSynchronousSend2);
        PXRMsgDestroy(psPxr->psAnswer);
        psPxr->psAnswer = nullptr;
        psPxr->psPendingRequest = nullptr;
        SA_UnlockMutex(psPxr->hMutexSynchronousSend2);
    }
}

// What the application's send functions lock lives as long as the handle, so that a send
// racing with an unbind finds the link down instead of a destroyed mutex.
void releaseSendObjects(PXR *psPxr)
{
    SA_Mutex *aphMutexes[] = {&psPxr->hMutexAsynchronousSend, &psPxr->hMutexSynchronousSend,
                              &psPxr->hMutexSynchronousSend2, &psPxr->hMutexSubscription};
    for (SA_Mutex *phMutex : aphMutexes)
        destroyMutex(phMutex);
    destroyEvent(&psPxr->hEventSynchronousSend);
    destroyEvent(&psPxr->hEventSynchronousAnswer);
}

int createMutex(SA_Mutex *phMutex)
{
    return *phMutex || SA_CreateMutex(phMutex) == SA_OK;
}

int createEvent(SA_Event *phEvent)
{
    return *phEvent || SA_CreateEvent(phEvent) == SA_OK;
}

// Each step names its failure; null when everything was made.
const char *createAsynchronousPart(PXR *psPxr)
{
    if (!createMutex(&psPxr->hMutexAsynchronousSend))
        return "Unable to create hMutexAsynchronousSend";
    if (!createMutex(&psPxr->hMutexSubscription))
        return "Unable to create subscription mutex";
    PXRMsg *psSubscription = PXR_makeMessage("setEnableStreams", nullptr, nullptr);
    SA_LockMutex(psPxr->hMutexSubscription);
    psPxr->psSubscription = psSubscription;
    SA_UnlockMutex(psPxr->hMutexSubscription);
    if (!psPxr->psSubscription)
        return "Unable to create stored subscription";
    return nullptr;
}

const char *createSynchronousPart(PXR *psPxr)
{
    if (!createMutex(&psPxr->hMutexSynchronousSend))
        return "Unable to create hMutexSynchronousSend";
    if (!createMutex(&psPxr->hMutexSynchronousSend2))
        return "Unable to create hMutexSynchronousSend2";
    if (!createEvent(&psPxr->hEventSynchronousSend))
        return "Unable to create hEventSynchronousSend";
    if (!createEvent(&psPxr->hEventSynchronousAnswer))
        return "Unable to create hEventSynchronousAnswer";
    return nullptr;
}

// Only once every part is made: either thread reaches the other part's events and mutexes.
const char *startThreads(PXR *psPxr)
{
    if (psPxr->bAsynchronousEnabled &&
        !startThread(psPxr, &psPxr->psThreadAsynchronous, &PXR_taskAsynchronous, "&PXR_taskAsynchronous"))
        return "Unable to create asynchronous thread";
    if (psPxr->bSynchronousEnabled &&
        !startThread(psPxr, &psPxr->psThreadSynchronous, &PXR_taskSynchronous, "&PXR_taskSynchronous"))
        return "Unable to create synchronous thread";
    return nullptr;
}

void resetBindingFields(PXR *psPxr, int bSecured)
{
    SA_AtomicStore(&psPxr->i32Running, 1);
    psPxr->u32RequestTimeoutMs = PXR_REQUEST_TIMEOUT_MS;
    psPxr->u16CommandPort = PXR_DEFAULT_COMMAND_PORT;
    psPxr->u16TimePort = PXR_DEFAULT_TIME_PORT;
    psPxr->bSynchronousEnabled = 1;
    psPxr->bAsynchronousEnabled = 1;
    psPxr->bSecured = bSecured;
    psPxr->u32SentId = psPxr->u32AnsweredId = psPxr->u32FailedId = 0;
    psPxr->bSynchronousLinkUp = 0;
    SA_AtomicStore(&psPxr->bAsynchronousLinkUp, 0);
    SA_AtomicStore(&psPxr->bAsynchronousConnected, 0);
    SA_AtomicStore(&psPxr->bSynchronousConnected, 0);
}

const char *createBinding(PXR *psPxr, const char *pcszServer, uint16_t u16Port, const char *pcszOptions,
                          int bSecured)
{
    if (SA_CreateEvent(&psPxr->hConnectionEvent) != SA_OK || SA_CreateEventManual(&psPxr->hStopEvent) != SA_OK)
        return "Unable to create connection Event";
    if (!PXRMsg_createBufferPool(&psPxr->psSendBufferPool, PXR_CONNECTION_BUFFER_ITEMS, 0))
        return "Unable to create SendBuffer pool";
    if (!PXRMsg_createBufferPool(&psPxr->psDetachedSendBufferPool, PXR_CONNECTION_BUFFER_ITEMS, 1))
        return "Unable to create DetachedSendBuffer pool";
    resetBindingFields(psPxr, bSecured);
    if (!PXR_parseOptions(psPxr, pcszOptions))
        return psPxr->aszLastError;
    psPxr->pszServer = SU_Strdup(pcszServer);
    if (!psPxr->pszServer)
        return "Unable to copy server address";
    psPxr->u16Port = u16Port;
    SA_AtomicStore(&psPxr->i32DetectedProtocol, PXR_PROTOCOL_UNKNOWN);
    if (SA_CreateMutex(&psPxr->hMutexTestProtocol) != SA_OK)
        return "Unable to create Mutex test protocol";
    if (SA_CreateMutex(&psPxr->hMutexConnect) != SA_OK)
        return "Unable to create Mutex connect";
    const char *pcszFailure = nullptr;
    if (psPxr->bAsynchronousEnabled)
        pcszFailure = createAsynchronousPart(psPxr);
    if (!pcszFailure && psPxr->bSynchronousEnabled)
        pcszFailure = createSynchronousPart(psPxr);
    return pcszFailure ? pcszFailure : startThreads(psPxr);
}

int bind(PXR *psPxr, const char *pcszServer, uint16_t u16Port, const char *pcszOptions, int bSecured)
{
    if (!psPxr)
        return 0;
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT,
              bSecured ? "Binds securely to server: %s:%u" : "Binds to server: %s:%u", pcszServer ? pcszServer : "",
              unsigned(u16Port));
    PXR_clearHandleError(psPxr);
    if (psPxr->pszServer)
        PXRUnbind(psPxr);
    const char *pcszFailure = pcszServer ? createBinding(psPxr, pcszServer, u16Port, pcszOptions, bSecured)
                                         : "No server address given";
    if (!pcszFailure)
        return 1;
    if (pcszFailure != psPxr->aszLastError)
        PXR_setHandleError(psPxr, "%s", pcszFailure);
    releaseBinding(psPxr);
    return 0;
}

// Installs whichever callback is given, under the mutex of the reports that call them.
void setStateCallbacks(PXR *psPxr, const PXRConnectionStateCallback *prCallback, void *pUser,
                       const PXRConnectionStateCallback2 *prCallback2, void *pUser2)
{
    if (!psPxr)
        return;
    SA_LockMutex(psPxr->hMutexState);
    if (prCallback) {
        psPxr->rStateCallback = *prCallback;
        psPxr->pStateUser = pUser;
    }
    if (prCallback2) {
        psPxr->rStateCallback2 = *prCallback2;
        psPxr->pStateUser2 = pUser2;
    }
    SA_UnlockMutex(psPxr->hMutexState);
}

} // namespace

extern "C" {

PXR *PXRCreate(void)
{
    if (SA_Init(0, 0, -1) != SA_OK)
        return nullptr;
    PXR *psPxr = static_cast<PXR *>(SA_Calloc(1, sizeof(PXR)));
    if (psPxr)
        psPxr->psQueue = PXRQueueCreate();
    if (!psPxr || !psPxr->psQueue || SA_CreateMutex(&psPxr->hMutexTls) != SA_OK ||
        SA_CreateMutex(&psPxr->hMutexState) != SA_OK) {
        if (psPxr) {
            PXRQueueDestroy(psPxr->psQueue);
            destroyMutex(&psPxr->hMutexTls);
            SA_Free(&psPxr);
        }
        SA_Release();
        return nullptr;
    }
    if (!PXR_isInitialised()) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_FATAL, "ERROR : PXR_initLibrary has not been launched");
        PXRDestroy(psPxr);
        return nullptr;
    }
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL, "PXR Created (%s)", PXRGetVersion());
    return psPxr;
}

void PXRDestroy(PXR *psPxr)
{
    if (!psPxr)
        return;
    PXRUnbind(psPxr);
    if (psPxr->bExternalQueue)
        PXRQueue_removeClient(psPxr->psQueue, psPxr);
    else
        PXRQueueDestroy(psPxr->psQueue);
    PXR_freeClientCertificate(psPxr);
    releaseSendObjects(psPxr);
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_DETAIL, "PXR released");
    destroyMutex(&psPxr->hMutexTls);
    destroyMutex(&psPxr->hMutexState);
    PXR_forgetHandleErrors();
    SA_Free(&psPxr);
    SA_Release();
}

int PXRBind(PXR *psPxr, const char *pcszServer, uint16_t u16Port, const char *pcszOptions)
{
    return bind(psPxr, pcszServer, u16Port, pcszOptions, 0);
}

int PXRBindS(PXR *psPxr, const char *pcszServer, uint16_t u16Port, const char *pcszOptions)
{
    return bind(psPxr, pcszServer, u16Port, pcszOptions, 1);
}

int PXRUnbind(PXR *psPxr)
{
    if (!psPxr)
        return 0;
    PXR_clearHandleError(psPxr);
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "Unbind from server...");
    releaseBinding(psPxr);
    PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_EVENT, "Unbind done");
    return 1;
}

const char *PXRGetAddress(PXR *psPxr)
{
    return psPxr ? psPxr->pszServer : nullptr;
}

uint16_t PXRGetPort(PXR *psPxr)
{
    return psPxr ? psPxr->u16Port : 0;
}

int PXRGetSSL(PXR *psPxr)
{
    return psPxr ? psPxr->bSecured : 0;
}

int PXRGetConnectionState(PXR *psPxr)
{
    return psPxr ? overallState(psPxr) : 0;
}

int PXRWaitForConnection(PXR *psPxr, uint32_t u32TimeoutMs)
{
    if (!psPxr || !psPxr->hConnectionEvent)
        return 0;
    return SA_WaitEventTimeout(psPxr->hConnectionEvent, u32TimeoutMs) == SA_OK;
}

int PXR_protocol(PXR *psPxr)
{
    return SA_AtomicLoad(&psPxr->i32DetectedProtocol);
}

const char *PXRGetDetectedProtocol(PXR *psPxr)
{
    int iProtocol = psPxr ? PXR_protocol(psPxr) : PXR_PROTOCOL_UNKNOWN;
    return kProtocolNames[iProtocol == PXR_PROTOCOL_KGV || iProtocol == PXR_PROTOCOL_FYB ? iProtocol : 0];
}

void PXRSetConnectionStateCallback(PXR *psPxr, PXRConnectionStateCallback rCallback, void *pUser)
{
    setStateCallbacks(psPxr, &rCallback, pUser, nullptr, nullptr);
}

void PXRSetConnectionStateCallback2(PXR *psPxr, PXRConnectionStateCallback2 rCallback, void *pUser)
{
    setStateCallbacks(psPxr, nullptr, nullptr, &rCallback, pUser);
}

// The state mutex is taken by nothing but these reports: it keeps two threads' reports in
// the order of their changes, and a callback may call any other function of the handle.
void PXR_setConnectionState(PXR *psPxr, int bAsynchronousConnected, int bSynchronousConnected)
{
    SA_LockMutex(psPxr->hMutexState);
    int bBefore = overallState(psPxr);
    SA_AtomicStore(&psPxr->bAsynchronousConnected, bAsynchronousConnected ? 1 : 0);
    SA_AtomicStore(&psPxr->bSynchronousConnected, bSynchronousConnected ? 1 : 0);
    int bAfter = overallState(psPxr);
    if (bAfter != bBefore) {
        if (!bAfter && psPxr->hConnectionEvent)
            SA_ClearEvent(psPxr->hConnectionEvent);
        if (bAfter) {
            if (psPxr->hEventSynchronousAnswer)
                SA_ClearEvent(psPxr->hEventSynchronousAnswer);
            if (psPxr->hConnectionEvent)
                SA_SetEvent(psPxr->hConnectionEvent);
        }
        if (psPxr->rStateCallback)
            psPxr->rStateCallback(psPxr, bAfter, psPxr->pStateUser);
        if (psPxr->rStateCallback2)
            psPxr->rStateCallback2(psPxr, bAfter, SA_AtomicLoadU(&psPxr->u32SslErrors), psPxr->pStateUser2);
    }
    SA_UnlockMutex(psPxr->hMutexState);
}

} // extern "C"

extern "C" void PXR_setConnectionFlag(PXR *psPxr, int bAsynchronous, int bConnected)
{
    SA_LockMutex(psPxr->hMutexState);
    if (bAsynchronous)
        PXR_setConnectionState(psPxr, bConnected, SA_AtomicLoad(&psPxr->bSynchronousConnected));
    else
        PXR_setConnectionState(psPxr, SA_AtomicLoad(&psPxr->bAsynchronousConnected), bConnected);
    SA_UnlockMutex(psPxr->hMutexState);
}
