/* The configuration tree (`config`) of a legacy sensor, built from what its light connection has
 * cached: device, network, the camera's recognition, stream and optics settings, lighting,
 * database, inputs and outputs, master and slave. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Lumatrek_Internal.h"
#include "PXRLT_Internal.h"

namespace {

const uint32_t kCameraCodeBits = 0x00FFFFFFu;
const uint32_t kLedBoardBits = 0x3F000000u;
const uint32_t kDiscoverPortSkipped = 32023;
const uint32_t kDiscoverClients = 4;

// What the builders read, copied once so that a camera change mid-way cannot mix two states.
struct Source {
    LumatrekHandle *psLight;
    const LumatrekConfig *psConfig;
    LumatrekCameraConfig sCamera;
    uint32_t u32CameraCode;
    int bExtended;
};

int held(const Source &s, uint32_t u32Bit)
{
    return LT_isHeld(s.psLight, u32Bit);
}

int heldSecond(const Source &s, uint32_t u32Bit)
{
    return (s.psLight->au32Received[1] & u32Bit) != 0;
}

PXRMsgElement *addWithId(PXRMsgElement *psParent, const char *pcszName)
{
    PXRMsgElement *psChild = PXRLT_addChild(psParent, pcszName);
    PXRMsgElementSetAttribute(psChild, "id", "0");
    return psChild;
}

void setCode(PXRMsgElement *psElement, const char *pcszName, uint32_t u32Code, const char *const *ppcszNames,
             uint32_t u32Count)
{
    if (u32Code < u32Count && ppcszNames[u32Code])
        PXRMsgElementSetAttribute(psElement, pcszName, ppcszNames[u32Code]);
}

void setDirection(PXRMsgElement *psElement, uint32_t u32Direction)
{
    static const char *const apcszDirections[] = {nullptr, "front", "rear", "both"};
    setCode(psElement, "direction", u32Direction, apcszDirections, 4);
}

const char *enslavementName(uint32_t u32Mode)
{
    static const char *const apcszModes[] = {nullptr, "freeFlow", "embedded", "accessControl", "urbanFreeFlow"};
    return u32Mode < 5 ? apcszModes[u32Mode] : nullptr;
}

// ---- device and network ----

void fillNetwork(PXRMsgElement *psConfig, const Source &s)
{
    const LumatrekIpConfig &sIp = s.psConfig->sIp;
    PXRMsgElement *psNetwork = PXRLT_addChild(psConfig, "network");
    PXRMsgElement *psInterface = addWithId(psNetwork, "interface");
    PXRMsgElementSetAttributeBool(psInterface, "dhcp", sIp.u32Dhcp != 0);
    PXRMsgElementSetAttribute(psInterface, "ipAddress", sIp.aszAddress);
    PXRMsgElementSetAttribute(psInterface, "ipMask", sIp.aszMask);
    PXRMsgElementSetAttribute(psInterface, "ipGateway", sIp.aszGateway);
    PXRMsgElement *psKgv = PXRLT_addChild(psNetwork, "kgv");
    const struct {
        const char *pcszName;
        uint32_t u32Port;
    } asPorts[] = {{"port", sIp.u32StreamPort}, {"commandPort", sIp.u32CommandPort}, {"timePort", sIp.u32TimePort}};
    for (const auto &sPort : asPorts)
        if (sPort.u32Port != 0)
            PXRMsgElementSetAttributeUInt(psKgv, sPort.pcszName, sPort.u32Port);
    PXRMsgElementSetAttributeUInt(psKgv, "timeout_ms", sIp.u32TimeoutMs);
    PXRMsgElementSetAttribute(PXRLT_addChild(psNetwork, "dns"), "dns0", sIp.aszDns);
    if (!held(s, LT_RECEIVED_UNICAST))
        return;
    PXRMsgElement *psDiscover = PXRLT_addChild(psNetwork, "unicastDiscover");
    uint32_t u32Client = 0;
    for (uint32_t i = 0; i < s.psLight->u32DiscoverCount && s.psLight->psDiscover && u32Client < kDiscoverClients; ++i) {
        const LumatrekDiscoverAddress &sEntry = s.psLight->psDiscover[i];
        if (sEntry.u32Port == kDiscoverPortSkipped)
            continue;
        char aszName[8];
        snprintf(aszName, sizeof(aszName), "client%u", u32Client++);
        PXRMsgElement *psClient = PXRLT_addChild(psDiscover, aszName);
        PXRMsgElementSetAttribute(psClient, "address", sEntry.aszAddress);
        PXRMsgElementSetAttributeUInt(psClient, "port", sEntry.u32Port);
    }
    for (; u32Client < kDiscoverClients; ++u32Client) {
        char aszName[8];
        snprintf(aszName, sizeof(aszName), "client%u", u32Client);
        PXRMsgElement *psClient = PXRLT_addChild(psDiscover, aszName);
        PXRMsgElementSetAttribute(psClient, "address", "");
        PXRMsgElementSetAttributeInt(psClient, "port", 0);
    }
}

// ---- camera: stream, still picture, recognition ----

void fillRecognitionStream(PXRMsgElement *psCamera, uint32_t u32Bitrate, int32_t i32FrameSkip)
{
    PXRMsgElement *psStream = PXRLT_addChild(psCamera, "stream");
    PXRMsgElementSetAttribute(psStream, "codec", "jpeg");
    PXRMsgElementSetAttribute(psStream, "size", "352x288");
    PXRMsgElementSetAttributeInt(psStream, "fps", PXRLT_skipCodeToFps25(i32FrameSkip));
    PXRMsgElementSetAttributeUInt(psStream, "bitrate", u32Bitrate);
    PXRMsgElementSetAttributeBool(psStream, "enabled", i32FrameSkip != -1);
}

void setQuality(PXRMsgElement *psStill, uint32_t u32Compression)
{
    PXRMsgElementSetAttributeUInt(psStill, "quality", 34u - u32Compression);
}

void fillContext(PXRMsgElement *psElement, const char *pcszContext)
{
    char aszContext[sizeof(LumatrekAnprConfig::aszContext)];
    snprintf(aszContext, sizeof(aszContext), "%s", pcszContext);
    int bSquare = 0;
    PXRLT_removeSquarePlates(aszContext, &bSquare);
    PXRMsgElementSetAttributeBool(psElement, "squarePlates", bSquare);
    PXRMsgElementSetAttribute(psElement, "context", aszContext);
}

void fillOcr(PXRMsgElement *psElement, const Source &s)
{
    if (!held(s, LT_RECEIVED_OCR))
        return;
    PXRMsgElement *psOcr = PXRLT_createOcrElement(&s.psLight->sOcr, s.psConfig->u32SensorType);
    if (psOcr && !PXRMsgElementAddChild(psElement, psOcr))
        PXRMsgElementDestroy(psOcr);
}

// Enslavement by the mode; the switch type from the enslave parameters when wanted.
void fillEnslavement(PXRMsgElement *psCamera, const Source &s, uint32_t u32Mode, int bSwitchType, int bTimings)
{
    if (s.u32CameraCode == 0)
        return;
    PXRMsgElement *psEnslavement = PXRLT_addChild(psCamera, "enslavement");
    PXRMsgElementSetAttributeBool(psEnslavement, "enabled", u32Mode != 0);
    if (u32Mode != 0) {
        if (enslavementName(u32Mode))
            PXRMsgElementSetAttribute(psEnslavement, "mode", enslavementName(u32Mode));
    } else {
        PXRMsgElementSetAttribute(psEnslavement, "mode", "freeFlow");
        if (bSwitchType)
            PXRMsgElementSetAttribute(psEnslavement, "switchType", "manual");
    }
    if (!bSwitchType || !held(s, LT_RECEIVED_REMOTE_ENSLAVE))
        return;
    const LumatrekRemoteEnslaveParams &sParams = s.psLight->sRemoteEnslave;
    static const char *const apcszSwitch[] = {"manual", "infrared", "whiteLight"};
    setCode(psEnslavement, "switchType", sParams.u32SwitchType, apcszSwitch, 3);
    if (!bTimings || !PXRLT_firmwareAtLeast(s.psLight, 6, 4, 0))
        return;
    PXRMsgElementSetAttributeUInt(psEnslavement, "maxTimeWithoutDecisionBeforeReinit_s", sParams.u32MaxUndecidedS);
    PXRMsgElementSetAttributeUInt(psEnslavement, "timeToWaitBeforeElection_s", sParams.u32ElectionWaitS);
    PXRMsgElementSetAttributeUInt(psEnslavement, "plateHysteresis", sParams.u32PlateHysteresis);
    PXRMsgElementSetAttributeUInt(psEnslavement, "gainMax", sParams.u16MaxGain);
}

void fillAreaAndSpeed(PXRMsgElement *psCamera, const Source &s)
{
    const LumatrekActivationConfig &sActivation = s.psLight->sActivation;
    if (held(s, LT_RECEIVED_AREA)) {
        const LumatrekAreaOfInterest &sArea = s.psLight->sArea;
        PXRMsgElement *psArea = PXRLT_addChild(psCamera, "areaOfInterest");
        PXRMsgElementSetAttributeBool(psArea, "enabled", sActivation.u32AreaOfInterest != 0);
        PXRMsgElementSetAttributeBool(psArea, "excludingZone", sArea.u32Excluding != 0);
        PXRMsgElementSetAttributeUInt(psArea, "x", sArea.u32X);
        PXRMsgElementSetAttributeUInt(psArea, "y", sArea.u32Y);
        PXRMsgElementSetAttributeUInt(psArea, "width", sArea.u32Width);
        PXRMsgElementSetAttributeUInt(psArea, "height", sArea.u32Height);
    }
    if (!sActivation.u32SpeedMeasure || !held(s, LT_RECEIVED_SPEED))
        return;
    const LumatrekSpeedParams &sSpeed = s.psLight->sSpeed;
    PXRMsgElement *psSpeed = PXRLT_addChild(psCamera, "speed");
    PXRMsgElementSetAttributeUInt(psSpeed, "fieldOfView_cm", sSpeed.u32FieldOfViewCm);
    if (sSpeed.i32HeightCm == -1)
        return;
    PXRMsgElementSetAttributeInt(psSpeed, "installationHeight_cm", sSpeed.i32HeightCm);
    // Tenths written out with integers: the decimal point stays a point whatever the locale.
    const int64_t i64Tenths = sSpeed.i32AngleTenthDegree;
    const int64_t i64Magnitude = i64Tenths < 0 ? -i64Tenths : i64Tenths;
    char aszAngle[24];
    snprintf(aszAngle, sizeof(aszAngle), "%s%lld.%lld", i64Tenths < 0 ? "-" : "", (long long)(i64Magnitude / 10),
             (long long)(i64Magnitude % 10));
    PXRMsgElementSetAttribute(psSpeed, "installationAngle_degrees", aszAngle);
}

void fillTrigger(PXRMsgElement *psAnpr, const Source &s)
{
    const int bReliability = heldSecond(s, LT_RECEIVED_RELIABILITY);
    const int bPlateEnd = heldSecond(s, LT_RECEIVED_PLATE_END);
    if ((!bReliability && !bPlateEnd) || !s.psLight->psStream)
        return;
    PXRMsgElement *psTrigger = PXRMsgElementFirstChild(psAnpr, "trigger");
    if (!psTrigger)
        psTrigger = PXRLT_addChild(psAnpr, "trigger");
    if (bReliability)
        PXRMsgElementSetAttributeInt(psTrigger, "reliabilityThreshold", (int32_t)s.psLight->psStream->u32Reliability);
    if (bPlateEnd)
        PXRMsgElementSetAttributeInt(psTrigger, "endPlateTimeout_ms", (int32_t)s.psLight->psStream->u32PlateEnd);
}

void fillAnpr(PXRMsgElement *psConfig, PXRMsgElement *psCamera, const Source &s)
{
    const LumatrekAnprConfig &sAnpr = s.psConfig->uBody.sAnpr;
    PXRMsgElement *psAnpr = PXRLT_addChild(psCamera, "anpr");
    PXRMsgElement *psStill = PXRLT_addChild(psCamera, "stillPicture");
    fillRecognitionStream(psCamera, sAnpr.u32StreamBitrate, sAnpr.i32StreamFrameSkip);
    if (sAnpr.u32StillPictureSize == 15) {
        PXRMsgElementSetAttribute(psStill, "enabled", "0");
        PXRMsgElementSetAttribute(psStill, "size", "352x288");
    } else if (sAnpr.u32StillPictureSize == 31 || sAnpr.u32StillPictureSize == 240) {
        if (PXRLT_firmwareAtLeast(s.psLight, 6, 4, 0))
            PXRMsgElementSetAttribute(psStill, "enabled", "1");
        PXRMsgElementSetAttribute(psStill, "size", sAnpr.u32StillPictureSize == 31 ? "352x288" : "720x288");
    }
    setQuality(psStill, sAnpr.u32JpegCompression);
    fillContext(psAnpr, sAnpr.aszContext);
    setDirection(psAnpr, sAnpr.u32Direction);
    if (s.bExtended) {
        PXRMsgElementSetAttributeBool(psAnpr, "duplicateFilter", s.psLight->sActivation.u32DuplicateFilter != 0);
        PXRMsgElementSetAttributeBool(psAnpr, "focusAuto", s.psLight->sActivation.u32AutomaticFocus != 0);
        fillAreaAndSpeed(psCamera, s);
    }
    if (held(s, LT_RECEIVED_DATABASE)) {
        const LumatrekDataBaseConfig &sDataBase = s.psLight->sDataBase;
        PXRMsgElement *psDataBase = PXRLT_addChild(psConfig, "database");
        PXRMsgElementSetAttributeBool(psDataBase, "enabled", sDataBase.u32Mode != 0);
        PXRMsgElementSetAttributeBool(psDataBase, "openForAll", sDataBase.u32Mode == 2);
        PXRMsgElementSetAttributeUInt(psDataBase, "matchTolerance", sDataBase.u8MatchTolerance);
    }
    fillOcr(psAnpr, s);
    fillTrigger(psAnpr, s);
    fillEnslavement(psCamera, s, sAnpr.u8EnslavementMode, 1, 1);
}

void fillDgpr(PXRMsgElement *psCamera, const Source &s)
{
    const LumatrekDgprConfig &sDgpr = s.psConfig->uBody.sDgpr;
    PXRMsgElement *psDgpr = PXRLT_addChild(psCamera, "dgpr");
    PXRMsgElement *psStill = PXRLT_addChild(psCamera, "stillPicture");
    fillRecognitionStream(psCamera, sDgpr.u32StreamBitrate, sDgpr.i32StreamFrameSkip);
    setDirection(psDgpr, sDgpr.u32Direction);
    if (sDgpr.u32EmptyPlatesRatio != 0) {
        const uint32_t u32Ratio = sDgpr.u32EmptyPlatesRatio;
        PXRMsgElementSetAttribute(psDgpr, "emptyPlatesDetectionRatio",
                                  u32Ratio == 4 ? "high" : u32Ratio == 10 ? "low" : "average");
        PXRMsgElementSetAttributeBool(psDgpr, "emptyPlatesDetection", sDgpr.u32EmptyPlatesDetection != 0);
    }
    PXRMsgElementSetAttribute(psStill, "size", sDgpr.u8StillPictureSize == 240 ? "720x288" : "352x288");
    setQuality(psStill, sDgpr.u32JpegCompression);
    fillOcr(psDgpr, s);
    fillEnslavement(psCamera, s, sDgpr.u8EnslavementMode, 0, 0);
}

void fillSignature(PXRMsgElement *psCamera, const Source &s)
{
    const LumatrekSignatureConfig &sSignature = s.psConfig->uBody.sSignature;
    PXRMsgElement *psElement = PXRLT_addChild(psCamera, "signature");
    PXRMsgElement *psStill = PXRLT_addChild(psCamera, "stillPicture");
    fillRecognitionStream(psCamera, sSignature.u32StreamBitrate, sSignature.i32StreamFrameSkip);
    PXRMsgElementSetAttribute(psStill, "size", "352x288");
    setQuality(psStill, sSignature.u32JpegCompression);
    fillContext(psElement, sSignature.aszContext);
    setDirection(psElement, sSignature.u32Direction);
    fillOcr(psElement, s);
    if (held(s, LT_RECEIVED_SIGNATURE_PICTURE) && s.psLight->psStream) {
        PXRMsgElementSetAttributeUInt(psElement, "imageWidth", s.psLight->psStream->sSignaturePicture.u32Width);
        PXRMsgElementSetAttributeUInt(psElement, "imageHeight", s.psLight->psStream->sSignaturePicture.u32Height);
    }
    // A signature record has no enslavement mode: shown as off.
    fillEnslavement(psCamera, s, 0, 1, 0);
}

void fillVideo(PXRMsgElement *psCamera, const Source &s)
{
    const LumatrekMpegConfig &sMpeg = s.psConfig->uBody.sMpeg;
    PXRMsgElement *psStream = PXRLT_addChild(psCamera, "stream");
    PXRMsgElementSetAttribute(psStream, "codec", s.psLight->sBoard.u32StreamCodec ? "jpeg" : "mpeg");
    PXRMsgElementSetAttributeUInt(psStream, "gop", sMpeg.u32Gop);
    if (sMpeg.u32Height == 576) {
        PXRMsgElementSetAttribute(psStream, "size", "720x288");
        PXRMsgElementSetAttributeInt(psStream, "fps", PXRLT_skipCodeToFps50((int)sMpeg.u32FrameSkip));
    } else {
        char aszSize[24];
        snprintf(aszSize, sizeof(aszSize), "%ux%u", sMpeg.u32Width, sMpeg.u32Height);
        PXRMsgElementSetAttribute(psStream, "size", aszSize);
        PXRMsgElementSetAttributeInt(psStream, "fps", PXRLT_skipCodeToFps25((int)sMpeg.u32FrameSkip));
    }
    PXRMsgElementSetAttributeUInt(psStream, "bitrate", sMpeg.u32Bitrate);
    if (held(s, LT_RECEIVED_LATE_STACK) && s.psLight->sLateStack.u32Enabled)
        setQuality(PXRLT_addChild(psCamera, "stillPicture"), s.psLight->sLateStack.u32JpegCompression);
    if (s.u32CameraCode != 0 && held(s, LT_RECEIVED_REMOTE_ENSLAVE)) {
        PXRMsgElement *psExposure = PXRLT_addChild(psCamera, "autoExposure");
        PXRMsgElementSetAttributeBool(psExposure, "shutterPriority", s.sCamera.u32ManualMode != 0);
        if (PXRLT_firmwareAtLeast(s.psLight, 6, 0, 11) && s.u32CameraCode == 0x20044F) {
            const uint32_t u32Speed = s.sCamera.u32AeResponseSpeed;
            PXRMsgElementSetAttribute(psExposure, "reactionSpeed",
                                      u32Speed == 1 ? "fast" : u32Speed == 32 ? "slow" : "normal");
        }
        const uint32_t u32Switch = s.psLight->sRemoteEnslave.u32SwitchType;
        if (PXRLT_firmwareAtLeast(s.psLight, 6, 1, 3) &&
            (s.u32CameraCode == 0x20044F || s.u32CameraCode == 0x200435) && (u32Switch == 0 || u32Switch == 3))
            PXRMsgElementSetAttribute(psExposure, "switchType", u32Switch == 0 ? "manual" : "auto");
    }
    if (s.psConfig->u32SensorType != LUMATREK_SENSOR_VIDEO_EXTERNAL)
        return;
    PXRMsgElement *psData = PXRLT_addChild(PXRLT_addChild(psCamera, "classification"), "data");
    if (held(s, LT_RECEIVED_EXTERNAL) && s.psLight->asData[0].pu8Data)
        PXRMsgElementSetContentBinary(psData, s.psLight->asData[0].pu8Data, s.psLight->asData[0].u32Size);
}

// ---- optics, lighting, inputs and outputs, slaves ----

int fillOptics(PXRMsgElement *psCamera, const Source &s)
{
    const LumatrekCameraConfig &sCamera = s.sCamera;
    if (!held(s, LT_RECEIVED_CAMERA) || sCamera.u32Shutter == 0)
        return 0;
    PXRMsgElement *psOptics = PXRLT_addChild(psCamera, "optics");
    PXRMsgElementSetAttributeUInt(psOptics, "zoom", sCamera.u32Zoom);
    // Codes outside the tables have no name: the attribute is left out.
    PXRMsgElementSetAttribute(psOptics, "shutter",
                              PXRLT_valueName(g_apcszPxrltShutter, (int32_t)sCamera.u32Shutter - PXRLT_SHUTTER_FIRST_CODE));
    if (s.psConfig->u32SensorType == LUMATREK_SENSOR_VIDEO)
        PXRMsgElementSetAttributeUInt(psOptics, "expComp", (uint32_t)sCamera.i32ExposureCompensation);
    PXRMsgElementSetAttribute(psOptics, "iris", PXRLT_valueName(g_apcszPxrltIris, (int32_t)sCamera.u32Iris));
    PXRMsgElementSetAttribute(psOptics, "gain", PXRLT_valueName(g_apcszPxrltGain, (int32_t)sCamera.u32Gain));
    if (PXRLT_hasFlip(s.psLight))
        PXRMsgElementSetAttributeBool(psOptics, "flip", sCamera.u32Flip != 0);
    PXRMsgElementSetAttributeBool(psOptics, "autofocus", sCamera.u32Autofocus != 0);
    PXRMsgElementSetAttributeBool(psOptics, "infoDisplay", sCamera.u32InfoDisplay != 0);
    PXRMsgElementSetAttributeBool(psOptics, "macro", sCamera.u32MacroMode != 0);
    if (!PXRLT_hasFocusToSave(s.psConfig)) {
        PXRMsgElementSetAttributeUInt(psOptics, "focusIRCutOff", sCamera.u32Focus);
        return 1;
    }
    PXRMsgElementSetAttribute(psOptics, "irCutFilter", sCamera.u32IrCut ? "on" : "off");
    if (held(s, LT_RECEIVED_FOCUS) && s.psLight->psStream) {
        PXRMsgElementSetAttributeUInt(psOptics, "focusIRCutOn", s.psLight->psStream->au32Focus[0]);
        PXRMsgElementSetAttributeUInt(psOptics, "focusIRCutOff", s.psLight->psStream->au32Focus[1]);
    } else {
        PXRMsgElementSetAttributeUInt(psOptics, sCamera.u32IrCut ? "focusIRCutOn" : "focusIRCutOff", sCamera.u32Focus);
    }
    return 1;
}

void fillLighting(PXRMsgElement *psLightings, const Source &s, int bOptics)
{
    LumatrekHandle *psLight = s.psLight;
    if (s.psConfig->u32CameraWord & kLedBoardBits) {
        PXRMsgElement *psLed = addWithId(psLightings, "led");
        if (bOptics || s.u32CameraCode != 0)
            PXRMsgElementSetAttributeUInt(psLed, "power", s.sCamera.u32LedPower1);
        if (held(s, LT_RECEIVED_BRACKETING) && PXRLT_checkModelAndBuild(psLight)) {
            PXRMsgElementSetAttributeBool(psLed, "bracketing", psLight->au32Bracketing[0] != 0);
            PXRMsgElementSetAttributeUInt(psLed, "powerLowBracketing", psLight->au32Bracketing[1]);
        }
        if (held(s, LT_RECEIVED_ECO) && PXRLT_checkPindrel2Level(psLight))
            PXRMsgElementSetAttributeBool(psLed, "ecoMode", psLight->u32EcoMode != 0);
    } else if (held(s, LT_RECEIVED_CAMERA)) {
        PXRMsgElementSetAttribute(psLightings, "shutterSynchronization",
                                  s.sCamera.u32SynchroMode ? "inPhase" : "outOfPhase");
    }
    const LumatrekLedExternalTriggerConfig &sTrigger = psLight->sLedTrigger;
    if (!held(s, LT_RECEIVED_LED_TRIGGER) || sTrigger.u32ProjectorPresent == 0)
        return;
    PXRMsgElement *psProjector = addWithId(psLightings, "projector");
    PXRMsgElementSetAttributeBool(psProjector, "enabled", sTrigger.u32Enabled != 0);
    PXRMsgElementSetAttributeUInt(psProjector, "delay", sTrigger.u32Delay);
    PXRMsgElementSetAttributeUInt(psProjector, "width", sTrigger.u32Width);
    PXRMsgElementSetAttributeBool(psProjector, "bracketing", sTrigger.u32Bracketing != 0);
}

void fillIo(PXRMsgElement *psConfig, const Source &s)
{
    static const char *const apcszModes[] = {"off", "input", "output"};
    PXRMsgElement *psIo = PXRLT_addChild(psConfig, "io");
    setCode(psIo, "mode", s.psLight->sBoard.u32IoMode, apcszModes, 3);
    if (s.psConfig->u32SensorType != LUMATREK_SENSOR_ANPR || !held(s, LT_RECEIVED_DATABASE))
        return;
    PXRMsgElement *psImpulse = PXRLT_addChild(psIo, "defaultImpulse");
    PXRMsgElementSetAttribute(psImpulse, "pulseMode", s.psLight->sDataBase.u32RisingEdge ? "rising" : "falling");
    PXRMsgElementSetAttributeUInt(psImpulse, "duration_ms", s.psLight->sDataBase.u32ImpulseDurationMs);
}

// A zone's sign is its side (negative left), its magnitude its width.
void fillSlave(PXRMsgElement *psSlave, const uint8_t *pu8Mac, int32_t i32Zone, int bLeft)
{
    PXRLT_setMacAttribute(psSlave, "macAddress", pu8Mac);
    PXRMsgElementSetAttribute(psSlave, "position", bLeft ? "left" : "right");
    PXRMsgElementSetAttributeUInt(psSlave, "coveringZone", i32Zone < 0 ? 0u - (uint32_t)i32Zone : (uint32_t)i32Zone);
}

void fillSlaves(PXRMsgElement *psConfig, const Source &s)
{
    if (s.psConfig->u32SensorType != LUMATREK_SENSOR_ANPR || !held(s, LT_RECEIVED_MASTER_PARAMETERS))
        return;
    PXRMsgElement *psSlaves = PXRLT_addChild(psConfig, "slaves");
    PXRMsgElement *psAnpr = PXRLT_addChild(psSlaves, "slaveAnpr");
    PXRMsgElement *psContext = PXRLT_addChild(psSlaves, "slaveContext");
    const LumatrekMasterParameters &sMaster = s.psLight->sMasterParameters;
    static const uint8_t au8NoMac[6] = {0, 0, 0, 0, 0, 0};
    switch (s.psLight->u32CardClass) {
    case 1:
        PXRMsgElementSetAttribute(psSlaves, "mode", "configured");
        fillSlave(psAnpr, sMaster.au8SlaveAnprMac, sMaster.i32CoveringZone, sMaster.i32CoveringZone < 0);
        fillSlave(psContext, sMaster.au8SlaveContextMac, sMaster.i32CoveringZone, sMaster.i32CoveringZone < 0);
        break;
    case 0:
    case 2:
    case 3:
        PXRMsgElementSetAttribute(psSlaves, "mode", s.psLight->u32CardClass == 3 ? "autoConfigure" : "disabled");
        fillSlave(psAnpr, au8NoMac, 0, 1);
        fillSlave(psContext, au8NoMac, 0, 1);
        break;
    default: break;
    }
}

void fillCamera(PXRMsgElement *psConfig, PXRMsgElement *psCamera, const Source &s)
{
    switch (s.psConfig->u32SensorType) {
    case LUMATREK_SENSOR_VIDEO:
    case LUMATREK_SENSOR_VIDEO_EXTERNAL: fillVideo(psCamera, s); break;
    case LUMATREK_SENSOR_ANPR: fillAnpr(psConfig, psCamera, s); break;
    case LUMATREK_SENSOR_DGPR: fillDgpr(psCamera, s); break;
    case LUMATREK_SENSOR_SIGNATURE: fillSignature(psCamera, s); break;
    default: break;
    }
    static const char *const apcszExport[] = {"off", "simple", "advanced"};
    PXRMsgElement *psTyped = PXRMsgElementFirstChild(
        psCamera, s.psConfig->u32SensorType == LUMATREK_SENSOR_ANPR   ? "anpr"
                  : s.psConfig->u32SensorType == LUMATREK_SENSOR_DGPR ? "dgpr"
                                                                      : nullptr);
    if (psTyped && (s.psConfig->u32SensorType == LUMATREK_SENSOR_ANPR ||
                    s.psConfig->u32SensorType == LUMATREK_SENSOR_DGPR))
        setCode(PXRLT_addChild(psTyped, "serial"), "rs232Export", s.psLight->sBoard.u32SerialExportMode, apcszExport,
                3);
}

void fillConfig(PXRMsgElement *psConfig, PXRMsgElement *psLightings, PXRMsgElement *psCamera, const Source &s)
{
    if (held(s, LT_RECEIVED_DESCRIPTION))
        PXRMsgElementSetAttribute(PXRLT_addChild(psConfig, "device"), "name", s.psLight->aszUniqueName);
    fillNetwork(psConfig, s);
    fillCamera(psConfig, psCamera, s);
    fillIo(psConfig, s);
    const int bOptics = fillOptics(psCamera, s);
    fillLighting(psLightings, s, bOptics);
    fillSlaves(psConfig, s);
}

} // namespace

extern "C" {

int PXRLT_fillConfigFrom(LumatrekHandle *psLight, PXRMsg *psMsg)
{
    PXRMsgElement *psConfig = PXRLT_newRoot(psMsg, "config");
    PXRMsgElement *psLightings = PXRLT_addChild(psConfig, "lightings");
    PXRMsgElement *psCamera = addWithId(PXRLT_addChild(psConfig, "cameras"), "camera");
    if (!psCamera || !psLight)
        return 0;
    LT_lock(psLight, LT_MUTEX_CONFIG);
    int bBuilt = 0;
    if (LT_isHeld(psLight, LT_RECEIVED_CONFIG) && LT_isHeld(psLight, LT_RECEIVED_BOARD)) {
        Source sSource = {psLight, &psLight->sConfig, {}, psLight->sConfig.u32CameraWord & kCameraCodeBits,
                          LT_isHeld(psLight, LT_RECEIVED_ACTIVATION)};
        LT_lock(psLight, LT_MUTEX_CAMERA_CONFIG);
        sSource.sCamera = psLight->sCamera;
        LT_unlock(psLight, LT_MUTEX_CAMERA_CONFIG);
        fillConfig(psConfig, psLightings, psCamera, sSource);
        bBuilt = 1;
    }
    LT_unlock(psLight, LT_MUTEX_CONFIG);
    return bBuilt;
}

int PXRLT_fillConfigMsg(PXRLT *psBridge, PXRMsg *psMsg)
{
    return PXRLT_fillConfigFrom(psBridge ? psBridge->psLightHandle : nullptr, psMsg);
}

} // extern "C"
