/* The sensor's identity and configuration blocks into their records: the version record, the
 * four configuration forms, the board, camera and MPEG blocks, by protocol version; with the
 * LED current limit and the status-word masks that those records decide. */
#include "Lumatrek_Internal.h"

#include <cstring>

// The record sizes the command set's records are built to.
static_assert(sizeof(LumatrekConfig) == 472 && sizeof(LumatrekIpConfig) == 84, "configuration record");
static_assert(sizeof(LumatrekAnprConfig) == 380 && sizeof(LumatrekDgprConfig) == 36 &&
                  sizeof(LumatrekMpegConfig) == 24,
              "configuration bodies");
static_assert(sizeof(LumatrekSensorVersion) == 16 && sizeof(LumatrekCameraConfig) == 76, "version and camera");

namespace {

const uint32_t kTextSize = 16;
const uint32_t kNameSize = 32;
const uint32_t kContextSize = 64;
const uint32_t kContextsSize = 256;
const uint32_t kWhiteLight = 0x40000000u;
const uint32_t kTooColdBit = 0x2000u;
const uint32_t kRecorderUnexpected = 0x7FF02F7Eu;
const uint32_t kSensorUnexpected = 0x7F8F8000u;

// Wire code of a board's sensor type, by record sensor type.
const struct {
    uint8_t u8Wire;
    uint32_t u32Type;
} kBoardTypes[] = {{220, LUMATREK_SENSOR_VIDEO},
                   {221, LUMATREK_SENSOR_ANPR},
                   {222, LUMATREK_SENSOR_DGPR},
                   {223, LUMATREK_SENSOR_SIGNATURE},
                   {224, LUMATREK_SENSOR_VIDEO_EXTERNAL}};

// The part every configuration form shares: network texts and time-out at fixed places, the
// camera word where the form keeps it. The record was cleared.
void readCommon(LumatrekConfig *psRecord, const uint8_t *pu8Wire, size_t szCameraWord)
{
    LT_copyText(psRecord->sIp.aszAddress, sizeof(psRecord->sIp.aszAddress), pu8Wire + 4, kTextSize);
    LT_copyText(psRecord->sIp.aszMask, sizeof(psRecord->sIp.aszMask), pu8Wire + 20, kTextSize);
    LT_copyText(psRecord->sIp.aszGateway, sizeof(psRecord->sIp.aszGateway), pu8Wire + 36, kTextSize);
    LT_copyText(psRecord->sIp.aszDns, sizeof(psRecord->sIp.aszDns), pu8Wire + 52, kTextSize);
    psRecord->sIp.u32TimeoutMs = LT_getU32(pu8Wire, 68);
    psRecord->u32CameraWord = LT_getU32(pu8Wire, szCameraWord);
}

// Clears the record but for its ports and DHCP flag, which the network ports read fills.
void clearKeepingPorts(LumatrekConfig *psRecord)
{
    LumatrekIpConfig sSaved = psRecord->sIp;
    memset(psRecord, 0, sizeof(*psRecord));
    psRecord->sIp.u32CommandPort = sSaved.u32CommandPort;
    psRecord->sIp.u32StreamPort = sSaved.u32StreamPort;
    psRecord->sIp.u32TimePort = sSaved.u32TimePort;
    psRecord->sIp.u32Dhcp = sSaved.u32Dhcp;
}

void giveLedLimit(const LumatrekConfig *psRecord, uint32_t *pu32LedLimit)
{
    if (pu32LedLimit)
        *pu32LedLimit = LedCurrentLimit(psRecord->u32CameraWord);
}

void readKeptPair(LumatrekHandle *psHandle, uint16_t au16Kept[2], const uint8_t *pu8Wire, size_t szOffset)
{
    if (!LT_protocolAtLeast(psHandle, 4, 2))
        return;
    au16Kept[0] = LT_getU16(pu8Wire, szOffset);
    au16Kept[1] = LT_getU16(pu8Wire, szOffset + 2);
}

int32_t boardSensorType(uint8_t u8Wire)
{
    for (const auto &sType : kBoardTypes) {
        if (sType.u8Wire == u8Wire)
            return static_cast<int32_t>(sType.u32Type);
    }
    return LUMATREK_SENSOR_VIDEO;
}

uint8_t boardSensorCode(uint32_t u32Type)
{
    for (const auto &sType : kBoardTypes) {
        if (sType.u32Type == u32Type)
            return sType.u8Wire;
    }
    return 0;
}

int isRecorder(LumatrekHandle *psHandle)
{
    return psHandle && psHandle->sConfig.u32SensorType == LUMATREK_SENSOR_RECORDER;
}

} // namespace

