#include "terminal/curses_signals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace ferrolux {

namespace {

// The signals whose default action ends the process: each ends the run through its ending.
constexpr int kEndingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM,   SIGUSR1, SIGUSR2,
                                  SIGALRM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGPIPE};
constexpr int kLoopSignals[] = {SIGWINCH, SIGTSTP, SIGCONT};
constexpr int kFaultSignals[] = {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr size_t kMostFaultBytes = 1024;

// The only global state: a handler has nothing else to reach.
int g_signalWriteEnd = -1;

struct FaultState {
  struct termios modes {};
  char bytes[kMostFaultBytes] = {};
  volatile sig_atomic_t length = 0;
  volatile sig_atomic_t armed = 0;
};
FaultState g_fault;

void RecordSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = write(g_signalWriteEnd, &byte, 1);
  errno = saved;
}

// Async-signal-safe calls only. SA_RESETHAND has made the default action current again, so
// the signal raised here (or the fault met again on return) ends the process as it would have.
void RestoreAndDie(int signal) {
  if (g_fault.armed) {
    const size_t length = static_cast<size_t>(g_fault.length);
    size_t done = 0;
    while (done < length) {
      const ssize_t written = write(STDOUT_FILENO, g_fault.bytes + done, length - done);
      if (written <= 0) break;
      done += static_cast<size_t>(written);
    }
    tcsetattr(STDIN_FILENO, TCSANOW, &g_fault.modes);
  }
  raise(signal);
}

bool IgnoredAtStart(int signal) {
  struct sigaction current {};
  return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void Install(int signal, void (*handler)(int), int flags, std::map<int, struct sigaction>& previous) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  struct sigaction old {};
  if (sigaction(signal, &action, &old) == 0) previous[signal] = old;
}

}  // namespace

SignalPipe::SignalPipe() {
  if (pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot create the signal pipe");
  g_signalWriteEnd = fds_[1];
  // SA_RESTART keeps file reads elsewhere in the program from failing; the wait for keys
  // still wakes, as the pipe becomes readable.
  for (int signal : kEndingSignals)
    if (!IgnoredAtStart(signal)) Install(signal, RecordSignal, SA_RESTART, previous_);
  for (int signal : kLoopSignals)
    if (!IgnoredAtStart(signal)) Install(signal, RecordSignal, SA_RESTART, previous_);
}

SignalPipe::~SignalPipe() {
  for (const auto& [signal, old] : previous_) sigaction(signal, &old, nullptr);
  g_signalWriteEnd = -1;
  close(fds_[0]);
  close(fds_[1]);
}

int SignalPipe::Take() {
  unsigned char byte = 0;
  return read(fds_[0], &byte, 1) == 1 ? byte : 0;
}

void SignalPipe::StopProcess() {
  if (!previous_.contains(SIGTSTP)) return;
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  struct sigaction recording {};
  sigaction(SIGTSTP, &standard, &recording);
  raise(SIGTSTP);
  sigaction(SIGTSTP, &recording, nullptr);
}

FaultRestore::FaultRestore(const struct termios& startModes) {
  g_fault.modes = startModes;
  g_fault.length = 0;
  g_fault.armed = 1;
  for (int signal : kFaultSignals) Install(signal, RestoreAndDie, SA_RESETHAND, previous_);
}

FaultRestore::~FaultRestore() {
  for (const auto& [signal, old] : previous_) sigaction(signal, &old, nullptr);
  g_fault.armed = 0;
}

// The length is cleared first, so a fault in between writes nothing rather than half.
void FaultRestore::SetBytes(const std::string& bytes) {
  const size_t length = std::min(bytes.size(), kMostFaultBytes);
  g_fault.length = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  std::memcpy(g_fault.bytes, bytes.data(), length);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_fault.length = static_cast<sig_atomic_t>(length);
}

}  // namespace ferrolux
