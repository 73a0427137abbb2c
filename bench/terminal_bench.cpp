// The program's figures on a real (emulated) terminal: start-up time, bytes per screen and
// per key, wake-ups and peak memory; whiptail's menu is timed in the same run for scale.
// Prints one "name value" line per figure. Usage: ferrolux_terminal_bench PROGRAM FOLDER [WHIPTAIL]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "process_status.hpp"
#include "pty_session.hpp"
#include "terminal_figures.hpp"

namespace {

using namespace ferrolux::e2e;
using std::chrono::milliseconds;

constexpr int kStartUpRuns = 25;  // the median of at least 20
constexpr int kDownPresses = 10;
constexpr int kTypeListRows = 31;
constexpr int kMenuItems = 30;
constexpr int kColumns = 120, kRows = 43;
constexpr milliseconds kIdleSpan{3000};
constexpr milliseconds kFirstScreenTimeout{5000};
const std::string kTypedCharacters = "123";
const std::string kWhiptailLastItem = "Cable 30";

struct Launch {
  std::string binary;
  std::filesystem::path folder;
  std::vector<std::string> arguments;
  std::string readyText;
};

std::vector<std::string> WhiptailMenu() {
  std::vector<std::string> arguments{
      "--title", "Cables", "--menu", "Choose a cable", "40", "70", std::to_string(kMenuItems)};
  for (int item = 1; item <= kMenuItems; ++item) {
    arguments.push_back(std::to_string(item));
    arguments.push_back("Cable " + std::to_string(item));
  }
  return arguments;
}

PtySession Start(const Launch& launch) {
  return PtySession(launch.binary, launch.folder, kColumns, kRows, launch.arguments);
}

// The complete first screen, and the bytes it took, from a run left to finish drawing.
struct FirstScreen {
  std::string text;
  std::string bytes;
};

FirstScreen CompleteScreen(const Launch& launch) {
  PtySession session = Start(launch);
  if (!session.WaitForText(launch.readyText) || !Settle(session)) return {};
  return {session.Screen(), session.Output()};
}

// For scale: cat writing the same bytes, a program that does nothing else. What the machine
// takes to start a process in a pseudo-terminal and show the screen is in every figure.
Launch BareWriter(const FirstScreen& screen, const std::filesystem::path& copy) {
  std::ofstream(copy, std::ios::binary) << screen.bytes;
  return {"/bin/cat", copy.parent_path(), {copy.string()}, ""};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Milliseconds from the launch until the terminal shows the complete first screen.
double StartUpMs(const Launch& launch, const std::string& complete) {
  const auto start = std::chrono::steady_clock::now();
  PtySession session = Start(launch);
  if (!session.PumpUntil([&] { return session.Screen() == complete; }, kFirstScreenTimeout)) return -1;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Print(const char* name, double value) { std::printf("%s %.6g\n", name, value); }

// A step on the way to the next screen; the figures after a failed one are left out.
bool Reached(bool reached, const char* screen) {
  if (!reached) std::fprintf(stderr, "ferrolux_terminal_bench: %s did not show\n", screen);
  return reached;
}

// The most bytes one Down key cost, among the presses that moved the bar at all.
std::optional<size_t> MostBytesPerDown(PtySession& session) {
  std::optional<size_t> most;
  for (int press = 0; press < kDownPresses; ++press) {
    const size_t bytes = BytesForKeys(session, kDownKey);
    if (bytes > 0) most = std::max(most.value_or(0), bytes);
  }
  return most;
}

// The distinct cable types of the catalog: the first field of each line.
size_t CatalogTypes(const std::filesystem::path& folder) {
  std::ifstream catalog(folder / "CableCatalog.txt", std::ios::binary);
  std::set<std::string> types;
  std::string line;
  while (std::getline(catalog, line, '\r')) {
    if (!line.empty() && line.front() == '\n') line.erase(0, 1);
    if (!line.empty()) types.insert(line.substr(0, line.find('\t')));
  }
  return types.size();
}

// With the bar just past the first presses: the Down key that first scrolls the list, when the
// catalog has more types than the list shows.
std::optional<size_t> ScrollingDownBytes(PtySession& session, size_t types) {
  if (types <= static_cast<size_t>(kTypeListRows)) return std::nullopt;
  for (int row = kDownPresses + 1; row < kTypeListRows; ++row) BytesForKeys(session, kDownKey);
  return BytesForKeys(session, kDownKey);
}

size_t MostBytesPerTypedCharacter(PtySession& session) {
  size_t most = 0;
  for (char typed : kTypedCharacters) most = std::max(most, BytesForKeys(session, std::string(1, typed)));
  return most;
}

void StartUpFigures(const Launch& program, const std::optional<Launch>& peer) {
  const FirstScreen ours = CompleteScreen(program);
  Print("first_screen_bytes", static_cast<double>(ours.bytes.size()));
  std::optional<FirstScreen> theirs;
  if (peer) theirs = CompleteScreen(*peer);
  const std::filesystem::path copy = std::filesystem::temp_directory_path() / "ferrolux-bench-first-screen";
  const Launch bare = BareWriter(ours, copy);
  std::vector<double> ourTimes, theirTimes, bareTimes;
  // Taken in turns, so that all see the same machine.
  for (int run = 0; run < kStartUpRuns; ++run) {
    ourTimes.push_back(StartUpMs(program, ours.text));
    if (peer) theirTimes.push_back(StartUpMs(*peer, theirs->text));
    bareTimes.push_back(StartUpMs(bare, ours.text));
  }
  std::filesystem::remove(copy);
  Print("startup_ms", Median(ourTimes));
  Print("bare_startup_ms", Median(bareTimes));
  if (!peer) return;
  Print("whiptail_startup_ms", Median(theirTimes));
  Print("whiptail_menu_bytes", static_cast<double>(theirs->bytes.size()));
  Print("startup_ratio", Median(ourTimes) / Median(theirTimes));
  Print("bare_startup_ratio", Median(bareTimes) / Median(theirTimes));
}

void WhiptailKeyFigures(const Launch& peer) {
  PtySession session = Start(peer);
  if (!Reached(session.WaitForText(peer.readyText) && Settle(session), "whiptail's menu")) return;
  if (const std::optional<size_t> down = MostBytesPerDown(session))
    Print("whiptail_down_key_bytes", static_cast<double>(*down));
}

// One run from the first screen to the closing question, figures taken on the way.
void CalculationFigures(const Launch& program) {
  PtySession session = Start(program);
  if (!Reached(FirstScreenBytes(session) > 0, "the first screen")) return;
  Print("idle_wakeups", static_cast<double>(WakeUpsOver(session.Pid(), kIdleSpan)));
  Print("idle_seconds", std::chrono::duration<double>(kIdleSpan).count());
  Print("typed_char_bytes", static_cast<double>(MostBytesPerTypedCharacter(session)));
  for (size_t typed = 0; typed < kTypedCharacters.size(); ++typed) BytesForKeys(session, kBackspaceKey);
  if (!Reached(ReachBandMenu(session), "the band menu")) return;
  if (!Reached(ReachRefusedFrequency(session), "the refused frequency")) return;
  Print("message_wakeups_per_s", WakeUpsPerSecondUntilGone(session, kRefusedFrequency));
  if (!Reached(ReachTypeListByFrequency(session), "the cable-type list")) return;
  if (const std::optional<size_t> down = MostBytesPerDown(session)) Print("down_key_bytes", static_cast<double>(*down));
  if (const std::optional<size_t> scroll = ScrollingDownBytes(session, CatalogTypes(program.folder)))
    Print("scrolling_down_key_bytes", static_cast<double>(*scroll));
  if (!Reached(ReachClosingQuestion(session), "the closing question")) return;
  Print("peak_rss_kib", static_cast<double>(PeakResidentKiB(session.Pid())));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PROGRAM CATALOG_FOLDER [WHIPTAIL]\n", argv[0]);
    return 2;
  }
  const Launch program{std::filesystem::absolute(argv[1]), std::filesystem::absolute(argv[2]), {}, kLengthPrompt};
  std::optional<Launch> peer;
  if (argc > 3) peer = Launch{argv[3], std::filesystem::current_path(), WhiptailMenu(), kWhiptailLastItem};
  StartUpFigures(program, peer);
  CalculationFigures(program);
  if (peer) WhiptailKeyFigures(*peer);
  return 0;
}
