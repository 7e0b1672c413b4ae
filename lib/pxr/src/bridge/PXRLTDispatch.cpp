/* The bridge's request dispatcher: requests checked against the light connection's state and
 * the lock, handed to their handler by name; lock and unlock with the command connection. */
#include <stdio.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

typedef int (*Handler)(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);

// The serial-port requests use the command connection too: unlocked, they have none.
const char *const kNeedsLock[] = {"reboot",        "openBarrier",  "setConfig",   "getDatabase", "eraseDatabase",
                                  "editDatabase",  "setIOState",   "resetCounters", "lockRS232", "unlockRS232",
                                  "writeRS232",    "readRS232"};

int needsLock(const char *pcszName)
{
    for (const char *pcszLocked : kNeedsLock)
        if (PXRMsgStringEqual(pcszName, pcszLocked))
            return 1;
    return 0;
}

// Ready means state 2; a missing light connection is never ready.
int lightReady(PXRLT *psBridge)
{
    LumatrekConnectionState sState;
    memset(&sState, 0, sizeof(sState));
    if (!psBridge || !psBridge->psLightHandle)
        return 0;
    LumatrekGetState(psBridge->psLightHandle, &sState);
    return sState.u32Global == 2;
}

int handleLock(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    PXRLT *psBridge = psPxr->psBridge;
    if (psBridge->psCommandHandle)
        return PXRLT_setAnswer(psAnswer, 1, nullptr);
    char aszText[128];
    const int iLength = snprintf(aszText, sizeof(aszText), "%s:%u,0,0", psPxr->pszServer ? psPxr->pszServer : "",
                                 (unsigned)psPxr->u16CommandPort);
    if (iLength < 0 || (size_t)iLength >= sizeof(aszText)) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "Command connection: address too long");
        return PXRLT_setAnswer(psAnswer, 0, "Unable to connect to command port : already locked?");
    }
    PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "Command connection to %s", aszText);
    psBridge->psCommandHandle = LumatrekCreateCommand(aszText, &PXRLT_lockConnectionStateCallback, psPxr, nullptr, nullptr);
    if (!psBridge->psCommandHandle || WaitReady(psBridge->psCommandHandle, psPxr->u32RequestTimeoutMs) != 0) {
        LumatrekDestroy(&psBridge->psCommandHandle);
        return PXRLT_setAnswer(psAnswer, 0, "Unable to connect to command port : already locked?");
    }
    SA_AtomicStore(&psBridge->bLockGranted, 1);
    return PXRLT_setAnswer(psAnswer, 1, nullptr);
}

int handleUnlock(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    PXRLT *psBridge = psPxr->psBridge;
    if (psBridge->psCommandHandle) {
        SA_AtomicStore(&psBridge->bLockGranted, 0);
        PXRLT_closeCommandConnection(psPxr);
    }
    return PXRLT_setAnswer(psAnswer, 1, nullptr);
}

void keepSchema(void *, void *) {}

// The schema is a constant of the program: attached as it is, never freed.
int handleGetXsd(PXR *, PXRMsg *, PXRMsg *psAnswer)
{
    PXRMsgElement *psXsd = PXRLT_newRoot(psAnswer, "xsd");
    return psXsd && PXRMsgElementSetContentBinaryNoCopy(psXsd, const_cast<char *>(g_acPxrltSchema),
                                                        g_u32PxrltSchemaSize, &keepSchema, nullptr);
}

