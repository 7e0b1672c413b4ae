/* Request/reply wait queues: a client hands a request record to a server thread and
 * waits for its reply. Lock order everywhere: queue mutex, then an item mutex. */
#include <atomic>

#include "SA_Internal.h"
#include "WaitQueueInternal.h"

struct SA_WaitQueueItemRec {
    SA_WaitQueueData psQueue;
    SA_Mutex hMutex;        /* held by the server from taking the request to its reply */
    SA_Event hReplyEvent;
    void *pRequest;
    int32_t bTaken;
    SA_WaitQueueItemRec *psNewer;
    SA_WaitQueueItemRec *psOlder; /* also the free-list link */
};

struct SA_WaitQueueDataRec {
    SA_Mutex hMutex;
    SA_Event hNewRequest;
    SA_WaitQueueItemRec *psNewest;
    SA_WaitQueueItemRec *psOldest;
    SA_WaitQueueItemRec *psFree;
    SA_WaitQueueItemRec *pasItems; /* every item, pending or free, in one block */
    uint32_t u32Size;
};

namespace {

std::atomic<SA_WaitQueueSentHook> g_rSentHook{nullptr};

void pushFree(SA_WaitQueueData psQueue, SA_WaitQueueItemRec *psItem)
{
    psItem->psNewer = nullptr;
    psItem->psOlder = psQueue->psFree;
    psQueue->psFree = psItem;
}

SA_WaitQueueItemRec *popFree(SA_WaitQueueData psQueue)
{
    SA_WaitQueueItemRec *psItem = psQueue->psFree;
    if (psItem != nullptr)
        psQueue->psFree = psItem->psOlder;
    return psItem;
}

void linkNewest(SA_WaitQueueData psQueue, SA_WaitQueueItemRec *psItem)
{
    psItem->psNewer = nullptr;
    psItem->psOlder = psQueue->psNewest;
    if (psQueue->psNewest != nullptr)
        psQueue->psNewest->psNewer = psItem;
    else
        psQueue->psOldest = psItem;
    psQueue->psNewest = psItem;
}

void unlinkPending(SA_WaitQueueData psQueue, SA_WaitQueueItemRec *psItem)
{
    if (psItem->psNewer != nullptr)
        psItem->psNewer->psOlder = psItem->psOlder;
    else
        psQueue->psNewest = psItem->psOlder;
    if (psItem->psOlder != nullptr)
        psItem->psOlder->psNewer = psItem->psNewer;
    else
        psQueue->psOldest = psItem->psNewer;
}

void destroyItemObjects(SA_WaitQueueItemRec *psItem)
{
    SA_DestroyEvent(&psItem->hReplyEvent);
    SA_DestroyMutex(&psItem->hMutex);
}

/* Under the queue mutex: a free item made ready for a send and linked as the newest
 * pending request, or null. */
SA_WaitQueueItemRec *enqueueRequest(SA_WaitQueueData psQueue, void *pRequest)
{
    SA_WaitQueueItemRec *psItem = popFree(psQueue);
    if (psItem == nullptr)
        return nullptr;
    if (SA_CreateMutex(&psItem->hMutex) != SA_OK || SA_CreateEvent(&psItem->hReplyEvent) != SA_OK) {
        destroyItemObjects(psItem);
        pushFree(psQueue, psItem);
        return nullptr;
    }
    psItem->bTaken = 0;
    psItem->pRequest = pRequest;
    linkNewest(psQueue, psItem);
    return psItem;
}

/* Under the queue mutex: the oldest request no server has taken, now taken, or null. */
SA_WaitQueueItemRec *takeOldest(SA_WaitQueueData psQueue)
{
    for (SA_WaitQueueItemRec *psItem = psQueue->psOldest; psItem != nullptr; psItem = psItem->psNewer) {
        if (psItem->bTaken)
            continue;
        if (SA_LockMutex(psItem->hMutex) != SA_OK)
            return nullptr;
        psItem->bTaken = 1;
        return psItem;
    }
    return nullptr;
}

/* Client side after its wait: unlinks the item and frees it for the next send. A server
 * still working on the request holds the item mutex, so this waits for its reply and the
 * request record may live on the client's stack. Returns the send's result, which becomes
 * 0 when the reply came between the time-out and these locks. */
int withdrawRequest(SA_WaitQueueData psQueue, SA_WaitQueueItemRec *psItem, int iResult)
{
    int iQueueLocked = SA_LockMutex(psQueue->hMutex);
    SA_ASSERT(iQueueLocked == SA_OK);
    int iItemLocked = SA_LockMutex(psItem->hMutex);
    if (iResult == SA_TIMEOUT && SA_WaitEventTimeout(psItem->hReplyEvent, 0) == SA_OK)
        iResult = SA_OK;
    unlinkPending(psQueue, psItem);
    if (iItemLocked == SA_OK)
        SA_UnlockMutex(psItem->hMutex);
    destroyItemObjects(psItem);
    pushFree(psQueue, psItem);
    if (iQueueLocked == SA_OK)
        SA_UnlockMutex(psQueue->hMutex);
    return iResult;
}

}  // namespace

