#include "cli/tdr_chart.hpp"

#include <cmath>
#include <sstream>

#include "cli/command_error.hpp"

namespace ferrolux::cli {

namespace {

constexpr double kShownPastTheLine = 1.25;  // the far end, and what lies just beyond it

// "low-pass, Kaiser β 6, VF 0.66"
std::string HowText(const TdrResult& result, const TdrDrawn& drawn, bool utf8) {
  std::string window(WindowName(drawn.window));
  if (const auto beta = window.find("beta"); utf8 && beta != std::string::npos) window.replace(beta, 4, "β");
  std::ostringstream text;
  text << (result.mode == TdrMode::kLowPass ? "low-pass" : "band-pass") << ", " << window << ", VF "
       << drawn.velocityFactor;
  return text.str();
}

}  // namespace

std::complex<double> ReflectionAgainst(std::complex<double> ohms, double refOhms) {
  if (std::isinf(ohms.real()) || std::isinf(ohms.imag())) return 1;
  return (ohms - refOhms) / (ohms + refOhms);
}

std::vector<double> LossDbPerMetre(const CableNumbers& cable, const std::vector<double>& freqHz) {
  std::vector<double> loss;
  loss.reserve(freqHz.size());
  for (const double hz : freqHz) loss.push_back(MatchedLossPer100Ft(cable, hz / 1e6) / (100 * kMetresPerFoot));
  return loss;
}

chart::TdrViewInput TdrViewInputOf(const TdrResult& result, const TdrDrawn& drawn, bool utf8) {
  chart::TdrViewInput input;
  const double perMetre = drawn.metric ? 1 : 1 / kMetresPerFoot;
  input.unit = drawn.metric ? "m" : "ft";
  input.spacing = (result.points.size() > 1 ? result.points[1].distanceM : 1) * perMetre;
  input.signedReflection = result.mode == TdrMode::kLowPass;
  input.reflection.reserve(result.points.size());
  for (const TdrPoint& point : result.points) {
    input.reflection.push_back(point.reflection);
    if (point.impedanceOhms) input.impedanceOhms.push_back(*point.impedanceOhms);
  }
  for (const TdrPeak& peak : result.peaks)
    input.peaks.push_back({peak.distanceM * perMetre, peak.reflection, peak.capped});
  input.how = HowText(result, drawn, utf8);
  if (!drawn.through.empty()) input.through = drawn.through + (result.lossTakenOut ? ", loss taken out" : "");
  return input;
}

chart::TdrViewInput ShackTdr(const chart::SweepViewInput& sweep, const CableNumbers& cable, double velocityFactor,
                             double lengthFt, bool metric, bool utf8) {
  TdrRequest request;
  request.refOhms = sweep.refOhms;
  request.velocityFactor = velocityFactor;
  for (const chart::ViewPoint& point : sweep.points) {
    request.freqHz.push_back(point.mhz * 1e6);
    request.reflection.push_back(ReflectionAgainst(point.shackOhms, sweep.refOhms));
  }
  request.lossDbPerMetre = LossDbPerMetre(cable, request.freqHz);
  request.lengthMaxM = kShownPastTheLine * lengthFt * kMetresPerFoot;
  try {
    const TdrResult result = ComputeTdr(request);
    return TdrViewInputOf(result, {velocityFactor, request.window, sweep.through, metric}, utf8);
  } catch (const TdrError& e) {
    throw CommandError(kExitFailure, std::string("--view tdr: ") + e.what());
  }
}

std::vector<ChartView> TdrViews(const chart::TdrViewInput& input, bool profile, const chart::ChartSettings& frame) {
  std::vector<ChartView> views{chart::TdrReflectionView(input, frame)};
  if (profile && !input.impedanceOhms.empty()) views.emplace_back(chart::TdrImpedanceView(input, frame));
  return views;
}

}  // namespace ferrolux::cli
