// A terminal that stops reading (a stalled SSH link, a paused emulator): the program waits for it
// without losing a byte, yet still hears Ctrl+C and SIGTERM at once.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Far more than a pseudo-terminal holds unread: whole pages, painted again after each change.
constexpr int kRepaints = 60;
// Generous beside the half second the program gives its last bytes, never near a stall's length.
constexpr seconds kPromptEnd{3};
// Sets O_NONBLOCK on the terminal it shares with the program, as a careless program may leave it.
const std::string kNonBlockingShell =
    "use Fcntl; fcntl(STDOUT, F_SETFL, fcntl(STDOUT, F_GETFL, 0) | O_NONBLOCK) or die; exec @ARGV or die";

std::string Catalog() {
  std::string catalog;
  for (int i = 0; i < 30; ++i) catalog += Record("RG-" + std::to_string(100 + i), "Part");
  return catalog;
}

// The window changes again and again while nothing is read: each change paints the page whole.
void StallWithRepaints(PtySession& s) {
  for (int i = 0; i < kRepaints; ++i) {
    s.ResizeWindow(120 + i % 2, 43 + i % 2);
    s.SendUnread(i % 2 ? "\x1bOA" : kDownKey);
    std::this_thread::sleep_for(milliseconds(5));
  }
  s.ResizeWindow(120, 43);
  std::this_thread::sleep_for(milliseconds(200));
}

// The exit status, reaped without reading the terminal; -1 when the program is still running.
int ExitWithoutReading(PtySession& s, seconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  int raw = 0;
  while (waitpid(s.Pid(), &raw, WNOHANG) != s.Pid()) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(milliseconds(10));
  }
  s.Forget();
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

class StalledTerminalE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { temp.Write("CableCatalog.txt", Catalog()); }
  ferrolux::testing::TempFolder temp;
};

TEST_F(StalledTerminalE2eTest, CtrlCAndSigtermEndTheRunWhileTheTerminalReadsNothing) {
  struct Case {
    const char* name;
    int signal;
    const char* typed;  // typed instead of sending the signal
  };
  const Case cases[] = {{"SIGTERM", SIGTERM, ""}, {"Ctrl+C typed", SIGINT, "\x03"}};
  for (const Case& c : cases) {
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_GT(FirstScreenBytes(s), 0u) << c.name;
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << c.name;
    StallWithRepaints(s);
    if (*c.typed != '\0') s.SendUnread(c.typed);
    else s.Signal(c.signal);
    EXPECT_EQ(ExitWithoutReading(s, kPromptEnd), 128 + c.signal) << c.name;
    s.Pump(milliseconds(100));
    EXPECT_TRUE(s.TerminalModesRestored()) << c.name;
  }
}

// Once the terminal reads again, the screen is what a whole repaint shows: no byte was lost,
// also where the terminal was left non-blocking by another program.
TEST_F(StalledTerminalE2eTest, AfterAStallTheScreenEqualsAWholeRepaint) {
  struct Case {
    const char* name;
    std::string binary;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {{"blocking", FERROLUX_BINARY, {}},
                        {"left non-blocking", "/usr/bin/perl", {"-e", kNonBlockingShell, FERROLUX_BINARY}}};
  for (const Case& c : cases) {
    PtySession s(c.binary, temp.Path(), 120, 43, c.arguments);
    ASSERT_GT(FirstScreenBytes(s), 0u) << c.name;
    ASSERT_TRUE(ReachBandMenu(s) && ReachTypeListByBand(s)) << c.name << "\n" << s.Screen();
    StallWithRepaints(s);
    s.SendUnread(kDownKey + kDownKey);
    ASSERT_TRUE(s.WaitForQuiet(milliseconds(300), seconds(10))) << c.name;
    const std::string resumed = s.Screen();
    s.Resize(120, 43);  // paints the page whole
    ASSERT_TRUE(s.WaitForQuiet(milliseconds(300), seconds(10))) << c.name;
    EXPECT_EQ(resumed, s.Screen()) << c.name;
    s.Send("\r\rn");
    EXPECT_EQ(s.WaitForExit(seconds(10)), 0) << c.name;
  }
}

}  // namespace
}  // namespace ferrolux::e2e
