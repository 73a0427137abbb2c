#pragma once
// `calc --path`: a feed line of several elements read from its text form against the catalog and
// worked out by the exact model.

#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "cli/exact_input.hpp"
#include "cli/settings.hpp"
#include "model/element_path.hpp"
#include "model/exact_figures.hpp"
#include "model/standing_wave.hpp"

namespace ferrolux::cli {

struct PathElementEntry {
  PathElement element;
  const CatalogRow* row = nullptr;  // a cable's catalog record
  std::string lengthText;           // a cable's length as typed ("6ft"), --length's form
  std::string vfText;               // its own velocity factor as typed after the @, or empty
};

// The elements shack end first. A name is matched as --cable's is; a text that cannot be read is a
// usage error naming the element, quoted, with the candidate cables below it.
std::vector<PathElementEntry> ReadPathText(const std::string& text, const std::vector<CatalogRow>& cables);

struct PathCalculation {
  std::vector<PathElementEntry> entries;
  double refOhms = 0;
  std::optional<PathFigures> figures;  // an impedance given
  std::optional<SwrRange> range;       // the SWR alone: the range over every load phase
  std::vector<WavePeaks> worstPeaks;   // the SWR alone: each element's at the worst load phase
  std::vector<double> matchedLossDb;   // each element's, into its own impedance
  bool passiveLoad = true;             // false: the shack impedance given needs an antenna resistance below 0
};

// `givenOhms` when above 0, else the first cable's impedance, else 50 Ohms.
double PathReferenceOhms(const std::vector<PathElementEntry>& entries, double givenOhms);

// The catalog records of the path's cables, shack end first.
std::vector<const CatalogRow*> PathCableRows(const PathCalculation& c);

PathCalculation CalculatePath(std::vector<PathElementEntry> entries, const Settings& settings,
                              const ExactRequest& exact);

}  // namespace ferrolux::cli
