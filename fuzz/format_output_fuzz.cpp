// FormatOutput on any text, widths 1 to 200 and array bounds 0 to 30: it ends, keeps the
// array's size, and every line it returns is exactly the width.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "console/format_output.hpp"
#include "console/headless.hpp"
#include "text/text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int width = 1 + data[0] % 200;
  const std::size_t bound = data[1] % 31;
  const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
  ferrolux::HeadlessConsole h;
  h.console.UsePage(1);
  h.keyboard.Key('k');
  std::vector<std::string> lines(bound + 1);
  std::string error;
  ferrolux::FormatOutput(h.console, error, text, lines, width);
  if (lines.size() != bound + 1) __builtin_trap();
  const auto count = static_cast<std::size_t>(ferrolux::ParseNumber(lines[0]));
  if (count > bound) __builtin_trap();
  for (std::size_t i = 1; i <= count; ++i)
    if (lines[i].size() != static_cast<std::size_t>(width)) __builtin_trap();
  return 0;
}
