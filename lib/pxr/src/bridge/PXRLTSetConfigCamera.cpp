/* The camera section of setConfig: enslavement, the recognition settings of each sensor type,
 * area of interest, speed, pictures and stream, exposure, then the optics with the focus and
 * IR-cut sequences. */
#include <charconv>
#include <string.h>

#include "PXRLT_SetConfig.h"

extern "C" {

namespace {

// The sensor sets its ready bit within seconds; a sensor that never does must not hold the
// request (and the lock) for ever.
const PXRLT_SetConfigTiming kDefaultTiming = {250, 30000, 250};
PXRLT_SetConfigTiming g_sTiming = kDefaultTiming;
const int kEnslaveReadTries = 50;
const uint32_t kJpegQualityBase = 34;
const uint32_t kStillOff = 15;
const size_t kSquarePlatesRoom = 50;
const int kFullRateFps = 50;
const uint32_t kFullRateWidth = 720;
const uint32_t kFullRateHeight = 576;

const PXRLT_Choice kEnslaveModes[] = {
    {"freeFlow", 1}, {"embedded", 2}, {"accessControl", 3}, {"urbanFreeFlow", 4}, {nullptr, 0}};
const PXRLT_Choice kSwitchTypes[] = {{"manual", 0}, {"infrared", 1}, {"whiteLight", 2}, {nullptr, 0}};
const PXRLT_Choice kExportModes[] = {{"off", 0}, {"simple", 1}, {"advanced", 2}, {nullptr, 0}};
const PXRLT_Choice kRatios[] = {{"low", 10}, {"average", 6}, {"high", 4}, {nullptr, 0}};
const PXRLT_Choice kStillSizes[] = {{"720x288", 240}, {"352x288", 31}, {nullptr, 0}};
const PXRLT_Choice kCodecs[] = {{"jpeg", 1}, {"mpeg", 0}, {nullptr, 0}};
const PXRLT_Choice kReactionSpeeds[] = {{"slow", 32}, {"fast", 1}, {"normal", 16}, {nullptr, -1}};
const PXRLT_Choice kAutoSwitchTypes[] = {{"manual", 0}, {"auto", 3}, {nullptr, -1}};

// The OCR attributes and the fields they set.
const struct {
    const char *pcszName;
    uint32_t LumatrekOcrSettings::*pu32Field;
} kOcrFields[] = {
    {"maxPlateHeight", &LumatrekOcrSettings::u32MaxPlateHeight},
    {"maxPlateWidth", &LumatrekOcrSettings::u32MaxPlateWidth},
    {"minPlateHeight", &LumatrekOcrSettings::u32MinPlateHeight},
    {"minPlateWidth", &LumatrekOcrSettings::u32MinPlateWidth},
    {"zoomPlateWidth", &LumatrekOcrSettings::u32ZoomPlateWidth},
    {"minReliabilityForCharacters", &LumatrekOcrSettings::u32MinReliabilityForCharacters},
    {"minReliability", &LumatrekOcrSettings::u32MinReliability},
    {"minCharWidthStatic", &LumatrekOcrSettings::u32MinCharWidthStatic},
    {"minPlateWidthStatic8Char", &LumatrekOcrSettings::u32MinPlateWidthStatic8Char},
    {"minRecognitionStatic", &LumatrekOcrSettings::u32MinRecognitionStatic},
    {"minRecognition", &LumatrekOcrSettings::u32MinRecognition},
    {"maxNoPlateBeforeDecision", &LumatrekOcrSettings::u32MaxNoPlateBeforeDecision},
};

uint32_t sensorType(const PXRLT_SetConfigRun *psRun)
{
    return psRun->sConfig.u32SensorType;
}

LumatrekAnprConfig *anpr(PXRLT_SetConfigRun *psRun)
{
    return &psRun->sConfig.uBody.sAnpr;
}

LumatrekDgprConfig *dgpr(PXRLT_SetConfigRun *psRun)
{
    return &psRun->sConfig.uBody.sDgpr;
}

// ---- enslavement ----

// The mode asked by enabled and mode, from the configured one; -1 for an unsupported mode.
int32_t askedMode(PXRMsgElement *psEnslavement, int32_t i32Configured, int bDgpr)
{
    int32_t i32Mode = i32Configured;
    int bEnabled = 1;
    const int bHasEnabled = PXRLT_takeBool(psEnslavement, "enabled", &bEnabled);
    if (bHasEnabled && !bEnabled)
        i32Mode = 0;
    else if (bHasEnabled && i32Mode == 0)
        i32Mode = 1;
    int32_t i32Asked = i32Mode;
    if (!PXRLT_takeChoice(psEnslavement, "mode", kEnslaveModes, &i32Asked) || (bHasEnabled && !bEnabled))
        return i32Mode;
    return bDgpr && i32Asked == 2 ? -1 : i32Asked;
}

// The sensor restarts its recognition after a new enslavement mode: wait for it to be ready.
int waitReady(PXRLT_SetConfigRun *psRun)
{
    const uint32_t u32Start = SA_GetTickMs();
    for (;;) {
        LumatrekStatus sStatus;
        memset(&sStatus, 0, sizeof(sStatus));
        if (LumatrekGetStatusV2(psRun->psCommand, &sStatus) == 0 && (sStatus.u32Status & 1u))
            return 1;
        if (SA_ElapsedTime(u32Start, SA_GetTickMs()) >= g_sTiming.u32StatusWaitMs)
            return PXRLT_runFail(psRun, "The sensor did not become ready after the enslavement change");
        SA_Sleep(g_sTiming.u32StatusPollMs);
    }
}

int readEnslaveParams(PXRLT_SetConfigRun *psRun, LumatrekRemoteEnslaveParams *psParams)
{
    LumatrekHandle *psCommand = psRun->psCommand;
    if (!waitReady(psRun))
        return 0;
    LT_lock(psCommand, LT_MUTEX_CONFIG);
    psCommand->au32Received[0] = 0;
    psCommand->au32Received[1] = 0;
    LT_unlock(psCommand, LT_MUTEX_CONFIG);
    for (int i = 0; i < kEnslaveReadTries; i++) {
        if (i > 0)
            SA_Sleep(g_sTiming.u32EnslaveReadGapMs);
        if (LumatrekGetRemoteEnslaveParams(psCommand, psParams) == 0)
            return 1;
    }
    return PXRLT_runFail(psRun, "Unable to LumatrekGetRemoteEnslaveParams");
}

int remoteEnslave(PXRLT_SetConfigRun *psRun, PXRMsgElement *psEnslavement, int32_t i32Mode)
{
    LumatrekRemoteEnslaveParams sParams;
    memset(&sParams, 0, sizeof(sParams));
    if (i32Mode != 0 && !readEnslaveParams(psRun, &sParams))
        return 0;
    int32_t i32Switch = (int32_t)sParams.u32SwitchType;
    int bGiven = PXRLT_takeChoice(psEnslavement, "switchType", kSwitchTypes, &i32Switch);
    sParams.u32SwitchType = (uint32_t)i32Switch;
    bGiven |= PXRLT_takeU32(psEnslavement, "maxTimeWithoutDecisionBeforeReinit_s", &sParams.u32MaxUndecidedS);
    bGiven |= PXRLT_takeU32(psEnslavement, "timeToWaitBeforeElection_s", &sParams.u32ElectionWaitS);
    bGiven |= PXRLT_takeU32(psEnslavement, "plateHysteresis", &sParams.u32PlateHysteresis);
    uint32_t u32Gain = sParams.u16MaxGain;
    if (PXRLT_takeU32(psEnslavement, "gainMax", &u32Gain)) {
        sParams.u16MaxGain = (uint16_t)u32Gain;
        bGiven = 1;
    }
    if (!bGiven)
        return 1;
    PXRLT_runTrace(psRun, "LumatrekSetRemoteEnslaveParams (enslave)");
    return PXRLT_runChecked(psRun, LumatrekSetRemoteEnslaveParams(psRun->psCommand, &sParams));
}

int runEnslavement(PXRLT_SetConfigRun *psRun, PXRMsgElement *psEnslavement)
{
    if (sensorType(psRun) == LUMATREK_SENSOR_ANPR) {
        const int32_t i32Configured = anpr(psRun)->u8EnslavementMode;
        const int32_t i32Mode = askedMode(psEnslavement, i32Configured, 0);
        if (i32Mode != i32Configured) {
            anpr(psRun)->u8EnslavementMode = (uint8_t)i32Mode;
            if (!PXRLT_runSetAnpr(psRun, "LumatrekSetANPRConfigV2 (enslave)"))
                return 0;
        }
        return remoteEnslave(psRun, psEnslavement, i32Mode);
    }
    if (sensorType(psRun) == LUMATREK_SENSOR_DGPR) {
        const int32_t i32Configured = dgpr(psRun)->u8EnslavementMode;
        const int32_t i32Mode = askedMode(psEnslavement, i32Configured, 1);
        if (i32Mode < 0)
            return PXRLT_runFail(psRun, "Embedded enslavement for DGPR is not supported");
        if (i32Mode == i32Configured)
            return 1;
        dgpr(psRun)->u8EnslavementMode = (uint8_t)i32Mode;
        return PXRLT_runSetDgpr(psRun, "LumatrekSetDGPRConfig (enslave)");
    }
    return 1;
}

// ---- recognition settings ----

int sendKgv(PXRLT_SetConfigRun *psRun, PXRMsgElement *psTrigger, const char *pcszName, uint32_t u32Code)
{
    // These stay in the working copy.
    if (!PXRMsgElementAttributeValue(psTrigger, pcszName))
        return 1;
    const uint32_t u32Value = (uint32_t)PXRLT_attributeNumber(psTrigger, pcszName);
    uint8_t au8Payload[4];
    LT_putU32(au8Payload, 0, u32Value);
    return PXRLT_runChecked(psRun,
                            LumatrekSendCommandKGV(psRun->psCommand, u32Code, au8Payload, sizeof(au8Payload), nullptr, 0));
}

int runActivation(PXRLT_SetConfigRun *psRun, PXRMsgElement *psAnpr)
{
    if (!PXRMsgElementAttributeValue(psAnpr, "duplicateFilter") && !PXRMsgElementAttributeValue(psAnpr, "focusAuto"))
        return 1;
    LumatrekActivationConfig sActivation;
    memset(&sActivation, 0, sizeof(sActivation));
    if (LumatrekGetActivationConfig(psRun->psCommand, &sActivation) != 0)
        return PXRLT_runFail(psRun, "LumatrekGetActivationConfig failed");
    int bValue = 0;
    if (PXRLT_takeBool(psAnpr, "duplicateFilter", &bValue))
        sActivation.u32DuplicateFilter = (uint32_t)bValue;
    if (PXRLT_takeBool(psAnpr, "focusAuto", &bValue))
        sActivation.u32AutomaticFocus = (uint32_t)bValue;
    PXRLT_runTrace(psRun, "LumatrekSetActivationConfig");
    // The library keeps the record sent as the connection's copy.
    return PXRLT_runChecked(psRun, LumatrekSetActivationConfig(psRun->psCommand, &sActivation));
}

void takeContext(PXRLT_SetConfigRun *psRun, PXRMsgElement *psAnpr)
{
    char aszContext[sizeof(psRun->aszContext)];
    if (PXRLT_takeText(psAnpr, "context", aszContext, sizeof(aszContext)))
        memcpy(psRun->aszContext, aszContext, sizeof(aszContext));
    int bSquare = 0;
    if (PXRLT_takeBool(psAnpr, "squarePlates", &bSquare) && bSquare && strlen(psRun->aszContext) < kSquarePlatesRoom)
        strcat(psRun->aszContext, "|SQUARE_PLATES");
}

int runAnpr(PXRLT_SetConfigRun *psRun, PXRMsgElement *psAnpr)
{
    if (sensorType(psRun) != LUMATREK_SENSOR_ANPR)
        return PXRLT_runFail(psRun, "This is not an ANPR sensor");
    if (!PXRLT_runSerial(psRun, psAnpr))
        return 0;
    takeContext(psRun, psAnpr);
    int32_t i32Direction = (int32_t)anpr(psRun)->u32Direction;
    PXRLT_takeChoice(psAnpr, "direction", g_asPxrltDirections, &i32Direction);
    anpr(psRun)->u32Direction = (uint32_t)i32Direction;
    if (!PXRLT_runSetAnpr(psRun, "LumatrekSetANPRConfigV2 (anpr)") || !runActivation(psRun, psAnpr))
        return 0;
    PXRMsgElement *psTrigger = PXRMsgElementFirstChild(psAnpr, "trigger");
    if (psTrigger && (!sendKgv(psRun, psTrigger, "reliabilityThreshold", LT_FOURCC('R', 'E', 'L', 'S')) ||
                      !sendKgv(psRun, psTrigger, "endPlateTimeout_ms", LT_FOURCC('E', 'N', 'D', 'S'))))
        return 0;
    PXRMsgElement *psDatabase = PXRMsgElementFirstChild(psAnpr, "database");
    if (psDatabase && !PXRLT_runDatabase(psRun, psDatabase))
        return 0;
    PXRMsgElement *psOcr = PXRMsgElementFirstChild(psAnpr, "ocr");
    return !psOcr || PXRLT_runOcr(psRun, psOcr);
}

int runDgpr(PXRLT_SetConfigRun *psRun, PXRMsgElement *psDgpr)
{
    if (sensorType(psRun) != LUMATREK_SENSOR_DGPR)
        return PXRLT_runFail(psRun, "This is not a DGPR sensor");
    if (!PXRLT_runSerial(psRun, psDgpr))
        return 0;
    LumatrekDgprConfig &sDgpr = *dgpr(psRun);
    int32_t i32Value = (int32_t)sDgpr.u32Direction;
    PXRLT_takeChoice(psDgpr, "direction", g_asPxrltDirections, &i32Value);
    sDgpr.u32Direction = (uint32_t)i32Value;
    int bDetection = 0;
    if (PXRLT_takeBool(psDgpr, "emptyPlatesDetection", &bDetection))
        sDgpr.u32EmptyPlatesDetection = (uint32_t)bDetection;
    i32Value = (int32_t)sDgpr.u32EmptyPlatesRatio;
    PXRLT_takeChoice(psDgpr, "emptyPlatesDetectionRatio", kRatios, &i32Value);
    sDgpr.u32EmptyPlatesRatio = (uint32_t)i32Value;
    if (!PXRLT_runSetDgpr(psRun, "LumatrekSetDGPRConfig (dgpr)"))
        return 0;
    PXRMsgElement *psOcr = PXRMsgElementFirstChild(psDgpr, "ocr");
    return !psOcr || PXRLT_runOcr(psRun, psOcr);
}

int runClassification(PXRLT_SetConfigRun *psRun, PXRMsgElement *psClassification)
{
    if (sensorType(psRun) != LUMATREK_SENSOR_VIDEO_EXTERNAL)
        return PXRLT_runFail(psRun, "This is not a classification sensor");
    PXRMsgElement *psData = PXRMsgElementFirstChild(psClassification, "data");
    if (!psData)
        return 1;
    PXRLT_runTrace(psRun, "LumatrekSetConfigurationData");
    return PXRLT_runChecked(psRun, LumatrekSetConfigurationFile(psRun->psCommand, 0, PXRMsgElementContentSize(psData),
                                                                PXRMsgElementContent(psData)));
}

// An angle in degrees as tenths, the rest of the fraction cut off, whatever the locale.
int takeTenths(PXRMsgElement *psElement, const char *pcszName, int32_t *pi32Tenths)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psElement, pcszName);
    if (!pcszValue)
        return 0;
    const char *pcszEnd = pcszValue + strlen(pcszValue);
    const char *pcszAt = pcszValue;
    while (pcszAt < pcszEnd && (*pcszAt == ' ' || *pcszAt == '\t'))
        pcszAt++;
    const int bNegative = pcszAt < pcszEnd && *pcszAt == '-';
    if (pcszAt < pcszEnd && (*pcszAt == '-' || *pcszAt == '+'))
        pcszAt++;
    int32_t i32Whole = 0;
    const std::from_chars_result sWhole = std::from_chars(pcszAt, pcszEnd, i32Whole);
    int32_t i32Tenth = 0;
    if (sWhole.ptr + 1 < pcszEnd && *sWhole.ptr == '.' && sWhole.ptr[1] >= '0' && sWhole.ptr[1] <= '9')
        i32Tenth = sWhole.ptr[1] - '0';
    const int64_t i64Tenths = (int64_t)i32Whole * 10 + i32Tenth;
    *pi32Tenths = (int32_t)(bNegative ? -i64Tenths : i64Tenths);
    PXRMsgElementRemoveAttribute(psElement, pcszName);
    return 1;
}

