#include "sweep/tdr.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sweep/fft.hpp"
#include "sweep/tdr_profile.hpp"

namespace ferrolux {

namespace {

using Complex = std::complex<double>;

// A step may stray this far from the even grid: a file's frequencies are rounded to its digits.
constexpr double kGridTolerance = 0.01;

void CheckRequest(const TdrRequest& request) {
  const std::size_t count = request.freqHz.size();
  if (count < 2) throw TdrError("a distance-to-fault view needs at least 2 points");
  if (count > kMostTdrPoints) throw TdrError("a distance-to-fault view takes at most 16,383 points");
  if (request.reflection.size() != count) throw TdrError("not one reflection per frequency");
  if (!(request.velocityFactor > 0 && request.velocityFactor <= 1)) {
    throw TdrError("the velocity factor must lie above 0 and at most 1");
  }
  if (!(request.refOhms > 0 && std::isfinite(request.refOhms))) throw TdrError("no reference impedance");
  if (!request.lossDbPerMetre.empty() && request.lossDbPerMetre.size() != count) {
    throw TdrError("not one loss per frequency");
  }
  const auto finite = [](double value) { return std::isfinite(value); };
  const auto finiteComplex = [](Complex value) { return std::isfinite(value.real()) && std::isfinite(value.imag()); };
  if (!std::all_of(request.freqHz.begin(), request.freqHz.end(), finite) ||
      !std::all_of(request.reflection.begin(), request.reflection.end(), finiteComplex) ||
      !std::all_of(request.lossDbPerMetre.begin(), request.lossDbPerMetre.end(), finite) ||
      !std::isfinite(request.lengthMaxM)) {
    throw TdrError("a value that is not a finite number");
  }
}

TdrGrid DescribeGrid(const std::vector<double>& freqHz) {
  const std::size_t count = freqHz.size();
  const double step = (freqHz.back() - freqHz.front()) / static_cast<double>(count - 1);
  if (!(step > 0)) throw TdrError("the frequencies do not rise");
  for (std::size_t k = 0; k < count; ++k) {
    if (std::abs(freqHz[k] - freqHz.front() - static_cast<double>(k) * step) > kGridTolerance * step) {
      throw TdrError("the frequencies are not evenly spaced");
    }
  }
  const bool harmonic = std::abs(freqHz.front() - step) <= kGridTolerance * step;
  return {harmonic ? TdrMode::kLowPass : TdrMode::kBandPass, step, count};
}

// The reflection at DC, which a VNA does not measure: its size carried on in a straight line from
// the first two points, its phase carried on by the turn between them, and the real part taken.
// Exact for one open, short or step whatever the line's length; a straight line through the
// complex values is not, once the phase turns by more than a few degrees a step.
double DcReflection(Complex first, Complex second) {
  if (std::abs(first) == 0 || std::abs(second) == 0) return std::clamp(2 * first.real() - second.real(), -1.0, 1.0);
  const double size = std::clamp(2 * std::abs(first) - std::abs(second), 0.0, 1.0);
  const Complex unitFirst = first / std::abs(first);
  return size * (unitFirst * unitFirst / (second / std::abs(second))).real();
}

// The windowed spectrum: low-pass from DC up (the mirror half comes from the real part of the
// transform), band-pass as swept. The weights' sum makes a lone reflection read its own size.
TdrSpectrum WindowedSpectrum(const TdrRequest& request, const TdrGrid& grid) {
  TdrSpectrum spectrum;
  const bool lowPass = grid.mode == TdrMode::kLowPass;
  const std::size_t bins = grid.points + (lowPass ? 1 : 0);
  spectrum.weights.resize(bins);
  for (std::size_t k = 0; k < bins; ++k) {
    const double x = lowPass ? static_cast<double>(k) / static_cast<double>(bins)
                             : (2.0 * static_cast<double>(k) + 1) / static_cast<double>(bins) - 1;
    spectrum.weights[k] = WindowWeight(request.window, x);
  }
  spectrum.size = std::max<std::size_t>(1024, PowerOfTwoAtLeast(4 * bins));
  spectrum.bins.assign(spectrum.size, Complex{});
  const std::size_t offset = lowPass ? 1 : 0;
  if (lowPass) spectrum.bins[0] = DcReflection(request.reflection[0], request.reflection[1]);
  for (std::size_t k = 0; k < grid.points; ++k) spectrum.bins[k + offset] = request.reflection[k];
  for (std::size_t k = 0; k < bins; ++k) spectrum.bins[k] *= spectrum.weights[k];
  for (std::size_t k = 0; k < bins; ++k) spectrum.weightSum += spectrum.weights[k] * (lowPass && k > 0 ? 2 : 1);
  return spectrum;
}

}  // namespace

TdrResult ComputeTdr(const TdrRequest& request) {
  CheckRequest(request);
  const TdrGrid grid = DescribeGrid(request.freqHz);
  TdrSpectrum spectrum = WindowedSpectrum(request, grid);
  TdrResult result;
  result.mode = grid.mode;
  const double metresPerSecond = kLightMetresPerSecond * request.velocityFactor / 2;
  result.rangeM = metresPerSecond / grid.stepHz;
  result.resolutionM = 2 * metresPerSecond * HalfHeightTime(grid, spectrum);
  const TdrTimeline timeline = Transform(grid, std::move(spectrum));
  FillProfile(request, grid, timeline, result);
  return result;
}

}  // namespace ferrolux
