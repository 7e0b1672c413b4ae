/* The camera and lighting commands: what the command thread sends and keeps for each, and
 * the public functions that ask for them. */
#include "Lumatrek_Internal.h"

#include <cstddef>
#include <cstring>

#define CAMERA_FIELD(field) (offsetof(LumatrekHandle, sCamera) + offsetof(LumatrekCameraConfig, field))

namespace {

const uint32_t kLedPowerCode = 0xAACC;
const uint32_t kLedTimeCode = 0xAACB;
const uint32_t kLedsCode = 0xAAB8;
const uint32_t kShutterCode = 0xAABD;
const uint32_t kAutofocusCode = 0xAABE;
const uint32_t kFocusPositionCode = 0xAAC4;
const uint32_t kModeCode = 0xAAC2;
const uint32_t kIrisCode = 0xAAC6;
const uint32_t kGainCode = 0xAAC7;
const uint32_t kStoreCode = 0xAAC1;
const uint32_t kStoreBoardCode = 0xAACD;
const uint32_t kBracketingFirstCode = 0xC00A;
const uint32_t kBracketingSecondCode = 0xC00C;
const uint32_t kBracketingGetCode = 0xC00B;
const uint32_t kWireLedTrigger = 28;

// Commands that send one word and keep it.
struct WordCommand {
    uint32_t u32Number;
    uint32_t u32Code;
    size_t szOffset;
    LT_MutexId eMutex;
    uint32_t u32Bit;
};

const WordCommand kWordCommands[] = {
    {LT_CMD_SET_ZOOM, 0xAABA, CAMERA_FIELD(u32Zoom), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_IRIS, 0xAABB, CAMERA_FIELD(u32Iris), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_GAIN, 0xAABC, CAMERA_FIELD(u32Gain), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_FOCUS, 0xAAB9, CAMERA_FIELD(u32Focus), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_EXP_COMP, 0xAAC3, CAMERA_FIELD(i32ExposureCompensation), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_DISPLAY, 0xAAC0, CAMERA_FIELD(u32InfoDisplay), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_IR_CUT, 0xAAD4, CAMERA_FIELD(u32IrCut), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_MACRO_MODE, 0xAAD6, CAMERA_FIELD(u32MacroMode), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_CAMERA_SYNCHRO, 0xC006, CAMERA_FIELD(u32SynchroMode), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_FLIP, 0xC004, CAMERA_FIELD(u32Flip), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_AE_SPEED, 0xC011, CAMERA_FIELD(u32AeResponseSpeed), LT_MUTEX_CAMERA_CONFIG, 0},
    {LT_CMD_SET_ECO_MODE, 0xC015, offsetof(LumatrekHandle, u32EcoMode), LT_MUTEX_CONFIG, LT_RECEIVED_ECO},
};

int convertLedTrigger(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertLedExternalTriggerConfig(static_cast<LumatrekLedExternalTriggerConfig *>(pRecord), pu8Wire,
                                           u32WireSize);
}

void packLedTrigger(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const auto *psConfig = static_cast<const LumatrekLedExternalTriggerConfig *>(pRecord);
    LT_putU32(pu8Wire, 0, psConfig->u32Enabled);
    LT_putU32(pu8Wire, 4, psConfig->u32Bracketing);
    LT_putU32(pu8Wire, 8, psConfig->u32Delay);
    LT_putU32(pu8Wire, 12, psConfig->u32Width);
}

const LT_StoredBlock kLedTrigger = {0xC010,
                                    kWireLedTrigger,
                                    LT_RECEIVED_LED_TRIGGER,
                                    offsetof(LumatrekHandle, sLedTrigger),
                                    sizeof(LumatrekLedExternalTriggerConfig),
                                    LT_MUTEX_CONFIG,
                                    &convertLedTrigger,
                                    nullptr};
const LT_StoredBlock kLedTriggerSet = {0xC00F,
                                       kWireLedTrigger,
                                       LT_RECEIVED_LED_TRIGGER,
                                       offsetof(LumatrekHandle, sLedTrigger),
                                       sizeof(LumatrekLedExternalTriggerConfig),
                                       LT_MUTEX_CONFIG,
                                       nullptr,
                                       &packLedTrigger};

uint32_t transferMs()
{
    return LT_timing()->u32TransferTimeoutMs;
}

LumatrekCameraConfig camera(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    const LumatrekCameraConfig sCamera = psHandle->sCamera;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    return sCamera;
}

void storePowers(LumatrekHandle *psHandle, uint32_t u32Power1, uint32_t u32Power2)
{
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    psHandle->sCamera.u32LedPower1 = u32Power1;
    psHandle->sCamera.u32LedPower2 = u32Power2;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
}

void replyPowers(LumatrekHandle *psHandle, LumatrekCommandRequest *psRequest)
{
    const LumatrekCameraConfig sCamera = camera(psHandle);
    const uint32_t au32Powers[2] = {sCamera.u32LedPower1, sCamera.u32LedPower2};
    LT_replyBytes(psRequest, au32Powers, sizeof(au32Powers));
}

int sendPair(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, uint32_t u32First, uint32_t u32Second,
             int32_t *pi32Status)
{
    uint8_t au8Wire[8];
    LT_putU32(au8Wire, 0, u32First);
    LT_putU32(au8Wire, 4, u32Second);
    return ExchangeCommandTwoReplies(psHandle, psLink, u32Code, au8Wire, sizeof(au8Wire), pi32Status);
}

// One u32 read back after a command; stored at the offset and given at the reply's index.
int readWord(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code,
             size_t szOffset, uint32_t *pu32Value)
{
    uint8_t au8Wire[4];
    const int iUsable = ExchangeCommandRead(psHandle, psLink, u32Code, nullptr, 0, au8Wire, sizeof(au8Wire),
                                            transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status != LT_STATUS_ACK)
        return iUsable;
    *pu32Value = LT_getU32(au8Wire, 0);
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    memcpy(LT_field(psHandle, szOffset), pu32Value, sizeof(*pu32Value));
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    return iUsable;
}

int runWord(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    for (const WordCommand &sCommand : kWordCommands) {
        if (sCommand.u32Number == psRequest->u32Command)
            return LT_runWordSet(psHandle, psLink, psRequest, sCommand.u32Code, sCommand.szOffset, sCommand.eMutex,
                                 sCommand.u32Bit);
    }
    return LT_refuseArguments(psRequest);
}

int runZoom(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t u32Zoom = 0;
    if (!LT_payloadWord(psRequest, &u32Zoom) || u32Zoom > psHandle->u32MaxZoom)
        return LT_refuseArguments(psRequest);
    return runWord(psHandle, psLink, psRequest);
}

int runFocus(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (camera(psHandle).u32Autofocus) {
        psRequest->i32Status = LT_STATUS_NACK;
        return 1;
    }
    return runWord(psHandle, psLink, psRequest);
}

// Below protocol 4.0 the LEDs follow the shutter: powers within its limit, then its window.
int ledsForShutter(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Shutter, int32_t *pi32Status)
{
    uint32_t u32Start = 0, u32End = 0, u32Limit = 0;
    GetShutterTiming(psHandle, u32Shutter, &u32Start, &u32End, &u32Limit);
    if (!LT_shutterKnown(u32Shutter))
        return 1;
    const LumatrekCameraConfig sCamera = camera(psHandle);
    if (sCamera.u32LedPower1 > u32Limit || sCamera.u32LedPower2 > u32Limit) {
        const uint32_t u32Power1 = sCamera.u32LedPower1 > u32Limit ? u32Limit : sCamera.u32LedPower1;
        const uint32_t u32Power2 = sCamera.u32LedPower2 > u32Limit ? u32Limit : sCamera.u32LedPower2;
        if (!sendPair(psHandle, psLink, kLedPowerCode, u32Power1, u32Power2, pi32Status))
            return 0;
        if (*pi32Status == LT_STATUS_ACK)
            storePowers(psHandle, u32Power1, u32Power2);
    }
    return sendPair(psHandle, psLink, kLedTimeCode, u32Start, u32End, pi32Status);
}

int runShutter(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t u32Shutter = 0;
    if (!LT_payloadWord(psRequest, &u32Shutter))
        return LT_refuseArguments(psRequest);
    if (LT_hasLeds(psHandle) && !LT_protocolAtLeast(psHandle, 4, 0) &&
        !ledsForShutter(psHandle, psLink, u32Shutter, &psRequest->i32Status))
        return 0;
    uint8_t au8Wire[4];
    LT_putU32(au8Wire, 0, u32Shutter);
    int iUsable = ExchangeCommand(psHandle, psLink, kShutterCode, au8Wire, sizeof(au8Wire), transferMs(),
                                  &psRequest->i32Status);
    if (psRequest->i32Status != LT_STATUS_ACK)
        return iUsable;
    if (LT_protocolAtLeast(psHandle, 4, 0) && LT_boardId(psHandle) != 0) {
        uint8_t au8Leds[32];
        int32_t i32Status = 0;
        iUsable = ExchangeCommandRead(psHandle, psLink, kLedsCode, nullptr, 0, au8Leds, sizeof(au8Leds), transferMs(),
                                      &i32Status);
        if (i32Status == LT_STATUS_ACK)
            storePowers(psHandle, LT_getU32(au8Leds, 12), LT_getU32(au8Leds, 28));
        if (!iUsable)
            psRequest->i32Status = i32Status;
    }
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    psHandle->sCamera.u32Shutter = u32Shutter;
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    replyPowers(psHandle, psRequest);
    return iUsable;
}

int runPower(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t au32Powers[2];
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(au32Powers))
        return LT_refuseArguments(psRequest);
    memcpy(au32Powers, psRequest->pPayload, sizeof(au32Powers));
    if (au32Powers[0] > psHandle->u32MaxLedCurrent || au32Powers[1] > psHandle->u32MaxLedCurrent)
        return LT_refuseArguments(psRequest);
    if (!LT_protocolAtLeast(psHandle, 4, 0)) {
        const uint32_t u32Shutter = camera(psHandle).u32Shutter;
        uint32_t u32Limit = 0;
        GetShutterTiming(psHandle, u32Shutter, nullptr, nullptr, &u32Limit);
        if (!LT_shutterKnown(u32Shutter))
            return LT_refuseArguments(psRequest);
        for (uint32_t &u32Power : au32Powers)
            u32Power = u32Power > u32Limit ? u32Limit : u32Power;
    }
    const int iUsable = sendPair(psHandle, psLink, kLedPowerCode, au32Powers[0], au32Powers[1], &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        storePowers(psHandle, au32Powers[0], au32Powers[1]);
        LT_replyBytes(psRequest, au32Powers, sizeof(au32Powers));
    }
    return iUsable;
}