extern "C" {

int LT_protocolAtLeast(const LumatrekHandle *psHandle, int16_t i16Major, int16_t i16Minor)
{
    if (!psHandle)
        return 0;
    const LumatrekSensorVersion &sVersion = psHandle->sVersion;
    return sVersion.i16ProtocolMajor > i16Major ||
           (sVersion.i16ProtocolMajor == i16Major && sVersion.i16ProtocolMinor >= i16Minor);
}

int32_t SensorTypeFromCode(uint32_t u32Code)
{
    switch (u32Code) {
    case 0x1111: return LUMATREK_SENSOR_VIDEO;
    case 0x2222: return LUMATREK_SENSOR_ANPR;
    case 0x2223: return LUMATREK_SENSOR_DGPR;
    case 0x2224: return LUMATREK_SENSOR_SIGNATURE;
    case 0x2225: return LUMATREK_SENSOR_VIDEO_EXTERNAL;
    case 0x4444: return LUMATREK_SENSOR_RECORDER;
    default: return LUMATREK_SENSOR_UNKNOWN;
    }
}

int ConvertVersionRecord(LumatrekSensorVersion *psRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!psRecord || !pu8Wire || u32WireSize < LT_WIRE_VERSION)
        return 0;
    psRecord->i32SensorType = SensorTypeFromCode(LT_getU32(pu8Wire, 0));
    psRecord->u16FirmwareMajor = LT_getU16(pu8Wire, 4);
    psRecord->u16FirmwareMinor = LT_getU16(pu8Wire, 6);
    psRecord->u16FirmwareRevision = LT_getU16(pu8Wire, 8);
    psRecord->i16ProtocolMajor = static_cast<int16_t>(LT_getU16(pu8Wire, 10));
    psRecord->i16ProtocolMinor = static_cast<int16_t>(LT_getU16(pu8Wire, 12));
    psRecord->i16ProtocolRevision = static_cast<int16_t>(LT_getU16(pu8Wire, 14));
    return 1;
}

int ConvertAnprConfig(LumatrekHandle *psHandle, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                      const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!psRecord || !pu8Wire || u32WireSize < LT_WIRE_ANPR_CONFIG)
        return 0;
    clearKeepingPorts(psRecord);
    readCommon(psRecord, pu8Wire, 456);
    psRecord->u32SensorType = LUMATREK_SENSOR_ANPR;
    LumatrekAnprConfig &sAnpr = psRecord->uBody.sAnpr;
    LT_copyText(sAnpr.aszUniqueName, sizeof(sAnpr.aszUniqueName), pu8Wire + 72, kNameSize);
    sAnpr.u32JpegCompression = LT_protocolAtLeast(psHandle, 4, 7) ? pu8Wire[104] : 4;
    sAnpr.u32StillPictureSize = LT_protocolAtLeast(psHandle, 4, 8) ? pu8Wire[105] : 31;
    LT_copyText(sAnpr.aszContext, sizeof(sAnpr.aszContext), pu8Wire + 108, kContextSize);
    LT_copyText(sAnpr.aszPossibleContexts, sizeof(sAnpr.aszPossibleContexts), pu8Wire + 172, kContextsSize);
    sAnpr.u32Direction = LT_getU32(pu8Wire, 428);
    sAnpr.u32StreamBitrate = LT_getU32(pu8Wire, 432);
    sAnpr.i32StreamFrameSkip = static_cast<int32_t>(LT_getU32(pu8Wire, 436));
    sAnpr.u16Marker = LT_getU16(pu8Wire, 440);
    sAnpr.u8Zero = pu8Wire[442];
    sAnpr.u8EnslavementMode = pu8Wire[443];
    readKeptPair(psHandle, sAnpr.au16Kept, pu8Wire, 452);
    giveLedLimit(psRecord, pu32LedLimit);
    return 1;
}

int ConvertDgprConfig(LumatrekHandle *psHandle, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                      const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!psRecord || !pu8Wire || u32WireSize < LT_WIRE_DGPR_CONFIG)
        return 0;
    clearKeepingPorts(psRecord);
    readCommon(psRecord, pu8Wire, 124);
    psRecord->u32SensorType = LUMATREK_SENSOR_DGPR;
    LumatrekDgprConfig &sDgpr = psRecord->uBody.sDgpr;
    sDgpr.u32Direction = LT_getU32(pu8Wire, 72);
    sDgpr.u32StreamBitrate = LT_getU32(pu8Wire, 76);
    sDgpr.i32StreamFrameSkip = static_cast<int32_t>(LT_getU32(pu8Wire, 80));
    sDgpr.u8EnslavementMode = pu8Wire[84];
    sDgpr.u32JpegCompression = pu8Wire[85];
    sDgpr.u8StillPictureSize = pu8Wire[86];
    sDgpr.u32EmptyPlatesRatio = LT_getU32(pu8Wire, 88);
    sDgpr.u32EmptyPlatesDetection = LT_getU32(pu8Wire, 92) == 0 ? 1 : 0;
    readKeptPair(psHandle, sDgpr.au16Kept, pu8Wire, 120);
    giveLedLimit(psRecord, pu32LedLimit);
    return 1;
}

