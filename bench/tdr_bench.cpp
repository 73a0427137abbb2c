// The distance-to-fault view of a long sweep: the transform, the profile, the peaks, and the
// line's loss taken out at every distance, the dearest part.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "chart/svg_chart.hpp"
#include "cli/tdr_chart.hpp"
#include "sweep/tdr.hpp"

namespace {

// 10,001 points at 50 kHz steps from 50 kHz: 30 m of RG-58 with its far end open.
ferrolux::TdrRequest LongSweep() {
  ferrolux::TdrRequest request;
  const double seconds = 2 * 30 / (ferrolux::kLightMetresPerSecond * 0.66);
  for (int k = 1; k <= 10'001; ++k) {
    const double mhz = k * 0.05;
    const double lossDbPerMetre = (0.425585 * std::sqrt(mhz) + 0.00964155 * mhz) / 30.48;
    request.freqHz.push_back(mhz * 1e6);
    request.lossDbPerMetre.push_back(lossDbPerMetre);
    const double size = std::pow(10.0, -2 * 30 * lossDbPerMetre / 20);
    request.reflection.push_back(std::polar(size, -2 * std::numbers::pi * mhz * 1e6 * seconds));
  }
  return request;
}

void BM_TdrSweep(benchmark::State& state) {
  const ferrolux::TdrRequest request = LongSweep();
  for (auto _ : state) benchmark::DoNotOptimize(ferrolux::ComputeTdr(request));
}
BENCHMARK(BM_TdrSweep)->Unit(benchmark::kMillisecond);

// What `tdr --plot` and `tdr --svg` do past reading the file: the response, and its chart drawn
// in a 120x40 terminal (0) or as SVG (1).
void BM_TdrView(benchmark::State& state) {
  const ferrolux::TdrRequest request = LongSweep();
  ferrolux::chart::ChartSettings frame;
  frame.width = 120;
  frame.height = 40;
  for (auto _ : state) {
    const ferrolux::TdrResult result = ferrolux::ComputeTdr(request);
    const auto input = ferrolux::cli::TdrViewInputOf(result, {0.66, request.window, "RG-58", true}, true);
    const auto chart = ferrolux::chart::TdrReflectionView(input, frame);
    benchmark::DoNotOptimize(state.range(0) ? ferrolux::chart::DrawSvgChart(chart).size()
                                            : ferrolux::chart::DrawChart(chart).size());
  }
}
BENCHMARK(BM_TdrView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
