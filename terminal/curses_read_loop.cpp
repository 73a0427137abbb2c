// The terminal's read loop: keys are handed out while any are waiting, signals are acted on
// as they come, and the terminal is painted only when the next read would block.
#include <poll.h>
#include <signal.h>

#include <cerrno>

#include "console/keys.hpp"
#include "terminal/curses_codes.hpp"
#include "terminal/curses_terminal.hpp"

namespace ferrolux {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// While keys keep coming (a paste), signals are still looked at this often.
constexpr milliseconds kSignalCheckInterval{20};

// How long the ending's last bytes wait for a terminal that reads nothing.
constexpr milliseconds kLastWritesWait{500};

bool IsLoopSignal(int signal) { return signal == SIGWINCH || signal == SIGTSTP || signal == SIGCONT; }

}  // namespace

void CursesTerminal::ActOnSignal(int signal) {
  switch (signal) {
    case SIGWINCH:
      FollowWindowSize();
      page_.RepaintAll();
      return;
    case SIGTSTP: return Suspend();
    case SIGCONT: return Continued();
    default: GiveUpWritingSoon(); throw EndRequested{signal, signal == SIGHUP || signal == SIGPIPE};
  }
}

void CursesTerminal::ActOnSignals() {
  lastSignalCheck_ = steady_clock::now();
  while (!heldSignals_.empty()) {
    const int signal = heldSignals_.front();
    heldSignals_.pop_front();
    ActOnSignal(signal);
  }
  while (const int signal = signals_.Take()) ActOnSignal(signal);
}

void CursesTerminal::GiveUpWritingSoon() {
  if (!giveUpWritingAt_) giveUpWritingAt_ = steady_clock::now() + kLastWritesWait;
}

void CursesTerminal::HoldSignals() {
  while (const int signal = signals_.Take()) {
    heldSignals_.push_back(signal);
    if (!IsLoopSignal(signal)) GiveUpWritingSoon();
  }
}

// The terminal reads nothing for now: waits until it does, hearing the signals meanwhile. An
// ending signal is held for the read loop and bounds this wait and every later one.
bool CursesTerminal::WaitToWrite() {
  for (;;) {
    int timeout = -1;
    if (giveUpWritingAt_) {
      const auto left = std::chrono::ceil<milliseconds>(*giveUpWritingAt_ - steady_clock::now());
      if (left.count() <= 0) return false;
      timeout = static_cast<int>(left.count());
    }
    struct pollfd watched[2] = {{out_, POLLOUT, 0}, {signals_.ReadEnd(), POLLIN, 0}};
    const int ready = poll(watched, 2, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
    if (watched[0].revents & POLLOUT) return true;
    if (watched[1].revents & POLLIN) HoldSignals();
  }
}

void CursesTerminal::ActOnSignalsNowAndThen() {
  if (steady_clock::now() - lastSignalCheck_ >= kSignalCheckInterval) ActOnSignals();
}

// Between reads a window change is painted at once: the work may go on for a while yet.
void CursesTerminal::ActOnPendingSignals() {
  ActOnSignalsNowAndThen();
  if (page_.RepaintWanted()) PaintPending();
}

// The terminal's answers come in among the keys; the one about side margins is the only one asked for.
void CursesTerminal::TakeModeReports() {
  while (const std::optional<ModeReport> report = input_.TakeModeReport())
    if (codes_ && ConfirmsSideMargins(*report)) codes_->UseSideMargins();
}

CursesTerminal::Wait CursesTerminal::WaitForInput(std::optional<TimePoint> until) {
  for (;;) {
    int timeout = -1;
    if (until) {
      const auto left = std::chrono::ceil<milliseconds>(*until - steady_clock::now());
      if (left.count() <= 0) return Wait::kTimeOut;
      timeout = static_cast<int>(left.count());
    }
    struct pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {signals_.ReadEnd(), POLLIN, 0}};
    const int ready = poll(watched, 2, timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) throw EndRequested{0, true};
    if (ready == 0) return Wait::kTimeOut;
    if (watched[1].revents & POLLIN) {
      ActOnSignals();
      return Wait::kSignal;
    }
    return Wait::kInput;  // a hang-up too: the read that follows reports it
  }
}

// After a hang-up nothing is painted again: the leaving bytes are all that may still be read.
std::optional<Key> CursesTerminal::ReadKey(std::optional<milliseconds> limit) {
  try {
    return NextKey(limit);
  } catch (const EndRequested& end) {
    if (end.terminalGone) page_.TerminalGone();
    throw;
  }
}

// Keys are handed out while any are waiting; only when the next read would block is the
// terminal painted, and time spent stopped does not count against the limit.
std::optional<Key> CursesTerminal::NextKey(std::optional<milliseconds> limit) {
  const TimePoint start = steady_clock::now();
  const auto stoppedBefore = stoppedFor_;
  const auto limitEnd = [&]() -> std::optional<TimePoint> {
    if (!limit) return std::nullopt;
    return start + *limit + (stoppedFor_ - stoppedBefore);
  };
  for (;;) {
    ActOnSignalsNowAndThen();
    if (const std::optional<Key> key = input_.TakeKey()) {
      if (page_.Passes(*key)) return key;
      continue;
    }
    if (input_.ReadWaiting()) continue;
    TakeModeReports();
    PaintPending();
    if (!heldSignals_.empty()) {
      ActOnSignals();
      continue;
    }
    const std::optional<TimePoint> incomplete = input_.IncompleteUntil();
    std::optional<TimePoint> until = limitEnd();
    if (incomplete && (!until || *incomplete < *until)) until = incomplete;
    if (WaitForInput(until) != Wait::kTimeOut) continue;
    const TimePoint now = steady_clock::now();
    if (incomplete && now >= *incomplete) {
      input_.GiveUpIncomplete();
    } else if (limit && now >= *limitEnd()) {
      return std::nullopt;
    }
  }
}

}  // namespace ferrolux
