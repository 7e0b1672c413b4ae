/* What the parts of a setConfig share: the run record with the settings read at its start, and
 * the reading of attributes that removes each one used from the working copy. */
#ifndef PXRLT_SETCONFIG_H
#define PXRLT_SETCONFIG_H

#include "Lumatrek_Internal.h"
#include "PXRLT_Requests.h"
#include "PXR_Internal.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The waits of setConfig, with their defaults until a test shortens them. */
typedef struct PXRLT_SetConfigTiming {
    uint32_t u32StatusPollMs;     /* between two reads of the ready bit */
    uint32_t u32StatusWaitMs;     /* the longest wait for the ready bit */
    uint32_t u32EnslaveReadGapMs; /* between two reads of the enslavement parameters */
} PXRLT_SetConfigTiming;
PXRLT_SetConfigTiming *PXRLT_setConfigTiming(void);
void PXRLT_resetSetConfigTiming(void);

/* One setConfig: the settings read from the command connection, and a copy of what the light
 * connection held at the start (its blocks are read under its mutex, then released). */
typedef struct PXRLT_SetConfigRun {
    PXR *psPxr;
    LumatrekHandle *psCommand;
    LumatrekHandle *psLight;
    PXRMsg *psAnswer;
    LumatrekConfig sConfig;
    char aszContext[65]; /* the ANPR context list, terminated even at 64 characters */
    LumatrekBoardConfig sBoard;
    LumatrekLateStackConfig sLateStack;
    LumatrekDataBaseConfig sDataBase;
    int bDataBaseReceived;
    uint32_t u32IoMode;
    uint32_t u32IrCut;
    uint32_t u32Focus;
} PXRLT_SetConfigRun;

/* A name and the code it stands for; a table ends with a null name. */
typedef struct PXRLT_Choice {
    const char *pcszName;
    int32_t i32Code;
} PXRLT_Choice;

/* A trace of this run at level 7. */
void PXRLT_runTrace(PXRLT_SetConfigRun *psRun, const char *pcszFormat, ...) __attribute__((format(printf, 2, 3)));
/* 1 for a result of 0; otherwise the answer is failed with the command connection's last error
 * ("In function : text (code)") and 0. */
int PXRLT_runChecked(PXRLT_SetConfigRun *psRun, int32_t i32Result);
/* The answer failed with the text; 0. */
int PXRLT_runFail(PXRLT_SetConfigRun *psRun, const char *pcszText);

/* Each reads the attribute and removes it; 1 when it was there. */
int PXRLT_takeNumber(PXRMsgElement *psElement, const char *pcszName, int64_t *pi64Value);
int PXRLT_takeU32(PXRMsgElement *psElement, const char *pcszName, uint32_t *pu32Value);
int PXRLT_takeBool(PXRMsgElement *psElement, const char *pcszName, int *pbValue);
/* At most szSize - 1 characters, terminated. */
int PXRLT_takeText(PXRMsgElement *psElement, const char *pcszName, char *pszText, size_t szSize);
/* A name of the table (letter case aside) sets the code; another text keeps it. */
int PXRLT_takeChoice(PXRMsgElement *psElement, const char *pcszName, const PXRLT_Choice *psTable,
                     int32_t *pi32Code);

/* The ANPR and DGPR setters with the values the run holds, after the trace of their name. */
int PXRLT_runSetAnpr(PXRLT_SetConfigRun *psRun, const char *pcszTrace);
int PXRLT_runSetDgpr(PXRLT_SetConfigRun *psRun, const char *pcszTrace);
/* The database element (section of its own, also inside anpr) and the ocr element. */
int PXRLT_runDatabase(PXRLT_SetConfigRun *psRun, PXRMsgElement *psDatabase);
int PXRLT_runOcr(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOcr);
/* The serial child's export mode, the board configuration sent when the child exists. */
int PXRLT_runSerial(PXRLT_SetConfigRun *psRun, PXRMsgElement *psParent);
/* Section 2: the first camera of the configuration. */
int PXRLT_runCamera(PXRLT_SetConfigRun *psRun, PXRMsgElement *psCamera);
/* The optics of the camera. */
int PXRLT_runOptics(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOptics, int bEnslaved);

/* The focus-auto and shutter-priority copies the command connection keeps. */
uint32_t PXRLT_commandFocusAuto(LumatrekHandle *psCommand);
uint32_t PXRLT_commandShutterPriority(LumatrekHandle *psCommand);

extern const PXRLT_Choice g_asPxrltDirections[];

#ifdef __cplusplus
}
#endif

#endif
