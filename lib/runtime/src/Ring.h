/* The fixed ring of pointer slots shared by pools and queues; callers hold their own lock. */
#ifndef SA_RING_H
#define SA_RING_H

#include "SA_Core.h"

struct SA_Ring {
    uint32_t u32Capacity;
    uint32_t u32Read;
    uint32_t u32Write;
    int32_t bFull;
    void **ppSlots;
};

/* An empty ring over the caller's slots, which sit in the same block as the owner. */
inline void SA_RingInit(SA_Ring *psRing, void **ppSlots, uint32_t u32Capacity)
{
    psRing->u32Capacity = u32Capacity;
    psRing->u32Read = 0;
    psRing->u32Write = 0;
    psRing->bFull = 0;
    psRing->ppSlots = ppSlots;
}

/* Stores p as the newest pointer; false when the ring is full. */
inline bool SA_RingPut(SA_Ring *psRing, void *p)
{
    if (psRing->bFull)
        return false;
    psRing->ppSlots[psRing->u32Write] = p;
    psRing->u32Write = (psRing->u32Write + 1) % psRing->u32Capacity;
    if (psRing->u32Write == psRing->u32Read)
        psRing->bFull = 1;
    return true;
}

/* Takes the oldest pointer; null when the ring is empty. */
inline void *SA_RingTake(SA_Ring *psRing)
{
    if (!psRing->bFull && psRing->u32Read == psRing->u32Write)
        return nullptr;
    void *p = psRing->ppSlots[psRing->u32Read];
    psRing->bFull = 0;
    psRing->u32Read = (psRing->u32Read + 1) % psRing->u32Capacity;
    return p;
}

/* One block holding an owner record followed by its slots, or null for capacity 0, a size
 * that does not fit 32 bits, or no memory. */
inline void *SA_RingBlockAllocate(size_t uRecordSize, uint32_t u32Capacity)
{
    uint64_t u64Size = (uint64_t)uRecordSize + (uint64_t)u32Capacity * sizeof(void *);
    if (u32Capacity == 0 || u64Size > 0xFFFFFFFFu)
        return nullptr;
    return SA_Malloc((uint32_t)u64Size);
}

#endif
