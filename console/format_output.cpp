#include "console/format_output.hpp"

#include <algorithm>
#include <string_view>
#include <utility>

#include "console/overflow_report.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr char kBlank = ' ';
// A rest shorter than this holds no word any more.
constexpr size_t kShortestRest = 2;
const std::string kSingleLineCount = "1";
const std::string kOverflowMessage = "SubScript out of range in FormatOutput() Subroutine";

size_t Columns(int width) { return width > 0 ? static_cast<size_t>(width) : 0; }

std::string PadOrCut(std::string line, int width) {
  line.resize(Columns(width), kBlank);
  return line;
}

// Takes the next line off the front of `rest`: everything up to its last blank within the width,
// leading blanks dropped. Without such a blank the line is empty and `rest` stays as it is.
// A view, so that taking a line costs the line and not the whole rest.
std::string TakeLine(std::string_view& rest, int width) {
  const size_t reach = std::min(rest.size(), Columns(width));
  if (reach == 0) return {};
  const size_t lastBlank = rest.find_last_of(kBlank, reach - 1);
  if (lastBlank == std::string_view::npos) return {};
  std::string_view line = rest.substr(0, lastBlank + 1);
  rest.remove_prefix(lastBlank + 1);
  line.remove_prefix(std::min(line.find_first_not_of(kBlank), line.size()));
  return std::string(line);
}

// The array keeps the lines that fitted, which fill it: their count is its upper bound.
void ReportTooManyLines(Console& console, std::string& errorMessage, std::vector<std::string>& lines, int upperBound) {
  errorMessage = kOverflowMessage;
  lines[0] = NumberText(upperBound);
  ReportOverflow(console, errorMessage, upperBound, upperBound + 1);
}

void WrapLines(Console& console, std::string& errorMessage, const std::string& text, std::vector<std::string>& lines,
               int width, int upperBound) {
  std::string_view rest = text;
  int count = 0;
  while (!rest.empty()) {
    if (++count > upperBound) {
      ReportTooManyLines(console, errorMessage, lines, upperBound);
      return;
    }
    lines[count] = PadOrCut(TakeLine(rest, width), width);
    lines[0] = NumberText(count);
    if (rest.size() < kShortestRest) rest = {};
  }
}

}  // namespace

void FormatOutput(Console& console, std::string& errorMessage, const std::string& text, std::vector<std::string>& lines,
                  int width) {
  if (lines.empty()) return;
  // Taken before the array is cleared, so that a text held in the array itself survives.
  std::string rest = TrimBlanks(text) + kBlank;
  const int upperBound = static_cast<int>(lines.size()) - 1;
  std::fill(lines.begin(), lines.end(), std::string{});
  if (rest.size() > Columns(width)) {
    WrapLines(console, errorMessage, rest, lines, width, upperBound);
  } else if (upperBound < 1) {
    ReportTooManyLines(console, errorMessage, lines, upperBound);
  } else {
    lines[1] = PadOrCut(std::move(rest), width);
    lines[0] = kSingleLineCount;
  }
}

}  // namespace ferrolux
