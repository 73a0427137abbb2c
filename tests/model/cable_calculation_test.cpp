#include "model/cable_calculation.hpp"

#include <gtest/gtest.h>

namespace ferrolux {
namespace {

// What one calculation decides: what the estimate shows, what the line equations can say, which
// SWR both start from and whether the exact model ran.
TEST(CalculateCable, DecidesWhatEachColumnShows) {
  const CableNumbers foam{50, .78, .5, .2, .001};    // 3.06 dB per 100 ft at 146 MHz
  const CableNumbers thin{50, .66, 1.3, .55, .015};  // 3.58 dB per 100 ft at 14.175 MHz
  const CableNumbers noVelocityFactor{50, 0, .5, .2, .001};
  struct Case {
    const char* name;
    CableNumbers cable;
    CableSettings settings;
    EstimateShown shown;
    LineVerdict verdict;
    double shackSwr;
    bool exact;
  };
  const Case cases[] = {
      {"a usual run", foam, {50, 100, 1.5, 146, {}}, EstimateShown::kFigures, LineVerdict::kFigures, 1.5, false},
      {"above the estimator's 6:1",
       foam,
       {10, 100, 6.5, 146, {}},
       EstimateShown::kAboveSixNotice,
       LineVerdict::kFigures,
       6.5,
       false},
      // 3.58 dB of loss can show at most 2.56:1 in the shack, whatever the load.
      {"high SWR on a lossy line",
       thin,
       {100, 100, 5.5, 14.175, {}},
       EstimateShown::kHighSwrWarning,
       LineVerdict::kNoPassiveLoad,
       5.5,
       false},
      {"a meter of another reference",
       foam,
       {50, 100, 1.5, 146, {ExactInput::kShackSwr, {}, 75, 0}},
       EstimateShown::kFigures,
       LineVerdict::kOtherReference,
       1.5,
       true},
      // The estimate sees the shack's 1.5:1 as far beyond 20:1 at the antenna.
      {"a loss beyond a double",
       foam,
       {1e7, 100, 1.5, 146, {}},
       EstimateShown::kHighSwrWarning,
       LineVerdict::kBeyondAnyReading,
       1.5,
       false},
      {"a matched load given",
       foam,
       {50, 100, 3, 146, {ExactInput::kAntennaZ, {50, 0}, 0, 0}},
       EstimateShown::kFigures,
       LineVerdict::kFigures,
       1.0,
       true},
      {"no velocity factor for the exact line",
       noVelocityFactor,
       {50, 100, 1.5, 146, {ExactInput::kShackSwr, {}, 0, 0}},
       EstimateShown::kFigures,
       LineVerdict::kFigures,
       1.5,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CableCalculation result = CalculateCable(c.cable, c.settings);
    EXPECT_EQ(result.shown, c.shown);
    EXPECT_EQ(result.lineVerdict, c.verdict);
    EXPECT_EQ(result.line.figures.has_value(), c.verdict == LineVerdict::kFigures);
    EXPECT_NEAR(result.shackSwr, c.shackSwr, 0.05);
    EXPECT_EQ(result.exact.has_value(), c.exact);
  }
}

}  // namespace
}  // namespace ferrolux
