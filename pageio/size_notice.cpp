#include "pageio/size_notice.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "text/charset.hpp"

namespace ferrolux {

namespace {

const char kNotice[] = "Ferrolux needs a terminal of at least 120 columns by 43 rows. Please enlarge it.";
const char kNoticeLeave[] = "Press Escape or Q to end the program.";
constexpr Colors kNoticeColors{7, 0};

// Words onto lines of at most `width` characters; a longer word is cut.
std::vector<std::string> Wrapped(const std::string& text, int width) {
  std::vector<std::string> lines{""};
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(' ', start), text.size());
    const std::string word = text.substr(start, end - start).substr(0, static_cast<size_t>(width));
    const size_t needed = lines.back().size() + (lines.back().empty() ? 0 : 1) + word.size();
    if (needed > static_cast<size_t>(width) && !lines.back().empty()) lines.emplace_back();
    lines.back() += (lines.back().empty() ? "" : " ") + word;
    start = end + 1;
  }
  return lines;
}

}  // namespace

ScreenModel SizeNotice(int columns, int rows) {
  std::vector<std::string> lines = Wrapped(kNotice, columns);
  lines.push_back("Now: " + std::to_string(columns) + " x " + std::to_string(rows));
  for (std::string& line : Wrapped(kNoticeLeave, columns)) lines.push_back(std::move(line));
  size_t widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, line.size());
  const int height = std::min(rows, static_cast<int>(lines.size()));
  ScreenModel notice(std::min(columns, static_cast<int>(widest)), height);
  notice.Fill(kNoticeColors);
  notice.cursorVisible = false;
  for (int row = 1; row <= height; ++row) {
    const std::string& line = lines[static_cast<size_t>(row - 1)];
    for (size_t i = 0; i < line.size(); ++i)
      notice.Put(row, static_cast<int>(i) + 1, Cell{TextGlyph(static_cast<unsigned char>(line[i])), kNoticeColors});
  }
  return notice;
}

bool LeavesNotice(Key key) { return key == keys::kEscape || key == 'q' || key == 'Q'; }

}  // namespace ferrolux
