/* The device commands: status and reboot, inputs and outputs, the barrier, the board and
 * activation settings, the sensor's network identity, unicast discovery and raw messages. */
#include "Lumatrek_Internal.h"

#include <cstddef>
#include <cstring>

namespace {

const uint32_t kWireIpConfig = 84;
const uint32_t kWireActivation = 36;
const uint32_t kWireUnicast = 28;
const uint32_t kWireName = 32;
const uint32_t kTextField = 16;
const uint32_t kMaxPort = 65535;

uint32_t transferMs()
{
    return LT_timing()->u32TransferTimeoutMs;
}

int convertActivation(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertActivationConfig(static_cast<LumatrekActivationConfig *>(pRecord), pu8Wire, u32WireSize);
}

void packActivation(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const auto *psConfig = static_cast<const LumatrekActivationConfig *>(pRecord);
    const uint32_t au32Switches[] = {psConfig->u32SpeedMeasure, psConfig->u32AreaOfInterest,
                                     psConfig->u32DuplicateFilter, psConfig->u32AutomaticFocus,
                                     psConfig->u32KeptSwitch};
    for (size_t i = 0; i < sizeof(au32Switches) / sizeof(au32Switches[0]); i++)
        pu8Wire[i] = au32Switches[i] != 0;
}

void packBoard(LumatrekHandle *psHandle, uint8_t *pu8Wire, const void *pRecord)
{
    BoardConfigToWire(psHandle, pu8Wire, static_cast<const LumatrekBoardConfig *>(pRecord));
}

const LT_StoredBlock kActivation = {0x777A,
                                    kWireActivation,
                                    LT_RECEIVED_ACTIVATION,
                                    offsetof(LumatrekHandle, sActivation),
                                    sizeof(LumatrekActivationConfig),
                                    LT_MUTEX_CONFIG,
                                    &convertActivation,
                                    &packActivation};
const LT_StoredBlock kBoard = {0xFFF6,          LT_WIRE_BOARD,   LT_RECEIVED_BOARD, offsetof(LumatrekHandle, sBoard),
                               sizeof(LumatrekBoardConfig), LT_MUTEX_CONFIG, nullptr, &packBoard};
const LT_StoredBlock kCardClass = {0, 0, LT_RECEIVED_DESCRIPTION, offsetof(LumatrekHandle, u32CardClass),
                                   sizeof(uint32_t), LT_MUTEX_CONFIG, nullptr, nullptr};
const LT_StoredBlock kIoState = {0x6678, 8, LT_RECEIVED_INPUTS, offsetof(LumatrekHandle, au8IoState), 8,
                                 LT_MUTEX_CONFIG, nullptr, nullptr};

// A block the command connection holds without asking: copied as it is.
int copyStored(LumatrekHandle *psHandle, LumatrekCommandRequest *psRequest, const LT_StoredBlock *psBlock)
{
    if (!psRequest->pReply || psRequest->u32ReplySize < psBlock->u32RecordSize)
        return LT_refuseArguments(psRequest);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_replyBytes(psRequest, LT_field(psHandle, psBlock->szOffset), psBlock->u32RecordSize);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    psRequest->i32Status = LT_STATUS_ACK;
    return 1;
}

int runStatus(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    psRequest->i32Status = LT_STATUS_DISCONNECTED;
    LumatrekMessageHeader sReply;
    if (!SendHeader(psLink, LT_CODE_STATUS, transferMs()) || !LT_readHeader(psLink, &sReply, transferMs()))
        return 0;
    if (sReply.u32Length != 0) {
        psRequest->i32Status = LT_STATUS_INVALIDANSWER;
        return 0;
    }
    const uint32_t au32Reply[2] = {sReply.u32Code, uint32_t(SA_AtomicLoad(&psHandle->bClockValid))};
    LT_replyBytes(psRequest, au32Reply, sizeof(au32Reply));
    psRequest->i32Status = LT_STATUS_ACK;
    return 1;
}

// Whatever the answer, the sensor restarts: every connection is made again.
int runReboot(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    ExchangeCommand(psHandle, psLink, LT_REPLY_REBOOTING, nullptr, 0, transferMs(), &psRequest->i32Status);
    LT_requestReconnection(psHandle);
    return 0;
}

int runOutput(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t u32Value = 0;
    if (!LT_payloadWord(psRequest, &u32Value))
        return LT_refuseArguments(psRequest);
    uint8_t au8Wire[8] = {};
    LT_putU32(au8Wire, 0, SA_GetTickMs());
    LT_putU16(au8Wire, 4, uint16_t(u32Value));
    const int iUsable = ExchangeCommand(psHandle, psLink, LT_FOURCC('G', 'P', 'I', 'O'), au8Wire, sizeof(au8Wire),
                                        transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        memcpy(psHandle->au8IoState, au8Wire, sizeof(au8Wire));
        LT_setHeld(psHandle, LT_RECEIVED_INPUTS);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return iUsable;
}

int runIoState(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const uint8_t au8Payload[4] = {};
    uint8_t au8Wire[8];
    const int iUsable = ExchangeCommandRead(psHandle, psLink, kIoState.u32WireCode, au8Payload, sizeof(au8Payload),
                                            au8Wire, sizeof(au8Wire), transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        memcpy(psHandle->au8IoState, au8Wire, sizeof(au8Wire));
        LT_setHeld(psHandle, LT_RECEIVED_INPUTS);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
        LT_replyBytes(psRequest, au8Wire, sizeof(au8Wire));
    }
    return iUsable;
}

int runBarrier(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (psRequest->u32PayloadSize != 0 || psRequest->pPayload)
        return LT_refuseArguments(psRequest);
    return LT_runPlain(psHandle, psLink, psRequest, 0x666B);
}

int runGetActivation(LumatrekHandle *psHandle, LT_Link *, LumatrekCommandRequest *psRequest)
{
    return copyStored(psHandle, psRequest, &kActivation);
}

int runSetActivation(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runStoredWrite(psHandle, psLink, psRequest, &kActivation);
}

int runGetBoard(LumatrekHandle *psHandle, LT_Link *, LumatrekCommandRequest *psRequest)
{
    return copyStored(psHandle, psRequest, &kBoard);
}

// Older sensors apply a board change only on a new connection.
int runSetBoard(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const int iUsable = LT_runStoredWrite(psHandle, psLink, psRequest, &kBoard);
    if (psRequest->i32Status == LT_STATUS_INVALIDARGUMENT)
        return iUsable;
    return LT_protocolAtLeast(psHandle, 4, 3) ? iUsable : 0;
}

int runCardClass(LumatrekHandle *psHandle, LT_Link *, LumatrekCommandRequest *psRequest)
{
    return copyStored(psHandle, psRequest, &kCardClass);
}

int runSendKgv(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runPlain(psHandle, psLink, psRequest, psRequest->u32Argument);
}

int isNoAddress(const char *pcszAddress)
{
    return strcmp(pcszAddress, LT_text(LT_TEXT_NO_ADDRESS)) == 0;
}

void putText(uint8_t *pu8Wire, const char *pcszText)
{
    memcpy(pu8Wire, pcszText, strnlen(pcszText, kTextField - 1));
}

// The IP record as the sensor takes it; the DHCP flag by protocol version.
void packIpConfig(LumatrekHandle *psHandle, const LumatrekIpConfig &sConfig, uint8_t au8Wire[kWireIpConfig],
                  char aszSent[kTextField])
{
    memset(au8Wire, 0, kWireIpConfig);
    uint32_t u32Dhcp = sConfig.u32Dhcp;
    LT_copyText(aszSent, kTextField, reinterpret_cast<const uint8_t *>(sConfig.aszAddress), kTextField);
    if (!LT_protocolAtLeast(psHandle, 4, 3)) {
        if (u32Dhcp || isNoAddress(aszSent)) {
            LT_copyText(aszSent, kTextField, reinterpret_cast<const uint8_t *>(LT_text(LT_TEXT_NO_ADDRESS)),
                        kTextField);
            u32Dhcp = 0;
        }
    } else if (isNoAddress(aszSent)) {
        u32Dhcp = 1;
    }
    putText(au8Wire, aszSent);
    putText(au8Wire + 16, sConfig.aszMask);
    putText(au8Wire + 32, sConfig.aszGateway);
    putText(au8Wire + 48, sConfig.aszDns);
    LT_putU32(au8Wire, 64, sConfig.u32TimeoutMs);
    LT_putU32(au8Wire, 68, sConfig.u32CommandPort);
    LT_putU32(au8Wire, 72, sConfig.u32StreamPort);
    LT_putU32(au8Wire, 76, sConfig.u32TimePort);
    LT_putU32(au8Wire, 80, u32Dhcp);
}

// The sensor moves to the new address and ports; 0 when the address cannot be kept.
int takeNewAddress(LumatrekHandle *psHandle, const LumatrekIpConfig &sConfig, const char *pcszSent)
{
    int bKept = 1;
    LT_lock(psHandle, LT_MUTEX_PORT);
    // "0.0.0.0" names no sensor and can never be connected to: the old address stays.
    if (!isNoAddress(pcszSent) && (!psHandle->pszHost || strcmp(psHandle->pszHost, pcszSent) != 0)) {
        char *pszHost = SU_Strdup(pcszSent);
        bKept = pszHost != nullptr;
        if (pszHost) {
            SA_Free(&psHandle->pszHost);
            psHandle->pszHost = pszHost;
        }
    }
    if (bKept) {
        psHandle->u32CommandPort = sConfig.u32CommandPort;
        psHandle->u32StreamPortOverride = sConfig.u32StreamPort;
        psHandle->u32TimePort = sConfig.u32TimePort;
        psHandle->u32StreamPortInUse = 0;
    }
    LT_unlock(psHandle, LT_MUTEX_PORT);
    return bKept;
}

int runSetIp(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    LumatrekIpConfig sConfig;
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(sConfig))
        return LT_refuseArguments(psRequest);
    memcpy(&sConfig, psRequest->pPayload, sizeof(sConfig));
    uint8_t au8Wire[kWireIpConfig];
    char aszSent[kTextField];
    packIpConfig(psHandle, sConfig, au8Wire, aszSent);
    const int iUsable = ExchangeCommand(psHandle, psLink, 0x555D, au8Wire, sizeof(au8Wire), transferMs(),
                                        &psRequest->i32Status);
    if (psRequest->i32Status != LT_STATUS_ACK)
        return iUsable;
    if (!takeNewAddress(psHandle, sConfig, aszSent)) {
        ReportError(psHandle, LT_text(LT_TEXT_THREAD_COMMAND), 0, LUMATREK_ERROR_NO_MEMORY, LT_text(LT_TEXT_NO_MEMORY),
                    1);
        return LT_RUN_END;
    }
    LT_requestReconnection(psHandle);
    return 0;
}

int runSetUniqueName(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != kWireName)
        return LT_refuseArguments(psRequest);
    const int iUsable = LT_runPlain(psHandle, psLink, psRequest, 0xFFFB);
    if (psRequest->i32Status != LT_STATUS_ACK)
        return iUsable;
    const uint8_t *pu8Name = static_cast<const uint8_t *>(psRequest->pPayload);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_copyText(psHandle->aszUniqueName, sizeof(psHandle->aszUniqueName), pu8Name, kWireName);
    LT_copyText(psHandle->sDescription.aszName, sizeof(psHandle->sDescription.aszName), pu8Name, kWireName);
    if (psHandle->sConfig.u32SensorType == LUMATREK_SENSOR_ANPR)
        LT_copyText(psHandle->sConfig.uBody.sAnpr.aszUniqueName, sizeof(psHandle->sConfig.uBody.sAnpr.aszUniqueName),
                    pu8Name, kWireName);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    return iUsable;
}

