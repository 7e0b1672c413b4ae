/* The bridge record and what the bridge's sources share: translations, sensor tests, answers,
 * pushes, the callbacks given to the legacy library, the message and tree builders. */
#ifndef PXRLT_INTERNAL_H
#define PXRLT_INTERNAL_H

#include <stddef.h>
#include <stdint.h>

#include "Lumatrek.h"
#include "SA_Core.h"
#include "PXRLT.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The bridge record of one PXR handle; the handle's bridge slot owns it. */
struct PXRLT {
    LumatrekHandle *psLightHandle;   /* stream and time; null when it could not be made */
    SA_Mutex hLockMutex;             /* held by the requests that need the lock */
    LumatrekHandle *psCommandHandle; /* set exactly while the sensor is locked */
    int32_t bOpticsChanged;
    int32_t bLockGranted;
    uint32_t u32LastRecognitionTime;
    int32_t bConfigChangesEnabled;
    int32_t bInfoChangesEnabled;
    int32_t bTracesEnabled;
    SA_Mutex hInfosMutex;
    PXRMsg *psCachedInfos;
    SA_Mutex hConfigMutex;
    PXRMsg *psCachedConfig;
    int32_t bWaitingEndOfConfig;
    SA_Mutex hEventMutex; /* guards the wait and the answers handed over */
    int32_t bWaiting;
    SA_Event hAnswerEvent; /* auto reset */
    uint32_t u32RequestId;
    void *psReceivedRecognition;
    void *psReceivedEvent;
    /* Under hConfigMutex, with bWaitingEndOfConfig: */
    uint32_t u32LastGlobalState;  /* the light connection's last global state */
    int32_t bStreamUp;            /* the light connection's stream socket is connected */
    int32_t bStreamConfigured;    /* the whole configuration came on the current stream connection */
    int32_t bRecognitionPushed;   /* atomic; u32LastRecognitionTime (atomic) holds a pushed one's time */
    /* What the waiting request awaits (PXRLT_AnswerKind), and the trigger id it forced; under
     * eventMutex with the hand-over fields. */
    int32_t i32AwaitedKind;
    int32_t bTriggerIdForced;
    uint32_t u32ForcedTriggerId;
    /* Set while a setConfig runs: configuration blocks then leave the trees alone and owe one
     * rebuild, made when the setConfig ends; under configMutex. */
    int32_t bSetConfigRunning;
    int32_t bRebuildOwed;
};

/* The facts of the light connection's handle that the sensor tests read, copied under the
 * configuration mutex so that a test never sees a block half replaced. */
typedef struct PXRLT_SensorFacts {
    uint32_t u32SensorType;
    uint32_t u32CameraWord;
    uint32_t u32LedVersion;
    int32_t bFirmwareKnown;
    uint16_t au16Firmware[3];
    int32_t bHasFlip;
    uint32_t u32BoardId;
    int32_t bSecondary;
} PXRLT_SensorFacts;

/* Fills the record from the handle; a null handle gives a cleared record. */
void PXRLT_readFacts(LumatrekHandle *psHandle, PXRLT_SensorFacts *psFacts);

/* Tick and epoch dates against a given present, so that the wrap of the tick can be tested. */
int64_t PXRLT_tickToEpochAt(uint32_t u32NowTick, uint64_t u64NowEpochMs, uint32_t u32Tick);
uint32_t PXRLT_epochToTickAt(uint32_t u32NowTick, uint64_t u64NowEpochMs, int64_t i64EpochMs);
int64_t PXRLT_sensorTimeToEpochMs(LumatrekHandle *psHandle, uint32_t u32Tick);
uint32_t PXRLT_epochMsToSensorTime(LumatrekHandle *psHandle, int64_t i64EpochMs);

/* Sensor tests, each 1 or 0. */
int PXRLT_firmwareAtLeastFacts(const PXRLT_SensorFacts *psFacts, uint16_t u16Major, uint16_t u16Minor,
                               uint16_t u16Patch);
int PXRLT_firmwareAtLeast(LumatrekHandle *psHandle, uint16_t u16Major, uint16_t u16Minor, uint16_t u16Patch);
int PXRLT_checkModelAndBuild(LumatrekHandle *psHandle);
int PXRLT_checkModelValue(const LumatrekConfig *psConfig, uint32_t u32LedVersion);
int PXRLT_checkPindrel2LevelFacts(const PXRLT_SensorFacts *psFacts);
int PXRLT_checkPindrel2Level(LumatrekHandle *psHandle);
int PXRLT_hasFlip(LumatrekHandle *psHandle);
int PXRLT_hasFocusToSave(const LumatrekConfig *psConfig);

/* Equipment name by the board identifier's model code; constant text. */
const char *PXRLT_equipmentNameFor(uint32_t u32BoardId, int bSecondary);
const char *PXRLT_equipmentName(LumatrekHandle *psHandle);

/* Camera value tables, each ending with an empty text; a name's code is its position
 * (the shutter code sent to the sensor is the position plus PXRLT_SHUTTER_FIRST_CODE). */
#define PXRLT_SHUTTER_FIRST_CODE 6
extern const char *const g_apcszPxrltShutter[];
extern const char *const g_apcszPxrltIris[];
extern const char *const g_apcszPxrltGain[];
/* The name of a position, or null outside the table. */
const char *PXRLT_valueName(const char *const *ppcszTable, int32_t i32Position);
/* The position of a name, or -1 when the table does not hold it. */
int32_t PXRLT_valueCode(const char *const *ppcszTable, const char *pcszName);

/* Frame rates and the sensor's frame-skip codes. */
int PXRLT_fpsToSkipCode(int iFps);
int PXRLT_skipCodeToFps25(int iCode);
int PXRLT_skipCodeToFps50(int iCode);

