/* The recognition and video configuration commands (configuration forms, OCR, late stack,
 * speed, area of interest, configuration files) and the master, slave and enslavement ones. */
#include "Lumatrek_Internal.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

const uint32_t kWireMpegCode = 0x555B;
const uint32_t kWireAnprCode = 0x5559;
const uint32_t kWireDgprCode = 0x8888;
const uint32_t kWireAnpr = 372;
const uint32_t kWireDgpr = 40;
const uint32_t kWireOcrSet = 52;
const uint32_t kOcrMarker = 0xFFDEADFEu;
const uint16_t kAnprMarker = 0xFE0A;
const uint32_t kFullHdHeight = 1080;

// The request of a configuration file: its slot and its bytes.
struct FileRequest {
    uint32_t u32Index;
    uint32_t u32Size;
    const void *pData;
};

uint32_t transferMs()
{
    return LT_timing()->u32TransferTimeoutMs;
}

template <typename Record>
const Record &record(const void *pRecord)
{
    return *static_cast<const Record *>(pRecord);
}

int convertOcr(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertOcrSettings(static_cast<LumatrekOcrSettings *>(pRecord), pu8Wire, u32WireSize);
}

void packOcr(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const uint32_t *pu32Words = &record<LumatrekOcrSettings>(pRecord).u32MaxPlateHeight;
    for (size_t i = 0; i < sizeof(LumatrekOcrSettings) / sizeof(uint32_t); i++)
        LT_putU32(pu8Wire, 4 * i, pu32Words[i]);
    LT_putU32(pu8Wire, sizeof(LumatrekOcrSettings), kOcrMarker);
}

void packLateStack(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const LumatrekLateStackConfig &sConfig = record<LumatrekLateStackConfig>(pRecord);
    LT_putU32(pu8Wire, 0, sConfig.u32Enabled);
    pu8Wire[4] = uint8_t(sConfig.u32Size);
    pu8Wire[5] = uint8_t(sConfig.u32JpegCompression);
}

int convertSpeed(LumatrekHandle *psHandle, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertSpeedParams(psHandle, static_cast<LumatrekSpeedParams *>(pRecord), pu8Wire, u32WireSize);
}

void packSpeed(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const LumatrekSpeedParams &sParams = record<LumatrekSpeedParams>(pRecord);
    LT_putU32(pu8Wire, 0, uint16_t(sParams.u32FieldOfViewCm));
    LT_putU32(pu8Wire, 4, uint32_t(sParams.i32HeightCm));
    LT_putU32(pu8Wire, 8, uint32_t(sParams.i32AngleTenthDegree));
}

int convertArea(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertAreaOfInterest(static_cast<LumatrekAreaOfInterest *>(pRecord), pu8Wire, u32WireSize);
}

void packArea(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const LumatrekAreaOfInterest &sArea = record<LumatrekAreaOfInterest>(pRecord);
    const uint32_t au32Words[] = {sArea.u32X, sArea.u32Y, sArea.u32Width, sArea.u32Height, sArea.u32Excluding};
    for (size_t i = 0; i < 5; i++)
        LT_putU32(pu8Wire, 4 * i, au32Words[i]);
}

int convertMaster(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertMasterParameters(static_cast<LumatrekMasterParameters *>(pRecord), pu8Wire, u32WireSize);
}

void packMaster(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const LumatrekMasterParameters &sParams = record<LumatrekMasterParameters>(pRecord);
    LT_putU32(pu8Wire, 0, sParams.au32Kept[0]);
    LT_putU32(pu8Wire, 4, sParams.au32Kept[1]);
    LT_putU32(pu8Wire, 8, uint32_t(sParams.i32CoveringZone));
    memcpy(pu8Wire + 12, sParams.au8SlaveAnprMac, sizeof(sParams.au8SlaveAnprMac));
    memcpy(pu8Wire + 18, sParams.au8SlaveContextMac, sizeof(sParams.au8SlaveContextMac));
}

int convertEnslave(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertRemoteEnslaveParams(static_cast<LumatrekRemoteEnslaveParams *>(pRecord), pu8Wire, u32WireSize);
}

