#pragma once
// A subcommand that cannot do its work says why in one line (and, for an ambiguous cable, the
// candidates below it); the exit status tells a script which kind of failure it was.

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "text/charset.hpp"

namespace ferrolux::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailure = 1;  // the catalog could not be loaded, or the output not written
inline constexpr int kExitUsage = 2;    // the command line asks for something that cannot be done

class CommandError : public std::runtime_error {
 public:
  CommandError(int status, const std::string& message, std::vector<std::string> details = {})
      : std::runtime_error(message), status_(status), details_(std::move(details)) {}
  int Status() const { return status_; }
  const std::vector<std::string>& Details() const { return details_; }

 private:
  int status_;
  std::vector<std::string> details_;
};

inline CommandError UsageError(const std::string& message, std::vector<std::string> details = {}) {
  return CommandError(kExitUsage, message, std::move(details));
}

// Text the user typed, in double quotes, as a message may carry it: no control character (a TAB
// neither) reaches the terminal.
inline std::string QuotedTyped(std::string_view typed) {
  std::string text = OutputTextOfUtf8(typed, ControlForm::kReplacement);
  std::replace(text.begin(), text.end(), '\t', ' ');
  return '"' + text + '"';
}

}  // namespace ferrolux::cli