int runSpeed(PXRLT_SetConfigRun *psRun, PXRMsgElement *psSpeed)
{
    LumatrekSpeedParams sParams;
    memset(&sParams, 0, sizeof(sParams));
    if (LumatrekGetRemoteSpeedParams(psRun->psCommand, &sParams) != 0)
        return PXRLT_runFail(psRun, "LumatrekGetRemoteSpeedParams failed");
    PXRLT_takeU32(psSpeed, "fieldOfView_cm", &sParams.u32FieldOfViewCm);
    int64_t i64Height = 0;
    if (PXRLT_takeNumber(psSpeed, "installationHeight_cm", &i64Height))
        sParams.i32HeightCm = (int32_t)i64Height;
    takeTenths(psSpeed, "installationAngle_degrees", &sParams.i32AngleTenthDegree);
    PXRLT_runTrace(psRun, "LumatrekSetRemoteSpeedParams");
    return PXRLT_runChecked(psRun, LumatrekSetRemoteSpeedParams(psRun->psCommand, &sParams));
}

int runArea(PXRLT_SetConfigRun *psRun, PXRMsgElement *psArea)
{
    LumatrekAreaOfInterest sArea;
    memset(&sArea, 0, sizeof(sArea));
    uint32_t u32Mode = 0;
    if (LumatrekGetRemoteRecognitionAreaOfInterest(psRun->psCommand, &sArea, &u32Mode) != 0)
        return PXRLT_runFail(psRun, "LumatrekGetRemoteRecognitionAreaOfInterest failed");
    int bValue = 0;
    if (PXRLT_takeBool(psArea, "enabled", &bValue))
        u32Mode = (uint32_t)bValue;
    if (PXRLT_takeBool(psArea, "excludingZone", &bValue))
        sArea.u32Excluding = (uint32_t)bValue;
    PXRLT_takeU32(psArea, "x", &sArea.u32X);
    PXRLT_takeU32(psArea, "y", &sArea.u32Y);
    PXRLT_takeU32(psArea, "width", &sArea.u32Width);
    PXRLT_takeU32(psArea, "height", &sArea.u32Height);
    PXRLT_runTrace(psRun, "LumatrekSetRemoteRecognitionAreaOfInterest");
    return PXRLT_runChecked(psRun, LumatrekSetRemoteRecognitionAreaOfInterest(psRun->psCommand, &sArea, &u32Mode));
}

