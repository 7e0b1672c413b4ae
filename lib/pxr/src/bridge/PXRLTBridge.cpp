/* The bridge record of a PXR handle that serves a legacy sensor: its creation with the light
 * connection, and its release with both legacy connections. */
#include <stdlib.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

const uint32_t kFirstRequestId = 11;

void destroyMutex(SA_Mutex *phMutex)
{
    if (*phMutex)
        SA_DestroyMutex(phMutex);
    *phMutex = nullptr;
}

void destroyCache(SA_Mutex *phMutex, PXRMsg **ppsCache)
{
    if (*ppsCache)
        PXRMsgDestroy(*ppsCache);
    *ppsCache = nullptr;
    destroyMutex(phMutex);
}

// The light connection, kept in the record before its callbacks can report anything: a request
// let through by a report must find it. None when the address cannot form its text or the
// library refuses.
void openLightConnection(PXR *psPxr)
{
    char aszText[128];
    if (!PXRLT_lightConnectionText(aszText, sizeof(aszText), psPxr->pszServer, psPxr->u16Port, psPxr->u16TimePort)) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "Light connection: address too long");
        return;
    }
    PXR_trace(psPxr, PXR_MODULE_LEGACY, 5, "Light connection to %s", aszText);
    LumatrekHandle *psLight = LumatrekCreateLightStream(aszText, 1, 1, &PXRLT_connectionStateCallback, psPxr,
                                                        &PXRLT_errorCallback, psPxr);
    if (!psLight) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "Light connection to %s could not be made", aszText);
        return;
    }
    // No video until the subscription asks for it.
    LumatrekSetStreamState(psLight, 0);
    psPxr->psBridge->psLightHandle = psLight;
    PXRLT_installCallbacks(psPxr, psLight);
}

// Destroying a handle leaves its callbacks installed: none may run on a record being freed.
void closeLightConnection(LumatrekHandle **ppsLight)
{
    if (!*ppsLight)
        return;
    LumatrekCancelRemoteRecognition(*ppsLight);
    LumatrekCancelRemoteDGRecognition(*ppsLight);
    LumatrekCancelSpeedCallback(*ppsLight);
    LumatrekCancelIoCallback(*ppsLight);
    LumatrekCancelXpegCallback(*ppsLight);
    LumatrekCancelConfigCallback(*ppsLight);
    LumatrekCancelEventCallback(*ppsLight);
    LumatrekDestroy(ppsLight);
}

} // namespace

void PXRLT_installCallbacks(PXR *psPxr, LumatrekHandle *psLight)
{
    LumatrekAddEventCallback(psLight, &PXRLT_eventCallback, psPxr);
    LumatrekAddXpegCallback(psLight, &PXRLT_xpegCallback, psPxr);
    // The stream runs from the handle's creation: its whole configuration may be in before the
    // callbacks are. Installing them replays the blocks but not the end mark, which is handed
    // over here, under the configuration mutex so that it comes once.
    LT_lock(psLight, LT_MUTEX_CONFIG);
    LumatrekAddConfigCallback(psLight, &PXRLT_configCallback, psPxr);
    LumatrekAddConfigCallbackEx(psLight, &PXRLT_sensorTypeCallback, psPxr);
    if (psLight->au32Received[1] & LT_RECEIVED_END_OF_CONFIG) {
        LumatrekConfigRecord sEnd;
        memset(&sEnd, 0, sizeof(sEnd));
        sEnd.u32Type = LUMATREK_CONFIG_END;
        PXRLT_configCallback(psLight, &sEnd, psPxr);
    }
    LT_unlock(psLight, LT_MUTEX_CONFIG);
    LumatrekAddIoCallback(psLight, &PXRLT_ioStateCallback, psPxr);
}

int PXRLT_create(PXR *psPxr)
{
    if (!psPxr)
        return 1;
    PXRLT *psBridge = static_cast<PXRLT *>(calloc(1, sizeof(PXRLT)));
    if (!psBridge) {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_ERROR, "Bridge: out of memory");
        return 1;
    }
    psPxr->psBridge = psBridge;
    SA_CreateMutex(&psBridge->hEventMutex);
    SA_CreateEvent(&psBridge->hAnswerEvent);
    psBridge->u32RequestId = kFirstRequestId;
    SA_CreateMutex(&psBridge->hLockMutex);
    SA_CreateMutex(&psBridge->hInfosMutex);
    psBridge->psCachedInfos = PXRMsgCreate();
    SA_CreateMutex(&psBridge->hConfigMutex);
    psBridge->psCachedConfig = PXRMsgCreate();
    openLightConnection(psPxr);
    // What was subscribed before the sensor was found to be a legacy one.
    if (psPxr->hMutexSubscription) {
        SA_LockMutex(psPxr->hMutexSubscription);
        PXRLT_applyEnableStreams(psPxr, psPxr->psSubscription);
        SA_UnlockMutex(psPxr->hMutexSubscription);
    }
    return 1;
}

int PXRLT_release(PXR *psPxr)
{
    if (!psPxr || !psPxr->psBridge)
        return 1;
    PXRLT *psBridge = psPxr->psBridge;
    PXRLT_closeCommandConnection(psPxr);
    closeLightConnection(&psBridge->psLightHandle);
    LumatrekRecognition *psRecognition = static_cast<LumatrekRecognition *>(psBridge->psReceivedRecognition);
    LumatrekReleaseRecognition(&psRecognition);
    LumatrekEvent *psEvent = static_cast<LumatrekEvent *>(psBridge->psReceivedEvent);
    LumatrekReleaseEvent(&psEvent);
    destroyMutex(&psBridge->hEventMutex);
    if (psBridge->hAnswerEvent)
        SA_DestroyEvent(&psBridge->hAnswerEvent);
    destroyMutex(&psBridge->hLockMutex);
    destroyCache(&psBridge->hInfosMutex, &psBridge->psCachedInfos);
    destroyCache(&psBridge->hConfigMutex, &psBridge->psCachedConfig);
    free(psBridge);
    psPxr->psBridge = nullptr;
    return 1;
}

} // extern "C"
