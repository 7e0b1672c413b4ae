/* The private first-fit arena: one area cut into blocks, each with a header; free blocks
 * are kept in address order and merged with free neighbours on release. */
#include <stdlib.h>

#include "SA_Core.h"

struct alignas(16) BlockHeader {
  int32_t bFree;
  uint32_t u32Size;
  BlockHeader *psPrevious;
  BlockHeader *psNext;
  BlockHeader *psPreviousFree;
  BlockHeader *psNextFree;
};
static_assert(sizeof(BlockHeader) == SA_MEMORY_HEADER_SIZE, "arena header size");

static const uint32_t kHeader = SA_MEMORY_HEADER_SIZE;

struct SA_MemoryRec {
  SA_OsMutex hMemoryOsMutex;
  uint8_t *pu8Area;
  BlockHeader *psFreeList;
  uint32_t u32Total;
  uint32_t u32InUse;
  uint32_t u32HandedOut;
};

static uint8_t *Payload(BlockHeader *psBlock) { return (uint8_t *)psBlock + kHeader; }

/* Payloads are kept multiples of 16 so every header and payload stays aligned. */
static uint32_t Rounded(uint32_t u32Size) { return (u32Size + 15u) & ~15u; }

static BlockHeader *FirstFit(SA_Memory psMemory, uint32_t u32Size) {
  for (BlockHeader *psBlock = psMemory->psFreeList; psBlock != nullptr; psBlock = psBlock->psNextFree)
    if (psBlock->u32Size >= u32Size) return psBlock;
  return nullptr;
}

/* The rest of the payload beyond u32Size becomes a free block after it in both lists. */
static void Split(SA_Memory psMemory, BlockHeader *psBlock, uint32_t u32Size) {
  BlockHeader *psRest = (BlockHeader *)(Payload(psBlock) + u32Size);
  psRest->bFree = 1;
  psRest->u32Size = psBlock->u32Size - u32Size - kHeader;
  psRest->psPrevious = psBlock;
  psRest->psNext = psBlock->psNext;
  if (psRest->psNext != nullptr) psRest->psNext->psPrevious = psRest;
  psBlock->psNext = psRest;
  psRest->psPreviousFree = psBlock;
  psRest->psNextFree = psBlock->psNextFree;
  if (psRest->psNextFree != nullptr) psRest->psNextFree->psPreviousFree = psRest;
  psBlock->psNextFree = psRest;
  psBlock->u32Size = u32Size;
  psMemory->u32InUse += kHeader;
}

static void UnlinkFree(SA_Memory psMemory, BlockHeader *psBlock) {
  if (psBlock->psPreviousFree != nullptr)
    psBlock->psPreviousFree->psNextFree = psBlock->psNextFree;
  else
    psMemory->psFreeList = psBlock->psNextFree;
  if (psBlock->psNextFree != nullptr) psBlock->psNextFree->psPreviousFree = psBlock->psPreviousFree;
  psBlock->psPreviousFree = psBlock->psNextFree = nullptr;
}

static void InsertFreeAfter(SA_Memory psMemory, BlockHeader *psBefore, BlockHeader *psBlock) {
  psBlock->psPreviousFree = psBefore;
  psBlock->psNextFree = psBefore != nullptr ? psBefore->psNextFree : psMemory->psFreeList;
  if (psBlock->psNextFree != nullptr) psBlock->psNextFree->psPreviousFree = psBlock;
  if (psBefore != nullptr)
    psBefore->psNextFree = psBlock;
  else
    psMemory->psFreeList = psBlock;
}

/* Merges a free block with its free-list successor when that is also its address neighbour. */
static void MergeWithNext(SA_Memory psMemory, BlockHeader *psBlock) {
  BlockHeader *psNext = psBlock->psNextFree;
  if (psNext == nullptr || psNext != psBlock->psNext) return;
  psBlock->u32Size += psNext->u32Size + kHeader;
  psBlock->psNext = psNext->psNext;
  if (psBlock->psNext != nullptr) psBlock->psNext->psPrevious = psBlock;
  psBlock->psNextFree = psNext->psNextFree;
  if (psBlock->psNextFree != nullptr) psBlock->psNextFree->psPreviousFree = psBlock;
  psMemory->u32InUse -= kHeader;
}

static BlockHeader *NearestFreeBefore(BlockHeader *psBlock) {
  BlockHeader *psPrevious = psBlock->psPrevious;
  while (psPrevious != nullptr && !psPrevious->bFree) psPrevious = psPrevious->psPrevious;
  return psPrevious;
}

static void Release(SA_Memory psMemory, BlockHeader *psBlock) {
  BlockHeader *psPrevious = NearestFreeBefore(psBlock);
  InsertFreeAfter(psMemory, psPrevious, psBlock);
  if (psPrevious != nullptr && psPrevious->psNext == psBlock) {
    MergeWithNext(psMemory, psPrevious);
    psBlock = psPrevious;
  }
  MergeWithNext(psMemory, psBlock);
}

