#include "model/deembedding.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

#include "support/cable_sweeps.hpp"

namespace ferrolux {
namespace {

constexpr double kFeet = 0.3048;
// The two cables of the scikit-rf sweeps, with the shipped catalog's figures.
const CableNumbers kRg58a{50, 0.66, 0, 0.425585, 0.00964155};        // Belden 8259
const CableNumbers kRg8{50, 0.84, 0.122504, 0.120581, 0.000155225};  // Belden 9913

// Sweeps scikit-rf computed at the shack end of a known load (tests/data/make_line_cases.py):
// carried back through the same line they give that load at every point, and the load carried
// forward gives the sweep.
TEST(DeembedAt, GivesBackTheLoadScikitRfEmbedded) {
  struct Case {
    std::string file;
    FeedLine line;
    std::function<Complex(double mhz)> load;
  };
  const auto rlc = [](double mhz) {
    const double w = 2 * std::numbers::pi * mhz * 1e6, l = 12e-6;
    const double c = 1 / (std::pow(2 * std::numbers::pi * 7.1e6, 2) * l);
    return Complex(36, w * l - 1 / (w * c));
  };
  const Case cases[] = {
      {"rg58a_100ft_rlc.s1p", {kRg58a, 0.66, 100 * kFeet, 50}, rlc},
      {"rg8_9913_75ft_35j20.s1p", {kRg8, 0.84, 75 * kFeet, 50}, [](double) { return Complex(35, -20); }}};
  for (const Case& c : cases) {
    const testing::SweepData sweep = testing::ReadSweepDataAt(FERROLUX_TEST_DATA_DIR "/" + c.file);
    ASSERT_FALSE(sweep.mhz.empty()) << c.file;
    for (size_t i = 0; i < sweep.mhz.size(); ++i) {
      const double mhz = sweep.mhz[i];
      const LinePoint antenna = DeembedAt(c.line, mhz, sweep.z[i]);
      EXPECT_TRUE(antenna.passive) << c.file << " " << mhz;
      EXPECT_NEAR(std::abs(antenna.antennaZ - c.load(mhz)), 0, 1e-6 * std::abs(c.load(mhz))) << c.file << " " << mhz;
      const LinePoint shack = EmbedAt(c.line, mhz, c.load(mhz));
      EXPECT_NEAR(std::abs(shack.shackZ - sweep.z[i]), 0, 1e-6 * std::abs(sweep.z[i])) << c.file << " " << mhz;
      EXPECT_NEAR(shack.totalLossDb, antenna.totalLossDb, 1e-6) << c.file << " " << mhz;
    }
  }
}

// An exact open (S = 1+j0, as calibration kits and simulators write it) went through the transform
// as inf/inf and came out nan: at the shack it gives the limit -Z0 coth(γℓ), which is active; at
// the antenna it reads Z0 coth(γℓ) at the shack and takes no power.
TEST(DeembedAt, ExactOpenGaveNan) {
  const FeedLine line{kRg58a, 0.66, 100 * kFeet, 50};
  const Complex open(std::numeric_limits<double>::infinity(), 0);
  const LinePoint antenna = DeembedAt(line, 7, open);
  EXPECT_NEAR(std::abs(antenna.antennaZ - Complex(-18.513396635478315, 67.4426164572408)), 0, 1e-9);
  EXPECT_FALSE(antenna.passive);
  EXPECT_TRUE(std::isinf(antenna.shackSwr));
  const LinePoint shack = EmbedAt(line, 7, open);
  EXPECT_NEAR(std::abs(shack.shackZ + antenna.antennaZ), 0, 1e-9);
  EXPECT_TRUE(shack.passive);
  EXPECT_TRUE(std::isinf(shack.totalLossDb) && std::isinf(shack.antennaSwr));
}

}  // namespace
}  // namespace ferrolux
