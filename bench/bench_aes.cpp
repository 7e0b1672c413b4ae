// Throughput of the runtime's AES-ECB buffer operations from 1 KiB to 1 MiB.
#include <benchmark/benchmark.h>

#include <vector>

#include "SA.h"

namespace {

void runBuffer(benchmark::State &state, bool encrypt)
{
    SA_Init(0, 0, -1);
    AES_Handle h = AES_CreateDefaultHandle();
    std::vector<uint8_t> buffer((size_t)state.range(0), 0xA5);
    for (auto _ : state) {
        if (encrypt)
            AES_EncryptBuffer(h, buffer.data(), buffer.data(), (uint32_t)buffer.size());
        else
            AES_DecryptBuffer(h, buffer.data(), buffer.data(), (uint32_t)buffer.size());
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * state.range(0));
    AES_ReleaseHandle(&h);
    SA_Release();
}

void BM_AesEncryptBuffer(benchmark::State &state) { runBuffer(state, true); }
void BM_AesDecryptBuffer(benchmark::State &state) { runBuffer(state, false); }

}  // namespace

BENCHMARK(BM_AesEncryptBuffer)->RangeMultiplier(8)->Range(1 << 10, 1 << 20);
BENCHMARK(BM_AesDecryptBuffer)->RangeMultiplier(8)->Range(1 << 10, 1 << 20);
