#include "model/path_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ferrolux {
namespace {

constexpr double kFeet = 0.3048;

// A stand-in for the catalog: "RG-8X" is one cable, "RG-8" three, "Bare" lacks a velocity
// factor, "Nameless" an impedance, and "Slow" has a velocity factor no cable has.
CableLookup FindCable(const std::string& typed) {
  const std::vector<PathCable> cables = {{"RG-8X, Belden 9258", {50, 0.82, 0.0187, 0.277, 0.00256}, 0, 0},
                                         {"RG-8/U, Belden 8237", {52, 0.66, 0.3, 0.2, 0.001}, 0, 0},
                                         {"RG-8/U, Belden 8267", {50, 0.66, 0.1, 0.2, 0.001}, 0, 0},
                                         {"Bare, Test 1", {50, 0, 0, 0.2, 0}, 0, 0},
                                         {"Nameless, Test 2", {0, 0.66, 0, 0.2, 0}, 0, 0},
                                         {"Slow, Test 3", {50, 0.01, 0, 0.2, 0}, 0, 0}};
  CableLookup lookup;
  for (const PathCable& cable : cables)
    if (cable.name.starts_with(typed)) lookup.matches.push_back(cable);
  if (lookup.matches.empty()) lookup.nearest = {"RG-8X"};
  return lookup;
}

TEST(PathText, ReadsEveryElementForm) {
  const std::vector<PathElement> path = ParsePath(
      "RG-8X:6ft, PL-259,arrestor , RG-8X : 2 m @0.78,N, 7/16 DIN, so-239, 0.2dB, 1.5 DB, Lightning Arrester, "
      "coax switch, PL-258",
      FindCable);
  ASSERT_EQ(path.size(), 12U);
  EXPECT_EQ(path[0].kind, ElementKind::kCable);
  EXPECT_EQ(path[0].cable.name, "RG-8X, Belden 9258");
  EXPECT_DOUBLE_EQ(path[0].cable.lengthM, 6 * kFeet);
  EXPECT_DOUBLE_EQ(path[0].cable.velocityFactor, 0.82);
  EXPECT_DOUBLE_EQ(path[3].cable.lengthM, 2);
  EXPECT_DOUBLE_EQ(path[3].cable.velocityFactor, 0.78);
  const std::vector<std::pair<size_t, ConnectorFamily>> connectors = {
      {1, ConnectorFamily::kUhf},     {2, ConnectorFamily::kArrestor}, {4, ConnectorFamily::kN},
      {5, ConnectorFamily::kDin716},  {6, ConnectorFamily::kUhf},      {9, ConnectorFamily::kArrestor},
      {10, ConnectorFamily::kSwitch}, {11, ConnectorFamily::kBarrel}};
  for (const auto& [place, family] : connectors) {
    EXPECT_EQ(path[place].kind, ElementKind::kConnector) << place;
    EXPECT_EQ(path[place].connector, family) << place;
  }
  EXPECT_EQ(path[7].kind, ElementKind::kLumped);
  EXPECT_DOUBLE_EQ(path[7].lumpedDb, 0.2);
  EXPECT_DOUBLE_EQ(path[8].lumpedDb, 1.5);
}

TEST(PathText, BadElementsAreNamedByTheirPlace) {
  struct Case {
    std::string text;
    size_t place;
    std::string element, problem;
    size_t details;
  };
  for (const Case& c : {
           Case{"", 1, "", "an empty element", 0},
           Case{"RG-8X:6ft,, N", 2, "", "an empty element", 0},
           Case{"N, RG-8X:6ft,", 3, "", "an empty element", 0},
           Case{"RG-8X:6", 1, "RG-8X:6", "needs its unit", 0},
           Case{"N, RG-8X:0ft", 2, "RG-8X:0ft", "a number above 0", 0},
           Case{"RG-8X:-3m", 1, "RG-8X:-3m", "a number above 0", 0},
           Case{"RG-8X:infft", 1, "RG-8X:infft", "a number above 0", 0},
           Case{"RG-8X:6ft@1.2", 1, "RG-8X:6ft@1.2", "velocity factor after the @", 0},
           Case{":6ft", 1, ":6ft", "no cable name", 0},
           Case{"RG-9:6ft", 1, "RG-9:6ft", "no cable has that name; did you mean", 1},
           Case{"Bare:6ft", 1, "Bare:6ft", "no velocity factor", 0},
           Case{"Nameless:6ft@0.7", 1, "Nameless:6ft@0.7", "no impedance", 0},
           Case{"N, PL-295", 2, "PL-295", "not a connector", 0},
           Case{"-0.5dB", 1, "-0.5dB", "a number of dB, 0 or more", 0},
           Case{"nandB", 1, "nandB", "a number of dB", 0},
       }) {
    try {
      ParsePath(c.text, FindCable);
      ADD_FAILURE() << c.text << ": read without complaint";
    } catch (const PathTextError& e) {
      EXPECT_EQ(e.Place(), c.place) << c.text;
      EXPECT_EQ(e.Element(), c.element) << c.text;
      const std::string message = e.what();
      EXPECT_TRUE(message.starts_with("path element " + std::to_string(c.place) + ": ")) << message;
      EXPECT_NE(message.find(c.problem), std::string::npos) << c.text << ": " << message;
      EXPECT_EQ(e.Details().size(), c.details) << c.text;
    }
  }
}

// A loss or a length past a float's range overflowed the path's sums (a loss of "inf" dB, .02 W
// at the shack), and a velocity factor of 1e-300 its phase (nan); each is refused, as the command
// line refuses its own.
TEST(PathText, HugeFiguresAndTinyVelocityFactorsOverflowedTheModel) {
  for (const auto& [text, problem] :
       {std::pair{"1e308dB, 1e308dB", "a lumped loss is a number of dB"},
        {"RG-8X:1e300m", "a cable's length is a number above 0"},
        {"Slow:10ft", "the catalog's velocity factor for this cable is not from 0.1"},
        {"RG-8X:10ft@1e-300", "the velocity factor after the @ is a number from 0.1 to 1"},
        {"RG-8X:10ft@0.09", "the velocity factor after the @ is a number from 0.1 to 1"}}) {
    try {
      ParsePath(text, FindCable);
      ADD_FAILURE() << text << ": read without complaint";
    } catch (const PathTextError& e) {
      EXPECT_EQ(e.Place(), 1U) << text;
      EXPECT_NE(std::string(e.what()).find(problem), std::string::npos) << text << ": " << e.what();
    }
  }
  EXPECT_DOUBLE_EQ(ParsePath("RG-8X:3e38m@0.1, 3e38dB", FindCable)[1].lumpedDb, 3e38);
}

// The count in the message was taken from the list of names after it had been moved into the
// error: "matches 0 cables".
TEST(PathText, AmbiguousCableCountedItsNamesAfterMovingThem) {
  try {
    ParsePath("RG-8/U:6ft", FindCable);
    ADD_FAILURE() << "an ambiguous cable read without complaint";
  } catch (const PathTextError& e) {
    EXPECT_STREQ(e.what(), "path element 1: the name matches 2 cables; give a part number:");
    EXPECT_EQ(e.Details(), (std::vector<std::string>{"RG-8/U, Belden 8237", "RG-8/U, Belden 8267"}));
  }
}

// "RG-8X:6ft@" took the catalog's velocity factor, as if no @ had been typed.
TEST(PathText, BareAtSignReadAsNoVelocityFactor) {
  EXPECT_THROW(ParsePath("RG-8X:6ft@", FindCable), PathTextError);
  EXPECT_THROW(ParsePath("RG-8X:6ft@ ", FindCable), PathTextError);
}

}  // namespace
}  // namespace ferrolux
