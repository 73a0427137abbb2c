// The program in a real tmux, not an emulator written for tests: a server of its own on its
// own socket, TERM=tmux-256color inside (or what a tmux.conf often sets), keys sent as tmux sends them (Home is ESC [ 1
// ~), the screen read back with capture-pane.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const char kTmux[] = "/usr/bin/tmux";
const std::string kBefore = "before ferrolux";

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class TmuxServer {
 public:
  // One window of 120x43 running `command` in `folder`, with TERM=`type` inside; the pane stays
  // after the command ends.
  TmuxServer(const fs::path& folder, const std::string& command, const std::string& type = "tmux-256color")
      : socket_(folder / "tmux.socket") {
    const fs::path config = folder / "tmux.conf";
    std::FILE* file = std::fopen(config.c_str(), "w");
    std::fputs(("set -g default-terminal " + type + "\nset -g remain-on-exit on\n").c_str(), file);
    std::fclose(file);
    Run("-f " + Quoted(config) + " new-session -d -x 120 -y 43 -e LANG=C.UTF-8 -c " + Quoted(folder) + " " +
        Quoted(command));
  }
  ~TmuxServer() { Run("kill-server"); }
  TmuxServer(const TmuxServer&) = delete;
  TmuxServer& operator=(const TmuxServer&) = delete;

  std::string Run(const std::string& arguments) const {
    const std::string line = std::string(kTmux) + " -u -S " + Quoted(socket_) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(line.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    pclose(pipe);
    return out;
  }
  void Keys(const std::string& keys) const { Run("send-keys " + keys); }
  std::string Screen() const { return Run("capture-pane -p"); }
  std::string Show(const std::string& format) const { return Run("display-message -p " + Quoted(format)); }
  // Waits until the screen is no longer `before`; false after a while.
  bool WaitForChange(const std::string& before) const {
    for (int look = 0; look < 100; ++look) {
      if (Screen() != before) return true;
      std::this_thread::sleep_for(milliseconds(10));
    }
    return false;
  }
  // Waits until the screen has stayed the same for a while.
  std::string SettledScreen() const {
    std::string screen = Screen();
    for (int look = 0; look < 100; ++look) {
      std::this_thread::sleep_for(milliseconds(200));
      std::string now = Screen();
      if (now == screen) break;
      screen = std::move(now);
    }
    return screen;
  }
  bool WaitFor(const std::string& text) const {
    for (int look = 0; look < 100; ++look) {
      if (Screen().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(milliseconds(50));
    }
    return false;
  }

 private:
  fs::path socket_;
};

TEST(TmuxE2e, ACalculationWithHomeAndEndInARealTmux) {
  if (!fs::exists(kTmux)) GTEST_SKIP() << "tmux is not installed";
  ferrolux::testing::TempFolder temp;
  temp.Write("CableCatalog.txt", Record("RG-8X", "Only") + Record("LMR-400", "First") + Record("LMR-400", "Second") +
                                     Record("LMR-400", "Third"));
  // The pane's title before the program, to be found again after it; the shell stays on.
  TmuxServer tmux(temp.Path(), "printf '\\033]2;" + kBefore + "\\007'; " + std::string(FERROLUX_BINARY) +
                                   "; echo \"status $?\"; sleep 60");
  ASSERT_TRUE(tmux.WaitFor("length in ft:")) << tmux.Screen();
  EXPECT_EQ(tmux.Show("#{pane_title}"), "Coaxial Cable Ferrolux By Tolvanik (v1.0a)\n");
  tmux.Keys("50 Enter 100 Enter 1.5 Enter n 9");
  ASSERT_TRUE(tmux.WaitFor("Select Cable Type")) << tmux.Screen();
  tmux.Keys("End Enter");  // the last of the two types, LMR-400
  ASSERT_TRUE(tmux.WaitFor("Please Make a Selection")) << tmux.Screen();
  tmux.Keys("End Home Enter");  // its first part
  ASSERT_TRUE(tmux.WaitFor("Cable Type: LMR-400, First")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("Frequency: 28.5 MHz"), std::string::npos) << tmux.Screen();
  tmux.Keys("n");
  ASSERT_TRUE(tmux.WaitFor("status 0")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("  Program Run End: "), std::string::npos) << tmux.Screen();
  EXPECT_EQ(tmux.Show("#{pane_title}"), kBefore + "\n");
  EXPECT_EQ(tmux.Show("#{alternate_on}#{cursor_flag}"), "01\n");
}

// tmux has no side margins, whatever the terminfo entry inside it claims.
TEST(TmuxE2e, AListScrolled40RowsLostItsColumnsInATmuxThatSaysItIsAnXterm) {
  if (!fs::exists(kTmux)) GTEST_SKIP() << "tmux is not installed";
  constexpr int kListRows = 31, kScrolledRows = 40;
  ferrolux::testing::TempFolder temp;
  std::string catalog;
  for (int i = 0; i < kListRows + kScrolledRows + 5; ++i)
    catalog += Record("Type " + std::to_string(100 + i), "Part " + std::to_string(i));
  temp.Write("CableCatalog.txt", catalog);
  TmuxServer tmux(temp.Path(), "exec " + std::string(FERROLUX_BINARY), "xterm-256color");
  ASSERT_TRUE(tmux.WaitFor("length in ft:")) << tmux.Screen();
  tmux.Keys("50 Enter 100 Enter 1.5 Enter n 9");
  ASSERT_TRUE(tmux.WaitFor("Select Cable Type")) << tmux.Screen();
  tmux.Keys("-N " + std::to_string(kListRows - 1) + " Down");  // the bar to the list's last row
  // One row at a time, each shown before the next.
  std::string screen = tmux.SettledScreen();
  for (int press = 0; press < kScrolledRows; ++press) {
    tmux.Keys("Down");
    ASSERT_TRUE(tmux.WaitForChange(screen)) << "press " << press;
    screen = tmux.Screen();
  }
  const std::string scrolled = tmux.SettledScreen();
  kill(std::stoi(tmux.Show("#{pane_pid}")), SIGWINCH);  // painted afresh
  std::this_thread::sleep_for(milliseconds(200));
  const std::string fresh = tmux.SettledScreen();
  EXPECT_EQ(DifferentLines(scrolled, fresh), 0) << "scrolled:\n" << scrolled << "painted afresh:\n" << fresh;
}

}  // namespace
}  // namespace ferrolux::e2e
