#pragma once
// Cable choice (type, then part number), the calculation and the results screen.

#include <array>
#include <string>

#include "catalog/catalog.hpp"

namespace ferrolux {

class Console;
struct ProgramState;
struct CycleLists;

inline constexpr int kCableBlockRows = 4;

// The texts of the cable block's rows 5 to 8, each printed from column 5; the last one wraps
// over the frame when its facts are too long.
std::array<std::string, kCableBlockRows> CableBlockRows(const CatalogRow& cable);

// Leaves the results on the screen for the closing question; `lists` are this cycle's.
void ChooseCableAndShowResults(Console& console, ProgramState& state, CycleLists& lists);

}  // namespace ferrolux
