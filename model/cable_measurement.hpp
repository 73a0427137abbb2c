#pragma once
// A cable measured at the shack end: from the impedances read with the far end open and then
// shorted, its characteristic impedance, matched loss and velocity factor at each frequency;
// from one of the two alone, the matched loss by the return-loss method.

#include <complex>
#include <cstddef>
#include <optional>
#include <vector>

#include "model/loss_fit.hpp"

namespace ferrolux {

using Impedance = std::complex<double>;

// Both readings at one frequency, in ohms.
struct OpenShortReading {
  double mhz = 0;
  Impedance open;     // Zoc: far end open
  Impedance shorted;  // Zsc: far end shorted
};

struct MeasuredPoint {
  double mhz = 0;
  std::optional<Impedance> z0;  // none from one sweep alone
  double lossDbPer100Ft = 0;    // matched loss
  double lossDbPer100M = 0;
  std::optional<double> velocityFactor;
};

enum class LeftOutWhy {
  kNoInformation,  // open and short read alike: the far end cannot be seen through the loss
  kActive,         // a reading only an active termination gives
};

struct LeftOutPoint {
  size_t index = 0;  // of the reading
  LeftOutWhy why = LeftOutWhy::kNoInformation;
};

struct CableMeasurement {
  std::vector<MeasuredPoint> points;
  std::vector<LeftOutPoint> leftOut;
  // The first frequency whose electrical length differs from the point below it by more than
  // a quarter wave: from there on the half-wave count may be wrong.
  std::optional<double> tooCoarseAtMhz;
  // The half waves below the lowest point could not be counted: no velocity factor is given.
  bool velocityFactorUnresolved = false;
};

// The readings in rising frequency; `vfGuess` places the lowest point on its half wave
// (without it the slope of the electrical length with frequency does, where the sweep's steps
// resolve it).
CableMeasurement MeasureOpenShort(const std::vector<OpenShortReading>& readings, double metres,
                                  std::optional<double> vfGuess = std::nullopt);

// |S11| at one frequency, with the far end open or shorted.
struct ReflectionReading {
  double mhz = 0;
  double magnitude = 0;
};

// The quick method: the return loss at the shack is the loss there and back, so the one-way
// matched loss is half of it. Assumes a far end that reflects everything.
CableMeasurement MeasureReturnLoss(const std::vector<ReflectionReading>& readings, double metres);

struct MatchedLossFit {
  fit::Coefficients k;
  double worstRelative = 0;  // of the fitted curve against the points
};

// k0, k1, k2 >= 0 fitted to the points' matched loss per 100 ft, the same fit as the catalog's.
MatchedLossFit FitMatchedLoss(const std::vector<MeasuredPoint>& points);

// The largest |curve - point| / point over the points, for coefficients rounded after the fit.
double WorstRelativeError(const fit::Coefficients& k, const std::vector<MeasuredPoint>& points);

}  // namespace ferrolux
