#include "console/pick_list.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "console/box.hpp"
#include "console/colors.hpp"
#include "console/console.hpp"
#include "console/keys.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr int kWidthBeyondLongest = 3;  // the two borders and the blank before each item
constexpr int kNarrowestWidth = 2;      // a border and the blank before each item
constexpr int kTitleRow = 1;            // rows below the top border
constexpr int kSeparatorRow = 2;
constexpr int kFirstItemRow = 3;
constexpr int kRowsBesideWindow = 3;  // top border, title and separator
constexpr char kHeaderComma = ',';
// A header's count is trusted, but kept where the window arithmetic cannot overflow.
constexpr double kCountLimit = 1e9;

struct Geometry {
  int top, left, bottom, rightmost;
};

struct Palette {
  int textForeground, textBackground, frameForeground, frameBackground, itemForeground;
};

struct Header {
  int count = 0;
  std::string title;
};

int RoundedCount(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(value, -kCountLimit, kCountLimit)));
}

Header ReadHeader(const std::string& header) {
  const size_t comma = header.find(kHeaderComma);
  if (comma == std::string::npos) return {0, header};
  return {RoundedCount(ParseNumber(header.substr(0, comma))), header.substr(comma + 1)};
}

// The title in the middle of `span` columns; an odd remainder goes to the right.
std::string CentredTitle(const std::string& title, int span) {
  const std::string shown = title.substr(0, static_cast<size_t>(std::max(span, 0)));
  const int spare = span - static_cast<int>(shown.size());
  return Blanks(spare / 2) + shown + Blanks(spare - spare / 2);
}

// One blank, then the item padded or cut so the row fills the width between the borders.
std::string ItemRowText(const std::string& item, int width) {
  std::string text = std::string(" ").append(item, 0, static_cast<size_t>(width - 2));
  text.resize(static_cast<size_t>(width - 1), ' ');
  return text;
}

class PickListRun {
 public:
  PickListRun(Console& console, const std::vector<std::string>& items, Geometry geometry, Palette palette);
  int Run();

 private:
  const std::string& Item(int index) const;
  int LastReadableItem() const;
  size_t LongestItem() const;
  int WidthWithin(int rightmost) const;
  void Open();
  void DrawWindow();
  void ActOn(Key key);
  void MoveBy(Key key);
  void MoveDown();
  void MoveUp();
  void PageUp();
  void PageDown();
  void TypeAhead(char typed);
  void FindMatch();

  Console& console_;
  const std::vector<std::string>& items_;
  Geometry geometry_;
  Palette palette_;
  Header header_;
  int width_ = 0;
  int rows_ = 0;
  int selection_ = 1;
  int first_ = 1;
  int last_ = 0;
  std::string search_;
  // Only items from here on can match the search text: an item matching a longer search text
  // matches the shorter one too. Past the last item once the search text matches nothing.
  int matchFrom_ = 1;
  struct Window {
    int first, last, selection;
    bool operator==(const Window&) const = default;
  };
  std::optional<Window> drawn_;
};

PickListRun::PickListRun(Console& console, const std::vector<std::string>& items, Geometry geometry, Palette palette)
    : console_(console), items_(items), geometry_(geometry), palette_(palette) {
  header_ = ReadHeader(Item(0));
  width_ = WidthWithin(std::min(geometry_.rightmost, console_.Screen().Columns()));
  rows_ = geometry_.bottom - geometry_.top - kRowsBesideWindow;
  last_ = rows_;
}

const std::string& PickListRun::Item(int index) const {
  static const std::string kMissing;
  if (index < 0 || index >= static_cast<int>(items_.size())) return kMissing;
  return items_[static_cast<size_t>(index)];
}

// Items past the vector's end are empty: they add no width and never match a search.
int PickListRun::LastReadableItem() const { return std::min(header_.count, static_cast<int>(items_.size()) - 1); }

size_t PickListRun::LongestItem() const {
  size_t longest = 0;
  for (int i = 1; i <= LastReadableItem(); ++i) longest = std::max(longest, Item(i).size());
  return longest;
}

// As wide as the longest text, unless that would put the right border past `rightmost`.
int PickListRun::WidthWithin(int rightmost) const {
  const size_t longest = std::max(header_.title.size(), LongestItem());
  const int widest = std::max(rightmost - geometry_.left, kNarrowestWidth);
  return static_cast<int>(std::min(longest + kWidthBeyondLongest, static_cast<size_t>(widest)));
}

int PickListRun::Run() {
  Open();
  for (;;) {
    first_ = std::max(first_, 1);
    DrawWindow();
    const Key key = console_.NextKey();
    ActOn(key);
    if (key == keys::kEnter) break;
  }
  console_.SetColor(palette_.textForeground, palette_.textBackground);
  return selection_;
}