void packEnslave(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const LumatrekRemoteEnslaveParams &sParams = record<LumatrekRemoteEnslaveParams>(pRecord);
    LT_putU32(pu8Wire, 0, sParams.u32ElectionWaitS);
    LT_putU32(pu8Wire, 4, sParams.u32MaxUndecidedS);
    LT_putU32(pu8Wire, 8, sParams.u32SwitchType);
    LT_putU32(pu8Wire, 12, sParams.u32PlateHysteresis);
    LT_putU16(pu8Wire, 16, sParams.u16MaxGain);
}

const LT_StoredBlock kOcrGet = {0x555E, LT_WIRE_OCR, LT_RECEIVED_OCR, offsetof(LumatrekHandle, sOcr),
                                sizeof(LumatrekOcrSettings), LT_MUTEX_CONFIG, &convertOcr, nullptr};
const LT_StoredBlock kOcrSet = {0x555A, kWireOcrSet, LT_RECEIVED_OCR, offsetof(LumatrekHandle, sOcr),
                                sizeof(LumatrekOcrSettings), LT_MUTEX_CONFIG, nullptr, &packOcr};
const LT_StoredBlock kLateStack = {0x6675, 24, LT_RECEIVED_LATE_STACK, offsetof(LumatrekHandle, sLateStack),
                                   sizeof(LumatrekLateStackConfig), LT_MUTEX_CONFIG, nullptr, &packLateStack};
const LT_StoredBlock kSpeedGet = {0x666D, 24, LT_RECEIVED_SPEED, offsetof(LumatrekHandle, sSpeed),
                                  sizeof(LumatrekSpeedParams), LT_MUTEX_CONFIG, &convertSpeed, nullptr};
const LT_StoredBlock kSpeedSet = {0x666C, 24, LT_RECEIVED_SPEED, offsetof(LumatrekHandle, sSpeed),
                                  sizeof(LumatrekSpeedParams), LT_MUTEX_CONFIG, nullptr, &packSpeed};
const LT_StoredBlock kAreaGet = {0x5562, 44, LT_RECEIVED_AREA, offsetof(LumatrekHandle, sArea),
                                 sizeof(LumatrekAreaOfInterest), LT_MUTEX_CONFIG, &convertArea, nullptr};
const LT_StoredBlock kAreaSet = {0x5561, 44, LT_RECEIVED_AREA, offsetof(LumatrekHandle, sArea),
                                 sizeof(LumatrekAreaOfInterest), LT_MUTEX_CONFIG, nullptr, &packArea};
const LT_StoredBlock kMasterGet = {0x666F, 40, LT_RECEIVED_MASTER_PARAMETERS,
                                   offsetof(LumatrekHandle, sMasterParameters), sizeof(LumatrekMasterParameters),
                                   LT_MUTEX_CONFIG, &convertMaster, nullptr};
const LT_StoredBlock kMasterSet = {0x666E, 40, LT_RECEIVED_MASTER_PARAMETERS,
                                   offsetof(LumatrekHandle, sMasterParameters), sizeof(LumatrekMasterParameters),
                                   LT_MUTEX_CONFIG, nullptr, &packMaster};
const LT_StoredBlock kEnslaveGet = {0x3334, 20, LT_RECEIVED_REMOTE_ENSLAVE, offsetof(LumatrekHandle, sRemoteEnslave),
                                    sizeof(LumatrekRemoteEnslaveParams), LT_MUTEX_CONFIG, &convertEnslave, nullptr};
const LT_StoredBlock kEnslaveSet = {0x3333, 20, LT_RECEIVED_REMOTE_ENSLAVE, offsetof(LumatrekHandle, sRemoteEnslave),
                                    sizeof(LumatrekRemoteEnslaveParams), LT_MUTEX_CONFIG, nullptr, &packEnslave};
const LT_StoredBlock kConfig = {0, 0, LT_RECEIVED_CONFIG, offsetof(LumatrekHandle, sConfig), sizeof(LumatrekConfig),
                                LT_MUTEX_CONFIG, nullptr, nullptr};
const LT_StoredBlock kActivation = {0, 0, LT_RECEIVED_ACTIVATION, offsetof(LumatrekHandle, sActivation),
                                    sizeof(LumatrekActivationConfig), LT_MUTEX_CONFIG, nullptr, nullptr};

// The table's stored blocks by command number.
struct StoredCommand {
    uint32_t u32Number;
    const LT_StoredBlock *psBlock;
    int bWrite;
};

