#pragma once
// The figures of one element of a path as named fields, shared by the path's text, CSV and JSON.

#include <optional>
#include <string>

#include "catalog/voltage_rating.hpp"
#include "cli/path_calculation.hpp"
#include "report/records.hpp"

namespace ferrolux::cli {

// "RG-8X, Belden 9258, 6ft", "UHF", "0.2 dB"; catalog bytes as they are.
std::string ElementName(const PathElementEntry& entry);
const char* ElementKindName(ElementKind kind);

// The path in a title's few words: "RG-8X 6 ft, UHF, LMR-400 100 ft, 0.2 dB"; catalog bytes as they are.
std::string PathTitle(const std::vector<PathElementEntry>& entries);

// A cable's rating cell as the catalog gives it; empty for any other element.
std::string RatingText(const PathElementEntry& entry);
std::optional<VoltageRating> RatingOf(const PathElementEntry& entry);

// Whether the element's figures carry power: an impedance was given and power flows into the path.
bool HasPowerFigures(const PathCalculation& c);

// Whether the cables' highest voltages and currents are known: for the load, or at the worst of
// every load phase when only the SWR is.
bool HasCablePeaks(const PathCalculation& c);
WavePeaks CablePeaks(const PathCalculation& c, size_t i);

// Element `i`'s fields; numbers that are not figures (an infinite loss, none without a load) are null.
Record ElementRecord(const PathCalculation& c, size_t i);

}  // namespace ferrolux::cli
