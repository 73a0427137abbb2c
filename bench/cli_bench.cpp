// The subcommands on the shipped catalog, in process: catalog load, every calculation and the
// text written, as one run of the command does them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.hpp"

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
    context.outputStyle = [] { return ferrolux::cli::OutputStyle{}; };
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

}  // namespace
