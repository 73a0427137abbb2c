#pragma once
// What `calc --path` writes: a row per element with its loss and the impedance, SWR and power at
// the joint in front of it, the highest voltage and current along each cable against its rating,
// as text for people or as CSV and JSON for scripts.

#include <iosfwd>
#include <string>

#include "cli/path_calculation.hpp"
#include "cli/settings.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

void WritePathText(std::ostream& out, const Settings& settings, const PathCalculation& c, const OutputStyle& style);
void WritePathCsv(std::ostream& out, const Settings& settings, const PathCalculation& c);
void WritePathJson(std::ostream& out, const std::string& text, const Settings& settings, const PathCalculation& c);

}  // namespace ferrolux::cli
