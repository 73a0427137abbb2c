#include "text/cells.hpp"

#include "text/charset.hpp"

namespace ferrolux {

namespace {

constexpr std::string_view kPlainSgr = "0";

// The byte length of the first `cells` characters.
std::size_t BytesOfCells(std::string_view utf8, int cells) {
  std::size_t end = 0;
  for (int counted = 0; end < utf8.size() && counted < cells; ++counted) end += DecodeUtf8(utf8.substr(end)).length;
  return end;
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  int width = 0;
  for (std::size_t at = 0; at < utf8.size(); ++width) at += DecodeUtf8(utf8.substr(at)).length;
  return width;
}

std::string FitWidth(std::string_view utf8, int width, bool utf8Ellipsis) {
  if (DisplayWidth(utf8) <= width) return std::string(utf8);
  const std::string_view ellipsis = utf8Ellipsis ? "…" : "...";
  const int keep = width - DisplayWidth(ellipsis);
  if (keep < 0) return std::string(static_cast<std::size_t>(width > 0 ? width : 0), '.');
  return std::string(utf8.substr(0, BytesOfCells(utf8, keep))).append(ellipsis);
}

std::string SgrCode(std::string_view parameters) { return "\x1b[" + std::string(parameters) + "m"; }

std::string Painted(std::string_view text, std::string_view sgr, bool color) {
  if (!color) return std::string(text);
  return SgrCode(sgr) + std::string(text) + SgrCode(kPlainSgr);
}

}  // namespace ferrolux
