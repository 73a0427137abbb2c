#pragma once
// Running `ferrolux deembed`: reading the sweep file, working it out, writing what was asked.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "report/output.hpp"
#include "report/records.hpp"

namespace ferrolux::cli {

// The options as typed; empty when not given.
struct DeembedOptions {
  std::string file, cable, length, path, vf, refOhms, s1p, svg, swrMax, swrCircle;
  std::vector<std::string> views;  // swr, rx, smith in the order asked; none for SWR alone
  OutputFormat format = OutputFormat::kText;
  bool metric = false, plot = false;
};

// The options' numbers, read before the catalog or any file; a fault is a UsageError naming the
// option. Empty for the catalog's own value.
struct DeembedNumbers {
  double lengthFt = 0;
  std::optional<double> velocityFactor, refOhms;
  double swrMax = 0, swrCircle = 0;  // 0 when not given
};
DeembedNumbers ReadDeembedOptions(const DeembedOptions& options);

// A sweep file at fault is a failure (status 1) saying "FILE:LINE: what is wrong"; no output
// file is left half-written.
void RunDeembed(const DeembedOptions& options, const std::vector<CatalogRow>& cables, std::ostream& out,
                const OutputStyle& style);

}  // namespace ferrolux::cli
