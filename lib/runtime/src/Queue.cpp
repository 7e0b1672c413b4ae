/* Blocking rings of pointers: a semaphore counts the stored pointers so readers wait
 * outside the mutex. */
#include "Ring.h"
#include "SA_Internal.h"

struct SA_QueueRec {
    SA_Mutex hMutex;
    SA_Semaphore hCount;
    SA_Ring sRing;
};

extern "C" {

int SA_CreateQueue(SA_Queue *ppsQueue, uint32_t u32Capacity)
{
    SA_ASSERT(ppsQueue);
    if (ppsQueue == nullptr)
        return SA_ERROR;
    *ppsQueue = nullptr;
    SA_QueueRec *psQueue = (SA_QueueRec *)SA_RingBlockAllocate(sizeof(SA_QueueRec), u32Capacity);
    if (psQueue == nullptr)
        return SA_ERROR;
    if (SA_CreateMutex(&psQueue->hMutex) != SA_OK) {
        SA_Free(&psQueue);
        return SA_ERROR;
    }
    if (SA_CreateSemaphore(&psQueue->hCount, 0, u32Capacity) != SA_OK) {
        SA_DestroyMutex(&psQueue->hMutex);
        SA_Free(&psQueue);
        return SA_ERROR;
    }
    SA_RingInit(&psQueue->sRing, (void **)(psQueue + 1), u32Capacity);
    *ppsQueue = psQueue;
    return SA_OK;
}

void SA_ReleaseQueue(SA_Queue *ppsQueue)
{
    if (ppsQueue == nullptr || *ppsQueue == nullptr)
        return;
    SA_DestroyMutex(&(*ppsQueue)->hMutex);
    SA_DestroySemaphore(&(*ppsQueue)->hCount);
    SA_Free(ppsQueue);
}

int SA_WriteQueue(SA_Queue psQueue, void *p)
{
    if (psQueue == nullptr || SA_LockMutex(psQueue->hMutex) != SA_OK)
        return SA_ERROR;
    bool bStored = SA_RingPut(&psQueue->sRing, p);
    if (bStored)
        SA_ReleaseSemaphore(psQueue->hCount, 1);
    SA_UnlockMutex(psQueue->hMutex);
    return bStored ? SA_OK : SA_ERROR;
}

void *SA_ReadQueue(SA_Queue psQueue, uint32_t u32TimeoutMs)
{
    if (psQueue == nullptr || SA_TakeSemaphoreTimeout(psQueue->hCount, u32TimeoutMs) != SA_OK)
        return nullptr;
    if (SA_LockMutex(psQueue->hMutex) != SA_OK) {
        SA_ReleaseSemaphore(psQueue->hCount, 1); /* the pointer stays for the next reader */
        return nullptr;
    }
    void *p = SA_RingTake(&psQueue->sRing);
    SA_UnlockMutex(psQueue->hMutex);
    return p;
}

}  // extern "C"