extern "C" {

void SA_SetWaitQueueSentHookForTest(SA_WaitQueueSentHook rHook)
{
    g_rSentHook.store(rHook);
}

int SA_CreateWaitQueueInfo(SA_WaitQueueData *ppsQueue, uint32_t u32Size, const char *pcszFile, uint32_t u32Line)
{
    SA_ASSERT(ppsQueue && u32Size);
    if (ppsQueue == nullptr)
        return SA_ERROR;
    *ppsQueue = nullptr;
    if (u32Size == 0)
        return SA_ERROR;
    SA_WaitQueueData psQueue = (SA_WaitQueueData)SA_CallocInfo(1, sizeof(SA_WaitQueueDataRec), pcszFile, u32Line);
    if (psQueue == nullptr)
        return SA_ERROR;
    psQueue->u32Size = u32Size;
    psQueue->pasItems =
        (SA_WaitQueueItemRec *)SA_CallocInfo(u32Size, sizeof(SA_WaitQueueItemRec), pcszFile, u32Line);
    if (psQueue->pasItems == nullptr || SA_CreateMutex(&psQueue->hMutex) != SA_OK ||
        SA_CreateEvent(&psQueue->hNewRequest) != SA_OK) {
        SA_DestroyWaitQueue(&psQueue);
        return SA_ERROR;
    }
    for (uint32_t i = u32Size; i-- > 0;) {
        psQueue->pasItems[i].psQueue = psQueue;
        pushFree(psQueue, &psQueue->pasItems[i]);
    }
    *ppsQueue = psQueue;
    return SA_OK;
}

void SA_DestroyWaitQueue(SA_WaitQueueData *ppsQueue)
{
    if (ppsQueue == nullptr || *ppsQueue == nullptr)
        return;
    SA_WaitQueueData psQueue = *ppsQueue;
    for (uint32_t i = 0; psQueue->pasItems != nullptr && i < psQueue->u32Size; i++)
        destroyItemObjects(&psQueue->pasItems[i]);
    SA_Free(&psQueue->pasItems);
    SA_DestroyEvent(&psQueue->hNewRequest);
    SA_DestroyMutex(&psQueue->hMutex);
    SA_Free(ppsQueue);
}

int SA_SendWaitQueue(SA_WaitQueueData psQueue, void *pRequest, uint32_t u32TimeoutMs)
{
    SA_ASSERT(psQueue);
    if (psQueue == nullptr || SA_LockMutex(psQueue->hMutex) != SA_OK)
        return SA_ERROR;
    SA_WaitQueueItemRec *psItem = enqueueRequest(psQueue, pRequest);
    if (psItem != nullptr)
        SA_SetEvent(psQueue->hNewRequest);
    SA_UnlockMutex(psQueue->hMutex);
    if (psItem == nullptr)
        return SA_ERROR;
    if (SA_WaitQueueSentHook rHook = g_rSentHook.load())
        rHook(pRequest);

    int iResult = SA_WaitEventTimeout(psItem->hReplyEvent, u32TimeoutMs);

    return withdrawRequest(psQueue, psItem, iResult);
}

void *SA_WaitQueue(SA_WaitQueueData psQueue, uint32_t u32TimeoutMs, SA_WaitQueueItem *phReceiveId)
{
    SA_ASSERT(psQueue && phReceiveId);
    if (phReceiveId != nullptr)
        *phReceiveId = nullptr;
    if (psQueue == nullptr || phReceiveId == nullptr || SA_LockMutex(psQueue->hMutex) != SA_OK)
        return nullptr;
    SA_WaitQueueItemRec *psItem = takeOldest(psQueue);
    if (psItem == nullptr) {
        SA_ClearEvent(psQueue->hNewRequest);
        SA_UnlockMutex(psQueue->hMutex);
        SA_WaitEventTimeout(psQueue->hNewRequest, u32TimeoutMs);
        if (SA_LockMutex(psQueue->hMutex) != SA_OK)
            return nullptr;
        psItem = takeOldest(psQueue);
    }
    SA_UnlockMutex(psQueue->hMutex);
    if (psItem == nullptr)
        return nullptr;
    *phReceiveId = psItem;
    return psItem->pRequest;
}

int SA_ReplyWaitQueue(SA_WaitQueueItem hReceiveId)
{
    SA_ASSERT(hReceiveId);
    if (hReceiveId == nullptr)
        return SA_ERROR;
    SA_SetEvent(hReceiveId->hReplyEvent);
    return SA_UnlockMutex(hReceiveId->hMutex);
}

}  // extern "C"