const StoredCommand kStoredCommands[] = {
    {LT_CMD_GET_REMOTE_OCR, &kOcrGet, 0},   {LT_CMD_SET_LATE_STACK, &kLateStack, 1},
    {LT_CMD_GET_SPEED, &kSpeedGet, 0},      {LT_CMD_SET_SPEED, &kSpeedSet, 1},
    {LT_CMD_GET_AREA, &kAreaGet, 0},        {LT_CMD_SET_AREA, &kAreaSet, 1},
    {LT_CMD_GET_MASTER, &kMasterGet, 0},    {LT_CMD_SET_MASTER, &kMasterSet, 1},
    {LT_CMD_GET_REMOTE_ENSLAVE, &kEnslaveGet, 0}, {LT_CMD_SET_REMOTE_ENSLAVE, &kEnslaveSet, 1},
};

int runStored(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    for (const StoredCommand &sCommand : kStoredCommands) {
        if (sCommand.u32Number != psRequest->u32Command)
            continue;
        return sCommand.bWrite ? LT_runStoredWrite(psHandle, psLink, psRequest, sCommand.psBlock)
                               : LT_runStoredRead(psHandle, psLink, psRequest, sCommand.psBlock);
    }
    return LT_refuseArguments(psRequest);
}

// The sensor applies new OCR settings on a new connection, and takes long to do so.
int runOcrSet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(LumatrekOcrSettings))
        return LT_refuseArguments(psRequest);
    uint8_t au8Wire[kWireOcrSet];
    packOcr(psHandle, au8Wire, psRequest->pPayload);
    ExchangeCommand(psHandle, psLink, kOcrSet.u32WireCode, au8Wire, sizeof(au8Wire), LT_timing()->u32SlowTransferMs,
                    &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        memcpy(&psHandle->sOcr, psRequest->pPayload, sizeof(psHandle->sOcr));
        LT_setHeld(psHandle, LT_RECEIVED_OCR);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return 0;
}

int runResetMasterSlave(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const int iUsable = LT_runPlain(psHandle, psLink, psRequest, 0x6672);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        LT_clearHeld(psHandle, LT_RECEIVED_MASTER_PARAMETERS | LT_RECEIVED_SLAVE_PARAMETERS);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return iUsable;
}

int runGetConfig(LumatrekHandle *psHandle, LT_Link *, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pReply || psRequest->u32ReplySize < sizeof(LumatrekConfig))
        return LT_refuseArguments(psRequest);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_replyBytes(psRequest, &psHandle->sConfig, sizeof(LumatrekConfig));
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    psRequest->i32Status = LT_STATUS_ACK;
    return 1;
}

// A configuration form sent and, acknowledged, kept; older sensors apply it on a new connection.
int sendForm(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code,
             const uint8_t *pu8Wire, uint32_t u32Size, void (*rStore)(LumatrekHandle *, const void *))
{
    const int iUsable =
        ExchangeCommand(psHandle, psLink, u32Code, pu8Wire, u32Size, transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        rStore(psHandle, psRequest->pPayload);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return LT_protocolAtLeast(psHandle, 4, 3) ? iUsable : 0;
}

void storeMpeg(LumatrekHandle *psHandle, const void *pRecord)
{
    psHandle->sConfig.uBody.sMpeg = record<LumatrekMpegConfig>(pRecord);
}

int runMpeg(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(LumatrekMpegConfig))
        return LT_refuseArguments(psRequest);
    const LumatrekMpegConfig &sConfig = record<LumatrekMpegConfig>(psRequest->pPayload);
    const uint32_t u32Limit = psHandle->sConfig.uBody.sMpeg.u32Height == kFullHdHeight ? 50 : 25;
    if (LT_protocolAtLeast(psHandle, 4, 3) && sConfig.u32FrameSkip >= u32Limit)
        return LT_refuseArguments(psRequest);
    uint8_t au8Wire[LT_WIRE_MPEG];
    MpegConfigToWire(psHandle, au8Wire, &sConfig);
    return sendForm(psHandle, psLink, psRequest, kWireMpegCode, au8Wire, sizeof(au8Wire), &storeMpeg);
}

// A changed frame rate restarts the stream's frame counters.
void noteFrameSkip(LumatrekHandle *psHandle, int32_t i32Stored, int32_t i32New)
{
    if (i32Stored != i32New)
        SA_AtomicStore(&psHandle->bResetFrameCounters, 1);
}

