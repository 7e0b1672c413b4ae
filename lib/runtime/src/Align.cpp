/* 16-byte-aligned blocks: the block's own address is kept in the pointer just below
 * the aligned address. */
#include <stdint.h>
#include <string.h>

#include "SA_Core.h"

static const uint32_t kExtra = 15u + (uint32_t)sizeof(void *);

extern "C" {

void *SA_AllocParaAlignedInfo(uint32_t u32Size, const char *pcszFile, uint32_t u32Line) {
  if (u32Size > UINT32_MAX - kExtra) return nullptr;
  uint8_t *pu8Block = (uint8_t *)SA_MallocInfo(u32Size + kExtra, pcszFile, u32Line);
  if (pu8Block == nullptr) return nullptr;
  uint8_t *pu8Aligned = pu8Block + kExtra - (((uintptr_t)pu8Block + kExtra) & 15u);
  memcpy(pu8Aligned - sizeof(void *), &pu8Block, sizeof(void *));
  return pu8Aligned;
}

int SA_FreeParaAlignedInfo(void **pp, const char *pcszFile, const char *pcszFunction, uint32_t u32Line) {
  SA_ASSERT(pp);
  if (pp == nullptr || *pp == nullptr) return SA_OK;
  void *pBlock;
  memcpy(&pBlock, (uint8_t *)*pp - sizeof(void *), sizeof(void *));
  int iResult = SA_FreeInfo(&pBlock, pcszFile, pcszFunction, u32Line);
  *pp = nullptr;
  return iResult;
}

}  // extern "C"
