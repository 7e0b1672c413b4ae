/* The messages the bridge pushes for a sensor's live data: recognitions (anpr, triggerResult,
 * dgpr), speed, video frames and input changes; and the answers handed to a waiting request. */
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

namespace {

const int32_t kFirstAnswerNumber = 10;

// A new message whose root is the named element; null without memory.
PXRMsg *newMessage(const char *pcszRoot, PXRMsgElement **ppsRoot)
{
    PXRMsg *psMsg = PXRMsgCreate();
    *ppsRoot = PXRMsgElementCreate(pcszRoot);
    if (psMsg && *ppsRoot && PXRMsgSetChild(psMsg, *ppsRoot))
        return psMsg;
    PXRMsgElementDestroy(*ppsRoot);
    PXRMsgDestroy(psMsg);
    *ppsRoot = nullptr;
    return nullptr;
}

void setDate(PXRMsgElement *psElement, const char *pcszName, uint32_t u32Tick)
{
    PXRMsgElementSetAttributeInt64(psElement, pcszName, PXRLT_sensorTimeToEpochMs(nullptr, u32Tick));
}

void setPlateFrom(PXRMsgElement *psElement, uint32_t u32Source)
{
    if (u32Source == 1)
        PXRMsgElementSetAttribute(psElement, "plateFrom", "slave");
    else if (u32Source == 2)
        PXRMsgElementSetAttribute(psElement, "plateFrom", "master");
}

const char *resultName(uint32_t u32Type, int bDangerousGoods)
{
    switch (u32Type) {
    case LUMATREK_RESULT_DECISION: return "decision";
    case LUMATREK_RESULT_PASSAGE_BEGIN: return "new";
    case LUMATREK_RESULT_PASSAGE_END: return "end";
    case LUMATREK_RESULT_NO_PLATE: return "noPlate";
    case LUMATREK_RESULT_TRIGGER_NO_PLATE: return bDangerousGoods ? nullptr : "noPlate";
    case LUMATREK_RESULT_TRIGGER_DECISION: return bDangerousGoods ? nullptr : "decision";
    default: return nullptr;
    }
}

void fillDecision(PXRMsgElement *psResult, const LumatrekRecognition *psRecord, int bDangerousGoods)
{
    PXRMsgElementSetAttribute(psResult, "plate", psRecord->aszPlate);
    PXRMsgElementSetAttributeUInt(psResult, "reliability", psRecord->u32Reliability);
    if (!bDangerousGoods)
        PXRMsgElementSetAttribute(psResult, "context", psRecord->aszContext);
    PXRMsgElementSetAttributeUInt(psResult, "plateOccurences", psRecord->u32Occurrences);
    if (bDangerousGoods)
        return;
    // The contrast word carries the first contrast byte, then the second.
    const int32_t i32First = (int32_t)(psRecord->u32Contrast & 0xFFu);
    const int32_t i32Second = (int32_t)((psRecord->u32Contrast >> 8) & 0xFFu);
    PXRMsgElementSetAttributeInt(psResult, "contrast", i32Second - i32First);
    if (psRecord->u32DataBase)
        PXRLT_addChild(psResult, "database");
}

void fillPlacement(PXRMsgElement *psResult, const LumatrekRecognition *psRecord)
{
    if (psRecord->u32Direction == 1)
        PXRMsgElementSetAttribute(psResult, "direction", "front");
    else if (psRecord->u32Direction == 2)
        PXRMsgElementSetAttribute(psResult, "direction", "rear");
    if (psRecord->i32BoxWidth == 0 || psRecord->i32BoxHeight == 0)
        return;
    PXRMsgElementSetAttributeInt(psResult, "x", psRecord->i32BoxX);
    PXRMsgElementSetAttributeInt(psResult, "y", psRecord->i32BoxY);
    PXRMsgElementSetAttributeInt(psResult, "width", psRecord->i32BoxWidth);
    PXRMsgElementSetAttributeInt(psResult, "height", psRecord->i32BoxHeight);
    PXRMsgElementSetAttributeFloat(psResult, "sinus", psRecord->fSinus);
}

void keepRecord(void *, void *) {}

// A picture as a child's content without copy; 1 when the message now holds it.
int attachPicture(PXRMsgElement *psParent, const char *pcszName, uint8_t *pu8Jpeg, uint32_t u32Size,
                  PXRMsgContentFreeCallback rFree, LumatrekRecognition *psRecord)
{
    if (!pu8Jpeg || u32Size == 0)
        return 0;
    PXRMsgElement *psChild = PXRLT_addChild(psParent, pcszName);
    return psChild && PXRMsgElementSetContentBinaryNoCopy(psChild, pu8Jpeg, u32Size, rFree, psRecord);
}

// The record goes with the first picture attached; without any it is released here.
void attachPictures(PXRMsgElement *psResult, LumatrekRecognition *psRecord)
{
    int bOwned = psResult && attachPicture(psResult, "jpeg", psRecord->sImage.pu8Jpeg, psRecord->sImage.u32JpegSize,
                                           &PXRLT_releaseRecognition, psRecord);
    const PXRMsgContentFreeCallback rContextFree = bOwned ? &keepRecord : &PXRLT_releaseRecognition;
    bOwned |= psResult && attachPicture(psResult, "contextJpeg", psRecord->sContextImage.pu8Jpeg,
                                        psRecord->sContextImage.u32JpegSize, rContextFree, psRecord);
    if (!bOwned)
        LumatrekReleaseRecognition(&psRecord);
}

int fillRecognition(PXRMsg *psMsg, LumatrekRecognition *psRecord, int bDangerousGoods)
{
    const uint32_t u32Type = psRecord->u32ResultType;
    const int bTrigger = !bDangerousGoods && (u32Type == LUMATREK_RESULT_TRIGGER_NO_PLATE ||
                                              u32Type == LUMATREK_RESULT_TRIGGER_DECISION);
    PXRMsgElement *psRoot = PXRLT_newRoot(psMsg, bDangerousGoods ? "dgpr" : bTrigger ? "triggerResult" : "anpr");
    if (!psRoot) {
        LumatrekReleaseRecognition(&psRecord);
        return 0;
    }
    setDate(psRoot, "date", psRecord->u32Time);
    PXRMsgElementSetAttributeUInt(psRoot, "session", psRecord->u32Session);
    if (bTrigger) {
        PXRMsgElementSetAttributeUInt(psRoot, "triggerId", psRecord->u32TriggerId);
        setDate(psRoot, "triggerOnTimestamp", psRecord->u32TriggerOnTime);
        if (psRecord->u32TriggerOffTime > psRecord->u32TriggerOnTime)
            setDate(psRoot, "triggerOffTimestamp", psRecord->u32TriggerOffTime);
        else
            PXRMsgElementSetAttribute(psRoot, "triggerOffTimestamp", "0");
    }
    setPlateFrom(psRoot, psRecord->u32PlateSource);
    const char *pcszResult = resultName(u32Type, bDangerousGoods);
    PXRMsgElement *psResult = pcszResult ? PXRLT_addChild(psRoot, pcszResult) : nullptr;
    if (psResult && (u32Type == LUMATREK_RESULT_DECISION || u32Type == LUMATREK_RESULT_TRIGGER_DECISION))
        fillDecision(psResult, psRecord, bDangerousGoods);
    if (psResult)
        fillPlacement(psResult, psRecord);
    attachPictures(psResult, psRecord);
    return 1;
}

void recognition(PXR *psPxr, LumatrekRecognition *psRecord, int bDangerousGoods)
{
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psBridge || !psRecord) {
        LumatrekReleaseRecognition(&psRecord);
        return;
    }
    if ((int32_t)psRecord->u32RequestNumber >= kFirstAnswerNumber) {
        PXRLT_handOverRecognition(psPxr, psRecord);
        return;
    }
    if (!bDangerousGoods) {
        __atomic_store_n(&psBridge->u32LastRecognitionTime, psRecord->u32Time, __ATOMIC_RELEASE);
        SA_AtomicStore(&psBridge->bRecognitionPushed, 1);
    }
    PXRMsg *psMsg = PXRMsgCreate();
    if (!psMsg) {
        LumatrekReleaseRecognition(&psRecord);
        return;
    }
    if (bDangerousGoods)
        PXRLT_fillDgprMsg(psMsg, psRecord, psPxr);
    else
        PXRLT_fillAnprMsg(psMsg, psRecord, psPxr);
    PXRLT_push(psPxr, psMsg);
}

} // namespace

