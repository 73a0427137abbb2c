#include "report/output.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/console_info.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

bool LooksLikeFormula(std::string_view text) {
  return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
         !ReadDecimal(text);
}

template <typename Number>
std::string ShortestText(Number value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

OutputStyle DetectOutputStyle() {
  OutputStyle style;
  style.utf8 = platform::OutputIsUtf8();
  const platform::OutputConsole console = platform::StandardOutputConsole();
  style.terminal = console.terminal;
  if (!style.terminal) return style;
  style.color = std::getenv("NO_COLOR") == nullptr;
  style.columns = console.columns;
  style.rows = console.rows;
  return style;
}

std::string DisplayText(std::string_view bytes, bool utf8) {
  return TerminalText(OutputTextOfBytes(bytes, ControlForm::kPicture), utf8);
}

std::string JsonText(std::string_view bytes) { return OutputTextOfBytes(bytes, ControlForm::kReplacement); }

std::string CsvField(std::string_view text) {
  std::string field = OutputTextOfUtf8(text, ControlForm::kReplacement);
  if (LooksLikeFormula(field)) field.insert(0, 1, '\'');
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string MachineNumber(double value) { return std::isfinite(value) ? ShortestText(value) : std::string(); }

double Widened(float value) {
  if (!std::isfinite(value)) return value;
  return std::strtod(ShortestText(value).c_str(), nullptr);
}

}  // namespace ferrolux
