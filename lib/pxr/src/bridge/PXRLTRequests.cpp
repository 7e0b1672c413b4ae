/* The bridge's request handlers other than the database and setConfig: the answers awaited on
 * the stream (image, triggers, current log), the cached trees, the commands, inputs and outputs,
 * and the serial port. */
#include <stdlib.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

const uint32_t kResetCountersCode = 0xC01D;
const uint32_t kTriggerPayloadSize = 20;
const uint32_t kSerialMax = 256;
const int64_t kDefaultSerialTimeoutMs = 500;

const char *const kTimedOut = "request timeouted";
const char *const kWaitFailed = "Unknown error (wait)";
const char *const kNoEvent = "Error : no event received";

LumatrekHandle *lightHandle(PXR *psPxr)
{
    return psPxr->psBridge->psLightHandle;
}

LumatrekHandle *commandHandle(PXR *psPxr)
{
    return psPxr->psBridge->psCommandHandle;
}

// The answer of a command: ok, or failed with the connection's last error.
int commandAnswer(PXRMsg *psAnswer, LumatrekHandle *psLegacy, int32_t i32Result)
{
    return i32Result == 0 ? PXRLT_setAnswer(psAnswer, 1, nullptr) : PXRLT_setErrorAnswer(psAnswer, psLegacy);
}

const char *waitText(int iWait)
{
    switch (iWait) {
    case PXRLT_WAIT_TIMEOUT:
        return kTimedOut;
    case PXRLT_WAIT_EMPTY:
        return kNoEvent;
    default:
        return kWaitFailed;
    }
}

// The answer of a wait that brought nothing.
int waitAnswer(PXRMsg *psAnswer, int iWait)
{
    return PXRLT_setAnswer(psAnswer, 0, waitText(iWait));
}

// ---- image ----

struct ImageRequest {
    int bDated;
    int64_t i64DateMs;
};

void sendImageRequest(PXR *psPxr, uint32_t u32RequestId, void *pContext)
{
    const ImageRequest *psRequest = static_cast<const ImageRequest *>(pContext);
    LumatrekHandle *psLight = lightHandle(psPxr);
    if (psRequest->bDated)
        LumatrekGetImageV2(psLight, PXRLT_epochMsToSensorTime(psLight, psRequest->i64DateMs), u32RequestId);
    else
        LumatrekGetImage(psLight, u32RequestId);
}

int imageAnswer(PXR *psPxr, PXRMsg *psAnswer, const LumatrekEvent *psEvent)
{
    switch (psEvent->uData.sAnswer.i32Status) {
    case 0:
        break;
    case 2:
        return PXRLT_setAnswer(psAnswer, 0, "too early");
    case 3:
        return PXRLT_setAnswer(psAnswer, 0, "too late");
    default:
        return PXRLT_setAnswer(psAnswer, 0, "Unknown error");
    }
    const LumatrekImage &sImage = psEvent->uData.sAnswer.sImage;
    PXRMsgElement *psImage = PXRMsgElementCreate("image");
    PXRMsgElement *psJpeg = PXRMsgElementCreate("jpeg");
    int bBuilt = psImage && psJpeg &&
                 PXRMsgElementSetAttributeInt64(psImage, "date",
                                                PXRLT_sensorTimeToEpochMs(lightHandle(psPxr), sImage.u32Time)) &&
                 (!sImage.pu8Jpeg || PXRMsgElementSetContentBinary(psJpeg, sImage.pu8Jpeg, sImage.u32JpegSize));
    if (bBuilt && PXRMsgElementAddChild(psImage, psJpeg))
        psJpeg = nullptr;
    else
        bBuilt = 0;
    if (psJpeg)
        PXRMsgElementDestroy(psJpeg);
    if (bBuilt && PXRMsgSetChild(psAnswer, psImage))
        return 1;
    if (psImage)
        PXRMsgElementDestroy(psImage);
    return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
}

// ---- triggers ----

struct TriggerRequest {
    uint32_t u32Code;
    uint8_t au8Payload[kTriggerPayloadSize];
};

void sendTrigger(PXR *psPxr, uint32_t, void *pContext)
{
    const TriggerRequest *psRequest = static_cast<const TriggerRequest *>(pContext);
    SendStreamCommandKGV(lightHandle(psPxr), psRequest->u32Code, psRequest->au8Payload, kTriggerPayloadSize);
}

