// The program on terminals other than the usual xterm-256color.
#include <gtest/gtest.h>

#include <string>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

const char kCatalog[] =
    "RG-8X\tTest RG-8X\t50\t.78\t25\tStranded Cu\tFoam PE\tBraid\tPVC\t0.242 in\t300 V\t.5\t.2\t.001\t"
    "A small test cable.\tTesting.\r\n";

// The program under another terminal type: env takes over from the session's own.
PtySession StartAs(const std::string& type, const ferrolux::testing::TempFolder& temp) {
  return PtySession("/usr/bin/env", temp.Path(), 120, 43, {"TERM=" + type, FERROLUX_BINARY});
}

TEST(TerminalTypes, PaddingInTheTerminalsEntryNeverReachesTheScreen) {
  ferrolux::testing::TempFolder temp;
  temp.Write("CableCatalog.txt", kCatalog);
  PtySession s = StartAs("vt100", temp);
  ASSERT_TRUE(s.WaitForText("length in ft:")) << s.Screen();
  EXPECT_EQ(s.Output().find("$<"), std::string::npos);
  EXPECT_EQ(s.Screen().find('$'), std::string::npos) << s.Screen();
  EXPECT_EQ(s.Cell(1, 1), "╔");
}

TEST(TerminalTypes, EightColoursShowTheFrameAndTheTextInTheirBaseColours) {
  ferrolux::testing::TempFolder temp;
  temp.Write("CableCatalog.txt", kCatalog);
  PtySession s = StartAs("xterm", temp);
  ASSERT_TRUE(s.WaitForText("length in ft:")) << s.Screen();
  EXPECT_EQ(s.Colors(1, 1).foreground, 6);  // yellow without the bright bit: brown, made bold
  EXPECT_EQ(s.Colors(1, 1).background, 1);
  EXPECT_EQ(s.Colors(2, 43).foreground, 7);
  s.Send("7");
  ASSERT_TRUE(s.WaitForText("length in ft: 7"));
  EXPECT_EQ(s.Cell(10, 77), "7");
  EXPECT_EQ(s.Colors(10, 77).foreground, 7);
}

}  // namespace
}  // namespace ferrolux::e2e