int ConvertSignatureConfig(LumatrekHandle *psHandle, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                           const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!psRecord || !pu8Wire || u32WireSize < LT_WIRE_SIGNATURE_CONFIG)
        return 0;
    clearKeepingPorts(psRecord);
    readCommon(psRecord, pu8Wire, 456);
    psRecord->u32SensorType = LUMATREK_SENSOR_SIGNATURE;
    LumatrekSignatureConfig &sSignature = psRecord->uBody.sSignature;
    sSignature.u32JpegCompression = pu8Wire[72];
    LT_copyText(sSignature.aszContext, sizeof(sSignature.aszContext), pu8Wire + 76, kContextSize);
    LT_copyText(sSignature.aszPossibleContexts, sizeof(sSignature.aszPossibleContexts), pu8Wire + 140,
                kContextsSize);
    sSignature.u32Direction = LT_getU32(pu8Wire, 396);
    sSignature.u32StreamBitrate = LT_getU32(pu8Wire, 400);
    sSignature.i32StreamFrameSkip = static_cast<int32_t>(LT_getU32(pu8Wire, 404));
    sSignature.u8Mode = pu8Wire[411];
    readKeptPair(psHandle, sSignature.au16Kept, pu8Wire, 452);
    giveLedLimit(psRecord, pu32LedLimit);
    return 1;
}

int ConvertVideoConfig(uint32_t u32WireCode, LumatrekConfig *psRecord, uint32_t *pu32LedLimit,
                       const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    if (!psRecord || !pu8Wire || u32WireSize < LT_WIRE_VIDEO_CONFIG)
        return 0;
    // Unlike the other forms, the ports and DHCP flag stay 0 until the next ports read.
    memset(psRecord, 0, sizeof(*psRecord));
    readCommon(psRecord, pu8Wire, 100);
    psRecord->u32SensorType = u32WireCode == LT_VIDEO_CODE ? LUMATREK_SENSOR_VIDEO : LUMATREK_SENSOR_VIDEO_EXTERNAL;
    LumatrekMpegConfig &sMpeg = psRecord->uBody.sMpeg;
    const uint8_t u8Mode = pu8Wire[72];
    sMpeg.u32MpegMode = u8Mode == 1 || u8Mode == 3 || u8Mode == 5 || u8Mode == 7;
    sMpeg.u32FrameSkip = pu8Wire[73];
    sMpeg.u32Width = LT_getU32(pu8Wire, 76);
    sMpeg.u32Height = LT_getU32(pu8Wire, 80);
    sMpeg.u32Bitrate = LT_getU32(pu8Wire, 84);
    sMpeg.u32Gop = LT_getU32(pu8Wire, 88);
    giveLedLimit(psRecord, pu32LedLimit);
    return 1;
}

int ConvertBoardConfig(LumatrekHandle *psHandle, LumatrekBoardConfig *psRecord, const uint8_t *pu8Wire,
                       uint32_t u32WireSize)
{
    if (!psRecord || !pu8Wire || u32WireSize < LT_WIRE_BOARD)
        return 0;
    psRecord->au32Kept[0] = LT_getU32(pu8Wire, 0);
    psRecord->au32Kept[1] = LT_getU32(pu8Wire, 4);
    psRecord->i32Kept = static_cast<int16_t>(LT_getU16(pu8Wire, 8));
    psRecord->u32SerialExportMode = LT_getU16(pu8Wire, 10);
    psRecord->u32StreamCodec = LT_getU16(pu8Wire, 12);
    psRecord->u32IoMode = pu8Wire[14];
    psRecord->u32SensorType =
        LT_protocolAtLeast(psHandle, 4, 0) ? static_cast<uint32_t>(boardSensorType(pu8Wire[15])) : 0;
    return 1;
}