extern "C" {

void PXRLT_releaseRecognition(void *, void *pRecord)
{
    LumatrekRecognition *psRecord = static_cast<LumatrekRecognition *>(pRecord);
    LumatrekReleaseRecognition(&psRecord);
}

int PXRLT_fillAnprMsg(PXRMsg *psMsg, LumatrekRecognition *psRecord, PXR *)
{
    return fillRecognition(psMsg, psRecord, 0);
}

int PXRLT_fillDgprMsg(PXRMsg *psMsg, LumatrekRecognition *psRecord, PXR *)
{
    return fillRecognition(psMsg, psRecord, 1);
}

void PXRLT_anprCallback(LumatrekHandle *, LumatrekRecognition *psRecord, void *pUser)
{
    recognition(static_cast<PXR *>(pUser), psRecord, 0);
}

void PXRLT_dgprCallback(LumatrekHandle *, LumatrekRecognition *psRecord, void *pUser)
{
    recognition(static_cast<PXR *>(pUser), psRecord, 1);
}

void PXRLT_speedCallback(LumatrekHandle *, LumatrekSpeed *psSpeed, void *pUser)
{
    PXR *psPxr = static_cast<PXR *>(pUser);
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psBridge || !psSpeed)
        return;
    // Before any recognition the speed is dated from its own first sample, not from tick 0.
    const uint32_t u32Time = SA_AtomicLoad(&psBridge->bRecognitionPushed)
                                 ? __atomic_load_n(&psBridge->u32LastRecognitionTime, __ATOMIC_ACQUIRE)
                                 : psSpeed->u32FirstSampleTime;
    PXRMsgElement *psRoot = nullptr;
    PXRMsg *psMsg = newMessage("anpr", &psRoot);
    if (!psMsg)
        return;
    setDate(psRoot, "date", u32Time);
    PXRMsgElementSetAttributeUInt(psRoot, "session", psSpeed->u32Session);
    PXRMsgElement *psMeasure = PXRLT_addChild(psRoot, "speed");
    PXRMsgElementSetAttributeUInt(psMeasure, "instantSpeed_km_h", psSpeed->u32SpeedKmh);
    PXRMsgElementSetAttributeUInt(psMeasure, "interdistance_ms", psSpeed->u32InterDistanceMs);
    setPlateFrom(psMeasure, psSpeed->u32PlateSource);
    PXRLT_push(psPxr, psMsg);
}