int sendSubscription(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code)
{
    LumatrekDiscoverAddress sAddress;
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(sAddress))
        return LT_refuseArguments(psRequest);
    memcpy(&sAddress, psRequest->pPayload, sizeof(sAddress));
    uint8_t au8Wire[kWireUnicast] = {};
    putText(au8Wire, sAddress.aszAddress);
    LT_putU16(au8Wire, 16, uint16_t(sAddress.u32Port));
    const int iUsable = ExchangeCommand(psHandle, psLink, u32Code, au8Wire, sizeof(au8Wire), transferMs(),
                                        &psRequest->i32Status);
    // Whatever the sensor answered, its list is asked again at the next read.
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_clearHeld(psHandle, LT_RECEIVED_UNICAST);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    return iUsable;
}

int runSubscribe(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return sendSubscription(psHandle, psLink, psRequest, 0x6666);
}

int runUnsubscribe(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return sendSubscription(psHandle, psLink, psRequest, 0x6667);
}

// The stored list into the caller's; -1 with the record filled when it has too little room.
int32_t giveStoredList(LumatrekHandle *psHandle, LT_UnicastReply *psReply, LumatrekErrorInfo *psError)
{
    const uint32_t u32Stored = psHandle->u32DiscoverCount;
    if (psReply->psList && u32Stored != 0) {
        if (psReply->u32Count < u32Stored) {
            LT_setError(psError, LUMATREK_ERROR_INVALID_ARGUMENT, LT_TEXT_INVALID_ARGUMENT, 0);
            return LT_STATUS_NACK;
        }
        memcpy(psReply->psList, psHandle->psDiscover, size_t(u32Stored) * sizeof(LumatrekDiscoverAddress));
    }
    psReply->u32Count = u32Stored;
    return LT_STATUS_ACK;
}

