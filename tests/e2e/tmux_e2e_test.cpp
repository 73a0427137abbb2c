// The program in a real tmux, not an emulator written for tests: a server of its own on its
// own socket, TERM=tmux-256color inside, keys sent as tmux sends them (Home is ESC [ 1 ~),
// the screen read back with capture-pane.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.hpp"
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
  // One window of 120x43 running `command` in `folder`; the pane stays after the command ends.
  TmuxServer(const fs::path& folder, const std::string& command) : socket_(folder / "tmux.socket") {
    const fs::path config = folder / "tmux.conf";
    std::FILE* file = std::fopen(config.c_str(), "w");
    std::fputs("set -g default-terminal tmux-256color\nset -g remain-on-exit on\n", file);
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

}  // namespace
}  // namespace ferrolux::e2e
