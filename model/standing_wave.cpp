#include "model/standing_wave.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "model/golden_section.hpp"

namespace ferrolux {

namespace {

constexpr int kSamplesPerHalfWave = 16;
constexpr int kRefinements = 40;

// The two travelling waves, V(x) = F e^γx + B e^-γx with x from the antenna end toward the shack,
// held as logarithms, so neither overflows nor underflows on a line of any loss.
struct Waves {
  Complex logForward, logBackward, z0, gamma;

  Complex Forward(double x) const { return std::exp(logForward + gamma * x); }
  Complex Backward(double x) const { return std::exp(logBackward - gamma * x); }
  Complex Volts(double x) const { return Forward(x) + Backward(x); }
  Complex Amps(double x) const { return (Forward(x) - Backward(x)) / z0; }
};

// The largest of `magnitude` over [from, to]: the samples, then each sample higher than its
// neighbours refined between them (two peaks of nearly one height may swap between the samples).
template <typename Magnitude>
double HighestBetween(double from, double to, int samples, Magnitude magnitude) {
  const double step = (to - from) / samples;
  std::vector<double> values;
  for (int k = 0; k <= samples; ++k) values.push_back(magnitude(from + k * step));
  double highest = *std::ranges::max_element(values);
  for (int k = 0; k <= samples; ++k) {
    const auto at = static_cast<size_t>(k);
    if ((k > 0 && values[at - 1] > values[at]) || (k < samples && values[at + 1] > values[at])) continue;
    const double low = std::max(from, from + (k - 1) * step), high = std::min(to, from + (k + 1) * step);
    highest = std::max(highest, PeakBetween(low, high, kRefinements, magnitude));
  }
  return highest;
}

// The largest of |V| or |I| along the line. Its square is |F|²e^2αx + |B|²e^-2αx, convex in x,
// plus a term that repeats every half wave; so at points a half wave apart it is convex, and
// highest at the first or the last of them: within a half wave of an end. Only those are sampled,
// so a line of any length costs the same.
template <typename Magnitude>
double HighestAlong(double length, double halfWave, Magnitude magnitude) {
  if (!(length > 2 * halfWave)) return HighestBetween(0.0, length, 2 * kSamplesPerHalfWave, magnitude);
  return std::max(HighestBetween(0.0, halfWave, kSamplesPerHalfWave, magnitude),
                  HighestBetween(length - halfWave, length, kSamplesPerHalfWave, magnitude));
}

}  // namespace

WavePeaks StandingWavePeaks(const Line& line, Complex volts, Complex amps, double logScale) {
  const Waves waves{std::log((volts + line.z0 * amps) / 2.0) + logScale,
                    std::log((volts - line.z0 * amps) / 2.0) + logScale, line.z0, line.gamma};
  const double halfWave = std::numbers::pi / std::fabs(line.gamma.imag());
  return {HighestAlong(line.lengthM, halfWave, [&](double x) { return std::abs(waves.Volts(x)); }),
          HighestAlong(line.lengthM, halfWave, [&](double x) { return std::abs(waves.Amps(x)); })};
}

}  // namespace ferrolux
