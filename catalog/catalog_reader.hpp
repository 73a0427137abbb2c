#pragma once
// Reading the catalog's bytes, kept apart from splitting them so that a read failing part-way,
// or a file changing while it is read, can be tested.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "catalog/catalog.hpp"

namespace ferrolux {

// Each record costs a row of 18 cells, however short its line: a file of nothing but line ends
// must not cost gigabytes.
inline constexpr size_t kMaxCatalogRecords = 100'000;
// The results screen wraps each of the two free texts into at most 24 lines of 90 columns
// (2,160 characters); this holds both at that length beside the short fields, and more could
// never be shown.
inline constexpr size_t kMaxCatalogLineBytes = 8192;
// Every record at the longest line with its CR LF: a larger file cannot be a catalog.
inline constexpr size_t kMaxCatalogBytes = kMaxCatalogRecords * (kMaxCatalogLineBytes + 2);

// Reads up to `size` bytes into `buffer`: the count, 0 at the end, or -1 with errno set.
using ReadBytes = std::function<std::ptrdiff_t(char* buffer, size_t size)>;

// Fills the table from the bytes `read` delivers. On a read failure the complete lines before
// it stay in the table, no count is stored and the failure is left in `errorMessage`.
LoadDetail LoadCatalogFrom(const ReadBytes& read, CatalogTable& table, OverflowReporter& reporter,
                           std::string& errorMessage);

// As read(2) on the open catalog; a test stands in a writer that changes the file meanwhile.
using ReadFileBytes = std::function<std::ptrdiff_t(int descriptor, char* buffer, size_t size)>;

// A writer that takes no lock truncates and writes the file again: a read between the two sees
// it cut short, a last line without its line end, and a change moments ago. Such a file is read
// again after `pause` for as long as its last change is `recent`; one still changing is refused.
struct RewriteWait {
  std::chrono::milliseconds recent{1000};
  std::chrono::milliseconds pause{100};
  std::function<void(std::chrono::milliseconds)> sleep;  // a test stands in the writer; else sleep_for
};

// LoadCatalog with the reading of the open file handed in.
LoadDetail LoadCatalogFile(CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage,
                           const std::filesystem::path& file, std::chrono::milliseconds lockPatience,
                           const ReadFileBytes& read, const RewriteWait& rewrite = {});

}  // namespace ferrolux