const struct {
    const char *pcszName;
    Handler rHandler;
} kHandlers[] = {
    {"lock", &handleLock},
    {"unlock", &handleUnlock},
    {"getImage", &PXRLT_sendMessage_getImage},
    {"triggerOn", &PXRLT_sendMessage_triggerOn},
    {"triggerOff", &PXRLT_sendMessage_triggerOff},
    {"getCurrentLog", &PXRLT_sendMessage_getCurrentLog},
    {"reboot", &PXRLT_sendMessage_reboot},
    {"openBarrier", &PXRLT_sendMessage_openBarrier},
    {"getInfos", &PXRLT_sendMessage_getInfos},
    {"setConfig", &PXRLT_sendMessage_setConfig},
    {"getConfig", &PXRLT_sendMessage_getConfig},
    {"getDatabase", &PXRLT_sendMessage_getDatabase},
    {"eraseDatabase", &PXRLT_sendMessage_eraseDatabase},
    {"editDatabase", &PXRLT_sendMessage_editDatabase},
    {"getIOState", &PXRLT_sendMessage_getIOState},
    {"setIOState", &PXRLT_sendMessage_setIOState},
    {"lockRS232", &PXRLT_sendMessage_lockRS232},
    {"unlockRS232", &PXRLT_sendMessage_unlockRS232},
    {"writeRS232", &PXRLT_sendMessage_writeRS232},
    {"readRS232", &PXRLT_sendMessage_readRS232},
    {"resetCounters", &PXRLT_sendMessage_resetCounters},
    {"getXSD", &handleGetXsd},
};

PXRMsg *failedAnswer(const char *pcszText)
{
    PXRMsg *psAnswer = PXRMsgCreate();
    if (psAnswer)
        PXRLT_setAnswer(psAnswer, 0, pcszText);
    return psAnswer;
}

} // namespace

void PXRLT_closeCommandConnection(PXR *psPxr)
{
    PXRLT *psBridge = psPxr->psBridge;
    if (!psBridge || !psBridge->psCommandHandle)
        return;
    if (psBridge->bOpticsChanged) {
        LumatrekHandle *psLight = psBridge->psLightHandle;
        LumatrekConfig sConfig;
        memset(&sConfig, 0, sizeof(sConfig));
        if (psLight) {
            LT_lock(psLight, LT_MUTEX_CONFIG);
            sConfig = psLight->sConfig;
            LT_unlock(psLight, LT_MUTEX_CONFIG);
        }
        if (PXRLT_hasFocusToSave(&sConfig)) {
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "Saving focus...");
            if (LumatrekSaveFocus(psBridge->psCommandHandle) != 0)
                PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "Saving focus FAILED");
        }
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "Storing camera optics parameters...");
        if (LumatrekStore(psBridge->psCommandHandle) != 0)
            PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "Storing camera optics FAILED!");
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "Done");
        psBridge->bOpticsChanged = 0;
    }
    LumatrekDestroy(&psBridge->psCommandHandle);
}

PXRMsg *PXRLT_sendRequest(PXR *psPxr, PXRMsg *psRequest, uint32_t)
{
    PXRMsgElement *psRoot = PXRMsgChild(psRequest);
    if (!psRoot)
        return failedAnswer("empty message not supported");
    PXRLT *psBridge = psPxr->psBridge;
    if (!lightReady(psBridge)) {
        PXR_setHandleError(psPxr, "Not connected");
        return nullptr;
    }
    PXRMsg *psAnswer = PXRMsgCreate();
    if (!psAnswer) {
        PXR_setHandleError(psPxr, "Out of memory");
        return nullptr;
    }
    const char *pcszName = PXRMsgElementName(psRoot);
    const int bLocked = needsLock(pcszName);
    if (bLocked) {
        SA_LockMutex(psBridge->hLockMutex);
        if (!psBridge->psCommandHandle) {
            PXRLT_setAnswer(psAnswer, 0, "Must be locked");
            SA_UnlockMutex(psBridge->hLockMutex);
            return psAnswer;
        }
    }
    int bHandled = 0;
    for (const auto &sHandler : kHandlers)
        if (PXRMsgStringEqual(pcszName, sHandler.pcszName)) {
            sHandler.rHandler(psPxr, psRequest, psAnswer);
            bHandled = 1;
            break;
        }
    if (!bHandled)
        PXRLT_setAnswer(psAnswer, 0, "unknown command");
    if (bLocked)
        SA_UnlockMutex(psBridge->hLockMutex);
    return psAnswer;
}

} // extern "C"
