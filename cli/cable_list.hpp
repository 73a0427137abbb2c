#pragma once
// `ferrolux cables`: the catalog, one line per cable with its matched loss at four frequencies.

#include <array>
#include <iosfwd>
#include <vector>

#include "catalog/catalog.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

inline constexpr std::array<int, 4> kListedMHz = {10, 30, 146, 440};

// What the text table reads of each cable.
inline constexpr int kTableColumns[] = {
    column::kType,     column::kPartNumber, column::kImpedance, column::kVelocityFactor,
    column::kDiameter, column::kK0,         column::kK1,        column::kK2};

// Losses per 100 ft, or per 100 m when `metric`.
// The text table takes the cables over and lets them go before it lays the table out.
void WriteCablesText(std::ostream& out, std::vector<CatalogRow> cables, bool metric, const OutputStyle& style);
void WriteCablesCsv(std::ostream& out, const std::vector<CatalogRow>& cables, bool metric);
void WriteCablesJson(std::ostream& out, const std::vector<CatalogRow>& cables, bool metric);

}  // namespace ferrolux::cli
