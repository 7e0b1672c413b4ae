/* The stream connection: the network thread that connects and reads packets, the reception
 * of one packet with its sensor times made local, and the stream-command thread. */
#include "Lumatrek_Internal.h"

#include <stdio.h>
#include <string.h>

namespace {

const uint32_t kDiscardChunk = 4096;
const uint32_t kFirmwareTrace = 6;
const uint32_t kVersionPacket = 274;
const uint32_t kRecd = LT_FOURCC('R', 'E', 'C', 'D');
const uint32_t kJpeg = LT_FOURCC('J', 'P', 'E', 'G');
const uint32_t kMpeg = LT_FOURCC('M', 'P', 'E', 'G');
const uint32_t kGexi = LT_FOURCC('G', 'E', 'X', 'I');
const uint32_t kKgvx = LT_FOURCC('K', 'G', 'V', 'X');
const uint32_t kKgvc = LT_FOURCC('K', 'G', 'V', 'C');
const uint32_t kKgvxCountOffset = 1012;
const uint32_t kKgvxFirstWord = 12;
const uint32_t kKgvcContextTimeWord = 17;

enum TimeRule { kNone, kWordZeroLocal, kRecognition, kWordZeroMonotonic };

struct TimeRuleEntry {
    uint32_t u32Id;
    TimeRule eRule;
};

const TimeRuleEntry kTimeRules[] = {
    {LT_FOURCC('G', 'E', 'T', 'I'), kWordZeroLocal}, {kGexi, kWordZeroLocal},
    {LT_FOURCC('G', 'P', 'I', 'O'), kWordZeroLocal}, {13109, kWordZeroLocal},
    {8739, kRecognition}, {8743, kRecognition}, {8746, kRecognition},
    {LT_FOURCC('N', 'O', 'L', 'G'), kRecognition}, {LT_FOURCC('K', 'G', 'V', 'L'), kRecognition},
    {LT_FOURCC('D', 'P', 'L', 'G'), kRecognition}, {LT_FOURCC('D', 'P', 'N', 'L'), kRecognition},
    {LT_FOURCC('E', 'N', 'D', 'D'), kWordZeroMonotonic}, {LT_FOURCC('N', 'E', 'W', 'D'), kWordZeroMonotonic},
    {LT_FOURCC('K', 'G', 'V', 'M'), kWordZeroMonotonic}, {LT_FOURCC('E', 'N', 'D', 'P'), kWordZeroMonotonic},
    {LT_FOURCC('N', 'E', 'W', 'P'), kWordZeroMonotonic},
};

TimeRule timeRule(uint32_t u32Id)
{
    for (const TimeRuleEntry &sEntry : kTimeRules) {
        if (sEntry.u32Id == u32Id)
            return sEntry.eRule;
    }
    return kNone;
}

// Words the payload holds entirely; a short payload keeps its missing words missing.
int hasWord(const LT_PacketEntry *psEntry, uint32_t u32Word)
{
    return psEntry->u32Size >= 4 && u32Word <= psEntry->u32Size / 4 - 1;
}

void mapWord(LumatrekHandle *psHandle, LT_PacketEntry *psEntry, uint32_t u32Word, int bMonotonic)
{
    if (!hasWord(psEntry, u32Word))
        return;
    const uint32_t u32Sensor = LT_getU32(psEntry->pu8Data, u32Word * 4);
    LT_putU32(psEntry->pu8Data, u32Word * 4,
              bMonotonic ? SensorTimeToLocalMonotonic(psHandle, u32Sensor) : SensorTimeToLocal(psHandle, u32Sensor));
}

void rewriteRecognition(LumatrekHandle *psHandle, LT_PacketEntry *psEntry)
{
    mapWord(psHandle, psEntry, 0, 1);
    if (!hasWord(psEntry, 5)) {
        mapWord(psHandle, psEntry, 4, 0);
        return;
    }
    const uint32_t u32On = LT_getU32(psEntry->pu8Data, 16);
    const uint32_t u32Off = LT_getU32(psEntry->pu8Data, 20);
    mapWord(psHandle, psEntry, 4, 0);
    LT_putU32(psEntry->pu8Data, 20, u32Off > u32On ? SensorTimeToLocal(psHandle, u32Off) : 0);
}

void rewriteSpeed(LumatrekHandle *psHandle, LT_PacketEntry *psEntry)
{
    if (psEntry->u32Size < kKgvxCountOffset + 4)
        return;
    uint32_t u32Count = LT_getU32(psEntry->pu8Data, kKgvxCountOffset);
    const uint32_t u32Room = (kKgvxCountOffset - kKgvxFirstWord) / 4;
    if (u32Count > u32Room)
        u32Count = u32Room;
    for (uint32_t i = 0; i < u32Count; i++)
        mapWord(psHandle, psEntry, kKgvxFirstWord / 4 + i, 1);
}

LT_Stream *streamOf(LumatrekHandle *psHandle)
{
    return psHandle->psStream;
}

void putBack(LumatrekHandle *psHandle, LT_PacketEntry *psEntry)
{
    SA_WritePool(streamOf(psHandle)->psPool, psEntry);
}

// A packet too large to hold: reported, and what follows of it shown in the log.
int refuseTooBig(LumatrekHandle *psHandle, LT_Link *psLink, LT_PacketEntry *psEntry, uint32_t u32Size,
                 uint32_t u32Id)
{
    putBack(psHandle, psEntry);
    const char *pcszFunction = LT_text(LT_TEXT_FN_RECEIVE_PACKET);
    LT_log(psHandle, pcszFunction, "WARNING big net allocation uSizeToAllocate=%u (MAX %u, packetID %x)\n", u32Size,
           LT_MAX_PACKET, u32Id);
    ReportError(psHandle, LT_text(LT_TEXT_THREAD_NET), 1, -300, LT_text(LT_TEXT_PACKET_TOO_BIG), 0);
    uint8_t au8Dump[LT_REFUSED_DUMP];
    uint32_t u32Got = 0;
    while (u32Got < LT_REFUSED_DUMP && u32Got < u32Size &&
           LT_linkRead(psLink, au8Dump + u32Got, 1, LT_timing()->u32TransferTimeoutMs) == SA_OK)
        u32Got++;
    if (u32Got > 0) {
        LT_log(psHandle, pcszFunction, "dump data size %u\n", u32Got);
        LT_logHex(psHandle, pcszFunction, au8Dump, u32Got);
    }
    return 0;
}

// The bytes a RECD packet holds, from its sub-header; 0 when it disagrees with the main header.
int readRecordHeader(LT_Link *psLink, const LumatrekMessageHeader *psHeader, uint32_t *pu32Gap, uint32_t *pu32Data)
{
    const uint32_t u32Timeout = LT_timing()->u32TransferTimeoutMs;
    uint8_t au8Sub[8];
    if (psHeader->u32Length < sizeof(au8Sub) || LT_linkRead(psLink, au8Sub, sizeof(au8Sub), u32Timeout) != SA_OK)
        return 0;
    const uint32_t u32SubLength = LT_getU32(au8Sub, 0);
    const uint32_t u32SubType = LT_getU32(au8Sub, 4);
    uint32_t u32Rest = psHeader->u32Length - sizeof(au8Sub);
    *pu32Gap = 0;
    if (u32SubType == 300 || u32SubType == 302) {
        uint8_t au8Block[LT_RECD_BLOCK];
        if (u32Rest < sizeof(au8Block) || LT_linkRead(psLink, au8Block, sizeof(au8Block), u32Timeout) != SA_OK)
            return 0;
        if ((LT_getU32(au8Block, 8) & 7u) == 3u)
            return 0;
        *pu32Data = LT_getU32(au8Block, 12);
        *pu32Gap = u32SubType == 300 ? LT_RECD_GAP : 0;
        u32Rest -= sizeof(au8Block);
    } else {
        *pu32Data = u32SubLength;
    }
    return *pu32Data == u32Rest;
}

int readBody(LumatrekHandle *psHandle, LT_Link *psLink, LT_PacketEntry *psEntry, uint32_t u32Gap, uint32_t u32Data)
{
    const uint32_t u32Need = u32Gap + u32Data;
    if (psEntry->u32Capacity < u32Need) {
        SA_Free(&psEntry->pu8Data);
        psEntry->u32Capacity = 0;
        psEntry->pu8Data = static_cast<uint8_t *>(SA_Malloc(u32Need));
        if (!psEntry->pu8Data) {
            // Reported without stopping the handle: the next connection may fare better.
            ReportError(psHandle, LT_text(LT_TEXT_THREAD_NET), 1, LUMATREK_ERROR_NO_MEMORY,
                        LT_text(LT_TEXT_NO_MEMORY), 0);
            return 0;
        }
        psEntry->u32Capacity = u32Need;
    }
    if (u32Gap)
        memset(psEntry->pu8Data, 0, u32Gap);
    return LT_linkRead(psLink, psEntry->pu8Data + u32Gap, u32Data, LT_timing()->u32TransferTimeoutMs) == SA_OK;
}

void deliverFrame(LumatrekHandle *psHandle, LT_PacketEntry *psEntry)
{
    if (psEntry->u32Size < 12)
        return;
    mapWord(psHandle, psEntry, 0, 0);
    const uint8_t *pu8Data = psEntry->pu8Data;
    LT_lock(psHandle, LT_MUTEX_MPEG);
    const LT_Slot sSlot = LT_openSlot(psHandle, &streamOf(psHandle)->sXpeg);
    if (sSlot.rCallback)
        reinterpret_cast<LumatrekXpegCallback>(sSlot.rCallback)(
            psHandle, LT_getU32(pu8Data, 0), psEntry->u32Connection, LT_getU32(pu8Data, 4), psEntry->u32PacketId,
            LT_getU32(pu8Data, 8), psEntry->u32Size - 12, pu8Data + 12, sSlot.pUser);
    LT_unlock(psHandle, LT_MUTEX_MPEG);
}

void logTrace(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    char aszText[1024];
    LT_copyText(aszText, sizeof(aszText), psEntry->pu8Data, psEntry->u32Size);
    LT_log(psHandle, LT_text(LT_TEXT_FN_RECEIVE_PACKET), "FIRMWARE trace: <%s>\n", aszText);
}

// The sensor starts streaming with the mask once it has said its version.
int subscribe(LumatrekHandle *psHandle, LT_Link *psLink)
{
    if (!LT_isRunning(psHandle))
        return 1;
    uint8_t au8Mask[4];
    LT_putU32(au8Mask, 0, psHandle->u32StreamMask);
    return SendStreamSocketRequest(psHandle, psLink, LT_STREAM_START, 0, nullptr) &&
           SendStreamSocketRequest(psHandle, psLink, LT_STREAM_SET_MASK, sizeof(au8Mask), au8Mask);
}

} // namespace

