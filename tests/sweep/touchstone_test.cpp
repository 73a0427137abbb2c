#include "sweep/touchstone.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace ferrolux {
namespace {

using Complex = std::complex<double>;

// The same 50 ohm sweep point (S = 0.2 + j0.1 at 7 MHz) in every format a file can use.
TEST(ReadTouchstone, EveryFormatOfTheSamePoint) {
  const Complex s(0.2, 0.1);
  const Complex z = 50.0 * (1.0 + s) / (1.0 - s);
  const double mag = std::abs(s), deg = std::arg(s) * 180 / 3.14159265358979323846;
  std::ostringstream ma, db;
  ma.precision(17), db.precision(17);
  ma << "# MHz S MA R 50\n7 " << mag << ' ' << deg << '\n';
  db << "# mhz s db r 50\n7 " << 20 * std::log10(mag) << ' ' << deg << '\n';
  struct Case {
    std::string name, bytes;
    double refOhms;
  };
  const Case cases[] = {
      {"RI", "! a comment\n# MHz S RI R 50\n7 0.2 0.1 ! trailing\n", 50},
      {"MA", ma.str(), 50},
      {"DB", db.str(), 50},
      {"defaults GHz S MA", "0.007 " + std::to_string(mag) + " " + std::to_string(deg) + "\n", 50},
      {"Z normalised in 1.x",
       "# MHz Z RI R 25\r\n7 " + std::to_string(z.real() / 25) + " " + std::to_string(z.imag() / 25) + "\r\n", 25},
      {"2.0 in ohms",
       "[Version] 2.0\n# MHz Z RI R 50\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
       "[Network Data]\n7 " +
           std::to_string(z.real()) + " " + std::to_string(z.imag()) + "\n[End]\n",
       50},
  };
  for (const Case& c : cases) {
    const Sweep sweep = ReadTouchstone(c.bytes);
    ASSERT_EQ(sweep.points.size(), 1u) << c.name;
    EXPECT_DOUBLE_EQ(sweep.points[0].freqHz, 7e6) << c.name;
    EXPECT_EQ(sweep.refOhms, c.refOhms) << c.name;
    EXPECT_NEAR(std::abs(sweep.points[0].z - z), 0, 1e-4) << c.name;
  }
}

TEST(ReadTouchstone, FaultsNameTheirLine) {
  struct Case {
    std::string bytes;
    std::size_t line;
    std::string what;
  };
  const Case cases[] = {
      {"# MHz S RI R 50\n1 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8\n", 2, "more than one port"},
      {"[Version] 2.0\n[Number of Ports] 2\n", 2, "more than one port"},
      {"# MHz S RI R 50\n2 0 0\n1 0 0\n", 3, "the frequencies do not rise"},
      {"# MHz S RI R 50\n2 0 0\n2 0 0\n", 3, "the frequencies do not rise"},
      {"# MHz S RI R 50\n1 nan 0\n", 2, "not a finite number"},
      {"# MHz S RI R 50\n1 0\n", 2, "a short line"},
      {"# MHz Q RI R 50\n", 1, "unknown option line"},
      {"# MHz S RI R 50\n1 0 x\n", 2, "\"x\" is not a number"},
      {"[Version] 2.0\n1 0 0\n", 2, "data before [Network Data]"},
      {"[Version] 2.0\n[Number of Frequencies] 2\n[Network Data]\n1 0 0\n[End]\n", 5, "says 2, the file has 1"},
      // A count too large for a size_t was undefined behaviour.
      {"[Version] 2.0\n[Number of Frequencies] 3.3e19\n", 2, "not a whole number up to 1,000,000"},
      {"! nothing\n", 1, "no data points"},
  };
  for (const Case& c : cases) {
    try {
      ReadTouchstone(c.bytes);
      ADD_FAILURE() << c.bytes;
    } catch (const TouchstoneError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.bytes;
      EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
    }
  }
}

TEST(ReadTouchstone, NoMoreThanAMillionPoints) {
  std::string bytes = "# Hz S RI R 50\n";
  for (std::size_t i = 1; i <= kMostSweepPoints + 1; ++i) bytes += std::to_string(i) + " 0 0\n";
  try {
    ReadTouchstone(bytes);
    ADD_FAILURE();
  } catch (const TouchstoneError& e) {
    EXPECT_EQ(e.Line(), kMostSweepPoints + 2);
  }
}

TEST(WriteTouchstone, ReadsBackToTheSameImpedances) {
  const std::vector<SweepPoint> points = {{1.8e6, {35, -20}}, {3.6e6, {12.5, 300}}, {7.1e6, {50, 0}}};
  const std::string text = WriteTouchstone(points, 75, {"antenna end"});
  EXPECT_TRUE(text.starts_with("! antenna end\n# MHz S RI R 75\n1.8 ")) << text;
  const Sweep back = ReadTouchstone(text);
  ASSERT_EQ(back.points.size(), points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_DOUBLE_EQ(back.points[i].freqHz, points[i].freqHz);
    EXPECT_NEAR(std::abs(back.points[i].z - points[i].z), 0, 1e-9);
  }
}

// A file written by scikit-rf (tests/data/make_line_cases.py) reads as it wrote it.
TEST(ReadTouchstone, AFileScikitRfWrote) {
  std::ifstream file(FERROLUX_TEST_DATA_DIR "/rg8_9913_75ft_35j20.s1p", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const Sweep sweep = ReadTouchstone(bytes);
  ASSERT_EQ(sweep.points.size(), 11u);
  EXPECT_DOUBLE_EQ(sweep.points.front().freqHz, 1.8e6);
  EXPECT_DOUBLE_EQ(sweep.points.back().freqHz, 30e6);
}

}  // namespace
}  // namespace ferrolux
