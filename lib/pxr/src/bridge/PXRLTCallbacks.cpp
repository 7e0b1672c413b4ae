/* The bridge's connection and configuration callbacks: the light and command connections'
 * states reported to the PXR handle, legacy errors traced, the cached trees rebuilt and their
 * changes pushed, the recognition callbacks chosen by the sensor type. */
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

namespace {

const uint32_t kVersionRecord = 3;
const uint32_t kActivationRecord = 4;
const uint32_t kSignatureRecord = 9;
const uint32_t kVariableRecord = 18;

PXRLT *bridgeOf(void *pUser)
{
    return pUser ? static_cast<PXR *>(pUser)->psBridge : nullptr;
}

void setCacheRoot(SA_Mutex hMutex, PXRMsg *psCache, PXRMsgElement *psRoot)
{
    SA_LockMutex(hMutex);
    if (psRoot)
        PXRMsgSetChild(psCache, psRoot);
    else
        PXRMsgClear(psCache);
    SA_UnlockMutex(hMutex);
}

// Merges a rebuilt tree into its cache; pushes what changed when that is subscribed.
void mergeInto(PXR *psPxr, SA_Mutex hMutex, PXRMsg *psCache, PXRMsg *psBuilt, const int32_t *pbEnabled)
{
    PXRMsgElement *psDelta = nullptr;
    SA_LockMutex(hMutex);
    PXRMsgElement *psRoot = PXRMsgChild(psCache);
    const int bChanged = psRoot && PXRMsgElementMerge(psRoot, PXRMsgChild(psBuilt), &psDelta, 1);
    SA_UnlockMutex(hMutex);
    if (bChanged && psDelta && SA_AtomicLoad(pbEnabled) && PXRMsgSetChild(psBuilt, psDelta)) {
        PXRLT_push(psPxr, psBuilt);
        return;
    }
    if (psDelta)
        PXRMsgElementDestroy(psDelta);
    PXRMsgDestroy(psBuilt);
}

int waitingEndOfConfig(PXRLT *psBridge)
{
    SA_LockMutex(psBridge->hConfigMutex);
    const int bWaiting = psBridge->bWaitingEndOfConfig;
    SA_UnlockMutex(psBridge->hConfigMutex);
    return bWaiting;
}

// Both trees rebuilt from the light connection's cache, merged, their changes pushed.
void rebuildTrees(PXR *psPxr, LumatrekHandle *psLight)
{
    PXRLT *psBridge = psPxr->psBridge;
    // During a setConfig one rebuild is made when it ends.
    if (waitingEndOfConfig(psBridge) || PXRLT_deferTreeRebuild(psPxr))
        return;
    PXRMsg *psConfig = PXRMsgCreate();
    if (psConfig && PXRLT_fillConfigFrom(psLight, psConfig))
        mergeInto(psPxr, psBridge->hConfigMutex, psBridge->psCachedConfig, psConfig, &psBridge->bConfigChangesEnabled);
    else
        PXRMsgDestroy(psConfig);
    PXRMsg *psInfos = PXRMsgCreate();
    if (psInfos && PXRLT_fillInfosFrom(psLight, psInfos))
        mergeInto(psPxr, psBridge->hInfosMutex, psBridge->psCachedInfos, psInfos, &psBridge->bInfoChangesEnabled);
    else
        PXRMsgDestroy(psInfos);
}

// The root of a freshly built tree, detached from its message; a bare root when it fails.
PXRMsgElement *builtRoot(LumatrekHandle *psLight, int (*rFill)(LumatrekHandle *, PXRMsg *), const char *pcszBare)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = nullptr;
    if (psMsg && rFill(psLight, psMsg)) {
        psRoot = PXRMsgElementCopy(PXRMsgChild(psMsg));
    }
    PXRMsgDestroy(psMsg);
    return psRoot ? psRoot : PXRMsgElementCreate(pcszBare);
}

// The configuration is complete on this stream connection: 1 when the connection is to be reported.
int endOfConfiguration(PXRLT *psBridge)
{
    SA_LockMutex(psBridge->hConfigMutex);
    const int bWaiting = psBridge->bWaitingEndOfConfig;
    psBridge->bWaitingEndOfConfig = 0;
    // A block of a stream already gone (still queued for dispatch) counts for nothing.
    if (psBridge->bStreamUp)
        psBridge->bStreamConfigured = 1;
    SA_UnlockMutex(psBridge->hConfigMutex);
    return bWaiting;
}

