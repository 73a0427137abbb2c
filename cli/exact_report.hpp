#pragma once
// The exact line model's block in what `calc` writes: text below the two columns, an "exact"
// object in JSON, exact_ columns in CSV.

#include <iosfwd>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/calculation.hpp"
#include "cli/settings.hpp"
#include "report/output.hpp"
#include "report/records.hpp"

namespace ferrolux::cli {

// Said when the shack's reading needs a load at the antenna of resistance below 0, for one line or a path.
inline constexpr std::string_view kNoPassiveLoad =
    "No passive load at the antenna gives this reading at the shack: check the length, the cable and the "
    "calibration.";

void WriteExactText(std::ostream& out, const Settings& settings, const Calculation& c, const OutputStyle& style);

// Null when the cable lacks the data the line model needs.
nlohmann::ordered_json ExactJson(const Calculation& c);

// The exact figures over every load phase that gives the shack's SWR, for one line or a path.
void WriteRangeText(std::ostream& out, const SwrRange& r, double shackSwr, double refOhms);
nlohmann::ordered_json RangeJson(const SwrRange& r);

void AppendExactFields(Record& record, const Calculation& c);

// "50.04-j1.83"; "open" for an infinite impedance (S = 1).
std::string ImpedanceText(Complex z);

}  // namespace ferrolux::cli
