// The loader on arbitrary file bytes (any line ends, quotes, TABs, byte 26, overlong lines):
// the count always matches the records and nothing is read or written out of bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "catalog/catalog_reader.hpp"
#include "catalog/overflow_reporter.hpp"
#include "text/text.hpp"

namespace {

// An input starting with '*' and a count stands for its rest repeated up to count x 64 bytes,
// so that files of many lines are tried too (the size limits have tests of their own).
constexpr std::uint8_t kRepeatMark = '*';
constexpr std::size_t kRepeatUnit = 64;

struct Stream {
  const std::uint8_t* pattern;
  std::size_t patternSize;
  std::size_t size;
};

Stream StreamOf(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || data[0] != kRepeatMark) return {data, size, size};
  return {data + 2, size - 2, (1 + static_cast<std::size_t>(data[1])) * kRepeatUnit};
}

struct IgnoredReports final : ferrolux::OverflowReporter {
  void PrintLine(const std::string&) override {}
  void WaitForKey() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Stream stream = StreamOf(data, size);
  IgnoredReports reports;
  ferrolux::CatalogTable table = ferrolux::MakeCatalogTable();
  std::string error;
  std::size_t at = 0;
  // Deliver the bytes in uneven pieces so that line ends fall across reads.
  const ferrolux::ReadBytes read = [&](char* buffer, std::size_t room) -> ssize_t {
    const std::size_t piece = std::min({room, stream.size - at, static_cast<std::size_t>(1 + at % 7)});
    for (std::size_t i = 0; i < piece; ++i)
      buffer[i] = static_cast<char>(stream.pattern[(at + i) % stream.patternSize]);
    at += piece;
    return static_cast<ssize_t>(piece);
  };
  ferrolux::LoadCatalogFrom(read, table, reports, error);
  const double count = ferrolux::ParseNumber(table[0][1]);
  if (count < 0 || count >= static_cast<double>(table.size())) __builtin_trap();
  return 0;
}
