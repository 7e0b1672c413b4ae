/* The sensor's serial port through the command connection: locking it for this client,
 * writing to it and reading from it, by size or up to a terminator. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

const uint32_t kLockCode = 0xAAD8;
const uint32_t kUnlockCode = 0xAAD9;
const uint32_t kWriteCode = 0xAAAF;
const uint32_t kReadSizeCode = 0xAAB0;
const uint32_t kReadTerminatorCode = 0xAACA;
const uint32_t kMaxSerial = 256;
const uint32_t kTerminatorPayload = 5;

// The caller's time-out on top of the usual one, kept short of "wait forever".
uint32_t serialTimeout(uint32_t u32CallerMs)
{
    const uint64_t u64Total = uint64_t(u32CallerMs) + LT_timing()->u32TransferTimeoutMs;
    return u64Total >= SA_INFINITE ? SA_INFINITE - 1 : uint32_t(u64Total);
}

int runLock(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t u32Mode = 0;
    if (!LT_payloadWord(psRequest, &u32Mode))
        return LT_refuseArguments(psRequest);
    uint8_t au8Wire[4];
    LT_putU32(au8Wire, 0, u32Mode);
    const int iUsable = ExchangeCommand(psHandle, psLink, kLockCode, au8Wire, sizeof(au8Wire),
                                        LT_timing()->u32TransferTimeoutMs, &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK)
        SetConnectionState(psHandle, LT_CONDITION_RS232_LOCKED, LUMATREK_STATE_RS232_LOCKED);
    return iUsable;
}

int runUnlock(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const int iUsable = LT_runPlain(psHandle, psLink, psRequest, kUnlockCode);
    if (psRequest->i32Status == LT_STATUS_ACK)
        SetConnectionState(psHandle, LT_CONDITION_RS232_LOCKED, 0);
    return iUsable;
}

int runWrite(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (psRequest->u32PayloadSize == 0 || psRequest->u32PayloadSize > kMaxSerial)
        return LT_refuseArguments(psRequest);
    return LT_runPlain(psHandle, psLink, psRequest, kWriteCode);
}

// Payload {length, time-out}: exactly that many bytes into the reply.
int runReadSize(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint32_t au32Arguments[2];
    if (!psRequest->pPayload || psRequest->u32PayloadSize != sizeof(au32Arguments))
        return LT_refuseArguments(psRequest);
    memcpy(au32Arguments, psRequest->pPayload, sizeof(au32Arguments));
    const uint32_t u32Length = au32Arguments[0];
    if (u32Length == 0 || u32Length > kMaxSerial || !psRequest->pReply || psRequest->u32ReplySize < u32Length)
        return LT_refuseArguments(psRequest);
    uint8_t au8Wire[8];
    LT_putU32(au8Wire, 0, u32Length);
    LT_putU32(au8Wire, 4, au32Arguments[1]);
    return ExchangeCommandRead(psHandle, psLink, kReadSizeCode, au8Wire, sizeof(au8Wire), psRequest->pReply,
                               u32Length, serialTimeout(au32Arguments[1]), &psRequest->i32Status);
}

// Payload {terminator byte, time-out}: the whole reply when it fits; its length goes back in
// the request's reply size.
int runReadTerminator(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (!psRequest->pPayload || psRequest->u32PayloadSize != kTerminatorPayload || !psRequest->pReply ||
        psRequest->u32ReplySize == 0)
        return LT_refuseArguments(psRequest);
    const uint8_t *pu8Payload = static_cast<const uint8_t *>(psRequest->pPayload);
    const uint32_t u32Capacity = psRequest->u32ReplySize < kMaxSerial ? psRequest->u32ReplySize : kMaxSerial;
    uint32_t u32Received = 0;
    const int iUsable = ExchangeCommandReadUpTo(psHandle, psLink, kReadTerminatorCode, pu8Payload,
                                                kTerminatorPayload, psRequest->pReply, u32Capacity,
                                                serialTimeout(LT_getU32(pu8Payload, 1)), &psRequest->i32Status,
                                                &u32Received);
    if (psRequest->i32Status == LT_STATUS_ACK)
        psRequest->u32ReplySize = u32Received;
    return iUsable;
}

const LT_Availability kSerial = {2, 2, 0, 0, LT_NEEDS_NOTHING};

} // namespace

extern "C" {

const LT_Command g_asSerialCommands[] = {
    {LT_CMD_LOCK_RS232, LT_GUARD_RS232, {4, 0, 0, 0, LT_NEEDS_NOTHING}, &runLock},
    {LT_CMD_UNLOCK_RS232, 0, {0, 0, 0, 0, LT_NEEDS_NOTHING}, &runUnlock},
    {LT_CMD_WRITE_RS232, LT_GUARD_UNLOCKED, kSerial, &runWrite},
    {LT_CMD_READ_RS232_SIZE, LT_GUARD_UNLOCKED, kSerial, &runReadSize},
    {LT_CMD_READ_RS232_TERMINATOR, LT_GUARD_UNLOCKED, kSerial, &runReadTerminator},
    {0, 0, {0, 0, 0, 0, LT_NEEDS_NOTHING}, nullptr},
};

int32_t LumatrekSwitchAndLockRS232(LumatrekHandle *psHandle, uint32_t u32Mode)
{
    return LT_sendWord(psHandle, LT_TEXT_FN_SWITCH_AND_LOCK_RS232, LT_CMD_LOCK_RS232, u32Mode, 0, 3);
}

int32_t LumatrekUnlockRS232(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_UNLOCK_RS232, LT_CMD_UNLOCK_RS232);
}

int32_t LumatrekWriteRS232(LumatrekHandle *psHandle, const uint8_t *pu8Data, uint32_t u32Length)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_WRITE_RS232), 1);
    if ((!pu8Data && u32Length != 0) || u32Length > kMaxSerial)
        return LT_rejectArgument(psHandle, &sError);
    return LT_send(psHandle, &sError, LT_CMD_WRITE_RS232, pu8Data, u32Length, nullptr, 0);
}

int32_t LumatrekReadRS232Size(LumatrekHandle *psHandle, uint8_t *pu8Buffer, uint32_t u32Length, uint32_t u32TimeoutMs)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_READ_RS232_SIZE), 1);
    if (!pu8Buffer)
        return LT_rejectArgument(psHandle, &sError);
    const uint32_t au32Arguments[2] = {u32Length, u32TimeoutMs};
    return LT_send(psHandle, &sError, LT_CMD_READ_RS232_SIZE, au32Arguments, sizeof(au32Arguments), pu8Buffer,
                   u32Length);
}

int32_t LumatrekReadRS232Terminator(LumatrekHandle *psHandle, uint8_t *pu8Buffer, uint8_t u8Terminator,
                                    uint32_t u32TimeoutMs, uint32_t *pu32Length)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_READ_RS232_TERMINATOR), 1);
    if (!CheckHandle(psHandle, &sError))
        return LT_finishCall(psHandle, &sError, -1);
    if (!LT_hasCommandChannel(psHandle)) {
        LT_setError(&sError, -140, LT_TEXT_CANNOT_SEND, 0);
        return LT_finishCall(psHandle, &sError, -1);
    }
    if (!pu8Buffer || !pu32Length)
        return LT_rejectArgument(psHandle, &sError);
    uint8_t au8Payload[kTerminatorPayload];
    au8Payload[0] = u8Terminator;
    LT_putU32(au8Payload, 1, u32TimeoutMs);
    uint8_t au8Reply[kMaxSerial];
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, &sError, LT_CMD_READ_RS232_TERMINATOR, 0, au8Payload, sizeof(au8Payload), au8Reply,
                       sizeof(au8Reply));
    const int32_t i32Result = SubmitCommandRequest(psHandle, &sRequest);
    if (i32Result != 0)
        return LT_finishCall(psHandle, &sError, i32Result);
    if (sRequest.u32ReplySize > *pu32Length)
        return -1;
    memcpy(pu8Buffer, au8Reply, sRequest.u32ReplySize);
    *pu32Length = sRequest.u32ReplySize;
    return 0;
}

} // extern "C"
