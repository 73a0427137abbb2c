// Ctrl+Z and fg under dash, a shell that leaves the terminal's modes as it finds them: while
// the program is stopped the shell has its terminal back as it was; on fg the program goes
// on where it was, painted whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

const char kDash[] = "/bin/dash";
const std::string kPrompt = "dash$ ";
const std::string kCtrlZ = "\x1a";
const std::string kCtrlC = "\x03";

std::string Catalog() {
  std::string catalog;
  for (const char* type : {"RG-8X", "RG-58", "RG-213", "LMR-400"}) catalog += Record(type, "Part");
  return catalog;
}

// An interactive dash with job control on the pseudo-terminal.
class DashE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kDash)) GTEST_SKIP() << "dash is not installed";
    temp.Write("CableCatalog.txt", Catalog());
    shell.emplace("/usr/bin/env", temp.Path(), 120, 43, std::vector<std::string>{"PS1=" + kPrompt, kDash, "-i"});
    ASSERT_TRUE(shell->PumpUntil([&] { return shell->Output().ends_with(kPrompt); }, seconds(10)));
    shellModes = shell->Modes();
  }
  // The keys sent, then a new prompt as the last thing written: the shell waits for a command.
  bool BackAtPrompt(const std::string& keys) {
    const size_t mark = shell->Output().size();
    shell->Send(keys);
    return shell->PumpUntil([&] { return shell->Output().size() > mark && shell->Output().ends_with(kPrompt); },
                            seconds(10));
  }
  void StartProgram() { shell->Send(std::string(FERROLUX_BINARY) + "\r"); }
  // Stopped with Ctrl+Z: the shell's own terminal is back.
  void ExpectStoppedCleanly(const std::string& where) {
    ASSERT_TRUE(BackAtPrompt(kCtrlZ)) << where << "\n" << shell->Screen();
    EXPECT_NE(shell->Screen().find("Stopped"), std::string::npos) << where;
    EXPECT_EQ(shell->Modes(), shellModes) << where;
    EXPECT_TRUE(shell->CursorVisible()) << where;
    EXPECT_FALSE(shell->OnAlternateScreen()) << where;
  }
  void Resume() { shell->Send("fg\r"); }
  void EndAndExpectModesBack(const std::string& where) {
    ASSERT_TRUE(BackAtPrompt(kCtrlC)) << where;
    EXPECT_EQ(shell->Modes(), shellModes) << where;
    EXPECT_TRUE(shell->CursorVisible()) << where;
  }

  ferrolux::testing::TempFolder temp;
  std::optional<PtySession> shell;
  std::string shellModes;
};

TEST_F(DashE2eTest, CtrlZAtEachWaitGivesTheShellItsTerminalAndFgPaintsThePageWhole) {
  struct Case {
    const char* name;
    std::function<bool(PtySession&)> reach;
  };
  const Case cases[] = {
      {"a prompt with typed text",
       [](PtySession& s) {
         s.Send("12");
         return s.WaitForText(kLengthPrompt + " 12");
       }},
      {"the band menu", [](PtySession& s) { return ReachBandMenu(s); }},
      {"the type list, bar moved",
       [](PtySession& s) {
         const bool there = ReachBandMenu(s) && ReachTypeListByBand(s);
         s.Send(kDownKey + kDownKey);
         return there && s.WaitForQuiet(milliseconds(200));
       }},
      {"the closing question",
       [](PtySession& s) { return ReachBandMenu(s) && ReachTypeListByBand(s) && ReachClosingQuestion(s); }},
  };
  for (const Case& c : cases) {
    StartProgram();
    ASSERT_TRUE(shell->WaitForText(kLengthPrompt)) << c.name;
    ASSERT_TRUE(c.reach(*shell)) << c.name << "\n" << shell->Screen();
    const std::string page = shell->Screen();
    ExpectStoppedCleanly(c.name);
    Resume();
    EXPECT_TRUE(shell->PumpUntil([&] { return shell->Screen() == page; }, seconds(5))) << c.name << "\n"
                                                                                       << shell->Screen();
    EXPECT_TRUE(shell->OnAlternateScreen()) << c.name;
    EndAndExpectModesBack(c.name);
  }
}

TEST_F(DashE2eTest, CtrlZAtTheErrorWaitBeforeThePageExists) {
  fs::remove(temp.Path() / "CableCatalog.txt");
  StartProgram();
  ASSERT_TRUE(shell->WaitForText("Error: [53] File not found"));
  ExpectStoppedCleanly("the error wait");
  Resume();
  ASSERT_TRUE(BackAtPrompt("k"));
  EXPECT_NE(shell->Screen().find("Program Run Start: "), std::string::npos);
  EXPECT_EQ(shell->Modes(), shellModes);
}

TEST_F(DashE2eTest, TheFiveSecondMessageKeepsTheTimeItHadLeftWhileStopped) {
  StartProgram();
  ASSERT_TRUE(shell->WaitForText(kLengthPrompt));
  ASSERT_TRUE(ReachBandMenu(*shell) && ReachRefusedFrequency(*shell)) << shell->Screen();
  ExpectStoppedCleanly("the message");
  std::this_thread::sleep_for(milliseconds(5500));  // longer than the whole message
  Resume();
  EXPECT_TRUE(shell->WaitForText(kRefusedFrequency, seconds(2))) << shell->Screen();
  EXPECT_TRUE(shell->WaitForTextGone(kRefusedFrequency, seconds(8)));
  EndAndExpectModesBack("the message");
}

TEST_F(DashE2eTest, AWindowMadeSmallerWhileStoppedIsCheckedAgainOnFg) {
  StartProgram();
  ASSERT_TRUE(shell->WaitForText(kLengthPrompt));
  const std::string page = shell->Screen();
  ExpectStoppedCleanly("before the resize");
  shell->Resize(80, 24);
  Resume();
  EXPECT_TRUE(shell->WaitForText("at least 120 columns by 43 rows")) << shell->Screen();
  shell->Resize(120, 43);
  EXPECT_TRUE(shell->PumpUntil([&] { return shell->Screen() == page; }, seconds(5))) << shell->Screen();
  EndAndExpectModesBack("after the resize");
}

TEST_F(DashE2eTest, StartedInTheBackgroundItWaitsForFgThenDraws) {
  ASSERT_TRUE(BackAtPrompt(std::string(FERROLUX_BINARY) + " &\r"));
  bool stopped = false;
  for (int ask = 0; ask < 50 && !stopped; ++ask) {
    std::this_thread::sleep_for(milliseconds(100));
    ASSERT_TRUE(BackAtPrompt("jobs\r"));
    stopped = shell->Screen().find("Stopped (tty output)") != std::string::npos;
  }
  ASSERT_TRUE(stopped) << shell->Screen();
  Resume();
  ASSERT_TRUE(shell->WaitForText(kLengthPrompt)) << shell->Screen();
  EndAndExpectModesBack("from the background");
}

}  // namespace
}  // namespace ferrolux::e2e