// The list of possible contexts and the kept values are the sensor's, not the caller's.
void storeAnpr(LumatrekHandle *psHandle, const void *pRecord)
{
    LumatrekAnprConfig &sStored = psHandle->sConfig.uBody.sAnpr;
    LumatrekAnprConfig sNew = record<LumatrekAnprConfig>(pRecord);
    memcpy(sNew.aszPossibleContexts, sStored.aszPossibleContexts, sizeof(sNew.aszPossibleContexts));
    memcpy(sNew.au16Kept, sStored.au16Kept, sizeof(sNew.au16Kept));
    sStored = sNew;
}

void putText(uint8_t *pu8Wire, const char *pcszText, size_t szField)
{
    memcpy(pu8Wire, pcszText, strnlen(pcszText, szField - 1));
}

int runAnpr(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(LumatrekAnprConfig))
        return LT_refuseArguments(psRequest);
    const LumatrekAnprConfig &sConfig = record<LumatrekAnprConfig>(psRequest->pPayload);
    uint8_t au8Wire[kWireAnpr] = {};
    putText(au8Wire, sConfig.aszUniqueName, sizeof(sConfig.aszUniqueName));
    au8Wire[32] = uint8_t(sConfig.u32JpegCompression);
    au8Wire[33] = uint8_t(sConfig.u32StillPictureSize);
    putText(au8Wire + 36, sConfig.aszContext, sizeof(sConfig.aszContext));
    putText(au8Wire + 100, sConfig.aszPossibleContexts, sizeof(sConfig.aszPossibleContexts));
    LT_putU32(au8Wire, 356, sConfig.u32Direction);
    LT_putU32(au8Wire, 360, sConfig.u32StreamBitrate);
    LT_putU32(au8Wire, 364, uint32_t(sConfig.i32StreamFrameSkip));
    LT_putU16(au8Wire, 368, sConfig.u16Marker);
    au8Wire[370] = sConfig.u8Zero;
    au8Wire[371] = sConfig.u8EnslavementMode;
    noteFrameSkip(psHandle, psHandle->sConfig.uBody.sAnpr.i32StreamFrameSkip, sConfig.i32StreamFrameSkip);
    return sendForm(psHandle, psLink, psRequest, kWireAnprCode, au8Wire, sizeof(au8Wire), &storeAnpr);
}

void storeDgpr(LumatrekHandle *psHandle, const void *pRecord)
{
    LumatrekDgprConfig &sStored = psHandle->sConfig.uBody.sDgpr;
    LumatrekDgprConfig sNew = record<LumatrekDgprConfig>(pRecord);
    memcpy(sNew.au16Kept, sStored.au16Kept, sizeof(sNew.au16Kept));
    sStored = sNew;
}

int runDgpr(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(LumatrekDgprConfig))
        return LT_refuseArguments(psRequest);
    const LumatrekDgprConfig &sConfig = record<LumatrekDgprConfig>(psRequest->pPayload);
    uint8_t au8Wire[kWireDgpr] = {};
    LT_putU32(au8Wire, 0, sConfig.u32Direction);
    LT_putU32(au8Wire, 4, sConfig.u32StreamBitrate);
    LT_putU32(au8Wire, 8, uint32_t(sConfig.i32StreamFrameSkip));
    au8Wire[12] = sConfig.u8EnslavementMode;
    au8Wire[13] = uint8_t(sConfig.u32JpegCompression);
    au8Wire[14] = sConfig.u8StillPictureSize;
    LT_putU32(au8Wire, 16, sConfig.u32EmptyPlatesRatio);
    LT_putU32(au8Wire, 20, sConfig.u32EmptyPlatesDetection == 0 ? 1 : 0);
    noteFrameSkip(psHandle, psHandle->sConfig.uBody.sDgpr.i32StreamFrameSkip, sConfig.i32StreamFrameSkip);
    const int iUsable =
        ExchangeCommand(psHandle, psLink, kWireDgprCode, au8Wire, sizeof(au8Wire), transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        storeDgpr(psHandle, &sConfig);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return iUsable;
}

