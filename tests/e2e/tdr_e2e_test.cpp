// `ferrolux tdr --plot` in a pseudo-terminal: the chart of the reflection against distance reads
// back from the screen with its title and the open at the line's end named.
#include <gtest/gtest.h>

#include <filesystem>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;

TEST(TdrE2e, PlotShowsItsTitleAndTheLargestPeakOnTheScreen) {
  ferrolux::testing::TempFolder temp;
  fs::copy_file(fs::path(FERROLUX_DATA_FOLDER) / "CableCatalog.txt", temp.Path() / "CableCatalog.txt");
  fs::copy_file(fs::path(FERROLUX_TDR_DIR) / "rg58_open_10m.s1p", temp.Path() / "rg58_open_10m.s1p");
  PtySession s(FERROLUX_BINARY, temp.Path(), 120, 30,
               {"tdr", "rg58_open_10m.s1p", "--cable", "Belden 8259", "--metric", "--plot"});
  EXPECT_TRUE(s.WaitForText("Reflection against distance, low-pass, Kaiser")) << s.Screen();
  EXPECT_TRUE(s.WaitForText("through RG-58A/U, Belden 8259, loss taken out")) << s.Screen();
  EXPECT_TRUE(s.WaitForText("1.00 at 10.00 m")) << s.Screen();
  EXPECT_EQ(s.WaitForExit(), 0);
}

}  // namespace
}  // namespace ferrolux::e2e
