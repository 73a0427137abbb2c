#include "sweep/tdr.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>

#include "sweep/fft.hpp"
#include "sweep/touchstone.hpp"

namespace ferrolux {
namespace {

using Complex = std::complex<double>;

constexpr double kVf = 0.66;
const std::string kCases = FERROLUX_TEST_DATA_DIR "/tdr/";

TdrRequest RequestFromFile(const std::string& name, TdrWindow window) {
  std::ifstream file(kCases + name + ".s1p", std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  const Sweep sweep = ReadTouchstone(bytes.str());
  TdrRequest request;
  request.velocityFactor = kVf;
  request.window = window;
  for (const SweepPoint& point : sweep.points) {
    request.freqHz.push_back(point.freqHz);
    const bool open = std::isinf(point.z.real());
    request.reflection.push_back(open ? Complex(1) : (point.z - sweep.refOhms) / (point.z + sweep.refOhms));
  }
  return request;
}

// A lone reflection `size` at `metres` on a lossless line, swept at f_k = first + k step.
TdrRequest LoneReflection(double size, double metres, double firstHz, double stepHz, std::size_t count) {
  TdrRequest request;
  request.velocityFactor = kVf;
  const double seconds = 2 * metres / (kLightMetresPerSecond * kVf);
  for (std::size_t k = 0; k < count; ++k) {
    const double hz = firstHz + static_cast<double>(k) * stepHz;
    request.freqHz.push_back(hz);
    request.reflection.push_back(std::polar(size, -2 * std::numbers::pi * hz * seconds));
  }
  return request;
}

double ImpedanceAt(const TdrResult& result, double metres) {
  const double perSample = result.points[1].distanceM;
  return result.points.at(static_cast<std::size_t>(std::lround(metres / perSample))).impedanceOhms.value();
}

// The sweeps scikit-rf wrote, each read at its known distance and kind, and beside scikit-rf's
// own time-domain reading of the same file (no window on either side, so the sizes compare).
TEST(ComputeTdr, ScikitSweepsReadAtTheirDistanceAndKind) {
  struct Case {
    std::string name;
    TdrMode mode;
    double metres;
    FaultKind kind;
  };
  const Case cases[] = {
      {"rg58_open_10m", TdrMode::kLowPass, 10, FaultKind::kOpen},
      {"rg58_short_7m", TdrMode::kLowPass, 7, FaultKind::kShort},
      {"step_50_75_5m", TdrMode::kLowPass, 5, FaultKind::kHigherImpedance},
      {"two_faults", TdrMode::kLowPass, 12, FaultKind::kLowerImpedance},
      {"bandpass_open_10m", TdrMode::kBandPass, 10, FaultKind::kOpenOrShort},
  };
  std::ifstream table(kCases + "second_opinion.tsv");
  std::string line;
  std::getline(table, line);
  std::map<std::string, std::array<double, 3>> opinion;
  for (std::string name; table >> name;) table >> opinion[name][0] >> opinion[name][1] >> opinion[name][2];
  for (const Case& c : cases) {
    for (const TdrWindow window : {TdrWindow::kKaiser, TdrWindow::kNone}) {
      const TdrResult result = ComputeTdr(RequestFromFile(c.name, window));
      ASSERT_FALSE(result.peaks.empty()) << c.name;
      const TdrPeak& largest = result.peaks.front();
      EXPECT_EQ(result.mode, c.mode) << c.name;
      EXPECT_NEAR(largest.distanceM, c.metres, result.resolutionM) << c.name;
      EXPECT_EQ(largest.kind, c.kind) << c.name;
      EXPECT_NEAR(largest.distanceM, opinion[c.name][0], result.resolutionM) << c.name;
      EXPECT_FALSE(result.longerThanRange) << c.name;
      if (window != TdrWindow::kNone) continue;
      EXPECT_NEAR(largest.reflection, opinion[c.name][1], 0.03) << c.name;
      if (c.mode == TdrMode::kLowPass) {
        const double ohms = ImpedanceAt(result, opinion[c.name][0] + 3);
        EXPECT_NEAR((ohms - 50) / (ohms + 50), opinion[c.name][2], 0.02) << c.name;
      }
    }
  }
}

TEST(ComputeTdr, StepFrom50To75OhmsIsAnImpedanceProfile) {
  const TdrResult result = ComputeTdr(RequestFromFile("step_50_75_5m", TdrWindow::kKaiser));
  for (const double metres : {0.5, 2.0, 4.5}) EXPECT_NEAR(ImpedanceAt(result, metres), 50, 1) << metres;
  for (const double metres : {5.5, 10.0, 20.0, 40.0}) EXPECT_NEAR(ImpedanceAt(result, metres), 75, 1.5) << metres;
  EXPECT_NEAR(result.peaks.front().reflection, 0.2, 0.004);
  const TdrResult twoFaults = ComputeTdr(RequestFromFile("two_faults", TdrWindow::kKaiser));
  ASSERT_GE(twoFaults.peaks.size(), 2u);
  EXPECT_NEAR(twoFaults.peaks[1].distanceM, 4, twoFaults.resolutionM);
  EXPECT_EQ(twoFaults.peaks[1].kind, FaultKind::kHigherImpedance);
}

// RG-58's own loss (Belden 8259: 0.425585 sqrt(f) + 0.00964155 f dB per 100 ft at f in MHz) taken
// out: the open 10 m away reads as the whole reflection it is, in either mode.
TEST(ComputeTdr, TakingTheLineLossOutReadsAFarOpenWhole) {
  for (const std::string name : {"rg58_open_10m", "bandpass_open_10m"}) {
    TdrRequest request = RequestFromFile(name, TdrWindow::kKaiser);
    for (const double hz : request.freqHz) {
      const double mhz = hz / 1e6;
      request.lossDbPerMetre.push_back((0.425585 * std::sqrt(mhz) + 0.00964155 * mhz) / 30.48);
    }
    const TdrResult result = ComputeTdr(request);
    EXPECT_TRUE(result.lossTakenOut);
    EXPECT_NEAR(std::abs(result.peaks.front().reflection), 1, 0.05) << name;
    EXPECT_NEAR(result.peaks.front().distanceM, 10, result.resolutionM) << name;
  }
}

// A lossless open taken as if seen through 30 m of RG-58 (a wrong cable or velocity factor): the
// loss taken out lifted it above 1, printed as if real. Shown as 1 and flagged now;
// without the loss taken out nothing is flagged.
TEST(ComputeTdr, LossTakenOutOfALosslessSweepReadAboveOne) {
  for (const bool lossTakenOut : {true, false}) {
    TdrRequest request = LoneReflection(1, 30, 1e6, 1e6, 400);
    if (lossTakenOut)
      for (const double hz : request.freqHz)
        request.lossDbPerMetre.push_back((0.425585 * std::sqrt(hz / 1e6) + 0.00964155 * hz / 1e6) / 30.48);
    const TdrResult result = ComputeTdr(request);
    for (const TdrPoint& point : result.points) ASSERT_LE(std::abs(point.reflection), 1) << point.distanceM;
    ASSERT_FALSE(result.peaks.empty());
    EXPECT_EQ(result.capped, lossTakenOut);
    EXPECT_EQ(result.peaks.front().capped, lossTakenOut);
    EXPECT_NEAR(result.peaks.front().reflection, 1, 0.01);
  }
}

// The pitfalls of such views: a window that shrinks the peak, open and short alike, the DC value
// and half the reference plane's step lost, the resolution of another window than the one used.
// Each row is a lone reflection on a lossless line; `factor` is the resolution in units of
// c VF / (2 B), B the highest frequency in low-pass mode and the span in band-pass mode.
TEST(ComputeTdr, LoneReflectionReadsItsTrueSizeSignAndStep) {
  struct Case {
    double size, metres, firstHz;
    TdrWindow window;
    double factor;
  };
  const Case cases[] = {
      {1, 30, 1e6, TdrWindow::kKaiser, 0.98},      {-1, 30, 1e6, TdrWindow::kHann, 1.00},
      {0.2, 0, 1e6, TdrWindow::kKaiser, 0.98},     {-0.5, 61.3, 1e6, TdrWindow::kNone, 0.60},
      {0.3, 61.3, 50e6, TdrWindow::kKaiser, 1.96}, {0.3, 12.34, 50e6, TdrWindow::kNone, 1.21},
  };
  for (const Case& c : cases) {
    TdrRequest request = LoneReflection(c.size, c.metres, c.firstHz, 1e6, 400);
    request.window = c.window;
    const TdrResult result = ComputeTdr(request);
    const bool lowPass = result.mode == TdrMode::kLowPass;
    const double band = lowPass ? request.freqHz.back() : request.freqHz.back() - request.freqHz.front() + 1e6;
    const std::string row = std::to_string(c.size) + " at " + std::to_string(c.metres) + " m";
    EXPECT_NEAR(result.resolutionM / (kLightMetresPerSecond * kVf / (2 * band)), c.factor, 0.03) << row;
    EXPECT_NEAR(result.rangeM, kLightMetresPerSecond * kVf / 2e6, 1e-6) << row;
    EXPECT_NEAR(result.peaks.front().distanceM, c.metres, result.resolutionM / 20) << row;
    EXPECT_NEAR(result.peaks.front().reflection, lowPass ? c.size : std::abs(c.size), 0.005) << row;
    if (!lowPass) continue;
    const double ohms = 50 * (1 + c.size) / (1 - c.size);
    if (std::abs(c.size) < 1) {
      EXPECT_NEAR(ImpedanceAt(result, c.metres + 5), ohms, 0.01 * ohms) << row;
    }
    // Half-way to the reflection, or 1 m past the reference plane when that is where it is.
    const double before = c.metres > 0 ? 50 : ohms;
    EXPECT_NEAR(ImpedanceAt(result, std::max(c.metres / 2, 1.0)), before, 0.01 * before) << row;
    EXPECT_EQ(result.peaks.front().kind, c.size == 1    ? FaultKind::kOpen
                                         : c.size == -1 ? FaultKind::kShort
                                         : c.size > 0   ? FaultKind::kHigherImpedance
                                                        : FaultKind::kLowerImpedance)
        << row;
  }
}

TEST(ComputeTdr, ALineLongerThanTheRangeIsSaidToBe) {
  TdrRequest request = LoneReflection(1, 95, 1e6, 1e6, 400);  // the range is 98.9 m
  EXPECT_TRUE(ComputeTdr(request).longerThanRange);
  request = LoneReflection(1, 30, 1e6, 1e6, 400);
  EXPECT_FALSE(ComputeTdr(request).longerThanRange);
  request.lengthMaxM = 150;
  EXPECT_TRUE(ComputeTdr(request).longerThanRange);
  request.lengthMaxM = 40;
  const TdrResult result = ComputeTdr(request);
  EXPECT_NEAR(result.points.back().distanceM, 40, result.points[1].distanceM);
}

// The last sample shown rose toward a reflection past it, or toward the period's mirror of the
// one at 0 m, and was listed as a reflection of its own.
TEST(ComputeTdr, EdgeOfTheShownLengthWasListedAsAReflection) {
  TdrRequest request = LoneReflection(1, 30, 1e6, 1e6, 400);
  request.lengthMaxM = 29.8;
  EXPECT_TRUE(ComputeTdr(request).peaks.empty());
  const TdrResult fewPoints = ComputeTdr(LoneReflection(1, 0, 1e6, 1e6, 3));
  ASSERT_EQ(fewPoints.peaks.size(), 1u);
  EXPECT_EQ(fewPoints.peaks[0].distanceM, 0);
}

// A length past any sample count overflowed the cast to a sample index (undefined behaviour).
TEST(ComputeTdr, HugeLengthMaxOverflowedTheSampleCount) {
  const TdrRequest whole = LoneReflection(1, 30, 1e6, 1e6, 400);
  for (const double lengthMaxM : {1e25, 1e30, 1e300}) {
    TdrRequest request = whole;
    request.lengthMaxM = lengthMaxM;
    EXPECT_EQ(ComputeTdr(request).points.size(), ComputeTdr(whole).points.size()) << lengthMaxM;
  }
}

TEST(ComputeTdr, RefusesWhatItCannotTransform) {
  const TdrRequest good = LoneReflection(1, 10, 1e6, 1e6, 40);
  struct Case {
    std::string what;
    TdrRequest request;
  };
  std::vector<Case> cases(7, {"", good});
  cases[0].what = "at least 2 points", cases[0].request = LoneReflection(1, 10, 1e6, 1e6, 1);
  cases[1].what = "at most 16,383", cases[1].request = LoneReflection(1, 10, 1e6, 1e6, kMostTdrPoints + 1);
  cases[2].what = "not evenly spaced", cases[2].request.freqHz[7] += 0.1e6;
  cases[3].what = "velocity factor", cases[3].request.velocityFactor = 0;
  cases[4].what = "velocity factor", cases[4].request.velocityFactor = 1.5;
  cases[5].what = "not a finite number", cases[5].request.reflection[3] = {NAN, 0};
  cases[6].what = "one loss per frequency", cases[6].request.lossDbPerMetre = {0.1};
  for (const Case& c : cases) {
    try {
      ComputeTdr(c.request);
      ADD_FAILURE() << c.what;
    } catch (const TdrError& e) {
      EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
    }
  }
}

TEST(InverseFft, MatchesTheSumItStandsFor) {
  std::vector<Complex> data(16);
  for (std::size_t k = 0; k < data.size(); ++k) data[k] = {std::sin(k * 1.3), std::cos(k * 0.7)};
  std::vector<Complex> fast = data;
  InverseFft(fast);
  for (std::size_t n = 0; n < data.size(); ++n) {
    Complex sum;
    for (std::size_t k = 0; k < data.size(); ++k) sum += data[k] * std::polar(1.0, 2 * std::numbers::pi * k * n / 16.0);
    EXPECT_NEAR(std::abs(fast[n] - sum), 0, 1e-12) << n;
  }
  std::vector<Complex> uneven(12);
  EXPECT_THROW(InverseFft(uneven), std::invalid_argument);
}

}  // namespace
}  // namespace ferrolux
