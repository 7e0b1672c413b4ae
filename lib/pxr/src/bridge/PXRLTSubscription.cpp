/* The bridge's stream subscription: the setEnableStreams message switches the video stream
 * and the delta pushes; a change of a push flag sends the cached tree once. Also the pushes. */
#include <string.h>

#include "PXRLT_Internal.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

int isTrue(const char *pcszValue)
{
    return pcszValue && (strcmp(pcszValue, "true") == 0 || strcmp(pcszValue, "1") == 0);
}

// An absent attribute keeps the flag; 1 when the flag changed.
int readFlag(PXRMsgElement *psRoot, const char *pcszName, int32_t *pbFlag)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psRoot, pcszName);
    if (!pcszValue)
        return 0;
    const int32_t bValue = isTrue(pcszValue);
    // The callbacks read the flags on the legacy library's threads.
    const int32_t bBefore = __atomic_exchange_n(pbFlag, bValue, __ATOMIC_ACQ_REL);
    return bValue != bBefore;
}

} // namespace

void PXRLT_push(PXR *psPxr, PXRMsg *psMsg)
{
    if (psMsg && !PXR_pushReceivedMessage(psPxr, psMsg))
        PXRMsgDestroy(psMsg);
}

void PXRLT_pushCopy(PXR *psPxr, SA_Mutex hMutex, PXRMsg *psCache)
{
    SA_LockMutex(hMutex);
    PXRMsg *psCopy = PXRMsgChild(psCache) ? PXRMsgCopy(psCache) : nullptr;
    SA_UnlockMutex(hMutex);
    PXRLT_push(psPxr, psCopy);
}

int PXRLT_applyEnableStreams(PXR *psPxr, PXRMsg *psMsg)
{
    PXRLT *psBridge = psPxr->psBridge;
    PXRMsgElement *psRoot = PXRMsgChild(psMsg);
    if (!psBridge || !psRoot)
        return 1;
    PXRMsgElement *psCameras = PXRMsgElementFirstChild(psRoot, "cameras");
    for (PXRMsgElement *psCamera = psCameras ? PXRMsgElementFirstChild(psCameras, "camera") : nullptr; psCamera;
         psCamera = PXRMsgElementNextChild(psCameras, psCamera, "camera")) {
        const char *pcszId = PXRMsgElementAttributeValue(psCamera, "id");
        if (pcszId && strcmp(pcszId, "0") == 0 && psBridge->psLightHandle)
            LumatrekSetStreamState(psBridge->psLightHandle,
                                   (uint32_t)isTrue(PXRMsgElementAttributeValue(psCamera, "enabled")));
    }
    const int bConfigChanged = readFlag(psRoot, "configChanges", &psBridge->bConfigChangesEnabled);
    const int bInfoChanged = readFlag(psRoot, "infoChanges", &psBridge->bInfoChangesEnabled);
    readFlag(psRoot, "traces", &psBridge->bTracesEnabled);
    if (bInfoChanged)
        PXRLT_pushCopy(psPxr, psBridge->hInfosMutex, psBridge->psCachedInfos);
    if (bConfigChanged)
        PXRLT_pushCopy(psPxr, psBridge->hConfigMutex, psBridge->psCachedConfig);
    return 1;
}

int PXRLT_sendAsynchronousMessage(PXR *psPxr, PXRMsg *psMsg)
{
    if (PXRMsgStringEqual(PXRMsgElementName(PXRMsgChild(psMsg)), "setEnableStreams"))
        return PXRLT_applyEnableStreams(psPxr, psMsg);
    PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_WARNING, "Unsupported asynchronous message");
    return 0;
}

} // extern "C"
