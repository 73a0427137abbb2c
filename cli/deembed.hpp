#pragma once
// `ferrolux deembed`: a one-port sweep measured at the shack end of a cable, carried through the
// line model to the antenna.

#include <iosfwd>
#include <string>
#include <vector>

#include "catalog/cable.hpp"
#include "chart/chart.hpp"
#include "cli/output.hpp"
#include "model/line_model.hpp"
#include "sweep/touchstone.hpp"

namespace ferrolux::cli {

struct DeembedPoint {
  double freqMHz = 0;
  Complex shackZ, antennaZ;
  bool passive = true;  // false: the antenna end comes out active; no figures
  double shackSwr = 0, antennaSwr = 0, matchedLossDb = 0, totalLossDb = 0;
};

struct DeembedLine {
  CatalogCable cable;
  double lengthFt = 0;
  double velocityFactor = 0;  // the catalog's unless --vf
  double refOhms = 0;         // the cable's nominal impedance unless --ref-ohms
};

std::vector<DeembedPoint> Deembed(const Sweep& sweep, const DeembedLine& line);

void WriteDeembedText(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const std::vector<DeembedPoint>& points, const OutputStyle& style);
void WriteDeembedCsv(std::ostream& out, const std::vector<DeembedPoint>& points);
void WriteDeembedJson(std::ostream& out, const std::string& file, const DeembedLine& line,
                      const std::vector<DeembedPoint>& points);

// The antenna end as Touchstone 1.1 against the reference.
std::string AntennaSweepText(const DeembedLine& line, const std::vector<DeembedPoint>& points);

// The SWR at both ends against frequency; gaps where the antenna end is not passive.
chart::ChartSettings DeembedChart(const std::vector<DeembedPoint>& points, const OutputStyle& style);

}  // namespace ferrolux::cli