void onLightReady(PXR *psPxr, LumatrekHandle *psLight, int bResume)
{
    PXRLT *psBridge = psPxr->psBridge;
    if (!bResume) {
        // Nothing is reported until the sensor has sent its whole configuration.
        setCacheRoot(psBridge->hInfosMutex, psBridge->psCachedInfos, PXRMsgElementCreate("infos"));
        setCacheRoot(psBridge->hConfigMutex, psBridge->psCachedConfig, PXRMsgElementCreate("config"));
        SA_LockMutex(psBridge->hConfigMutex);
        psBridge->bWaitingEndOfConfig = 1;
        SA_UnlockMutex(psBridge->hConfigMutex);
        return;
    }
    // Back from a sensor condition on the same stream: its configuration is all there already.
    setCacheRoot(psBridge->hInfosMutex, psBridge->psCachedInfos, builtRoot(psLight, &PXRLT_fillInfosFrom, "infos"));
    setCacheRoot(psBridge->hConfigMutex, psBridge->psCachedConfig,
                 builtRoot(psLight, &PXRLT_fillConfigFrom, "config"));
    PXR_setConnectionState(psPxr, 1, 1);
}

void onLightLost(PXR *psPxr)
{
    PXRLT *psBridge = psPxr->psBridge;
    setCacheRoot(psBridge->hInfosMutex, psBridge->psCachedInfos, nullptr);
    setCacheRoot(psBridge->hConfigMutex, psBridge->psCachedConfig, nullptr);
    PXR_setConnectionState(psPxr, 0, 0);
}

void traceState(PXR *psPxr, const char *pcszWhich, const LumatrekConnectionState *psState)
{
    PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_EVENT, "%s: %d (%d,%d,%d)", pcszWhich, (int)psState->u32Global,
              (int)psState->u32CommandSocket, (int)psState->u32StreamSocket, (int)psState->u32TimeSocket);
}

void pushClassification(PXR *psPxr, LumatrekHandle *psLight)
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate("config");
    PXRMsgElement *psCameras = PXRMsgElementCreate("cameras");
    PXRMsgElement *psCamera = PXRMsgElementCreate("camera");
    PXRMsgElement *psClassification = PXRMsgElementCreate("classification");
    PXRMsgElement *psData = PXRMsgElementCreate("data");
    PXRMsgElementSetAttribute(psCamera, "id", "0");
    PXRMsgElementAddChild(psClassification, psData);
    PXRMsgElementAddChild(psCamera, psClassification);
    PXRMsgElementAddChild(psCameras, psCamera);
    PXRMsgElementAddChild(psRoot, psCameras);
    if (!psMsg || !PXRMsgSetChild(psMsg, psRoot)) {
        PXRMsgElementDestroy(psRoot);
        PXRMsgDestroy(psMsg);
        return;
    }
    LT_lock(psLight, LT_MUTEX_CONFIG);
    if (psLight->asData[0].pu8Data)
        PXRMsgElementSetContentBinary(psData, psLight->asData[0].pu8Data, psLight->asData[0].u32Size);
    LT_unlock(psLight, LT_MUTEX_CONFIG);
    PXRLT_push(psPxr, psMsg);
}

} // namespace

