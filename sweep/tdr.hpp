#pragma once
// Distance to fault: a one-port sweep taken at the shack end turned into reflection against
// distance along the line, and in low-pass mode into an impedance profile.
//
// Low-pass mode needs a harmonic grid (f_k = k df): the spectrum is completed with its DC value
// and its mirror, so the impulse is real and keeps its sign (an open reads up, a short down).
// Any other evenly spaced sweep gives band-pass mode: magnitude only, open and short alike.

#include <complex>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <vector>

#include "sweep/tdr_window.hpp"

namespace ferrolux {

inline constexpr double kLightMetresPerSecond = 299'792'458;
inline constexpr std::size_t kMostTdrPoints = 16'383;  // the transform stays within 65,536

enum class TdrMode { kLowPass, kBandPass };

enum class FaultKind { kOpen, kShort, kHigherImpedance, kLowerImpedance, kOpenOrShort };

struct TdrRequest {
  std::vector<double> freqHz;  // rising, evenly spaced
  std::vector<std::complex<double>> reflection;
  double refOhms = 50;
  double velocityFactor = 0.66;
  TdrWindow window = TdrWindow::kKaiser;
  // The line's matched loss one way, dB per metre at each frequency; empty when not known. With
  // it, each distance's round-trip loss is taken out, so a far reflection reads its true size.
  std::vector<double> lossDbPerMetre;
  double lengthMaxM = 0;  // 0: out to the whole range
};

struct TdrPoint {
  double distanceM = 0;
  double reflection = 0;                // low-pass: signed; band-pass: magnitude
  std::optional<double> impedanceOhms;  // low-pass only
  bool capped = false;                  // read above 1 and shown as 1: see TdrResult::capped
};

struct TdrPeak {
  double distanceM = 0;
  double reflection = 0;  // as in TdrPoint, between samples by a parabola through the top three
  FaultKind kind = FaultKind::kOpenOrShort;
  bool capped = false;
};

struct TdrResult {
  TdrMode mode = TdrMode::kLowPass;
  double resolutionM = 0;  // the width of a lone reflection at half its height, window and mode in use
  double rangeM = 0;       // c VF / (2 df): beyond it reflections fold back
  bool lossTakenOut = false;
  bool longerThanRange = false;  // the line seems to reach past the range
  // Some reflection read well above 1, which no passive line gives: the loss taken out was more
  // than the sweep lost (a wrong cable or velocity factor) or the sweep is not physical. Such
  // values are shown as 1 and flagged.
  bool capped = false;
  std::vector<TdrPoint> points;
  std::vector<TdrPeak> peaks;  // largest first
};

class TdrError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Throws TdrError for fewer than 2 points or more than kMostTdrPoints, uneven frequency steps, a
// velocity factor outside (0, 1], a loss list of another length, or a value that is not finite.
TdrResult ComputeTdr(const TdrRequest& request);

}  // namespace ferrolux
