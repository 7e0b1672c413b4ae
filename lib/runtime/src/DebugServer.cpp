/* The debug name service: one thread answering, on its TCP port, which port a named
 * debug channel uses ("List" names them all). */
#include "DebugInternal.h"

#include <new>
#include <string.h>

/* A request is a name of at most 19 characters and its terminating zero. */
static const uint32_t kMaxRequest = 20;
static const uint32_t kAnswerTimeoutMs = 30000;
static const uint32_t kRequestTimeoutMs = 500;

static SA_DebugData psRunningService = nullptr;

/* Collects the request up to its zero byte: 0 with the name, -1 for no, broken or too long a request. */
static int ReadRequest(SA_Socket psConnection, char *pszName)
{
    uint32_t u32Total = 0;
    while (memchr(pszName, 0, u32Total) == nullptr) {
        uint32_t u32Count = 0;
        if (SA_WaitForDataOnSocket(psConnection, &u32Count, kRequestTimeoutMs) != SA_OK || u32Count == 0)
            return SA_ERROR;
        if (u32Count > kMaxRequest - u32Total)
            return SA_ERROR;
        if (SA_ReadSocketLength(psConnection, pszName + u32Total, u32Count, kRequestTimeoutMs) != SA_OK)
            return SA_ERROR;
        u32Total += u32Count;
    }
    return SA_OK;
}

static void WriteList(SA_DebugData psDebugData, SA_Socket psConnection)
{
    SA_LockMutex(psDebugData->hChannelListMutex);
    int iResult = SA_OK;
    for (SA_DebugChannel psChannel = psDebugData->psChannels; psChannel != nullptr && iResult == SA_OK;
         psChannel = psChannel->psNext)
        iResult = SA_WriteSocketLength(psConnection, psChannel->pszName,
                                       static_cast<uint32_t>(strlen(psChannel->pszName)) + 1, kAnswerTimeoutMs);
    if (iResult == SA_OK) {
        const char cEnd = '\0';
        SA_WriteSocketLength(psConnection, &cEnd, 1, kAnswerTimeoutMs);
    }
    SA_UnlockMutex(psDebugData->hChannelListMutex);
}

static void WritePort(SA_DebugData psDebugData, SA_Socket psConnection, const char *pcszName)
{
    SA_LockMutex(psDebugData->hChannelListMutex);
    SA_DebugChannel psChannel = LocateDebugChannel(psDebugData, pcszName);
    uint32_t u32Port = static_cast<uint32_t>(psChannel != nullptr ? psChannel->i32Port : -1);
    uint8_t au8Port[4] = {static_cast<uint8_t>(u32Port), static_cast<uint8_t>(u32Port >> 8),
                          static_cast<uint8_t>(u32Port >> 16), static_cast<uint8_t>(u32Port >> 24)};
    SA_WriteSocketLength(psConnection, au8Port, sizeof(au8Port), kAnswerTimeoutMs);
    SA_UnlockMutex(psDebugData->hChannelListMutex);
}

static void ServeRequest(SA_DebugData psDebugData, SA_Socket psConnection)
{
    char aszName[kMaxRequest] = {0};
    if (ReadRequest(psConnection, aszName) != SA_OK)
        return;
    if (CmpForEqual(aszName, "List"))
        WriteList(psDebugData, psConnection);
    else
        WritePort(psDebugData, psConnection, aszName);
}

static void DebugConnexionServerThread(void *pArgument)
{
    SA_DebugData psDebugData = static_cast<SA_DebugData>(pArgument);
    const uint32_t u32BufferSize = 1024;
    SA_Socket psListening = nullptr;
    if (SA_ServerInitializeConnectionTCP(static_cast<uint16_t>(psDebugData->i32Port), &psListening, &u32BufferSize,
                                         &u32BufferSize) != SA_OK)
        return;
    while (psDebugData->bRunning) {
        SA_Socket psConnection = nullptr;
        int iResult = SA_WaitConnectionTCP(psListening, 16, &psConnection, nullptr, 1000);
        if (iResult == SA_ERROR)
            break;
        if (iResult == SA_OK) {
            ServeRequest(psDebugData, psConnection);
            SA_CloseSocket(&psConnection);
        }
    }
    SA_CloseSocket(&psListening);
}

static bool IsPort(int32_t i32Port) { return i32Port >= 0 && i32Port <= 65535; }

extern "C" {

SA_DebugData DebugConnectionServerInit(int32_t i32Port, int32_t i32FirstChannelPort, int32_t i32LastChannelPort)
{
    if (!IsPort(i32Port))
        return nullptr;
    void *pRecord = SA_Calloc(1, sizeof(struct SA_DebugDataRec));
    if (pRecord == nullptr)
        return nullptr;
    SA_DebugData psDebugData = new (pRecord) SA_DebugDataRec();
    psDebugData->i32Port = i32Port;
    psDebugData->i32FirstChannelPort = i32FirstChannelPort;
    psDebugData->i32LastChannelPort = i32LastChannelPort;
    psDebugData->i32NextChannelPort = i32FirstChannelPort;
    psDebugData->bRunning = 1;
    if (SA_CreateMutex(&psDebugData->hChannelListMutex) != SA_OK ||
        SA_CreateThread(&psDebugData->psThread, DebugConnexionServerThread, psDebugData) != SA_OK) {
        psDebugData->bRunning = 0;
        DebugConnectionServerRelease(&psDebugData);
        return nullptr;
    }
    return psDebugData;
}

void DebugConnectionServerRelease(SA_DebugData *ppsDebugData)
{
    if (ppsDebugData == nullptr || *ppsDebugData == nullptr)
        return;
    SA_DebugData psDebugData = *ppsDebugData;
    psDebugData->bRunning = 0;
    if (psDebugData->psThread != nullptr) {
        SA_WaitThreadTimeout(psDebugData->psThread, SA_INFINITE);
        SA_ExitThread(&psDebugData->psThread);
    }
    if (psDebugData->hChannelListMutex != nullptr) {
        SA_LockMutex(psDebugData->hChannelListMutex);
        for (SA_DebugChannel psChannel = psDebugData->psChannels; psChannel != nullptr; psChannel = psChannel->psNext)
            psChannel->bRunning = 0;
        SA_UnlockMutex(psDebugData->hChannelListMutex);
    }
    while (psDebugData->psChannels != nullptr) {
        SA_DebugChannel psChannel = psDebugData->psChannels;
        DestroyDebugChannel(psDebugData, &psChannel);
    }
    SA_DestroyMutex(&psDebugData->hChannelListMutex);
    psDebugData->~SA_DebugDataRec();
    SA_Free(ppsDebugData);
}

int SA_StartDebugServer(int32_t i32Port, int32_t i32FirstChannelPort, int32_t i32LastChannelPort)
{
    SA_ASSERT(!psRunningService);
    if (psRunningService != nullptr)
        return SA_ERROR;
    psRunningService = DebugConnectionServerInit(i32Port, i32FirstChannelPort, i32LastChannelPort);
    return psRunningService != nullptr ? SA_OK : SA_ERROR;
}

void SA_StopDebugServer(void) { DebugConnectionServerRelease(&psRunningService); }

} /* extern "C" */
