#pragma once
// What the program owns for a run (the tables, the settings and the shared error text), and
// the lists a single cycle works with.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux {

inline constexpr int kBandRows = 16;  // rows 0 to 15; row 0 stays empty
inline constexpr int kTextLinesBound = 24;
inline constexpr int kListBound = kCatalogCapacity;  // TypeList and RecordIndex: 0 to 115

// Row b: column 1 the menu line, column 2 the centre frequency as text.
using BandTable = std::array<std::array<std::string, 3>, kBandRows>;

struct ProgramState {
  CatalogTable catalog = MakeCatalogTable();
  BandTable bands{};

  std::string errorMessage;
  std::string runStartStamp;
  int recordCount = 0;

  float lengthFt = 0;
  float powerW = 0;
  float shackSwr = 0;
  float freqMHz = 0;
  int bandNumber = 0;
};

// The lists one cycle fills while the cable is chosen and its texts are shown.
struct CycleLists {
  std::vector<std::string> typeList = std::vector<std::string>(kListBound + 1);
  std::vector<std::int32_t> recordIndex = std::vector<std::int32_t>(kListBound + 1);
  std::vector<std::string> textLines = std::vector<std::string>(kTextLinesBound + 1);
};

}  // namespace ferrolux