int runConfigurationFile(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(FileRequest))
        return LT_refuseArguments(psRequest);
    const FileRequest &sFile = record<FileRequest>(psRequest->pPayload);
    if (sFile.u32Index >= LT_DATA_SLOTS || (sFile.u32Size != 0 && !sFile.pData))
        return LT_refuseArguments(psRequest);
    uint8_t au8Index[4] = {};
    LT_putU16(au8Index, 0, uint16_t(sFile.u32Index));
    const LT_Piece asPieces[] = {{au8Index, sizeof(au8Index)}, {sFile.pData, sFile.u32Size}};
    const int iUsable =
        ExchangeCommandVector(psHandle, psLink, 0x5567, asPieces, 2, transferMs(), &psRequest->i32Status);
    if (psRequest->i32Status != LT_STATUS_ACK)
        return iUsable;
    uint8_t *pu8Copy = sFile.u32Size ? static_cast<uint8_t *>(SA_Malloc(sFile.u32Size)) : nullptr;
    if (pu8Copy)
        memcpy(pu8Copy, sFile.pData, sFile.u32Size);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_DataBlock &sSlot = psHandle->asData[sFile.u32Index];
    SA_Free(&sSlot.pu8Data);
    sSlot.pu8Data = pu8Copy;
    sSlot.u32Size = pu8Copy ? sFile.u32Size : 0;
    LT_setHeld(psHandle, LT_RECEIVED_EXTERNAL);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    return iUsable;
}

const uint32_t kAnprType = 1u << LUMATREK_SENSOR_ANPR;
const uint32_t kRecognitionTypes = kAnprType | (1u << LUMATREK_SENSOR_DGPR) | (1u << LUMATREK_SENSOR_SIGNATURE);
const uint32_t kVideoTypes = (1u << LUMATREK_SENSOR_VIDEO) | (1u << LUMATREK_SENSOR_VIDEO_EXTERNAL);
const uint32_t kAreaTypes = kAnprType | (1u << LUMATREK_SENSOR_SIGNATURE);
const LT_Availability kAlways = {0, 0, 0, 0, LT_NEEDS_NOTHING};
const LT_Availability kMaster = {4, 3, 0, 0, LT_NEEDS_NOTHING};
const LT_Availability kEnslave = {4, 1, 0, 0, LT_NEEDS_NOTHING};

int validLateStack(const void *pRecord)
{
    const LumatrekLateStackConfig &sConfig = record<LumatrekLateStackConfig>(pRecord);
    return sConfig.u32JpegCompression >= 3 && sConfig.u32JpegCompression <= 31 && sConfig.u32Size >= 1 &&
           sConfig.u32Size <= 100;
}

int32_t readEnslave(LumatrekHandle *psHandle, LT_TextId eFunction, LumatrekRemoteEnslaveParams *psParams)
{
    return LT_readBlock(psHandle, eFunction, LT_CMD_GET_REMOTE_ENSLAVE, &kEnslaveGet, psParams);
}

int32_t readActivation(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, LumatrekActivationConfig *psConfig)
{
    return LT_send(psHandle, psError, LT_CMD_GET_ACTIVATION, nullptr, 0, psConfig, sizeof(*psConfig));
}

// On a handle without command connection: the area, then the mode, from the stored blocks.
int32_t storedArea(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, LumatrekAreaOfInterest *psArea,
                   uint32_t *pu32Mode)
{
    if (!psArea)
        return LT_finishCall(psHandle, psError, -1);
    int32_t i32Result = 0;
    LT_answerFromStore(psHandle, psError, &kAreaGet, psArea, &i32Result);
    if (i32Result != 0 || !pu32Mode)
        return i32Result;
    LumatrekActivationConfig sActivation;
    LT_answerFromStore(psHandle, psError, &kActivation, &sActivation, &i32Result);
    if (i32Result == 0)
        *pu32Mode = sActivation.u32AreaOfInterest;
    return i32Result;
}

} // namespace