// ---- pictures and stream ----

uint32_t takeQuality(PXRMsgElement *psElement, uint32_t u32Compression)
{
    uint32_t u32Quality = 0;
    return PXRLT_takeU32(psElement, "quality", &u32Quality) ? kJpegQualityBase - u32Quality : u32Compression;
}

int runStillPicture(PXRLT_SetConfigRun *psRun, PXRMsgElement *psStill)
{
    if (sensorType(psRun) == LUMATREK_SENSOR_ANPR) {
        LumatrekAnprConfig &sAnpr = *anpr(psRun);
        int32_t i32Size = (int32_t)sAnpr.u32StillPictureSize;
        PXRLT_takeChoice(psStill, "size", kStillSizes, &i32Size);
        int bEnabled = 1;
        if (PXRLT_takeBool(psStill, "enabled", &bEnabled) && !bEnabled)
            i32Size = (int32_t)kStillOff;
        sAnpr.u32StillPictureSize = (uint32_t)i32Size;
        sAnpr.u32JpegCompression = takeQuality(psStill, sAnpr.u32JpegCompression);
        return PXRLT_runSetAnpr(psRun, "LumatrekSetANPRConfigV2 (stillPicture)");
    }
    if (sensorType(psRun) == LUMATREK_SENSOR_DGPR) {
        LumatrekDgprConfig &sDgpr = *dgpr(psRun);
        int32_t i32Size = sDgpr.u8StillPictureSize;
        PXRLT_takeChoice(psStill, "size", kStillSizes, &i32Size);
        sDgpr.u8StillPictureSize = (uint8_t)i32Size;
        sDgpr.u32JpegCompression = takeQuality(psStill, sDgpr.u32JpegCompression);
        return PXRLT_runSetDgpr(psRun, "LumatrekSetDGPRConfig (stillPicture)");
    }
    if (sensorType(psRun) != LUMATREK_SENSOR_VIDEO)
        return 1;
    LumatrekLateStackConfig sLateStack = psRun->sLateStack;
    sLateStack.u32JpegCompression = takeQuality(psStill, sLateStack.u32JpegCompression);
    PXRLT_runTrace(psRun, "LumatrekSetRemoteLateStackConfig (stillPicture)");
    return PXRLT_runChecked(psRun, LumatrekSetRemoteLateStackConfig(psRun->psCommand, &sLateStack));
}

