#include "cli/settings.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "cli/command_error.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {
namespace {

TEST(ReadLength, FeetByDefaultMetresByUnitOrOption) {
  struct Case {
    const char* text;
    bool metric;
    double feet, metres;
  };
  const Case cases[] = {
      {"50", false, 50, 50 * 0.3048},  {"50ft", false, 50, 50 * 0.3048}, {"50FT", true, 50, 50 * 0.3048},
      {"30m", false, 30 / 0.3048, 30}, {"30", true, 30 / 0.3048, 30},    {"0", false, 0, 0},
  };
  for (const Case& c : cases) {
    const Length length = ReadLength(c.text, c.metric);
    EXPECT_DOUBLE_EQ(length.feet, c.feet) << c.text;
    EXPECT_DOUBLE_EQ(length.metres, c.metres) << c.text;
  }
}

TEST(ReadSettings, RefusesWhatCannotBeMeantWithTheOptionNamed) {
  struct Case {
    SettingTexts texts;
    const char* message;
  };
  const Case cases[] = {
      {{"abc", "100", "1.5", "2m", ""}, "--length: \"abc\" is not a length (50, 50ft or 15m)"},
      {{"-5", "100", "1.5", "2m", ""}, "--length: -5 is below 0"},
      {{"50 ft", "100", "1.5", "2m", ""}, "--length: \"50 ft\" is not a length (50, 50ft or 15m)"},
      {{"1e400", "100", "1.5", "2m", ""}, "--length: \"1e400\" is not a length (50, 50ft or 15m)"},
      {{"50", "0", "1.5", "2m", ""}, "--power: 0 is not above 0"},
      {{"50", "100", "1,5", "2m", ""}, "--swr: \"1,5\" is not a number"},
      {{"50", "100", "0", "2m", ""}, "--swr: 0 is not above 0"},
      {{"50", "100", "1.5", "", ""}, "give either --band or --mhz"},
      {{"50", "100", "1.5", "3m", ""},
       "--band: no band \"3m\"; the bands are 160m 80m 40m 30m 20m 17m 15m 12m 10m "
       "6m 2m 1.25m 70cm gmrs"},
      {{"50", "100", "1.5", "", "-3"}, "--mhz: -3 is not above 0"},
  };
  for (const Case& c : cases) {
    try {
      ReadSettings(c.texts);
      ADD_FAILURE() << c.message;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), std::string(c.message));
      EXPECT_EQ(error.Status(), kExitUsage);
    }
  }
}

// Every length was "--length" in its errors, --length-max and a path's one cable among them; and
// a velocity factor of 1e-300 passed, to give nan downstream.
TEST(ReadLength, ErrorsNamedLengthForEveryOptionAndATinyVelocityFactorPassed) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { ReadLength("--length-max", "-5", false); }, "--length-max: -5 is below 0"},
      {[] { ReadLength("--length-max", "1e300m", false); },
       "--length-max: \"1e300m\" is not a length (50, 50ft or 15m)"},
      {[] { ReadLength("-5", false); }, "--length: -5 is below 0"},
      {[] { ReadVelocityFactor("--vf", "1e-300"); }, "--vf: 1e-300 is below 0.1"},
  };
  for (const auto& [read, message] : cases) {
    try {
      read();
      ADD_FAILURE() << message;
    } catch (const CommandError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
  EXPECT_EQ(ReadVelocityFactor("--vf", "0.1"), 0.1);
}

TEST(BandCentreMHz, GivesTheBandMenusFrequencies) {
  // Stored as the band menu stores them: the menu's text read as a number, then single precision.
  EXPECT_EQ(static_cast<float>(BandCentreMHz("10M")), 28.5f);
  EXPECT_EQ(static_cast<float>(BandCentreMHz("12m")), static_cast<float>(ParseNumber("24.940")));
  EXPECT_EQ(BandCentreMHz("70cm"), 430);
  EXPECT_EQ(BandCentreMHz("GMRS"), 465);
  EXPECT_EQ(ReadSettings({"50", "100", "7", "1.25m", ""}).band, "1.25m");
}

}  // namespace
}  // namespace ferrolux::cli
