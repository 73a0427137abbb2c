#pragma once
// One record written as the catalog file holds it, and its numbers as the catalog writes them.

#include <string>

#include "catalog/catalog.hpp"

namespace ferrolux {

// Fields 1 to 16 of `record` between TABs, ended by CR LF, the only line end the loader takes.
std::string CatalogLine(const CatalogRow& record);

// Six significant digits in plain decimals, trailing zeros dropped: 0.000449123, 0.11499, 0;
// a value that is not finite, which no fit gives, reads 0.
std::string CoefficientText(double k);

// The nominal impedance in whole ohms (50) and the velocity factor to two decimals with
// trailing zeros dropped (0.66, 0.7): the catalog's own precision for them.
std::string ImpedanceText(double ohms);
std::string VelocityFactorText(double vf);

}  // namespace ferrolux