// The recognition stream of ANPR and DGPR sensors: bitrate and frame-skip code.
void recognitionStream(PXRMsgElement *psStream, uint32_t *pu32Bitrate, int32_t *pi32Skip)
{
    PXRMsgElementRemoveAttribute(psStream, "codec");
    PXRMsgElementRemoveAttribute(psStream, "size");
    PXRLT_takeU32(psStream, "bitrate", pu32Bitrate);
    int bEnabled = 1;
    if (PXRLT_takeBool(psStream, "enabled", &bEnabled)) {
        *pi32Skip = bEnabled ? 0 : -1;
        if (!bEnabled)
            PXRMsgElementRemoveAttribute(psStream, "fps");
    }
    uint32_t u32Fps = 0;
    if (PXRLT_takeU32(psStream, "fps", &u32Fps))
        *pi32Skip = PXRLT_fpsToSkipCode((int)u32Fps);
}

int runVideoStream(PXRLT_SetConfigRun *psRun, PXRMsgElement *psStream)
{
    int32_t i32Codec = (int32_t)psRun->sBoard.u32StreamCodec;
    if (PXRLT_takeChoice(psStream, "codec", kCodecs, &i32Codec)) {
        psRun->sBoard.u32StreamCodec = (uint32_t)i32Codec;
        PXRLT_runTrace(psRun, "LumatrekSetBoardConfig (stream)");
        if (!PXRLT_runChecked(psRun, LumatrekSetBoardConfig(psRun->psCommand, &psRun->sBoard)))
            return 0;
    }
    LumatrekMpegConfig sMpeg = psRun->sConfig.uBody.sMpeg;
    const char *pcszSize = PXRMsgElementAttributeValue(psStream, "size");
    if (PXRMsgStringEqual(pcszSize, "720x288") || PXRMsgStringEqual(pcszSize, "352x288")) {
        sMpeg.u32Width = PXRMsgStringEqual(pcszSize, "720x288") ? 720 : 352;
        sMpeg.u32Height = 288;
    }
    PXRMsgElementRemoveAttribute(psStream, "size");
    PXRLT_takeU32(psStream, "bitrate", &sMpeg.u32Bitrate);
    uint32_t u32Fps = 0;
    if (PXRLT_takeU32(psStream, "fps", &u32Fps)) {
        if ((int)u32Fps == kFullRateFps && sMpeg.u32Width == kFullRateWidth) {
            sMpeg.u32Height = kFullRateHeight;
            sMpeg.u32FrameSkip = 0;
        } else {
            sMpeg.u32FrameSkip = (uint32_t)PXRLT_fpsToSkipCode((int)u32Fps);
        }
    }
    // The group of pictures means something only to the JPEG codec; with MPEG it is reported.
    if (psRun->sBoard.u32StreamCodec == 1)
        PXRLT_takeU32(psStream, "gop", &sMpeg.u32Gop);
    PXRLT_runTrace(psRun, "LumatrekSetMPEGConfigV2 (stream)");
    return PXRLT_runChecked(psRun, LumatrekSetMPEGConfigV2(psRun->psCommand, 0, sMpeg.u32Width, sMpeg.u32Height,
                                                           sMpeg.u32Bitrate, sMpeg.u32Gop, sMpeg.u32FrameSkip));
}