static int OwnsPayload(SA_Memory psMemory, void *p) {
  uint8_t *pu8 = (uint8_t *)p;
  return pu8 >= psMemory->pu8Area + kHeader && pu8 < psMemory->pu8Area + psMemory->u32Total;
}

extern "C" {

SA_Memory SA_MemoryCreate(uint32_t u32MemorySizeInBytes) {
  SA_ASSERT(u32MemorySizeInBytes > SA_MEMORY_HEADER_SIZE);
  if (u32MemorySizeInBytes <= SA_MEMORY_HEADER_SIZE) return nullptr;
  SA_Memory psMemory = (SA_Memory)calloc(1, sizeof(SA_MemoryRec));
  if (psMemory == nullptr) return nullptr;
  psMemory->pu8Area = (uint8_t *)malloc(u32MemorySizeInBytes);
  if (psMemory->pu8Area == nullptr || SA_CreateOsMutex(&psMemory->hMemoryOsMutex) != SA_OK) {
    free(psMemory->pu8Area);
    free(psMemory);
    return nullptr;
  }
  BlockHeader *psBlock = (BlockHeader *)psMemory->pu8Area;
  *psBlock = BlockHeader{1, u32MemorySizeInBytes - kHeader, nullptr, nullptr, nullptr, nullptr};
  psMemory->psFreeList = psBlock;
  psMemory->u32Total = u32MemorySizeInBytes;
  psMemory->u32InUse = kHeader;
  return psMemory;
}

void *SA_MemoryAlloc(SA_Memory psMemory, uint32_t u32RequiredSizeInBytes) {
  SA_ASSERT(psMemory && u32RequiredSizeInBytes);
  if (psMemory == nullptr || u32RequiredSizeInBytes == 0 || u32RequiredSizeInBytes > UINT32_MAX - 15u)
    return nullptr;
  uint32_t u32Size = Rounded(u32RequiredSizeInBytes);
  void *pResult = nullptr;
  SA_LockOsMutex(psMemory->hMemoryOsMutex);
  BlockHeader *psBlock =
      psMemory->u32Total - psMemory->u32InUse >= u32Size ? FirstFit(psMemory, u32Size) : nullptr;
  if (psBlock != nullptr) {
    if (u32Size + kHeader < psBlock->u32Size) Split(psMemory, psBlock, u32Size);
    UnlinkFree(psMemory, psBlock);
    psBlock->bFree = 0;
    psMemory->u32InUse += psBlock->u32Size;
    psMemory->u32HandedOut += psBlock->u32Size;
    pResult = Payload(psBlock);
  }
  SA_UnlockOsMutex(psMemory->hMemoryOsMutex);
  return pResult;
}

void SA_MemoryFree(SA_Memory psMemory, void **pp) {
  SA_ASSERT(psMemory && pp);
  if (psMemory == nullptr || pp == nullptr || *pp == nullptr) return;
  SA_ASSERT(OwnsPayload(psMemory, *pp));
  if (!OwnsPayload(psMemory, *pp)) return;
  BlockHeader *psHeader = (BlockHeader *)((uint8_t *)*pp - kHeader);
  SA_LockOsMutex(psMemory->hMemoryOsMutex);
  SA_ASSERT(!psHeader->bFree);
  if (!psHeader->bFree) {
    psHeader->bFree = 1;
    psMemory->u32InUse -= psHeader->u32Size;
    psMemory->u32HandedOut -= psHeader->u32Size;
    Release(psMemory, psHeader);
  }
  SA_UnlockOsMutex(psMemory->hMemoryOsMutex);
  *pp = nullptr;
}

void SA_MemoryRelease(SA_Memory *ppsMemory) {
  if (ppsMemory == nullptr || *ppsMemory == nullptr) return;
  SA_DestroyOsMutex(&(*ppsMemory)->hMemoryOsMutex);
  free((*ppsMemory)->pu8Area);
  free(*ppsMemory);
  *ppsMemory = nullptr;
}

void SA_MemoryGetStats(SA_Memory psMemory, uint32_t *pu32Total, uint32_t *pu32InUse, uint32_t *pu32HandedOut,
                       uint32_t *pu32FreeBlocks) {
  if (psMemory == nullptr) return;
  SA_LockOsMutex(psMemory->hMemoryOsMutex);
  uint32_t u32FreeBlocks = 0;
  for (BlockHeader *psBlock = psMemory->psFreeList; psBlock != nullptr; psBlock = psBlock->psNextFree)
    u32FreeBlocks++;
  if (pu32Total != nullptr) *pu32Total = psMemory->u32Total;
  if (pu32InUse != nullptr) *pu32InUse = psMemory->u32InUse;
  if (pu32HandedOut != nullptr) *pu32HandedOut = psMemory->u32HandedOut;
  if (pu32FreeBlocks != nullptr) *pu32FreeBlocks = u32FreeBlocks;
  SA_UnlockOsMutex(psMemory->hMemoryOsMutex);
}

}  // extern "C"
