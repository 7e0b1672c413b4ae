/* The wait of a request for its answer on the stream, and the hand-over through which the
 * stream callbacks give it that answer; anything late, doubled or not awaited is released. */
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

extern "C" {

namespace {

// Trigger answer fields within the event's bytes (see STREAM-NOTES.md).
const size_t kTriggerStatusAt = 4;
const size_t kTriggerStatusSize = 14;
const size_t kTriggerErrorAt = 18;
const size_t kTriggerErrorSize = 256;

// Called with eventMutex held.
void emptySlots(PXRLT *psBridge)
{
    LumatrekEvent *psEvent = static_cast<LumatrekEvent *>(psBridge->psReceivedEvent);
    LumatrekRecognition *psRecord = static_cast<LumatrekRecognition *>(psBridge->psReceivedRecognition);
    psBridge->psReceivedEvent = nullptr;
    psBridge->psReceivedRecognition = nullptr;
    LumatrekReleaseEvent(&psEvent);
    LumatrekReleaseRecognition(&psRecord);
}

// Called with eventMutex held: the answer is stored and the waiter woken while the mutex still
// holds, so that a waiter that has given up can never be woken by it.
int offer(PXRLT *psBridge, PXRLT_AnswerKind eKind, void **ppsSlot, void *psRecord)
{
    if (!psBridge->bWaiting || psBridge->i32AwaitedKind != eKind || *ppsSlot)
        return 0;
    *ppsSlot = psRecord;
    SA_SetEvent(psBridge->hAnswerEvent);
    return 1;
}

int triggerAwaited(PXRLT *psBridge, const LumatrekEvent *psEvent)
{
    if (!psBridge->bTriggerIdForced)
        return 1;
    PXRLT_TriggerAnswer sAnswer;
    PXRLT_readTriggerAnswer(psEvent, &sAnswer);
    return sAnswer.u32TriggerId == psBridge->u32ForcedTriggerId;
}

void copyField(char *pszText, size_t szSize, const uint8_t *pu8Field, size_t szField)
{
    size_t szLength = 0;
    while (szLength < szField && szLength + 1 < szSize && pu8Field[szLength])
        szLength++;
    memcpy(pszText, pu8Field, szLength);
    pszText[szLength] = '\0';
}

} // namespace

void PXRLT_readTriggerAnswer(const LumatrekEvent *psEvent, PXRLT_TriggerAnswer *psAnswer)
{
    const uint8_t *pu8Bytes = psEvent->uData.au8Trigger;
    psAnswer->u32TriggerId = LT_getU32(pu8Bytes, 0);
    copyField(psAnswer->aszStatus, sizeof(psAnswer->aszStatus), pu8Bytes + kTriggerStatusAt, kTriggerStatusSize);
    copyField(psAnswer->aszError, sizeof(psAnswer->aszError), pu8Bytes + kTriggerErrorAt, kTriggerErrorSize);
}

int PXRLT_awaitAnswer(PXR *psPxr, PXRLT_AnswerKind eKind, const uint32_t *pu32ForcedTriggerId,
                      PXRLT_SendFunction rSend, void *pContext, void **ppsRecord)
{
    PXRLT *psBridge = psPxr->psBridge;
    *ppsRecord = nullptr;
    SA_LockMutex(psBridge->hEventMutex);
    emptySlots(psBridge);
    const uint32_t u32RequestId = psBridge->u32RequestId;
    psBridge->bWaiting = 1;
    psBridge->i32AwaitedKind = eKind;
    psBridge->bTriggerIdForced = pu32ForcedTriggerId != nullptr;
    psBridge->u32ForcedTriggerId = pu32ForcedTriggerId ? *pu32ForcedTriggerId : 0;
    SA_ClearEvent(psBridge->hAnswerEvent);
    SA_UnlockMutex(psBridge->hEventMutex);

    // A request that cannot be sent ends in the time-out.
    rSend(psPxr, u32RequestId, pContext);
    const int iWait = SA_WaitEventTimeout(psBridge->hAnswerEvent, psPxr->u32RequestTimeoutMs);

    SA_LockMutex(psBridge->hEventMutex);
    psBridge->bWaiting = 0;
    psBridge->i32AwaitedKind = PXRLT_ANSWER_NONE;
    // Every request has its own number, so that a late answer is never taken for the next one's.
    psBridge->u32RequestId = u32RequestId + 1;
    void **ppsSlot = eKind == PXRLT_ANSWER_LOG ? &psBridge->psReceivedRecognition : &psBridge->psReceivedEvent;
    *ppsRecord = *ppsSlot;
    *ppsSlot = nullptr;
    SA_ClearEvent(psBridge->hAnswerEvent);
    SA_UnlockMutex(psBridge->hEventMutex);
    if (*ppsRecord)
        return PXRLT_WAIT_ANSWERED;
    if (iWait == SA_OK)
        return PXRLT_WAIT_EMPTY;
    return iWait == SA_TIMEOUT ? PXRLT_WAIT_TIMEOUT : PXRLT_WAIT_FAILED;
}

void PXRLT_handOverEvent(PXR *psPxr, LumatrekEvent *psEvent)
{
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psEvent)
        return;
    int bKept = 0;
    if (psBridge) {
        SA_LockMutex(psBridge->hEventMutex);
        if (psEvent->u32Type == LUMATREK_EVENT_IMAGE_ANSWER &&
            psEvent->uData.sAnswer.u32Request == psBridge->u32RequestId)
            bKept = offer(psBridge, PXRLT_ANSWER_IMAGE, &psBridge->psReceivedEvent, psEvent);
        else if (psEvent->u32Type == LUMATREK_EVENT_TRIGGER_ANSWER && triggerAwaited(psBridge, psEvent))
            bKept = offer(psBridge, PXRLT_ANSWER_TRIGGER, &psBridge->psReceivedEvent, psEvent);
        SA_UnlockMutex(psBridge->hEventMutex);
    }
    if (!bKept)
        LumatrekReleaseEvent(&psEvent);
}

void PXRLT_handOverRecognition(PXR *psPxr, LumatrekRecognition *psRecord)
{
    PXRLT *psBridge = psPxr ? psPxr->psBridge : nullptr;
    if (!psRecord)
        return;
    int bKept = 0;
    if (psBridge) {
        SA_LockMutex(psBridge->hEventMutex);
        if (psRecord->u32RequestNumber == psBridge->u32RequestId)
            bKept = offer(psBridge, PXRLT_ANSWER_LOG, &psBridge->psReceivedRecognition, psRecord);
        SA_UnlockMutex(psBridge->hEventMutex);
    }
    if (!bKept)
        LumatrekReleaseRecognition(&psRecord);
}

} // extern "C"
