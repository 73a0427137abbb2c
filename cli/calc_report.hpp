#pragma once
// What `ferrolux calc` writes: the results screen's figures beside the line equations', as text
// for people or as CSV and JSON for scripts.

#include <iosfwd>

#include "catalog/catalog.hpp"
#include "cli/calculation.hpp"
#include "cli/output.hpp"
#include "cli/settings.hpp"

namespace ferrolux::cli {

void WriteCalcText(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c,
                   const OutputStyle& style);
void WriteCalcCsv(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c);
void WriteCalcJson(std::ostream& out, const CatalogRow& cable, const Settings& settings, const Calculation& c);

}  // namespace ferrolux::cli
