// The terminal hangs up at every wait of the calculator, in the three ways a user meets it:
// the window closed, the window closed under nohup (SIGHUP ignored), and SIGHUP right after a
// window change while the terminal stays open. The plain build runs each case under valgrind's
// memcheck, the sanitized build under AddressSanitizer: any invalid access fails it.
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

constexpr char kValgrind[] = "/usr/bin/valgrind";
constexpr int kValgrindFound = 99;
constexpr int kHangUpStatus = 128 + SIGHUP;
// valgrind cannot run a sanitized binary (there AddressSanitizer watches the run itself), nor one
// built for another processor under its emulator (there the exits and the terminal are checked).
#if defined(FERROLUX_SANITIZED) || defined(FERROLUX_EMULATOR)
constexpr bool kUnderMemcheck = false;
#else
constexpr bool kUnderMemcheck = true;
#endif

enum class HangUp { kWindowClosed, kWindowClosedUnderNohup, kWindowChangeThenSighup };
const HangUp kWays[] = {HangUp::kWindowClosed, HangUp::kWindowClosedUnderNohup, HangUp::kWindowChangeThenSighup};

struct Wait {
  const char* name;
  const char* keys;   // typed after the length prompt shows
  const char* shows;  // what is on the screen while the program waits there
};

const Wait kWaits[] = {
    {"length", "", "length in ft:"},
    {"revise", "50\r100\r1.5\r", "settings? [Y/N]"},
    {"band", "50\r100\r1.5\rn", "Escape Key to End Program"},
    {"5-second message", "50\r100\r1.5\rnF999\r", "Invalid input."},
    {"type list", "50\r100\r1.5\rn9", "Select Cable Type"},
    {"closing", "50\r100\r1.5\rn9\r\r", "Would you like to do another?"},
};

const char* NameOf(HangUp way) {
  switch (way) {
    case HangUp::kWindowClosed: return "window closed";
    case HangUp::kWindowClosedUnderNohup: return "window closed under nohup";
    case HangUp::kWindowChangeThenSighup: return "window change, then SIGHUP";
  }
  return "";
}

class HangUpE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kUnderMemcheck && !fs::exists(kValgrind)) GTEST_SKIP() << "valgrind is not installed";
    // A folder each: the runs side by side must not meet at the catalog's lock.
    for (HangUp way : kWays) {
      fs::create_directory(Folder(way));
      std::ofstream(Folder(way) / "CableCatalog.txt", std::ios::binary)
          << Record("RG-8X", "One") + Record("LMR-400", "Two");
    }
  }

  fs::path Folder(HangUp way) const { return temp.Path() / std::to_string(static_cast<int>(way)); }
  fs::path Log(HangUp way) const { return Folder(way) / "memcheck.log"; }

  // The program as the shell starts it: SIGHUP ignored first under nohup, and under memcheck
  // in the plain build.
  std::unique_ptr<PtySession> Start(HangUp way) const {
    std::string command = way == HangUp::kWindowClosedUnderNohup ? "trap '' HUP; exec " : "exec ";
    if (kUnderMemcheck)
      command +=
          std::string(kValgrind) + " --error-exitcode=" + std::to_string(kValgrindFound) +
          " --leak-check=full --errors-for-leak-kinds=definite,indirect,possible --log-file=" + Log(way).string() + " ";
    command += FERROLUX_BINARY;
    return std::make_unique<PtySession>("/bin/sh", Folder(way), 120, 43, std::vector<std::string>{"-c", command});
  }

  static void HangUpNow(PtySession& s, HangUp way) {
    if (way != HangUp::kWindowChangeThenSighup) return s.CloseMaster();
    s.ResizeWindow(120, 43);
    s.Signal(SIGHUP);
  }

  std::string Report(HangUp way) const { return kUnderMemcheck ? ferrolux::testing::FileText(Log(way)) : ""; }

  ferrolux::testing::TempFolder temp;
};

// The three ways run side by side at each wait: memcheck's start-up is paid once per wait.
TEST_F(HangUpE2eTest, AHangUpAtAnyWaitPaintsNoFreedScreenModel) {
  const auto& ways = kWays;
  for (const Wait& wait : kWaits) {
    std::vector<std::unique_ptr<PtySession>> sessions;
    for (HangUp way : ways) sessions.push_back(Start(way));
    for (size_t i = 0; i < sessions.size(); ++i) {
      PtySession& s = *sessions[i];
      ASSERT_TRUE(s.WaitForText("length in ft:", seconds(60))) << wait.name << ", " << NameOf(ways[i]) << "\n"
                                                               << s.Screen();
      s.Send(wait.keys);
      ASSERT_TRUE(s.WaitForText(wait.shows, seconds(30))) << wait.name << ", " << NameOf(ways[i]) << "\n" << s.Screen();
    }
    for (size_t i = 0; i < sessions.size(); ++i) HangUpNow(*sessions[i], ways[i]);
    for (size_t i = 0; i < sessions.size(); ++i) {
      PtySession& s = *sessions[i];
      EXPECT_EQ(s.WaitForExit(seconds(60)), kHangUpStatus) << wait.name << ", " << NameOf(ways[i]) << "\n"
                                                           << Report(ways[i]);
      if (ways[i] == HangUp::kWindowChangeThenSighup) {
        EXPECT_TRUE(s.TerminalModesRestored()) << wait.name;
        EXPECT_FALSE(s.OnAlternateScreen()) << wait.name;
      }
      if (kUnderMemcheck) {
        EXPECT_NE(Report(ways[i]).find("ERROR SUMMARY: 0 errors"), std::string::npos)
            << wait.name << ", " << NameOf(ways[i]) << "\n"
            << Report(ways[i]);
      }
    }
  }
}

}  // namespace
}  // namespace ferrolux::e2e
