// Throughput of the component's cipher on a buffer in memory (no file I/O), so that
// it compares with `openssl speed` for single-key DES in ECB mode.
#include "library/utility/Des.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_Crypt(benchmark::State& state, bool encrypt) {
    vesk::TEncryption cipher;
    cipher.SetKey("Bench k!");
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<std::uint8_t>(i * 131 + 7);
    for (auto _ : state) {
        cipher.Crypt(buffer.data(), buffer.data(), static_cast<std::int32_t>(buffer.size()),
                     encrypt);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_Encrypt(benchmark::State& state) {
    BM_Crypt(state, true);
}
void BM_Decrypt(benchmark::State& state) {
    BM_Crypt(state, false);
}

void BM_KeySchedule(benchmark::State& state) {
    vesk::TEncryption cipher;
    char key[9] = "abcdefgh";
    for (auto _ : state) {
        ++key[0];
        cipher.SetKey(key);
        benchmark::DoNotOptimize(cipher.KeyBlock());
    }
}

} // namespace

// 16 KiB: the largest block size `openssl speed` reports.
BENCHMARK(BM_Encrypt)->Arg(16384);
BENCHMARK(BM_Decrypt)->Arg(16384);
BENCHMARK(BM_KeySchedule);

BENCHMARK_MAIN();
