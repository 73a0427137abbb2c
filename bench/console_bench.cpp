// The console pieces the screens are built from: wrapping, sorting and the pick list.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_data.hpp"
#include "console/format_output.hpp"
#include "console/headless.hpp"
#include "console/keys.hpp"
#include "console/pick_list.hpp"
#include "console/sort_list.hpp"

namespace {

constexpr int kWrapWidth = 90;
constexpr size_t kLineArraySize = 2000;  // room for 100 KiB at 90 columns
constexpr size_t kKinds = 40;
constexpr int kDownPresses = 100;
// Where and in which colours the results screen shows its cable-type list.
constexpr int kListTop = 5, kListLeft = 46, kListBottom = 39;
constexpr int kText = 15, kBackground = 1, kFrame = 14, kFrameBackground = 4;

void BM_FormatOutput(benchmark::State& state) {
  const std::string text = ferrolux::bench::Words(static_cast<size_t>(state.range(0)));
  ferrolux::HeadlessConsole h;
  std::string errorMessage;
  std::vector<std::string> lines(kLineArraySize);
  for (auto _ : state) {
    ferrolux::FormatOutput(h.console, errorMessage, text, lines, kWrapWidth);
    benchmark::DoNotOptimize(lines.data());
  }
  if (!errorMessage.empty()) state.SkipWithError(errorMessage.c_str());
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FormatOutput)->Arg(2 << 10)->Arg(100 << 10);

void BM_SortList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<std::string> unsorted = ferrolux::bench::TypeList(static_cast<size_t>(count), kKinds);
  for (auto _ : state) {
    std::vector<std::string> list = unsorted;
    ferrolux::SortList(list, count, "D");
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_SortList)->Arg(40)->Arg(115);

// The cable-type list as the results screen shows it; each Down redraws the window.
void BM_PickListRedraw(benchmark::State& state) {
  const std::vector<std::string> list = ferrolux::bench::TypeList(kKinds, kKinds);
  ferrolux::HeadlessConsole h;
  int selection = 0;
  for (auto _ : state) {
    h.keyboard.Keys(std::vector<ferrolux::Key>(kDownPresses, ferrolux::keys::kDown)).Key(ferrolux::keys::kEnter);
    ferrolux::PickList(h.console, list, selection, kListTop, kListLeft, kListBottom, kText, kBackground, kFrame,
                       kFrameBackground, kText);
    benchmark::DoNotOptimize(selection);
  }
  state.SetItemsProcessed(state.iterations() * (kDownPresses + 1));
}
BENCHMARK(BM_PickListRedraw);

}  // namespace