int fillTriggerAnswer(PXRMsgElement *psTrigger, int iWait, const LumatrekEvent *psEvent)
{
    if (!psEvent)
        return PXRMsgElementSetAttribute(psTrigger, "status", "failed") &&
               PXRMsgElementSetAttribute(psTrigger, "errorText", waitText(iWait));
    PXRLT_TriggerAnswer sAnswer;
    PXRLT_readTriggerAnswer(psEvent, &sAnswer);
    return PXRMsgElementSetAttribute(psTrigger, "status", sAnswer.aszStatus) &&
           (!sAnswer.aszError[0] || PXRMsgElementSetAttribute(psTrigger, "errorText", sAnswer.aszError)) &&
           PXRMsgElementSetAttributeUInt(psTrigger, "triggerId", sAnswer.u32TriggerId);
}

int trigger(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer, uint32_t u32Code, int bMayForce)
{
    TriggerRequest sRequest;
    memset(&sRequest, 0, sizeof(sRequest));
    sRequest.u32Code = u32Code;
    PXRMsgElement *psRoot = PXRMsgChild(psRequest);
    uint32_t u32Forced = 0;
    const int bForced = bMayForce && PXRMsgElementAttributeValue(psRoot, "forceTriggerId");
    if (bForced) {
        u32Forced = (uint32_t)PXRLT_attributeNumber(psRoot, "forceTriggerId");
        LT_putU32(sRequest.au8Payload, 0, u32Forced);
        sRequest.au8Payload[4] = 1;
    }
    PXRMsgElement *psTrigger = PXRMsgElementCreate("triggerAnswer");
    if (!psTrigger || !PXRMsgSetChild(psAnswer, psTrigger)) {
        if (psTrigger)
            PXRMsgElementDestroy(psTrigger);
        return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
    }
    void *psRecord = nullptr;
    const int iWait = PXRLT_awaitAnswer(psPxr, PXRLT_ANSWER_TRIGGER, bForced ? &u32Forced : nullptr, &sendTrigger,
                                        &sRequest, &psRecord);
    LumatrekEvent *psEvent = static_cast<LumatrekEvent *>(psRecord);
    int bFilled = fillTriggerAnswer(psTrigger, iWait, psEvent);
    LumatrekReleaseEvent(&psEvent);
    if (iWait == PXRLT_WAIT_FAILED)
        return PXRLT_setAnswer(psAnswer, 0, kWaitFailed);
    return bFilled;
}

// ---- current log ----

void sendLogRequest(PXR *psPxr, uint32_t u32RequestId, void *)
{
    LumatrekGetCurrentLogInfoV2(lightHandle(psPxr), u32RequestId, 0);
}

// ---- cached trees ----

int cachedTree(PXRMsg *psAnswer, SA_Mutex hMutex, PXRMsg *psCache, const char *pcszRoot)
{
    SA_LockMutex(hMutex);
    PXRMsgElement *psRoot = PXRMsgChild(psCache);
    PXRMsgElement *psCopy = psRoot ? PXRMsgElementCopy(psRoot) : PXRMsgElementCreate(pcszRoot);
    SA_UnlockMutex(hMutex);
    if (psCopy && PXRMsgSetChild(psAnswer, psCopy))
        return 1;
    if (psCopy)
        PXRMsgElementDestroy(psCopy);
    return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
}

// ---- commands without values ----

typedef int32_t (*Command)(LumatrekHandle *psHandle);

int32_t resetCounters(LumatrekHandle *psHandle)
{
    return LumatrekSendCommandKGV(psHandle, kResetCountersCode, nullptr, 0, nullptr, 0);
}

int plainCommand(PXR *psPxr, PXRMsg *psAnswer, Command rCommand)
{
    LumatrekHandle *psCommand = commandHandle(psPxr);
    return commandAnswer(psAnswer, psCommand, rCommand(psCommand));
}

// ---- serial port ----