// Autofocus on (1) or off (0); switched off, the camera tells where it stopped.
int runAutofocus(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t u32On = 0;
    if (!LT_payloadWord(psRequest, &u32On))
        return LT_refuseArguments(psRequest);
    const int iUsable = LT_runWordSet(psHandle, psLink, psRequest, kAutofocusCode, CAMERA_FIELD(u32Autofocus),
                                      LT_MUTEX_CAMERA_CONFIG, 0);
    if (psRequest->i32Status != LT_STATUS_ACK || u32On != 0 || !iUsable)
        return iUsable;
    uint32_t u32Focus = 0;
    const int iRead = readWord(psHandle, psLink, psRequest, kFocusPositionCode, CAMERA_FIELD(u32Focus), &u32Focus);
    if (psRequest->i32Status == LT_STATUS_ACK)
        LT_replyBytes(psRequest, &u32Focus, sizeof(u32Focus));
    return iRead;
}

// Manual mode (0) or shutter mode (1); in manual mode the camera tells its iris and gain.
int runManualMode(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t u32Mode = 0;
    if (!LT_payloadWord(psRequest, &u32Mode))
        return LT_refuseArguments(psRequest);
    int iUsable = LT_runWordSet(psHandle, psLink, psRequest, kModeCode, CAMERA_FIELD(u32ManualMode),
                                LT_MUTEX_CAMERA_CONFIG, 0);
    if (psRequest->i32Status != LT_STATUS_ACK || u32Mode != 0 || !iUsable)
        return iUsable;
    uint32_t au32Values[2] = {};
    iUsable = readWord(psHandle, psLink, psRequest, kIrisCode, CAMERA_FIELD(u32Iris), &au32Values[0]);
    if (psRequest->i32Status != LT_STATUS_ACK || !iUsable)
        return iUsable;
    iUsable = readWord(psHandle, psLink, psRequest, kGainCode, CAMERA_FIELD(u32Gain), &au32Values[1]);
    if (psRequest->i32Status == LT_STATUS_ACK)
        LT_replyBytes(psRequest, au32Values, sizeof(au32Values));
    return iUsable;
}

