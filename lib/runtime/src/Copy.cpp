/* Zero-fill and block copies. On a processor with SSE the fast copies use the C library's
 * copy, which is vectorised and beats hand-written non-temporal 64-byte blocks at every size
 * (bench/bench_memcpy.cpp); without SSE they fall back to the word copy. */
#include <atomic>
#include <string.h>

#include "SA_Internal.h"
#include "SA_Platform.h"

static const uint32_t kMmxBit = 1u << 23;
static const uint32_t kSseBit = 1u << 25;
static const uint32_t kSse2Bit = 1u << 26;

/* -1 not probed yet, 0 plain copy, 1 SSE. */
static std::atomic<int32_t> g_i32SseState{-1};

static int32_t SseState(void) {
  if (g_i32SseState.load() == -1) SA_DetectSse();
  return g_i32SseState.load();
}

extern "C" {

void SA_SetSseStateForTest(int32_t i32State) { g_i32SseState.store(i32State); }

void SA_DetectSse(void) {
  uint32_t u32Edx = 0;
  int bSse = SA_PlatformCpuFeatures(&u32Edx) && (u32Edx & kSseBit) != 0;
  g_i32SseState.store(bSse ? 1 : 0);
}

int SA_GetCpuFeatures(int *pbMmx, int *pbSse, int *pbSse2) {
  uint32_t u32Edx = 0;
  if (!SA_PlatformCpuFeatures(&u32Edx)) return 0;
  if (pbMmx != nullptr) *pbMmx = (u32Edx & kMmxBit) != 0;
  if (pbSse != nullptr) *pbSse = (u32Edx & kSseBit) != 0;
  if (pbSse2 != nullptr) *pbSse2 = (u32Edx & kSse2Bit) != 0;
  return 1;
}

void SA_MemZero(void *p, uint32_t u32Length) {
  SA_ASSERT(p);
  if (p == nullptr) return;
  uint8_t *pu8 = (uint8_t *)p;
  while (u32Length > 0 && ((uintptr_t)pu8 & 3u) != 0) {
    *pu8++ = 0;
    u32Length--;
  }
  const uint32_t u32Zero = 0;
  for (; u32Length >= 4; u32Length -= 4, pu8 += 4) memcpy(pu8, &u32Zero, 4);
  while (u32Length-- > 0) *pu8++ = 0;
}

void memcpyC(void *pDest, const void *pSrc, uint32_t u32Length) {
  SA_ASSERT(pDest && pSrc);
  if (pDest == nullptr || pSrc == nullptr) return;
  uint8_t *pu8Dest = (uint8_t *)pDest;
  const uint8_t *pu8Src = (const uint8_t *)pSrc;
  while (u32Length > 0 && ((uintptr_t)pu8Dest & 3u) != 0) {
    *pu8Dest++ = *pu8Src++;
    u32Length--;
  }
  for (; u32Length >= 4; u32Length -= 4, pu8Dest += 4, pu8Src += 4) memcpy(pu8Dest, pu8Src, 4);
  while (u32Length-- > 0) *pu8Dest++ = *pu8Src++;
}

void SA_MemCpy(void *pDest, const void *pSrc, uint32_t u32Length) {
  if (SseState() != 1 || pDest == nullptr || pSrc == nullptr) {
    memcpyC(pDest, pSrc, u32Length);
    return;
  }
  memcpy(pDest, pSrc, u32Length);
}

void SA_MemCpyBlocks(void *pDest, const void *pSrc, uint32_t u32Length) { SA_MemCpy(pDest, pSrc, u32Length); }

}  // extern "C"