/* A new ocr element owned by the caller, or null without memory. */
PXRMsgElement *PXRLT_createOcrElement(const LumatrekOcrSettings *psOcr, uint32_t u32SensorType);

/* Removes the first square-plates token and one separator from the context in place; sets
 * *pbFound (when given) to whether it was there. */
void PXRLT_removeSquarePlates(char *pszContext, int *pbFound);

/* Makes a new `answer` the message's root: status "ok", or "failed" with the error text. */
int PXRLT_setAnswer(PXRMsg *psAnswer, int bOk, const char *pcszErrorText);
/* A failed answer "function : text" from the legacy handle's last error, which it takes. */
int PXRLT_setErrorAnswer(PXRMsg *psAnswer, LumatrekHandle *psLegacy);
/* The same as "In function : text (code)". */
int PXRLT_setErrorAnswerWhere(LumatrekHandle *psLegacy, PXRMsg *psAnswer);
/* Applies a setEnableStreams message: video of camera 0, the push flags, and the cached tree
 * pushed once for each push flag that changed; 1. */
int PXRLT_applyEnableStreams(PXR *psPxr, PXRMsg *psMsg);
/* A new child of that name appended to the parent; null for a null parent or without memory. */
PXRMsgElement *PXRLT_addChild(PXRMsgElement *psParent, const char *pcszName);
/* The six bytes as "xx:xx:xx:xx:xx:xx" in the attribute. */
int PXRLT_setMacAttribute(PXRMsgElement *psElement, const char *pcszName, const uint8_t *pu8Mac);
/* A new element of that name made the message's root; null without memory. */
PXRMsgElement *PXRLT_newRoot(PXRMsg *psMsg, const char *pcszName);
/* Hands a message to the handle's queue; one the queue refuses is destroyed. */
void PXRLT_push(PXR *psPxr, PXRMsg *psMsg);
/* Pushes a copy of the cache, taken under its mutex; nothing for a cache without root. */
void PXRLT_pushCopy(PXR *psPxr, SA_Mutex hMutex, PXRMsg *psCache);
/* Stores the optics when a setConfig changed them, then closes the command connection. */
void PXRLT_closeCommandConnection(PXR *psPxr);

/* Installs the event, video, configuration and input callbacks on the light connection; the
 * recognition ones follow when the sensor type is known. */
void PXRLT_installCallbacks(PXR *psPxr, LumatrekHandle *psLight);
/* Callbacks given to the legacy library; each has the PXR handle as its user data. */
void PXRLT_connectionStateCallback(LumatrekHandle *psLight, LumatrekConnectionState *psState, void *pUser);
void PXRLT_lockConnectionStateCallback(LumatrekHandle *psCommand, LumatrekConnectionState *psState, void *pUser);
void PXRLT_errorCallback(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, void *pUser);
void PXRLT_configCallback(LumatrekHandle *psLight, LumatrekConfigRecord *psRecord, void *pUser);
void PXRLT_sensorTypeCallback(LumatrekHandle *psLight, LumatrekConfigRecord *psRecord, void *pUser);
void PXRLT_anprCallback(LumatrekHandle *psLight, LumatrekRecognition *psRecord, void *pUser);
void PXRLT_dgprCallback(LumatrekHandle *psLight, LumatrekRecognition *psRecord, void *pUser);
void PXRLT_speedCallback(LumatrekHandle *psLight, LumatrekSpeed *psSpeed, void *pUser);
void PXRLT_xpegCallback(LumatrekHandle *psLight, uint32_t u32Time, uint32_t u32Connection, uint32_t u32Frame,
                        uint32_t u32Codec, uint32_t u32KeyFrame, uint32_t u32Size, const uint8_t *pu8Frame,
                        void *pUser);
void PXRLT_ioStateCallback(LumatrekHandle *psLight, int32_t i32State, uint32_t u32Time, void *pUser);
void PXRLT_eventCallback(LumatrekHandle *psLight, LumatrekEvent *psEvent, void *pUser);

/* Recognition messages: the built element becomes the message's root; the record's pictures
 * are attached without copy and the record released once, with the message's last picture. */
int PXRLT_fillAnprMsg(PXRMsg *psMsg, LumatrekRecognition *psRecord, PXR *psPxr);
int PXRLT_fillDgprMsg(PXRMsg *psMsg, LumatrekRecognition *psRecord, PXR *psPxr);
/* Content free callback of a recognition's pictures: releases the record (the user data). */
void PXRLT_releaseRecognition(void *pContent, void *pRecord);

/* The information and configuration trees from the light connection's cache. The infos tree
 * is always whole (1); the config tree is its skeleton (0) until the configuration record and
 * the board configuration are held. */
int PXRLT_fillInfosFrom(LumatrekHandle *psLight, PXRMsg *psMsg);
int PXRLT_fillConfigFrom(LumatrekHandle *psLight, PXRMsg *psMsg);
int PXRLT_fillInfosMsg(PXRLT *psBridge, PXRMsg *psMsg);
int PXRLT_fillConfigMsg(PXRLT *psBridge, PXRMsg *psMsg);

/* The schema the bridge answers getXSD with: its text and its size with the final zero. */
extern const char g_acPxrltSchema[];
extern const uint32_t g_u32PxrltSchemaSize;

/* The light connection's text "server:0,port,timePort"; 0 when it does not fit the buffer. */
int PXRLT_lightConnectionText(char *pszText, size_t uSize, const char *pcszServer, uint32_t u32Port,
                              uint32_t u32TimePort);

#ifdef __cplusplus
}
#endif

#endif