int serialData(PXRMsg *psAnswer, const uint8_t *pu8Data, uint32_t u32Size)
{
    PXRMsgElement *psRoot = PXRMsgElementCreate("dataRS232");
    PXRMsgElement *psData = PXRMsgElementCreate("data");
    int bBuilt = psRoot && psData && (u32Size == 0 || PXRMsgElementSetContentBinary(psData, pu8Data, u32Size));
    if (bBuilt && PXRMsgElementAddChild(psRoot, psData))
        psData = nullptr;
    else
        bBuilt = 0;
    if (psData)
        PXRMsgElementDestroy(psData);
    if (bBuilt && PXRMsgSetChild(psAnswer, psRoot))
        return 1;
    if (psRoot)
        PXRMsgElementDestroy(psRoot);
    return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
}

} // namespace

int64_t PXRLT_attributeNumber(PXRMsgElement *psElement, const char *pcszName)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psElement, pcszName);
    return pcszValue ? strtoll(pcszValue, nullptr, 10) : 0;
}

int PXRLT_attributeBool(PXRMsgElement *psElement, const char *pcszName)
{
    return PXRMsgStrToBool(PXRMsgElementAttributeValue(psElement, pcszName));
}

int PXRLT_sendMessage_getImage(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    PXRMsgElement *psRoot = PXRMsgChild(psRequest);
    if (PXRMsgElementAttributeValue(psRoot, "id") && PXRLT_attributeNumber(psRoot, "id") != 0)
        return PXRLT_setAnswer(psAnswer, 0, "No camera with this ID");
    ImageRequest sRequest = {PXRMsgElementAttributeValue(psRoot, "date") != nullptr,
                             PXRLT_attributeNumber(psRoot, "date")};
    void *psRecord = nullptr;
    const int iWait = PXRLT_awaitAnswer(psPxr, PXRLT_ANSWER_IMAGE, nullptr, &sendImageRequest, &sRequest, &psRecord);
    if (iWait != PXRLT_WAIT_ANSWERED)
        return waitAnswer(psAnswer, iWait);
    LumatrekEvent *psEvent = static_cast<LumatrekEvent *>(psRecord);
    const int iResult = imageAnswer(psPxr, psAnswer, psEvent);
    LumatrekReleaseEvent(&psEvent);
    return iResult;
}

int PXRLT_sendMessage_triggerOn(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    return trigger(psPxr, psRequest, psAnswer, LT_FOURCC('T', 'R', 'G', 'N'), 1);
}

int PXRLT_sendMessage_triggerOff(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    return trigger(psPxr, psRequest, psAnswer, LT_FOURCC('T', 'R', 'G', 'F'), 0);
}

int PXRLT_sendMessage_getCurrentLog(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    void *psRecord = nullptr;
    const int iWait = PXRLT_awaitAnswer(psPxr, PXRLT_ANSWER_LOG, nullptr, &sendLogRequest, nullptr, &psRecord);
    if (iWait != PXRLT_WAIT_ANSWERED)
        return waitAnswer(psAnswer, iWait);
    // The answer holds the pictures without copy: the record is released with it.
    return PXRLT_fillAnprMsg(psAnswer, static_cast<LumatrekRecognition *>(psRecord), psPxr);
}

int PXRLT_sendMessage_getInfos(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    PXRLT *psBridge = psPxr->psBridge;
    return cachedTree(psAnswer, psBridge->hInfosMutex, psBridge->psCachedInfos, "infos");
}

int PXRLT_sendMessage_getConfig(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    PXRLT *psBridge = psPxr->psBridge;
    return cachedTree(psAnswer, psBridge->hConfigMutex, psBridge->psCachedConfig, "config");
}

int PXRLT_sendMessage_reboot(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    return plainCommand(psPxr, psAnswer, &LumatrekReboot);
}

int PXRLT_sendMessage_openBarrier(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    return plainCommand(psPxr, psAnswer, &LumatrekSetOpenBarrier);
}

int PXRLT_sendMessage_eraseDatabase(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    return plainCommand(psPxr, psAnswer, &LumatrekEraseDataBase);
}

int PXRLT_sendMessage_resetCounters(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    return plainCommand(psPxr, psAnswer, &resetCounters);
}

int PXRLT_sendMessage_unlockRS232(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    return plainCommand(psPxr, psAnswer, &LumatrekUnlockRS232);
}

