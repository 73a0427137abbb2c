#include "model/cable_measurement.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ferrolux {

namespace {

constexpr double kLight = 299792458;                         // m/s
constexpr double kMetresPer100Ft = 30.48;                    // metres in 100 ft
constexpr double kDbPerNeper = 20 * std::numbers::log10e;    // 8.686
constexpr double kPer100MOver100Ft = 100 / kMetresPer100Ft;  // dB per 100 m over dB per 100 ft
constexpr double kHzPerMhz = 1e6;
constexpr double kHalfWave = std::numbers::pi;  // radians of electrical length
constexpr double kQuarterWave = std::numbers::pi / 2;
// |Zoc - Zsc| / |Zoc + Zsc| is 1 / |cosh 2γℓ|: below this the round trip has lost more than
// 66 dB, past what an analyser's directivity lets it see of the far end.
constexpr double kNoInformation = 1e-3;

double AngularFrequency(double mhz) { return 2 * std::numbers::pi * mhz * kHzPerMhz; }

Impedance PositiveRealRoot(Impedance z) {
  const Impedance root = std::sqrt(z);
  return root.real() < 0 ? -root : root;
}

MeasuredPoint LossPoint(double mhz, double nepers, double metres) {
  MeasuredPoint p;
  p.mhz = mhz;
  p.lossDbPer100Ft = nepers * kDbPerNeper * kMetresPer100Ft / metres;
  p.lossDbPer100M = p.lossDbPer100Ft * kPer100MOver100Ft;
  return p;
}

std::optional<LeftOutWhy> Unusable(const OpenShortReading& r) {
  const bool finite = std::isfinite(std::abs(r.open)) && std::isfinite(std::abs(r.shorted));
  if (finite && (r.open.real() < 0 || r.shorted.real() < 0)) return LeftOutWhy::kActive;
  // Nothing travels down a line at 0 Hz, so a DC point says nothing of it either.
  if (!finite || !(r.mhz > 0) || !(std::abs(r.open - r.shorted) > kNoInformation * std::abs(r.open + r.shorted)))
    return LeftOutWhy::kNoInformation;
  return std::nullopt;
}

// Follows the electrical length βℓ up the sweep. Each point gives it only modulo half a wave;
// the whole half-waves are the ones that put it nearest to what the previous point predicts,
// since βℓ grows in proportion to the frequency on a line of steady velocity factor.
class ElectricalLength {
 public:
  ElectricalLength(double metres, std::optional<double> vfGuess) : metres_(metres), vfGuess_(vfGuess) {}

  double Follow(double mhz, double principal, std::optional<double>& tooCoarseAtMhz) {
    const double base = principal - kHalfWave * std::floor(principal / kHalfWave);  // in [0, π)
    double length = base;
    if (lastMhz_ > 0) length = Nearest(base, last_ * mhz / lastMhz_);
    else if (vfGuess_) length = Nearest(base, AngularFrequency(mhz) * metres_ / (*vfGuess_ * kLight));
    if (lastMhz_ > 0 && std::fabs(length - last_) > kQuarterWave && !tooCoarseAtMhz) tooCoarseAtMhz = mhz;
    lastMhz_ = mhz;
    last_ = length;
    return length;
  }

 private:
  static double Nearest(double base, double expected) {
    return base + kHalfWave * std::max(0.0, std::round((expected - base) / kHalfWave));
  }

  double metres_;
  std::optional<double> vfGuess_;
  double lastMhz_ = 0;  // none yet
  double last_ = 0;
};

std::vector<fit::LossPoint> FitPoints(const std::vector<MeasuredPoint>& points) {
  std::vector<fit::LossPoint> fitPoints;
  for (const MeasuredPoint& p : points)
    if (p.lossDbPer100Ft > 0 && std::isfinite(p.lossDbPer100Ft)) fitPoints.push_back({p.mhz, p.lossDbPer100Ft});
  return fitPoints;
}

}  // namespace

CableMeasurement MeasureOpenShort(const std::vector<OpenShortReading>& readings, double metres,
                                  std::optional<double> vfGuess) {
  CableMeasurement m;
  ElectricalLength length(metres, vfGuess);
  for (size_t i = 0; i < readings.size(); ++i) {
    const OpenShortReading& r = readings[i];
    if (const auto why = Unusable(r)) {
      m.leftOut.push_back({i, *why});
      continue;
    }
    // tanh γℓ, the root on the side of a line that loses power; γℓ = atanh of it.
    const Impedance t = PositiveRealRoot(r.shorted / r.open);
    const Impedance gammaL = 0.5 * std::log((1.0 + t) / (1.0 - t));
    MeasuredPoint p = LossPoint(r.mhz, gammaL.real(), metres);
    p.z0 = PositiveRealRoot(r.open * r.shorted);
    const double beta = length.Follow(r.mhz, gammaL.imag(), m.tooCoarseAtMhz) / metres;
    p.velocityFactor = AngularFrequency(r.mhz) / (beta * kLight);
    m.points.push_back(p);
  }
  return m;
}

CableMeasurement MeasureReturnLoss(const std::vector<ReflectionReading>& readings, double metres) {
  CableMeasurement m;
  for (size_t i = 0; i < readings.size(); ++i) {
    const double magnitude = readings[i].magnitude;
    if (magnitude > 1) m.leftOut.push_back({i, LeftOutWhy::kActive});
    else if (!(magnitude > 0)) m.leftOut.push_back({i, LeftOutWhy::kNoInformation});
    else m.points.push_back(LossPoint(readings[i].mhz, -std::log(magnitude) / 2, metres));
  }
  return m;
}

MatchedLossFit FitMatchedLoss(const std::vector<MeasuredPoint>& points) {
  const std::vector<fit::LossPoint> fitPoints = FitPoints(points);
  const fit::Coefficients k = fit::FitCoefficients(fitPoints);
  return {k, fit::MeasureFit(k, fitPoints).worstRelative};
}

double WorstRelativeError(const fit::Coefficients& k, const std::vector<MeasuredPoint>& points) {
  return fit::MeasureFit(k, FitPoints(points)).worstRelative;
}

}  // namespace ferrolux