int runStream(PXRLT_SetConfigRun *psRun, PXRMsgElement *psStream)
{
    switch (sensorType(psRun)) {
    case LUMATREK_SENSOR_ANPR:
        recognitionStream(psStream, &anpr(psRun)->u32StreamBitrate, &anpr(psRun)->i32StreamFrameSkip);
        return PXRLT_runSetAnpr(psRun, "LumatrekSetANPRConfigV2 (stream)");
    case LUMATREK_SENSOR_DGPR:
        recognitionStream(psStream, &dgpr(psRun)->u32StreamBitrate, &dgpr(psRun)->i32StreamFrameSkip);
        return PXRLT_runSetDgpr(psRun, "LumatrekSetDGPRConfig (stream)");
    case LUMATREK_SENSOR_VIDEO:
    case LUMATREK_SENSOR_VIDEO_EXTERNAL:
        return runVideoStream(psRun, psStream);
    default:
        return 1;
    }
}

int runAutoExposure(PXRLT_SetConfigRun *psRun, PXRMsgElement *psExposure)
{
    LumatrekHandle *psCommand = psRun->psCommand;
    int bShutter = 0;
    if (PXRLT_takeBool(psExposure, "shutterPriority", &bShutter)) {
        // The library keeps the mode sent as the connection's shutter-priority copy.
        PXRLT_runTrace(psRun, bShutter ? "LumatrekSetShutterMode" : "LumatrekSetManualMode");
        if (!PXRLT_runChecked(psRun, bShutter ? LumatrekSetShutterMode(psCommand)
                                              : LumatrekSetManualMode(psCommand, nullptr, nullptr)))
            return 0;
    }
    int32_t i32Speed = -1;
    if (PXRLT_takeChoice(psExposure, "reactionSpeed", kReactionSpeeds, &i32Speed) && i32Speed >= 0) {
        PXRLT_runTrace(psRun, "LumatrekSetAEResponseSpeed");
        if (!PXRLT_runChecked(psRun, LumatrekSetAEResponseSpeed(psCommand, (uint32_t)i32Speed)))
            return 0;
    }
    int32_t i32Switch = -1;
    if (PXRLT_takeChoice(psExposure, "switchType", kAutoSwitchTypes, &i32Switch) && i32Switch >= 0) {
        PXRLT_runTrace(psRun, "LumatrekSetRemoteEnslaveSwitchType");
        if (!PXRLT_runChecked(psRun, LumatrekSetRemoteEnslaveSwitchType(psCommand, (uint32_t)i32Switch)))
            return 0;
    }
    return 1;
}