extern "C" {

const LT_Command g_asRecordCommands[] = {
    {LT_CMD_GET_CONFIG, 0, {2, 1, 0, kVideoTypes | (1u << LUMATREK_SENSOR_RECORDER), LT_NEEDS_NOTHING}, &runGetConfig},
    {LT_CMD_SET_MPEG, 0, {0, 0, kVideoTypes, 0, LT_NEEDS_NOTHING}, &runMpeg},
    {LT_CMD_SET_ANPR, 0, {2, 1, kAnprType, 0, LT_NEEDS_NOTHING}, &runAnpr},
    {LT_CMD_SET_DGPR, 0, {4, 5, 1u << LUMATREK_SENSOR_DGPR, 0, LT_NEEDS_NOTHING}, &runDgpr},
    {LT_CMD_GET_REMOTE_OCR, 0, {4, 0, kRecognitionTypes, 0, LT_NEEDS_NOTHING}, &runStored},
    {LT_CMD_SET_REMOTE_OCR, 0, kAlways, &runOcrSet},
    {LT_CMD_SET_LATE_STACK, 0, {4, 3, kVideoTypes, 0, LT_NEEDS_NOTHING}, &runStored},
    {LT_CMD_GET_SPEED, 0, {4, 4, kAnprType, 0, LT_NEEDS_NOTHING}, &runStored},
    {LT_CMD_SET_SPEED, 0, {4, 4, kAnprType, 0, LT_NEEDS_NOTHING}, &runStored},
    {LT_CMD_GET_AREA, 0, {4, 7, kAreaTypes, 0, LT_NEEDS_NOTHING}, &runStored},
    {LT_CMD_SET_AREA, 0, {4, 7, kAreaTypes, 0, LT_NEEDS_NOTHING}, &runStored},
    {LT_CMD_SET_CONFIGURATION_FILE, 0, kAlways, &runConfigurationFile},
    {LT_CMD_GET_MASTER, 0, kMaster, &runStored},
    {LT_CMD_SET_MASTER, 0, kMaster, &runStored},
    {LT_CMD_RESET_MASTER_SLAVE, 0, kMaster, &runResetMasterSlave},
    {LT_CMD_GET_REMOTE_ENSLAVE, 0, kEnslave, &runStored},
    {LT_CMD_SET_REMOTE_ENSLAVE, 0, kEnslave, &runStored},
    {0, 0, kAlways, nullptr},
};

int32_t LumatrekGetConfig(LumatrekHandle *psHandle, LumatrekConfig *psConfig)
{
    printf("LumatrekGetConfig  \n");
    fflush(stdout);
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_CONFIG, LT_CMD_GET_CONFIG, &kConfig, psConfig);
}

int32_t LumatrekSetMPEGConfigV2(LumatrekHandle *psHandle, uint32_t u32MpegMode, uint32_t u32Width, uint32_t u32Height,
                                uint32_t u32Bitrate, uint32_t u32Gop, uint32_t u32FrameSkip)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_MPEG_CONFIG_V2), 1);
    const int bSize = (u32Width == 352 && u32Height == 288) || (u32Width == 720 && (u32Height == 288 || u32Height == 576));
    if (!bSize)
        return LT_rejectArgument(psHandle, &sError);
    const LumatrekMpegConfig sConfig = {u32MpegMode, u32Width, u32Height, u32Bitrate, u32Gop, u32FrameSkip};
    return LT_send(psHandle, &sError, LT_CMD_SET_MPEG, &sConfig, sizeof(sConfig), nullptr, 0);
}

int32_t LumatrekSetANPRConfigV2(LumatrekHandle *psHandle, const char *pcszUniqueName, uint32_t u32JpegCompression,
                                uint32_t u32StillPictureSize, const char *pcszContext, uint32_t u32Direction,
                                uint32_t u32StreamBitrate, int32_t i32StreamFrameSkip, uint32_t u32EnslavementMode)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_ANPR_CONFIG_V2), 1);
    LumatrekAnprConfig sConfig;
    memset(&sConfig, 0, sizeof(sConfig));
    const uint8_t u8Mode = uint8_t(u32EnslavementMode);
    const int bValid = pcszUniqueName && pcszContext &&
                       strnlen(pcszUniqueName, sizeof(sConfig.aszUniqueName)) < sizeof(sConfig.aszUniqueName) &&
                       strnlen(pcszContext, sizeof(sConfig.aszContext)) < sizeof(sConfig.aszContext) &&
                       u32JpegCompression >= 3 && u32JpegCompression <= 31 &&
                       (u32StillPictureSize == 31 || u32StillPictureSize <= 240) &&
                       (u8Mode <= 4 || u8Mode == 170 || u8Mode == 171);
    if (!bValid)
        return LT_rejectArgument(psHandle, &sError);
    memcpy(sConfig.aszUniqueName, pcszUniqueName, strlen(pcszUniqueName));
    memcpy(sConfig.aszContext, pcszContext, strlen(pcszContext));
    sConfig.u32JpegCompression = u32JpegCompression;
    sConfig.u32StillPictureSize = u32StillPictureSize;
    sConfig.u32Direction = u32Direction;
    sConfig.u32StreamBitrate = u32StreamBitrate;
    sConfig.i32StreamFrameSkip = i32StreamFrameSkip;
    sConfig.u16Marker = kAnprMarker;
    sConfig.u8EnslavementMode = u8Mode;
    return LT_send(psHandle, &sError, LT_CMD_SET_ANPR, &sConfig, sizeof(sConfig), nullptr, 0);
}

