// The loader on arbitrary file bytes (any line ends, quotes, TABs, byte 26, overlong lines):
// the count always matches the records and nothing is read or written out of bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "catalog/catalog_reader.hpp"
#include "console/headless.hpp"
#include "console/text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ferrolux::HeadlessConsole h;
  for (int i = 0; i < 64; ++i) h.keyboard.Key("k");  // answers for overflow reports
  ferrolux::CatalogTable table = ferrolux::MakeCatalogTable();
  std::string error;
  std::size_t at = 0;
  // Deliver the bytes in uneven pieces so that line ends fall across reads.
  const ferrolux::ReadBytes read = [&](char* buffer, std::size_t room) -> ssize_t {
    const std::size_t piece = std::min({room, size - at, static_cast<std::size_t>(1 + at % 7)});
    std::memcpy(buffer, data + at, piece);
    at += piece;
    return static_cast<ssize_t>(piece);
  };
  try {
    ferrolux::LoadCatalogFrom(read, table, h.console, error);
  } catch (const ferrolux::ScriptExhausted&) {
    return 0;
  }
  const double count = ferrolux::ParseNumber(table[0][1]);
  if (count < 0 || count >= static_cast<double>(table.size())) __builtin_trap();
  return 0;
}