int runSaveFocus(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runPlain(psHandle, psLink, psRequest, 0xFFF8);
}

int runStore(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const int iUsable = LT_runPlain(psHandle, psLink, psRequest, kStoreCode);
    if (psRequest->i32Status != LT_STATUS_ACK || LT_boardId(psHandle) == 0)
        return iUsable;
    return LT_runPlain(psHandle, psLink, psRequest, kStoreBoardCode);
}

int runFocusValues(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint8_t au8Wire[8];
    const int iUsable = ExchangeCommandRead(psHandle, psLink, 0xFFF9, nullptr, 0, au8Wire, sizeof(au8Wire),
                                            transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        const uint32_t au32Values[2] = {LT_getU32(au8Wire, 0), LT_getU32(au8Wire, 4)};
        LT_replyBytes(psRequest, au32Values, sizeof(au32Values));
    }
    return iUsable;
}

// Each value goes twice in its own command and is kept once acknowledged.
int runBracketingSet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t au32Values[2];
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(au32Values))
        return LT_refuseArguments(psRequest);
    memcpy(au32Values, psRequest->pPayload, sizeof(au32Values));
    const uint32_t au32Codes[2] = {kBracketingFirstCode, kBracketingSecondCode};
    for (size_t i = 0; i < 2; i++) {
        uint8_t au8Wire[8];
        LT_putU32(au8Wire, 0, au32Values[i]);
        LT_putU32(au8Wire, 4, au32Values[i]);
        const int iUsable = ExchangeCommand(psHandle, psLink, au32Codes[i], au8Wire, sizeof(au8Wire), transferMs(),
                                            &psRequest->i32Status);
        if (psRequest->i32Status != LT_STATUS_ACK)
            return iUsable;
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        psHandle->au32Bracketing[i] = au32Values[i];
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
        if (!iUsable)
            return 0;
    }
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_setHeld(psHandle, LT_RECEIVED_BRACKETING);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    return 1;
}