int enslaved(PXRLT_SetConfigRun *psRun)
{
    switch (sensorType(psRun)) {
    case LUMATREK_SENSOR_ANPR:
        return anpr(psRun)->u8EnslavementMode != 0;
    case LUMATREK_SENSOR_DGPR:
        return dgpr(psRun)->u8EnslavementMode != 0;
    default:
        return PXRLT_commandShutterPriority(psRun->psCommand) != 0;
    }
}

typedef int (*CameraSection)(PXRLT_SetConfigRun *psRun, PXRMsgElement *psElement);

const struct {
    const char *pcszName;
    CameraSection rSection;
} kCameraSections[] = {
    {"enslavement", &runEnslavement}, {"anpr", &runAnpr},
    {"areaOfInterest", &runArea},     {"speed", &runSpeed},
    {"dgpr", &runDgpr},               {"classification", &runClassification},
    {"stillPicture", &runStillPicture}, {"stream", &runStream},
    {"autoExposure", &runAutoExposure},
};

} // namespace

PXRLT_SetConfigTiming *PXRLT_setConfigTiming(void)
{
    return &g_sTiming;
}

void PXRLT_resetSetConfigTiming(void)
{
    g_sTiming = kDefaultTiming;
}

int PXRLT_runSetAnpr(PXRLT_SetConfigRun *psRun, const char *pcszTrace)
{
    const LumatrekAnprConfig &sAnpr = *anpr(psRun);
    PXRLT_runTrace(psRun, "%s", pcszTrace);
    return PXRLT_runChecked(psRun, LumatrekSetANPRConfigV2(psRun->psCommand, sAnpr.aszUniqueName, sAnpr.u32JpegCompression,
                                                           sAnpr.u32StillPictureSize, psRun->aszContext,
                                                           sAnpr.u32Direction, sAnpr.u32StreamBitrate,
                                                           sAnpr.i32StreamFrameSkip, sAnpr.u8EnslavementMode));
}

