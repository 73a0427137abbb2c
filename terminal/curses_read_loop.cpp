// The terminal's read loop: keys are handed out while any are waiting, signals are acted on
// as they come, and the terminal is painted only when the next read would block.
#include <poll.h>
#include <signal.h>

#include <cerrno>

#include "console/keys.hpp"
#include "terminal/curses_terminal.hpp"

namespace ferrolux {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// While keys keep coming (a paste), signals are still looked at this often.
constexpr milliseconds kSignalCheckInterval{20};

bool LeavesNotice(Key key) { return key == keys::kEscape || key == 'q' || key == 'Q'; }

}  // namespace

void CursesTerminal::ActOnSignal(int signal) {
  switch (signal) {
    case SIGWINCH:
      FollowWindowSize();
      repaint_ = true;
      return;
    case SIGTSTP: return Suspend();
    case SIGCONT: return Continued();
    default: throw EndRequested{signal, signal == SIGHUP || signal == SIGPIPE};
  }
}

void CursesTerminal::ActOnSignals() {
  lastSignalCheck_ = steady_clock::now();
  while (const int signal = signals_.Take()) ActOnSignal(signal);
}

void CursesTerminal::ActOnSignalsNowAndThen() {
  if (steady_clock::now() - lastSignalCheck_ >= kSignalCheckInterval) ActOnSignals();
}

// Escape or Q at the notice ends the run; once that was asked, the key goes to the read that
// is waiting (the ending's own wait for a key).
bool CursesTerminal::AnswerNotice(Key key) {
  if (!LeavesNotice(key)) return false;
  if (!leaveAsked_) {
    leaveAsked_ = true;
    throw LeaveRequested();
  }
  return true;
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

// Keys are handed out while any are waiting; only when the next read would block is the
// terminal painted, and time spent stopped does not count against the limit.
std::optional<Key> CursesTerminal::ReadKey(std::optional<milliseconds> limit) {
  const TimePoint start = steady_clock::now();
  const auto stoppedBefore = stoppedFor_;
  const auto limitEnd = [&]() -> std::optional<TimePoint> {
    if (!limit) return std::nullopt;
    return start + *limit + (stoppedFor_ - stoppedBefore);
  };
  for (;;) {
    ActOnSignalsNowAndThen();
    if (const std::optional<Key> key = input_.TakeKey()) {
      if (!NoticeShown() || AnswerNotice(*key)) return key;
      continue;
    }
    if (input_.ReadWaiting()) continue;
    PaintPending();
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
