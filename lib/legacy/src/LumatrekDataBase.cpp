/* The plate database kept on the sensor: adding and removing plates, listing them, and its
 * configuration. */
#include "Lumatrek_Internal.h"

#include <cstddef>
#include <cstring>

namespace {

const uint32_t kWireDataBaseConfig = 20;

int convertConfig(LumatrekHandle *, void *pRecord, const uint8_t *pu8Wire, uint32_t u32WireSize)
{
    return ConvertDataBaseConfig(static_cast<LumatrekDataBaseConfig *>(pRecord), pu8Wire, u32WireSize);
}

void packConfig(LumatrekHandle *, uint8_t *pu8Wire, const void *pRecord)
{
    const auto *psConfig = static_cast<const LumatrekDataBaseConfig *>(pRecord);
    LT_putU32(pu8Wire, 0, psConfig->u32Mode);
    LT_putU32(pu8Wire, 4, psConfig->u32RisingEdge);
    LT_putU32(pu8Wire, 8, psConfig->u32ImpulseDurationMs);
    pu8Wire[12] = psConfig->u8MatchTolerance;
}

const LT_StoredBlock kConfig = {0xAAE2,
                                kWireDataBaseConfig,
                                LT_RECEIVED_DATABASE,
                                offsetof(LumatrekHandle, sDataBase),
                                sizeof(LumatrekDataBaseConfig),
                                LT_MUTEX_CONFIG,
                                &convertConfig,
                                nullptr};
const LT_StoredBlock kConfigSet = {0xAAE1,
                                   kWireDataBaseConfig,
                                   LT_RECEIVED_DATABASE,
                                   offsetof(LumatrekHandle, sDataBase),
                                   sizeof(LumatrekDataBaseConfig),
                                   LT_MUTEX_CONFIG,
                                   nullptr,
                                   &packConfig};

int runAdd(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (psRequest->u32PayloadSize != LT_DATABASE_ENTRY)
        return LT_refuseArguments(psRequest);
    return LT_runPlain(psHandle, psLink, psRequest, 0xAADB);
}

int runRemove(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    if (psRequest->u32PayloadSize != LT_DATABASE_ENTRY)
        return LT_refuseArguments(psRequest);
    return LT_runPlain(psHandle, psLink, psRequest, 0xAADC);
}

int runUpdate(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runPlain(psHandle, psLink, psRequest, 0xAADE);
}

int runErase(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runPlain(psHandle, psLink, psRequest, 0xAADD);
}

int runSize(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    uint8_t au8Wire[4];
    const int iUsable = ExchangeCommandRead(psHandle, psLink, 0xAAE0, nullptr, 0, au8Wire, sizeof(au8Wire),
                                            LT_timing()->u32TransferTimeoutMs, &psRequest->i32Status);
    if (psRequest->i32Status == LT_STATUS_ACK) {
        const uint32_t u32Count = LT_getU32(au8Wire, 0);
        LT_replyBytes(psRequest, &u32Count, sizeof(u32Count));
    }
    return iUsable;
}

// The whole list into the reply, whose size says how many entries are awaited.
int runEnum(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    const uint32_t u32Size = psRequest->u32ReplySize;
    if (!psRequest->pReply || u32Size == 0 || u32Size % LT_DATABASE_ENTRY != 0)
        return LT_refuseArguments(psRequest);
    const uint64_t u64TimeoutMs = uint64_t(LT_timing()->u32TransferTimeoutMs) * (u32Size / LT_DATABASE_ENTRY);
    const uint32_t u32TimeoutMs = u64TimeoutMs >= SA_INFINITE ? SA_INFINITE - 1 : uint32_t(u64TimeoutMs);
    return ExchangeCommandRead(psHandle, psLink, 0xAADF, nullptr, 0, psRequest->pReply, u32Size, u32TimeoutMs,
                               &psRequest->i32Status);
}

int runGetConfig(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runStoredRead(psHandle, psLink, psRequest, &kConfig);
}

int runSetConfig(LumatrekHandle *psHandle, LT_Link *psLink, LumatrekCommandRequest *psRequest)
{
    return LT_runStoredWrite(psHandle, psLink, psRequest, &kConfigSet);
}

// The plate as the sensor takes it: its text and zero, zero-filled to the entry's size.
int32_t sendPlate(LumatrekHandle *psHandle, LT_TextId eFunction, uint32_t u32Command, const char *pcszPlate)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(eFunction), 1);
    if (!pcszPlate || strnlen(pcszPlate, LT_DATABASE_ENTRY) >= LT_DATABASE_ENTRY)
        return LT_rejectArgument(psHandle, &sError);
    char aszEntry[LT_DATABASE_ENTRY] = {};
    memcpy(aszEntry, pcszPlate, strlen(pcszPlate));
    return LT_send(psHandle, &sError, u32Command, aszEntry, sizeof(aszEntry), nullptr, 0);
}

int validConfig(const void *pRecord)
{
    const auto *psConfig = static_cast<const LumatrekDataBaseConfig *>(pRecord);
    return psConfig->u32Mode <= 2 && psConfig->u8MatchTolerance < 11;
}

const LT_Availability kDataBase = {
    4, 0, (1u << LUMATREK_SENSOR_ANPR) | (1u << LUMATREK_SENSOR_DGPR) | (1u << LUMATREK_SENSOR_SIGNATURE), 0,
    LT_NEEDS_NOTHING};

} // namespace

