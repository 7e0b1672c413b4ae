// libFuzzer target of the legacy command connection: any bytes, taken from a buffer in place of
// the sensor, answer the start-up reads and then the reading commands (database listing,
// subscriptions, serial reads, cached blocks); never a crash, a leak or an unbounded allocation.
#include "Lumatrek_Internal.h"

#include <cstring>
#include <vector>

namespace {

const uint32_t kSerialLength = 16;

struct Runtime {
    Runtime()
    {
        SA_Init(0, 0, -1);
        LumatrekSetLogFile(nullptr, 0);
    }
};

// Every command may run whatever the start-up read: a recent sensor with a camera and LEDs.
void makeEverythingAvailable(LumatrekHandle *psHandle)
{
    psHandle->sVersion.i16ProtocolMajor = 9;
    psHandle->sVersion.i16ProtocolMinor = 9;
    psHandle->sConfig.u32SensorType = LUMATREK_SENSOR_ANPR;
    psHandle->sConfig.u32CameraWord = 0x05200435;
    LT_resetConnectionState(psHandle);
}

int32_t run(LumatrekHandle *psHandle, LT_Link *psLink, uint32_t u32Command, const void *pPayload,
            uint32_t u32PayloadSize, void *pReply, uint32_t u32ReplySize)
{
    LumatrekErrorInfo sError;
    LT_initError(&sError, "fuzz", 1);
    LumatrekCommandRequest sRequest;
    InitCommandRequest(&sRequest, &sError, u32Command, 0, pPayload, u32PayloadSize, pReply, u32ReplySize);
    LT_runRequest(psHandle, psLink, &sRequest);
    return sRequest.i32Status;
}

// The database as the listing function reads it: the count, then that many entries.
void listDataBase(LumatrekHandle *psHandle, LT_Link *psLink)
{
    uint32_t u32Count = 0;
    if (run(psHandle, psLink, LT_CMD_DATABASE_SIZE, nullptr, 0, &u32Count, sizeof(u32Count)) != 0 ||
        u32Count == 0 || u32Count > LT_MAX_DATABASE_ENTRIES)
        return;
    std::vector<uint8_t> list(size_t(u32Count) * LT_DATABASE_ENTRY);
    run(psHandle, psLink, LT_CMD_ENUM_DATABASE, nullptr, 0, list.data(), uint32_t(list.size()));
}

void readSubscriptions(LumatrekHandle *psHandle, LT_Link *psLink)
{
    LumatrekDiscoverAddress asList[8];
    LT_UnicastReply sReply = {8, asList};
    run(psHandle, psLink, LT_CMD_GET_UNICAST, nullptr, 0, &sReply, sizeof(sReply));
}

void readSerial(LumatrekHandle *psHandle, LT_Link *psLink)
{
    SetConnectionState(psHandle, LT_CONDITION_RS232_LOCKED, LUMATREK_STATE_RS232_LOCKED);
    uint8_t au8Buffer[256];
    const uint32_t au32Size[2] = {kSerialLength, 10};
    run(psHandle, psLink, LT_CMD_READ_RS232_SIZE, au32Size, sizeof(au32Size), au8Buffer, sizeof(au8Buffer));
    const uint8_t au8Terminator[5] = {'\n', 10, 0, 0, 0};
    run(psHandle, psLink, LT_CMD_READ_RS232_TERMINATOR, au8Terminator, sizeof(au8Terminator), au8Buffer,
        sizeof(au8Buffer));
    SetConnectionState(psHandle, LT_CONDITION_RS232_LOCKED, 0);
}

// The reads answered from the handle once held, asked of the sensor here.
void readBlocks(LumatrekHandle *psHandle, LT_Link *psLink)
{
    const uint32_t au32Commands[] = {LT_CMD_GET_STATUS,        LT_CMD_GET_DATABASE_CONFIG, LT_CMD_GET_REMOTE_OCR,
                                     LT_CMD_GET_REMOTE_ENSLAVE, LT_CMD_GET_MASTER,          LT_CMD_GET_SPEED,
                                     LT_CMD_GET_AREA,           LT_CMD_GET_LED_TRIGGER,     LT_CMD_GET_FOCUS_VALUES,
                                     LT_CMD_GET_BRACKETING,     LT_CMD_GET_IO_STATE};
    for (uint32_t u32Command : au32Commands) {
        uint8_t au8Reply[128];
        run(psHandle, psLink, u32Command, nullptr, 0, au8Reply, sizeof(au8Reply));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pu8Data, size_t szSize)
{
    static Runtime sRuntime;
    if (szSize > UINT32_MAX)
        return 0;
    LumatrekErrorInfo sError;
    LT_initError(&sError, "fuzz", 1);
    LumatrekHandle *psHandle =
        LumatrekCreateInternal("127.0.0.1:0,0,0", LT_CREATE_STREAM, nullptr, nullptr, nullptr, nullptr, &sError);
    if (!psHandle)
        return 0;
    LT_Link sLink = {nullptr, pu8Data, uint32_t(szSize), 0};
    LT_lock(psHandle, LT_MUTEX_CONFIG);
    LumatrekGetInternalStatus(psHandle, &sLink);
    LT_unlock(psHandle, LT_MUTEX_CONFIG);
    makeEverythingAvailable(psHandle);
    listDataBase(psHandle, &sLink);
    readSubscriptions(psHandle, &sLink);
    readSerial(psHandle, &sLink);
    readBlocks(psHandle, &sLink);
    LumatrekDestroy(&psHandle);
    return 0;
}
