#include "cli/catalog_source.hpp"

#include <algorithm>
#include <ostream>

#include "catalog/overflow_reporter.hpp"
#include "cli/command_error.hpp"
#include "cli/output.hpp"

namespace ferrolux::cli {

namespace {

// Nobody is there to press a key: the report is printed and loading goes on.
class StreamOverflowReporter final : public OverflowReporter {
 public:
  explicit StreamOverflowReporter(std::ostream& err) : err_(err) {}
  void PrintLine(const std::string& line) override { err_ << DisplayText(line) << '\n'; }
  void WaitForKey() override {}

 private:
  std::ostream& err_;
};

bool HoldsAnything(const CatalogRow& row) {
  return std::any_of(row.begin(), row.end(), [](const std::string& cell) { return !cell.empty(); });
}

}  // namespace

std::vector<CatalogRow> LoadCables(const std::filesystem::path& file, std::ostream& err) {
  CatalogTable table = MakeCatalogTable();
  StreamOverflowReporter reporter(err);
  std::string errorMessage;
  LoadCatalog(table, reporter, errorMessage, file);
  const std::string name = file.string();
  if (!errorMessage.empty()) throw CommandError(kExitFailure, name + ": " + errorMessage);
  // The records in place of the table, so a large catalog is never held twice.
  const auto count = static_cast<size_t>(RecordCount(table));
  table.resize(std::min(count + 1, table.size()));
  table.erase(table.begin());
  std::erase_if(table, [](const CatalogRow& row) { return !HoldsAnything(row); });
  if (table.empty()) throw CommandError(kExitFailure, name + ": holds no cables");
  return table;
}

}  // namespace ferrolux::cli