void BoardConfigToWire(LumatrekHandle *psHandle, uint8_t au8Wire[LT_WIRE_BOARD], const LumatrekBoardConfig *psRecord)
{
    memset(au8Wire, 0, LT_WIRE_BOARD);
    LT_putU32(au8Wire, 0, psRecord->au32Kept[0]);
    LT_putU32(au8Wire, 4, psRecord->au32Kept[1]);
    LT_putU16(au8Wire, 8, static_cast<uint16_t>(psRecord->i32Kept));
    LT_putU16(au8Wire, 10, static_cast<uint16_t>(psRecord->u32SerialExportMode));
    LT_putU16(au8Wire, 12, static_cast<uint16_t>(psRecord->u32StreamCodec));
    au8Wire[14] = static_cast<uint8_t>(psRecord->u32IoMode);
    if (LT_protocolAtLeast(psHandle, 4, 0))
        au8Wire[15] = boardSensorCode(psRecord->u32SensorType);
}

int ConvertCameraConfig(LumatrekHandle *psHandle, LumatrekCameraConfig *psRecord, const uint8_t *pu8Wire,
                        uint32_t u32WireSize, const LT_CameraExtra *psExtra)
{
    if (!psRecord || (pu8Wire && u32WireSize < LT_WIRE_CAMERA))
        return 0;
    if (pu8Wire) {
        psRecord->u32Zoom = LT_getU32(pu8Wire, 0);
        psRecord->u32Focus = LT_getU32(pu8Wire, 4);
        psRecord->u32Shutter = LT_getU32(pu8Wire, 8);
        psRecord->u32Iris = LT_getU32(pu8Wire, 12);
        psRecord->u32Gain = LT_getU32(pu8Wire, 16);
        psRecord->u32Kept = LT_getU32(pu8Wire, 20);
        psRecord->i32ExposureCompensation = static_cast<int32_t>(LT_getU32(pu8Wire, 24));
        psRecord->u32InfoDisplay = LT_getU32(pu8Wire, 28);
        psRecord->u32Autofocus = LT_getU32(pu8Wire, 32);
        psRecord->u32IrCut = LT_getU32(pu8Wire, 36);
        psRecord->u32ManualMode = LT_getU32(pu8Wire, 40);
        psRecord->u32MacroMode = LT_getU32(pu8Wire, 44);
    }
    if (psExtra) {
        const int bFrom43 = LT_protocolAtLeast(psHandle, 4, 3);
        psRecord->u32BoardId = psExtra->u32BoardId;
        psRecord->u32BoardFlag = psExtra->u32BoardFlag;
        psRecord->u32Flip = bFrom43 ? psExtra->u32Flip : 0;
        psRecord->u32SynchroMode = bFrom43 ? psExtra->u32SynchroMode : 0;
        psRecord->u32AeResponseSpeed = LT_protocolAtLeast(psHandle, 4, 7) ? psExtra->u32AeResponseSpeed : 1;
    }
    return 1;
}

void MpegConfigToWire(LumatrekHandle *psHandle, uint8_t au8Wire[LT_WIRE_MPEG], const LumatrekMpegConfig *psRecord)
{
    memset(au8Wire, 0, LT_WIRE_MPEG);
    au8Wire[0] = psRecord->u32MpegMode != 0;
    if (LT_protocolAtLeast(psHandle, 4, 3))
        au8Wire[1] = static_cast<uint8_t>(psRecord->u32FrameSkip);
    LT_putU32(au8Wire, 4, psRecord->u32Width);
    LT_putU32(au8Wire, 8, psRecord->u32Height);
    LT_putU32(au8Wire, 12, psRecord->u32Bitrate);
    LT_putU32(au8Wire, 16, psRecord->u32Gop);
}

uint32_t LedCurrentLimit(uint32_t u32CameraWord)
{
    const uint32_t u32Board = (u32CameraWord >> 24) & 0x3F;
    if (u32Board == 0)
        return 0;
    if (u32Board == 4 || u32Board == 5)
        return u32CameraWord < kWhiteLight ? 4000 : 2000;
    return 2000;
}

int32_t ImageAnswerStatus(int32_t i32Answer)
{
    switch (i32Answer) {
    case -1: return 2;
    case 0: return 0;
    case 1: return 3;
    default: return -1;
    }
}

uint32_t TooColdBit(LumatrekHandle *psHandle, uint32_t u32Status)
{
    return isRecorder(psHandle) ? 0 : (u32Status & kTooColdBit);
}

uint32_t UnexpectedStatusBits(LumatrekHandle *psHandle, uint32_t u32Status)
{
    return u32Status & (isRecorder(psHandle) ? kRecorderUnexpected : kSensorUnexpected);
}

} // extern "C"
