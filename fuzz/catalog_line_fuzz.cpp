// The catalog-line writer on typed texts of arbitrary bytes: whatever it takes reads back
// through the real loader as one record holding exactly the bytes it wrote, so no typed text
// can hide, split or refuse the catalog it is appended to.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalog/catalog_line.hpp"
#include "catalog/catalog_reader.hpp"
#include "catalog/overflow_reporter.hpp"

namespace {

class SilentReporter : public ferrolux::OverflowReporter {
 public:
  void PrintLine(const std::string&) override {}
  void WaitForKey() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ferrolux;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const CatalogField type = CatalogFieldOfTyped(input.substr(0, size / 2));
  const CatalogField part = CatalogFieldOfTyped(input.substr(size / 2));
  if (!type.fault.empty() || !part.fault.empty()) return 0;
  CatalogRow record;
  record[column::kType] = type.bytes;
  record[column::kPartNumber] = part.bytes;
  const std::string line = CatalogLine(record);
  if (!FitsCatalogLine(line)) return 0;
  std::size_t at = 0;
  const ReadBytes read = [&](char* buffer, std::size_t room) -> ssize_t {
    const std::size_t count = std::min(room, line.size() - at);
    std::memcpy(buffer, line.data() + at, count);
    at += count;
    return static_cast<ssize_t>(count);
  };
  CatalogTable table = MakeCatalogTable();
  SilentReporter reporter;
  std::string error;
  if (LoadCatalogFrom(read, table, reporter, error) != LoadDetail::kNone || !error.empty() || RecordCount(table) != 1 ||
      table[1][column::kType] != type.bytes || table[1][column::kPartNumber] != part.bytes)
    __builtin_trap();
  return 0;
}
