// The loss model's cost for one calculation, and the line model's for a long de-embedded sweep,
// through one cable and through a path of ten elements.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "model/deembedding.hpp"
#include "model/element_path.hpp"
#include "model/loss.hpp"
#include "model/path_range.hpp"
#include "model/path_text.hpp"

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

// A station's feed line: jumpers, connectors, a switch, an arrestor and the main run.
std::vector<ferrolux::PathElement> TenElementPath() {
  const std::map<std::string, ferrolux::CableNumbers> cables = {
      {"RG-8X", {50, 0.82, 0.0187006, 0.277043, 0.00255981}},
      {"LMR-400", {50, 0.85, 0.0581398, 0.114992, 0.000448697}}};
  return ferrolux::ParsePath("RG-8X:6ft, UHF, switch, UHF, RG-8X:3ft, arrestor, LMR-400:100ft, N, 0.2dB, RG-8X:3ft",
                             [&](const std::string& name) {
                               return ferrolux::CableLookup{{{name, cables.at(name), 0, 0}}, {}};
                             });
}

void BM_PathSwrRange(benchmark::State& state) {
  const std::vector<ferrolux::PathElement> path = TenElementPath();
  for (auto _ : state) benchmark::DoNotOptimize(ferrolux::PathSwrRange(path, 146, 1.8, 50, 100));
}
BENCHMARK(BM_PathSwrRange)->Unit(benchmark::kMicrosecond);

// 10,001 points from 0.1 to 500 MHz carried to the antenna through the ten elements.
void BM_PathDeembedSweep(benchmark::State& state) {
  const std::vector<ferrolux::PathElement> path = TenElementPath();
  for (auto _ : state) {
    for (int i = 0; i <= 10'000; ++i) {
      const ferrolux::Abcd whole = ferrolux::PathAbcd(path, 0.1 + i * 0.04999, 50);
      benchmark::DoNotOptimize(ferrolux::AntennaZThrough(whole, {35, -20}));
    }
  }
}
BENCHMARK(BM_PathDeembedSweep)->Unit(benchmark::kMillisecond);

// 300 cables of 1000 m at 1000 MHz: the standing wave's peaks were once sought along each whole
// line, seconds for this path; a half wave at each end holds them, so length costs nothing.
void BM_LongPathPeaks(benchmark::State& state) {
  const std::map<std::string, ferrolux::CableNumbers> cables = {{"RG-8X", {50, 0.82, 0.0187006, 0.277043, 0.00255981}}};
  std::string text = "RG-8X:1000m";
  for (int k = 1; k < 300; ++k) text += ", RG-8X:1000m";
  const std::vector<ferrolux::PathElement> path = ferrolux::ParsePath(text, [&](const std::string& name) {
    return ferrolux::CableLookup{{{name, cables.at(name), 0, 0}}, {}};
  });
  for (auto _ : state) benchmark::DoNotOptimize(ferrolux::SolvePath(path, 1000, {50, -30}, 50, 100));
}
BENCHMARK(BM_LongPathPeaks)->Unit(benchmark::kMillisecond);

}  // namespace
