/* The stream's dispatch: each packet read by reception becomes a cached block, a record or an
 * event, handed to the callbacks; also the replay of the cached blocks. */
#include "Lumatrek_Internal.h"

#include <stddef.h>
#include <string.h>

namespace {

const uint32_t kAny = 0xFFFFFFFFu;
const uint32_t kTextPacket = 273;
const uint32_t kStatusPacket = 43691;
const uint32_t kDescriptionPacket = 43761;
const uint32_t kEndOfConfig = 21862;
const uint32_t kGexi = LT_FOURCC('G', 'E', 'X', 'I');
const uint32_t kKgvc = LT_FOURCC('K', 'G', 'V', 'C');
const uint32_t kRecognitionImage = 64;
const uint32_t kKgvcImage = 88;

// Where a cached block lives: the handle or the stream area.
typedef void *(*BlockAt)(LumatrekHandle *psHandle);
typedef int (*Convert)(LumatrekHandle *psHandle, const uint8_t *pu8Wire, uint32_t u32Size);

struct CachedBlock {
    int bEx;
    uint32_t u32Type;
    uint32_t u32Bit;
    BlockAt rAt;
    uint32_t u32Size;
};

#define HANDLE_BLOCK(field) [](LumatrekHandle *h) -> void * { return &h->field; }, sizeof(LumatrekHandle::field)
#define STREAM_BLOCK(field) [](LumatrekHandle *h) -> void * { return &h->psStream->field; }, sizeof(LT_Stream::field)

// In the order of the replay.
const CachedBlock kBlocks[] = {
    {0, 2, LT_RECEIVED_VERSION_TEXT, HANDLE_BLOCK(aszVersionText)},
    {0, 3, LT_RECEIVED_VERSION, HANDLE_BLOCK(sVersion)},
    {0, 4, LT_RECEIVED_CONFIG, HANDLE_BLOCK(sConfig)},
    {0, 5, LT_RECEIVED_DESCRIPTION, HANDLE_BLOCK(sDescription)},
    {0, 6, LT_RECEIVED_CAMERA, HANDLE_BLOCK(sCamera)},
    {0, 7, LT_RECEIVED_OCR, HANDLE_BLOCK(sOcr)},
    {0, 8, LT_RECEIVED_MEASURES, STREAM_BLOCK(sMeasures)},
    {0, 9, LT_RECEIVED_LATE_STACK, HANDLE_BLOCK(sLateStack)},
    {0, 10, LT_RECEIVED_UNICAST, HANDLE_BLOCK(u32DiscoverCount)},
    {0, 11, LT_RECEIVED_DATABASE, HANDLE_BLOCK(sDataBase)},
    {0, 12, LT_RECEIVED_SPEED, HANDLE_BLOCK(sSpeed)},
    {0, 14, LT_RECEIVED_AREA, HANDLE_BLOCK(sArea)},
    {0, 15, LT_RECEIVED_LED, STREAM_BLOCK(sLed)},
    {0, 16, LT_RECEIVED_KEPT_SHORTS, STREAM_BLOCK(sKeptShorts)},
    {1, 1, LT_RECEIVED_BOARD, HANDLE_BLOCK(sBoard)},
    {1, 2, LT_RECEIVED_MASTER_ADDRESSES, HANDLE_BLOCK(sMasterAddresses)},
    {1, 3, LT_RECEIVED_KEPT_WORDS, STREAM_BLOCK(sKeptWords)},
    {1, 5, LT_RECEIVED_MASTER_PARAMETERS, HANDLE_BLOCK(sMasterParameters)},
    {1, 6, LT_RECEIVED_SLAVE_PARAMETERS, STREAM_BLOCK(sSlaveParameters)},
    {1, 7, LT_RECEIVED_KEPT_WORD, STREAM_BLOCK(u32KeptWord)},
    {1, 8, LT_RECEIVED_REMOTE_ENSLAVE, HANDLE_BLOCK(sRemoteEnslave)},
    {1, 4, LT_RECEIVED_ACTIVATION, HANDLE_BLOCK(sActivation)},
    {1, 9, LT_RECEIVED_SIGNATURE_PICTURE, STREAM_BLOCK(sSignaturePicture)},
    // Delivered on arrival only.
    {0, 13, LT_RECEIVED_KEPT_TYPE, STREAM_BLOCK(sKeptType)},
    {1, 17, LT_RECEIVED_LED_TRIGGER, HANDLE_BLOCK(sLedTrigger)},
    {1, 19, LT_RECEIVED_BRACKETING, HANDLE_BLOCK(au32Bracketing)},
    {1, 20, LT_RECEIVED_ECO, HANDLE_BLOCK(u32EcoMode)},
    {1, 21, LT_RECEIVED_FOCUS, STREAM_BLOCK(au32Focus)},
};
const size_t kReplayed = 23;

const CachedBlock *findBlock(int bEx, uint32_t u32Type)
{
    for (const CachedBlock &sBlock : kBlocks) {
        if (sBlock.bEx == bEx && sBlock.u32Type == u32Type)
            return &sBlock;
    }
    return nullptr;
}

// Calls the configuration callback (or the Ex one) with a record; under the configuration mutex.
void callConfig(LumatrekHandle *psHandle, int bEx, LumatrekConfigRecord *psRecord)
{
    const LT_Slot sSlot = LT_openSlot(psHandle, bEx ? &psHandle->psStream->sConfigEx : &psHandle->psStream->sConfig);
    if (sSlot.rCallback)
        reinterpret_cast<LumatrekConfigCallback>(sSlot.rCallback)(psHandle, psRecord, sSlot.pUser);
}

void deliverCached(LumatrekHandle *psHandle, const CachedBlock *psBlock)
{
    LumatrekConfigRecord sRecord;
    memset(&sRecord, 0, sizeof(sRecord));
    sRecord.u32Type = psBlock->u32Type;
    const uint32_t u32Size = psBlock->u32Size < sizeof(sRecord.uBlock) ? psBlock->u32Size : sizeof(sRecord.uBlock);
    // The camera block is also written by the command side, under its own mutex.
    const int bCamera = !psBlock->bEx && psBlock->u32Type == 6;
    if (bCamera)
        LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    memcpy(&sRecord.uBlock, psBlock->rAt(psHandle), u32Size);
    if (bCamera)
        LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    callConfig(psHandle, psBlock->bEx, &sRecord);
}

void deliverWords(LumatrekHandle *psHandle, int bEx, uint32_t u32Type, const uint32_t *pu32Words, uint32_t u32Count)
{
    LumatrekConfigRecord sRecord;
    memset(&sRecord, 0, sizeof(sRecord));
    sRecord.u32Type = u32Type;
    memcpy(sRecord.uBlock.au32Words, pu32Words, u32Count * 4);
    callConfig(psHandle, bEx, &sRecord);
}

// A configuration packet: converted into its block, its bit set, delivered.
struct ConfigPacket {
    uint32_t u32Id;
    uint32_t u32Size;
    int bEx;
    uint32_t u32Type;
    Convert rConvert;
};

#define CONVERT(expr) [](LumatrekHandle *h, const uint8_t *w, uint32_t n) -> int { (void)n; return expr; }

const ConfigPacket kConfigPackets[] = {
    {274, 16, 0, 3, CONVERT(ConvertVersionRecord(&h->sVersion, w, n))},
    {278, 52, 0, 13, CONVERT(ConvertKeptTypeRecord(&h->psStream->sKeptType, w, n))},
    {34953, 136, 0, 4, CONVERT(LT_convertConfigForm(h, 0x8889, w, n))},
    {43693, 112, 0, 4, CONVERT(LT_convertConfigForm(h, 0xAAAD, w, n))},
    {43766, 112, 0, 4, CONVERT(LT_convertConfigForm(h, 0xAAF6, w, n))},
    {43694, 468, 0, 4, CONVERT(LT_convertConfigForm(h, 0xAAAE, w, n))},
    {43763, 468, 0, 4, CONVERT(LT_convertConfigForm(h, 0xAAF3, w, n))},
    {21854, 48, 0, 7, CONVERT(ConvertOcrSettings(&h->sOcr, w, n))},
    {43747, 12, 0, 8, CONVERT(ConvertMeasures(&h->psStream->sMeasures, w, n))},
    {26230, 24, 0, 9, CONVERT(ConvertLateStackConfig(&h->sLateStack, w, n))},
    {43746, 20, 0, 11, CONVERT(ConvertDataBaseConfig(&h->sDataBase, w, n))},
    {26221, 24, 0, 12, CONVERT(ConvertSpeedParams(h, &h->sSpeed, w, n))},
    {21858, 44, 0, 14, CONVERT(ConvertAreaOfInterest(&h->sArea, w, n))},
    {49410, 56, 0, 15, CONVERT(ConvertLedRecord(&h->psStream->sLed, w, n))},
    {49412, 20, 0, 16, CONVERT(ConvertKeptShorts(&h->psStream->sKeptShorts, w, n))},
    {65527, 16, 1, 1, CONVERT(ConvertBoardConfig(h, &h->sBoard, w, n))},
    {26231, 72, 1, 2, CONVERT(ConvertMasterAddresses(&h->sMasterAddresses, w, n))},
    {49152, 20, 1, 3, CONVERT(ConvertKeptWords(&h->psStream->sKeptWords, w, n))},
    {30587, 36, 1, 4, CONVERT(ConvertActivationConfig(&h->sActivation, w, n))},
    {26223, 40, 1, 5, CONVERT(ConvertMasterParameters(&h->sMasterParameters, w, n))},
    {26225, 24, 1, 6, CONVERT(ConvertSlaveParameters(&h->psStream->sSlaveParameters, w, n))},
    {30585, 28, 1, 7, CONVERT(ConvertKeptWord(&h->psStream->u32KeptWord, w, n))},
    {13108, 20, 1, 8, CONVERT(ConvertRemoteEnslaveParams(&h->sRemoteEnslave, w, n))},
    {21861, 40, 1, 9, CONVERT(ConvertSignaturePictureSize(&h->psStream->sSignaturePicture, w, n))},
    {49168, 28, 1, 17, CONVERT(ConvertLedExternalTriggerConfig(&h->sLedTrigger, w, n))},
    {49163, 8, 1, 19, CONVERT((memcpy(h->au32Bracketing, w, 8), 1))},
    {49174, 4, 1, 20, CONVERT((h->u32EcoMode = LT_getU32(w, 0), 1))},
    {65529, 8, 1, 21, CONVERT((memcpy(h->psStream->au32Focus, w, 8), 1))},
};

void dispatchConfig(LumatrekHandle *psHandle, const ConfigPacket &sPacket, const LT_PacketEntry *psEntry)
{
    const CachedBlock *psBlock = findBlock(sPacket.bEx, sPacket.u32Type);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    if (sPacket.rConvert(psHandle, psEntry->pu8Data, psEntry->u32Size) && psBlock) {
        psHandle->au32Received[0] |= psBlock->u32Bit;
        if (sPacket.u32Type == 4 && !sPacket.bEx)
            LT_setMaxZoom(psHandle);
        deliverCached(psHandle, psBlock);
    }
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

void dispatchText(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint32_t u32Size = psEntry->u32Size;
    if (u32Size == 0 || u32Size > LT_VERSION_TEXT_SIZE || !memchr(psEntry->pu8Data, 0, u32Size))
        return;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_copyText(psHandle->aszVersionText, sizeof(psHandle->aszVersionText), psEntry->pu8Data, psEntry->u32Size);
    psHandle->au32Received[0] |= LT_RECEIVED_VERSION_TEXT;
    deliverCached(psHandle, findBlock(0, 2));
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

// The status rule: the too-cold condition, then (when it changed) the report and delivery.
void applyStatus(LumatrekHandle *psHandle, uint32_t u32Status, int bOnlyWhenChanged)
{
    LT_Stream *psStream = psHandle->psStream;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    const int bSame = psStream->bStatusSeen && psHandle->u32Status == u32Status;
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    if (bSame && bOnlyWhenChanged)
        return;
    const int bCold = TooColdBit(psHandle, u32Status) != 0;
    LT_lock(psHandle, LT_MUTEX_STATE);
    const int bWasCold = psHandle->bTooCold != 0;
    LT_unlock(psHandle, LT_MUTEX_STATE);
    if (bCold != bWasCold)
        SetConnectionState(psHandle, LT_CONDITION_TOO_COLD, bCold ? LUMATREK_STATE_TOO_COLD : 0);
    if (bSame)
        return;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    psHandle->u32Status = u32Status;
    psStream->bStatusSeen = 1;
    if (UnexpectedStatusBits(psHandle, u32Status)) {
        LT_log(psHandle, LT_text(LT_TEXT_THREAD_RECEIVE), "STATUS UNKNOWN status=0x%x\n", u32Status);
        ReportError(psHandle, LT_text(LT_TEXT_THREAD_RECEIVE), 1, -30, LT_text(LT_TEXT_UNKNOWN_STATUS), 0);
    }
    deliverWords(psHandle, 0, 1, &u32Status, 1);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

void dispatchDescription(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint8_t *pu8Wire = psEntry->pu8Data;
    applyStatus(psHandle, LT_getU32(pu8Wire, 84), 0);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    ConvertSensorDescription(psHandle, &psHandle->sDescription, pu8Wire, psEntry->u32Size);
    psHandle->au32Received[0] |= LT_RECEIVED_DESCRIPTION;
    memcpy(psHandle->au8Mac, pu8Wire + 2, sizeof(psHandle->au8Mac));
    LT_copyText(psHandle->aszUniqueName, sizeof(psHandle->aszUniqueName), pu8Wire + 44, 32);
    deliverCached(psHandle, findBlock(0, 5));
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

// ---- events ----

struct Payload {
    const uint8_t *pu8Data;
    uint32_t u32Size;
};

int copyJpeg(uint8_t **ppu8Jpeg, uint32_t *pu32Size, const uint8_t *pu8From, uint32_t u32Size)
{
    *pu32Size = 0;
    *ppu8Jpeg = nullptr;
    if (u32Size == 0)
        return 1;
    *ppu8Jpeg = static_cast<uint8_t *>(SA_Malloc(u32Size));
    if (!*ppu8Jpeg)
        return 0;
    memcpy(*ppu8Jpeg, pu8From, u32Size);
    *pu32Size = u32Size;
    return 1;
}

int fillImage(LumatrekImage *psImage, uint32_t u32Time, const uint8_t *pu8Jpeg, uint32_t u32Size)
{
    psImage->u32Time = u32Time;
    psImage->u32Option = 1;
    return copyJpeg(&psImage->pu8Jpeg, &psImage->u32JpegSize, pu8Jpeg, u32Size);
}

int wordsAt(const Payload &sPayload, uint32_t u32Count)
{
    return sPayload.u32Size >= u32Count * 4;
}

int fillPicture(LumatrekEvent *psEvent, const void *pContext)
{
    const Payload &s = *static_cast<const Payload *>(pContext);
    return fillImage(&psEvent->uData.sImage, LT_getU32(s.pu8Data, 0), s.pu8Data + 4, s.u32Size - 4);
}

int fillAnswer(LumatrekEvent *psEvent, const void *pContext)
{
    const Payload &s = *static_cast<const Payload *>(pContext);
    psEvent->uData.sAnswer.u32Request = LT_getU32(s.pu8Data, 4);
    psEvent->uData.sAnswer.i32Status = ImageAnswerStatus(int32_t(LT_getU32(s.pu8Data, 8)));
    if (psEvent->uData.sAnswer.i32Status != 0 || s.u32Size < 20)
        return 1;
    return fillImage(&psEvent->uData.sAnswer.sImage, LT_getU32(s.pu8Data, 0), s.pu8Data + 20, s.u32Size - 20);
}

int fillTimed(LumatrekEvent *psEvent, const void *pContext)
{
    const Payload &s = *static_cast<const Payload *>(pContext);
    psEvent->uData.sTimed.u32Time = LT_getU32(s.pu8Data, 0);
    psEvent->uData.sTimed.u32Value = LT_getU32(s.pu8Data, 4);
    return 1;
}

int fillRunStateWord(LumatrekEvent *psEvent, const void *pContext)
{
    psEvent->uData.u32RunState = LT_getU32(static_cast<const Payload *>(pContext)->pu8Data, 0);
    return 1;
}

int fillTrigger(LumatrekEvent *psEvent, const void *pContext)
{
    const Payload &s = *static_cast<const Payload *>(pContext);
    const uint32_t u32Size = s.u32Size < LUMATREK_TRIGGER_ANSWER_SIZE ? s.u32Size : LUMATREK_TRIGGER_ANSWER_SIZE;
    if (u32Size)
        memcpy(psEvent->uData.au8Trigger, s.pu8Data, u32Size);
    return 1;
}

struct Failure {
    uint32_t u32Kind;
    uint32_t u32Value;
};

int fillFailure(LumatrekEvent *psEvent, const void *pContext)
{
    const Failure &s = *static_cast<const Failure *>(pContext);
    psEvent->uData.sFailure.i32Code = -215;
    psEvent->uData.sFailure.u32Kind = s.u32Kind;
    psEvent->uData.sFailure.u32Value = s.u32Value;
    return 1;
}

int dispatchFailure(LumatrekHandle *psHandle, const Payload &sPayload)
{
    const uint32_t u32Code = LT_getU32(sPayload.pu8Data, 0);
    Failure sFailure = {0, LT_getU32(sPayload.pu8Data, 4)};
    if (u32Code == LT_STREAM_LOG_PUSHED || u32Code == LT_STREAM_LOG_REQUEST)
        sFailure.u32Kind = 3;
    else if (u32Code == LT_FOURCC('G', 'E', 'T', 'I'))
        sFailure.u32Kind = 1;
    else if (u32Code == kGexi)
        sFailure.u32Kind = 2;
    else
        return 1;
    return LT_deliverEvent(psHandle, LUMATREK_EVENT_COMMAND_FAILED, &fillFailure, &sFailure);
}

// 1 when the packet was an event (delivered or dropped), with *pbDone 0 when memory ran out.
int dispatchEvent(LumatrekHandle *psHandle, uint32_t u32Id, const Payload &sPayload, int *pbDone)
{
    *pbDone = 1;
    if (u32Id == 0xAADA && wordsAt(sPayload, 1))
        *pbDone = LT_deliverEvent(psHandle, LUMATREK_EVENT_RUN_STATE, &fillRunStateWord, &sPayload);
    else if (u32Id == LT_FOURCC('G', 'E', 'T', 'I') && wordsAt(sPayload, 1))
        *pbDone = LT_deliverEvent(psHandle, LUMATREK_EVENT_IMAGE, &fillPicture, &sPayload);
    else if (u32Id == kGexi && wordsAt(sPayload, 3))
        *pbDone = LT_deliverEvent(psHandle, LUMATREK_EVENT_IMAGE_ANSWER, &fillAnswer, &sPayload);
    else if (u32Id == 13109 && wordsAt(sPayload, 2))
        *pbDone = LT_deliverEvent(psHandle, LUMATREK_EVENT_TIMED_VALUE, &fillTimed, &sPayload);
    else if (u32Id == 43688 && sPayload.u32Size == 16)
        *pbDone = dispatchFailure(psHandle, sPayload);
    else if ((u32Id == 8741 || u32Id == 8742 || u32Id == 8744))
        *pbDone = LT_deliverEvent(psHandle, LUMATREK_EVENT_TRIGGER_ANSWER, &fillTrigger, &sPayload);
    else
        return u32Id == 0xAADA || u32Id == LT_FOURCC('G', 'E', 'T', 'I') || u32Id == kGexi || u32Id == 13109 ||
               u32Id == 43688;
    return 1;
}

// ---- recognitions ----

struct RecognitionKind {
    uint32_t u32Id;
    uint32_t u32ResultType;
    int bDangerousGoods;
};

const RecognitionKind kRecognitions[] = {
    {8739, LUMATREK_RESULT_TRIGGER_NO_PLATE, 0},
    {8743, LUMATREK_RESULT_TRIGGER_DECISION, 0},
    {8746, LUMATREK_RESULT_TRIGGER_DECISION, 0},
    {LT_FOURCC('N', 'O', 'L', 'G'), LUMATREK_RESULT_NO_PLATE, 0},
    {LT_FOURCC('K', 'G', 'V', 'L'), LUMATREK_RESULT_DECISION, 0},
    {kKgvc, LUMATREK_RESULT_DECISION, 0},
    {LT_FOURCC('D', 'P', 'L', 'G'), LUMATREK_RESULT_DECISION, 1},
    {LT_FOURCC('D', 'P', 'N', 'L'), LUMATREK_RESULT_DECISION, 1},
    {LT_FOURCC('N', 'E', 'W', 'P'), LUMATREK_RESULT_PASSAGE_BEGIN, 0},
    {LT_FOURCC('E', 'N', 'D', 'P'), LUMATREK_RESULT_PASSAGE_END, 0},
    {LT_FOURCC('N', 'E', 'W', 'D'), LUMATREK_RESULT_PASSAGE_BEGIN, 1},
    {LT_FOURCC('E', 'N', 'D', 'D'), LUMATREK_RESULT_PASSAGE_END, 1},
};

const RecognitionKind *findRecognition(uint32_t u32Id)
{
    for (const RecognitionKind &sKind : kRecognitions) {
        if (sKind.u32Id == u32Id)
            return &sKind;
    }
    return nullptr;
}

void fillExtension(LumatrekRecognition *psRecord, const uint8_t *pu8Ext)
{
    psRecord->i32BoxX = int32_t(LT_getU32(pu8Ext, 0));
    psRecord->i32BoxY = int32_t(LT_getU32(pu8Ext, 4));
    psRecord->i32BoxWidth = int32_t(LT_getU32(pu8Ext, 8));
    psRecord->i32BoxHeight = int32_t(LT_getU32(pu8Ext, 12));
    const uint32_t u32Sinus = LT_getU32(pu8Ext, 16);
    memcpy(&psRecord->fSinus, &u32Sinus, sizeof(float));
    psRecord->u32Contrast = LT_getU32(pu8Ext, 20);
    LT_copyText(psRecord->aszContext, sizeof(psRecord->aszContext), pu8Ext + 24, 64);
    psRecord->u32Direction = LT_getU32(pu8Ext, 88);
    psRecord->u32DataBase = LT_getU16(pu8Ext, 92) != 0;
    psRecord->u32Occurrences = pu8Ext[94];
}

// The record of a recognition; null when the payload is short or memory ran out (*pbShort says which).
LumatrekRecognition *buildRecognition(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry, uint32_t u32Type,
                                      int *pbShort)
{
    const uint8_t *p = psEntry->pu8Data;
    const uint32_t u32Size = psEntry->u32Size;
    const int bKgvc = psEntry->u32PacketId == kKgvc;
    const uint32_t u32ImageAt = bKgvc ? kKgvcImage : kRecognitionImage;
    *pbShort = 1;
    if (u32Size < u32ImageAt)
        return nullptr;
    const int bExtension = LT_getU32(p, 60) == LT_EXTENSION_MARK;
    if (bExtension && u32Size - u32ImageAt < LT_RECOGNITION_EXTENSION)
        return nullptr;
    const uint32_t u32End = u32Size - (bExtension ? LT_RECOGNITION_EXTENSION : 0);
    uint32_t u32First = u32End - u32ImageAt;
    if (bKgvc) {
        if (LT_getU32(p, 64) > u32First)
            return nullptr;
        u32First = LT_getU32(p, 64);
    }
    *pbShort = 0;
    LumatrekRecognition *psRecord = static_cast<LumatrekRecognition *>(SA_Calloc(1, sizeof(LumatrekRecognition)));
    if (!psRecord)
        return nullptr;
    psRecord->u32LibraryAllocated = 1;
    psRecord->u32ResultType = u32Type;
    psRecord->u32Time = LT_getU32(p, 0);
    psRecord->u32SensorTime = psEntry->u32SensorTime;
    psRecord->u32RequestNumber = LT_getU32(p, 4);
    psRecord->u32Session = LT_getU32(p, 8);
    psRecord->u32TriggerId = LT_getU32(p, 12);
    psRecord->u32TriggerOnTime = LT_getU32(p, 16);
    psRecord->u32TriggerOffTime = LT_getU32(p, 20);
    psRecord->u32PlateSource = p[39];
    LT_copyText(psRecord->aszPlate, sizeof(psRecord->aszPlate), p + 40, 16);
    psRecord->u32Reliability = LT_getU32(p, 56);
    if (bExtension)
        fillExtension(psRecord, p + u32End);
    psRecord->sImage.u32Time = psRecord->u32Time;
    psRecord->sImage.u32Option = psHandle->u32StreamOption;
    int bMemory = copyJpeg(&psRecord->sImage.pu8Jpeg, &psRecord->sImage.u32JpegSize, p + u32ImageAt, u32First);
    if (bKgvc) {
        psRecord->sContextImage.u32Time = LT_getU32(p, 68);
        bMemory = bMemory && copyJpeg(&psRecord->sContextImage.pu8Jpeg, &psRecord->sContextImage.u32JpegSize,
                                      p + u32ImageAt + u32First, u32End - u32ImageAt - u32First);
    }
    if (!bMemory)
        LumatrekReleaseRecognition(&psRecord);
    return psRecord;
}

LumatrekRecognition *buildPassage(const LT_PacketEntry *psEntry, uint32_t u32Type, int *pbShort)
{
    const uint8_t *p = psEntry->pu8Data;
    *pbShort = psEntry->u32Size < 28;
    if (*pbShort)
        return nullptr;
    LumatrekRecognition *psRecord = static_cast<LumatrekRecognition *>(SA_Calloc(1, sizeof(LumatrekRecognition)));
    if (!psRecord)
        return nullptr;
    psRecord->u32LibraryAllocated = 1;
    psRecord->u32ResultType = u32Type;
    psRecord->u32Time = LT_getU32(p, 0);
    psRecord->u32SensorTime = psEntry->u32SensorTime;
    psRecord->i32BoxX = int32_t(LT_getU32(p, 4));
    psRecord->i32BoxY = int32_t(LT_getU32(p, 8));
    psRecord->i32BoxWidth = int32_t(LT_getU32(p, 12));
    psRecord->i32BoxHeight = int32_t(LT_getU32(p, 16));
    psRecord->u32Session = LT_getU32(p, 20);
    psRecord->u32PlateSource = LT_getU32(p, 24);
    return psRecord;
}

// A recognition or passage mark: 0 when memory ran out.
int dispatchRecognition(LumatrekHandle *psHandle, const RecognitionKind &sKind, const LT_PacketEntry *psEntry)
{
    if (psEntry->u32Size == 0)
        return 1;
    const LT_MutexId eMutex = sKind.bDangerousGoods ? LT_MUTEX_REMOTE_DGPR : LT_MUTEX_REMOTE_ANPR;
    LT_lock(psHandle, eMutex);
    const LT_Slot sSlot = LT_openSlot(
        psHandle, sKind.bDangerousGoods ? &psHandle->psStream->sDangerousGoods : &psHandle->psStream->sRecognition);
    int bDone = 1;
    if (sSlot.rCallback) {
        int bShort = 0;
        const int bPassage = sKind.u32ResultType == LUMATREK_RESULT_PASSAGE_BEGIN ||
                             sKind.u32ResultType == LUMATREK_RESULT_PASSAGE_END;
        LumatrekRecognition *psRecord = bPassage ? buildPassage(psEntry, sKind.u32ResultType, &bShort)
                                                 : buildRecognition(psHandle, psEntry, sKind.u32ResultType, &bShort);
        if (psRecord)
            reinterpret_cast<LumatrekRecognitionCallback>(sSlot.rCallback)(psHandle, psRecord, sSlot.pUser);
        else
            bDone = bShort;
    }
    LT_unlock(psHandle, eMutex);
    return bDone;
}

// ---- the other records ----

void dispatchSpeed(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint8_t *p = psEntry->pu8Data;
    if (psEntry->u32Size < 1036)
        return;
    LumatrekSpeed sSpeed = {LT_getU32(p, 8), p[1024], LT_getU32(p, 12), LT_getU32(p, 4),
                            LT_protocolAtLeast(psHandle, 4, 11) ? LT_getU32(p, 1032) : 0xFFFFu};
    LT_lock(psHandle, LT_MUTEX_SPEED_CALLBACK);
    const LT_Slot sSlot = LT_openSlot(psHandle, &psHandle->psStream->sSpeed);
    if (sSlot.rCallback)
        reinterpret_cast<LumatrekSpeedCallback>(sSlot.rCallback)(psHandle, &sSpeed, sSlot.pUser);
    LT_unlock(psHandle, LT_MUTEX_SPEED_CALLBACK);
}

void dispatchInputs(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry, int bChange)
{
    const uint8_t *p = psEntry->pu8Data;
    if (psEntry->u32Size != 8)
        return;
    if (bChange && LT_getU16(p, 6) == 0) {
        LT_lock(psHandle, LT_MUTEX_IO);
        const LT_Slot sSlot = LT_openSlot(psHandle, &psHandle->psStream->sIo);
        if (sSlot.rCallback)
            reinterpret_cast<LumatrekIoCallback>(sSlot.rCallback)(psHandle, int16_t(LT_getU16(p, 4)),
                                                                  LT_getU32(p, 0), sSlot.pUser);
        LT_unlock(psHandle, LT_MUTEX_IO);
    }
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    memcpy(psHandle->au8IoState, p, 8);
    psHandle->au32Received[0] |= LT_RECEIVED_INPUTS;
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

void dispatchEnd(LumatrekHandle *psHandle)
{
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    psHandle->au32Received[1] |= LT_RECEIVED_END_OF_CONFIG;
    LumatrekConfigRecord sRecord;
    memset(&sRecord, 0, sizeof(sRecord));
    sRecord.u32Type = LUMATREK_CONFIG_END;
    callConfig(psHandle, 0, &sRecord);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

// ---- camera, variable blocks, words of the second flag word ----

void setCameraHeld(LumatrekHandle *psHandle, int bSetBit)
{
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    if (bSetBit)
        psHandle->au32Received[0] |= LT_RECEIVED_CAMERA;
    if (psHandle->au32Received[0] & LT_RECEIVED_CAMERA)
        deliverCached(psHandle, findBlock(0, 6));
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

// The camera block is the packet's first 48 bytes; its words 12 to 19 are kept by the sensor.
void dispatchCamera(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint8_t *p = psEntry->pu8Data;
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    ConvertCameraConfig(psHandle, &psHandle->sCamera, p, LT_WIRE_CAMERA, nullptr);
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    if (psHandle->au32Received[0] & LT_RECEIVED_FOCUS)
        psHandle->psStream->au32Focus[LT_getU32(p, 36) != 0 ? 0 : 1] = LT_getU32(p, 4);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    setCameraHeld(psHandle, 1);
}

void dispatchCameraWord(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint8_t *p = psEntry->pu8Data;
    LT_lock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    if (psEntry->u32PacketId == 43704) {
        psHandle->sCamera.u32LedPower1 = LT_getU32(p, 12);
        psHandle->sCamera.u32LedPower2 = LT_getU32(p, 28);
        psHandle->u32LedCard = LT_getU32(p, 0);
    } else if (psEntry->u32PacketId == 43718) {
        psHandle->sCamera.u32Iris = LT_getU32(p, 0);
    } else {
        psHandle->sCamera.u32Gain = LT_getU32(p, 0);
    }
    LT_unlock(psHandle, LT_MUTEX_CAMERA_CONFIG);
    setCameraHeld(psHandle, 0);
}

void dispatchVariable(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry, int *pbDone)
{
    const uint32_t u32Slot = LT_getU16(psEntry->pu8Data, 0);
    if (u32Slot >= LT_DATA_SLOTS)
        return;
    const uint32_t u32Size = psEntry->u32Size - 4;
    uint8_t *pu8Copy = static_cast<uint8_t *>(SA_Malloc(u32Size));
    if (!pu8Copy) {
        *pbDone = 0;
        return;
    }
    memcpy(pu8Copy, psEntry->pu8Data + 4, u32Size);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LT_DataBlock &sBlock = psHandle->asData[u32Slot];
    SA_Free(&sBlock.pu8Data);
    sBlock.pu8Data = pu8Copy;
    sBlock.u32Size = u32Size;
    psHandle->au32Received[0] |= LT_RECEIVED_EXTERNAL;
    deliverWords(psHandle, 1, 18, &u32Slot, 1);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

void dispatchSecondWord(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint8_t *p = psEntry->pu8Data;
    LT_Stream *psStream = psHandle->psStream;
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    if (psEntry->u32PacketId == 21869) {
        memcpy(psStream->au8RebootBlock, p, sizeof(psStream->au8RebootBlock));
        psHandle->au32Received[1] |= LT_RECEIVED_REBOOTS;
        deliverWords(psHandle, 1, 22, reinterpret_cast<const uint32_t *>(psStream->au8RebootBlock), 65);
    } else if (psEntry->u32PacketId == LT_FOURCC('R', 'E', 'L', 'G')) {
        psStream->u32Reliability = LT_getU32(p, 0);
        psHandle->au32Received[1] |= LT_RECEIVED_RELIABILITY;
        deliverWords(psHandle, 1, 23, &psStream->u32Reliability, 1);
    } else {
        psStream->u32PlateEnd = LT_getU32(p, 0);
        psHandle->au32Received[1] |= LT_RECEIVED_PLATE_END;
        deliverWords(psHandle, 1, 24, &psStream->u32PlateEnd, 1);
    }
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

void dispatchUnicast(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry, int *pbDone)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_THREAD_RECEIVE), 1);
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    if (LumatrekUpdateUnicastDiscoverAddresses(psHandle, psEntry->pu8Data, psEntry->u32Size / LT_WIRE_UNICAST_ENTRY,
                                               psEntry->u32Size, &sError)) {
        psHandle->au32Received[0] |= LT_RECEIVED_UNICAST;
        deliverCached(psHandle, findBlock(0, 10));
    } else {
        *pbDone = 0;
    }
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

void dispatchFirmwareDump(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry)
{
    const uint8_t *p = psEntry->pu8Data;
    const uint32_t u32Size = psEntry->u32Size;
    uint32_t u32Name = 0;
    while (u32Name < u32Size && p[u32Name] != 0)
        u32Name++;
    char aszName[256];
    LT_copyText(aszName, sizeof(aszName), p, u32Name);
    const uint32_t u32Data = u32Name < u32Size ? u32Size - u32Name - 1 : 0;
    LT_log(psHandle, LT_text(LT_TEXT_THREAD_RECEIVE), "FIRMWARE dump: <%s> len %u\n", aszName, u32Data);
    if (u32Data)
        LT_logHex(psHandle, LT_text(LT_TEXT_THREAD_RECEIVE), p + u32Name + 1, u32Data);
}

// Packets of a fixed size outside the table of blocks; 1 when the id was one of them.
int dispatchOther(LumatrekHandle *psHandle, const LT_PacketEntry *psEntry, int *pbDone)
{
    const uint32_t u32Id = psEntry->u32PacketId;
    const uint32_t u32Size = psEntry->u32Size;
    if (u32Id == 43735) {
        if (u32Size == 80)
            dispatchCamera(psHandle, psEntry);
    } else if (u32Id == 43704 || u32Id == 43718 || u32Id == 43719) {
        if (u32Size == (u32Id == 43704 ? 32u : 4u))
            dispatchCameraWord(psHandle, psEntry);
    } else if (u32Id == 21864) {
        if (u32Size >= 5)
            dispatchVariable(psHandle, psEntry, pbDone);
    } else if (u32Id == 21869 || u32Id == LT_FOURCC('R', 'E', 'L', 'G') || u32Id == LT_FOURCC('E', 'N', 'D', 'G')) {
        if (u32Size == (u32Id == 21869 ? 260u : 4u))
            dispatchSecondWord(psHandle, psEntry);
    } else if (u32Id == 26216) {
        if (u32Size % LT_WIRE_UNICAST_ENTRY == 0)
            dispatchUnicast(psHandle, psEntry, pbDone);
    } else if (u32Id == 32) {
        dispatchFirmwareDump(psHandle, psEntry);
    } else {
        return 0;
    }
    return 1;
}

void reportNoMemory(LumatrekHandle *psHandle)
{
    // The packet is lost; the stream goes on.
    ReportError(psHandle, LT_text(LT_TEXT_THREAD_RECEIVE), 1, LUMATREK_ERROR_NO_MEMORY, LT_text(LT_TEXT_NO_MEMORY),
                0);
}

} // namespace

extern "C" {

void LT_replayConfig(LumatrekHandle *psHandle, int bEx)
{
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    for (size_t i = 0; i < kReplayed; i++) {
        if (kBlocks[i].bEx == bEx && (psHandle->au32Received[0] & kBlocks[i].u32Bit))
            deliverCached(psHandle, &kBlocks[i]);
    }
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
}

int LT_dispatchEntry(LumatrekHandle *psHandle, LT_PacketEntry *psEntry)
{
    const uint32_t u32Id = psEntry->u32PacketId;
    const uint32_t u32Size = psEntry->u32Size;
    for (const ConfigPacket &sPacket : kConfigPackets) {
        if (sPacket.u32Id == u32Id) {
            if (sPacket.u32Size == u32Size)
                dispatchConfig(psHandle, sPacket, psEntry);
            return 1;
        }
    }
    const Payload sPayload = {psEntry->pu8Data, u32Size};
    int bDone = 1;
    if (dispatchEvent(psHandle, u32Id, sPayload, &bDone) || dispatchOther(psHandle, psEntry, &bDone)) {
        // handled
    } else if (const RecognitionKind *psKind = findRecognition(u32Id)) {
        bDone = dispatchRecognition(psHandle, *psKind, psEntry);
    } else if (u32Id == kTextPacket) {
        dispatchText(psHandle, psEntry);
    } else if (u32Id == kDescriptionPacket && u32Size == LT_WIRE_DESCRIPTION) {
        dispatchDescription(psHandle, psEntry);
    } else if (u32Id == kStatusPacket && u32Size == 4) {
        applyStatus(psHandle, LT_getU32(psEntry->pu8Data, 0), 1);
    } else if (u32Id == kEndOfConfig) {
        dispatchEnd(psHandle);
    } else if (u32Id == LT_FOURCC('K', 'G', 'V', 'X')) {
        dispatchSpeed(psHandle, psEntry);
    } else if (u32Id == LT_FOURCC('G', 'P', 'I', 'O') || u32Id == 26232) {
        dispatchInputs(psHandle, psEntry, u32Id != 26232);
    }
    if (!bDone)
        reportNoMemory(psHandle);
    return 1;
}

void ReceiveThread(LumatrekHandle *psHandle)
{
    LT_Stream *psStream = psHandle->psStream;
    while (LT_isRunning(psHandle)) {
        LT_PacketEntry *psEntry =
            static_cast<LT_PacketEntry *>(SA_ReadQueue(psStream->psNetQueue, LT_timing()->u32ReadSliceMs));
        if (!psEntry)
            continue;
        LT_dispatchEntry(psHandle, psEntry);
        SA_WritePool(psStream->psPool, psEntry);
    }
}

} // extern "C"