extern "C" {

void LT_logHex(LumatrekHandle *psHandle, const char *pcszFunction, const uint8_t *pu8Data, uint32_t u32Size)
{
    char aszLine[16 * 3 + 2];
    for (uint32_t u32Start = 0; u32Start < u32Size; u32Start += 16) {
        size_t szUsed = 0;
        for (uint32_t i = u32Start; i < u32Size && i < u32Start + 16; i++)
            szUsed += snprintf(aszLine + szUsed, sizeof(aszLine) - szUsed, "%02x ", pu8Data[i]);
        LT_log(psHandle, pcszFunction, "%s\n", aszLine);
    }
}

void LT_rewriteTimes(LumatrekHandle *psHandle, LT_PacketEntry *psEntry)
{
    if (psEntry->u32PacketId == kKgvx) {
        rewriteSpeed(psHandle, psEntry);
        return;
    }
    const TimeRule eRule = psEntry->u32PacketId == kKgvc ? kWordZeroMonotonic : timeRule(psEntry->u32PacketId);
    if (eRule == kNone || !hasWord(psEntry, 0))
        return;
    psEntry->u32SensorTime = LT_getU32(psEntry->pu8Data, 0);
    if (eRule == kRecognition)
        rewriteRecognition(psHandle, psEntry);
    else
        mapWord(psHandle, psEntry, 0, eRule == kWordZeroMonotonic);
    if (psEntry->u32PacketId == kKgvc)
        mapWord(psHandle, psEntry, kKgvcContextTimeWord, 1);
}

int PurgeNetSocket(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekMessageHeader *psHeader)
{
    uint32_t u32Left = psHeader->u32Length;
    if (u32Left == 0)
        return 1;
    uint8_t *pu8Scratch = static_cast<uint8_t *>(SA_Malloc(kDiscardChunk));
    if (!pu8Scratch) {
        ReportError(psHandle, LT_text(LT_TEXT_THREAD_NET), 1, LUMATREK_ERROR_NO_MEMORY, LT_text(LT_TEXT_NO_MEMORY),
                    0);
        return 0;
    }
    int bDone = 1;
    while (u32Left > 0 && bDone) {
        const uint32_t u32Piece = u32Left < kDiscardChunk ? u32Left : kDiscardChunk;
        bDone = LT_linkRead(psLink, pu8Scratch, u32Piece, LT_timing()->u32TransferTimeoutMs) == SA_OK;
        u32Left -= u32Piece;
    }
    SA_Free(&pu8Scratch);
    return bDone;
}

int ReceivePacket(LumatrekHandle *psHandle, LT_Link *psLink, const LumatrekMessageHeader *psHeader)
{
    LT_Stream *psStream = streamOf(psHandle);
    LT_PacketEntry *psEntry = static_cast<LT_PacketEntry *>(SA_ReadPool(psStream->psPool));
    if (!psEntry) {
        printf("PLUS DE PLACE\n");
        fflush(stdout);
        return PurgeNetSocket(psHandle, psLink, psHeader);
    }
    psEntry->u32Size = 0;
    psEntry->u32SensorTime = 0;
    psEntry->u32PacketId = psHeader->u32Code;
    psEntry->u32Connection = psStream->u32Connections;
    if (psHeader->u32Length == 0) {
        if (psHeader->u32Code == LT_CODE_KEEP_ALIVE) {
            putBack(psHandle, psEntry);
            return 1;
        }
        SA_WriteQueue(psStream->psNetQueue, psEntry);
        return 1;
    }
    uint32_t u32Gap = 0;
    uint32_t u32Data = psHeader->u32Length;
    if (psHeader->u32Code == kRecd && !readRecordHeader(psLink, psHeader, &u32Gap, &u32Data)) {
        putBack(psHandle, psEntry);
        return 0;
    }
    if (u32Data > LT_MAX_PACKET - u32Gap)
        return refuseTooBig(psHandle, psLink, psEntry, u32Data, psHeader->u32Code);
    if (!readBody(psHandle, psLink, psEntry, u32Gap, u32Data)) {
        putBack(psHandle, psEntry);
        return 0;
    }
    psEntry->u32Size = u32Gap + u32Data;
    const uint32_t u32Id = psHeader->u32Code;
    if (u32Id == kFirmwareTrace) {
        logTrace(psHandle, psEntry);
    } else if (u32Id == kVersionPacket && !subscribe(psHandle, psLink)) {
        putBack(psHandle, psEntry);
        return 0;
    } else if (u32Id == kJpeg || u32Id == kMpeg) {
        deliverFrame(psHandle, psEntry);
    } else {
        LT_rewriteTimes(psHandle, psEntry);
    }
    if (SA_WriteQueue(psStream->psNetQueue, psEntry) != SA_OK)
        putBack(psHandle, psEntry);
    return 1;
}

int SendStreamSocketRequest(LumatrekHandle *, LT_Link *psLink, uint32_t u32Code, uint32_t u32Length,
                            const void *pPayload)
{
    if (u32Length != 0 && !pPayload)
        return 0;
    return SendCommandNoReply(psLink, u32Code, pPayload, u32Length, LT_timing()->u32TransferTimeoutMs);
}

} // extern "C"
