/* What the command connection reads after each connection, before it serves a command: the
 * sensor's version, configuration, status, identity, camera and LED settings. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

const uint32_t kVersionCode = 0x112;
const uint32_t kVersionTextCode = 0x111;
const uint32_t kGetConfigCode = 0xAAAC;
const uint32_t kExternalConfigCode = 0x5568;
const uint32_t kNetworkPortsCode = 0xFFFA;
const uint32_t kBoardCode = 0xFFF7;
const uint32_t kMacCode = 0xAAB3;
const uint32_t kCameraExCode = 0xAAD7;
const uint32_t kCameraCode = 0xAAB7;
const uint32_t kFlipCode = 0xC005;
const uint32_t kSynchroCode = 0xC007;
const uint32_t kAeSpeedCode = 0xC012;
const uint32_t kLedsCode = 0xAAB8;
const uint32_t kLedTimeCode = 0xAACB;
const uint32_t kLedPowerCode = 0xAACC;
const uint32_t kRecorderCode = 0x555C;
const uint32_t kTooColdBit = 0x2000u;
const uint32_t kRecorderReadyBit = 0x1u;
const uint32_t kNoOcrBaseBit = 0x8u;
const uint32_t kWireCameraOld = 44;
const uint32_t kWireLeds = 32;
const uint32_t kWireNetworkPorts = 16;
const uint32_t kWireMasterAddresses = 72;
const uint32_t kWireActivation = 36;
const uint32_t kWireUniqueName = 32;
const uint32_t kDefaultMaxZoom = 16384;
const uint32_t kWideCamera = 0x20042Fu;
const uint32_t kWideMaxZoom = 28096;
const uint32_t kOtherMaxZoom = 31424;

// The configuration forms, by the code that answers CMD_GET_CONFIG.
struct ConfigForm {
    uint32_t u32Code;
    uint32_t u32Size;
    const char *pcszName;
};

const ConfigForm kConfigForms[] = {
    {0xAAAE, LT_WIRE_ANPR_CONFIG, "ANPR"},     {0x8889, LT_WIRE_DGPR_CONFIG, "DGPR"},
    {LT_VIDEO_CODE, LT_WIRE_VIDEO_CONFIG, "VIDEO"}, {0xAAF3, LT_WIRE_SIGNATURE_CONFIG, "M"},
    {0xAAF6, LT_WIRE_VIDEO_CONFIG, "VIDEO"},   {kRecorderCode, LT_WIRE_RECORDER_CONFIG, "RECORDER"},
};

const char *name(LT_TextId eId)
{
    return LT_text(eId);
}

void report(LumatrekHandle *psHandle, int32_t i32Code, LT_TextId eText, int32_t bCritical)
{
    ReportError(psHandle, LT_text(LT_TEXT_THREAD_COMMAND), 0, i32Code, LT_text(eText), bCritical);
}

int isOptional(int32_t i32Status)
{
    return i32Status == LT_STATUS_ACK || i32Status == LT_STATUS_NOTSUPPORTED;
}

// A read whose status may be "not supported": 1 when the start-up may go on.
int readOptional(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, void *pReply, uint32_t u32Size,
                 const char *pcszName, int32_t *pi32Status)
{
    const int bUsable = ExchangeCommandRead(psHandle, psLink, u32Code, nullptr, 0, pReply, u32Size,
                                            LT_timing()->u32TransferTimeoutMs, pi32Status);
    if (bUsable && isOptional(*pi32Status))
        return 1;
    LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CONFIG), "%s error result=%u\n", pcszName, uint32_t(*pi32Status));
    return 0;
}

// A read that must succeed; 1 when it did.
int readRequired(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, void *pReply, uint32_t u32Size,
                 LT_TextId eFunction, const char *pcszName)
{
    int32_t i32Status = 0;
    if (ExchangeCommandRead(psHandle, psLink, u32Code, nullptr, 0, pReply, u32Size,
                            LT_timing()->u32TransferTimeoutMs, &i32Status) &&
        i32Status == LT_STATUS_ACK)
        return 1;
    LT_log(psHandle, name(eFunction), "%s error result=%u\n", pcszName, uint32_t(i32Status));
    return 0;
}

// The header {0, code} out, one header back: its code is the answer. 1 when both went.
int askCode(LT_Link *psLink, uint32_t u32Code, LumatrekMessageHeader *psReply)
{
    const uint32_t u32TimeoutMs = LT_timing()->u32TransferTimeoutMs;
    return SendHeader(psLink, u32Code, u32TimeoutMs) && LT_readHeader(psLink, psReply, u32TimeoutMs);
}

int convertForm(LumatrekHandle *psHandle, const ConfigForm &sForm, LumatrekConfig *psConfig, const uint8_t *pu8Wire)
{
    uint32_t *pu32Limit = &psHandle->u32MaxLedCurrent;
    switch (sForm.u32Code) {
    case 0xAAAE: return ConvertAnprConfig(psHandle, psConfig, pu32Limit, pu8Wire, sForm.u32Size);
    case 0x8889: return ConvertDgprConfig(psHandle, psConfig, pu32Limit, pu8Wire, sForm.u32Size);
    case 0xAAF3: return ConvertSignatureConfig(psHandle, psConfig, pu32Limit, pu8Wire, sForm.u32Size);
    case kRecorderCode: return ConvertRecorderConfig(psConfig, pu8Wire, sForm.u32Size);
    default: return ConvertVideoConfig(sForm.u32Code, psConfig, pu32Limit, pu8Wire, sForm.u32Size);
    }
}

// One external configuration into its slot; 0 drops the connection.
int readExternalConfig(LumatrekHandle *psHandle, LT_Link *psLink, uint16_t u16Index)
{
    const uint32_t u32TimeoutMs = LT_timing()->u32TransferTimeoutMs;
    uint8_t au8Payload[4] = {};
    LT_putU16(au8Payload, 0, u16Index);
    int32_t i32Status = 0;
    uint32_t u32Length = 0;
    if (!ExchangeCommandReadPrefix(psHandle, psLink, kExternalConfigCode, au8Payload, sizeof(au8Payload), nullptr,
                                   0, u32TimeoutMs, &i32Status, &u32Length)) {
        LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CONFIG), "CMD_GET_EXTERNAL_CONFIG error\n");
        return 0;
    }
    if (i32Status != LT_STATUS_ACK || u32Length == 0)
        return 1;
    // The length comes from the sensor: a blob beyond any real file is refused, not allocated.
    if (u32Length > LT_MAX_EXTERNAL_CONFIG) {
        LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CONFIG), "CMD_GET_EXTERNAL_CONFIG error\n");
        report(psHandle, -207, LT_TEXT_COMMAND_INVALID_ANSWER, 0);
        return 0;
    }
    LT_DataBlock &sSlot = psHandle->asData[u16Index];
    SA_Free(&sSlot.pu8Data);
    sSlot.u32Size = 0;
    sSlot.pu8Data = static_cast<uint8_t *>(SA_Malloc(u32Length));
    if (!sSlot.pu8Data)
        return LT_linkSkip(psLink, u32Length, u32TimeoutMs);
    if (LT_linkRead(psLink, sSlot.pu8Data, u32Length, u32TimeoutMs) != SA_OK) {
        SA_Free(&sSlot.pu8Data);
        return 0;
    }
    sSlot.u32Size = u32Length;
    LT_setHeld(psHandle, LT_RECEIVED_EXTERNAL);
    return 1;
}

// The configuration block the sensor chose to send; 0 drops the connection.
int readConfigForm(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekConfig *psConfig, uint32_t *pu32Code)
{
    const char *pcszFunction = name(LT_TEXT_FN_GET_INTERNAL_CONFIG);
    const uint32_t u32TimeoutMs = LT_timing()->u32TransferTimeoutMs;
    if (!SendHeader(psLink, kGetConfigCode, u32TimeoutMs)) {
        LT_log(psHandle, pcszFunction, "CMD_GET_CONFIG (write) error\n");
        return 0;
    }
    LumatrekMessageHeader sReply;
    if (!LT_readHeader(psLink, &sReply, u32TimeoutMs)) {
        LT_log(psHandle, pcszFunction, "CMD_GET_CONFIG (read header) error\n");
        return 0;
    }
    for (const ConfigForm &sForm : kConfigForms) {
        if (sForm.u32Code != sReply.u32Code)
            continue;
        uint8_t au8Wire[LT_WIRE_ANPR_CONFIG];
        if (LT_linkRead(psLink, au8Wire, sForm.u32Size, u32TimeoutMs) != SA_OK) {
            LT_log(psHandle, pcszFunction, "CMD_GET_CONFIG (read %s) error\n", sForm.pcszName);
            return 0;
        }
        convertForm(psHandle, sForm, psConfig, au8Wire);
        if (sForm.u32Code != kRecorderCode)
            psHandle->u32RebootCount = LT_getU32(au8Wire, sForm.u32Size - 12);
        *pu32Code = sForm.u32Code;
        return 1;
    }
    report(psHandle, -110, LT_TEXT_UNSUPPORTED_DEVICE, 1);
    return 0;
}

int isNoAddress(const LumatrekConfig *psConfig)
{
    return strcmp(psConfig->sIp.aszAddress, LT_text(LT_TEXT_NO_ADDRESS)) == 0;
}

int readNetworkPorts(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekConfig *psConfig)
{
    LumatrekIpConfig &sIp = psConfig->sIp;
    if (!LT_protocolAtLeast(psHandle, 3, 0)) {
        sIp.u32CommandPort = LT_DEFAULT_COMMAND_PORT;
        sIp.u32StreamPort = LT_DEFAULT_STREAM_PORT;
        sIp.u32TimePort = LT_DEFAULT_TIME_PORT;
        sIp.u32Dhcp = isNoAddress(psConfig);
        return 1;
    }
    uint8_t au8Wire[kWireNetworkPorts];
    if (!readRequired(psHandle, psLink, kNetworkPortsCode, au8Wire, sizeof(au8Wire), LT_TEXT_FN_GET_INTERNAL_CONFIG,
                      "CMD_GET_NETWORK_PORT_CONFIG"))
        return 0;
    sIp.u32CommandPort = LT_getU32(au8Wire, 0);
    sIp.u32StreamPort = LT_getU32(au8Wire, 4);
    sIp.u32TimePort = LT_getU32(au8Wire, 8);
    sIp.u32Dhcp = LT_protocolAtLeast(psHandle, 4, 3) ? LT_getU32(au8Wire, 12) : uint32_t(isNoAddress(psConfig));
    return 1;
}

int readBoardAndMac(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekConfig *psConfig)
{
    int32_t i32Status = 0;
    if (psConfig->u32SensorType != LUMATREK_SENSOR_RECORDER) {
        uint8_t au8Board[LT_WIRE_BOARD];
        if (!readOptional(psHandle, psLink, kBoardCode, au8Board, sizeof(au8Board), "CMD_GET_BOARD_CONFIG",
                          &i32Status))
            return 0;
        if (i32Status == LT_STATUS_ACK) {
            ConvertBoardConfig(psHandle, &psHandle->sBoard, au8Board, sizeof(au8Board));
            LT_setHeld(psHandle, LT_RECEIVED_BOARD);
        }
    }
    uint8_t au8Mac[sizeof(psHandle->au8Mac)];
    if (!readOptional(psHandle, psLink, kMacCode, au8Mac, sizeof(au8Mac), "CMD_GET_MACADDR", &i32Status))
        return 0;
    if (i32Status == LT_STATUS_ACK)
        memcpy(psHandle->au8Mac, au8Mac, sizeof(au8Mac));
    return 1;
}

// The identity reads that later protocol versions added, each optional.
int readIdentity(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekConfig *psConfig)
{
    int32_t i32Status = 0;
    uint8_t au8Wire[LT_WIRE_DESCRIPTION];
    if (LT_protocolAtLeast(psHandle, 4, 3)) {
        if (!readOptional(psHandle, psLink, 0x6673, au8Wire, 4, "CMD_GET_CARD_CLASS", &i32Status))
            return 0;
        if (i32Status == LT_STATUS_ACK)
            psHandle->u32CardClass = LT_getU32(au8Wire, 0);
    }
    if (LT_protocolAtLeast(psHandle, 4, 4)) {
        if (!readOptional(psHandle, psLink, 0x6677, au8Wire, kWireMasterAddresses, "CMD_GET_MASTER_ADDRESSES_PARAMS",
                          &i32Status))
            return 0;
        if (i32Status == LT_STATUS_ACK) {
            ConvertMasterAddresses(&psHandle->sMasterAddresses, au8Wire, kWireMasterAddresses);
            LT_setHeld(psHandle, LT_RECEIVED_MASTER_ADDRESSES);
        }
    }
    if (LT_protocolAtLeast(psHandle, 4, 3)) {
        if (psConfig->u32SensorType == LUMATREK_SENSOR_ANPR) {
            LT_copyText(psHandle->aszUniqueName, sizeof(psHandle->aszUniqueName),
                        reinterpret_cast<const uint8_t *>(psConfig->uBody.sAnpr.aszUniqueName),
                        sizeof(psConfig->uBody.sAnpr.aszUniqueName));
        } else {
            if (!readOptional(psHandle, psLink, 0xFFFC, au8Wire, kWireUniqueName, "CMD_GET_UNIQUE_NAME", &i32Status))
                return 0;
            if (i32Status == LT_STATUS_ACK)
                LT_copyText(psHandle->aszUniqueName, sizeof(psHandle->aszUniqueName), au8Wire, kWireUniqueName);
        }
    }
    if (LT_protocolAtLeast(psHandle, 4, 4)) {
        if (!readOptional(psHandle, psLink, 0xAAF1, au8Wire, LT_WIRE_DESCRIPTION, "CMD_GET_DISCOVER", &i32Status))
            return 0;
        if (i32Status == LT_STATUS_ACK) {
            ConvertSensorDescription(psHandle, &psHandle->sDescription, au8Wire, LT_WIRE_DESCRIPTION);
            LT_setHeld(psHandle, LT_RECEIVED_DESCRIPTION);
        }
    }
    return 1;
}

int readActivationAndSave(LumatrekHandle *psHandle, LT_Link *psLink)
{
    int32_t i32Status = 0;
    if (LT_protocolAtLeast(psHandle, 4, 6)) {
        uint8_t au8Wire[kWireActivation];
        if (!readOptional(psHandle, psLink, 0x777B, au8Wire, sizeof(au8Wire), "CMD_GET_ACTIVATION_CONFIG",
                          &i32Status))
            return 0;
        if (i32Status == LT_STATUS_ACK) {
            ConvertActivationConfig(&psHandle->sActivation, au8Wire, sizeof(au8Wire));
            LT_setHeld(psHandle, LT_RECEIVED_ACTIVATION);
        }
    }
    const uint32_t u32Save = psHandle->u32SaveCameraOnDisconnect;
    if (LT_protocolAtLeast(psHandle, 4, 5) && u32Save != 0) {
        uint8_t au8Wire[4];
        LT_putU32(au8Wire, 0, u32Save);
        if (!ExchangeCommand(psHandle, psLink, 0xC00E, au8Wire, sizeof(au8Wire), LT_timing()->u32TransferTimeoutMs,
                             &i32Status) ||
            !isOptional(i32Status)) {
            LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CONFIG), "CMD_CAMERA_SAVE_ON_DISCONNECT error result=%u\n",
                   uint32_t(i32Status));
            return 0;
        }
    }
    return 1;
}

// Reports what the status word says is wrong; nothing here ends the start-up.
void checkStatusWord(LumatrekHandle *psHandle, uint32_t u32Status)
{
    const char *pcszFunction = name(LT_TEXT_FN_GET_INTERNAL_STATUS);
    if (UnexpectedStatusBits(psHandle, u32Status)) {
        LT_log(psHandle, pcszFunction, "STATUS UNKNOWN status=0x%x\n", u32Status);
        report(psHandle, -30, LT_TEXT_UNKNOWN_STATUS, 0);
    }
    if (psHandle->sConfig.u32SensorType == LUMATREK_SENSOR_RECORDER)
        return;
    if (u32Status & 0x200u) {
        LT_log(psHandle, pcszFunction, "STATUS I2C error status=0x%x\n", u32Status);
        report(psHandle, -45, LT_TEXT_I2C_ERROR, 0);
    }
    if (u32Status & 0x400u) {
        LT_log(psHandle, pcszFunction, "STATUS UART error status=0x%x\n", u32Status);
        report(psHandle, -50, LT_TEXT_UART_ERROR, 0);
    }
    if (u32Status & 0x2u) {
        LT_log(psHandle, pcszFunction, "STATUS no MAC addr error status=0x%x\n", u32Status);
        report(psHandle, -55, LT_TEXT_NO_MAC, 0);
    }
    if (TooColdBit(psHandle, u32Status))
        SetConnectionState(psHandle, LT_CONDITION_TOO_COLD, LUMATREK_STATE_TOO_COLD);
}

// What the sensor type asks after the status; 0 for a type this library cannot serve.
int checkSensorType(LumatrekHandle *psHandle, uint32_t u32Status)
{
    const char *pcszFunction = name(LT_TEXT_FN_GET_INTERNAL_STATUS);
    switch (psHandle->sConfig.u32SensorType) {
    case LUMATREK_SENSOR_VIDEO:
    case LUMATREK_SENSOR_VIDEO_EXTERNAL: return 1;
    case LUMATREK_SENSOR_ANPR:
    case LUMATREK_SENSOR_DGPR:
    case LUMATREK_SENSOR_SIGNATURE:
        if (u32Status & kNoOcrBaseBit) {
            LT_log(psHandle, pcszFunction, "OCR base missing\n");
            report(psHandle, -60, LT_TEXT_NO_OCR_BASE, 0);
        }
        return 1;
    case LUMATREK_SENSOR_RECORDER: SA_AtomicStore(&psHandle->bTimeSync, 0); return 1;
    default:
        LT_log(psHandle, pcszFunction, "unsupported config\n");
        report(psHandle, -110, LT_TEXT_UNSUPPORTED_DEVICE, 1);
        return 0;
    }
}

void setStreamPortInUse(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_PORT);
    const uint32_t u32Configured = psHandle->u32StreamPortOverride;
    psHandle->u32StreamPortInUse = u32Configured ? u32Configured : LT_DEFAULT_STREAM_PORT;
    LT_unlock(psHandle, LT_MUTEX_PORT);
}

void setMaxZoom(LumatrekHandle *psHandle)
{
    if (!LT_protocolAtLeast(psHandle, 4, 1))
        psHandle->u32MaxZoom = kDefaultMaxZoom;
    else
        psHandle->u32MaxZoom = LT_cameraCode(psHandle) == kWideCamera ? kWideMaxZoom : kOtherMaxZoom;
}

// One of the camera's extra values: a failure ends the read unless "not supported" is allowed.
int readCameraWord(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const char *pcszName,
                   int bOptional, uint32_t *pu32Value)
{
    uint8_t au8Wire[4];
    int32_t i32Status = 0;
    const int bUsable = ExchangeCommandRead(psHandle, psLink, u32Code, nullptr, 0, au8Wire, sizeof(au8Wire),
                                            LT_timing()->u32TransferTimeoutMs, &i32Status);
    if (bUsable && i32Status == LT_STATUS_ACK) {
        *pu32Value = LT_getU32(au8Wire, 0);
        return 1;
    }
    if (bUsable && bOptional && i32Status == LT_STATUS_NOTSUPPORTED)
        return 1;
    LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CAMERA_CONFIG), "%s error result=%u\n", pcszName,
           uint32_t(i32Status));
    return 0;
}

// The camera block: -1 when the read failed, 0 when the sensor may not answer it now, 1 read.
int readCameraBlock(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, uint8_t *pu8Wire, uint32_t u32Size,
                    const char *pcszName)
{
    int32_t i32Status = 0;
    const int bUsable = ExchangeCommandRead(psHandle, psLink, u32Code, nullptr, 0, pu8Wire, u32Size,
                                            LT_timing()->u32TransferTimeoutMs, &i32Status);
    if (bUsable && (i32Status == LT_STATUS_RS232LOCKED || i32Status == LT_STATUS_TOOCOLD))
        return 0;
    if (bUsable && i32Status == LT_STATUS_ACK) {
        SetConnectionState(psHandle, LT_CONDITION_TOO_COLD, 0);
        return 1;
    }
    LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CAMERA_CONFIG), "%s error result=%u\n", pcszName,
           uint32_t(i32Status));
    return -1;
}

int readExtendedCamera(LumatrekHandle *psHandle, LT_Link *psLink)
{
    uint8_t au8Wire[LT_WIRE_CAMERA];
    const int iRead = readCameraBlock(psHandle, psLink, kCameraExCode, au8Wire, sizeof(au8Wire), "CMD_GET_CAM_CONF_EX");
    if (iRead <= 0)
        return iRead == 0;
    setMaxZoom(psHandle);
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    const LumatrekCameraConfig sBefore = psHandle->sCamera;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    const uint32_t u32Word = psHandle->sConfig.u32CameraWord;
    LT_CameraExtra sExtra = {sBefore.u32SynchroMode, sBefore.u32Flip, sBefore.u32AeResponseSpeed, u32Word >> 30,
                             LT_boardId(psHandle)};
    const int bFrom43 = LT_protocolAtLeast(psHandle, 4, 3);
    if (bFrom43 && LT_isIrCutCamera(psHandle) &&
        !readCameraWord(psHandle, psLink, kFlipCode, "CMD_CAMERA_GET_FLIP", 0, &sExtra.u32Flip))
        return 0;
    if (LT_cameraCode(psHandle) != 0) {
        if (bFrom43 && !readCameraWord(psHandle, psLink, kSynchroCode, "CMD_CAMERA_GET_SYNCHRO_MODE", 1,
                                       &sExtra.u32SynchroMode))
            return 0;
        if (LT_protocolAtLeast(psHandle, 4, 7) &&
            !readCameraWord(psHandle, psLink, kAeSpeedCode, "CMD_CAMERA_GET_AE_RESPONS_SPEED", 1,
                            &sExtra.u32AeResponseSpeed))
            return 0;
    }
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    ConvertCameraConfig(psHandle, &psHandle->sCamera, au8Wire, sizeof(au8Wire), &sExtra);
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    return 1;
}

int readOldCamera(LumatrekHandle *psHandle, LT_Link *psLink)
{
    uint8_t au8Wire[kWireCameraOld];
    const int iRead = readCameraBlock(psHandle, psLink, kCameraCode, au8Wire, sizeof(au8Wire), "CMD_GET_CAM_CONF");
    if (iRead <= 0)
        return iRead == 0;
    setMaxZoom(psHandle);
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    LumatrekCameraConfig &sCamera = psHandle->sCamera;
    uint32_t *apu32Fields[] = {&sCamera.u32Zoom,     &sCamera.u32Focus,       &sCamera.u32Shutter,
                               &sCamera.u32Iris,     &sCamera.u32Gain,        nullptr,
                               &sCamera.u32InfoDisplay, &sCamera.u32Autofocus, &sCamera.u32IrCut,
                               &sCamera.u32ManualMode};
    for (size_t i = 0; i < sizeof(apu32Fields) / sizeof(apu32Fields[0]); i++) {
        if (apu32Fields[i])
            *apu32Fields[i] = LT_getU32(au8Wire, 4 * i);
    }
    sCamera.i32ExposureCompensation = int32_t(LT_getU32(au8Wire, 20));
    sCamera.u32MacroMode = 0;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    return 1;
}

// Two powers as the LED power command sends them.
int sendLedPair(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, uint32_t u32First, uint32_t u32Second,
                const char *pcszName)
{
    uint8_t au8Wire[8];
    LT_putU32(au8Wire, 0, u32First);
    LT_putU32(au8Wire, 4, u32Second);
    int32_t i32Status = 0;
    if (ExchangeCommandTwoReplies(psHandle, psLink, u32Code, au8Wire, sizeof(au8Wire), &i32Status) &&
        i32Status == LT_STATUS_ACK)
        return 1;
    LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CAMERA_CONFIG), "%s error result=%u\n", pcszName,
           uint32_t(i32Status));
    return 0;
}

// Below protocol 4.0 the LEDs must follow the shutter: window and power limit from its table.
int followShutter(LumatrekHandle *psHandle, LT_Link *psLink, const uint8_t *pu8Leds, LumatrekErrorInfo *psError)
{
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    const uint32_t u32Shutter = psHandle->sCamera.u32Shutter;
    uint32_t u32Power1 = psHandle->sCamera.u32LedPower1;
    uint32_t u32Power2 = psHandle->sCamera.u32LedPower2;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    uint32_t u32Start = 0, u32End = 0, u32Limit = 0;
    GetShutterTiming(psHandle, u32Shutter, &u32Start, &u32End, &u32Limit);
    if (!LT_shutterKnown(u32Shutter)) {
        LT_log(psHandle, name(LT_TEXT_FN_GET_INTERNAL_CAMERA_CONFIG), "GetShutterParams error shutter %u\n",
               u32Shutter);
        if (psError)
            LT_setError(psError, -105, LT_TEXT_INVALID_CONFIGURATION, 1);
        return 0;
    }
    const int bWindowDiffers = LT_getU32(pu8Leds, 4) != u32Start || LT_getU32(pu8Leds, 8) != u32End ||
                               LT_getU32(pu8Leds, 20) != u32Start || LT_getU32(pu8Leds, 24) != u32End;
    if (bWindowDiffers && !sendLedPair(psHandle, psLink, kLedTimeCode, u32Start, u32End, "CMD_LED_SET_TIME"))
        return 0;
    const int bClipped = u32Power1 > u32Limit || u32Power2 > u32Limit;
    u32Power1 = u32Power1 > u32Limit ? u32Limit : u32Power1;
    u32Power2 = u32Power2 > u32Limit ? u32Limit : u32Power2;
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    psHandle->sCamera.u32LedPower1 = u32Power1;
    psHandle->sCamera.u32LedPower2 = u32Power2;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    return !bClipped || sendLedPair(psHandle, psLink, kLedPowerCode, u32Power1, u32Power2, "CMD_LED_SET_POWER");
}

int readLeds(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekErrorInfo *psError)
{
    if (!LT_hasLeds(psHandle)) {
        LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
        psHandle->sCamera.u32LedPower1 = 0;
        psHandle->sCamera.u32LedPower2 = 0;
        LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
        return 1;
    }
    uint8_t au8Wire[kWireLeds];
    if (!readRequired(psHandle, psLink, kLedsCode, au8Wire, sizeof(au8Wire), LT_TEXT_FN_GET_INTERNAL_CAMERA_CONFIG,
                      "CMD_GET_LEDS_CONF"))
        return 0;
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    psHandle->u32LedCard = LT_getU32(au8Wire, 0);
    psHandle->sCamera.u32LedPower1 = LT_getU32(au8Wire, 12);
    psHandle->sCamera.u32LedPower2 = LT_getU32(au8Wire, 28);
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    return LT_protocolAtLeast(psHandle, 4, 0) || followShutter(psHandle, psLink, au8Wire, psError);
}

// While too cold: asks the status again; 1 with *pbDone when the camera is to wait.
int leaveTooCold(LumatrekHandle *psHandle, LT_Link *psLink, int *pbDone)
{
    *pbDone = 0;
    LumatrekMessageHeader sReply;
    if (!askCode(psLink, LT_CODE_STATUS, &sReply) || sReply.u32Length != 0)
        return 0;
    if (sReply.u32Code & kTooColdBit) {
        *pbDone = 1;
        return 1;
    }
    SetConnectionState(psHandle, LT_CONDITION_TOO_COLD, 0);
    switch (psHandle->sConfig.u32SensorType) {
    case LUMATREK_SENSOR_VIDEO:
    case LUMATREK_SENSOR_VIDEO_EXTERNAL:
    case LUMATREK_SENSOR_ANPR:
    case LUMATREK_SENSOR_DGPR:
    case LUMATREK_SENSOR_SIGNATURE:
        if (!LumatrekGetInternalConfig(psHandle, psLink, &psHandle->sConfig))
            return 0;
        *pbDone = psHandle->sConfig.u32CameraWord == 0;
        return 1;
    default: *pbDone = 1; return 1;
    }
}

} // namespace

extern "C" {

void LT_setMaxZoom(LumatrekHandle *psHandle)
{
    setMaxZoom(psHandle);
}

int LT_convertConfigForm(LumatrekHandle *psHandle, uint32_t u32Code, const uint8_t *pu8Wire, uint32_t u32Size)
{
    return convertForm(psHandle, ConfigForm{u32Code, u32Size, nullptr}, &psHandle->sConfig, pu8Wire);
}


int LumatrekGetInternalConfig(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekConfig *psConfig)
{
    uint32_t u32Code = 0;
    if (!readConfigForm(psHandle, psLink, psConfig, &u32Code))
        return 0;
    if (u32Code == kRecorderCode) {
        // The recorder block names its stream port; the rest of its identity is read below.
        LT_lock(psHandle, LT_MUTEX_PORT);
        if (psConfig->uBody.sRecorder.u32StreamPort != 0 && psConfig->uBody.sRecorder.u32StreamPort <= UINT16_MAX)
            psHandle->u32StreamPortOverride = psConfig->uBody.sRecorder.u32StreamPort;
        LT_unlock(psHandle, LT_MUTEX_PORT);
    } else {
        if (u32Code == 0xAAF6) {
            for (uint16_t u16Index = 0; u16Index < LT_DATA_SLOTS; u16Index++) {
                if (!readExternalConfig(psHandle, psLink, u16Index))
                    return 0;
            }
        }
        LT_setHeld(psHandle, LT_RECEIVED_CONFIG);
    }
    return readNetworkPorts(psHandle, psLink, psConfig) && readBoardAndMac(psHandle, psLink, psConfig) &&
           readIdentity(psHandle, psLink, psConfig) && readActivationAndSave(psHandle, psLink);
}

int LumatrekGetInternalCameraConfig(LumatrekHandle *psHandle, LT_Link *psLink, int bWithLedCheck,
                                    LumatrekErrorInfo *psError)
{
    LT_lock(psHandle, LT_MUTEX_STATE);
    const int bTooCold = psHandle->bTooCold;
    LT_unlock(psHandle, LT_MUTEX_STATE);
    if (bTooCold) {
        int bDone = 0;
        if (!leaveTooCold(psHandle, psLink, &bDone))
            return 0;
        if (bDone)
            return 1;
    }
    const int bRead = LT_protocolAtLeast(psHandle, 3, 0) ? readExtendedCamera(psHandle, psLink)
                                                         : readOldCamera(psHandle, psLink);
    if (!bRead)
        return 0;
    if (bWithLedCheck && !readLeds(psHandle, psLink, psError))
        return 0;
    LT_setHeld(psHandle, LT_RECEIVED_CAMERA);
    return 1;
}

int LumatrekGetInternalStatus(LumatrekHandle *psHandle, LT_Link *psLink)
{
    uint8_t au8Version[LT_WIRE_VERSION];
    int32_t i32Status = 0;
    if (!ExchangeCommandRead(psHandle, psLink, kVersionCode, nullptr, 0, au8Version, sizeof(au8Version),
                             LT_timing()->u32TransferTimeoutMs, &i32Status) ||
        i32Status != LT_STATUS_ACK)
        return 0;
    ConvertVersionRecord(&psHandle->sVersion, au8Version, sizeof(au8Version));
    LT_setHeld(psHandle, LT_RECEIVED_VERSION);
    if (!LumatrekGetInternalConfig(psHandle, psLink, &psHandle->sConfig))
        return 0;
    const char *pcszFunction = name(LT_TEXT_FN_GET_INTERNAL_STATUS);
    const uint32_t u32TimeoutMs = LT_timing()->u32TransferTimeoutMs;
    if (!SendHeader(psLink, LT_CODE_STATUS, u32TimeoutMs)) {
        LT_log(psHandle, pcszFunction, "CMD_STATUS (write) error\n");
        return 0;
    }
    LumatrekMessageHeader sReply;
    // The status travels in the code; a reply with bytes after it would lose the framing.
    if (!LT_readHeader(psLink, &sReply, u32TimeoutMs) || sReply.u32Length != 0) {
        LT_log(psHandle, pcszFunction, "CMD_STATUS (read) error\n");
        return 0;
    }
    const uint32_t u32Status = sReply.u32Code;
    psHandle->u32Status = u32Status;
    checkStatusWord(psHandle, u32Status);
    uint32_t u32Received = 0;
    char aszText[LT_VERSION_TEXT_SIZE];
    if (!ExchangeCommandReadUpTo(psHandle, psLink, kVersionTextCode, nullptr, 0, aszText, sizeof(aszText),
                                 u32TimeoutMs, &i32Status, &u32Received) ||
        i32Status != LT_STATUS_ACK) {
        LT_log(psHandle, pcszFunction, "CMD_GET_VERSION error result=%u\n", uint32_t(i32Status));
        return 0;
    }
    memcpy(psHandle->aszVersionText, aszText, u32Received);
    psHandle->aszVersionText[u32Received] = '\0';
    LT_setHeld(psHandle, LT_RECEIVED_VERSION_TEXT);
    setStreamPortInUse(psHandle);
    if (psHandle->sConfig.u32SensorType == LUMATREK_SENSOR_RECORDER && !(u32Status & kRecorderReadyBit))
        SetConnectionState(psHandle, LT_CONDITION_BUSY, LUMATREK_STATE_BUSY);
    if (!checkSensorType(psHandle, u32Status))
        return 0;
    if (psHandle->sConfig.u32CameraWord == 0)
        return 1;
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_THREAD_COMMAND), 0);
    if (LumatrekGetInternalCameraConfig(psHandle, psLink, 1, &sError))
        return 1;
    if (sError.i32Code != 0)
        LumatrekError(psHandle, &sError);
    return 0;
}

} // extern "C"