int runBracketingGet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint8_t au8Wire[8];
    const int iUsable = ExchangeCommandRead(psHandle, psLink, kBracketingGetCode, nullptr, 0, au8Wire,
                                            sizeof(au8Wire), transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        const uint32_t au32Values[2] = {LT_getU32(au8Wire, 0), LT_getU32(au8Wire, 4)};
        LT_replyBytes(psRequest, au32Values, sizeof(au32Values));
    }
    return iUsable;
}

int runLedTriggerGet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runStoredRead(psHandle, psLink, psRequest, &kLedTrigger);
}

int runLedTriggerSet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runStoredWrite(psHandle, psLink, psRequest, &kLedTriggerSet);
}

const uint32_t kColdBusyLocked = LT_GUARD_COLD | LT_GUARD_BUSY | LT_GUARD_RS232;
const uint32_t kColdLocked = LT_GUARD_COLD | LT_GUARD_RS232;
const LT_Availability kCamera = {0, 0, 0, 0, LT_NEEDS_CAMERA};
const LT_Availability kAlways = {0, 0, 0, 0, LT_NEEDS_NOTHING};

void twoOutputs(const uint32_t au32Values[2], uint32_t *pu32First, uint32_t *pu32Second)
{
    if (pu32First)
        *pu32First = au32Values[0];
    if (pu32Second)
        *pu32Second = au32Values[1];
}

// A command whose reply is two words for two optional outputs.
int32_t sendForTwo(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command, const void *pPayload,
                   uint32_t u32Size, uint32_t *pu32First, uint32_t *pu32Second)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    uint32_t au32Values[2] = {};
    const int32_t i32Result = LT_send(psHandle, &sError, u32Command, pPayload, u32Size, au32Values, sizeof(au32Values));
    if (i32Result == 0)
        twoOutputs(au32Values, pu32First, pu32Second);
    return i32Result;
}

} // namespace

