#pragma once
// `ferrolux deembed`: a one-port sweep measured at the shack end of a cable, carried through the
// line model to the antenna.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "catalog/cable.hpp"
#include "chart/sweep_views.hpp"
#include "cli/path_calculation.hpp"
#include "model/deembedding.hpp"
#include "report/output.hpp"
#include "sweep/touchstone.hpp"

namespace ferrolux::cli {

struct DeembedLine {
  CatalogCable cable;
  double lengthFt = 0;
  double velocityFactor = 0;  // the catalog's unless --vf
  double refOhms = 0;         // the cable's nominal impedance unless --ref-ohms
  // Through a path of elements instead of the one cable: shack end first, and as typed.
  std::vector<PathElementEntry> path{};
  std::string pathText{};
};

// A sweep read at the shack seen at the antenna: a point is de-embedded when a writer asks for
// it, so a sweep of a million points costs its readings and never a second list.
class DeembeddedSweep {
 public:
  DeembeddedSweep(Sweep shack, const DeembedLine& line);
  std::size_t Size() const { return shack_.points.size(); }
  LinePoint operator[](std::size_t index) const;
  // The first point at or above `mhz`; Size() when there is none.
  std::size_t FirstFrom(double mhz) const;

 private:
  Sweep shack_;
  FeedLine line_;
  std::vector<PathElement> path_;
};

// What the figures over the sweep's frequencies rest on, as every subcommand says it.
std::vector<std::string> DeembedNotes(const DeembedLine& line, const DeembeddedSweep& points);

void WriteDeembedText(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const DeembeddedSweep& points, const OutputStyle& style);
void WriteDeembedCsv(std::ostream& out, const DeembeddedSweep& points);
void WriteDeembedJson(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const DeembeddedSweep& points);

// The antenna end as Touchstone 1.1 against the reference, a line at a time.
void WriteAntennaSweep(std::ostream& out, const DeembedLine& line, const DeembeddedSweep& points);

// Both ends of every point and what lies between them, as the views of the sweep draw them.
chart::SweepViewInput DeembedViewInput(const DeembeddedSweep& points, const DeembedLine& line, bool utf8);

}  // namespace ferrolux::cli
