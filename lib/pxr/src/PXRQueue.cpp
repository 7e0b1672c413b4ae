/* The receive queue: a bounded first-in first-out queue of received messages with its drop
 * count, event and new-message callbacks, and the handle functions that act on it. */
#include "PXR_Internal.h"

namespace {

PXRQueue *queueOf(PXR *psPxr)
{
    return psPxr ? psPxr->psQueue : nullptr;
}

void destroyMessages(PXRList *psMessages)
{
    while (PXRListFirstItem(psMessages))
        PXRMsgDestroy(static_cast<PXRMsg *>(PXRListTakeItem(psMessages, PXRListFirstItem(psMessages))));
}

void freeQueue(PXRQueue *psQueue)
{
    if (psQueue->psMessages) {
        destroyMessages(psQueue->psMessages);
        PXRListDestroy(psQueue->psMessages);
    }
    if (psQueue->psClients) {
        PXRList_clear(psQueue->psClients);
        PXRListDestroy(psQueue->psClients);
    }
    if (psQueue->hMutex)
        SA_DestroyMutex(&psQueue->hMutex);
    if (psQueue->hNewMessageEvent)
        SA_DestroyEvent(&psQueue->hNewMessageEvent);
    SA_Free(&psQueue);
    SA_Release();
}

void notify(PXRQueue *psQueue, PXR *psOwner)
{
    if (psQueue->rQueueCallback)
        psQueue->rQueueCallback(psQueue, psQueue->pQueueUser);
    else if (psQueue->rHandleCallback)
        psQueue->rHandleCallback(psOwner, psQueue->pHandleUser);
}

} // namespace

