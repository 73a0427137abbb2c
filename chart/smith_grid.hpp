#pragma once
// The Smith chart's grid as paths of reflection, for any renderer that draws lines through points.

#include <complex>
#include <string>
#include <vector>

namespace ferrolux::chart {

struct GridCurve {
  std::vector<std::complex<double>> path;
  bool rim = false;  // the circle r = 0, the edge of every passive impedance
};

// Resistance circles, reactance arcs and the real axis, sampled finely enough for a chart whose
// radius is `radius` dots or pixels.
std::vector<GridCurve> SmithGridCurves(double radius);

// The circle of constant SWR about the centre.
std::vector<std::complex<double>> SwrCirclePath(double swr, double radius);

struct GridLabel {
  std::complex<double> gamma;  // where the labelled line meets the real axis or the rim
  std::string text;
  bool onAxis;  // a resistance on the real axis, else a reactance on the rim
};
std::vector<GridLabel> SmithGridLabels();

}  // namespace ferrolux::chart
