#pragma once
// The whole cable catalog built from the datasheet points and the cables' written facts.

#include <filesystem>
#include <string>
#include <vector>

#include "catalog/catalog_line.hpp"
#include "model/loss_fit.hpp"

namespace ferrolux::fit {

inline constexpr double kDefaultMaxMhz = 1000;

// The fitted coefficients as their catalog texts read back, and how well those fit.
struct ShippedFit {
  size_t pointsUsed = 0;
  Coefficients k;
  FitError error;
};

// Fits the points up to `maxMhz`. Throws InputError at `line` of `file` when fewer than three
// are left, or when their numbers are too extreme for any finite fit.
ShippedFit FitPoints(const std::vector<LossPoint>& points, double maxMhz, const std::filesystem::path& file, int line);

struct CableFit {
  std::string partNumber;  // as the catalog shows it
  ShippedFit fit;
};

struct BuiltCatalog {
  std::string text;  // CableCatalog.txt, byte for byte
  std::vector<CableFit> cables;
};

// One record per row of the facts file, in its order; the impedance, VF, capacitance and
// diameter come from the cable's first point row, k0, k1 and k2 from fitting its points up to
// `maxMhz`. Throws InputError at the first fault of either file.
BuiltCatalog BuildCatalog(const std::filesystem::path& points, const std::filesystem::path& facts,
                          double maxMhz = kDefaultMaxMhz);

// The middle value, or the mean of the two middle values; 0 for none.
double Median(std::vector<double> values);

}  // namespace ferrolux::fit