extern "C" {

const LT_Command g_asCameraCommands[] = {
    {LT_CMD_SET_ZOOM, kColdLocked, kCamera, &runZoom},
    {LT_CMD_SET_IRIS, kColdBusyLocked, kCamera, &runWord},
    {LT_CMD_SET_GAIN, kColdBusyLocked, kCamera, &runWord},
    {LT_CMD_SET_SHUTTER, kColdBusyLocked, kCamera, &runShutter},
    {LT_CMD_SET_FOCUS, kColdBusyLocked, kCamera, &runFocus},
    {LT_CMD_SET_EXP_COMP, kColdBusyLocked, kCamera, &runWord},
    {LT_CMD_SET_AUTOFOCUS, kColdBusyLocked, kCamera, &runAutofocus},
    {LT_CMD_SET_DISPLAY, kColdLocked, kCamera, &runWord},
    {LT_CMD_SET_POWER, LT_GUARD_RS232, {0, 0, 0, 0, LT_NEEDS_LEDS}, &runPower},
    {LT_CMD_SET_MANUAL_MODE, kColdBusyLocked, kCamera, &runManualMode},
    {LT_CMD_SET_IR_CUT, kColdBusyLocked, {0, 0, 0, 0, LT_NEEDS_IR_CUT}, &runWord},
    {LT_CMD_SAVE_FOCUS, LT_GUARD_COLD, {2, 6, 0, 0, LT_NEEDS_IR_CUT}, &runSaveFocus},
    {LT_CMD_STORE, kColdLocked, kCamera, &runStore},
    {LT_CMD_SET_MACRO_MODE, kColdLocked, {3, 0, 0, 0, LT_NEEDS_CAMERA}, &runWord},
    {LT_CMD_GET_FOCUS_VALUES, 0, {3, 0, 0, 0, LT_NEEDS_IR_CUT}, &runFocusValues},
    {LT_CMD_SET_CAMERA_SYNCHRO, 0, {4, 3, 0, 0, LT_NEEDS_CAMERA_CODE}, &runWord},
    {LT_CMD_SET_FLIP, kColdBusyLocked, {4, 3, 0, 0, LT_NEEDS_IR_CUT}, &runWord},
    {LT_CMD_SET_AE_SPEED, 0, kAlways, &runWord},
    {LT_CMD_SET_BRACKETING, 0, kAlways, &runBracketingSet},
    {LT_CMD_GET_BRACKETING, 0, kAlways, &runBracketingGet},
    {LT_CMD_SET_ECO_MODE, 0, kAlways, &runWord},
    {LT_CMD_GET_LED_TRIGGER, 0, {4, 7, 0, 0, LT_NEEDS_BOARD}, &runLedTriggerGet},
    {LT_CMD_SET_LED_TRIGGER, 0, {4, 7, 0, 0, LT_NEEDS_BOARD}, &runLedTriggerSet},
    {0, 0, kAlways, nullptr},
};

int32_t LumatrekSetZoom(LumatrekHandle *psHandle, uint32_t u32Zoom)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_ZOOM, LT_CMD_SET_ZOOM, u32Zoom, 0, UINT32_MAX);
}

int32_t LumatrekSetIris(LumatrekHandle *psHandle, uint32_t u32Iris)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_IRIS, LT_CMD_SET_IRIS, u32Iris, 0, 17);
}

int32_t LumatrekSetGain(LumatrekHandle *psHandle, uint32_t u32Gain)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_GAIN, LT_CMD_SET_GAIN, u32Gain, 0, 15);
}

int32_t LumatrekSetShutter(LumatrekHandle *psHandle, uint32_t u32Shutter, uint32_t *pu32Power1, uint32_t *pu32Power2)
{
    if (u32Shutter < 6 || u32Shutter > 21) {
        LumatrekErrorInfo sError;
        LT_initError(&sError, LT_text(LT_TEXT_FN_SET_SHUTTER), 1);
        return LT_rejectArgument(psHandle, &sError);
    }
    return sendForTwo(psHandle, LT_TEXT_FN_SET_SHUTTER, LT_CMD_SET_SHUTTER, &u32Shutter, sizeof(u32Shutter),
                      pu32Power1, pu32Power2);
}

int32_t LumatrekSetFocus(LumatrekHandle *psHandle, uint32_t u32Focus)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_FOCUS, LT_CMD_SET_FOCUS, u32Focus, 4096, 49152);
}

int32_t LumatrekSetExpComp(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_EXP_COMP, LT_CMD_SET_EXP_COMP, u32Value, 0, 14);
}

int32_t LumatrekSetAutofocusOn(LumatrekHandle *psHandle)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_AUTOFOCUS_ON, LT_CMD_SET_AUTOFOCUS, 1, 0, 1);
}

int32_t LumatrekSetAutofocusOff(LumatrekHandle *psHandle, uint32_t *pu32Focus)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_AUTOFOCUS_OFF), 1);
    const uint32_t u32Off = 0;
    uint32_t u32Focus = 0;
    const int32_t i32Result =
        LT_send(psHandle, &sError, LT_CMD_SET_AUTOFOCUS, &u32Off, sizeof(u32Off), &u32Focus, sizeof(u32Focus));
    if (i32Result == 0 && pu32Focus)
        *pu32Focus = u32Focus;
    return i32Result;
}

