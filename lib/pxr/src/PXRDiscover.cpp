/* Passive discovery of sensors: one thread per listener receives the UDP announcements,
 * keeps one discover message per sensor heard and forgets sensors gone silent. */
#include "PXR_Internal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const char kAlreadyStarted[] = "Already started";
const char kNoMemory[] = "Memory allocation failed";
const char kThreadName[] = "&PXRDiscover_taskDiscover";
const uint32_t kThreadStackSize = 50000;
const char kDiscover[] = "discover";
const char kUniqueKey[] = "uniqueKey";
const char kIpAddress[] = "ipAddress";

void destroyEntry(PXRDiscover_Entry *psEntry)
{
    PXRMsgDestroy(psEntry->psMsg);
    SA_Free(&psEntry);
}

PXRDiscover_Entry *newEntry(const char *pcszKey)
{
    PXRDiscover_Entry *psEntry = static_cast<PXRDiscover_Entry *>(SA_Calloc(1, sizeof(PXRDiscover_Entry)));
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate(kDiscover);
    if (psEntry && psMsg && psRoot && PXRMsgElementSetAttribute(psRoot, kUniqueKey, pcszKey) &&
        PXRMsgSetChild(psMsg, psRoot)) {
        psEntry->psMsg = psMsg;
        return psEntry;
    }
    PXRMsgElementDestroy(psRoot);
    PXRMsgDestroy(psMsg);
    SA_Free(&psEntry);
    return nullptr;
}

PXRDiscover_Entry *entryAt(PXRListItem *psItem)
{
    return static_cast<PXRDiscover_Entry *>(psItem->pData);
}

// Under the mutex. Measured as elapsed ticks, so the tick's wrap does not matter.
void dropExpired(PXRDiscover *psDiscover)
{
    uint32_t u32Now = SA_GetTickMs();
    PXRListItem *psItem = PXRListFirstItem(&psDiscover->sEntries);
    while (psItem) {
        PXRListItem *psNext = PXRListNextItem(psItem);
        if (SA_ElapsedTime(entryAt(psItem)->u32LastHeardMs, u32Now) > psDiscover->u32ExpiryMs)
            destroyEntry(static_cast<PXRDiscover_Entry *>(PXRListTakeItem(&psDiscover->sEntries, psItem)));
        psItem = psNext;
    }
}

void dropAll(PXRDiscover *psDiscover)
{
    while (PXRListItem *psItem = PXRListFirstItem(&psDiscover->sEntries))
        destroyEntry(static_cast<PXRDiscover_Entry *>(PXRListTakeItem(&psDiscover->sEntries, psItem)));
}

void dropped(const char *pcszSender, const char *pcszReason)
{
    PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING, "Datagram from %s dropped : %s", pcszSender,
              pcszReason);
}

uint32_t portOf(PXRMsgElement *psRoot, const char *pcszName)
{
    const char *pcszValue = PXRMsgElementAttributeValue(psRoot, pcszName);
    return pcszValue ? static_cast<uint32_t>(atoi(pcszValue)) : 0;
}

// A current sensor's announcement: one whole message in the wire form.
void handleAnnouncement(PXRDiscover *psDiscover, const uint8_t *pu8Data, uint32_t u32Size, const char *pcszSender)
{
    PXRMsg *psAnnouncement = PXRMsgCreate();
    if (!psAnnouncement)
        return;
    int bImported = PXRMsgImportFromBinaryArray(psAnnouncement, pu8Data, u32Size);
    PXRMsgElement *psRoot = PXRMsgChild(psAnnouncement);
    if (!bImported || !psRoot) {
        SA_ASSERT(bImported);
        dropped(pcszSender, bImported ? "Announcement without element" : PXRGetLastError(psAnnouncement));
        PXRMsgDestroy(psAnnouncement);
        return;
    }
    char aszKey[PXR_DISCOVER_KEY_SIZE];
    snprintf(aszKey, sizeof(aszKey), "%s:%u/%u", pcszSender, portOf(psRoot, "port"), portOf(psRoot, "portSSL"));
    SA_LockMutex(psDiscover->hMutex);
    PXRDiscover_Entry *psEntry = PXRDiscover_findOrAddSensor(psDiscover, aszKey);
    if (psEntry) {
        PXRMsgElementMerge(PXRMsgChild(psEntry->psMsg), psRoot, nullptr, 1);
        PXRDiscover_setIdentity(psEntry, pcszSender, aszKey);
    }
    SA_UnlockMutex(psDiscover->hMutex);
    PXRMsgDestroy(psAnnouncement);
}

