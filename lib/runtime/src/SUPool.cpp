/* Buffer pools: a pointer pool of free buffers, each behind a header that names its pool
 * and the allocator it came from. */
#include "SA_Internal.h"

/* In front of every pool buffer; the caller sees the bytes behind it, which stay 16-byte
 * aligned for buffers from the aligned allocator. */
struct SU_PoolBufferHeader {
    uint32_t u32Aligned;
    uint32_t u32TotalSize; /* payload + header */
    SA_Pool psPool;
#if UINTPTR_MAX == 0xFFFFFFFFu
    uint32_t u32Spare;
#endif
};
static_assert(sizeof(SU_PoolBufferHeader) == 16, "pool buffers keep a 16-byte header");

namespace {

constexpr uint32_t HEADER_SIZE = sizeof(SU_PoolBufferHeader);


SU_PoolBufferHeader *headerOf(void *pBuffer)
{
    return (SU_PoolBufferHeader *)((uint8_t *)pBuffer - HEADER_SIZE);
}

/* A buffer of u32BufferSize bytes with its header filled, or null. */
void *allocateBuffer(SA_Pool psPool, uint32_t u32BufferSize, int bAligned, bool bZeroed,
                     const char *pcszFile, uint32_t u32Line)
{
    if (u32BufferSize > 0xFFFFFFFFu - HEADER_SIZE)
        return nullptr;
    uint32_t u32Total = u32BufferSize + HEADER_SIZE;
    SU_PoolBufferHeader *psHeader;
    if (bAligned) {
        psHeader = (SU_PoolBufferHeader *)SA_AllocParaAlignedInfo(u32Total, pcszFile, u32Line);
        if (psHeader != nullptr && bZeroed)
            SA_MemZero(psHeader, u32Total);
    } else if (bZeroed) {
        psHeader = (SU_PoolBufferHeader *)SA_CallocInfo(1, u32Total, pcszFile, u32Line);
    } else {
        psHeader = (SU_PoolBufferHeader *)SA_MallocInfo(u32Total, pcszFile, u32Line);
    }
    if (psHeader == nullptr)
        return nullptr;
    psHeader->u32Aligned = bAligned ? 1 : 0;
    psHeader->psPool = psPool;
    psHeader->u32TotalSize = u32Total;
    return psHeader + 1;
}

}  // namespace

extern "C" {

SA_Pool SU_PoolCreate(uint32_t u32Capacity)
{
    SA_Pool psPool = nullptr;
    SA_CreatePool(&psPool, u32Capacity);
    return psPool;
}

void SU_PoolDestroy(SA_Pool *ppsPool)
{
    if (ppsPool == nullptr || *ppsPool == nullptr)
        return;
    SU_PoolEmpty(*ppsPool);
    SA_ReleasePool(ppsPool);
}

void SU_PoolEmpty(SA_Pool psPool)
{
    void *pBuffer;
    while ((pBuffer = SA_ReadPool(psPool)) != nullptr)
        SU_PoolBufferFree(&pBuffer);
}

int SU_PoolFillInfo(SA_Pool psPool, uint32_t u32BufferSize, int bAligned, const char *pcszFile, uint32_t u32Line)
{
    uint32_t u32Capacity = 0;
    if (SA_GetPoolSize(psPool, &u32Capacity) != SA_OK)
        return 0;
    for (uint32_t i = 0; i < u32Capacity; i++) {
        void *pBuffer = allocateBuffer(psPool, u32BufferSize, bAligned, false, pcszFile, u32Line);
        if (pBuffer == nullptr || SA_WritePool(psPool, pBuffer) != SA_OK) {
            SU_PoolBufferFree(&pBuffer);
            SU_PoolEmpty(psPool);
            return 0;
        }
    }
    return 1;
}

void *SU_PoolBufferCallocInfo(SA_Pool psPool, uint32_t u32BufferSize, int bAligned, const char *pcszFile,
                              uint32_t u32Line)
{
    SA_ASSERT(psPool && u32BufferSize);
    if (psPool == nullptr || u32BufferSize == 0)
        return nullptr;
    return allocateBuffer(psPool, u32BufferSize, bAligned, true, pcszFile, u32Line);
}

void *SU_PoolRead(SA_Pool psPool)
{
    return SA_ReadPool(psPool);
}

int SU_PoolWrite(void **ppBuffer)
{
    if (ppBuffer == nullptr || *ppBuffer == nullptr)
        return 0;
    if (SA_WritePool(headerOf(*ppBuffer)->psPool, *ppBuffer) != SA_OK)
        return 0;
    *ppBuffer = nullptr;
    return 1;
}

void SU_PoolBufferFree(void **ppBuffer)
{
    if (ppBuffer == nullptr || *ppBuffer == nullptr)
        return;
    SU_PoolBufferHeader *psHeader = headerOf(*ppBuffer);
    if (psHeader->u32Aligned)
        SA_FreeParaAligned(&psHeader);
    else
        SA_Free(&psHeader);
    *ppBuffer = nullptr;
}

}  // extern "C"
