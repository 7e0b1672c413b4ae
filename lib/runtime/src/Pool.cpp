/* Non-blocking rings of pointers guarded by their own mutex. */
#include "Ring.h"
#include "SA_Internal.h"

struct SA_PoolRec {
    SA_Mutex hMutex;
    SA_Ring sRing;
};

extern "C" {

int SA_CreatePool(SA_Pool *ppsPool, uint32_t u32Capacity)
{
    SA_ASSERT(ppsPool);
    if (ppsPool == nullptr)
        return SA_ERROR;
    *ppsPool = nullptr;
    SA_PoolRec *psPool = (SA_PoolRec *)SA_RingBlockAllocate(sizeof(SA_PoolRec), u32Capacity);
    if (psPool == nullptr)
        return SA_ERROR;
    if (SA_CreateMutex(&psPool->hMutex) != SA_OK) {
        SA_Free(&psPool);
        return SA_ERROR;
    }
    SA_RingInit(&psPool->sRing, (void **)(psPool + 1), u32Capacity);
    *ppsPool = psPool;
    return SA_OK;
}

void SA_ReleasePool(SA_Pool *ppsPool)
{
    if (ppsPool == nullptr || *ppsPool == nullptr)
        return;
    SA_DestroyMutex(&(*ppsPool)->hMutex);
    SA_Free(ppsPool);
}

int SA_GetPoolSize(SA_Pool psPool, uint32_t *pu32Size)
{
    if (psPool == nullptr || pu32Size == nullptr)
        return SA_ERROR;
    *pu32Size = psPool->sRing.u32Capacity;
    return SA_OK;
}

int SA_WritePool(SA_Pool psPool, void *p)
{
    if (psPool == nullptr || SA_LockMutex(psPool->hMutex) != SA_OK)
        return SA_ERROR;
    bool bStored = SA_RingPut(&psPool->sRing, p);
    SA_UnlockMutex(psPool->hMutex);
    return bStored ? SA_OK : SA_ERROR;
}

void *SA_ReadPool(SA_Pool psPool)
{
    if (psPool == nullptr || SA_LockMutex(psPool->hMutex) != SA_OK)
        return nullptr;
    void *p = SA_RingTake(&psPool->sRing);
    SA_UnlockMutex(psPool->hMutex);
    return p;
}

}  // extern "C"
