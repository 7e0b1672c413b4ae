/* The information tree (`infos`) of a legacy sensor, built from what its light connection has
 * cached: identity and state, the camera's value ranges, algorithms, lighting, temperature. */
#include <stdio.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"

namespace {

const struct {
    uint32_t u32Bit;
    const char *pcszName;
} kStatusNames[] = {
    {0x1, "RUNNING"},
    {0x100000, "BOOTING"},
    {0x8, "NO_OCRBASE"},
    {0x200000, "INITIALIZING"},
    {0x2000, "TOOCOLD"},
    {0x80, "ERROR_HARDWARE"},
    {0x100, "ERROR_NOCAPTURE"},
    {0x200, "ERROR_I2C"},
    {0x400, "ERROR_UART"},
    {0x800, "ERROR_NOUART"},
    {0x4000, "ERROR_LEDDEGRADED"},
    {0x400000, "ERROR_BADMASTERSLAVECONFIG"},
    {0x4000000, "ERROR_CONFIG_SPEED"},
    {0x8000000, "INITIALIZING_SPEED"},
};

const char kDefaultContexts[] =
    "A|AL|AUS|AUS_FI|QLD_AUS|NSW_AUS|VIC_AUS|SA_AUS|WA_AUS|TAS_AUS|ACT_AUS|NT_AUS|B|BG|BIH|BR|BY|CDN|CH|CO|CORSE|CZ|D|"
    "DK|DZ|E|F|FIN|F_AGR|GB|H|HR|I|IL|IRL|KZ|L|LT|LV|MEX|MAL|MC|MC_REAR|NL|P|PL|PR|PR_FRONT|Q|RA|RCH|ROU|RUS|RO|UAE|S|"
    "SK|SLO|TR|UA|ZA";

const char *const kOcrDefaultNames[] = {"maxPlateWidth",        "maxPlateHeight",         "minPlateWidth",
                                        "minPlateHeight",       "zoomPlateWidth",         "minReliability",
                                        "minReliabilityForCharacters", "minCharWidthStatic", "minPlateWidthStatic8Char",
                                        "minRecognitionStatic", "minRecognition",         "maxNoPlateBeforeDecision"};
// By enslavement mode: free flow or embedded, urban free flow, the others.
const char *const kOcrDefaults[3][12] = {
    {"220", "60", "80", "12", "200", "5300", "5", "12", "170", "35", "1", "15"},
    {"250", "80", "80", "12", "200", "5500", "5", "12", "160", "15", "2", "15"},
    {"250", "80", "90", "12", "200", "6000", "5", "11", "150", "20", "3", "15"},
};

const char *const kLedModels[] = {"LED 1", "LED 2", "LED 3", "LED 3 bracketing", "LED 5 eco", "LED 6"};

const uint32_t kLedBoardBits = 0x3F000000u;
const uint32_t kCameraCodeBits = 0x00FFFFFFu;

void fillStatus(PXRMsgElement *psSensor, uint32_t u32Status)
{
    char aszStatus[256] = "";
    for (const auto &sName : kStatusNames) {
        if (!(u32Status & sName.u32Bit))
            continue;
        if (aszStatus[0])
            strncat(aszStatus, "|", sizeof(aszStatus) - strlen(aszStatus) - 1);
        strncat(aszStatus, sName.pcszName, sizeof(aszStatus) - strlen(aszStatus) - 1);
    }
    PXRMsgElementSetAttribute(psSensor, "status", aszStatus);
}

void fillSensor(PXRMsgElement *psInfos, LumatrekHandle *psLight)
{
    PXRMsgElement *psSensor = PXRLT_addChild(psInfos, "sensor");
    PXRMsgElementSetAttributeBool(psSensor, "locked", psLight->sDescription.u32Word468 != 0);
    PXRLT_setMacAttribute(psSensor, "macAddress", psLight->au8Mac);
    char aszVersion[24];
    snprintf(aszVersion, sizeof(aszVersion), "%d.%d.%d", psLight->sVersion.u16FirmwareMajor,
             psLight->sVersion.u16FirmwareMinor, psLight->sVersion.u16FirmwareRevision);
    PXRMsgElementSetAttribute(psSensor, "firmwareVersion", aszVersion);
    PXRMsgElementSetAttribute(psSensor, "type", PXRLT_equipmentName(psLight));
    fillStatus(psSensor, psLight->u32Status);
    PXRMsgElementSetAttributeUInt(psSensor, "reboots", psLight->u32RebootCount);
    PXRMsgElementSetAttributeUInt(psSensor, "unexpectedReboots",
                                  psLight->psStream ? LT_getU32(psLight->psStream->au8RebootBlock, 0) : 0);
}

void addRange(PXRMsgElement *psParent, const char *pcszName, uint32_t u32Min, uint32_t u32Max)
{
    PXRMsgElement *psRange = PXRLT_addChild(psParent, pcszName);
    PXRMsgElementSetAttributeUInt(psRange, "min", u32Min);
    PXRMsgElementSetAttributeUInt(psRange, "max", u32Max);
}

void addValues(PXRMsgElement *psParent, const char *pcszName, const char *const *ppcszTable)
{
    PXRMsgElement *psValues = PXRLT_addChild(psParent, pcszName);
    for (int i = 0; ppcszTable[i][0]; ++i)
        PXRMsgElementSetAttribute(PXRLT_addChild(psValues, "value"), "text", ppcszTable[i]);
}

void fillCameraModel(PXRMsgElement *psCamera, LumatrekHandle *psLight, uint32_t u32Code)
{
    char aszModel[16];
    snprintf(aszModel, sizeof(aszModel), "%x", u32Code);
    PXRMsgElementSetAttribute(psCamera, "cameraModel", u32Code == 27 ? "VISCA compatible" : aszModel);
    PXRMsgElementSetAttribute(psCamera, "size", "720x288");
    PXRMsgElementSetAttribute(psCamera, "fps", "50");
    PXRMsgElementSetAttributeBool(psCamera, "hasIRCutFilter", PXRLT_hasFocusToSave(&psLight->sConfig));
    PXRMsgElementSetAttribute(psCamera, "hasFlip", PXRLT_hasFlip(psLight) ? "1" : "0");
    PXRMsgElement *psZoom = PXRLT_addChild(psCamera, "zoomValues");
    PXRMsgElementSetAttributeUInt(psZoom, "min", 0);
    PXRMsgElementSetAttributeUInt(psZoom, "max", 24576);
    PXRMsgElementSetAttributeUInt(psZoom, "numericThreshold", 16384);
    addRange(psCamera, "focusValues", 4096, 49152);
    addValues(psCamera, "shutterValues", g_apcszPxrltShutter);
    if (psLight->sConfig.u32SensorType == LUMATREK_SENSOR_VIDEO)
        addRange(psCamera, "expCompValues", 0, 14);
    addValues(psCamera, "irisValues", g_apcszPxrltIris);
    addValues(psCamera, "gainValues", g_apcszPxrltGain);
}

void fillOcrDefault(PXRMsgElement *psAnpr, uint32_t u32Mode)
{
    const int iColumn = (u32Mode == 1 || u32Mode == 2) ? 0 : u32Mode == 4 ? 1 : 2;
    PXRMsgElement *psDefault = PXRLT_addChild(psAnpr, "ocrDefault");
    for (size_t i = 0; i < sizeof(kOcrDefaultNames) / sizeof(kOcrDefaultNames[0]); ++i)
        PXRMsgElementSetAttribute(psDefault, kOcrDefaultNames[i], kOcrDefaults[iColumn][i]);
}

void fillAlgorithms(PXRMsgElement *psInfos, PXRMsgElement *psAlgorithms, LumatrekHandle *psLight)
{
    const LumatrekConfig &sConfig = psLight->sConfig;
    switch (sConfig.u32SensorType) {
    case LUMATREK_SENSOR_ANPR: {
        PXRLT_addChild(psAlgorithms, "anpr");
        if (PXRLT_firmwareAtLeast(psLight, 7, 6, 0))
            PXRLT_addChild(psAlgorithms, "trigger");
        PXRMsgElement *psAnpr = PXRLT_addChild(psInfos, "anpr");
        const char *pcszContexts = sConfig.uBody.sAnpr.aszPossibleContexts;
        PXRMsgElementSetAttribute(psAnpr, "possibleContexts", pcszContexts[0] ? pcszContexts : kDefaultContexts);
        if (LT_isHeld(psLight, LT_RECEIVED_ACTIVATION) && psLight->sActivation.u32SpeedMeasure)
            PXRLT_addChild(psAlgorithms, "speed");
        fillOcrDefault(psAnpr, sConfig.uBody.sAnpr.u8EnslavementMode);
        break;
    }
    case LUMATREK_SENSOR_DGPR: PXRLT_addChild(psAlgorithms, "dgpr"); break;
    case LUMATREK_SENSOR_SIGNATURE: PXRLT_addChild(psAlgorithms, "signature"); break;
    case LUMATREK_SENSOR_VIDEO_EXTERNAL: PXRLT_addChild(psAlgorithms, "classification"); break;
    default: break;
    }
}

uint32_t maxLedCurrent(uint32_t u32LedVersion, uint32_t u32CameraWord, uint32_t u32Shutter, uint32_t u32Eco)
{
    static const uint32_t au32Infrared[] = {800, 1000, 2000, 2000, 3000, 4000};
    static const uint32_t au32White[] = {800, 800, 1000, 1000, 1500, 2000};
    uint32_t u32Max = 0;
    if (u32LedVersion < 165) {
        u32Max = u32Shutter <= 15 ? 1000 : 2000;
    } else if (u32Shutter < 13 || u32Shutter > 21) {
        u32Max = 400;
    } else {
        const uint32_t u32Index = u32Shutter >= 18 ? 5 : u32Shutter - 13;
        u32Max = (u32CameraWord & 0xC0000000u) ? au32White[u32Index] : au32Infrared[u32Index];
    }
    return (u32Eco && u32Max > 1000) ? 1000 : u32Max;
}

void fillLightings(PXRMsgElement *psInfos, LumatrekHandle *psLight, const LumatrekCameraConfig &sCamera)
{
    const uint32_t u32CameraWord = psLight->sConfig.u32CameraWord;
    const uint32_t u32Board = (u32CameraWord & kLedBoardBits) >> 24;
    PXRMsgElement *psLed = PXRLT_addChild(PXRLT_addChild(psInfos, "lightings"), "led");
    PXRMsgElementSetAttribute(psLed, "id", "0");
    if (u32Board >= 1 && u32Board <= 6)
        PXRMsgElementSetAttribute(psLed, "ledModel", kLedModels[u32Board - 1]);
    else
        PXRMsgElementSetAttributeUInt(psLed, "ledModel", u32CameraWord & kLedBoardBits);
    PXRMsgElementSetAttribute(psLed, "color", u32CameraWord < 0x40000000u ? "infrared" : "whiteLight");
    char aszVersion[16];
    snprintf(aszVersion, sizeof(aszVersion), "%X", psLight->u32LedCard);
    PXRMsgElementSetAttribute(psLed, "version", aszVersion);
    addRange(psLed, "currentValues", 0,
             maxLedCurrent(psLight->u32LedCard, u32CameraWord, sCamera.u32Shutter, psLight->u32EcoMode));
    if (PXRLT_checkModelValue(&psLight->sConfig, psLight->u32LedCard)) {
        PXRMsgElement *psProjector = PXRLT_addChild(PXRMsgElementParent(psLed), "projector");
        PXRMsgElementSetAttribute(psProjector, "id", "0");
        PXRMsgElement *psDelay = PXRLT_addChild(psProjector, "delayValues");
        PXRMsgElementSetAttribute(psDelay, "min", "0");
        PXRMsgElementSetAttribute(psDelay, "max", "20000");
    }
}

LumatrekCameraConfig cameraOf(LumatrekHandle *psLight)
{
    LT_lock(psLight, LT_MUTEX_CAMERA_CONFIG);
    const LumatrekCameraConfig sCamera = psLight->sCamera;
    LT_unlock(psLight, LT_MUTEX_CAMERA_CONFIG);
    return sCamera;
}

void fillInfos(PXRMsgElement *psInfos, LumatrekHandle *psLight)
{
    const LumatrekCameraConfig sCamera = cameraOf(psLight);
    fillSensor(psInfos, psLight);
    PXRMsgElement *psCamera = PXRLT_addChild(PXRLT_addChild(psInfos, "cameras"), "camera");
    PXRMsgElementSetAttribute(psCamera, "id", "0");
    PXRMsgElement *psAlgorithms = PXRLT_addChild(psCamera, "enabledAlgorithms");
    const uint32_t u32Code = psLight->sConfig.u32CameraWord & kCameraCodeBits;
    if (u32Code != 0)
        fillCameraModel(psCamera, psLight, u32Code);
    fillAlgorithms(psInfos, psAlgorithms, psLight);
    if (LT_isHeld(psLight, LT_RECEIVED_LATE_STACK)) {
        PXRMsgElement *psLateStack = PXRLT_addChild(psCamera, "lateStack");
        PXRMsgElementSetAttributeBool(psLateStack, "enabled", psLight->sLateStack.u32Enabled != 0);
        PXRMsgElementSetAttributeUInt(psLateStack, "size", psLight->sLateStack.u32Size);
    }
    if (psLight->sConfig.u32CameraWord & kLedBoardBits)
        fillLightings(psInfos, psLight, sCamera);
    if (LT_isHeld(psLight, LT_RECEIVED_MEASURES) && psLight->psStream)
        PXRMsgElementSetAttributeInt(PXRLT_addChild(psInfos, "temperature"), "temperature_C",
                                     psLight->psStream->sMeasures.i16Temperature);
}

} // namespace

extern "C" {

PXRMsgElement *PXRLT_newRoot(PXRMsg *psMsg, const char *pcszName)
{
    PXRMsgElement *psRoot = PXRMsgElementCreate(pcszName);
    if (psRoot && !PXRMsgSetChild(psMsg, psRoot)) {
        PXRMsgElementDestroy(psRoot);
        return nullptr;
    }
    return psRoot;
}

int PXRLT_fillInfosFrom(LumatrekHandle *psLight, PXRMsg *psMsg)
{
    PXRMsgElement *psInfos = PXRLT_newRoot(psMsg, "infos");
    if (!psInfos || !psLight)
        return psInfos != nullptr;
    LT_lock(psLight, LT_MUTEX_CONFIG);
    fillInfos(psInfos, psLight);
    LT_unlock(psLight, LT_MUTEX_CONFIG);
    return 1;
}

int PXRLT_fillInfosMsg(PXRLT *psBridge, PXRMsg *psMsg)
{
    return PXRLT_fillInfosFrom(psBridge ? psBridge->psLightHandle : nullptr, psMsg);
}

} // extern "C"
