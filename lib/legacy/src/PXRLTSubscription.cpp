/* The bridge's stream subscription: the setEnableStreams message switches the video stream
 * and the delta pushes; a change of a push flag sends the cached tree once. */
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
    const int32_t bBefore = *pbFlag;
    *pbFlag = isTrue(pcszValue);
    return *pbFlag != bBefore;
}

void pushCopy(PXR *psPxr, SA_Mutex hMutex, PXRMsg *psCache)
{
    SA_LockMutex(hMutex);
    PXRMsg *psCopy = PXRMsgChild(psCache) ? PXRMsgCopy(psCache) : nullptr;
    SA_UnlockMutex(hMutex);
    if (psCopy && !PXR_pushReceivedMessage(psPxr, psCopy))
        PXRMsgDestroy(psCopy);
}

} // namespace

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
        pushCopy(psPxr, psBridge->hInfosMutex, psBridge->psCachedInfos);
    if (bConfigChanged)
        pushCopy(psPxr, psBridge->hConfigMutex, psBridge->psCachedConfig);
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
