/* The command set's common machinery: the tables of the areas, availability and guards
 * before a command runs, the cache of blocks the commands keep, and the shape every public
 * command function shares. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

const LT_Command *const kTables[] = {g_asCameraCommands, g_asSerialCommands, g_asDeviceCommands,
                                     g_asDataBaseCommands, g_asRecordCommands};

const uint32_t kIrCutCameras[] = {0x200435u, 0x20044Fu};

int equipped(const LumatrekHandle *psHandle, LT_Equipment eEquipment)
{
    switch (eEquipment) {
    case LT_NEEDS_NOTHING: return 1;
    case LT_NEEDS_CAMERA: return psHandle->sConfig.u32CameraWord != 0;
    case LT_NEEDS_CAMERA_CODE: return LT_cameraCode(psHandle) != 0;
    case LT_NEEDS_IR_CUT: return LT_isIrCutCamera(psHandle);
    case LT_NEEDS_LEDS: return LT_hasLeds(psHandle);
    case LT_NEEDS_BOARD: return LT_boardId(psHandle) != 0;
    }
    return 0;
}

// The first guard that trips gives its status; 0 when none does.
int32_t trippedGuard(LumatrekHandle *psHandle, uint32_t u32Guards, const LumatrekCommandRequest *psRequest)
{
    LT_lock(psHandle, LT_MUTEX_STATE);
    const int bCold = psHandle->bTooCold;
    const int bBusy = psHandle->sState.u32Global == LUMATREK_STATE_BUSY && psRequest->u32BusyOverride == 0;
    const int bLocked = psHandle->bRs232Locked;
    LT_unlock(psHandle, LT_MUTEX_STATE);
    if ((u32Guards & LT_GUARD_COLD) && bCold)
        return LT_STATUS_TOOCOLD;
    if ((u32Guards & LT_GUARD_BUSY) && bBusy)
        return LT_STATUS_BUSY;
    if ((u32Guards & LT_GUARD_RS232) && bLocked)
        return LT_STATUS_RS232LOCKED;
    if ((u32Guards & LT_GUARD_UNLOCKED) && !bLocked)
        return LT_STATUS_RS232NOTLOCKED;
    return 0;
}

// A sensor that accepts a command is no longer busy, unless its status word says so.
void acceptedCommand(LumatrekHandle *psHandle)
{
    if (SA_AtomicLoad(&psHandle->bBusyByReply)) {
        SA_AtomicStore(&psHandle->bBusyByReply, 0);
        SetConnectionState(psHandle, LT_CONDITION_BUSY, 0);
    }
}

uint32_t refusedCallResult(int32_t i32Code)
{
    switch (i32Code) {
    case LUMATREK_ERROR_INVALID_ARGUMENT: return uint32_t(-7);
    case LUMATREK_ERROR_STOPPED: return uint32_t(-2);
    default: return uint32_t(-1);
    }
}

} // namespace

extern "C" {

uint32_t LT_cameraCode(const LumatrekHandle *psHandle)
{
    return psHandle->sConfig.u32CameraWord & 0xFFFFFFu;
}

uint32_t LT_boardId(const LumatrekHandle *psHandle)
{
    return (psHandle->sConfig.u32CameraWord >> 24) & 0x3Fu;
}

int LT_hasLeds(const LumatrekHandle *psHandle)
{
    if (!LT_protocolAtLeast(psHandle, 2, 2))
        return psHandle->sConfig.u32CameraWord != 0;
    return LT_boardId(psHandle) != 0;
}

int LT_isIrCutCamera(const LumatrekHandle *psHandle)
{
    const uint32_t u32Code = LT_cameraCode(psHandle);
    return u32Code == kIrCutCameras[0] || u32Code == kIrCutCameras[1];
}

void LT_setHeld(LumatrekHandle *psHandle, uint32_t u32Bit)
{
    psHandle->au32Received[0] |= u32Bit;
}

void LT_clearHeld(LumatrekHandle *psHandle, uint32_t u32Bit)
{
    psHandle->au32Received[0] &= ~u32Bit;
}

int LT_isHeld(const LumatrekHandle *psHandle, uint32_t u32Bit)
{
    return (psHandle->au32Received[0] & u32Bit) == u32Bit;
}

int LT_hasCommandChannel(const LumatrekHandle *psHandle)
{
    return !psHandle->bHasStream;
}

int32_t LT_refusedCall(const LumatrekErrorInfo *psError)
{
    return int32_t(refusedCallResult(psError->i32Code));
}

void *LT_field(LumatrekHandle *psHandle, size_t szOffset)
{
    return reinterpret_cast<uint8_t *>(psHandle) + szOffset;
}

const LT_Command *LT_findCommand(uint32_t u32Number)
{
    for (const LT_Command *psTable : kTables) {
        for (const LT_Command *psCommand = psTable; psCommand->u32Number != 0; psCommand++) {
            if (psCommand->u32Number == u32Number)
                return psCommand;
        }
    }
    return nullptr;
}

int LT_isAvailable(LumatrekHandle *psHandle, const LT_Availability *psAvailability)
{
    const uint32_t u32Type = psHandle->sConfig.u32SensorType;
    const uint32_t u32TypeBit = u32Type < 32 ? 1u << u32Type : 0;
    const int bAnyVersion = (psAvailability->u32TypesAnyVersion & u32TypeBit) != 0;
    const int bVersion = (psAvailability->i16Major == 0 && psAvailability->i16Minor == 0) ||
                         LT_protocolAtLeast(psHandle, psAvailability->i16Major, psAvailability->i16Minor);
    const int bType = psAvailability->u32Types == 0 || (psAvailability->u32Types & u32TypeBit) != 0;
    return (bAnyVersion || (bVersion && bType)) && equipped(psHandle, psAvailability->eEquipment);
}

int LT_runRequest(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    psRequest->i32Status = LT_STATUS_NOTSUPPORTED;
    const LT_Command *psCommand = LT_findCommand(psRequest->u32Command);
    if (!psCommand) {
        psRequest->i32Status = LT_STATUS_NACK;
        return 1;
    }
    const int32_t i32Guard = trippedGuard(psHandle, psCommand->u32Guards, psRequest);
    if (i32Guard != 0) {
        psRequest->i32Status = i32Guard;
        return 1;
    }
    if (!LT_isAvailable(psHandle, &psCommand->sAvailable))
        return 1;
    psRequest->i32Status = LT_STATUS_NACK;
    const int iResult = psCommand->rRun(psHandle, psLink, psRequest);
    if (psRequest->i32Status == LT_STATUS_ACK)
        acceptedCommand(psHandle);
    return iResult;
}

int LT_refuseArguments(LumatrekCommandRequest *psRequest)
{
    psRequest->i32Status = LT_STATUS_INVALIDARGUMENT;
    return 1;
}

int LT_payloadWord(const LumatrekCommandRequest *psRequest, uint32_t *pu32Value)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(uint32_t))
        return 0;
    memcpy(pu32Value, psRequest->pPayload, sizeof(uint32_t));
    return 1;
}

void LT_replyBytes(LumatrekCommandRequest *psRequest, const void *pData, uint32_t u32Size)
{
    if (psRequest->pReply && psRequest->u32ReplySize >= u32Size)
        memcpy(psRequest->pReply, pData, u32Size);
}

int LT_runPlain(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code)
{
    return ExchangeCommand(psHandle, psLink, u32Code, psRequest->pPayload, psRequest->u32PayloadSize,
                           LT_timing()->u32TransferTimeoutMs, &psRequest->i32Status);
}

int LT_runWordSet(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest, uint32_t u32Code,
                  size_t szOffset, LT_MutexId eMutex, uint32_t u32Bit)
{
    uint32_t u32Value = 0;
    if (!LT_payloadWord(psRequest, &u32Value))
        return LT_refuseArguments(psRequest);
    uint8_t au8Wire[4];
    LT_putU32(au8Wire, 0, u32Value);
    const int iUsable = ExchangeCommand(psHandle, psLink, u32Code, au8Wire, sizeof(au8Wire),
                                        LT_timing()->u32TransferTimeoutMs, &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, eMutex);
        memcpy(LT_field(psHandle, szOffset), &u32Value, sizeof(u32Value));
        LT_setHeld(psHandle, u32Bit);
        LT_unlock(psHandle, eMutex);
    }
    return iUsable;
}

int LT_runStoredRead(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest,
                     const LT_StoredBlock *psBlock)
{
    if (!psRequest->pReply || psRequest->u32ReplySize < psBlock->u32RecordSize)
        return LT_refuseArguments(psRequest);
    void *pStored = LT_field(psHandle, psBlock->szOffset);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    const int bHeld = LT_isHeld(psHandle, psBlock->u32Bit);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    int iUsable = 1;
    if (!bHeld) {
        uint8_t au8Wire[64];
        if (psBlock->u32WireSize > sizeof(au8Wire))
            return LT_refuseArguments(psRequest);
        iUsable = ExchangeCommandRead(psHandle, psLink, psBlock->u32WireCode, nullptr, 0, au8Wire,
                                      psBlock->u32WireSize, LT_timing()->u32TransferTimeoutMs,
                                      &psRequest->i32Status);
        if (psRequest->i32Status != LT_STATUS_ACK)
            return iUsable;
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        psBlock->rConvert(psHandle, pStored, au8Wire, psBlock->u32WireSize);
        LT_setHeld(psHandle, psBlock->u32Bit);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    psRequest->i32Status = LT_STATUS_ACK;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_replyBytes(psRequest, pStored, psBlock->u32RecordSize);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    return iUsable;
}

int LT_runStoredWrite(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest,
                      const LT_StoredBlock *psBlock)
{
    uint8_t au8Wire[64] = {};
    if (!psRequest->pPayload || psRequest->u32PayloadSize != psBlock->u32RecordSize ||
        psBlock->u32WireSize > sizeof(au8Wire))
        return LT_refuseArguments(psRequest);
    psBlock->rPack(psHandle, au8Wire, psRequest->pPayload);
    const int iUsable = ExchangeCommand(psHandle, psLink, psBlock->u32WireCode, au8Wire, psBlock->u32WireSize,
                                        LT_timing()->u32TransferTimeoutMs, &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        LT_lock(psHandle, LT_MUTEX_CONFIG);
        memcpy(LT_field(psHandle, psBlock->szOffset), psRequest->pPayload, psBlock->u32RecordSize);
        LT_setHeld(psHandle, psBlock->u32Bit);
        LT_unlock(psHandle, LT_MUTEX_CONFIG);
    }
    return iUsable;
}

int32_t LT_finishCall(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, int32_t i32Result)
{
    if (psError->i32Code != 0)
        LumatrekError(psHandle, psError);
    return i32Result;
}

int32_t LT_rejectArgument(LumatrekHandle *psHandle, LumatrekErrorInfo *psError)
{
    LT_setError(psError, LUMATREK_ERROR_INVALID_ARGUMENT, LT_TEXT_INVALID_ARGUMENT, 0);
    return LT_finishCall(psHandle, psError, -1);
}

int32_t LT_send(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, uint32_t u32Command, const void *pPayload,
                uint32_t u32Size, void *pReply, uint32_t u32ReplySize)
{
    const LT_CallHold sHold(psHandle);
    const int32_t i32Result =
        SendCommand(psHandle, psError, u32Command, 0, 1, u32Size, pPayload, u32ReplySize, pReply);
    return LT_finishCall(psHandle, psError, i32Result);
}

int32_t LT_sendWord(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command, uint32_t u32Value,
                    uint32_t u32Min, uint32_t u32Max)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    if (u32Value < u32Min || u32Value > u32Max)
        return LT_rejectArgument(psHandle, &sError);
    return LT_send(psHandle, &sError, u32Command, &u32Value, sizeof(u32Value), nullptr, 0);
}

int32_t LT_sendPlain(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    return LT_send(psHandle, &sError, u32Command, nullptr, 0, nullptr, 0);
}

int LT_answerFromStore(LumatrekHandle *psHandle, LumatrekErrorInfo *psError, const LT_StoredBlock *psBlock,
                       void *pOut, int32_t *pi32Result)
{
    if (!CheckHandle(psHandle, psError)) {
        *pi32Result = LT_finishCall(psHandle, psError, LT_refusedCall(psError));
        return 1;
    }
    if (LT_hasCommandChannel(psHandle))
        return 0;
    LT_lock(psHandle, psBlock->eMutex);
    const int bHeld = LT_isHeld(psHandle, psBlock->u32Bit);
    if (bHeld)
        memcpy(pOut, LT_field(psHandle, psBlock->szOffset), psBlock->u32RecordSize);
    LT_unlock(psHandle, psBlock->eMutex);
    if (!bHeld)
        LT_setError(psError, -290, LT_TEXT_NOT_PROVIDED, 0);
    *pi32Result = LT_finishCall(psHandle, psError, bHeld ? 0 : -1);
    return 1;
}

int32_t LT_readBlock(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command,
                     const LT_StoredBlock *psBlock, void *pOut)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    if (!pOut)
        return LT_rejectArgument(psHandle, &sError);
    int32_t i32Result = 0;
    if (LT_answerFromStore(psHandle, &sError, psBlock, pOut, &i32Result))
        return i32Result;
    return LT_send(psHandle, &sError, u32Command, nullptr, 0, pOut, psBlock->u32RecordSize);
}

int32_t LT_writeRecord(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command, const void *pRecord,
                       uint32_t u32Size, int (*rValid)(const void *pRecord))
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    if (!pRecord || (rValid && !rValid(pRecord)))
        return LT_rejectArgument(psHandle, &sError);
    return LT_send(psHandle, &sError, u32Command, pRecord, u32Size, nullptr, 0);
}

} // extern "C"
