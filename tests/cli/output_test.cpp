#include "cli/output.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace ferrolux::cli {
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

TEST(FitWidth, CutsWithAnEllipsisInCellsNotBytes) {
  struct Case {
    const char* text;
    int width;
    bool utf8;
    const char* fitted;
  };
  const Case cases[] = {{"Belden 9258", 11, true, "Belden 9258"},
                        {"Belden 9258", 8, true, "Belden …"},
                        {"Belden 9258", 8, false, "Belde..."},
                        {"Café au lait", 5, true, "Café…"},
                        {"Belden", 1, true, "…"},
                        {"Belden", 2, false, ".."}};
  for (const Case& c : cases) EXPECT_EQ(FitWidth(c.text, c.width, c.utf8), c.fitted) << c.text << " " << c.width;
}

TEST(MachineNumbers, ShortestTextsAndQuotedFields) {
  EXPECT_EQ(MachineNumber(0.1), "0.1");
  EXPECT_EQ(MachineNumber(std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(Widened(74.0552f), 74.0552);
  EXPECT_EQ(CsvField("Foil+braid"), "Foil+braid");
  EXPECT_EQ(CsvField("0.405 in, \"UF\""), "\"0.405 in, \"\"UF\"\"\"");
}

}  // namespace
}  // namespace ferrolux::cli
