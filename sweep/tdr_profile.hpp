#pragma once
// The steps of ComputeTdr, shared by its files: the windowed spectrum, its transform, and the
// profile and peaks read from that.

#include <complex>
#include <cstddef>
#include <vector>

#include "sweep/tdr.hpp"

namespace ferrolux {

struct TdrGrid {
  TdrMode mode = TdrMode::kLowPass;
  double stepHz = 0;
  std::size_t points = 0;
};

struct TdrSpectrum {
  std::vector<double> weights;             // low-pass: DC first
  std::vector<std::complex<double>> bins;  // weighted, zero-padded to `size`
  std::size_t size = 0;
  double weightSum = 0;  // as a lone reflection's peak sums them: low-pass counts the mirror too
};

struct TdrTimeline {
  std::vector<double> impulse;  // one period, sample n at n / (size df); low-pass signed
  std::vector<double> weights;
  double weightSum = 0;
};

// Half the width of a lone reflection's peak at half its height, in seconds of round trip.
double HalfHeightTime(const TdrGrid& grid, const TdrSpectrum& spectrum);

TdrTimeline Transform(const TdrGrid& grid, TdrSpectrum spectrum);

// The points, peaks and warnings of `result`, whose mode, range and resolution are set.
void FillProfile(const TdrRequest& request, const TdrGrid& grid, const TdrTimeline& timeline, TdrResult& result);

// The largest reflections among the first `count` samples, each at least a resolution from a
// larger one; `step` is empty in band-pass mode.
std::vector<TdrPeak> FindPeaks(const std::vector<double>& reflection, const std::vector<double>& step,
                               std::size_t count, double metresPerSample, double resolutionM, TdrWindow window);

}  // namespace ferrolux
