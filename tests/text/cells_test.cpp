#include "text/cells.hpp"

#include <gtest/gtest.h>

namespace ferrolux {
namespace {

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

TEST(Painted, PlainWithoutColour) {
  EXPECT_EQ(Painted("x", "1", true), "\x1b[1mx\x1b[0m");
  EXPECT_EQ(Painted("x", "1", false), "x");
}

}  // namespace
}  // namespace ferrolux