// Until a socket is open or the listener is stopped; null when stopped.
SA_Socket openSocket(PXRDiscover *psDiscover)
{
    const uint32_t u32BufferSize = PXR_DISCOVER_BUFFER_SIZE;
    for (int bFailedBefore = 0; psDiscover->bRunning; bFailedBefore = 1) {
        SA_Socket psSocket = nullptr;
        if (SA_CreateUnconnectedSocketUDPReuseAddr(&psSocket, psDiscover->u16Port, nullptr, &u32BufferSize,
                                                   nullptr) == SA_OK) {
            PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_DETAIL, "Listening on UDP port %u",
                      static_cast<unsigned>(psDiscover->u16Port));
            return psSocket;
        }
        // Once per series of attempts, not every half second.
        if (!bFailedBefore)
            PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING, "Unable to listen on UDP port %u, trying again",
                      static_cast<unsigned>(psDiscover->u16Port));
        SA_Sleep(PXR_DISCOVER_RETRY_MS);
    }
    return nullptr;
}

// The runtime reports an empty or too large datagram as a failed receive; the socket is kept
// when it still works and the failures do not repeat, so that such a datagram costs no more
// than itself.
int socketStillUsable(SA_Socket psSocket, uint32_t u32Failures)
{
    if (u32Failures >= PXR_DISCOVER_RECEIVE_FAILURES || SA_SelectSocket(psSocket, 0, 1, 0) == SA_ERROR)
        return 0;
    PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING, "Datagram dropped : empty or above %u bytes",
              static_cast<unsigned>(PXR_DISCOVER_BUFFER_SIZE));
    return 1;
}

// Receives until the listener is stopped or the socket fails.
void listenOn(PXRDiscover *psDiscover, SA_Socket psSocket, uint8_t *pu8Buffer)
{
    uint32_t u32Failures = 0;
    while (psDiscover->bRunning) {
        SA_LockMutex(psDiscover->hMutex);
        dropExpired(psDiscover);
        SA_UnlockMutex(psDiscover->hMutex);
        // The whole buffer is offered, so that a datagram above the accepted size is told
        // apart from a receive error and dropped without closing the socket.
        uint32_t u32Size = PXR_DISCOVER_BUFFER_SIZE;
        char aszSender[16] = "";
        uint16_t u16SenderPort = 0;
        int iResult = SA_ReadUnconnectedSocketUDP(psSocket, pu8Buffer, &u32Size, aszSender, &u16SenderPort,
                                                  PXR_DISCOVER_RECEIVE_TIMEOUT_MS);
        if (iResult == SA_TIMEOUT)
            continue;
        if (iResult != SA_OK && socketStillUsable(psSocket, ++u32Failures))
            continue;
        if (iResult != SA_OK) {
            PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_DETAIL, "Receive failed, listening socket reopened");
            return;
        }
        u32Failures = 0;
        PXRDiscover_handleDatagram(psDiscover, pu8Buffer, u32Size, aszSender);
    }
}

// Lets the thread end; waits beyond the usual time rather than free what it still uses.
void joinThread(PXRDiscover *psDiscover)
{
    psDiscover->bRunning = 0;
    if (SA_WaitThreadTimeout(psDiscover->psThread, psDiscover->u32StopWaitMs) != SA_OK) {
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_WARNING,
                  "Listening thread still running after %u ms, waiting for its end", psDiscover->u32StopWaitMs);
        SA_WaitThreadTimeout(psDiscover->psThread, SA_INFINITE);
    }
    SA_ExitThread(&psDiscover->psThread);
}

} // namespace

extern "C" {

PXRDiscover_Entry *PXRDiscover_findOrAddSensor(PXRDiscover *psDiscover, const char *pcszKey)
{
    for (PXRListItem *psItem = PXRListFirstItem(&psDiscover->sEntries); psItem; psItem = PXRListNextItem(psItem)) {
        PXRDiscover_Entry *psEntry = entryAt(psItem);
        if (PXRMsgStringEqual(PXRMsgElementAttributeValue(PXRMsgChild(psEntry->psMsg), kUniqueKey), pcszKey)) {
            psEntry->u32LastHeardMs = SA_GetTickMs();
            return psEntry;
        }
    }
    PXRDiscover_Entry *psEntry = newEntry(pcszKey);
    if (!psEntry || !PXRListPushBack(&psDiscover->sEntries, psEntry)) {
        if (psEntry)
            destroyEntry(psEntry);
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_ERROR, "Sensor %s not kept : %s", pcszKey, kNoMemory);
        return nullptr;
    }
    psEntry->u32LastHeardMs = SA_GetTickMs();
    return psEntry;
}

void PXRDiscover_setIdentity(PXRDiscover_Entry *psEntry, const char *pcszSender, const char *pcszKey)
{
    PXRMsgElement *psRoot = PXRMsgChild(psEntry->psMsg);
    PXRMsgElementSetAttribute(psRoot, kIpAddress, pcszSender);
    PXRMsgElementSetAttribute(psRoot, kUniqueKey, pcszKey);
}

