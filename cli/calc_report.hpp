#pragma once
// What `ferrolux calc` writes: the results screen's figures beside the line equations', as text
// for people or as CSV and JSON for scripts.

#include <iosfwd>
#include <string_view>

#include "catalog/catalog.hpp"
#include "cli/calculation.hpp"
#include "cli/settings.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

// Said instead of figures when 10^(loss/10) is beyond a double: no reading of such a line exists.
inline constexpr std::string_view kBeyondAnyReading = "the line's loss is beyond any reading";
bool LossBeyondAnyReading(const Calculation& c);

void WriteCalcText(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c,
                   const OutputStyle& style);
void WriteCalcCsv(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c);
void WriteCalcJson(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c);

}  // namespace ferrolux::cli