void PickListRun::Open() {
  const Geometry& g = geometry_;
  DrawBox(console_, g.top, g.left, g.bottom, g.left + width_, kSingleLine, palette_.frameForeground,
          palette_.frameBackground);
  console_.SetColor(palette_.frameForeground, palette_.frameBackground);
  console_.Locate(g.top + kTitleRow, g.left + 1);
  console_.PrintText(CentredTitle(header_.title, width_ - 1));
  console_.PrintLineEnd();
  console_.Locate(g.top + kSeparatorRow, g.left + 1);
  console_.PrintFrame(frame::kSingleHorizontal, width_ - 1);
  console_.PrintLineEnd();
}

// Rows are written without line ends, so the screen never scrolls. A key that left the window
// and the selection as they were costs no drawing.
void PickListRun::DrawWindow() {
  const Window window{first_, last_, selection_};
  if (drawn_ == window) return;
  drawn_ = window;
  const int first = first_;
  const int last = last_;
  for (int i = first; i <= last; ++i) {
    console_.Locate(geometry_.top + kFirstItemRow + (i - first), geometry_.left + 1);
    if (i == selection_) {
      console_.SetColor(kSelectedRowColors.foreground, kSelectedRowColors.background);
    } else {
      console_.SetColor(palette_.itemForeground, palette_.textBackground);
    }
    console_.PrintText(ItemRowText(Item(i), width_));
  }
}

void PickListRun::ActOn(Key key) {
  if (key.IsTyped()) {
    TypeAhead(key.Typed());
    return;
  }
  search_.clear();
  matchFrom_ = 1;
  MoveBy(key);
}

// Other keys without a character only empty the search text.
void PickListRun::MoveBy(Key key) {
  if (key == keys::kDown) {
    MoveDown();
  } else if (key == keys::kUp) {
    MoveUp();
  } else if (key == keys::kHome) {
    selection_ = 1;
    first_ = 1;
    last_ = rows_;
  } else if (key == keys::kEnd) {
    selection_ = header_.count;
    last_ = header_.count;
    first_ = last_ - rows_ + 1;
  } else if (key == keys::kPageUp) {
    PageUp();
  } else if (key == keys::kPageDown) {
    PageDown();
  }
}

void PickListRun::MoveDown() {
  selection_ = std::max(selection_ + 1, 1);
  selection_ = std::min(selection_, header_.count);
  if (selection_ > last_) {
    ++last_;
    first_ = last_ - rows_ + 1;
  }
}

void PickListRun::MoveUp() {
  selection_ = std::max(selection_ - 1, 1);
  if (selection_ < first_) {
    --first_;
    last_ = first_ + rows_ - 1;
  }
}

// Up by a whole window and one more, with the selection on the top row.
void PickListRun::PageUp() {
  selection_ = std::max(selection_ - rows_ - 1, 1);
  first_ = selection_;
  last_ = first_ + rows_ - 1;
}

// Down by one row less than a window, with the selection on the bottom row.
void PickListRun::PageDown() {
  selection_ = std::min(selection_ + rows_ - 1, header_.count);
  last_ = selection_;
  first_ = last_ - rows_ + 1;
}

// Every character key joins the search text, Enter, Esc, Tab and Backspace included; the
// selected item then moves to the top row unless the window would run past the end.
void PickListRun::TypeAhead(char typed) {
  if (matchFrom_ <= LastReadableItem()) {
    search_ += UpperCaseChar(typed);
    FindMatch();
    if (matchFrom_ <= LastReadableItem()) selection_ = matchFrom_;
  }
  first_ = selection_;
  last_ = first_ + rows_ - 1;
  if (last_ > header_.count) {
    last_ = header_.count;
    first_ = last_ - rows_ + 1;
  }
}

void PickListRun::FindMatch() {
  for (; matchFrom_ <= LastReadableItem(); ++matchFrom_) {
    const std::string& item = Item(matchFrom_);
    if (item.size() < search_.size()) continue;
    const bool matches = std::equal(search_.begin(), search_.end(), item.begin(),
                                    [](char wanted, char c) { return UpperCaseChar(c) == wanted; });
    if (matches) return;
  }
}

}  // namespace

void PickList(Console& console, const std::vector<std::string>& items, int& selection, int top, int left, int bottom,
              int textForeground, int textBackground, int frameForeground, int frameBackground, int itemForeground,
              int rightmost) {
  PickListRun run(console, items, {top, left, bottom, rightmost},
                  {textForeground, textBackground, frameForeground, frameBackground, itemForeground});
  selection = run.Run();
}

}  // namespace ferrolux
