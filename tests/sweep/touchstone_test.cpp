#include "sweep/touchstone.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace ferrolux {
namespace {

using Complex = std::complex<double>;
using std::string_literals::operator""s;

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
  const std::string text = WriteTouchstone(points, 75, "antenna end");
  EXPECT_TRUE(text.starts_with("# MHz S RI R 75\n! antenna end\n1.8 ")) << text;
  const Sweep back = ReadTouchstone(text);
  ASSERT_EQ(back.points.size(), points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_DOUBLE_EQ(back.points[i].freqHz, points[i].freqHz);
    EXPECT_NEAR(std::abs(back.points[i].z - points[i].z), 0, 1e-9);
  }
}

// The first fault found in a file, or none; the point read when there is none.
struct Outcome {
  std::size_t line = 0;
  std::string what;
  double freqHz = 0;
  Complex z;
};

Outcome Read(std::string_view bytes) {
  try {
    const Sweep sweep = ReadTouchstone(bytes);
    return {0, "", sweep.points.front().freqHz, sweep.points.front().z};
  } catch (const TouchstoneError& e) {
    return {e.Line(), e.what(), 0, {}};
  }
}

// Every sweep here gave figures with status 0: nan+jnan, inf MHz, a fit of k0 0.
TEST(ReadTouchstone, PhysicallyImpossibleSweepsGaveFigures) {
  struct Case {
    std::string bytes;
    std::size_t line;
    std::string what;
  };
  const Case cases[] = {
      {"# MHz S RI R 50\n0 0.1 0\n", 2, "a frequency of 0 or below"},
      {"# MHz S RI R 50\n-7 0.1 0\n", 2, "a frequency of 0 or below"},
      {"# GHz S RI R 50\n1 0 0\n1e300 0 0\n", 3, "a frequency too large to hold in Hz"},
      {"[Version] 2.0\n# MHz S RI R 50\n[Reference] 0\n", 3, "the reference resistance must be above 0"},
      {"[Version] 2.0\n# MHz S RI R 50\n[Reference] -50\n", 3, "the reference resistance must be above 0"},
      {"# MHz S DB R 50\n7 7000 0\n", 2, "a value too large for any reflection or impedance"},
      {"# MHz S MA R 50\n7 -0.5 0\n", 2, "a magnitude below 0"},
      {"# MHz Z RI R 50\n7 1e307 0\n", 2, "an impedance too large to hold"},
      {"# MHz S RI R 50\n7 1e400 0\n", 2, "\"1e400\" is not a finite number"},
      {"", 0, "an empty file"},
  };
  for (const Case& c : cases) {
    const Outcome read = Read(c.bytes);
    EXPECT_EQ(read.line, c.line) << c.bytes;
    EXPECT_EQ(read.what, c.what) << c.bytes;
  }
}

// Instruments write "+1.000000E+06", end lines with CR alone, put a byte order mark first; a
// value below a double's range is 0, not a fault. Each case is 7 MHz and S = 0.2.
TEST(ReadTouchstone, NumbersAndLineEndsInstrumentsWriteWereRefused) {
  const std::string cases[] = {
      "# HZ S RI R 50\n+7.000000E+06 +2.000000E-01 +0.000000E+00\n",
      "! VNA\r# MHz S RI R 50\r7 0.2 0\r",
      "! VNA\r\n# MHz S RI R 50\r\n\r\n7 0.2 0",
      "\xEF\xBB\xBF# MHz S RI R 50\n7 0.2 1e-400\n",
      "# MHz S RI R 50\n7 0.2 -0.00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "0"
      "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
      "0"
      "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001\n",
  };
  for (const std::string& bytes : cases) {
    const Outcome read = Read(bytes);
    EXPECT_EQ(read.what, "") << bytes;
    EXPECT_EQ(read.freqHz, 7e6) << bytes;
    EXPECT_NEAR(std::abs(read.z - 75.0), 0, 1e-12) << bytes;
  }
  EXPECT_EQ(Read("# MHz S RI R 50\n7 0.2 0\n+-1 0 0\n").what, "\"+-1\" is not a number");
}

