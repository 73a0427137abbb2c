#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "sweep/fft.hpp"
#include "sweep/tdr_profile.hpp"

namespace ferrolux {

namespace {

using Complex = std::complex<double>;

// The most the loss taken out may raise a reflection: past 40 dB of round trip the noise it
// would raise is all that is left.
constexpr double kMostLossGain = 100;
constexpr std::size_t kLossNodes = 64;  // the gain is smooth in distance: worked out at these, interpolated
// The step is summed from this many resolutions before t = 0, so the reflection at the
// reference plane is counted whole; beyond it the period's end belongs to negative time.
constexpr double kStepLeadResolutions = 4;

// A lone reflection's height at round-trip time t, as a fraction of its size. The phasor turns
// by one product a bin rather than a sine and cosine each.
double LoneHeight(const TdrGrid& grid, const std::vector<double>& weights, double weightSum, double seconds) {
  const Complex turn = std::polar(1.0, 2 * std::numbers::pi * grid.stepHz * seconds);
  Complex phasor = 1, sum;
  for (std::size_t k = 0; k < weights.size(); ++k, phasor *= turn) {
    sum += weights[k] * (grid.mode == TdrMode::kLowPass ? Complex(k > 0 ? 2 * phasor.real() : 1) : phasor);
  }
  return std::abs(sum) / weightSum;
}

// Summed from just before t = 0 round the period, in units of reflection: a lone reflection's
// step reaches its size, and the sum of one period is the DC value.
std::vector<double> RunningStep(const std::vector<double>& impulse, double weightSum, std::size_t lead) {
  const std::size_t size = impulse.size();
  std::vector<double> step(size);
  double sum = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t n = (size - lead + i) % size;
    sum += impulse[n] * weightSum / static_cast<double>(size);
    step[n] = sum;
  }
  return step;
}

// What a lone reflection at each distance loses over the round trip, as the window weighs the
// frequencies, turned into the gain that gives it back.
std::vector<double> LossGain(const TdrRequest& request, const TdrGrid& grid, const TdrTimeline& timeline,
                             std::size_t count, double metresPerSample) {
  const std::vector<double>& loss = request.lossDbPerMetre;
  const bool lowPass = grid.mode == TdrMode::kLowPass;
  const double lastM = static_cast<double>(std::max<std::size_t>(count, 2) - 1) * metresPerSample;
  // Each frequency's share after the round trip to a node, carried from node to node by one product.
  std::vector<double> share(timeline.weights.size()), perNode(timeline.weights.size());
  for (std::size_t k = 0; k < share.size(); ++k) {
    const double db = lowPass ? (k == 0 ? std::max(0.0, 2 * loss[0] - loss[1]) : loss[k - 1]) : loss[k];
    share[k] = timeline.weights[k] * (lowPass && k > 0 ? 2 : 1);
    perNode[k] = std::pow(10.0, -2 * db * lastM / (kLossNodes - 1) / 20);
  }
  std::vector<double> nodeLogGain(kLossNodes);
  for (std::size_t node = 0; node < kLossNodes; ++node) {
    double kept = 0;
    for (std::size_t k = 0; k < share.size(); ++k) {
      kept += share[k];
      share[k] *= perNode[k];
    }
    nodeLogGain[node] = std::log(std::min(kMostLossGain, timeline.weightSum / kept));
  }
  std::vector<double> gain(count);
  for (std::size_t n = 0; n < count; ++n) {
    const double at = static_cast<double>(n) * metresPerSample / lastM * (kLossNodes - 1);
    const std::size_t node = std::min<std::size_t>(static_cast<std::size_t>(at), kLossNodes - 2);
    const double part = at - static_cast<double>(node);
    gain[n] = std::exp(nodeLogGain[node] * (1 - part) + nodeLogGain[node + 1] * part);
  }
  return gain;
}

// A reflection of a hair above 1 is rounding; past this margin it is a figure no line gives.
constexpr double kCapMargin = 0.005;

// Above 1 shown as 1, flagged when it was more than rounding, the peaks found where they truly lie.
void CapAtWhole(TdrResult& result) {
  const auto cap = [&result](double& reflection) {
    const bool over = std::abs(reflection) > 1 + kCapMargin;
    result.capped = result.capped || over;
    reflection = std::clamp(reflection, -1.0, 1.0);
    return over;
  };
  for (TdrPoint& point : result.points) point.capped = cap(point.reflection);
  for (TdrPeak& peak : result.peaks) peak.capped = cap(peak.reflection);
}

double Impedance(double refOhms, double step) {
  const double bounded = std::clamp(step, -0.9999, 0.9999);  // an open or a short reads large or small, never infinite
  return refOhms * (1 + bounded) / (1 - bounded);
}

// Where the largest response of the whole period lies: near the range's end, or with a longer
// line asked for, reflections may come from past the range and fold back.
bool SeemsLongerThanRange(const TdrRequest& request, const TdrResult& result, const std::vector<double>& impulse) {
  if (request.lengthMaxM > result.rangeM) return true;
  const auto largest =
      std::max_element(impulse.begin(), impulse.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
  const double metres =
      result.rangeM * static_cast<double>(largest - impulse.begin()) / static_cast<double>(impulse.size());
  return metres > 0.9 * result.rangeM;
}

// Caps a whole count worked out in double; a cast of one past size_t's range is undefined.
std::size_t CappedCount(double count, std::size_t most) {
  return count < static_cast<double>(most) ? static_cast<std::size_t>(count) : most;
}

}  // namespace

double HalfHeightTime(const TdrGrid& grid, const TdrSpectrum& spectrum) {
  const double bins = static_cast<double>(spectrum.weights.size());
  const double stride = 1 / (16 * bins * grid.stepHz);
  double low = 0, high = stride;
  for (int i = 0; i < 1024 && LoneHeight(grid, spectrum.weights, spectrum.weightSum, high) > 0.5; ++i) {
    low = high;
    high += stride;
  }
  for (int i = 0; i < 24; ++i) {
    const double middle = (low + high) / 2;
    if (LoneHeight(grid, spectrum.weights, spectrum.weightSum, middle) > 0.5) low = middle;
    else high = middle;
  }
  return (low + high) / 2;
}

TdrTimeline Transform(const TdrGrid& grid, TdrSpectrum spectrum) {
  const double dc = spectrum.bins[0].real();
  InverseFft(spectrum.bins);
  TdrTimeline timeline{std::vector<double>(spectrum.size), std::move(spectrum.weights), spectrum.weightSum};
  for (std::size_t n = 0; n < spectrum.size; ++n) {
    const Complex sum = spectrum.bins[n];
    // Low-pass: the mirror half of the spectrum is the conjugate, so the sum is twice the real part
    // less the DC bin counted twice.
    timeline.impulse[n] = (grid.mode == TdrMode::kLowPass ? 2 * sum.real() - dc : std::abs(sum)) / spectrum.weightSum;
  }
  return timeline;
}

void FillProfile(const TdrRequest& request, const TdrGrid& grid, const TdrTimeline& timeline, TdrResult& result) {
  const std::size_t size = timeline.impulse.size();
  const double metresPerSample = result.rangeM / static_cast<double>(size);
  const bool lowPass = grid.mode == TdrMode::kLowPass;
  const std::size_t lead =
      CappedCount(std::ceil(kStepLeadResolutions * result.resolutionM / metresPerSample), size / 8);
  std::size_t count = lowPass ? size - lead : size;
  if (request.lengthMaxM > 0) count = CappedCount(std::floor(request.lengthMaxM / metresPerSample), count - 1) + 1;
  const std::vector<double> step =
      lowPass ? RunningStep(timeline.impulse, timeline.weightSum, lead) : std::vector<double>{};
  result.lossTakenOut = !request.lossDbPerMetre.empty();
  const std::vector<double> gain =
      result.lossTakenOut ? LossGain(request, grid, timeline, count, metresPerSample) : std::vector<double>(count, 1.0);
  std::vector<double> reflection(count);
  result.points.resize(count);
  for (std::size_t n = 0; n < count; ++n) {
    reflection[n] = timeline.impulse[n] * gain[n];
    TdrPoint& point = result.points[n];
    point.distanceM = static_cast<double>(n) * metresPerSample;
    point.reflection = reflection[n];
    if (lowPass) point.impedanceOhms = Impedance(request.refOhms, step[n]);
  }
  result.peaks = FindPeaks(reflection, step, count, metresPerSample, result.resolutionM, request.window);
  result.longerThanRange = SeemsLongerThanRange(request, result, timeline.impulse);
  CapAtWhole(result);
}

}  // namespace ferrolux
