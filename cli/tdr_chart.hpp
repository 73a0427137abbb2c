#pragma once
// Distance to fault drawn: a computed response turned into the charts of it, for `tdr --plot`
// and `deembed --view tdr`; and the request both build from a sweep.

#include <complex>
#include <string>
#include <vector>

#include "chart/sweep_views.hpp"
#include "chart/tdr_view.hpp"
#include "cli/chart_output.hpp"
#include "cli/settings.hpp"
#include "model/cable_calculation.hpp"
#include "sweep/tdr.hpp"

namespace ferrolux::cli {

// The reflection of an impedance against `refOhms`; an open's infinite impedance reflects 1.
std::complex<double> ReflectionAgainst(std::complex<double> ohms, double refOhms);

// The cable's matched loss one way at each frequency, as ComputeTdr takes it out.
std::vector<double> LossDbPerMetre(const CableNumbers& cable, const std::vector<double>& freqHz);

struct TdrDrawn {
  double velocityFactor = 0;
  TdrWindow window = TdrWindow::kKaiser;
  std::string through;  // the line whose loss was taken out, or what lies between; empty when not known
  bool metric = false;
};

chart::TdrViewInput TdrViewInputOf(const TdrResult& result, const TdrDrawn& drawn, bool utf8);

// The reflection against distance, and the impedance profile below it when `profile`; the views
// read `input`.
// The reflection along the line of a sweep read at the shack, the line's loss taken out, out a
// little past its far end; throws CommandError for a sweep that cannot give one.
chart::TdrViewInput ShackTdr(const chart::SweepViewInput& sweep, const CableNumbers& cable, double velocityFactor,
                             double lengthFt, bool metric, bool utf8);

std::vector<ChartView> TdrViews(const chart::TdrViewInput& input, bool profile, const chart::ChartSettings& frame);

}  // namespace ferrolux::cli