extern "C" {

const LT_Command g_asDataBaseCommands[] = {
    {LT_CMD_ADD_PLATE, 0, kDataBase, &runAdd},
    {LT_CMD_REMOVE_PLATE, 0, kDataBase, &runRemove},
    {LT_CMD_DATABASE_SIZE, 0, kDataBase, &runSize},
    {LT_CMD_ENUM_DATABASE, 0, kDataBase, &runEnum},
    {LT_CMD_UPDATE_DATABASE, 0, kDataBase, &runUpdate},
    {LT_CMD_ERASE_DATABASE, 0, kDataBase, &runErase},
    {LT_CMD_GET_DATABASE_CONFIG, 0, kDataBase, &runGetConfig},
    {LT_CMD_SET_DATABASE_CONFIG, 0, kDataBase, &runSetConfig},
    {0, 0, {0, 0, 0, 0, LT_NEEDS_NOTHING}, nullptr},
};

int32_t LumatrekAddToDataBase(LumatrekHandle *psHandle, const char *pcszPlate)
{
    return sendPlate(psHandle, LT_TEXT_FN_ADD_TO_DATA_BASE, LT_CMD_ADD_PLATE, pcszPlate);
}

int32_t LumatrekRemoveFromDataBase(LumatrekHandle *psHandle, const char *pcszPlate)
{
    return sendPlate(psHandle, LT_TEXT_FN_REMOVE_FROM_DATA_BASE, LT_CMD_REMOVE_PLATE, pcszPlate);
}

int32_t LumatrekUpdateDataBase(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_UPDATE_DATA_BASE, LT_CMD_UPDATE_DATABASE);
}

int32_t LumatrekEraseDataBase(LumatrekHandle *psHandle)
{
    return LT_sendPlain(psHandle, LT_TEXT_FN_ERASE_DATA_BASE, LT_CMD_ERASE_DATABASE);
}

int32_t LumatrekGetDataBaseSize(LumatrekHandle *psHandle, uint32_t *pu32Count)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_GET_DATA_BASE_SIZE), 1);
    if (!pu32Count)
        return LT_rejectArgument(psHandle, &sError);
    return LT_send(psHandle, &sError, LT_CMD_DATABASE_SIZE, nullptr, 0, pu32Count, sizeof(*pu32Count));
}

int32_t LumatrekEnumDataBase(LumatrekHandle *psHandle, LumatrekDataBaseCallback rCallback, void *pUser)
{
    const LT_CallHold sHold(psHandle);
    LumatrekErrorInfo sError;
    LT_initError(&sError, LT_text(LT_TEXT_FN_ENUM_DATA_BASE), 1);
    if (!rCallback)
        return LT_rejectArgument(psHandle, &sError);
    uint32_t u32Count = 0;
    const int32_t i32Size = LumatrekGetDataBaseSize(psHandle, &u32Count);
    if (i32Size != 0)
        return i32Size;
    if (u32Count == 0)
        return LT_STATUS_EMPTY;
    // The count comes from the sensor: a list beyond any real database is refused, not allocated.
    if (u32Count > LT_MAX_DATABASE_ENTRIES) {
        CommandStatusToError(&sError, LT_STATUS_INVALIDANSWER, LT_DEFAULT_COMMAND_PORT);
        return LT_finishCall(psHandle, &sError, LT_STATUS_INVALIDANSWER);
    }
    const size_t szSize = size_t(u32Count) * LT_DATABASE_ENTRY;
    uint8_t *pu8List = static_cast<uint8_t *>(SA_Malloc(uint32_t(szSize)));
    if (!pu8List) {
        LT_setError(&sError, LUMATREK_ERROR_NO_MEMORY, LT_TEXT_NO_MEMORY, 0);
        return LT_finishCall(psHandle, &sError, -1);
    }
    const int32_t i32Result =
        SendCommand(psHandle, &sError, LT_CMD_ENUM_DATABASE, 0, 1, 0, nullptr, uint32_t(szSize), pu8List);
    for (uint32_t i = 0; i32Result == 0 && i < u32Count; i++) {
        char aszPlate[LT_DATABASE_ENTRY + 1];
        memcpy(aszPlate, pu8List + size_t(i) * LT_DATABASE_ENTRY, LT_DATABASE_ENTRY);
        aszPlate[LT_DATABASE_ENTRY] = '\0';
        rCallback(psHandle, i, aszPlate, pUser);
    }
    SA_Free(&pu8List);
    return LT_finishCall(psHandle, &sError, i32Result);
}

int32_t LumatrekGetDataBaseConfig(LumatrekHandle *psHandle, LumatrekDataBaseConfig *psConfig)
{
    return LT_readBlock(psHandle, LT_TEXT_FN_GET_DATA_BASE_CONFIG, LT_CMD_GET_DATABASE_CONFIG, &kConfig, psConfig);
}

int32_t LumatrekSetDataBaseConfig(LumatrekHandle *psHandle, const LumatrekDataBaseConfig *psConfig)
{
    return LT_writeRecord(psHandle, LT_TEXT_FN_SET_DATA_BASE_CONFIG, LT_CMD_SET_DATABASE_CONFIG, psConfig,
                          sizeof(*psConfig), &validConfig);
}

} // extern "C"
