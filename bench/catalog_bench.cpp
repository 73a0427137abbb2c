// Loading catalogs from the shipped size up to far beyond it: the time must grow linearly.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench_data.hpp"
#include "catalog/catalog.hpp"
#include "catalog/overflow_reporter.hpp"

namespace {

namespace fs = std::filesystem;

// A catalog file of `records` lines in a folder of its own, removed afterwards.
class CatalogFile {
 public:
  // `texts` bytes of description and uses make a line of the shipped catalog's length.
  explicit CatalogFile(size_t records, size_t texts = 0)
      : folder_(fs::temp_directory_path() / ("ferrolux-bench-" + std::to_string(getpid()))) {
    fs::create_directories(folder_);
    path_ = folder_ / ("catalog-" + std::to_string(records) + ".txt");
    std::ofstream out(path_, std::ios::binary);
    const std::string padding(texts, 't');
    for (size_t i = 1; i <= records; ++i) {
      std::string line = ferrolux::bench::CatalogLine(i);
      out << line.insert(line.size() - 2, padding);
    }
  }
  ~CatalogFile() { fs::remove_all(folder_); }
  CatalogFile(const CatalogFile&) = delete;
  CatalogFile& operator=(const CatalogFile&) = delete;
  const fs::path& Path() const { return path_; }

 private:
  fs::path folder_;
  fs::path path_;
};

// The benchmark's catalogs never overflow a split; a report would be a fault.
struct NoReports final : ferrolux::OverflowReporter {
  void PrintLine(const std::string& /*line*/) override { std::abort(); }
  void WaitForKey() override { std::abort(); }
};

// Loads the file once per iteration; range(0) is its record count.
void LoadRepeatedly(benchmark::State& state, const CatalogFile& file) {
  NoReports reports;
  std::string errorMessage;
  for (auto _ : state) {
    ferrolux::CatalogTable table = ferrolux::MakeCatalogTable();
    ferrolux::LoadCatalog(table, reports, errorMessage, file.Path());
    benchmark::DoNotOptimize(table.data());
  }
  if (!errorMessage.empty()) state.SkipWithError(errorMessage.c_str());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
void BM_LoadCatalog(benchmark::State& state) {
  LoadRepeatedly(state, CatalogFile(static_cast<size_t>(state.range(0))));
}
BENCHMARK(BM_LoadCatalog)->Arg(115)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The promised 100,000 cables at the longest shipped line (535 bytes): about 51 MiB.
void BM_LoadShippedLengthCatalog(benchmark::State& state) {
  LoadRepeatedly(state, CatalogFile(static_cast<size_t>(state.range(0)), 400));
}
BENCHMARK(BM_LoadShippedLengthCatalog)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
