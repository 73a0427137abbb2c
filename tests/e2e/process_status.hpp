#pragma once
// What the kernel reports about a running program: context switches, peak memory, run state.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace ferrolux::e2e {

// A number field of /proc/PID/status ("voluntary_ctxt_switches", "VmHWM" in KiB, ...).
std::optional<long> StatusField(pid_t pid, const std::string& name);

// Voluntary and involuntary context switches together: each one is a time the program was
// put to sleep or pre-empted and later woken up again.
long ContextSwitches(pid_t pid);

// The most memory the program has had resident so far, and what it has now, in KiB.
long PeakResidentKiB(pid_t pid);
long ResidentKiB(pid_t pid);

// The processor time the program has used so far, user and system together.
double CpuSeconds(pid_t pid);

// Whether the program is asleep (blocked in a system call) rather than running.
bool Sleeping(pid_t pid);

// The wake-ups of a program over `span` of wall-clock time.
long WakeUpsOver(pid_t pid, std::chrono::milliseconds span);

}  // namespace ferrolux::e2e
