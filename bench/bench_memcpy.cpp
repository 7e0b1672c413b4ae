/* The runtime's fast block copy against the C library's memcpy and the plain word copy,
 * from 64 bytes to 4 MiB. */
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "SA.h"

using CopyFunction = void (*)(void *, const void *, uint32_t);

static void LibcCopy(void *pDest, const void *pSrc, uint32_t u32Length) { memcpy(pDest, pSrc, u32Length); }

static void RunCopy(benchmark::State &sState, CopyFunction rCopy) {
  const uint32_t u32Length = (uint32_t)sState.range(0);
  std::vector<uint8_t> vSource(u32Length, 0x5A), vDest(u32Length);
  for (auto _ : sState) {
    rCopy(vDest.data(), vSource.data(), u32Length);
    benchmark::DoNotOptimize(vDest.data());
    benchmark::ClobberMemory();
  }
  sState.SetBytesProcessed((int64_t)sState.iterations() * u32Length);
}

static void BM_SA_MemCpy(benchmark::State &sState) { RunCopy(sState, &SA_MemCpy); }
static void BM_memcpy(benchmark::State &sState) { RunCopy(sState, &LibcCopy); }
static void BM_memcpyC(benchmark::State &sState) { RunCopy(sState, &memcpyC); }

BENCHMARK(BM_SA_MemCpy)->RangeMultiplier(4)->Range(64, 4 << 20);
BENCHMARK(BM_memcpy)->RangeMultiplier(4)->Range(64, 4 << 20);
BENCHMARK(BM_memcpyC)->RangeMultiplier(4)->Range(64, 4 << 20);
