// The subcommands on the shipped catalog, in process: catalog load, every calculation and the
// text written, as one run of the command does them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.hpp"
#include "report/output.hpp"

namespace {

const std::filesystem::path kShippedCatalog = std::filesystem::path(FERROLUX_DATA_DIR) / "CableCatalog.txt";

// Parses and runs one command line; the output goes to a string, the status must be 0.
void RunCommand(benchmark::State& state, std::vector<std::string> arguments) {
  std::reverse(arguments.begin(), arguments.end());  // CLI11 takes them last first
  for (auto _ : state) {
    std::ostringstream out, err;
    CLI::App app("bench", "ferrolux");
    ferrolux::cli::CommandContext context;
    context.catalogFile = [] { return kShippedCatalog; };
    context.outputStyle = [] { return ferrolux::OutputStyle{}; };
    context.out = &out;
    context.err = &err;
    ferrolux::cli::AddCommands(app, context);
    std::vector<std::string> left = arguments;
    app.parse(left);
    ferrolux::cli::RunChosenCommand(context);
    if (context.exitStatus != 0) state.SkipWithError(err.str().c_str());
    benchmark::DoNotOptimize(out.str().data());
  }
}

void BM_CompareCommand(benchmark::State& state) {
  RunCommand(state, {"compare", "--length", "100", "--band", "2m", "--swr", "1.5"});
}
BENCHMARK(BM_CompareCommand)->Unit(benchmark::kMillisecond);

// Eight cables, the most a chart takes, on an 80 x 24 chart and as SVG.
void BM_PlotCommand(benchmark::State& state) {
  RunCommand(state, {"plot", "--type", "CATV Hardline", "--width", "80", "--height", "24"});
}
BENCHMARK(BM_PlotCommand)->Unit(benchmark::kMillisecond);

void BM_PlotSvgCommand(benchmark::State& state) {
  RunCommand(state, {"plot", "--type", "CATV Hardline", "--svg", "-"});
}
BENCHMARK(BM_PlotSvgCommand)->Unit(benchmark::kMillisecond);

// Two 1,601-point sweeps, 1 to 1000 MHz, of 30 m of a 50-ohm cable with RG-213's loss, far end
// open and shorted, written once beside the other temporary files.
std::filesystem::path WriteSweep(bool open) {
  constexpr int kPoints = 1601;
  constexpr double kNepersPerDbPer100Ft = 1 / (20 * std::numbers::log10e * 30.48), kMetres = 30;
  std::filesystem::path file =
      std::filesystem::temp_directory_path() / (open ? "ferrolux-bench-open.s1p" : "ferrolux-bench-short.s1p");
  std::ofstream out(file);
  out << "# MHz S RI R 50\n";
  for (int i = 0; i < kPoints; ++i) {
    const double mhz = 1 + 999.0 * i / (kPoints - 1);
    const double alpha = (0.0114 + 0.157 * std::sqrt(mhz) + 0.003 * mhz) * kNepersPerDbPer100Ft;
    const double beta = 2 * std::numbers::pi * mhz * 1e6 / (0.66 * 299792458);
    const std::complex<double> t = std::tanh(std::complex<double>(alpha, beta) * kMetres);
    const std::complex<double> z = open ? 50.0 / t : 50.0 * t, s = (z - 50.0) / (z + 50.0);
    char line[96];
    std::snprintf(line, sizeof line, "%.6f %.9f %.9f\n", mhz, s.real(), s.imag());
    out << line;
  }
  return file;
}

void BM_MeasureCommand(benchmark::State& state) {
  static const std::filesystem::path open = WriteSweep(true), shorted = WriteSweep(false);
  RunCommand(state, {"measure", "--open", open.string(), "--short", shorted.string(), "--length", "30m"});
}
BENCHMARK(BM_MeasureCommand)->Unit(benchmark::kMillisecond);

}  // namespace
