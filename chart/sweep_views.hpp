#pragma once
// The views of a one-port sweep seen at both ends of a feed line: SWR, R and X against
// frequency, and the Smith chart. The caller reads and de-embeds the sweep; these only draw it.

#include <complex>
#include <string>
#include <vector>

#include "chart/chart.hpp"
#include "chart/smith_chart.hpp"

namespace ferrolux::chart {

struct ViewPoint {
  double mhz = 0;
  std::complex<double> antennaOhms, shackOhms;
};

struct SweepViewInput {
  std::vector<ViewPoint> points;  // in rising frequency
  double refOhms = 50;
  std::string through;  // what lies between the two ends: "100 ft of RG-58A/U (Belden 8259)"
};

inline constexpr double kDefaultSwrTop = 10;

// SWR at both ends on a logarithmic axis from 1 to `swrTop`, each trace's lowest SWR named.
// `input` must outlive the chart: its curves read the points they pass through.
ChartSettings SwrView(const SweepViewInput& input, ChartSettings frame, double swrTop);
// R and X at the antenna, and dashed at the shack, the antenna's resonances named.
ChartSettings ResistanceReactanceView(const SweepViewInput& input, ChartSettings frame);
// Both loci on a Smith chart about the reference, with an SWR circle when `swrCircle` is above 1.
SmithSettings SmithView(const SweepViewInput& input, const ChartSettings& frame, double swrCircle);

// The SWR of an impedance against the reference, at most 1e5; not a number when it is not passive.
double SwrOf(std::complex<double> ohms, double refOhms);

// Where the reactance crosses zero, interpolated between the points either side.
std::vector<double> ReactanceZeros(const std::vector<ViewPoint>& points, std::size_t most);

}  // namespace ferrolux::chart
