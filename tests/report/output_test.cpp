#include "report/output.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ferrolux {
namespace {

TEST(DisplayText, NoCatalogByteReachesATerminalAsAControl) {
  struct Case {
    std::string bytes;
    bool utf8;
    std::string text;
  };
  const Case cases[] = {
      {"RG-8X", true, "RG-8X"},
      {"\x1b[2J\a", true, "←[2J•"},       // escape and bell as their pictures
      {"Caf\xe9 \x80", true, "Café €"},   // Windows-1252
      {"Caf\xe9 \x1b", false, "Caf? ?"},  // no UTF-8: nothing outside ASCII
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayText(c.bytes, c.utf8), c.text) << c.bytes;
  EXPECT_EQ(JsonText("a\tb\xe9"), "a\tbé");
}

// The fault: a field holding ESC ] 0 ; title BEL came out of `--format csv` raw and retitled the
// terminal it was written to.
TEST(CsvField, CsvLettingAnEscapeFromTheCatalogThrough) {
  EXPECT_EQ(CsvField(JsonText("\x1b]0;owned\a\x1b[2J")), "\uFFFD]0;owned\uFFFD\uFFFD[2J");
  EXPECT_EQ(CsvField("a\x1b\xc2\x9b\x7f"), "a\uFFFD\uFFFD\uFFFD");  // C0, C1 and DEL
}

TEST(CsvField, NoCellStartsASpreadsheetFormula) {
  struct Case {
    const char* text;
    const char* field;
  };
  const Case cases[] = {{"=HYPERLINK(1)", "'=HYPERLINK(1)"},
                        {"+1+2", "'+1+2"},
                        {"@SUM(A1)", "'@SUM(A1)"},
                        {"\tx", "'\tx"},
                        {"-x", "'-x"},
                        {"-1.5", "-1.5"},
                        {"+2e3", "+2e3"},
                        {"-inf", "'-inf"},
                        {"=1,2", "\"'=1,2\""}};
  for (const Case& c : cases) EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

TEST(MachineNumbers, ShortestTextsAndQuotedFields) {
  EXPECT_EQ(MachineNumber(0.1), "0.1");
  EXPECT_EQ(MachineNumber(std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(Widened(74.0552f), 74.0552);
  EXPECT_EQ(CsvField("Foil+braid"), "Foil+braid");
  EXPECT_EQ(CsvField("0.405 in, \"UF\""), "\"0.405 in, \"\"UF\"\"\"");
}

}  // namespace
}  // namespace ferrolux
