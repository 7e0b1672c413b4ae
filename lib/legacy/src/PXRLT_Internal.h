/* The bridge's shared translations: tick and epoch dates, the sensor tests, equipment names,
 * camera value tables, frame-rate codes, the ocr element and the square-plates token. */
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
/* The light connection's text "server:0,port,timePort"; 0 when it does not fit the buffer. */
int PXRLT_lightConnectionText(char *pszText, size_t uSize, const char *pcszServer, uint32_t u32Port,
                              uint32_t u32TimePort);

#ifdef __cplusplus
}
#endif

#endif
