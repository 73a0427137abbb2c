// Floods through the real program: a megabyte pasted, signals while a paste keeps arriving,
// and a window of an absurd size. Each case prints the figure it measured.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "process_status.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"
#include "terminal_figures.hpp"
#include "test_catalog.hpp"

namespace ferrolux::e2e {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr size_t kMegabyte = 1'000'000;
#if !defined(FERROLUX_SANITIZED) && !defined(FERROLUX_EMULATOR)
// Sanitizers and an emulator slow the program several times over, so the budget holds only in a
// plain build on its own processor.
constexpr bool kHoldsPasteBudget = true;
#else
constexpr bool kHoldsPasteBudget = false;
#endif
constexpr double kMostPasteCpuSeconds = 1.0;
constexpr size_t kPasteChunk = 16'384;
constexpr size_t kPastedBeforeTheSignal = 65'536;
constexpr seconds kLongestPaste{10};
// Wide or tall, yet too small the other way: the notice asking for a larger window needs a few
// hundred cells, never a grid of the window.
constexpr long kMostExtraKiB = 1024;
const std::string kNotice = "at least 120 columns by 43 rows";

std::string Catalog() {
  std::string catalog;
  for (int i = 0; i < 30; ++i) catalog += Record("RG-" + std::to_string(100 + i), "Part");
  return catalog;
}

class FloodE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { temp.Write("CableCatalog.txt", Catalog()); }
  ferrolux::testing::TempFolder temp;
};

TEST_F(FloodE2eTest, AMegabytePastedIntoAPromptOrAListCostsUnderASecondOfCpu) {
  struct Case {
    const char* name;
    std::function<bool(PtySession&)> reach;
    char pasted;
    const char* after;  // shown once the paste and an Enter are through
  };
  const Case cases[] = {
      {"the length prompt", [](PtySession&) { return true; }, '7', "input power in watts:"},
      {"the cable-type list", [](PtySession& s) { return ReachBandMenu(s) && ReachTypeListByBand(s); }, 'x',
       kPartListTitle.c_str()},
  };
  for (const Case& c : cases) {
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_GT(FirstScreenBytes(s), 0u) << c.name;
    ASSERT_TRUE(c.reach(s)) << c.name << "\n" << s.Screen();
    const double before = CpuSeconds(s.Pid());
    s.Send(std::string(kMegabyte, c.pasted) + "\r");
    ASSERT_TRUE(s.WaitForText(c.after, seconds(120))) << c.name << "\n" << s.Screen();
    const double cpu = CpuSeconds(s.Pid()) - before;
    std::cout << "[ figure   ] CPU for 1 MB pasted into " << c.name << ": " << cpu << " s\n";
    RecordProperty(std::string("cpu seconds, ") + c.name, std::to_string(cpu));
    if (kHoldsPasteBudget) {
      EXPECT_LT(cpu, kMostPasteCpuSeconds) << c.name;
    }
  }
}

// The paste never ends here, so the program must look at its signals while keys are waiting.
TEST_F(FloodE2eTest, CtrlCAndSigtermActWhileAPasteKeepsArriving) {
  struct Case {
    const char* name;
    int signal;
    std::string typed;  // sent into the paste instead of a signal from outside
  };
  const Case cases[] = {{"SIGINT", SIGINT, ""}, {"SIGTERM", SIGTERM, ""}, {"Ctrl+C typed", SIGINT, "\x03"}};
  for (const Case& c : cases) {
    PtySession s(FERROLUX_BINARY, temp.Path());
    ASSERT_GT(FirstScreenBytes(s), 0u) << c.name;
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point signalled{};
    int status = -1;
    for (size_t sent = 0; status < 0 && std::chrono::steady_clock::now() - start < kLongestPaste; sent += kPasteChunk) {
      if (sent == kPastedBeforeTheSignal) {
        signalled = std::chrono::steady_clock::now();
        if (c.typed.empty()) s.Signal(c.signal);
        else s.Send(c.typed);
      }
      s.Send(std::string(kPasteChunk, '5'));
      status = s.WaitForExit(milliseconds(0));
    }
    if (status < 0) status = s.WaitForExit(milliseconds(100));
    ASSERT_EQ(status, 128 + c.signal) << c.name << ": still running while the paste went on";
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - signalled).count();
    std::cout << "[ figure   ] " << c.name << " during a paste acted within " << waited << " s\n";
    RecordProperty(std::string("seconds to act, ") + c.name, std::to_string(waited));
    EXPECT_TRUE(s.TerminalModesRestored()) << c.name;
  }
}

TEST_F(FloodE2eTest, AnAbsurdWindowSizeKeepsNoGridOfThatSize) {
  struct Size {
    int columns, rows;
  };
  PtySession s(FERROLUX_BINARY, temp.Path());
  ASSERT_GT(FirstScreenBytes(s), 0u);
  const long before = ResidentKiB(s.Pid());
  for (const Size size : {Size{65535, 42}, Size{119, 65535}}) {
    s.ResizeWindow(size.columns, size.rows);
    ASSERT_TRUE(s.WaitForText(kNotice)) << size.columns << "x" << size.rows;
    ASSERT_TRUE(Settle(s));
    const long during = ResidentKiB(s.Pid());
    s.ResizeWindow(120, 43);
    ASSERT_TRUE(s.WaitForTextGone(kNotice));
    ASSERT_TRUE(Settle(s));
    const long after = ResidentKiB(s.Pid());
    std::cout << "[ figure   ] resident memory at " << size.columns << "x" << size.rows << ": " << before
              << " KiB before, " << during << " KiB at that size, " << after << " KiB after\n";
    EXPECT_LT(during - before, kMostExtraKiB) << size.columns << "x" << size.rows;
    EXPECT_LT(after - before, kMostExtraKiB) << size.columns << "x" << size.rows;
  }
  EXPECT_LT(PeakResidentKiB(s.Pid()) - before, kMostExtraKiB);
  EXPECT_NE(s.Screen().find(kLengthPrompt), std::string::npos);
}

}  // namespace
}  // namespace ferrolux::e2e
