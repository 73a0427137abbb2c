#pragma once
// Where a split overflow during loading is shown: the program prints it on its console and
// waits for a key; the subcommands print it on standard error and go on.

#include <string>

namespace ferrolux {

class OverflowReporter {
 public:
  virtual ~OverflowReporter() = default;
  // One line of the report, ended by a line end.
  virtual void PrintLine(const std::string& line) = 0;
  // Called once after the last line.
  virtual void WaitForKey() = 0;
};

}  // namespace ferrolux