extern "C" {

void PXRLT_connectionStateCallback(LumatrekHandle *psLight, LumatrekConnectionState *psState, void *pUser)
{
    PXRLT *psBridge = bridgeOf(pUser);
    PXR *psPxr = static_cast<PXR *>(pUser);
    if (!psBridge || !psState)
        return;
    traceState(psPxr, "Connection state", psState);
    SA_LockMutex(psBridge->hConfigMutex);
    const uint32_t u32Before = psBridge->u32LastGlobalState;
    psBridge->u32LastGlobalState = psState->u32Global;
    psBridge->bStreamUp = psState->u32StreamSocket == LT_SOCKET_CONNECTED;
    if (!psBridge->bStreamUp)
        psBridge->bStreamConfigured = 0;
    const int bResume = psBridge->bStreamConfigured;
    if (psState->u32Global != LUMATREK_STATE_READY)
        psBridge->bWaitingEndOfConfig = 0;
    SA_UnlockMutex(psBridge->hConfigMutex);
    if (psState->u32Global != LUMATREK_STATE_READY)
        onLightLost(psPxr);
    else if (u32Before != LUMATREK_STATE_READY)
        onLightReady(psPxr, psLight, bResume);
    // Ready before and after: only another socket changed, the configuration stands.
}

void PXRLT_lockConnectionStateCallback(LumatrekHandle *, LumatrekConnectionState *psState, void *pUser)
{
    PXRLT *psBridge = bridgeOf(pUser);
    PXR *psPxr = static_cast<PXR *>(pUser);
    if (!psBridge || !psState)
        return;
    traceState(psPxr, "Lock connection state", psState);
    if (!SA_AtomicLoad(&psBridge->bLockGranted))
        return;
    if (psState->u32Global != LUMATREK_STATE_READY) {
        PXR_setConnectionState(psPxr, 0, 0);
        return;
    }
    LumatrekConnectionState sLight;
    memset(&sLight, 0, sizeof(sLight));
    LumatrekGetState(psBridge->psLightHandle, &sLight);
    if (SA_AtomicLoad(&psBridge->bConfigChangesEnabled))
        PXRLT_pushCopy(psPxr, psBridge->hConfigMutex, psBridge->psCachedConfig);
    if (SA_AtomicLoad(&psBridge->bInfoChangesEnabled))
        PXRLT_pushCopy(psPxr, psBridge->hInfosMutex, psBridge->psCachedInfos);
    const int bReady = sLight.u32Global == LUMATREK_STATE_READY;
    PXR_setConnectionState(psPxr, bReady, bReady);
}

void PXRLT_errorCallback(LumatrekHandle *, LumatrekErrorInfo *psError, void *pUser)
{
    if (!psError)
        return;
    PXR_trace(static_cast<PXR *>(pUser), PXR_MODULE_LEGACY, psError->i32Critical ? PXR_LEVEL_ERROR : PXR_LEVEL_WARNING,
              "%s : %s", psError->pcszFunction ? psError->pcszFunction : "Unknown",
              psError->pcszText ? psError->pcszText : "");
}

void PXRLT_configCallback(LumatrekHandle *psLight, LumatrekConfigRecord *psRecord, void *pUser)
{
    PXRLT *psBridge = bridgeOf(pUser);
    PXR *psPxr = static_cast<PXR *>(pUser);
    if (!psBridge)
        return;
    int bReport = 0;
    if (psRecord && psRecord->u32Type == kVersionRecord && !PXRLT_firmwareAtLeast(psLight, 6, 1, 4)) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_WARNING,
                  "KGV firmwares < 6.1.4 do not work perfectly with the PXR, it is recommended to update them");
        bReport = endOfConfiguration(psBridge);
    } else if (psRecord && psRecord->u32Type == LUMATREK_CONFIG_END) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "EndOfConfig received");
        bReport = endOfConfiguration(psBridge);
    }
    rebuildTrees(psPxr, psLight);
    if (bReport)
        PXR_setConnectionState(psPxr, 1, 1);
}

void PXRLT_sensorTypeCallback(LumatrekHandle *psLight, LumatrekConfigRecord *psRecord, void *pUser)
{
    PXR *psPxr = static_cast<PXR *>(pUser);
    if (!bridgeOf(pUser))
        return;
    PXRLT_SensorFacts sFacts;
    PXRLT_readFacts(psLight, &sFacts);
    const uint32_t u32Type = psRecord ? psRecord->u32Type : 0;
    if (u32Type == kActivationRecord && sFacts.u32SensorType == LUMATREK_SENSOR_ANPR) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "ANPR Sensor");
        LumatrekAddRemoteRecognition(psLight, 0, &PXRLT_anprCallback, psPxr);
        LumatrekAddSpeedCallback(psLight, &PXRLT_speedCallback, psPxr);
    } else if (u32Type == kActivationRecord && sFacts.u32SensorType == LUMATREK_SENSOR_DGPR) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "DGPR Sensor");
        LumatrekAddRemoteDGRecognition(psLight, 0, &PXRLT_dgprCallback, psPxr);
    } else if (u32Type == kActivationRecord && sFacts.u32SensorType == LUMATREK_SENSOR_VIDEO_EXTERNAL) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "Classification Sensor : not supported anymore");
    } else if (u32Type == kSignatureRecord) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "Signature Sensor : not supported anymore");
    } else if (u32Type == kVariableRecord && sFacts.u32SensorType == LUMATREK_SENSOR_VIDEO_EXTERNAL) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "Received config for classification");
        pushClassification(psPxr, psLight);
    }
    PXRLT_configCallback(psLight, nullptr, pUser);
}

} // extern "C"
