#pragma once
// The exact total loss as `compare` shows it beside the line equations' total: a range over the
// load phases when the SWR is given, one figure when an impedance is.

#include <array>
#include <string>
#include <tuple>

#include <nlohmann/json.hpp>

#include "model/cable_calculation.hpp"

namespace ferrolux {

// "0.57-1.65", "1.31", "from 1.68" (no upper end), "not passive" (no passive load gives the
// reading), "all lost" (a purely reactive load), "beyond" (a loss beyond any figure), "-" (no line
// data).
std::string ExactTotalText(const CableCalculation& c);

// [min, max] with null for no upper end, a number for an impedance, null when there is none.
nlohmann::ordered_json ExactTotalJson(const CableCalculation& c);

// The CSV cells exact_total_loss_db_min and _max; empty when there is no figure.
std::array<std::string, 2> ExactTotalCells(const CableCalculation& c);

// Ranges with an upper end by that end, then those without by their lower end, then the rest.
std::tuple<int, double, double> ExactSortKey(const CableCalculation& c);

}  // namespace ferrolux
