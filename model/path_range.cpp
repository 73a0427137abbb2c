#include "model/path_range.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/golden_section.hpp"

namespace ferrolux {

namespace {

// The load's volts and amps through the inverse chain matrix. The stored matrix is the true one
// over a factor of size e^logScale, and the true one has determinant 1, so its inverse is that
// factor times the stored adjugate; the factor's phase is common to both and no power sees it.
LoadWaves WavesThrough(const Abcd& m, double refOhms) {
  const double size = std::exp(m.logScale);
  return {size * (m.d + m.b / refOhms), size * (m.d - m.b / refOhms), -size * (m.c + m.a / refOhms),
          size * (m.a / refOhms - m.c)};
}

constexpr int kPhaseSamples = 72, kPhaseRefinements = 24;

Complex ShackZOf(Complex reflection, double refOhms) { return refOhms * (1.0 + reflection) / (1.0 - reflection); }

// The peaks along every element with the shack reading `shackReflection`; none for a phase no
// passive load gives.
std::vector<WavePeaks> PeaksAtPhase(const std::vector<PathElement>& path, const Abcd& whole, double freqMHz,
                                    Complex shackReflection, double refOhms, double powerW) {
  const Complex antennaZ = AntennaZThrough(whole, ShackZOf(shackReflection, refOhms));
  const PathFigures figures = SolvePath(path, freqMHz, antennaZ, refOhms, powerW);
  std::vector<WavePeaks> peaks(path.size());
  if (!figures.powerFigures) return peaks;
  for (size_t k = 0; k < path.size(); ++k) peaks[k] = {figures.elements[k].peakVolts, figures.elements[k].peakAmps};
  return peaks;
}

// The highest of `figure` over the phases: the best sample, then a golden-section search between
// its neighbours, where the figure has its one peak.
template <typename Figure>
double HighestOverPhases(const std::vector<double>& sampled, Figure figure) {
  const double step = 2 * std::numbers::pi / kPhaseSamples;
  const auto best = std::ranges::max_element(sampled);
  const double low = (static_cast<double>(best - sampled.begin()) - 1) * step;
  return std::max(*best, PeakBetween(low, low + 2 * step, kPhaseRefinements, figure));
}

}  // namespace

double ElementMatchedLossDb(const PathElement& element, double freqMHz) {
  switch (element.kind) {
    case ElementKind::kCable: {
      const PathCable& c = element.cable;
      return MatchedLossDb(MakeLine(c.numbers, c.velocityFactor, freqMHz, c.lengthM));
    }
    case ElementKind::kConnector: return ConnectorLossDb(element.connector, freqMHz);
    case ElementKind::kLumped: break;
  }
  return element.lumpedDb;
}

double PathMatchedLossDb(const std::vector<PathElement>& path, double freqMHz) {
  double total = 0;
  for (const PathElement& element : path) total += ElementMatchedLossDb(element, freqMHz);
  return total;
}

double PathCablesMatchedLossDb(const std::vector<PathElement>& path, double freqMHz) {
  double total = 0;
  for (const PathElement& element : path)
    if (element.kind == ElementKind::kCable) total += ElementMatchedLossDb(element, freqMHz);
  return total;
}

SwrRange PathSwrRange(const std::vector<PathElement>& path, double freqMHz, double shackSwr, double refOhms,
                      double powerW) {
  return SwrRangeOfWaves(WavesThrough(PathAbcd(path, freqMHz, refOhms), refOhms), PathMatchedLossDb(path, freqMHz),
                         shackSwr, refOhms, powerW);
}

std::vector<WavePeaks> PathWorstPeaks(const std::vector<PathElement>& path, double freqMHz, double shackSwr,
                                      double refOhms, double powerW) {
  const double m = std::isinf(shackSwr) ? 1 : (shackSwr - 1) / (shackSwr + 1);
  if (!(m < 1)) return {};
  const Abcd whole = PathAbcd(path, freqMHz, refOhms);
  std::vector<std::vector<WavePeaks>> samples;
  samples.reserve(kPhaseSamples);
  for (int k = 0; k < kPhaseSamples; ++k)
    samples.push_back(
        PeaksAtPhase(path, whole, freqMHz, std::polar(m, 2 * std::numbers::pi * k / kPhaseSamples), refOhms, powerW));
  std::vector<WavePeaks> worst(path.size());
  for (size_t e = 0; e < path.size(); ++e) {
    if (path[e].kind != ElementKind::kCable) continue;
    std::vector<double> volts, amps;
    for (const std::vector<WavePeaks>& sample : samples)
      volts.push_back(sample[e].volts), amps.push_back(sample[e].amps);
    const auto at = [&](double phase) {
      const Complex antennaZ = AntennaZThrough(whole, ShackZOf(std::polar(m, phase), refOhms));
      return CablePeaksThrough(path, e, freqMHz, antennaZ, refOhms, powerW);
    };
    worst[e] = {HighestOverPhases(volts, [&](double phase) { return at(phase).volts; }),
                HighestOverPhases(amps, [&](double phase) { return at(phase).amps; })};
  }
  if (std::ranges::all_of(worst, [](const WavePeaks& p) { return p.volts == 0 && p.amps == 0; })) return {};
  return worst;
}

}  // namespace ferrolux