// Reads the sensor's list into the handle; 0 when the connection is lost.
int fetchList(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Count)
{
    if (u32Count > LT_MAX_UNICAST_ENTRIES) {
        psRequest->i32Status = LT_STATUS_INVALIDANSWER;
        return 1;
    }
    const size_t szSize = size_t(u32Count) * kWireUnicast;
    uint8_t *pu8Wire = static_cast<uint8_t *>(SA_Malloc(uint32_t(szSize)));
    if (!pu8Wire) {
        LT_setError(psRequest->psError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY, 0);
        psRequest->i32Status = LT_STATUS_NACK;
        return 1;
    }
    const int iUsable = ExchangeCommandRead(psHandle, psLink, 0x6668, nullptr, 0, pu8Wire, uint32_t(szSize),
                                            transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        if (LumatrekUpdateUnicastDiscoverAddresses(psHandle, pu8Wire, u32Count, uint32_t(szSize),
                                                   psRequest->psError))
            LT_setHeld(psHandle, LT_RECEIVED_UNICAST);
        else
            psRequest->i32Status = LT_STATUS_NACK;
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    SA_Free(&pu8Wire);
    return iUsable;
}

int runGetUnicast(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pReply || psRequest->u32ReplySize != sizeof(LT_UnicastReply))
        return LT_refuseArguments(psRequest);
    LT_UnicastReply *psReply = static_cast<LT_UnicastReply *>(psRequest->pReply);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    const int bHeld = LT_isHeld(psHandle, LT_RECEIVED_UNICAST);
    if (bHeld)
        psRequest->i32Status = giveStoredList(psHandle, psReply, psRequest->psError);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    if (bHeld)
        return 1;
    uint8_t au8Count[4];
    int iUsable = ExchangeCommandRead(psHandle, psLink, 0x666A, nullptr, 0, au8Count, sizeof(au8Count), transferMs(),
                                      &psRequest->i32Status);
    if (psRequest->i32Status != LT_STATUS_ACK)
        return iUsable;
    const uint32_t u32Count = LT_getU32(au8Count, 0);
    if (!psReply->psList || u32Count == 0) {
        if (u32Count == 0) {
            LT_lock(psHandle, LT_MUTEX_CONFIG);
            LumatrekUpdateUnicastDiscoverAddresses(psHandle, nullptr, 0, 0, psRequest->psError);
            LT_unlock(psHandle, LT_MUTEX_CONFIG);
        }
        psReply->u32Count = u32Count;
        return iUsable;
    }
    iUsable = fetchList(psHandle, psLink, psRequest, u32Count) && iUsable;
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        psRequest->i32Status = giveStoredList(psHandle, psReply, psRequest->psError);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return iUsable;
}