int32_t LumatrekSetDGPRConfig(LumatrekHandle *psHandle, uint32_t u32Direction, uint32_t u32StreamBitrate,
                              int32_t i32StreamFrameSkip, uint32_t u32EnslavementMode, uint32_t u32JpegCompression,
                              uint32_t u32StillPictureSize, uint32_t u32EmptyPlatesDetection,
                              uint32_t u32EmptyPlatesRatio)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_DGPR_CONFIG), 1);
    const uint8_t u8Mode = uint8_t(u32EnslavementMode);
    if (!(u8Mode <= 1 || u8Mode == 3 || u8Mode == 4 || u8Mode == 171) || u32JpegCompression < 3 ||
        u32JpegCompression > 31)
        return LT_rejectArgument(psHandle, &sError);
    LumatrekDgprConfig sConfig;
    memset(&sConfig, 0, sizeof(sConfig));
    sConfig.u32Direction = u32Direction;
    sConfig.u32StreamBitrate = u32StreamBitrate;
    sConfig.i32StreamFrameSkip = i32StreamFrameSkip;
    sConfig.u8EnslavementMode = u8Mode;
    sConfig.u32JpegCompression = u32JpegCompression;
    sConfig.u8StillPictureSize = uint8_t(u32StillPictureSize);
    sConfig.u32EmptyPlatesDetection = u32EmptyPlatesDetection;
    sConfig.u32EmptyPlatesRatio = u32EmptyPlatesRatio;
    return LT_send(psHandle, &sError, LT_CMD_SET_DGPR, &sConfig, sizeof(sConfig), nullptr, 0);
}

int32_t LumatrekGetRemoteOcrSettings(LumatrekHandle *psHandle, LumatrekOcrSettings *psSettings)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_REMOTE_OCR_SETTINGS, LT_CMD_GET_REMOTE_OCR, &kOcrGet, psSettings);
}

int32_t LumatrekSetRemoteOcrSettings(LumatrekHandle *psHandle, const LumatrekOcrSettings *psSettings)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_REMOTE_OCR_SETTINGS, LT_CMD_SET_REMOTE_OCR, psSettings,
                          sizeof(*psSettings), nullptr);
}

int32_t LumatrekSetRemoteLateStackConfig(LumatrekHandle *psHandle, const LumatrekLateStackConfig *psConfig)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_REMOTE_LATE_STACK_CONFIG, LT_CMD_SET_LATE_STACK, psConfig,
                          sizeof(*psConfig), &validLateStack);
}

int32_t LumatrekGetRemoteSpeedParams(LumatrekHandle *psHandle, LumatrekSpeedParams *psParams)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_REMOTE_SPEED_PARAMS, LT_CMD_GET_SPEED, &kSpeedGet, psParams);
}

int32_t LumatrekSetRemoteSpeedParams(LumatrekHandle *psHandle, const LumatrekSpeedParams *psParams)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_REMOTE_SPEED_PARAMS, LT_CMD_SET_SPEED, psParams, sizeof(*psParams),
                          nullptr);
}

