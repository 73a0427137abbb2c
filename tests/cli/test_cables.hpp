#pragma once
// Catalog records for the subcommands' tests, made from TAB-separated lines as the file holds them.

#include <sstream>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux::cli {

inline CatalogRow Cable(const std::string& line) {
  CatalogRow row;
  std::istringstream fields(line);
  std::string field;
  for (int column = 1; column < kCatalogColumns - 1 && std::getline(fields, field, '\t'); ++column) row[column] = field;
  return row;
}

// The worked example's coefficients (k0 .5, k1 .2, k2 .001), a low-loss cable and a lossy one.
inline std::vector<CatalogRow> TestCables() {
  return {Cable("RG-8X\tTest RG-8X\t50\t.78\t25\tStranded Cu\tFoam PE\tBraid\tPVC\t0.242 in\t300 V\t.5\t.2\t.001\t"
                "A small test cable.\tTesting."),
          Cable("LMR-400\tTest LMR-400\t50\t.85\t24\tSolid Cu\tFoam PE\tFoil+braid\tPE\t0.405 in\t2500 V\t.1\t.12\t"
                ".0003\tA low-loss test cable.\tLong runs."),
          Cable("RG-174\tTest RG-174 long name for cutting\t50\t.66\t31\tSteel\tPE\tBraid\tPVC\t.11 in\t1100 V\t1.3\t"
                ".55\t.015\tA thin lossy cable.\tShort leads.")};
}

}  // namespace ferrolux::cli