const LT_Availability kAlways = {0, 0, 0, 0, LT_NEEDS_NOTHING};
const uint32_t kRecorder = 1u << LUMATREK_SENSOR_RECORDER;
const uint32_t kRecognitionTypes =
    (1u << LUMATREK_SENSOR_ANPR) | (1u << LUMATREK_SENSOR_DGPR) | (1u << LUMATREK_SENSOR_SIGNATURE);

int validBoard(const void *pRecord)
{
    const auto *psConfig = static_cast<const LumatrekBoardConfig *>(pRecord);
    const uint32_t u32Type = psConfig->u32SensorType;
    return psConfig->au32Kept[1] <= 2 && psConfig->u32SerialExportMode <= 2 && psConfig->u32StreamCodec <= 1 &&
           psConfig->u32IoMode <= 2 &&
           (u32Type == LUMATREK_SENSOR_VIDEO || u32Type == LUMATREK_SENSOR_ANPR || u32Type == LUMATREK_SENSOR_DGPR ||
            u32Type == LUMATREK_SENSOR_SIGNATURE || u32Type == LUMATREK_SENSOR_VIDEO_EXTERNAL);
}

int validTextField(const char *pcszText)
{
    return !pcszText || strnlen(pcszText, kTextField) < kTextField;
}

void putRecordText(char aszField[kTextField], const char *pcszText)
{
    const char *pcszValue = pcszText ? pcszText : LT_text(LT_TEXT_NO_ADDRESS);
    memset(aszField, 0, kTextField);
    memcpy(aszField, pcszValue, strlen(pcszValue));
}

