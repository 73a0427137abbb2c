#pragma once
// The program shows a split overflow during loading on its console, at the cursor, and waits
// for a key before loading goes on.

#include "catalog/overflow_reporter.hpp"
#include "console/console.hpp"

namespace ferrolux {

class ConsoleOverflowReporter final : public OverflowReporter {
 public:
  explicit ConsoleOverflowReporter(Console& console) : console_(console) {}
  void PrintLine(const std::string& line) override {
    console_.PrintText(line);
    console_.PrintLineEnd();
  }
  void WaitForKey() override { console_.WaitKey(); }

 private:
  Console& console_;
};

}  // namespace ferrolux
