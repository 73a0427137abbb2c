#include "cli/output.hpp"

#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "text/charset.hpp"

namespace ferrolux::cli {

namespace {

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

bool LocaleIsUtf8() {
  std::setlocale(LC_CTYPE, "");
  return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
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
  style.utf8 = LocaleIsUtf8();
  style.terminal = isatty(STDOUT_FILENO) == 1;
  if (!style.terminal) return style;
  style.color = std::getenv("NO_COLOR") == nullptr;
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0) {
    style.columns = size.ws_col;
    style.rows = size.ws_row;
  }
  return style;
}

std::string DisplayText(std::string_view bytes, bool utf8) {
  std::string text;
  for (char byte : bytes) {
    const char32_t glyph = TextGlyph(static_cast<unsigned char>(byte));
    if (glyph < 128 || utf8) AppendUtf8(text, glyph);
    else text += '?';
  }
  return text;
}

std::string JsonText(std::string_view bytes) {
  std::string text;
  for (char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 128) text += byte;
    else AppendUtf8(text, TextGlyph(code));
  }
  return text;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string field = "\"";
  for (char c : text) {
    if (c == '"') field += '"';
    field += c;
  }
  return field + '"';
}

std::string MachineNumber(double value) { return std::isfinite(value) ? ShortestText(value) : std::string(); }

double Widened(float value) {
  if (!std::isfinite(value)) return value;
  return std::strtod(ShortestText(value).c_str(), nullptr);
}

int DisplayWidth(std::string_view utf8) {
  int width = 0;
  for (char byte : utf8) width += IsContinuationByte(byte) ? 0 : 1;
  return width;
}

std::string FitWidth(std::string_view utf8, int width, bool utf8Ellipsis) {
  if (DisplayWidth(utf8) <= width) return std::string(utf8);
  const std::string_view ellipsis = utf8Ellipsis ? "…" : "...";
  const int keep = width - DisplayWidth(ellipsis);
  if (keep < 0) return std::string(static_cast<size_t>(width > 0 ? width : 0), '.');
  size_t end = 0;
  for (int cells = 0; end < utf8.size(); ++end) {
    if (!IsContinuationByte(utf8[end]) && cells++ == keep) break;
  }
  return std::string(utf8.substr(0, end)) + std::string(ellipsis);
}

std::string Painted(std::string_view text, std::string_view sgr, bool color) {
  if (!color) return std::string(text);
  return "\x1b[" + std::string(sgr) + "m" + std::string(text) + "\x1b[0m";
}

}  // namespace ferrolux::cli