int PXRLT_runSetDgpr(PXRLT_SetConfigRun *psRun, const char *pcszTrace)
{
    const LumatrekDgprConfig &sDgpr = *dgpr(psRun);
    PXRLT_runTrace(psRun, "%s", pcszTrace);
    return PXRLT_runChecked(psRun, LumatrekSetDGPRConfig(psRun->psCommand, sDgpr.u32Direction, sDgpr.u32StreamBitrate,
                                                         sDgpr.i32StreamFrameSkip, sDgpr.u8EnslavementMode,
                                                         sDgpr.u32JpegCompression, sDgpr.u8StillPictureSize,
                                                         sDgpr.u32EmptyPlatesDetection, sDgpr.u32EmptyPlatesRatio));
}

int PXRLT_runSerial(PXRLT_SetConfigRun *psRun, PXRMsgElement *psParent)
{
    PXRMsgElement *psSerial = PXRMsgElementFirstChild(psParent, "serial");
    if (!psSerial)
        return 1;
    int32_t i32Mode = (int32_t)psRun->sBoard.u32SerialExportMode;
    PXRLT_takeChoice(psSerial, "rs232Export", kExportModes, &i32Mode);
    psRun->sBoard.u32SerialExportMode = (uint32_t)i32Mode;
    PXRLT_runTrace(psRun, "LumatrekSetBoardConfig");
    return PXRLT_runChecked(psRun, LumatrekSetBoardConfig(psRun->psCommand, &psRun->sBoard));
}

