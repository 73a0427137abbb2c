#include "console/format_output.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "console/headless.hpp"
#include "support/screen_picture.hpp"

namespace ferrolux {
namespace {

const std::string kStale = "stale";
const std::string kMessage = "SubScript out of range in FormatOutput() Subroutine";
constexpr int kReportRow = 5;

std::string Blank(int width) { return std::string(width, ' '); }

struct WrapCase {
  std::string name;
  std::string text;
  int width;
  int upperBound;
  std::vector<std::string> expected;  // the whole array, element 0 first
  bool overflows;
};

void PrintTo(const WrapCase& c, std::ostream* out) { *out << c.name; }

class FormatOutputCase : public ::testing::TestWithParam<WrapCase> {};

TEST_P(FormatOutputCase, FillsTheLineArray) {
  const WrapCase& c = GetParam();
  HeadlessConsole h;
  h.console.Locate(kReportRow, 1);
  if (c.overflows) h.keyboard.Key('x');
  std::string errorMessage;
  const std::string text = c.text;
  std::vector<std::string> lines(c.upperBound + 1, kStale);

  FormatOutput(h.console, errorMessage, text, lines, c.width);

  EXPECT_EQ(lines, c.expected);
  EXPECT_EQ(text, c.text);
  if (!c.overflows) {
    EXPECT_EQ(errorMessage, "");
    EXPECT_EQ(h.keyboard.reads, 0);
    EXPECT_EQ(h.console.Screen().cursor, (Position{kReportRow, 1}));
    return;
  }
  EXPECT_EQ(errorMessage, kMessage);
  EXPECT_EQ(h.keyboard.Pending(), 0u);
  const std::string bound = std::to_string(c.upperBound);
  const std::string count = std::to_string(c.upperBound + 1);
  EXPECT_EQ(testing::Picture(h.console.Screen(), {kReportRow, 1, kReportRow + 2, 0}),
            testing::Rows(
                {"             Error: " + kMessage, "     Array Boundry: " + bound, "Number of Elements: " + count}));
  EXPECT_EQ(h.console.Screen().cursor, (Position{kReportRow + 3, 1}));
}

const WrapCase kCases[] = {
    {"EmptyTextGivesOneBlankLine", "", 10, 3, {"1", Blank(10), "", ""}, false},
    {"AllBlankTextGivesOneBlankLine", "     ", 10, 3, {"1", Blank(10), "", ""}, false},
    {"NineCharactersFitWidthTen", "abcdefghi", 10, 2, {"1", "abcdefghi ", ""}, false},
    {"TenCharactersWithoutBlankNeverFitWidthTen", "abcdefghij", 10, 3, {" 3", Blank(10), Blank(10), Blank(10)}, true},
    {"ThreeWordsBreakAfterTheSecond", "ab cd efgh", 6, 3, {" 2", "ab cd ", "efgh  ", ""}, false},
    {"OuterBlanksNeverShow", "   ab cd efgh    ", 6, 2, {" 2", "ab cd ", "efgh  "}, false},
    {"InnerBlanksStayInOneLine", "  a  b  ", 10, 1, {"1", "a  b      "}, false},
    {"InnerBlanksStayInWrappedLine", "ab  c defg", 6, 2, {" 2", "ab  c ", "defg  "}, false},
    {"TabsCountAsWordCharacters", "\tab cd\t", 10, 1, {"1", "\tab cd\t   "}, false},
    {"TabIsNoBreakPoint", "abcd\tef gh", 6, 2, {" 2", Blank(6), Blank(6)}, true},
    {"BlankRunLeftoverStartsNextPassBeforeTheWord", "abcd   ef gh", 6, 3, {" 3", "abcd  ", "ef    ", "gh    "}, false},
    {"BlankRunLeftoverGivesEmptyLineFirst", "abcd    efgh", 6, 4, {" 3", "abcd  ", Blank(6), "efgh  ", ""}, false},
    {"ExactlyUpperBoundLinesFitWithoutReport", "ab cd ef", 3, 3, {" 3", "ab ", "cd ", "ef "}, false},
    {"OneLineMoreThanUpperBoundIsCutAndReported", "ab cd ef gh", 3, 3, {" 3", "ab ", "cd ", "ef "}, true},
    {"LongWordGivesEmptyLinesUpToTheBound", "ab abcdef cd", 6, 4, {" 4", "ab    ", Blank(6), Blank(6), Blank(6)}, true},
    {"WidthOneKeepsOnlyBlankLines", "a", 1, 2, {" 2", " ", " "}, true},
    {"WidthOneFitsAnEmptyText", "", 1, 1, {"1", " "}, false},
    {"UpperBoundZeroHoldsNoSingleLine", "ab", 10, 0, {" 0"}, true},
    {"UpperBoundZeroHoldsNoWrappedLine", "ab cd efgh", 6, 0, {" 0"}, true},
};

INSTANTIATE_TEST_SUITE_P(EdgeCases, FormatOutputCase, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<WrapCase>& info) { return info.param.name; });

TEST(FormatOutput, TextHeldInTheArrayIsReadBeforeClearing) {
  HeadlessConsole h;
  std::string errorMessage;
  std::vector<std::string> lines = {"", "", "ab cd efgh"};
  FormatOutput(h.console, errorMessage, lines[2], lines, 6);
  EXPECT_EQ(lines, (std::vector<std::string>{" 2", "ab cd ", "efgh  "}));
}

TEST(FormatOutput, KeepsAnEarlierErrorWhenTheTextFits) {
  HeadlessConsole h;
  std::string errorMessage = "earlier";
  std::vector<std::string> lines(3);
  FormatOutput(h.console, errorMessage, "ab", lines, 10);
  EXPECT_EQ(errorMessage, "earlier");
}

// The results screen's call: a catalog description in the 90-column text area of 24 lines.
TEST(FormatOutput, WrapsACableDescriptionForTheResultsScreen) {
  constexpr int kWidth = 90;
  constexpr int kUpperBound = 24;
  const std::string description =
      "  Low-loss 50 ohm coaxial cable with a solid bare copper centre conductor, gas-injected "
      "foam polyethylene dielectric, an aluminium foil shield bonded to the dielectric and a "
      "tinned copper braid of 95% coverage under a tough, black UV-resistant jacket, for burial.  "
      "Its foam dielectric keeps the velocity factor at 0.85, so matched losses stay low well "
      "into the UHF range, and the bonded foil makes it a good choice for runs alongside other "
      "feed lines or next to a tower. Minimum bending radius 50 mm; use type N connectors.   ";
  // Written out by hand; the third line breaks at the first of two blanks, whose second one
  // must not start the fourth line.
  const std::vector<std::string> visible = {
      "Low-loss 50 ohm coaxial cable with a solid bare copper centre conductor, gas-injected ",
      "foam polyethylene dielectric, an aluminium foil shield bonded to the dielectric and a ",
      "tinned copper braid of 95% coverage under a tough, black UV-resistant jacket, for burial. ",
      "Its foam dielectric keeps the velocity factor at 0.85, so matched losses stay low well ",
      "into the UHF range, and the bonded foil makes it a good choice for runs alongside other ",
      "feed lines or next to a tower. Minimum bending radius 50 mm; use type N connectors. ",
  };
  HeadlessConsole h;
  std::string errorMessage;
  std::vector<std::string> lines(kUpperBound + 1, kStale);

  FormatOutput(h.console, errorMessage, description, lines, kWidth);

  EXPECT_EQ(lines[0], " 6");
  for (size_t i = 0; i < visible.size(); ++i) {
    SCOPED_TRACE(i + 1);
    ASSERT_EQ(lines[i + 1].size(), static_cast<size_t>(kWidth));
    EXPECT_EQ(lines[i + 1], visible[i] + Blank(kWidth - static_cast<int>(visible[i].size())));
  }
  for (size_t i = visible.size() + 1; i < lines.size(); ++i) EXPECT_EQ(lines[i], "") << i;
  EXPECT_EQ(errorMessage, "");
  EXPECT_EQ(lines.size(), static_cast<size_t>(kUpperBound + 1));
}

}  // namespace
}  // namespace ferrolux
