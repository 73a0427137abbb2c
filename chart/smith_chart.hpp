#pragma once
// Impedances of a sweep on an impedance Smith chart, in the terminal and as SVG: no cable, no
// command line; the caller fills in the loci and the reference.

#include <complex>
#include <optional>
#include <string>
#include <vector>

namespace ferrolux::chart {

struct SmithSample {
  double mhz = 0;
  std::complex<double> ohms;
};

struct SmithTrace {
  std::string label;
  std::vector<SmithSample> samples;  // in rising frequency
  bool dashed = false;
};

struct SmithSettings {
  std::vector<SmithTrace> traces;  // up to 8; the first gets the frequency labels
  double refOhms = 50;             // the chart's centre
  double swrCircle = 0;            // drawn when above 1
  std::string title;
  int width = 80, height = 24;  // terminal cells, or ten by twenty pixels each in SVG
  bool utf8 = true;
  bool color = true;
};

// The reflection coefficient of an impedance against the reference: 1 for an open (infinite)
// one, nullopt for one that cannot be drawn (not finite, not passive).
std::optional<std::complex<double>> ReflectionOf(std::complex<double> ohms, double refOhms);

// Where the unit circle of reflection sits in a picture whose y grows downwards.
struct SmithPoint {
  double x, y;
};
struct SmithFrame {
  double centreX = 0, centreY = 0, radiusX = 1, radiusY = 1;
  SmithPoint At(std::complex<double> gamma) const {
    return {centreX + gamma.real() * radiusX, centreY - gamma.imag() * radiusY};
  }
};
// The largest round circle in width x height units, where one unit across is `acrossPerDown`
// times as long as one down; `margin` units kept clear on every side.
SmithFrame FitSmithFrame(double width, double height, double acrossPerDown, double margin);

// Exactly `height` lines of `width` cells, or one line saying why no chart fits.
std::vector<std::string> DrawSmithChart(const SmithSettings& chart);
std::string DrawSvgSmithChart(const SmithSettings& chart);

// The labelled grid: resistance circles and reactance arcs, in units of the reference.
inline constexpr double kSmithResistances[] = {0, 0.2, 0.5, 1, 2, 5};
inline constexpr double kSmithReactances[] = {0.2, 0.5, 1, 2, 5};

// The samples of the first trace that carry a frequency label: both ends and a few between.
std::vector<std::size_t> SmithLabelledSamples(const SmithTrace& trace, int most);

}  // namespace ferrolux::chart