int32_t LumatrekSetDisplay(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_DISPLAY, LT_CMD_SET_DISPLAY, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekSetPower(LumatrekHandle *psHandle, uint32_t u32Power1, uint32_t u32Power2, uint32_t *pu32Power1,
                         uint32_t *pu32Power2)
{
    const uint32_t au32Powers[2] = {u32Power1, u32Power2};
    return sendForTwo(psHandle, LT_TEXT_FN_SET_POWER, LT_CMD_SET_POWER, au32Powers, sizeof(au32Powers), pu32Power1,
                      pu32Power2);
}

int32_t LumatrekSetManualMode(LumatrekHandle *psHandle, uint32_t *pu32Iris, uint32_t *pu32Gain)
{
    const uint32_t u32Manual = 0;
    return sendForTwo(psHandle, LT_TEXT_FN_SET_MANUAL_MODE, LT_CMD_SET_MANUAL_MODE, &u32Manual, sizeof(u32Manual),
                      pu32Iris, pu32Gain);
}

int32_t LumatrekSetShutterMode(LumatrekHandle *psHandle)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_SHUTTER_MODE, LT_CMD_SET_MANUAL_MODE, 1, 0, 1);
}

int32_t LumatrekSetIRCut(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_IR_CUT, LT_CMD_SET_IR_CUT, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekSaveFocus(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_SAVE_FOCUS, LT_CMD_SAVE_FOCUS);
}

int32_t LumatrekStore(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_STORE, LT_CMD_STORE);
}

int32_t LumatrekSetMacroMode(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_MACRO_MODE, LT_CMD_SET_MACRO_MODE, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekGetFocusValues(LumatrekHandle *psHandle, uint32_t *pu32FocusIrCutOn, uint32_t *pu32FocusIrCutOff)
{
    return sendForTwo(psHandle, LT_TEXT_FN_GET_FOCUS_VALUES, LT_CMD_GET_FOCUS_VALUES, nullptr, 0, pu32FocusIrCutOn,
                      pu32FocusIrCutOff);
}

int32_t LumatrekSetCameraSynchro(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_CAMERA_SYNCHRO, LT_CMD_SET_CAMERA_SYNCHRO, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekSetFlip(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_FLIP, LT_CMD_SET_FLIP, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekSetAEResponseSpeed(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_AE_RESPONSE_SPEED, LT_CMD_SET_AE_SPEED, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekSetBracketingConfig(LumatrekHandle *psHandle, uint32_t u32First, uint32_t u32Second)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_BRACKETING_CONFIG), 1);
    const uint32_t au32Values[2] = {u32First, u32Second};
    return LT_send(psHandle, &sError, LT_CMD_SET_BRACKETING, au32Values, sizeof(au32Values), nullptr, 0);
}

int32_t LumatrekGetBracketingConfig(LumatrekHandle *psHandle, uint32_t *pu32First, uint32_t *pu32Second)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_BRACKETING_CONFIG), 1);
    if (!psHandle || !pu32First || !pu32Second || !CheckHandle(psHandle, &sError))
        return -1;
    uint32_t au32Values[2] = {};
    if (!LT_hasCommandChannel(psHandle)) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        memcpy(au32Values, psHandle->au32Bracketing, sizeof(au32Values));
        const int bHeld = LT_isHeld(psHandle, LT_RECEIVED_BRACKETING);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
        twoOutputs(au32Values, pu32First, pu32Second);
        return bHeld ? 0 : -1;
    }
    const int32_t i32Result = SendCommand(psHandle, &sError, LT_CMD_GET_BRACKETING, 0, 1, 0, nullptr,
                                          sizeof(au32Values), au32Values);
    if (i32Result == 0)
        twoOutputs(au32Values, pu32First, pu32Second);
    return i32Result;
}

int32_t LumatrekSetEcoMode(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_ECO_MODE, LT_CMD_SET_ECO_MODE, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekGetLedExternalTriggerConfig(LumatrekHandle *psHandle, LumatrekLedExternalTriggerConfig *psConfig)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_LED_EXTERNAL_TRIGGER_CONFIG, LT_CMD_GET_LED_TRIGGER, &kLedTrigger,
                        psConfig);
}

int32_t LumatrekSetLedExternalTriggerConfig(LumatrekHandle *psHandle,
                                            const LumatrekLedExternalTriggerConfig *psConfig)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_LED_EXTERNAL_TRIGGER_CONFIG, LT_CMD_SET_LED_TRIGGER, psConfig,
                          sizeof(*psConfig), nullptr);
}

} // extern "C"
