/* Zero-fill and block copies; the fast copy moves 64-byte blocks with SSE2 and non-temporal
 * stores when the processor probe finds SSE. */
#include <atomic>
#include <string.h>

#include "SA_Internal.h"
#include "SA_Platform.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static const uint32_t kMmxBit = 1u << 23;
static const uint32_t kSseBit = 1u << 25;
static const uint32_t kSse2Bit = 1u << 26;

/* -1 not probed yet, 0 plain copy, 1 SSE. */
static std::atomic<int32_t> g_i32SseState{-1};

#if defined(__SSE2__)
static void Copy64Blocks(uint8_t *pu8Dest, const uint8_t *pu8Src, uint32_t u32Blocks) {
  const bool bAligned = ((uintptr_t)pu8Dest & 15u) == 0;
  for (uint32_t u32Block = 0; u32Block < u32Blocks; u32Block++, pu8Dest += 64, pu8Src += 64) {
    _mm_prefetch((const char *)pu8Src + 64, _MM_HINT_NTA);
    _mm_prefetch((const char *)pu8Src + 96, _MM_HINT_NTA);
    __m128i a = _mm_loadu_si128((const __m128i *)pu8Src);
    __m128i b = _mm_loadu_si128((const __m128i *)(pu8Src + 16));
    __m128i c = _mm_loadu_si128((const __m128i *)(pu8Src + 32));
    __m128i d = _mm_loadu_si128((const __m128i *)(pu8Src + 48));
    if (bAligned) {
      _mm_stream_si128((__m128i *)pu8Dest, a);
      _mm_stream_si128((__m128i *)(pu8Dest + 16), b);
      _mm_stream_si128((__m128i *)(pu8Dest + 32), c);
      _mm_stream_si128((__m128i *)(pu8Dest + 48), d);
    } else {
      _mm_storeu_si128((__m128i *)pu8Dest, a);
      _mm_storeu_si128((__m128i *)(pu8Dest + 16), b);
      _mm_storeu_si128((__m128i *)(pu8Dest + 32), c);
      _mm_storeu_si128((__m128i *)(pu8Dest + 48), d);
    }
  }
  _mm_sfence();
}

static void Copy128AlignedBlocks(uint8_t *pu8Dest, const uint8_t *pu8Src, uint32_t u32Blocks) {
  for (uint32_t u32Block = 0; u32Block < u32Blocks; u32Block++, pu8Dest += 128, pu8Src += 128) {
    _mm_prefetch((const char *)pu8Src + 128, _MM_HINT_NTA);
    for (int i = 0; i < 8; i++)
      _mm_stream_si128((__m128i *)pu8Dest + i, _mm_load_si128((const __m128i *)pu8Src + i));
  }
  _mm_sfence();
}
#endif

/* The 64-byte path: whole blocks, then the rest byte by byte. */
static void CopyFast(uint8_t *pu8Dest, const uint8_t *pu8Src, uint32_t u32Length) {
#if defined(__SSE2__)
  Copy64Blocks(pu8Dest, pu8Src, u32Length / 64u);
  uint32_t u32Done = u32Length & ~63u;
  for (uint32_t i = u32Done; i < u32Length; i++) pu8Dest[i] = pu8Src[i];
#else
  memcpyC(pu8Dest, pu8Src, u32Length);
#endif
}

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
  CopyFast((uint8_t *)pDest, (const uint8_t *)pSrc, u32Length);
}

void SA_MemCpyBlocks(void *pDest, const void *pSrc, uint32_t u32Length) {
  if (SseState() != 1 || pDest == nullptr || pSrc == nullptr) {
    memcpyC(pDest, pSrc, u32Length);
    return;
  }
  uint8_t *pu8Dest = (uint8_t *)pDest;
  const uint8_t *pu8Src = (const uint8_t *)pSrc;
#if defined(__SSE2__)
  if ((((uintptr_t)pu8Dest | (uintptr_t)pu8Src) & 15u) == 0) {
    Copy128AlignedBlocks(pu8Dest, pu8Src, u32Length / 128u);
    uint32_t u32Done = u32Length & ~127u;
    pu8Dest += u32Done;
    pu8Src += u32Done;
    u32Length -= u32Done;
  }
#endif
  CopyFast(pu8Dest, pu8Src, u32Length);
}

}  // extern "C"