int32_t sendSubscriptionCall(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command,
                             const LumatrekDiscoverAddress *psAddress)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    if (!psAddress || strnlen(psAddress->aszAddress, kTextField) >= kTextField)
        return LT_rejectArgument(psHandle, &sError);
    return LT_send(psHandle, &sError, u32Command, psAddress, sizeof(*psAddress), nullptr, 0);
}

} // namespace

extern "C" {

const LT_Command g_asDeviceCommands[] = {
    {LT_CMD_GET_STATUS, 0, kAlways, &runStatus},
    {LT_CMD_REBOOT, 0, kAlways, &runReboot},
    {LT_CMD_SET_OUTPUT, 0, {3, 0, 0, kRecorder, LT_NEEDS_NOTHING}, &runOutput},
    {LT_CMD_GET_IO_STATE, 0, {4, 6, 0, 0, LT_NEEDS_NOTHING}, &runIoState},
    {LT_CMD_OPEN_BARRIER, 0, {4, 1, kRecognitionTypes, 0, LT_NEEDS_NOTHING}, &runBarrier},
    {LT_CMD_GET_ACTIVATION, 0, {4, 6, 0, 0, LT_NEEDS_NOTHING}, &runGetActivation},
    {LT_CMD_SET_ACTIVATION, 0, {4, 6, 0, 0, LT_NEEDS_NOTHING}, &runSetActivation},
    {LT_CMD_GET_BOARD, 0, {3, 0, 0, 0, LT_NEEDS_NOTHING}, &runGetBoard},
    {LT_CMD_SET_BOARD, 0, {3, 0, 0, 0, LT_NEEDS_NOTHING}, &runSetBoard},
    {LT_CMD_GET_CARD_CLASS, 0, {4, 3, 0, 0, LT_NEEDS_NOTHING}, &runCardClass},
    {LT_CMD_SEND_KGV, 0, kAlways, &runSendKgv},
    {LT_CMD_SET_IP, 0, {3, 0, 0, 0, LT_NEEDS_NOTHING}, &runSetIp},
    {LT_CMD_SET_UNIQUE_NAME, 0, {4, 1, 0, kRecorder, LT_NEEDS_NOTHING}, &runSetUniqueName},
    {LT_CMD_SUBSCRIBE_UNICAST, 0, {4, 1, 0, 0, LT_NEEDS_NOTHING}, &runSubscribe},
    {LT_CMD_UNSUBSCRIBE_UNICAST, 0, {4, 1, 0, 0, LT_NEEDS_NOTHING}, &runUnsubscribe},
    {LT_CMD_GET_UNICAST, 0, {4, 1, 0, 0, LT_NEEDS_NOTHING}, &runGetUnicast},
    {0, 0, kAlways, nullptr},
};

int32_t LumatrekGetStatusV2(LumatrekHandle *psHandle, LumatrekStatus *psStatus)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_STATUS_V2), 1);
    if (!psStatus)
        return LT_rejectArgument(psHandle, &sError);
    int32_t i32Result = 0;
    const LT_StoredBlock sStored = {0, 0, LT_RECEIVED_DESCRIPTION, offsetof(LumatrekHandle, u32Status),
                                    sizeof(uint32_t), LT_MUTEX_CONFIG, nullptr, nullptr};
    if (!LT_answerFromStore(psHandle, &sError, &sStored, &psStatus->u32Status, &i32Result)) {
        uint32_t au32Reply[2] = {};
        i32Result = LT_send(psHandle, &sError, LT_CMD_GET_STATUS, nullptr, 0, au32Reply, sizeof(au32Reply));
        if (i32Result == 0)
            psStatus->u32Status = au32Reply[0];
    }
    LumatrekGetState(psHandle, &psStatus->sState);
    return i32Result;
}

