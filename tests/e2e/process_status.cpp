#include "process_status.hpp"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace ferrolux::e2e {

namespace {

std::string ProcFile(pid_t pid, const char* name) { return "/proc/" + std::to_string(pid) + "/" + name; }

// The fields of /proc/PID/stat after the parenthesised command name, which may hold blanks.
std::string StatFields(pid_t pid) {
  std::ifstream stat(ProcFile(pid, "stat"));
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  return close == std::string::npos ? std::string() : text.substr(close + 2);
}

}  // namespace

std::optional<long> StatusField(pid_t pid, const std::string& name) {
  std::ifstream status(ProcFile(pid, "status"));
  std::string line;
  const std::string prefix = name + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::istringstream value(line.substr(prefix.size()));
    long number = 0;
    if (value >> number) return number;
  }
  return std::nullopt;
}

long ContextSwitches(pid_t pid) {
  return StatusField(pid, "voluntary_ctxt_switches").value_or(0) +
         StatusField(pid, "nonvoluntary_ctxt_switches").value_or(0);
}

long PeakResidentKiB(pid_t pid) { return StatusField(pid, "VmHWM").value_or(0); }

long ResidentKiB(pid_t pid) { return StatusField(pid, "VmRSS").value_or(0); }

// utime and stime are the 14th and 15th fields, the 12th and 13th after the command name.
double CpuSeconds(pid_t pid) {
  std::istringstream fields(StatFields(pid));
  std::string skipped;
  for (int field = 3; field < 14; ++field) fields >> skipped;
  long user = 0, system = 0;
  fields >> user >> system;
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool Sleeping(pid_t pid) { return StatFields(pid).rfind('S', 0) == 0; }

long WakeUpsOver(pid_t pid, std::chrono::milliseconds span) {
  const long before = ContextSwitches(pid);
  std::this_thread::sleep_for(span);
  return ContextSwitches(pid) - before;
}

}  // namespace ferrolux::e2e
