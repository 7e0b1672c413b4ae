/* The bridge's shared translations between the legacy library's records and FYB values:
 * dates, sensor tests, names and value tables, frame rates, the ocr element, square plates. */
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"
#include "SA_Core.h"

namespace {

const uint32_t kLedModelShift = 24;
const uint32_t kModelMask = 0x3Fu;
const uint32_t kCameraCodeMask = 0xFFFFFFu;

uint32_t ledModel(uint32_t u32CameraWord)
{
    return (u32CameraWord >> kLedModelShift) & kModelMask;
}

int modelAndBuild(uint32_t u32CameraWord, uint32_t u32LedVersion)
{
    const uint32_t u32Model = ledModel(u32CameraWord);
    return (u32Model == 4 || u32Model == 5) && u32LedVersion >= 170;
}

const char kSquarePlates[] = "SQUARE_PLATES";

} // namespace

extern "C" {

const char *const g_apcszPxrltShutter[] = {"1/50",   "1/75",   "1/100",  "1/120", "1/150", "1/215",
                                           "1/300",  "1/425",  "1/600",  "1/1000", "1/1250", "1/1750",
                                           "1/2500", "1/3500", "1/6000", "1/10000", ""};
const char *const g_apcszPxrltIris[] = {"Closed", "F22", "F19", "F16", "F14", "F11", "F9.6", "F8", "F6.8", "F5.6",
                                        "F4.8",   "F4",  "F3.4", "F2.8", "F2.4", "F2", "F1.6", "F1.4", ""};
const char *const g_apcszPxrltGain[] = {"-3.0 db", "0 db",  "2 db",  "4 db",  "6 db",  "8 db",  "10 db", "12 db",
                                        "14 db",   "16 db", "18 db", "20 db", "22 db", "24 db", "26 db", "28 db", ""};

void PXRLT_readFacts(LumatrekHandle *psHandle, PXRLT_SensorFacts *psFacts)
{
    memset(psFacts, 0, sizeof(*psFacts));
    if (!psHandle)
        return;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    psFacts->u32SensorType = psHandle->sConfig.u32SensorType;
    psFacts->u32CameraWord = psHandle->sConfig.u32CameraWord;
    psFacts->u32LedVersion = psHandle->u32LedCard;
    psFacts->bFirmwareKnown = LT_isHeld(psHandle, LT_RECEIVED_VERSION);
    psFacts->au16Firmware[0] = psHandle->sVersion.u16FirmwareMajor;
    psFacts->au16Firmware[1] = psHandle->sVersion.u16FirmwareMinor;
    psFacts->au16Firmware[2] = psHandle->sVersion.u16FirmwareRevision;
    // Flip is read with the camera settings only from protocol 4.3 on.
    psFacts->bHasFlip = LT_isHeld(psHandle, LT_RECEIVED_CAMERA) && LT_protocolAtLeast(psHandle, 4, 3);
    // The secondary flag comes with the command connection only; a light handle never has it.
    psFacts->bSecondary = 0;
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    psFacts->u32BoardId = psHandle->sCamera.u32BoardId;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
}

int64_t PXRLT_tickToEpochAt(uint32_t u32NowTick, uint64_t u64NowEpochMs, uint32_t u32Tick)
{
    // A signed difference keeps a tick taken just before the wrap in the recent past.
    const int32_t i32Age = (int32_t)(u32NowTick - u32Tick);
    return (int64_t)u64NowEpochMs - i32Age;
}

uint32_t PXRLT_epochToTickAt(uint32_t u32NowTick, uint64_t u64NowEpochMs, int64_t i64EpochMs)
{
    return u32NowTick + (uint32_t)(uint64_t)(i64EpochMs - (int64_t)u64NowEpochMs);
}

int64_t PXRLT_sensorTimeToEpochMs(LumatrekHandle *, uint32_t u32Tick)
{
    return PXRLT_tickToEpochAt(SA_GetTickMs(), SA_GetTimeMs(), u32Tick);
}

uint32_t PXRLT_epochMsToSensorTime(LumatrekHandle *, int64_t i64EpochMs)
{
    return PXRLT_epochToTickAt(SA_GetTickMs(), SA_GetTimeMs(), i64EpochMs);
}

int PXRLT_firmwareAtLeastFacts(const PXRLT_SensorFacts *psFacts, uint16_t u16Major, uint16_t u16Minor,
                               uint16_t u16Patch)
{
    if (!psFacts->bFirmwareKnown)
        return 0;
    const uint16_t au16Wanted[3] = {u16Major, u16Minor, u16Patch};
    for (int i = 0; i < 3; ++i)
        if (psFacts->au16Firmware[i] != au16Wanted[i])
            return psFacts->au16Firmware[i] > au16Wanted[i];
    return 1;
}

int PXRLT_firmwareAtLeast(LumatrekHandle *psHandle, uint16_t u16Major, uint16_t u16Minor, uint16_t u16Patch)
{
    PXRLT_SensorFacts sFacts;
    PXRLT_readFacts(psHandle, &sFacts);
    return PXRLT_firmwareAtLeastFacts(&sFacts, u16Major, u16Minor, u16Patch);
}

int PXRLT_checkModelAndBuild(LumatrekHandle *psHandle)
{
    PXRLT_SensorFacts sFacts;
    PXRLT_readFacts(psHandle, &sFacts);
    return modelAndBuild(sFacts.u32CameraWord, sFacts.u32LedVersion);
}

int PXRLT_checkModelValue(const LumatrekConfig *psConfig, uint32_t u32LedVersion)
{
    return psConfig && modelAndBuild(psConfig->u32CameraWord, u32LedVersion);
}

int PXRLT_checkPindrel2LevelFacts(const PXRLT_SensorFacts *psFacts)
{
    return ledModel(psFacts->u32CameraWord) == 5 && PXRLT_firmwareAtLeastFacts(psFacts, 6, 2, 4) &&
           psFacts->u32LedVersion > 182;
}

int PXRLT_checkPindrel2Level(LumatrekHandle *psHandle)
{
    PXRLT_SensorFacts sFacts;
    PXRLT_readFacts(psHandle, &sFacts);
    return PXRLT_checkPindrel2LevelFacts(&sFacts);
}

int PXRLT_hasFlip(LumatrekHandle *psHandle)
{
    PXRLT_SensorFacts sFacts;
    PXRLT_readFacts(psHandle, &sFacts);
    return sFacts.bHasFlip;
}

int PXRLT_hasFocusToSave(const LumatrekConfig *psConfig)
{
    if (!psConfig)
        return 0;
    const uint32_t u32Camera = psConfig->u32CameraWord & kCameraCodeMask;
    return (u32Camera == 0x200435u || u32Camera == 0x20044Fu) && psConfig->u32SensorType != LUMATREK_SENSOR_DGPR;
}

const char *PXRLT_equipmentNameFor(uint32_t u32BoardId, int bSecondary)
{
    static const char *const apcszNames[] = {"Lumatek2", "Lumatek", "Pindrel", "Lumatek3 (primary)", "Pindrel2",
                                             "Sabrel"};
    const uint32_t u32Model = (u32BoardId >> kLedModelShift) & kModelMask;
    if (u32Model >= 1 && u32Model <= sizeof(apcszNames) / sizeof(apcszNames[0]))
        return apcszNames[u32Model - 1];
    return bSecondary ? "Lumatek3 (secondary)" : "KGV sensor";
}

const char *PXRLT_equipmentName(LumatrekHandle *psHandle)
{
    PXRLT_SensorFacts sFacts;
    PXRLT_readFacts(psHandle, &sFacts);
    return PXRLT_equipmentNameFor(sFacts.u32BoardId, sFacts.bSecondary);
}

const char *PXRLT_valueName(const char *const *ppcszTable, int32_t i32Position)
{
    if (i32Position < 0)
        return nullptr;
    for (int32_t i = 0; ppcszTable[i][0]; ++i)
        if (i == i32Position)
            return ppcszTable[i];
    return nullptr;
}

int32_t PXRLT_valueCode(const char *const *ppcszTable, const char *pcszName)
{
    if (!pcszName)
        return -1;
    for (int32_t i = 0; ppcszTable[i][0]; ++i)
        if (strcmp(ppcszTable[i], pcszName) == 0)
            return i;
    return -1;
}

int PXRLT_fpsToSkipCode(int iFps)
{
    switch (iFps) {
    case 1: return 24;
    case 2: return 12;
    case 3: return 7;
    case 4: return 5;
    case 5: return 4;
    case 6: return 3;
    case 8: return 2;
    case 12: return 1;
    default: return 0;
    }
}

int PXRLT_skipCodeToFps25(int iCode)
{
    if (iCode == -1 || iCode == 0)
        return 25;
    static const int aiFps[] = {12, 8, 6, 5, 4, 4, 3, 3, 2, 2, 2, 2, 2, 2, 2};
    if (iCode >= 1 && iCode <= 15)
        return aiFps[iCode - 1];
    return 1;
}

int PXRLT_skipCodeToFps50(int iCode)
{
    static const int aiFps[] = {50, 25, 17, 12, 8, 8, 8, 6, 6, 5, 5, 4, 4, 4, 3, 3, 3, 3, 3};
    if (iCode >= 0 && iCode <= 18)
        return aiFps[iCode];
    return 2;
}

PXRMsgElement *PXRLT_createOcrElement(const LumatrekOcrSettings *psOcr, uint32_t u32SensorType)
{
    if (!psOcr)
        return nullptr;
    PXRMsgElement *psOcrElement = PXRMsgElementCreate("ocr");
    if (!psOcrElement)
        return nullptr;
    const struct {
        const char *pcszName;
        uint32_t u32Value;
    } asAttributes[] = {
        {"minPlateWidth", psOcr->u32MinPlateWidth},
        {"maxPlateWidth", psOcr->u32MaxPlateWidth},
        {"minPlateHeight", psOcr->u32MinPlateHeight},
        {"maxPlateHeight", psOcr->u32MaxPlateHeight},
        {"zoomPlateWidth", psOcr->u32ZoomPlateWidth},
        {"minReliability", psOcr->u32MinReliability},
        {"minReliabilityForCharacters", psOcr->u32MinReliabilityForCharacters},
        {"minCharWidthStatic", psOcr->u32MinCharWidthStatic},
        {"minPlateWidthStatic8Char", psOcr->u32MinPlateWidthStatic8Char},
        {"minRecognitionStatic", psOcr->u32MinRecognitionStatic},
        {"minRecognition", psOcr->u32MinRecognition},
        {"maxNoPlateBeforeDecision", psOcr->u32MaxNoPlateBeforeDecision},
    };
    for (const auto &sAttribute : asAttributes) {
        // A DGPR sensor has no character reliability.
        if (u32SensorType == LUMATREK_SENSOR_DGPR && strcmp(sAttribute.pcszName, "minReliabilityForCharacters") == 0)
            continue;
        if (!PXRMsgElementSetAttributeUInt(psOcrElement, sAttribute.pcszName, sAttribute.u32Value)) {
            PXRMsgElementDestroy(psOcrElement);
            return nullptr;
        }
    }
    return psOcrElement;
}

void PXRLT_removeSquarePlates(char *pszContext, int *pbFound)
{
    if (pbFound)
        *pbFound = 0;
    if (!pszContext)
        return;
    const size_t uLength = strlen(kSquarePlates);
    for (char *pcToken = pszContext; *pcToken;) {
        char *pcEnd = strchr(pcToken, '|');
        const size_t uTokenLength = pcEnd ? (size_t)(pcEnd - pcToken) : strlen(pcToken);
        if (uTokenLength == uLength && strncmp(pcToken, kSquarePlates, uLength) == 0) {
            // Take the separator after the token, else the one before it.
            char *pcFrom = pcToken;
            char *pcTo = pcToken + uTokenLength;
            if (*pcTo == '|')
                ++pcTo;
            else if (pcFrom > pszContext)
                --pcFrom;
            memmove(pcFrom, pcTo, strlen(pcTo) + 1);
            if (pbFound)
                *pbFound = 1;
            return;
        }
        if (!pcEnd)
            return;
        pcToken = pcEnd + 1;
    }
}

} // extern "C"