int PXRLT_sendMessage_setIOState(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = commandHandle(psPxr);
    const uint32_t u32State = (uint32_t)PXRLT_attributeBool(PXRMsgChild(psRequest), "state");
    return commandAnswer(psAnswer, psCommand, LumatrekSetOutput(psCommand, u32State));
}

int PXRLT_sendMessage_getIOState(PXR *psPxr, PXRMsg *, PXRMsg *psAnswer)
{
    int32_t i32State = 0;
    if (LumatrekGetIoState(lightHandle(psPxr), &i32State) != 0)
        return PXRLT_setErrorAnswer(psAnswer, lightHandle(psPxr));
    PXRMsgElement *psRoot = PXRMsgElementCreate("ioState");
    if (psRoot && PXRMsgElementSetAttribute(psRoot, "state", i32State ? "true" : "false") &&
        PXRMsgSetChild(psAnswer, psRoot))
        return 1;
    if (psRoot)
        PXRMsgElementDestroy(psRoot);
    return PXRLT_setAnswer(psAnswer, 0, "Out of memory");
}

int PXRLT_sendMessage_lockRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = commandHandle(psPxr);
    // Without a number the first port is meant; out-of-range numbers are the library's to refuse.
    const int64_t i64Number = PXRLT_attributeNumber(PXRMsgChild(psRequest), "number");
    const uint32_t u32Number = i64Number < 0 || i64Number > 0xFFFFFFFF ? 0xFFFFFFFFu : (uint32_t)i64Number;
    return commandAnswer(psAnswer, psCommand, LumatrekSwitchAndLockRS232(psCommand, u32Number));
}

int PXRLT_sendMessage_writeRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = commandHandle(psPxr);
    PXRMsgElement *psData = PXRMsgElementFirstChild(PXRMsgChild(psRequest), "data");
    const uint32_t u32Size = PXRMsgElementContentSize(psData);
    if (u32Size > kSerialMax)
        return PXRLT_setAnswer(psAnswer, 0, "Data too big, max size is 256");
    const uint8_t *pu8Data = static_cast<const uint8_t *>(PXRMsgElementContent(psData));
    return commandAnswer(psAnswer, psCommand, LumatrekWriteRS232(psCommand, pu8Data, u32Size));
}

int PXRLT_sendMessage_readRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer)
{
    LumatrekHandle *psCommand = commandHandle(psPxr);
    PXRMsgElement *psRoot = PXRMsgChild(psRequest);
    const int bSized = PXRMsgElementAttributeValue(psRoot, "readSize") != nullptr;
    const int64_t i64Size = bSized ? PXRLT_attributeNumber(psRoot, "readSize") : kSerialMax;
    const int bTimed = PXRMsgElementAttributeValue(psRoot, "timeout_ms") != nullptr;
    const int64_t i64Timeout = bTimed ? PXRLT_attributeNumber(psRoot, "timeout_ms") : kDefaultSerialTimeoutMs;
    // The library refuses sizes over its buffer; a negative one must not wrap into a small one.
    uint32_t u32Size = i64Size < 0 || i64Size > 0xFFFFFFFF ? 0xFFFFFFFFu : (uint32_t)i64Size;
    const uint32_t u32Timeout = i64Timeout < 0 || i64Timeout > 0xFFFFFFFF ? 0 : (uint32_t)i64Timeout;
    uint8_t au8Buffer[kSerialMax];
    int32_t i32Result;
    if (PXRMsgElementAttributeValue(psRoot, "delimiter")) {
        const uint8_t u8Delimiter = (uint8_t)PXRLT_attributeNumber(psRoot, "delimiter");
        if (u32Size > kSerialMax)
            u32Size = kSerialMax;
        i32Result = LumatrekReadRS232Terminator(psCommand, au8Buffer, u8Delimiter, u32Timeout, &u32Size);
    } else {
        i32Result = LumatrekReadRS232Size(psCommand, au8Buffer, u32Size, u32Timeout);
    }
    if (i32Result != 0)
        return PXRLT_setErrorAnswer(psAnswer, psCommand);
    return serialData(psAnswer, au8Buffer, u32Size < kSerialMax ? u32Size : kSerialMax);
}

} // extern "C"
