/* The exchanges of the command connection: a command's header and payload out, its reply in,
 * the reply code into a status; over a socket, or over a buffer standing for the sensor. */
#include "Lumatrek_Internal.h"

#include <cstring>

namespace {

struct ReplyCode {
    uint32_t u32Code;
    int32_t i32Status;
};

const ReplyCode kReplyCodes[] = {
    {LT_REPLY_ACK, LT_STATUS_ACK},
    {LT_REPLY_NACK, LT_STATUS_NACK},
    {LT_REPLY_BUSY, LT_STATUS_BUSY},
    {LT_REPLY_FULL, LT_STATUS_FULL},
    {LT_REPLY_NOT_SUPPORTED, LT_STATUS_NOTSUPPORTED},
    {LT_REPLY_RS232_LOCKED, LT_STATUS_RS232LOCKED},
    {LT_REPLY_TIMEOUT, LT_STATUS_TIMEOUT},
    {LT_REPLY_FLASH_CORRUPTED, LT_STATUS_FLASHCORRUPTED},
    {LT_REPLY_TOO_COLD, LT_STATUS_TOOCOLD},
};

int invalidArgument(int32_t *pi32Status)
{
    *pi32Status = LT_STATUS_INVALIDARGUMENT;
    return 1;
}

int invalidAnswer(int32_t *pi32Status)
{
    *pi32Status = LT_STATUS_INVALIDANSWER;
    return 0;
}

// Header and payload, in two writes.
int sendMessage(LT_Link *psLink, uint32_t u32Code, const void *pPayload, uint32_t u32Size, uint32_t u32TimeoutMs)
{
    LumatrekMessageHeader sHeader = {u32Size, u32Code};
    uint8_t au8Header[LT_HEADER_SIZE];
    LT_encodeHeader(&sHeader, au8Header);
    if (LT_linkWrite(psLink, au8Header, LT_HEADER_SIZE, u32TimeoutMs) != SA_OK)
        return 0;
    return u32Size == 0 || LT_linkWrite(psLink, pPayload, u32Size, u32TimeoutMs) == SA_OK;
}

// Sends, then reads the reply's header; 0 when either failed.
int sendAndHear(LT_Link *psLink, uint32_t u32Code, const void *pPayload, uint32_t u32Size, uint32_t u32TimeoutMs,
                LumatrekMessageHeader *psReply)
{
    return sendMessage(psLink, u32Code, pPayload, u32Size, u32TimeoutMs) &&
           LT_readHeader(psLink, psReply, u32TimeoutMs);
}

// A reply that is not the command's data: it carries no bytes, or the framing is lost.
int decodeNonData(LumatrekHandle *psHandle, const LumatrekMessageHeader *psReply, uint32_t u32Code,
                  int32_t *pi32Status)
{
    if (psReply->u32Length != 0)
        return invalidAnswer(pi32Status);
    return DecodeReplyCode(psHandle, psReply, u32Code, pi32Status);
}

} // namespace

