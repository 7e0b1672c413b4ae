/* The reader's input buffer: unread bytes of a socket or read function, kept between
 * messages, compacted only past fixed thresholds so that consuming rarely copies. */
#include "PXR_Internal.h"

#include <cstring>

namespace {

const uint32_t kCompactOnConsume = 20000;
const uint32_t kCompactKeepMax = 49;
const uint32_t kCompactOnRead = 30000;
const uint32_t kCallbackReadSize = 1024;
const uint32_t kGrowthSlack = 10;

void moveToFront(PXRStreamBuffer *psBuffer)
{
    memmove(psBuffer->pu8Data, psBuffer->pu8Data + psBuffer->u32Start, psBuffer->u32Length);
    psBuffer->u32Start = 0;
}

// Room for u32Count more bytes after the unread ones; false when the block cannot grow.
bool reserve(PXRStreamBuffer *psBuffer, uint32_t u32Count)
{
    if (psBuffer->u32Start > kCompactOnRead)
        moveToFront(psBuffer);
    uint64_t u64Needed = uint64_t(psBuffer->u32Start) + psBuffer->u32Length + u32Count;
    if (u64Needed <= psBuffer->u32Capacity)
        return true;
    if (u64Needed + kGrowthSlack > UINT32_MAX)
        return false;
    uint32_t u32Capacity = static_cast<uint32_t>(u64Needed + kGrowthSlack);
    uint8_t *pu8Data = static_cast<uint8_t *>(SA_Malloc(u32Capacity));
    if (!pu8Data)
        return false;
    memcpy(pu8Data + psBuffer->u32Start, psBuffer->pu8Data + psBuffer->u32Start, psBuffer->u32Length);
    SA_Free(&psBuffer->pu8Data);
    psBuffer->pu8Data = pu8Data;
    psBuffer->u32Capacity = u32Capacity;
    return true;
}

uint8_t *endOfData(PXRStreamBuffer *psBuffer)
{
    return psBuffer->pu8Data + psBuffer->u32Start + psBuffer->u32Length;
}

} // namespace

extern "C" {

PXRStreamBuffer *PXRStreamBufferCreate(void)
{
    PXRStreamBuffer *psBuffer = static_cast<PXRStreamBuffer *>(SA_Calloc(1, sizeof(PXRStreamBuffer)));
    if (!psBuffer)
        return nullptr;
    psBuffer->pu8Data = static_cast<uint8_t *>(SA_Malloc(PXR_STREAM_BUFFER_SIZE));
    if (!psBuffer->pu8Data) {
        SA_Free(&psBuffer);
        return nullptr;
    }
    psBuffer->u32Capacity = PXR_STREAM_BUFFER_SIZE;
    return psBuffer;
}

void PXRStreamBufferRelease(PXRStreamBuffer *psBuffer)
{
    if (!psBuffer)
        return;
    SA_Free(&psBuffer->pu8Data);
    SA_Free(&psBuffer);
}

void PXRStreamBufferClear(PXRStreamBuffer *psBuffer)
{
    psBuffer->u32Length = 0;
    psBuffer->u32Start = 0;
}

uint8_t *PXRStreamBufferData(PXRStreamBuffer *psBuffer)
{
    return psBuffer->pu8Data + psBuffer->u32Start;
}

int32_t PXRStreamBufferFind(PXRStreamBuffer *psBuffer, const void *pPattern, uint32_t u32Length, uint32_t u32From)
{
    if (psBuffer->u32Length < u32Length || psBuffer->u32Length < u32From || u32Length == 0)
        return -1;
    const uint8_t *pu8Data = PXRStreamBufferData(psBuffer);
    const uint8_t u8First = *static_cast<const uint8_t *>(pPattern);
    for (uint32_t i = u32From; i + u32Length <= psBuffer->u32Length; i++) {
        if (pu8Data[i] == u8First && memcmp(pu8Data + i, pPattern, u32Length) == 0)
            return static_cast<int32_t>(i);
    }
    return -1;
}

int PXRStreamBufferStartsWith(PXRStreamBuffer *psBuffer, const void *pPattern, uint32_t u32Length)
{
    return psBuffer->u32Length >= u32Length && memcmp(PXRStreamBufferData(psBuffer), pPattern, u32Length) == 0;
}

void PXRStreamBufferConsume(PXRStreamBuffer *psBuffer, uint32_t u32Count)
{
    if (u32Count >= psBuffer->u32Length) {
        PXRStreamBufferClear(psBuffer);
        return;
    }
    psBuffer->u32Start += u32Count;
    psBuffer->u32Length -= u32Count;
    if (psBuffer->u32Start > kCompactOnConsume && psBuffer->u32Length <= kCompactKeepMax)
        moveToFront(psBuffer);
}

int PXRStreamBufferReadFromSocket(PXRStreamBuffer *psBuffer, SA_Socket psSocket, uint32_t u32Count,
                                  uint32_t u32TimeoutMs)
{
    if (!reserve(psBuffer, u32Count))
        return 2;
    int32_t i32Result = SA_ReadSocketLength(psSocket, endOfData(psBuffer), u32Count, u32TimeoutMs);
    if (i32Result == SA_OK) {
        psBuffer->u32Length += u32Count;
        return 0;
    }
    return i32Result == SA_TIMEOUT ? 1 : -1;
}

int PXRStreamBufferReadWithCallback(PXRStreamBuffer *psBuffer, PXRMsgReadFunction rRead, void *pUser,
                                    uint32_t u32Count)
{
    bool bOnce = u32Count == 0;
    uint32_t u32Wanted = bOnce ? kCallbackReadSize : u32Count;
    if (!reserve(psBuffer, u32Wanted))
        return 2;
    uint32_t u32Got = 0;
    do {
        int32_t i32Read = rRead(endOfData(psBuffer), u32Wanted - u32Got, pUser);
        if (i32Read < 0)
            return i32Read;
        if (i32Read == 0)
            return 1;
        // A function that claims more than it was offered broke the contract: treat as an error.
        if (uint32_t(i32Read) > u32Wanted - u32Got)
            return -1;
        u32Got += uint32_t(i32Read);
        psBuffer->u32Length += uint32_t(i32Read);
    } while (!bOnce && u32Got < u32Wanted);
    return 0;
}

} // extern "C"