int32_t LumatrekGetRemoteRecognitionAreaOfInterest(LumatrekHandle *psHandle, LumatrekAreaOfInterest *psArea,
                                                   uint32_t *pu32Mode)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_REMOTE_RECOGNITION_AREA_OF_INTEREST), 1);
    if (!psArea && !pu32Mode)
        return LT_rejectArgument(psHandle, &sError);
    if (!CheckHandle(psHandle, &sError))
        return LT_finishCall(psHandle, &sError, LT_refusedCall(&sError));
    if (!LT_hasCommandChannel(psHandle))
        return storedArea(psHandle, &sError, psArea, pu32Mode);
    if (psArea) {
        const int32_t i32Result =
            LT_send(psHandle, &sError, LT_CMD_GET_AREA, nullptr, 0, psArea, sizeof(*psArea));
        if (i32Result != 0 || !pu32Mode)
            return i32Result;
    }
    LumatrekActivationConfig sActivation;
    const int32_t i32Result = readActivation(psHandle, &sError, &sActivation);
    if (i32Result == 0)
        *pu32Mode = sActivation.u32AreaOfInterest;
    return i32Result;
}

int32_t LumatrekSetRemoteRecognitionAreaOfInterest(LumatrekHandle *psHandle, const LumatrekAreaOfInterest *psArea,
                                                   const uint32_t *pu32Mode)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_REMOTE_RECOGNITION_AREA_OF_INTEREST), 1);
    if (!psArea && !pu32Mode)
        return LT_rejectArgument(psHandle, &sError);
    if (psArea) {
        const int32_t i32Result = LT_send(psHandle, &sError, LT_CMD_SET_AREA, psArea, sizeof(*psArea), nullptr, 0);
        if (i32Result != 0 || !pu32Mode)
            return i32Result;
    }
    LumatrekActivationConfig sActivation;
    const int32_t i32Result = readActivation(psHandle, &sError, &sActivation);
    if (i32Result != 0)
        return i32Result;
    sActivation.u32AreaOfInterest = *pu32Mode;
    return LT_send(psHandle, &sError, LT_CMD_SET_ACTIVATION, &sActivation, sizeof(sActivation), nullptr, 0);
}

int32_t LumatrekSetConfigurationFile(LumatrekHandle *psHandle, uint32_t u32Index, uint32_t u32Size, const void *pData)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_SET_CONFIGURATION_FILE), 1);
    if (u32Index >= LT_DATA_SLOTS || (u32Size != 0 && !pData))
        return LT_rejectArgument(psHandle, &sError);
    const FileRequest sFile = {u32Index, u32Size, pData};
    return LT_send(psHandle, &sError, LT_CMD_SET_CONFIGURATION_FILE, &sFile, sizeof(sFile), nullptr, 0);
}

int32_t LumatrekGetMasterParameters(LumatrekHandle *psHandle, LumatrekMasterParameters *psParams)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_MASTER_PARAMETERS, LT_CMD_GET_MASTER, &kMasterGet, psParams);
}

int32_t LumatrekSetMasterParameters(LumatrekHandle *psHandle, const LumatrekMasterParameters *psParams)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_MASTER_PARAMETERS, LT_CMD_SET_MASTER, psParams, sizeof(*psParams),
                          nullptr);
}

int32_t LumatrekResetMasterSlaveParameters(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_RESET_MASTER_SLAVE_PARAMETERS, LT_CMD_RESET_MASTER_SLAVE);
}

int32_t LumatrekGetRemoteEnslaveParams(LumatrekHandle *psHandle, LumatrekRemoteEnslaveParams *psParams)
{
    return readEnslave(psHandle, LT_TEXT_FN_GET_REMOTE_ENSLAVE_PARAMS, psParams);
}

int32_t LumatrekSetRemoteEnslaveParams(LumatrekHandle *psHandle, const LumatrekRemoteEnslaveParams *psParams)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_REMOTE_ENSLAVE_PARAMS, LT_CMD_SET_REMOTE_ENSLAVE, psParams,
                          sizeof(*psParams), nullptr);
}

int32_t LumatrekSetRemoteEnslaveSwitchType(LumatrekHandle *psHandle, uint32_t u32SwitchType)
{
    const LT_CallHold sHold(psHandle);
    LumatrekRemoteEnslaveParams sParams;
    const int32_t i32Result = readEnslave(psHandle, LT_TEXT_FN_SET_REMOTE_ENSLAVE_SWITCH_TYPE, &sParams);
    if (i32Result != 0)
        return i32Result;
    sParams.u32SwitchType = u32SwitchType;
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_REMOTE_ENSLAVE_SWITCH_TYPE, LT_CMD_SET_REMOTE_ENSLAVE, &sParams,
                          sizeof(sParams), nullptr);
}

} // extern "C"
