/* The legacy wire's small pieces: the message header, texts of fixed-width fields, the
 * request record, and the reading-and-dropping of unwanted bytes. */
#include "Lumatrek_Internal.h"

namespace {

const uint32_t kSkipPiece = 1024;

} // namespace

extern "C" {

void LT_encodeHeader(const LumatrekMessageHeader *psHeader, uint8_t au8Bytes[LT_HEADER_SIZE])
{
    LT_putU32(au8Bytes, 0, psHeader->u32Length);
    LT_putU32(au8Bytes, 4, psHeader->u32Code);
}

void LT_decodeHeader(const uint8_t au8Bytes[LT_HEADER_SIZE], LumatrekMessageHeader *psHeader)
{
    psHeader->u32Length = LT_getU32(au8Bytes, 0);
    psHeader->u32Code = LT_getU32(au8Bytes, 4);
}

void LT_copyText(char *pszDestination, size_t szSize, const uint8_t *pu8Field, uint32_t u32FieldSize)
{
    if (szSize == 0)
        return;
    size_t szLength = 0;
    while (szLength < u32FieldSize && szLength + 1 < szSize && pu8Field[szLength] != 0) {
        pszDestination[szLength] = static_cast<char>(pu8Field[szLength]);
        szLength++;
    }
    pszDestination[szLength] = '\0';
}

void InitCommandRequest(LumatrekCommandRequest *psRequest, LumatrekErrorInfo *psError, uint32_t u32Command,
                        uint32_t u32Argument, const void *pPayload, uint32_t u32PayloadSize, void *pReply,
                        uint32_t u32ReplySize)
{
    *psRequest = LumatrekCommandRequest{};
    psRequest->u32Command = u32Command;
    psRequest->u32Argument = u32Argument;
    psRequest->u32WaitReply = 1;
    psRequest->pPayload = pPayload;
    psRequest->u32PayloadSize = u32PayloadSize;
    psRequest->i32Status = LT_STATUS_FULL;
    psRequest->psError = psError;
    psRequest->pReply = pReply;
    psRequest->u32ReplySize = u32ReplySize;
}

void LT_answerWaitingRequests(SA_WaitQueueData psQueue, int32_t i32Status)
{
    if (!psQueue)
        return;
    for (;;) {
        SA_WaitQueueItem hItem = nullptr;
        void *pRequest = SA_WaitQueue(psQueue, 0, &hItem);
        if (!pRequest || !hItem)
            return;
        static_cast<LumatrekCommandRequest *>(pRequest)->i32Status = i32Status;
        SA_ReplyWaitQueue(hItem);
    }
}

int SkipSocketBytes(SA_Socket psSocket, uint32_t u32Count)
{
    uint8_t au8Piece[kSkipPiece];
    while (u32Count > 0) {
        uint32_t u32Length = u32Count < kSkipPiece ? u32Count : kSkipPiece;
        if (SA_ReadSocketLength(psSocket, au8Piece, u32Length, LT_timing()->u32TransferTimeoutMs) != SA_OK)
            return 0;
        u32Count -= u32Length;
    }
    return 1;
}

} // extern "C"
