#include "cli/catalog_source.hpp"

#include <algorithm>
#include <cstddef>
#include <ostream>

#include "catalog/catalog_reader.hpp"
#include "catalog/overflow_reporter.hpp"
#include "cli/command_error.hpp"
#include "platform/utf8_args.hpp"
#include "report/output.hpp"

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

// 100000 as "100,000": limits are read by people.
std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

// What a script's user needs beyond the loader's own text, which the calculator shows alone.
std::string Explained(const std::string& message, LoadDetail detail) {
  switch (detail) {
    case LoadDetail::kNone: return message;
    case LoadDetail::kLockedForWriting: return message + " (locked for writing by another program)";
    case LoadDetail::kChangedWhileRead: return message + " (changed by another program while it was read)";
    case LoadDetail::kFileTooLarge: return message + " (larger than " + Grouped(kMaxCatalogBytes) + " bytes)";
    case LoadDetail::kLineTooLong: return message + " (a line longer than " + Grouped(kMaxCatalogLineBytes) + " bytes)";
    case LoadDetail::kTooManyRecords: return message + " (more than " + Grouped(kMaxCatalogRecords) + " records)";
  }
  return message;
}

bool HoldsAnything(const CatalogRow& row) {
  return std::any_of(row.begin(), row.end(), [](const std::string& cell) { return !cell.empty(); });
}

}  // namespace

std::vector<CatalogRow> LoadCables(const std::filesystem::path& file, std::ostream& err) {
  CatalogTable table = MakeCatalogTable();
  StreamOverflowReporter reporter(err);
  std::string errorMessage;
  const LoadDetail detail = LoadCatalog(table, reporter, errorMessage, file);
  const std::string name = platform::Utf8OfPath(file);
  if (!errorMessage.empty()) throw CommandError(kExitFailure, name + ": " + Explained(errorMessage, detail));
  // The records in place of the table, so a large catalog is never held twice.
  const auto count = static_cast<size_t>(RecordCount(table));
  table.resize(std::min(count + 1, table.size()));
  table.erase(table.begin());
  std::erase_if(table, [](const CatalogRow& row) { return !HoldsAnything(row); });
  if (table.empty()) throw CommandError(kExitFailure, name + ": holds no cables");
  return table;
}

std::vector<CatalogRow> OnlyColumns(std::vector<CatalogRow> cables, std::span<const int> kept) {
  for (CatalogRow& cable : cables) {
    for (size_t c = 0; c < cable.size(); ++c) {
      if (std::find(kept.begin(), kept.end(), static_cast<int>(c)) == kept.end()) std::string().swap(cable[c]);
    }
  }
  return cables;
}

}  // namespace ferrolux::cli