int32_t LumatrekReboot(LumatrekHandle *psHandle)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_REBOOT), 1);
    const int32_t i32Result = SendCommand(psHandle, &sError, LT_CMD_REBOOT, 0, 1, 0, nullptr, 0, nullptr);
    if (i32Result == 0)
        return 0;
    LT_initError(&sError, LT_text(LT_TEXT_FN_REBOOT), 1);
    return LT_finishCall(psHandle, &sError, RebootOnTimeSocket(psHandle, &sError));
}

int32_t LumatrekSetOutput(LumatrekHandle *psHandle, uint32_t u32Value)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SET_OUTPUT, LT_CMD_SET_OUTPUT, u32Value, 0, UINT32_MAX);
}

int32_t LumatrekGetIoState(LumatrekHandle *psHandle, int32_t *pi32State)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_IO_STATE), 1);
    if (!pi32State)
        return LT_rejectArgument(psHandle, &sError);
    uint8_t au8State[8] = {};
    int32_t i32Result = 0;
    if (!LT_answerFromStore(psHandle, &sError, &kIoState, au8State, &i32Result))
        i32Result = LT_send(psHandle, &sError, LT_CMD_GET_IO_STATE, nullptr, 0, au8State, sizeof(au8State));
    if (i32Result == 0)
        *pi32State = int16_t(LT_getU16(au8State, 4));
    return i32Result;
}

int32_t LumatrekSetIoMode(LumatrekHandle *psHandle, uint32_t u32Mode)
{
    const LT_CallHold sHold(psHandle);
    if (u32Mode > 2) {
        LumatrekErrorInfo sError;
        LT_initError(&sError, LT_text(LT_TEXT_FN_SET_IO_MODE), 1);
        return LT_rejectArgument(psHandle, &sError);
    }
    LumatrekBoardConfig sBoard;
    const int32_t i32Result = LumatrekGetBoardConfig(psHandle, &sBoard);
    if (i32Result != 0 || sBoard.u32IoMode == u32Mode)
        return i32Result;
    sBoard.u32IoMode = u32Mode;
    return LumatrekSetBoardConfig(psHandle, &sBoard);
}

int32_t LumatrekSetOpenBarrier(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_SET_OPEN_BARRIER, LT_CMD_OPEN_BARRIER);
}

int32_t LumatrekGetActivationConfig(LumatrekHandle *psHandle, LumatrekActivationConfig *psConfig)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_ACTIVATION_CONFIG, LT_CMD_GET_ACTIVATION, &kActivation, psConfig);
}

int32_t LumatrekSetActivationConfig(LumatrekHandle *psHandle, const LumatrekActivationConfig *psConfig)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_ACTIVATION_CONFIG, LT_CMD_SET_ACTIVATION, psConfig,
                          sizeof(*psConfig), nullptr);
}

int32_t LumatrekGetBoardConfig(LumatrekHandle *psHandle, LumatrekBoardConfig *psConfig)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_BOARD_CONFIG, LT_CMD_GET_BOARD, &kBoard, psConfig);
}

int32_t LumatrekSetBoardConfig(LumatrekHandle *psHandle, const LumatrekBoardConfig *psConfig)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_BOARD_CONFIG, LT_CMD_SET_BOARD, psConfig, sizeof(*psConfig),
                          &validBoard);
}

int32_t LumatrekGetCardClass(LumatrekHandle *psHandle, uint32_t *pu32CardClass)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_CARD_CLASS, LT_CMD_GET_CARD_CLASS, &kCardClass, pu32CardClass);
}

int32_t LumatrekSendCommandKGV(LumatrekHandle *psHandle, uint32_t u32Code, const void *pPayload, uint32_t u32Size,
                               void *pReply, uint32_t u32ReplySize)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SEND_COMMAND_KGV), 1);
    if (!pPayload && u32Size != 0)
        return LT_rejectArgument(psHandle, &sError);
    const int32_t i32Result =
        SendCommand(psHandle, &sError, LT_CMD_SEND_KGV, u32Code, 1, u32Size, pPayload, u32ReplySize, pReply);
    return LT_finishCall(psHandle, &sError, i32Result);
}