int PXRLT_runOcr(PXRLT_SetConfigRun *psRun, PXRMsgElement *psOcr)
{
    LumatrekOcrSettings sOcr;
    memset(&sOcr, 0, sizeof(sOcr));
    if (LumatrekGetRemoteOcrSettings(psRun->psCommand, &sOcr) != 0)
        return PXRLT_runFail(psRun, "LumatrekGetRemoteOcrConfig failed");
    for (const auto &sField : kOcrFields)
        PXRLT_takeU32(psOcr, sField.pcszName, &(sOcr.*sField.pu32Field));
    PXRLT_runTrace(psRun, "LumatrekSetRemoteOcrConfig");
    return PXRLT_runChecked(psRun, LumatrekSetRemoteOcrSettings(psRun->psCommand, &sOcr));
}

int PXRLT_runCamera(PXRLT_SetConfigRun *psRun, PXRMsgElement *psCamera)
{
    for (const auto &sSection : kCameraSections) {
        PXRMsgElement *psElement = PXRMsgElementFirstChild(psCamera, sSection.pcszName);
        if (psElement && !sSection.rSection(psRun, psElement))
            return 0;
    }
    const int bEnslaved = enslaved(psRun);
    PXRLT_runTrace(psRun, bEnslaved ? "Enslavement is enabled" : "Enslavement is disabled");
    PXRMsgElement *psOptics = PXRMsgElementFirstChild(psCamera, "optics");
    return !psOptics || PXRLT_runOptics(psRun, psOptics, bEnslaved);
}

} // extern "C"
