// The loss model's cost for one calculation, and the line model's for a long de-embedded sweep.
#include <benchmark/benchmark.h>

#include "model/deembedding.hpp"
#include "model/loss.hpp"

namespace {

void BM_ComputeLosses(benchmark::State& state) {
  float swr = 1.1f;
  for (auto _ : state) {
    // A different SWR bracket each time, so no branch is always taken.
    swr = swr >= 5.9f ? 1.1f : swr + 0.3f;
    benchmark::DoNotOptimize(ferrolux::ComputeLosses(0.3f, 0.35f, 0.002f, 28.5f, 50.0f, 100.0f, swr));
  }
}
BENCHMARK(BM_ComputeLosses);

// 10,001 points from 0.1 to 500 MHz through 100 ft of RG-174: every point solves its own line.
void BM_DeembedSweep(benchmark::State& state) {
  const ferrolux::FeedLine line{{50, 0.66, 1.33367, 0.554943, 0.0152789}, 0.66, 30.48, 50};
  for (auto _ : state) {
    for (int i = 0; i <= 10'000; ++i) {
      benchmark::DoNotOptimize(ferrolux::DeembedAt(line, 0.1 + i * 0.04999, {35, -20}));
    }
  }
}
BENCHMARK(BM_DeembedSweep)->Unit(benchmark::kMillisecond);

}  // namespace