int32_t LumatrekSetIPConfigV3(LumatrekHandle *psHandle, const char *pcszAddress, const char *pcszMask,
                              const char *pcszGateway, const char *pcszDns, uint32_t u32TimeoutMs,
                              uint32_t u32CommandPort, uint32_t u32StreamPort, uint32_t u32TimePort, uint32_t u32Dhcp)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_IP_CONFIG_V3), 1);
    const char *apcszTexts[] = {pcszAddress, pcszMask, pcszGateway, pcszDns};
    int bValid = u32CommandPort != 0 && u32StreamPort != 0 && u32TimePort != 0 && u32CommandPort <= kMaxPort &&
                 u32StreamPort <= kMaxPort && u32TimePort <= kMaxPort;
    for (const char *pcszText : apcszTexts)
        bValid = bValid && validTextField(pcszText) && (u32Dhcp || pcszText);
    if (!bValid)
        return LT_rejectArgument(psHandle, &sError);
    LumatrekIpConfig sConfig;
    memset(&sConfig, 0, sizeof(sConfig));
    putRecordText(sConfig.aszAddress, pcszAddress);
    putRecordText(sConfig.aszMask, pcszMask);
    putRecordText(sConfig.aszGateway, pcszGateway);
    putRecordText(sConfig.aszDns, pcszDns);
    sConfig.u32TimeoutMs = u32TimeoutMs;
    sConfig.u32CommandPort = u32CommandPort;
    sConfig.u32StreamPort = u32StreamPort;
    sConfig.u32TimePort = u32TimePort;
    sConfig.u32Dhcp = u32Dhcp;
    return LT_send(psHandle, &sError, LT_CMD_SET_IP, &sConfig, sizeof(sConfig), nullptr, 0);
}

int32_t LumatrekSetUniqueName(LumatrekHandle *psHandle, const char *pcszName)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_UNIQUE_NAME), 1);
    if (!pcszName || strnlen(pcszName, kWireName) >= kWireName)
        return LT_rejectArgument(psHandle, &sError);
    char aszName[kWireName] = {};
    memcpy(aszName, pcszName, strlen(pcszName));
    return LT_send(psHandle, &sError, LT_CMD_SET_UNIQUE_NAME, aszName, sizeof(aszName), nullptr, 0);
}

int32_t LumatrekSubscribeUnicastDiscover(LumatrekHandle *psHandle, const LumatrekDiscoverAddress *psAddress)
{
    return sendSubscriptionCall(psHandle, LT_TEXT_FN_SUBSCRIBE_UNICAST_DISCOVER, LT_CMD_SUBSCRIBE_UNICAST, psAddress);
}

int32_t LumatrekUnsubscribeUnicastDiscover(LumatrekHandle *psHandle, const LumatrekDiscoverAddress *psAddress)
{
    return sendSubscriptionCall(psHandle, LT_TEXT_FN_UNSUBSCRIBE_UNICAST_DISCOVER, LT_CMD_UNSUBSCRIBE_UNICAST,
                                psAddress);
}

int32_t LumatrekGetSubscribedUnicastDiscover(LumatrekHandle *psHandle, LumatrekDiscoverAddress *psList,
                                             uint32_t *pu32Count)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_SUBSCRIBED_UNICAST_DISCOVER), 1);
    if (!pu32Count)
        return LT_rejectArgument(psHandle, &sError);
    if (!CheckHandle(psHandle, &sError))
        return LT_finishCall(psHandle, &sError, LT_refusedCall(&sError));
    LT_UnicastReply sReply = {*pu32Count, psList};
    if (LT_hasCommandChannel(psHandle)) {
        const int32_t i32Result =
            SendCommand(psHandle, &sError, LT_CMD_GET_UNICAST, 0, 1, 0, nullptr, sizeof(sReply), &sReply);
        if (i32Result == 0)
            *pu32Count = sReply.u32Count;
        return LT_finishCall(psHandle, &sError, i32Result);
    }
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    int32_t i32Result = -1;
    if (!LT_isHeld(psHandle, LT_RECEIVED_UNICAST))
        LT_setError(&sError, -290, LT_TEXT_NOT_PROVIDED, 0);
    else if (giveStoredList(psHandle, &sReply, &sError) == LT_STATUS_ACK)
        i32Result = 0;
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    if (i32Result == 0)
        *pu32Count = sReply.u32Count;
    return LT_finishCall(psHandle, &sError, i32Result);
}

} // extern "C"