extern "C" {

int32_t LT_linkRead(LT_Link *psLink, void *pBuffer, uint32_t u32Length, uint32_t u32TimeoutMs)
{
    if (u32Length == 0)
        return SA_OK;
    if (psLink->psSocket)
        return SA_ReadSocketLength(psLink->psSocket, pBuffer, u32Length, u32TimeoutMs);
    if (psLink->u32InputSize - psLink->u32InputPosition < u32Length) {
        psLink->u32InputPosition = psLink->u32InputSize;
        return SA_ERROR;
    }
    memcpy(pBuffer, psLink->pu8Input + psLink->u32InputPosition, u32Length);
    psLink->u32InputPosition += u32Length;
    return SA_OK;
}

int32_t LT_linkWrite(LT_Link *psLink, const void *pData, uint32_t u32Length, uint32_t u32TimeoutMs)
{
    if (!psLink->psSocket)
        return SA_OK;
    return SA_WriteSocketLength(psLink->psSocket, pData, u32Length, u32TimeoutMs);
}

int LT_linkSkip(LT_Link *psLink, uint32_t u32Count, uint32_t u32TimeoutMs)
{
    uint8_t au8Piece[1024];
    while (u32Count > 0) {
        const uint32_t u32Length = u32Count < sizeof(au8Piece) ? u32Count : uint32_t(sizeof(au8Piece));
        if (LT_linkRead(psLink, au8Piece, u32Length, u32TimeoutMs) != SA_OK)
            return 0;
        u32Count -= u32Length;
    }
    return 1;
}

int LT_readHeader(LT_Link *psLink, LumatrekMessageHeader *psHeader, uint32_t u32TimeoutMs)
{
    uint8_t au8Header[LT_HEADER_SIZE];
    if (LT_linkRead(psLink, au8Header, LT_HEADER_SIZE, u32TimeoutMs) != SA_OK)
        return 0;
    LT_decodeHeader(au8Header, psHeader);
    return 1;
}

int DecodeReplyCode(LumatrekHandle *psHandle, const LumatrekMessageHeader *psHeader, uint32_t u32Expected,
                    int32_t *pi32Status)
{
    const uint32_t u32Code = psHeader->u32Code;
    if (u32Code == u32Expected) {
        *pi32Status = LT_STATUS_ACK;
        return 1;
    }
    if (u32Code == LT_REPLY_REBOOTING) {
        *pi32Status = LT_STATUS_ACK;
        LT_requestReconnection(psHandle);
        return 0;
    }
    for (const ReplyCode &sReply : kReplyCodes) {
        if (sReply.u32Code != u32Code)
            continue;
        *pi32Status = sReply.i32Status;
        if (sReply.i32Status == LT_STATUS_BUSY) {
            SA_AtomicStore(&psHandle->bBusyByReply, 1);
            SetConnectionState(psHandle, LT_CONDITION_BUSY, LUMATREK_STATE_BUSY);
        } else if (sReply.i32Status == LT_STATUS_TOOCOLD) {
            SetConnectionState(psHandle, LT_CONDITION_TOO_COLD, LUMATREK_STATE_TOO_COLD);
        }
        return 1;
    }
    return invalidAnswer(pi32Status);
}

int ExchangeCommand(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                    uint32_t u32Size, uint32_t u32TimeoutMs, int32_t *pi32Status)
{
    *pi32Status = LT_STATUS_DISCONNECTED;
    if (u32Size != 0 && !pPayload)
        return invalidArgument(pi32Status);
    LumatrekMessageHeader sReply;
    if (!sendAndHear(psLink, u32Code, pPayload, u32Size, u32TimeoutMs, &sReply))
        return 0;
    return decodeNonData(psHandle, &sReply, u32Code, pi32Status);
}

int ExchangeCommandRead(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                        uint32_t u32Size, void *pReply, uint32_t u32ReplySize, uint32_t u32TimeoutMs,
                        int32_t *pi32Status)
{
    *pi32Status = LT_STATUS_DISCONNECTED;
    if ((u32Size != 0 && !pPayload) || !pReply || u32ReplySize == 0)
        return invalidArgument(pi32Status);
    LumatrekMessageHeader sReply;
    if (!sendAndHear(psLink, u32Code, pPayload, u32Size, u32TimeoutMs, &sReply))
        return 0;
    if (sReply.u32Code != u32Code) {
        const int bUsable = decodeNonData(psHandle, &sReply, u32Code, pi32Status);
        // An acknowledgement carries none of the data asked for: the output would pass stale.
        if (*pi32Status == LT_STATUS_ACK)
            return invalidAnswer(pi32Status);
        return bUsable;
    }
    if (sReply.u32Length != u32ReplySize)
        return invalidAnswer(pi32Status);
    if (LT_linkRead(psLink, pReply, u32ReplySize, u32TimeoutMs) != SA_OK)
        return 0;
    *pi32Status = LT_STATUS_ACK;
    return 1;
}

int ExchangeCommandReadUpTo(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                            uint32_t u32Size, void *pReply, uint32_t u32ReplySize, uint32_t u32TimeoutMs,
                            int32_t *pi32Status, uint32_t *pu32Received)
{
    *pi32Status = LT_STATUS_DISCONNECTED;
    *pu32Received = 0;
    if ((u32Size != 0 && !pPayload) || !pReply || u32ReplySize == 0)
        return invalidArgument(pi32Status);
    LumatrekMessageHeader sReply;
    if (!sendAndHear(psLink, u32Code, pPayload, u32Size, u32TimeoutMs, &sReply))
        return 0;
    if (sReply.u32Code != u32Code)
        return decodeNonData(psHandle, &sReply, u32Code, pi32Status);
    if (sReply.u32Length > u32ReplySize) {
        *pi32Status = LT_STATUS_INVALIDARGUMENT;
        return 0;
    }
    if (LT_linkRead(psLink, pReply, sReply.u32Length, u32TimeoutMs) != SA_OK)
        return 0;
    *pu32Received = sReply.u32Length;
    *pi32Status = LT_STATUS_ACK;
    return 1;
}

int ExchangeCommandReadPrefix(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                              uint32_t u32Size, void *pPrefix, uint32_t u32Prefix, uint32_t u32TimeoutMs,
                              int32_t *pi32Status, uint32_t *pu32Left)
{
    *pi32Status = LT_STATUS_DISCONNECTED;
    *pu32Left = 0;
    if ((u32Size != 0 && !pPayload) || (u32Prefix != 0 && !pPrefix))
        return invalidArgument(pi32Status);
    LumatrekMessageHeader sReply;
    if (!sendAndHear(psLink, u32Code, pPayload, u32Size, u32TimeoutMs, &sReply))
        return 0;
    if (sReply.u32Code != u32Code)
        return decodeNonData(psHandle, &sReply, u32Code, pi32Status);
    if (sReply.u32Length < u32Prefix) {
        *pi32Status = LT_STATUS_INVALIDARGUMENT;
        return 0;
    }
    if (LT_linkRead(psLink, pPrefix, u32Prefix, u32TimeoutMs) != SA_OK)
        return 0;
    *pu32Left = sReply.u32Length - u32Prefix;
    *pi32Status = LT_STATUS_ACK;
    return 1;
}

int ExchangeCommandTwoReplies(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const void *pPayload,
                              uint32_t u32Size, int32_t *pi32Status)
{
    *pi32Status = LT_STATUS_DISCONNECTED;
    if (u32Size != 0 && !pPayload)
        return invalidArgument(pi32Status);
    const uint32_t u32TimeoutMs = LT_timing()->u32TransferTimeoutMs;
    LumatrekMessageHeader sReply;
    if (!sendAndHear(psLink, u32Code, pPayload, u32Size, u32TimeoutMs, &sReply))
        return 0;
    if (sReply.u32Length != 0)
        return invalidAnswer(pi32Status);
    if (sReply.u32Code == u32Code) {
        *pi32Status = LT_STATUS_ACK;
        return 1;
    }
    // A refusal in place of the first acknowledgement ends the exchange: no second reply comes.
    if (!DecodeReplyCode(psHandle, &sReply, u32Code, pi32Status))
        return 0;
    if (*pi32Status != LT_STATUS_ACK)
        return 1;
    *pi32Status = LT_STATUS_DISCONNECTED;
    if (!LT_readHeader(psLink, &sReply, u32TimeoutMs))
        return 0;
    return decodeNonData(psHandle, &sReply, u32Code, pi32Status);
}

int ExchangeCommandVector(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Code, const LT_Piece *psPieces,
                          uint32_t u32Count, uint32_t u32TimeoutMs, int32_t *pi32Status)
{
    *pi32Status = LT_STATUS_DISCONNECTED;
    uint64_t u64Total = 0;
    for (uint32_t i = 0; i < u32Count; i++) {
        if (psPieces[i].u32Size != 0 && !psPieces[i].pData)
            return invalidArgument(pi32Status);
        u64Total += psPieces[i].u32Size;
    }
    if (u64Total > UINT32_MAX)
        return invalidArgument(pi32Status);
    LumatrekMessageHeader sHeader = {uint32_t(u64Total), u32Code};
    uint8_t au8Header[LT_HEADER_SIZE];
    LT_encodeHeader(&sHeader, au8Header);
    if (LT_linkWrite(psLink, au8Header, LT_HEADER_SIZE, u32TimeoutMs) != SA_OK)
        return 0;
    for (uint32_t i = 0; i < u32Count; i++) {
        if (psPieces[i].u32Size != 0 &&
            LT_linkWrite(psLink, psPieces[i].pData, psPieces[i].u32Size, u32TimeoutMs) != SA_OK)
            return 0;
    }
    LumatrekMessageHeader sReply;
    if (!LT_readHeader(psLink, &sReply, u32TimeoutMs))
        return 0;
    return decodeNonData(psHandle, &sReply, u32Code, pi32Status);
}

int SendHeader(LT_Link *psLink, uint32_t u32Code, uint32_t u32TimeoutMs)
{
    return sendMessage(psLink, u32Code, nullptr, 0, u32TimeoutMs);
}

int SendCommandNoReply(LT_Link *psLink, uint32_t u32Code, const void *pPayload, uint32_t u32Size,
                       uint32_t u32TimeoutMs)
{
    if (u32Size != 0 && !pPayload)
        return 1;
    return sendMessage(psLink, u32Code, pPayload, u32Size, u32TimeoutMs);
}

} // extern "C"
