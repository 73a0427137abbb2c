#pragma once
// Running `ferrolux deembed`: reading the sweep file, working it out, writing what was asked.

#include <iosfwd>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "cli/output.hpp"

namespace ferrolux::cli {

// The options as typed; empty when not given.
struct DeembedOptions {
  std::string file, cable, length, vf, refOhms, s1p, svg;
  std::string format = "text";
  bool metric = false, plot = false;
};

// A sweep file at fault is a failure (status 1) saying "FILE:LINE: what is wrong"; no output
// file is left half-written.
void RunDeembed(const DeembedOptions& options, const std::vector<CatalogRow>& cables, std::ostream& out,
                const OutputStyle& style);

}  // namespace ferrolux::cli
