#pragma once
// One record written as the catalog file holds it, and its numbers as the catalog writes them.

#include <string>
#include <string_view>

#include "catalog/catalog.hpp"

namespace ferrolux {

// Fields 1 to 16 of `record` between TABs, ended by CR LF, the only line end the loader takes.
std::string CatalogLine(const CatalogRow& record);

// A typed UTF-8 text as the catalog's single-byte (Windows-1252) field, blanks at the ends
// dropped as the loader drops them; `fault` says why the loader could not read it back as
// typed (blank, a control character, TAB, double quote, a character Windows-1252 lacks) and
// is empty when it can.
struct CatalogField {
  std::string bytes;
  std::string fault;
};
CatalogField CatalogFieldOfTyped(std::string_view utf8);

// Whether the loader takes `line` (with its CR LF) as one record: a longer line makes it
// refuse the whole catalog.
bool FitsCatalogLine(const std::string& line);

// Six significant digits in plain decimals, trailing zeros dropped: 0.000449123, 0.11499, 0;
// a value that is not finite, which no fit gives, reads 0.
std::string CoefficientText(double k);

// The nominal impedance in whole ohms (50) and the velocity factor to two decimals with
// trailing zeros dropped (0.66, 0.7): the catalog's own precision for them.
std::string ImpedanceText(double ohms);
std::string VelocityFactorText(double vf);

}  // namespace ferrolux
