#include "chart/smith_grid.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart/chart_scale.hpp"
#include "chart/smith_chart.hpp"

namespace ferrolux::chart {

namespace {

// A circle of reflection, at about one sample per dot of its circumference, keeping the points
// inside the unit circle.
std::vector<std::complex<double>> CircleWithin(std::complex<double> centre, double radius, double dots) {
  const int samples = std::clamp(static_cast<int>(2 * std::numbers::pi * radius * dots * 2), 16, 20000);
  std::vector<std::complex<double>> path;
  for (int i = 0; i <= samples; ++i) {
    const std::complex<double> gamma = centre + std::polar(radius, 2 * std::numbers::pi * i / samples);
    if (std::abs(gamma) <= 1 + 1e-9) path.push_back(gamma);
    else if (!path.empty()) break;
  }
  return path;
}

// An arc of constant reactance leaves the unit circle at its start; it is walked from the rim at
// Γ = 1 round to the rim on the far side.
std::vector<std::complex<double>> ReactanceArc(double x, double dots) {
  const std::complex<double> centre(1, 1 / x);
  const double radius = 1 / std::abs(x);
  const int samples = std::clamp(static_cast<int>(2 * std::numbers::pi * radius * dots * 2), 16, 20000);
  const double start = x > 0 ? -std::numbers::pi / 2 : std::numbers::pi / 2;
  const double turn = x > 0 ? -1 : 1;
  std::vector<std::complex<double>> path{1.0};
  for (int i = 1; i <= samples; ++i) {
    const std::complex<double> gamma = centre + std::polar(radius, start + turn * 2 * std::numbers::pi * i / samples);
    if (std::abs(gamma) > 1 + 1e-9) break;
    path.push_back(gamma);
  }
  return path;
}

std::string GridNumber(double value) { return FrequencyText(value); }

}  // namespace

std::vector<GridCurve> SmithGridCurves(double radius) {
  std::vector<GridCurve> curves;
  for (const double r : kSmithResistances)
    curves.push_back({CircleWithin({r / (1 + r), 0}, 1 / (1 + r), radius), r == 0});
  for (const double x : kSmithReactances)
    for (const double sign : {1.0, -1.0}) curves.push_back({ReactanceArc(sign * x, radius), false});
  curves.push_back({{-1.0, 1.0}, false});
  return curves;
}

std::vector<std::complex<double>> SwrCirclePath(double swr, double radius) {
  return CircleWithin(0, (swr - 1) / (swr + 1), radius);
}

std::vector<GridLabel> SmithGridLabels() {
  std::vector<GridLabel> labels;
  for (const double r : kSmithResistances) labels.push_back({(r - 1) / (r + 1), GridNumber(r), true});
  for (const double x : kSmithReactances)
    for (const double sign : {1.0, -1.0}) {
      const std::complex<double> z(0, sign * x);
      labels.push_back({(z - 1.0) / (z + 1.0), (sign > 0 ? "+j" : "-j") + GridNumber(x), false});
    }
  return labels;
}

}  // namespace ferrolux::chart
