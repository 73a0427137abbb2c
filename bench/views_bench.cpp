// The views of a 10,001-point sweep, each drawn in the terminal and as SVG, in process.
#include <benchmark/benchmark.h>

#include <complex>
#include <numbers>
#include <string>

#include "chart/smith_chart.hpp"
#include "chart/svg_chart.hpp"
#include "chart/sweep_views.hpp"

namespace {

using ferrolux::chart::ChartSettings;
using ferrolux::chart::SweepViewInput;

// A dipole resonant at 7.1 MHz swept 1 to 30 MHz, and the same through a lossy line.
const SweepViewInput& TenThousandPoints() {
  static const SweepViewInput input = [] {
    SweepViewInput sweep;
    sweep.through = "100 ft of RG-58A/U";
    for (int i = 0; i <= 10000; ++i) {
      const double mhz = 1 + 29.0 * i / 10000;
      const std::complex<double> antenna(60 + mhz, 900 * (mhz / 7.1 - 7.1 / mhz));
      const std::complex<double> gamma =
          (antenna - 50.0) / (antenna + 50.0) * std::polar(0.8, -2 * std::numbers::pi * mhz / 1.3);
      sweep.points.push_back({mhz, antenna, 50.0 * (1.0 + gamma) / (1.0 - gamma)});
    }
    return sweep;
  }();
  return input;
}

ChartSettings Terminal() {
  ChartSettings frame;
  frame.width = 120;
  frame.height = 40;
  return frame;
}

void BM_SwrView(benchmark::State& state) {
  for (auto _ : state) {
    const ChartSettings chart = ferrolux::chart::SwrView(TenThousandPoints(), Terminal(), 10);
    benchmark::DoNotOptimize(state.range(0) ? ferrolux::chart::DrawSvgChart(chart).size()
                                            : ferrolux::chart::DrawChart(chart).size());
  }
}
BENCHMARK(BM_SwrView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ResistanceReactanceView(benchmark::State& state) {
  for (auto _ : state) {
    const ChartSettings chart = ferrolux::chart::ResistanceReactanceView(TenThousandPoints(), Terminal());
    benchmark::DoNotOptimize(state.range(0) ? ferrolux::chart::DrawSvgChart(chart).size()
                                            : ferrolux::chart::DrawChart(chart).size());
  }
}
BENCHMARK(BM_ResistanceReactanceView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SmithView(benchmark::State& state) {
  for (auto _ : state) {
    const auto chart = ferrolux::chart::SmithView(TenThousandPoints(), Terminal(), 2);
    benchmark::DoNotOptimize(state.range(0) ? ferrolux::chart::DrawSvgSmithChart(chart).size()
                                            : ferrolux::chart::DrawSmithChart(chart).size());
  }
}
BENCHMARK(BM_SmithView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
