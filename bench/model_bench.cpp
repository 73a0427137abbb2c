// The loss model's cost for one calculation.
#include <benchmark/benchmark.h>

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

}  // namespace
