#pragma once
// Distance to fault as a chart: the reflection along a line against distance, its largest peaks
// named, and the impedance profile. The caller computes the response; these only draw it.

#include <cstddef>
#include <string>
#include <vector>

#include "chart/chart.hpp"

namespace ferrolux::chart {

struct TdrViewPeak {
  double distance = 0;  // in the input's unit
  double reflection = 0;
  bool capped = false;  // read above 1 and shown as 1
};

struct TdrViewInput {
  std::vector<double> reflection;     // evenly spaced from distance 0
  std::vector<double> impedanceOhms;  // the same spacing; empty without a profile
  double spacing = 1;                 // between two samples, in `unit`
  std::string unit = "m";
  bool signedReflection = true;    // low-pass; else |Γ|, which cannot tell an open from a short
  std::vector<TdrViewPeak> peaks;  // largest first
  std::string how;                 // "low-pass, Kaiser β 6, VF 0.66"
  std::string through;             // "RG-58A/U (Belden 8259), loss taken out"; empty when not known
};

inline constexpr std::size_t kMostTdrPeakLabels = 4;

// `input` must outlive the charts: their curves read its samples.
ChartSettings TdrReflectionView(const TdrViewInput& input, ChartSettings frame);
ChartSettings TdrImpedanceView(const TdrViewInput& input, ChartSettings frame);

}  // namespace ferrolux::chart
