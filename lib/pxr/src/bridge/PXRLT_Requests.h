/* The bridge's request handlers, the wait for an answer that comes back on the stream, and the
 * hand-over through which the stream callbacks give such answers to the waiting request. */
#ifndef PXRLT_REQUESTS_H
#define PXRLT_REQUESTS_H

#include "PXRLT_Internal.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- answers from the stream ---- */

typedef enum PXRLT_AnswerKind {
    PXRLT_ANSWER_NONE = 0,
    PXRLT_ANSWER_IMAGE = 1,   /* an image event carrying the request number */
    PXRLT_ANSWER_TRIGGER = 2, /* a trigger-answer event */
    PXRLT_ANSWER_LOG = 3      /* a recognition carrying the request number */
} PXRLT_AnswerKind;

#define PXRLT_WAIT_ANSWERED 0
#define PXRLT_WAIT_TIMEOUT 1
#define PXRLT_WAIT_FAILED (-1)
#define PXRLT_WAIT_EMPTY 2 /* woken without an answer in the slot */

/* Sends the request that the sensor answers on the stream, with its request number. */
typedef void (*PXRLT_SendFunction)(PXR *psPxr, uint32_t u32RequestId, void *pContext);

/* Empties the hand-over slots, sends under a new request number and waits up to the handle's
 * request time-out for the answer of that kind (a trigger answer also of the forced id when one
 * is given). PXRLT_WAIT_ANSWERED with the record through ppsRecord (the caller's), or
 * PXRLT_WAIT_TIMEOUT / PXRLT_WAIT_FAILED / PXRLT_WAIT_EMPTY with nothing. */
int PXRLT_awaitAnswer(PXR *psPxr, PXRLT_AnswerKind eKind, const uint32_t *pu32ForcedTriggerId,
                      PXRLT_SendFunction rSend, void *pContext, void **ppsRecord);
/* For the event callback: an image or trigger answer that the waiting request awaits goes to
 * it; any other event is released. Takes the event in every case. */
void PXRLT_handOverEvent(PXR *psPxr, LumatrekEvent *psEvent);
/* For the recognition callbacks, with a record carrying a request number (10 and up): the
 * answer the waiting request awaits goes to it; any other is released. Takes the record. */
void PXRLT_handOverRecognition(PXR *psPxr, LumatrekRecognition *psRecord);

/* A trigger answer's fields; the texts are always terminated. */
typedef struct PXRLT_TriggerAnswer {
    uint32_t u32TriggerId;
    char aszStatus[15];
    char aszError[257];
} PXRLT_TriggerAnswer;
void PXRLT_readTriggerAnswer(const LumatrekEvent *psEvent, PXRLT_TriggerAnswer *psAnswer);

/* ---- configuration runs ---- */

/* For the configuration callback: 1 while a setConfig runs, the rebuild of the trees then owed
 * and made once when it ends; 0 otherwise. */
int PXRLT_deferTreeRebuild(PXR *psPxr);

/* ---- values of a request ---- */

/* An attribute's number: optional blanks and sign, then decimal digits; 0 when absent or
 * without digits. */
int64_t PXRLT_attributeNumber(PXRMsgElement *psElement, const char *pcszName);
/* 1 for "true" or "1", 0 otherwise (also when absent). */
int PXRLT_attributeBool(PXRMsgElement *psElement, const char *pcszName);

/* ---- handlers: (handle, request, answer); each leaves one root in the answer ---- */

typedef int (*PXRLT_Handler)(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);

int PXRLT_sendMessage_getImage(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_triggerOn(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_triggerOff(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_getCurrentLog(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_reboot(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_openBarrier(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_getInfos(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_getConfig(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_setConfig(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_getDatabase(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_eraseDatabase(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_editDatabase(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_getIOState(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_setIOState(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_lockRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_unlockRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_writeRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_readRS232(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);
int PXRLT_sendMessage_resetCounters(PXR *psPxr, PXRMsg *psRequest, PXRMsg *psAnswer);

/* The plate database: the enumeration's per-entry callback (adds a plate child with its value;
 * the result of adding it), and whether the element holds a plate of that value. */
int PXRLT_databasePlateCallback(LumatrekHandle *psHandle, uint32_t u32Index, const char *pcszPlate, void *pUser);
int PXRLT_databaseHasPlate(PXRMsgElement *psDatabase, const char *pcszPlate);

/* Traces, from the element down, the attributes other than id that are left, each element's
 * as "path : names"; the first such trace is preceded once by a heading (*pbFirst cleared). */
void PXRLT_reportUnusedAttributes(PXR *psPxr, PXRMsgElement *psElement, const char *pcszParentPath, int *pbFirst);

#ifdef __cplusplus
}
#endif

#endif
