#include "model/standing_wave.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ferrolux {

namespace {

constexpr double kSamplesPerHalfWave = 16;
constexpr double kFewestSamples = 16, kMostSamples = 1 << 18;
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

// The largest of `magnitude` over [0, length]: the best of the samples, then a golden-section
// search between its neighbours, where the function has the one peak.
template <typename Magnitude>
double HighestAlong(double length, int samples, Magnitude magnitude) {
  const double step = length / samples;
  int best = 0;
  double highest = magnitude(0.0);
  for (int k = 1; k <= samples; ++k) {
    const double value = magnitude(k * step);
    if (value > highest) highest = value, best = k;
  }
  double low = std::max(0.0, (best - 1) * step), high = std::min(length, (best + 1) * step);
  const double ratio = (std::sqrt(5.0) - 1) / 2;
  for (int round = 0; round < kRefinements; ++round) {
    const double left = high - ratio * (high - low), right = low + ratio * (high - low);
    const double leftValue = magnitude(left), rightValue = magnitude(right);
    highest = std::max({highest, leftValue, rightValue});
    if (leftValue < rightValue) {
      low = left;
    } else {
      high = right;
    }
  }
  return highest;
}

int SamplesFor(const Line& line) {
  const double halfWaves = line.lengthM * std::fabs(line.gamma.imag()) / std::numbers::pi;
  return static_cast<int>(std::clamp(std::ceil(halfWaves * kSamplesPerHalfWave), kFewestSamples, kMostSamples));
}

}  // namespace

WavePeaks StandingWavePeaks(const Line& line, Complex volts, Complex amps, double logScale) {
  const Waves waves{std::log((volts + line.z0 * amps) / 2.0) + logScale,
                    std::log((volts - line.z0 * amps) / 2.0) + logScale, line.z0, line.gamma};
  const int samples = SamplesFor(line);
  return {HighestAlong(line.lengthM, samples, [&](double x) { return std::abs(waves.Volts(x)); }),
          HighestAlong(line.lengthM, samples, [&](double x) { return std::abs(waves.Amps(x)); })};
}

}  // namespace ferrolux
