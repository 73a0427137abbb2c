#pragma once
// Where the line model's figures rest on less than the catalog's published points: what every
// subcommand says beside figures outside a cable's points, and below 5 MHz for a centre conductor
// of copper-clad steel or aluminium. The wording and the decision are here alone.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.hpp"
#include "report/output.hpp"

namespace ferrolux {

// Below this a clad centre conductor's loss outgrows the k1 sqrt f the fit gives it: the skin
// depth reaches through the copper into the steel or aluminium.
inline constexpr double kCladConductorMHz = 5;

// Whether figures from `lowestMHz` to `highestMHz` go beyond the published points the cable's
// loss was fitted to; false for a cable of which none are known.
bool Extrapolated(std::string_view partNumber, double lowestMHz, double highestMHz);

// Whether the catalog's centre conductor text names copper-clad steel or aluminium.
bool CladCentreConductor(std::string_view conductor);

// The lines said beside figures of `cables` from `lowestMHz` to `highestMHz` (one for
// extrapolated figures, one for clad centre conductors); none when neither applies. Catalog
// bytes as they are.
std::vector<std::string> LineLimitLines(const std::vector<const CatalogRow*>& cables, double lowestMHz,
                                        double highestMHz);

// The lines after a blank one, as the notes of the text outputs are written; nothing for none.
void WriteLineLimits(std::ostream& out, const std::vector<std::string>& lines, const OutputStyle& style);

// The lines as text for the output, broken at blanks to fit `width` columns (a word wider than
// that stays whole), in the notes' colour: for below a chart, which keeps to its size.
std::vector<std::string> FittedLineLimits(const std::vector<std::string>& lines, int width, const OutputStyle& style);

}  // namespace ferrolux
