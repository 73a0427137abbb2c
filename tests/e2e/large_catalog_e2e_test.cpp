// A catalog of many thousand cable types, generated here: the calculator builds and sorts its
// long type list, and Ctrl+C, SIGTERM and a window change are still acted on at once.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kTypes = 99'000;
// Far beyond what acting on a signal takes, far below the 12 s the list once took to build.
constexpr seconds kPromptly{5};
constexpr seconds kLoading{60};
const std::string kNotice = "at least 120 columns by 43 rows";

std::string ManyTypes() {
  std::string catalog;
  char type[16];
  for (int i = 0; i < kTypes; ++i) {
    std::snprintf(type, sizeof type, "T%06d", (i * 7919) % kTypes);  // not in order already
    catalog += Record(type, "P");
  }
  return catalog;
}

TEST(LargeCatalogE2eTest, SignalsAreActedOnWhileTheTypeListIsBuiltAndSorted) {
  struct Case {
    const char* name;
    int signal;         // sent to the program
    const char* typed;  // or typed
    int status;         // -1: the run goes on, with the notice asking for a larger window
  };
  const Case cases[] = {{"SIGTERM", SIGTERM, "", 128 + SIGTERM},
                        {"Ctrl+C typed", 0, "\x03", 128 + SIGINT},
                        {"a window change", SIGWINCH, "", -1}};
  ferrolux::testing::TempFolder temp;
  temp.Write("CableCatalog.txt", ManyTypes());
  for (const Case& c : cases) {
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_TRUE(s.WaitForText(kLengthPrompt, kLoading)) << c.name << "\n" << s.Screen();
    s.Send("50\r100\r1.5\rn");
    ASSERT_TRUE(s.WaitForText(kBandPrompt)) << c.name;
    s.Send("9");
    std::this_thread::sleep_for(milliseconds(100));
    if (c.signal == SIGWINCH) s.Resize(80, 24);
    else if (c.signal != 0) s.Signal(c.signal);
    else s.Send(c.typed);
    if (c.status >= 0) {
      EXPECT_EQ(s.WaitForExit(kPromptly), c.status) << c.name;
      continue;
    }
    EXPECT_TRUE(s.WaitForText(kNotice, kPromptly)) << c.name << "\n" << s.Screen();
    s.Resize(120, 43);
    EXPECT_TRUE(s.WaitForText(kTypeListTitle, kLoading)) << c.name;
  }
}

}  // namespace
}  // namespace ferrolux::e2e
