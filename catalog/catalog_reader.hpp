#pragma once
// Reading the catalog's bytes, kept apart from splitting them so that a read failing part-way
// can be tested.

#include <sys/types.h>
#include <functional>
#include <string>

#include "catalog/catalog.hpp"

namespace ferrolux {

inline constexpr size_t kMaxCatalogBytes = 16u << 20;  // a catalog is a few KiB; refuse absurd files
// Each record costs a row of 18 cells, however short its line: a file of nothing but line ends
// must not cost gigabytes.
inline constexpr size_t kMaxCatalogRecords = 100'000;

// Reads up to `size` bytes into `buffer`: the count, 0 at the end, or -1 with errno set.
using ReadBytes = std::function<ssize_t(char* buffer, size_t size)>;

// Fills the table from the bytes `read` delivers. On a read failure the complete lines before
// it stay in the table, no count is stored and the failure is left in `errorMessage`.
void LoadCatalogFrom(const ReadBytes& read, CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage);

}  // namespace ferrolux
