#include <algorithm>
#include <cmath>

#include "sweep/tdr_profile.hpp"

namespace ferrolux {

namespace {

constexpr std::size_t kMostPeaks = 8;
constexpr double kSmallestPeak = 0.005;  // 46 dB return loss: below it, noise and the window's tails
// A reflection this large, or a step of this size across it, is an open or a short rather than
// a change of impedance: 0.7 is 283 or 8.8 ohms on a 50-ohm line.
constexpr double kEndReflection = 0.7;

// The top of a peak between samples, by a parabola through the sample and its neighbours.
TdrPeak Refine(const std::vector<double>& reflection, std::size_t n, double metresPerSample) {
  TdrPeak peak{static_cast<double>(n) * metresPerSample, reflection[n], FaultKind::kOpenOrShort};
  if (n == 0 || n + 1 >= reflection.size()) return peak;
  const double before = reflection[n - 1], at = reflection[n], after = reflection[n + 1];
  const double curve = before - 2 * at + after;
  if (curve == 0) return peak;
  const double shift = std::clamp(0.5 * (before - after) / curve, -0.5, 0.5);
  peak.distanceM += shift * metresPerSample;
  peak.reflection = at - 0.25 * (before - after) * shift;
  return peak;
}

// Low-pass only: the sign says higher or lower; the size of the reflection, or of the step
// across it (a lossy line smears an open's peak but not its step), says whether the line ends.
FaultKind Classify(const TdrPeak& peak, const std::vector<double>& step, std::size_t n, std::size_t width) {
  const std::size_t size = step.size();
  const double jump = step[(n + 3 * width) % size] - step[(n + size - width) % size];
  const double level = std::abs(jump) > std::abs(peak.reflection) ? jump : peak.reflection;
  if (level >= kEndReflection) return FaultKind::kOpen;
  if (level <= -kEndReflection) return FaultKind::kShort;
  return peak.reflection >= 0 ? FaultKind::kHigherImpedance : FaultKind::kLowerImpedance;
}

// A top stands above both neighbours. The first sample, the reference plane, has its other
// neighbour in negative time, where the response mirrors it; the last sample's is not shown, and
// it may only be rising toward a reflection past it.
bool IsLocalTop(const std::vector<double>& reflection, std::size_t n) {
  if (n + 1 >= reflection.size()) return false;
  const double at = std::abs(reflection[n]);
  return (n == 0 || at >= std::abs(reflection[n - 1])) && at > std::abs(reflection[n + 1]);
}

}  // namespace

std::vector<TdrPeak> FindPeaks(const std::vector<double>& reflection, const std::vector<double>& step,
                               std::size_t count, double metresPerSample, double resolutionM, TdrWindow window) {
  std::vector<std::size_t> tops;
  double largest = 0;
  for (std::size_t n = 0; n < count; ++n) {
    if (!IsLocalTop(reflection, n)) continue;
    tops.push_back(n);
    largest = std::max(largest, std::abs(reflection[n]));
  }
  const double floor = std::max(kSmallestPeak, largest * SidelobeFloor(window));
  std::sort(tops.begin(), tops.end(),
            [&](std::size_t a, std::size_t b) { return std::abs(reflection[a]) > std::abs(reflection[b]); });
  const auto width = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(resolutionM / metresPerSample)));
  std::vector<TdrPeak> peaks;
  for (const std::size_t n : tops) {
    if (std::abs(reflection[n]) < floor || peaks.size() == kMostPeaks) break;
    TdrPeak peak = Refine(reflection, n, metresPerSample);
    const auto near = [&](const TdrPeak& kept) { return std::abs(kept.distanceM - peak.distanceM) < resolutionM; };
    if (std::any_of(peaks.begin(), peaks.end(), near)) continue;
    if (!step.empty()) peak.kind = Classify(peak, step, n, width);
    peaks.push_back(peak);
  }
  return peaks;
}

}  // namespace ferrolux