void PXRDiscover_handleDatagram(PXRDiscover *psDiscover, const uint8_t *pu8Data, uint32_t u32Size,
                                const char *pcszSender)
{
    if (u32Size > PXR_DISCOVER_MAX_DATAGRAM) {
        dropped(pcszSender, "Datagram too large");
        return;
    }
    if (u32Size < 2) {
        dropped(pcszSender, "Datagram too short");
        return;
    }
    if (pu8Data[0] == 'M' && pu8Data[1] == 'I') {
        handleAnnouncement(psDiscover, pu8Data, u32Size, pcszSender);
        return;
    }
    if (!PXRDiscover_parseKGVDatagram(psDiscover, pu8Data, u32Size, pcszSender))
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_DEBUG, "Datagram from %s ignored : unknown kind %02X %02X",
                  pcszSender, pu8Data[0], pu8Data[1]);
}

void PXRDiscover_taskDiscover(void *pArgument)
{
    PXRDiscover *psDiscover = static_cast<PXRDiscover *>(pArgument);
    uint8_t *pu8Buffer = static_cast<uint8_t *>(SA_Malloc(PXR_DISCOVER_BUFFER_SIZE));
    if (!pu8Buffer) {
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_ERROR, "Listening thread not run : %s", kNoMemory);
        return;
    }
    while (psDiscover->bRunning) {
        SA_Socket psSocket = openSocket(psDiscover);
        if (!psSocket)
            break;
        listenOn(psDiscover, psSocket, pu8Buffer);
        SA_CloseSocket(&psSocket);
    }
    SA_Free(&pu8Buffer);
}

PXRDiscover *PXRDiscoverCreate(void)
{
    if (SA_Init(0, 0, -1) != SA_OK)
        return nullptr;
    PXRDiscover *psDiscover = static_cast<PXRDiscover *>(SA_Calloc(1, sizeof(PXRDiscover)));
    if (!psDiscover || SA_CreateMutex(&psDiscover->hMutex) != SA_OK) {
        SA_Free(&psDiscover);
        SA_Release();
        return nullptr;
    }
    new (&psDiscover->bRunning) std::atomic<int32_t>(0);
    psDiscover->u16Port = PXR_DISCOVER_PORT;
    psDiscover->u32ExpiryMs = PXR_DISCOVER_EXPIRY_MS;
    psDiscover->u32StopWaitMs = PXR_DISCOVER_STOP_WAIT_MS;
    return psDiscover;
}

int PXRDiscoverStart(PXRDiscover *psDiscover)
{
    static const char kFunction[] = "PXRDiscoverStart";
    if (!psDiscover)
        return 0;
    PXR_clearLastError(psDiscover);
    if (psDiscover->psThread) {
        PXR_setLastError(psDiscover, "%s", kAlreadyStarted);
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_ERROR, "%s error : %s", kFunction, kAlreadyStarted);
        return 0;
    }
    psDiscover->bRunning = 1;
    if (SA_CreateThreadExInfo(&psDiscover->psThread, &PXRDiscover_taskDiscover, psDiscover, kThreadStackSize, 0,
                              __FILE__, __func__, static_cast<uint32_t>(__LINE__), kThreadName) != SA_OK) {
        psDiscover->bRunning = 0;
        psDiscover->psThread = nullptr;
        PXR_setLastError(psDiscover, "Unable to create thread");
        PXR_trace(nullptr, PXR_MODULE_DISCOVER, PXR_LEVEL_ERROR, "%s error : Unable to create thread", kFunction);
        return 0;
    }
    return 1;
}

int PXRDiscoverStop(PXRDiscover *psDiscover)
{
    if (!psDiscover)
        return 0;
    PXR_clearLastError(psDiscover);
    if (psDiscover->psThread)
        joinThread(psDiscover);
    return 1;
}

int PXRDiscoverGetDiscovered(PXRDiscover *psDiscover, PXRMsg **ppsMsgs, uint32_t *pu32Count)
{
    if (!psDiscover || !pu32Count)
        return 0;
    PXR_clearLastError(psDiscover);
    int iResult = 1;
    SA_LockMutex(psDiscover->hMutex);
    uint32_t u32Entries = PXRListSize(&psDiscover->sEntries);
    if (!ppsMsgs || *pu32Count > u32Entries)
        *pu32Count = u32Entries;
    PXRListItem *psItem = PXRListFirstItem(&psDiscover->sEntries);
    for (uint32_t u32Index = 0; ppsMsgs && u32Index < *pu32Count; ++u32Index, psItem = PXRListNextItem(psItem)) {
        ppsMsgs[u32Index] = PXRMsgCopy(entryAt(psItem)->psMsg);
        if (!ppsMsgs[u32Index]) {
            // The caller gets all the copies or none.
            while (u32Index > 0)
                PXRMsgDestroy(ppsMsgs[--u32Index]);
            *pu32Count = 0;
            PXR_setLastError(psDiscover, "%s", kNoMemory);
            iResult = 0;
        }
    }
    SA_UnlockMutex(psDiscover->hMutex);
    return iResult;
}

void PXRDiscoverDestroy(PXRDiscover *psDiscover)
{
    if (!psDiscover)
        return;
    PXRDiscoverStop(psDiscover);
    dropAll(psDiscover);
    SA_DestroyMutex(&psDiscover->hMutex);
    psDiscover->bRunning.~atomic();
    SA_Free(&psDiscover);
    SA_Release();
}

} // extern "C"
