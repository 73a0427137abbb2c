#include "text/text.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace ferrolux {
namespace {

TEST(ParseNumber, ReadsTheLeadingNumberAndNeverFails) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {" 12.5abc", 12.5}, {"abc", 0},     {"", 0},      {"1,5", 1},     {"-3", -3},   {"2E2", 200},        {"2d2", 200},
      {"1.5:1", 1.5},     {"+.5", 0.5},   {"5.", 5},    {".", 0},       {"-", 0},     {"\t\r\n 7", 7},     {"1e", 1},
      {"1e+", 1},         {"3E-1x", 0.3}, {"&H1F", 31}, {"&hff", 255},  {"&O17", 15}, {"&q17", 15},        {"&B101", 5},
      {"&b2", 0},         {"&X12", 0},    {"&", 0},     {"1.2.3", 1.2}, {" - 5", 0},  {"1e400", HUGE_VAL},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ReadDecimal, TakesOnlyAWholeDecimalNumber) {
  EXPECT_EQ(ReadDecimal("+1.5e2"), 150);
  EXPECT_EQ(ReadDecimal("-.5"), -0.5);
  for (const char* text : {"0x10", "inf", "nan", " 1", "1 ", "1m", "", "+"})
    EXPECT_EQ(ReadDecimal(text), std::nullopt) << text;
}

TEST(FirstField, TakesTheTextBeforeTheFirstCommaOrInsideQuotes) {
  struct Case {
    const char* line;
    const char* expected;
  };
  const Case cases[] = {
      {"  12, 34", "12"}, {"\"1,5\" more", "1,5"},  {"", ""},   {"   ", ""}, {"abc ,d", "abc "},
      {"\"open", "open"}, {"no comma", "no comma"}, {",x", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstField(c.line), c.expected) << '"' << c.line << '"';
}

TEST(NumberText, PutsABlankBeforeNonNegativeNumbers) {
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(42), " 42");
  EXPECT_EQ(NumberText(-7), "-7");
}

TEST(PlainNumberText, WritesSignificantDigitsWithoutPaddingZeros) {
  struct Case {
    double value;
    int digits;
    const char* expected;
  };
  const Case cases[] = {
      {0.85, 7, ".85"},
      {2.5, 7, "2.5"},
      {3.0, 7, "3"},
      {0, 7, "0"},
      {-0.25, 7, "-.25"},
      {static_cast<float>(1.9), 7, "1.9"},
      {static_cast<float>(74.0552), 7, "74.0552"},
      {74.06, 15, "74.06"},
      {1234567, 7, "1234567"},
      {12345678, 7, "1.234568E+07"},
      {1.5e9, 7, "1.5E+09"},
      {2e-8, 7, "2E-08"},
      {0.00001, 7, ".00001"},
      {1.0 / 3, 7, ".3333333"},
      {2.0 / 3, 7, ".6666667"},
      {100, 15, "100"},
      {HUGE_VAL, 7, "inf"},
      {-HUGE_VAL, 15, "-inf"},
      {NAN, 15, "nan"},
      {-NAN, 7, "nan"},
  };
  for (const Case& c : cases) EXPECT_EQ(PlainNumberText(c.value, c.digits), c.expected) << c.value << " @" << c.digits;
}

TEST(UpperCase, RaisesAsciiAndTheCodePage437Letters) {
  EXPECT_EQ(UpperCase("rg-58 a/u"), "RG-58 A/U");
  EXPECT_EQ(UpperCase("\x84\x94\x81\x82\xa4\x86\x87"), "\x8e\x99\x9a\x90\xa5\x8f\x80");
  EXPECT_EQ(UpperCase("\xe4{}1"), "\xe4{}1");  // other bytes stay as they are
}

TEST(TrimBlanks, RemovesOnlyBlanksAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace ferrolux
