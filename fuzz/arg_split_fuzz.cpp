// ArgSplit on any text, delimiter and array size: it never writes past the array.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "catalog/overflow_reporter.hpp"
#include "text/text.hpp"

namespace {
struct IgnoredReports final : ferrolux::OverflowReporter {
  void PrintLine(const std::string&) override {}
  void WaitForKey() override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t bound = data[0] % 40;
  const std::size_t delimiterLength = data[1] % 4;
  const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
  std::string delimiter = bytes.substr(0, delimiterLength);
  const std::string text = bytes.substr(std::min(delimiterLength, bytes.size()));
  IgnoredReports reports;
  std::vector<std::string> parts(bound + 1, "x");
  std::string error;
  ferrolux::ArgSplit(reports, error, text, parts, delimiter);
  if (parts.size() != bound + 1 || delimiter.empty()) __builtin_trap();
  const double count = ferrolux::ParseNumber(parts[0]);
  if (error.empty() && count > static_cast<double>(bound)) __builtin_trap();
  return 0;
}
