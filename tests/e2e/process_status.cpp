#include "process_status.hpp"

#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace ferrolux::e2e {

namespace {

std::string ProcFile(pid_t pid, const char* name) { return "/proc/" + std::to_string(pid) + "/" + name; }

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

// The state is the field after the parenthesised command name, which may itself hold blanks.
bool Sleeping(pid_t pid) {
  std::ifstream stat(ProcFile(pid, "stat"));
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'S';
}

long WakeUpsOver(pid_t pid, std::chrono::milliseconds span) {
  const long before = ContextSwitches(pid);
  std::this_thread::sleep_for(span);
  return ContextSwitches(pid) - before;
}

}  // namespace ferrolux::e2e
