#pragma once
// Signals on a real terminal. Handlers only record a signal, through a self-pipe, and the
// terminal's read loop acts on it; the one exception is a fatal fault, after which no loop
// runs: its handler puts the terminal back with async-signal-safe calls, then lets it die.

#include <signal.h>
#include <termios.h>

#include <map>
#include <string>

namespace ferrolux {

class SignalPipe {
 public:
  // Records the signals that end the program by default, window changes, Ctrl+Z and the
  // resume after it; a signal ignored at start stays ignored.
  SignalPipe();
  ~SignalPipe();
  SignalPipe(const SignalPipe&) = delete;
  SignalPipe& operator=(const SignalPipe&) = delete;
  int ReadEnd() const { return fds_[0]; }
  // The next recorded signal, or 0.
  int Take();
  // Stops the process as Ctrl+Z does to a program that does not catch it; returns once it
  // is continued.
  void StopProcess();

 private:
  int fds_[2] = {-1, -1};
  std::map<int, struct sigaction> previous_;
};

// What a fault (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) puts back before the process dies:
// the terminal modes of the start, and the bytes that leave the program's screen.
class FaultRestore {
 public:
  explicit FaultRestore(const struct termios& startModes);
  ~FaultRestore();
  FaultRestore(const FaultRestore&) = delete;
  FaultRestore& operator=(const FaultRestore&) = delete;
  // Kept current by the terminal as it changes what the screen shows.
  void SetBytes(const std::string& bytes);

 private:
  std::map<int, struct sigaction> previous_;
};

}  // namespace ferrolux