extern "C" {

PXRQueue *PXRQueueCreate(void)
{
    if (SA_Init(0, 0, -1) != SA_OK)
        return nullptr;
    PXRQueue *psQueue = static_cast<PXRQueue *>(SA_Calloc(1, sizeof(PXRQueue)));
    if (!psQueue) {
        SA_Release();
        return nullptr;
    }
    psQueue->u32Capacity = PXR_QUEUE_DEFAULT_CAPACITY;
    psQueue->psClients = PXRListCreate();
    psQueue->psMessages = PXRListCreate();
    if (!psQueue->psClients || !psQueue->psMessages || SA_CreateMutex(&psQueue->hMutex) != SA_OK ||
        SA_CreateEvent(&psQueue->hNewMessageEvent) != SA_OK) {
        freeQueue(psQueue);
        return nullptr;
    }
    return psQueue;
}

int PXRQueueDestroy(PXRQueue *psQueue)
{
    if (!psQueue)
        return 0;
    PXR_clearLastError(psQueue);
    uint32_t u32Clients = PXRListSize(psQueue->psClients);
    if (u32Clients > 0) {
        PXR_setLastError(psQueue, "There are %u sensors using this queue.", u32Clients);
        return 0;
    }
    SA_LockMutex(psQueue->hMutex);
    destroyMessages(psQueue->psMessages);
    SA_UnlockMutex(psQueue->hMutex);
    freeQueue(psQueue);
    return 1;
}

int PXRQueuePushMessage(PXRQueue *psQueue, PXRMsg *psMsg)
{
    if (!psQueue || !psMsg)
        return 0;
    // Once in the queue the message may be popped and freed at any time.
    PXR *psOwner = PXRMsgGetPXR(psMsg);
    SA_LockMutex(psQueue->hMutex);
    // Producers of several handles may push at once: the text is written under the lock too.
    PXR_clearLastError(psQueue);
    uint32_t u32Count = PXRListSize(psQueue->psMessages);
    int bTaken = u32Count < psQueue->u32Capacity && PXRListPushBack(psQueue->psMessages, psMsg) != nullptr;
    if (!bTaken) {
        PXR_setLastError(psQueue, "Queue is full");
        __atomic_add_fetch(&psQueue->u32Drops, 1, __ATOMIC_ACQ_REL);
    }
    SA_UnlockMutex(psQueue->hMutex);
    SA_SetEvent(psQueue->hNewMessageEvent);
    if (bTaken && u32Count == 0)
        notify(psQueue, psOwner);
    return bTaken;
}

PXRMsg *PXRQueuePopMessage(PXRQueue *psQueue)
{
    if (!psQueue)
        return nullptr;
    SA_LockMutex(psQueue->hMutex);
    PXRListItem *psFirst = PXRListFirstItem(psQueue->psMessages);
    PXRMsg *psMsg = psFirst ? static_cast<PXRMsg *>(PXRListTakeItem(psQueue->psMessages, psFirst)) : nullptr;
    SA_UnlockMutex(psQueue->hMutex);
    return psMsg;
}

uint32_t PXRQueueGetQueueSize(PXRQueue *psQueue)
{
    if (!psQueue)
        return 0;
    SA_LockMutex(psQueue->hMutex);
    uint32_t u32Count = PXRListSize(psQueue->psMessages);
    SA_UnlockMutex(psQueue->hMutex);
    return u32Count;
}

uint32_t PXRQueueGetMaxQueueSize(PXRQueue *psQueue)
{
    if (!psQueue)
        return 0;
    SA_LockMutex(psQueue->hMutex);
    uint32_t u32Capacity = psQueue->u32Capacity;
    SA_UnlockMutex(psQueue->hMutex);
    return u32Capacity;
}

void PXRQueueSetMaxQueueSize(PXRQueue *psQueue, uint32_t u32MaxSize)
{
    if (!psQueue)
        return;
    SA_LockMutex(psQueue->hMutex);
    psQueue->u32Capacity = u32MaxSize;
    SA_UnlockMutex(psQueue->hMutex);
}

uint32_t PXRQueueGetMessageDrops(PXRQueue *psQueue)
{
    return psQueue ? __atomic_load_n(&psQueue->u32Drops, __ATOMIC_ACQUIRE) : 0;
}

void PXRQueueResetMessageDrops(PXRQueue *psQueue)
{
    if (psQueue)
        __atomic_store_n(&psQueue->u32Drops, 0, __ATOMIC_RELEASE);
}

void PXRQueueSetNewMessageCallback(PXRQueue *psQueue, PXRQueueNewMessageCallback rCallback, void *pUser)
{
    if (!psQueue)
        return;
    psQueue->rQueueCallback = rCallback;
    psQueue->pQueueUser = pUser;
}

int PXRQueueWaitForNewMessage(PXRQueue *psQueue, uint32_t u32TimeoutMs)
{
    return psQueue && SA_WaitEventTimeout(psQueue->hNewMessageEvent, u32TimeoutMs) == SA_OK;
}

void PXRQueue_addClient(PXRQueue *psQueue, PXR *psPxr)
{
    PXRListPushBack(psQueue->psClients, psPxr);
}

void PXRQueue_removeClient(PXRQueue *psQueue, PXR *psPxr)
{
    for (PXRListItem *psItem = PXRListFirstItem(psQueue->psClients); psItem; psItem = PXRListNextItem(psItem)) {
        if (psItem->pData == psPxr) {
            PXRListTakeItem(psQueue->psClients, psItem);
            return;
        }
    }
}

void PXRQueue_setHandleCallback(PXRQueue *psQueue, PXRNewMessageCallback rCallback, void *pUser)
{
    psQueue->rHandleCallback = rCallback;
    psQueue->pHandleUser = pUser;
}

int PXR_pushReceivedMessage(PXR *psPxr, PXRMsg *psMsg)
{
    if (!PXRMsgChild(psMsg)) {
        PXRMsgDestroy(psMsg);
        return 1;
    }
    psMsg->psOwner = psPxr;
    PXRMsgSetReadOnly(psMsg, 1);
    return PXRQueuePushMessage(psPxr->psQueue, psMsg);
}

PXRMsg *PXRPopMessage(PXR *psPxr)
{
    return PXRQueuePopMessage(queueOf(psPxr));
}

uint32_t PXRGetQueueSize(PXR *psPxr)
{
    return PXRQueueGetQueueSize(queueOf(psPxr));
}

uint32_t PXRGetMaxQueueSize(PXR *psPxr)
{
    return PXRQueueGetMaxQueueSize(queueOf(psPxr));
}

void PXRSetMaxQueueSize(PXR *psPxr, uint32_t u32MaxSize)
{
    PXRQueueSetMaxQueueSize(queueOf(psPxr), u32MaxSize);
}

uint32_t PXRGetMessageDrops(PXR *psPxr)
{
    return PXRQueueGetMessageDrops(queueOf(psPxr));
}

void PXRResetMessageDrops(PXR *psPxr)
{
    PXRQueueResetMessageDrops(queueOf(psPxr));
}

int PXRWaitForNewMessage(PXR *psPxr, uint32_t u32TimeoutMs)
{
    return PXRQueueWaitForNewMessage(queueOf(psPxr), u32TimeoutMs);
}

void PXRSetNewMessageCallback(PXR *psPxr, PXRNewMessageCallback rCallback, void *pUser)
{
    if (!psPxr)
        return;
    if (psPxr->bExternalQueue) {
        PXR_trace(psPxr, PXR_MODULE_PXR, PXR_LEVEL_WARNING,
                  "PXR uses a external queue, it is not possible to set a callback for the PXR. Use the callback of "
                  "the queue");
        return;
    }
    PXRQueue_setHandleCallback(psPxr->psQueue, rCallback, pUser);
}

// Only an unbound handle changes its queue: a connection thread may be delivering otherwise.
int PXRSetQueue(PXR *psPxr, PXRQueue *psQueue)
{
    if (!psPxr)
        return 0;
    if (!psQueue || psPxr->pszServer) {
        PXR_setHandleError(psPxr, "%s", psQueue ? "The queue of a bound PXR can not be changed" : "No queue given");
        return 0;
    }
    if (psQueue == psPxr->psQueue)
        return 1;
    if (psPxr->bExternalQueue)
        PXRQueue_removeClient(psPxr->psQueue, psPxr);
    else
        PXRQueueDestroy(psPxr->psQueue);
    psPxr->psQueue = psQueue;
    psPxr->bExternalQueue = 1;
    PXRQueue_addClient(psQueue, psPxr);
    return 1;
}

} // extern "C"
