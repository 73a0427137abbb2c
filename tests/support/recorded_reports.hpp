#pragma once
// An overflow reporter that keeps what it was given, for tests that check the report or expect none.

#include <string>
#include <vector>

#include "catalog/overflow_reporter.hpp"

namespace ferrolux::testing {

struct RecordedReports final : OverflowReporter {
  void PrintLine(const std::string& line) override { lines.push_back(line); }
  void WaitForKey() override { ++waits; }

  std::vector<std::string> lines;
  int waits = 0;
};

}  // namespace ferrolux::testing
