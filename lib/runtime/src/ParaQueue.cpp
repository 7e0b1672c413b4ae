/* The parallel queue: a pool of item buffers and a list of worker queues, kept for the
 * legacy stream's set-up and cancellation. */
#include "SA_Internal.h"

namespace {

constexpr uint32_t ITEM_BUFFER_SIZE = 8;

struct WorkerEntry {
    SA_Queue psQueue;
    WorkerEntry *psNext;
};

}  // namespace

struct SU_ParaQueueRec {
    SA_Mutex hMutex;
    SU_ParaQueueParams sParams;
    SA_Pool psItemPool;
    WorkerEntry *psWorkers;
};

extern "C" {

SU_ParaQueue SU_ParaQueueCreateInfo(const SU_ParaQueueParams *psParams, const char *pcszFile,
                                    const char *pcszFunction, uint32_t u32Line)
{
    SA_ASSERT(psParams && psParams->u32Size);
    if (psParams == nullptr || psParams->u32Size == 0)
        return nullptr;
    SU_ParaQueue psQueue = (SU_ParaQueue)SA_CallocInfo(1, sizeof(SU_ParaQueueRec), pcszFile, u32Line);
    if (psQueue == nullptr)
        return nullptr;
    if (SA_CreateMutexInfo(&psQueue->hMutex, pcszFile, pcszFunction, u32Line) != SA_OK ||
        (psQueue->psItemPool = SU_PoolCreate(psParams->u32Size)) == nullptr ||
        !SU_PoolFillInfo(psQueue->psItemPool, ITEM_BUFFER_SIZE, 0, pcszFile, u32Line)) {
        SU_ParaQueueDestroy(&psQueue);
        return nullptr;
    }
    psQueue->sParams = *psParams;
    return psQueue;
}

void SU_ParaQueueDestroy(SU_ParaQueue *ppsQueue)
{
    if (ppsQueue == nullptr || *ppsQueue == nullptr)
        return;
    SU_ParaQueue psQueue = *ppsQueue;
    SU_PoolDestroy(&psQueue->psItemPool);
    while (psQueue->psWorkers != nullptr) {
        WorkerEntry *psEntry = psQueue->psWorkers;
        psQueue->psWorkers = psEntry->psNext;
        SA_ReleaseQueue(&psEntry->psQueue);
        SA_Free(&psEntry);
    }
    SA_DestroyMutex(&psQueue->hMutex);
    SA_Free(ppsQueue);
}

}  // extern "C"
