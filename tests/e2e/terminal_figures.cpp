#include "terminal_figures.hpp"

#include <chrono>
#include <sstream>
#include <thread>

#include "process_status.hpp"

namespace ferrolux::e2e {

namespace {

using std::chrono::milliseconds;

// Long enough for any redraw to arrive in full, even on a loaded machine.
constexpr milliseconds kQuiet{100};
constexpr milliseconds kSleepCheck{5};
constexpr int kSleepChecks = 400;
constexpr std::chrono::seconds kLongestHold{10};

const std::string kSettings = "50\r100\r1.5\r";
const std::string kNoRevision = "n";
const std::string kBandKey = "9";
const std::string kFrequencyKey = "F";
const std::string kOutOfRange = "500\r";
const std::string kInRange = "28.5\r";
const std::string kEnter = "\r";

bool SendAndWait(PtySession& session, const std::string& keys, const std::string& text) {
  session.Send(keys);
  return session.WaitForText(text) && Settle(session);
}

}  // namespace

bool Settle(PtySession& session) {
  for (int check = 0; check < kSleepChecks; ++check) {
    if (!session.WaitForQuiet(kQuiet)) return false;
    if (Sleeping(session.Pid())) return true;
    std::this_thread::sleep_for(kSleepCheck);
  }
  return false;
}

size_t BytesForKeys(PtySession& session, const std::string& keys) {
  const size_t before = session.Output().size();
  session.Send(keys);
  Settle(session);
  return session.Output().size() - before;
}

size_t FirstScreenBytes(PtySession& session) {
  if (!session.WaitForText(kLengthPrompt) || !Settle(session)) return 0;
  return session.Output().size();
}

bool ReachBandMenu(PtySession& session) {
  return SendAndWait(session, kSettings, kReviseQuestion) && SendAndWait(session, kNoRevision, kBandPrompt);
}

bool ReachTypeListByBand(PtySession& session) { return SendAndWait(session, kBandKey, kTypeListTitle); }

bool ReachRefusedFrequency(PtySession& session) {
  if (!SendAndWait(session, kFrequencyKey, kFrequencyPrompt)) return false;
  session.Send(kOutOfRange);
  return session.WaitForText(kRefusedFrequency);
}

bool ReachTypeListByFrequency(PtySession& session) { return SendAndWait(session, kInRange, kTypeListTitle); }

bool ReachClosingQuestion(PtySession& session) {
  return SendAndWait(session, kEnter, kPartListTitle) && SendAndWait(session, kEnter, kClosingQuestion);
}

int DifferentLines(const std::string& picture, const std::string& other) {
  std::istringstream lines(picture), otherLines(other);
  int different = 0;
  std::string line, otherLine;
  while (std::getline(lines, line)) different += !std::getline(otherLines, otherLine) || line != otherLine;
  while (std::getline(otherLines, otherLine)) ++different;
  return different;
}

double WakeUpsPerSecondUntilGone(PtySession& session, const std::string& text) {
  const auto start = std::chrono::steady_clock::now();
  const long before = ContextSwitches(session.Pid());
  const bool gone = session.WaitForTextGone(text, kLongestHold);
  // The span ends when the text goes; the wake-ups of the redraw that removes it still count.
  const std::chrono::duration<double> span = std::chrono::steady_clock::now() - start;
  if (!gone || !Settle(session)) return -1;
  return static_cast<double>(ContextSwitches(session.Pid()) - before) / span.count();
}

}  // namespace ferrolux::e2e