void PXRLT_xpegCallback(LumatrekHandle *, uint32_t u32Time, uint32_t, uint32_t, uint32_t u32Codec,
                        uint32_t u32KeyFrame, uint32_t u32Size, const uint8_t *pu8Frame, void *pUser)
{
    PXR *psPxr = static_cast<PXR *>(pUser);
    PXRMsgElement *psRoot = nullptr;
    PXRMsg *psMsg = newMessage("video", &psRoot);
    if (!psMsg)
        return;
    setDate(psRoot, "date", u32Time);
    PXRMsgElementSetAttribute(psRoot, "cameraId", "0");
    if (u32Codec == LT_FOURCC('J', 'P', 'E', 'G')) {
        PXRMsgElementSetAttribute(psRoot, "codec", "jpeg");
    } else if (u32Codec == LT_FOURCC('M', 'P', 'E', 'G')) {
        PXRMsgElementSetAttribute(psRoot, "codec", "mpeg");
        PXRMsgElementSetAttributeUInt(psRoot, "key", u32KeyFrame);
    } else {
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_WARNING, "xpegCallback : Unknown codec type");
    }
    PXRMsgElement *psData = PXRLT_addChild(psRoot, "data");
    if (psData && pu8Frame && u32Size)
        PXRMsgElementSetContentBinary(psData, pu8Frame, u32Size);
    PXRLT_push(psPxr, psMsg);
}

void PXRLT_ioStateCallback(LumatrekHandle *, int32_t i32State, uint32_t u32Time, void *pUser)
{
    PXRMsgElement *psRoot = nullptr;
    PXRMsg *psMsg = newMessage("ioState", &psRoot);
    if (!psMsg)
        return;
    setDate(psRoot, "date", u32Time);
    PXRMsgElementSetAttribute(psRoot, "state", i32State ? "true" : "false");
    PXRLT_push(static_cast<PXR *>(pUser), psMsg);
}

void PXRLT_eventCallback(LumatrekHandle *, LumatrekEvent *psEvent, void *pUser)
{
    PXR *psPxr = static_cast<PXR *>(pUser);
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psBridge || !psEvent) {
        LumatrekReleaseEvent(&psEvent);
        return;
    }
    PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "PXRLT_eventCallback");
    if (psEvent->u32Type == LUMATREK_EVENT_IMAGE_ANSWER) {
        SA_LockMutex(psBridge->hEventMutex);
        const uint32_t u32Awaited = psBridge->u32RequestId;
        SA_UnlockMutex(psBridge->hEventMutex);
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "LUMATREK_EVENT_GETIMAGEV2 %d %d",
                  (int)psEvent->uData.sAnswer.u32Request, (int)u32Awaited);
    } else if (psEvent->u32Type == LUMATREK_EVENT_TRIGGER_ANSWER)
        PXR_trace(psPxr, PXR_MODULE_LEGACY, PXR_LEVEL_DEBUG, "LUMATREK_EVENT_TRIGGER_ANSWER");
    PXRLT_handOverEvent(psPxr, psEvent);
}

} // extern "C"