// A CR LF split between two reads is one line end; a line is the same however the file arrives.
TEST(TouchstoneReader, ReadsAFileInPiecesOfAnySize) {
  const std::string bytes = "! a\r\n# MHz S RI R 50\r\n7 0.2 0 ! c\r\n8 0.2 0\r9 0.2 0\n\n10 0.2 x\r\n";
  for (std::size_t piece = 1; piece <= bytes.size(); ++piece) {
    TouchstoneReader reader;
    try {
      for (std::size_t at = 0; at < bytes.size(); at += piece) reader.Read(std::string_view(bytes).substr(at, piece));
      reader.Finish();
      ADD_FAILURE() << piece;
    } catch (const TouchstoneError& e) {
      EXPECT_EQ(e.Line(), 7u) << piece;
    }
  }
}

// A fault quoted the file raw: ESC ] 0 ; retitled the terminal, OSC 52 wrote its clipboard, and a
// 10 MB option line made a 10 MB message. No control and no C1 reaches a message, and a quote
// stops after 80 characters.
TEST(ReadTouchstone, FaultsQuotedTheFilesEscapeBytes) {
  const std::string cases[] = {
      "1 \x1b]0;PWNED\a 0\n",
      "# MHz S RI R 50\n1 \x1b]52;c;cm0gLXJmIC8K\a 0\n",
      "# MHz S RI R 50\n1 0\x00x 0\n"s,
      "# MHz Q \xc2\x9b"
      "2J\x7f\n",
      "[Bogus\x1b[2J]\n",
      "# MHz S RI R 50 " + std::string(10'000'000, 'x') + "\n",
      "# MHz S RI R 50\n1 0 " + std::string(4000, 'y') + "\n",
  };
  for (const std::string& bytes : cases) {
    const std::string what = Read(bytes).what;
    ASSERT_FALSE(what.empty()) << bytes.substr(0, 40);
    EXPECT_LT(what.size(), 200u) << what;
    for (std::size_t i = 0; i < what.size(); ++i) {
      const auto byte = static_cast<unsigned char>(what[i]);
      EXPECT_TRUE(byte >= 0x20 && byte != 0x7f) << what;
      if (byte == 0xc2 && i + 1 < what.size()) {
        EXPECT_GE(static_cast<unsigned char>(what[i + 1]), 0xa0) << what;
      }
    }
  }
  EXPECT_EQ(Read("# MHz S RI R 50\n1 0\x00x 0\n"s).what, "\"0\u2400x\" is not a number");
}

// `deembed /dev/zero` grew until the OOM killer: a line is held only up to its limit.
TEST(ReadTouchstone, AFileOfZerosWasHeldWhole) {
  TouchstoneReader reader;
  const std::string zeros(1 << 16, '\0');
  try {
    for (int i = 0; i < 1000; ++i) reader.Read(zeros);
    ADD_FAILURE();
  } catch (const TouchstoneError& e) {
    EXPECT_EQ(e.Line(), 1u);
    EXPECT_STREQ(e.what(), "a line longer than 4,096 characters before any ! comment");
  }
}

// A part number "X<LF># GHz S RI R 50" wrote an option line of its own, and every frequency read
// back 1,000 times too high; an ESC went into the file as it was.
TEST(WriteTouchstone, ACommentWroteTouchstoneLinesOfItsOwn) {
  const std::vector<SweepPoint> points = {{7e6, {50, 0}}};
  const std::string text = WriteTouchstone(points, 50, "through RG-8X, X\n# GHz S RI R 50\r\x1b]0;t\a");
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
  EXPECT_EQ(ReadTouchstone(text).points.front().freqHz, 7e6);
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
