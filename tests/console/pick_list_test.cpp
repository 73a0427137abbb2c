#include "console/pick_list.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "console/headless.hpp"
#include "console/keys.hpp"
#include "support/screen_picture.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

namespace ferrolux {
namespace {

using List = std::vector<std::string>;
using Keys = std::vector<Key>;

// Distinct colours, so that a mix-up of the arguments shows.
constexpr int kTextForeground = 11, kTextBackground = 1;
constexpr int kFrameForeground = 13, kFrameBackground = 2;
constexpr int kItemForeground = 10;
constexpr Colors kSelected{14, 4};
constexpr Colors kFrame{kFrameForeground, kFrameBackground};
constexpr Colors kUnselected{kItemForeground, kTextBackground};
const testing::Legend kLegend = {{'s', kSelected}, {'f', kFrame}, {'u', kUnselected}, {'.', {15, 1}}};

struct Place {
  int top, left, bottom;
  int Rows() const { return bottom - top - 3; }
  int FirstItemRow() const { return top + 3; }
};

constexpr Place kSmall{5, 10, 13};       // a window of 5 rows
constexpr Place kCableTypes{5, 46, 39};  // a window of 31 rows

// A header with the count in the ordinary number form, the title, then the items.
List TextList(const std::string& title, const List& items) {
  List list{NumberText(static_cast<long long>(items.size())) + "," + title};
  list.insert(list.end(), items.begin(), items.end());
  return list;
}

List NumberedItems(int count, const char* format) {
  List items;
  for (int i = 1; i <= count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, format, i);
    items.emplace_back(text);
  }
  return items;
}

// A single-byte text as the screen shows it.
std::string Shown(const std::string& text) {
  std::string shown;
  for (char byte : text) AppendUtf8(shown, TextGlyph(static_cast<unsigned char>(byte)));
  return shown;
}

class PickListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.console.UsePage(1);
    h.console.SetColor(15, 1);
    h.console.ClearScreen();
  }

  // Plays the keys, then Enter, and gives the returned selection.
  int Pick(const List& list, Place place, const Keys& keys, int selection = 0,
           int rightmost = std::numeric_limits<int>::max()) {
    h.keyboard.Keys(keys).Key(keys::kEnter);
    PickList(h.console, list, selection, place.top, place.left, place.bottom, kTextForeground, kTextBackground,
             kFrameForeground, kFrameBackground, kItemForeground, rightmost);
    EXPECT_EQ(h.keyboard.Pending(), 0u);
    return selection;
  }

  const ScreenModel& Screen() const { return h.console.Screen(); }

  // Window row `k` shows `text` after one blank, across the width between the borders.
  void ExpectItemRow(Place place, int width, int k, const std::string& text, Colors colors) {
    const int row = place.FirstItemRow() + k;
    const testing::Area between{row, place.left + 1, row, place.left + width - 1};
    std::string shown = Shown((" " + text).substr(0, static_cast<size_t>(width - 1)));
    shown.erase(shown.find_last_not_of(' ') + 1);
    EXPECT_EQ(testing::Picture(Screen(), between), "\n" + shown) << "row " << row;
    EXPECT_EQ(testing::Colours(Screen(), {{'x', colors}}, between), "\nx") << "row " << row;
  }

  // A full window starting with item `topItem`, the selected one highlighted.
  void ExpectWindow(const List& list, Place place, int width, int topItem, int selection) {
    for (int k = 0; k < place.Rows(); ++k) {
      const int i = topItem + k;
      ExpectItemRow(place, width, k, list[static_cast<size_t>(i)], i == selection ? kSelected : kUnselected);
    }
  }

  HeadlessConsole h;
};

// Items past the vector's end show as blank rows.
TEST_F(PickListTest, TitleWiderThanItemsSetsWidthAndFrame) {
  const List list = TextList("Select Cable Type", {"RG-8", "LMR"});
  constexpr Place place{5, 46, 12};
  EXPECT_EQ(Pick(list, place, {}), 1);
  constexpr testing::Area window{5, 46, 12, 67};
  EXPECT_EQ(testing::Picture(Screen(), window), R"(
┌───────────────────┐
│ Select Cable Type │
│───────────────────│
│ RG-8              │
│ LMR               │
│                   │
│                   │
└───────────────────┘)");
  EXPECT_EQ(testing::Colours(Screen(), kLegend, window), R"(
fffffffffffffffffffff.
fffffffffffffffffffff.
fffffffffffffffffffff.
fsssssssssssssssssssf.
fuuuuuuuuuuuuuuuuuuuf.
fuuuuuuuuuuuuuuuuuuuf.
fuuuuuuuuuuuuuuuuuuuf.
fffffffffffffffffffff.)");
}

TEST_F(PickListTest, OddSpareColumnGoesRightOfTitle) {
  const List list = TextList("Pick", {"ABCDEFGHI", "X"});
  Pick(list, kSmall, {});
  // width 12: the title is centred in 11 columns
  EXPECT_EQ(testing::Picture(Screen(), {kSmall.top, kSmall.left, kSmall.top + 1, kSmall.left + 13}),
            testing::Rows({"┌───────────┐", "│   Pick    │"}));
}

TEST_F(PickListTest, ElementsPastTheCountShowAsTheyAreCutToTheWidth) {
  List list = TextList("T", {"AB"});
  list.push_back("LONGER THAN THE FRAME");
  Pick(list, kSmall, {});
  ExpectItemRow(kSmall, 5, 0, "AB", kSelected);
  ExpectItemRow(kSmall, 5, 1, "LON", kUnselected);
}

TEST_F(PickListTest, ALongItemPutTheRightBorderPastItsColumn) {
  struct Case {
    const char* name;
    std::string title;
    size_t itemLength;
    int rightmost;
    int right;  // the column of the right border
  };
  const Case cases[] = {
      {"72 characters", "T", 72, 119, 119},
      {"10,000 characters", "T", 10000, 119, 119},
      {"a title wider than the room", std::string(90, 't'), 3, 119, 119},
      {"no column given: the screen's edge", "T", 200, std::numeric_limits<int>::max(), 120},
      {"a list that fits keeps its width", "T", 10, 119, 59},
  };
  constexpr Place place{5, 46, 12};
  for (const Case& c : cases) {
    h.console.ClearScreen();
    const List list = TextList(c.title, {std::string(c.itemLength, 'x'), "short"});
    Pick(list, place, {}, 0, c.rightmost);
    const int width = c.right - place.left;
    EXPECT_EQ(testing::Text(Screen(), place.top, c.right, 2), "┐") << c.name;  // a blank past it
    EXPECT_EQ(testing::Text(Screen(), place.bottom, c.right, 2), "┘") << c.name;
    const std::string title = c.title.substr(0, static_cast<size_t>(width - 1));
    const int spare = width - 1 - static_cast<int>(title.size());
    EXPECT_EQ(testing::Text(Screen(), place.top + 1, place.left + 1, width),
              Blanks(spare / 2) + title + Blanks(spare - spare / 2) + "│")
        << c.name;
    ExpectItemRow(place, width, 0, list[1], kSelected);
    ExpectItemRow(place, width, 1, list[2], kUnselected);
  }
}

TEST_F(PickListTest, EnterAtOnceReturnsOneAndSetsTextColours) {
  const List list = TextList("T", NumberedItems(8, "Item %d"));
  EXPECT_EQ(Pick(list, kSmall, {}, 7), 1);
  EXPECT_EQ(h.console.CurrentColors(), (Colors{kTextForeground, kTextBackground}));
}

TEST_F(PickListTest, HeaderWithoutCommaShowsElementsUpToRows) {
  const List list{"Just a title", "one", "two"};
  EXPECT_EQ(Pick(list, kSmall, {}), 1);
  constexpr int width = 12 + 3;  // the items do not count
  EXPECT_EQ(testing::Text(Screen(), kSmall.top + 1, kSmall.left + 1, width - 1), " Just a title");
  ExpectItemRow(kSmall, width, 0, "one", kSelected);
  ExpectItemRow(kSmall, width, 1, "two", kUnselected);
  ExpectItemRow(kSmall, width, 2, "", kUnselected);
}

TEST_F(PickListTest, HeaderCountIsRoundedAndEndsAtTheComma) {
  List list = NumberedItems(6, "Item %d");
  list.insert(list.begin(), "  3.6,T");
  EXPECT_EQ(Pick(list, kSmall, {keys::kEnd}), 4);
}

TEST_F(PickListTest, EnterEndsWithoutRedrawingTheMovedWindow) {
  const List list = TextList("T", NumberedItems(20, "Item %02d"));
  // Enter joins the search text and moves the window to the selection, but is never drawn.
  EXPECT_EQ(Pick(list, kSmall, {keys::kDown, keys::kDown, keys::kDown}), 4);
  ExpectWindow(list, kSmall, 10, 1, 4);
}

// Ten items in a 31-row window: the elements after the count show until the window is
// drawn from a first row that had to be raised to 1; those rows then keep what they showed.
struct ShortListCase {
  const char* name;
  Keys keys;
  int selection;
};

void PrintTo(const ShortListCase& c, std::ostream* out) { *out << c.name; }

class ShortListInTallWindow : public PickListTest, public ::testing::WithParamInterface<ShortListCase> {};

TEST_P(ShortListInTallWindow, DrawsOnlyTheItemsAfterFirstIsRaised) {
  List list = TextList("T", NumberedItems(10, "Item %02d"));
  for (const std::string& extra : NumberedItems(31, "Extra %02d")) {
    if (list.size() <= 31) list.push_back(extra);
  }
  const int selection = GetParam().selection;
  EXPECT_EQ(Pick(list, kCableTypes, GetParam().keys), selection);
  constexpr int width = 7 + 3;
  for (int k = 0; k < 10; ++k)
    ExpectItemRow(kCableTypes, width, k, list[static_cast<size_t>(k + 1)],
                  k + 1 == selection ? kSelected : kUnselected);
  for (int k = 10; k < 31; ++k) ExpectItemRow(kCableTypes, width, k, list[static_cast<size_t>(k + 1)], kUnselected);
  EXPECT_EQ(Screen().At(kCableTypes.bottom, kCableTypes.left).glyph, U'└');
}

const ShortListCase kShortListCases[] = {
    {"OpeningWindowShowsElementsPastTheCount", {}, 1},
    {"End", {keys::kEnd}, 10},
    {"PageDown", {keys::kPageDown}, 10},
    {"TypedKey", {'i'}, 1},
};

INSTANTIATE_TEST_SUITE_P(PickList, ShortListInTallWindow, ::testing::ValuesIn(kShortListCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PickListTest, ArrayEndingAtTheCountShowsBlankRowsBelow) {
  const List list = TextList("T", NumberedItems(10, "Item %02d"));
  EXPECT_EQ(Pick(list, kCableTypes, {keys::kHome, keys::kDown}), 2);
  for (int k = 10; k < 31; ++k) ExpectItemRow(kCableTypes, 10, k, "", kUnselected);
}

TEST_F(PickListTest, CountPastTheArrayEndReadsEmptyItems) {
  List list = NumberedItems(3, "Item %d");
  list.insert(list.begin(), " 50,T");
  EXPECT_EQ(Pick(list, kSmall, {keys::kEnd, keys::kLeft}), 50);
  ExpectItemRow(kSmall, 9, 4, "", kSelected);
}

// Walks through a list with scripted keys; after the last key the window must start with
// `topItem` and highlight `selection`, which Enter then returns.
struct WalkCase {
  const char* name;
  List items;
  Place place;
  Keys keys;
  int selection;
  int topItem;
};

void PrintTo(const WalkCase& c, std::ostream* out) { *out << c.name; }

class PickListWalk : public PickListTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(PickListWalk, EndsWithTheWindowAndSelection) {
  const WalkCase& c = GetParam();
  const List list = TextList("Title", c.items);
  EXPECT_EQ(Pick(list, c.place, c.keys), c.selection);
  size_t longest = 5;
  for (const std::string& item : c.items) longest = std::max(longest, item.size());
  ExpectWindow(list, c.place, static_cast<int>(longest) + 3, c.topItem, c.selection);
}

Keys Repeat(Key key, int times) { return Keys(static_cast<size_t>(times), key); }

Keys Join(std::initializer_list<Keys> parts) {
  Keys joined;
  for (const Keys& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

Keys Typed(const std::string& text) {
  Keys typed;
  for (char c : text) typed.emplace_back(c);
  return typed;
}

const List kTwenty = NumberedItems(20, "Item %02d");

const WalkCase kMovingCases[] = {
    {"DownMovesWithinTheWindow", kTwenty, kSmall, Repeat(keys::kDown, 2), 3, 1},
    {"DownPastTheBottomRowScrollsByOne", kTwenty, kSmall, Repeat(keys::kDown, 5), 6, 2},
    {"UpOnItemOneKeepsIt", kTwenty, kSmall, {keys::kUp}, 1, 1},
    {"UpBeforeTheTopRowScrollsByOne", kTwenty, kSmall, Join({Repeat(keys::kDown, 6), Repeat(keys::kUp, 5)}), 2, 2},
    {"EndShowsTheLastRows", kTwenty, kSmall, {keys::kEnd}, 20, 16},
    {"DownOnTheLastItemKeepsIt", kTwenty, kSmall, {keys::kEnd, keys::kDown}, 20, 16},
    {"HomeShowsTheTop", kTwenty, kSmall, {keys::kEnd, keys::kHome}, 1, 1},
    {"PageDownFromTheTopRowStaysInTheWindow", kTwenty, kSmall, {keys::kPageDown}, 5, 1},
    {"PageDownFromTheBottomRowEndsOnTheBottomRow", kTwenty, kSmall, Repeat(keys::kPageDown, 2), 9, 5},
    {"PageDownStopsAtTheCount", kTwenty, kSmall, Repeat(keys::kPageDown, 5), 20, 16},
    {"PageUpFromTheBottomRowGoesTwoAboveTheTop", kTwenty, kSmall, Join({Repeat(keys::kPageDown, 2), {keys::kPageUp}}),
     3, 3},
    {"PageUpFromRowsPlusOneSelectsItemOne", kTwenty, kSmall, Join({Repeat(keys::kDown, 5), {keys::kPageUp}}), 1, 1},
    {"PageUpFromRowsPlusThreeGoesToItemTwo", kTwenty, kSmall, Join({Repeat(keys::kDown, 7), {keys::kPageUp}}), 2, 2},
    {"OtherKeysWithoutCharacterChangeNothing",
     kTwenty,
     kSmall,
     {keys::kDown, keys::kLeft, keys::Function(1), keys::kDelete},
     2,
     1},
};

INSTANTIATE_TEST_SUITE_P(Moving, PickListWalk, ::testing::ValuesIn(kMovingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// 0x84/0x8E are ä/Ä in code page 437.
const List kCables = {"Andrew", "Belden", "Gore", "LMR-400", "Ribbon", "rg-6",    "RG-58",
                      "RG-8",   "Times",  "Wire", "Xtra",    "Zip",    "\x84ther"};

const WalkCase kTypeAheadCases[] = {
    {"LowerCaseRgPicksTheFirstRgItem", kCables, kSmall, Typed("rg"), 6, 6},
    {"UpperCaseRgPicksTheFirstRgItem", kCables, kSmall, Typed("RG"), 6, 6},
    {"MixedCaseRgPicksTheFirstRgItem", kCables, kSmall, Typed("rG"), 6, 6},
    {"LongerPrefixNarrowsTheMatch", kCables, kSmall, Typed("RG-5"), 7, 7},
    {"MatchNearTheEndShowsTheLastRows", kCables, kSmall, Typed("z"), 12, 9},
    {"CodePage437LetterMatchesItsOtherCase", kCables, kSmall, Typed("\x8E"), 13, 9},
    {"FailingPrefixKeepsTheSelection", kCables, kSmall, Typed("rx"), 5, 5},
    {"FailingPrefixKeepsFailing", kCables, kSmall, Typed("rxg"), 5, 5},
    {"FailingPrefixMovesTheSelectionToTheTopRow", kCables, kSmall, Join({Repeat(keys::kDown, 3), Typed("q")}), 4, 4},
    {"ArrowKeyEmptiesTheSearchText", kCables, kSmall, Join({Typed("rx"), {keys::kDown}, Typed("g")}), 3, 3},
    {"OtherKeyWithoutCharacterEmptiesTheSearchText", kCables, kSmall, Join({Typed("r"), {keys::kRight}, Typed("g")}), 3,
     3},
    {"BackspaceJoinsTheSearchText", kCables, kSmall, Join({Typed("r"), {keys::kBackspace}, Typed("g")}), 5, 5},
    {"EscapeJoinsTheSearchText", kCables, kSmall, Join({Typed("r"), {keys::kEscape}, Typed("g")}), 5, 5},
    {"TabJoinsTheSearchText", kCables, kSmall, Join({Typed("r"), {keys::kTab}, Typed("g")}), 5, 5},
};

INSTANTIATE_TEST_SUITE_P(TypeAhead, PickListWalk, ::testing::ValuesIn(kTypeAheadCases),
                         [](const auto& info) { return std::string(info.param.name); });

const List kTwoHundred = NumberedItems(200, "Cable %03d");

const WalkCase kLongListCases[] = {
    {"TypeAheadDeepInTheList", kTwoHundred, kCableTypes, Typed("cable 15"), 150, 150},
    {"TypeAheadNearTheEndShowsTheLastRows", kTwoHundred, kCableTypes, Typed("CABLE 19"), 190, 170},
    {"TypeAheadThenDownScrollsOnFromThere", kTwoHundred, kCableTypes,
     Join({Typed("Cable 07"), Repeat(keys::kDown, 33)}), 103, 73},
    {"FailingTypeAheadKeepsTheEarlierMatch", kTwoHundred, kCableTypes, Typed("Cable 15x"), 150, 150},
    {"DownThroughTheWholeList", kTwoHundred, kCableTypes, Repeat(keys::kDown, 250), 200, 170},
    {"UpBackFromTheEnd", kTwoHundred, kCableTypes, Join({{keys::kEnd}, Repeat(keys::kUp, 100)}), 100, 100},
    {"PageDownToTheEnd", kTwoHundred, kCableTypes, Repeat(keys::kPageDown, 7), 200, 170},
    {"PageDownInWholeSteps", kTwoHundred, kCableTypes, Repeat(keys::kPageDown, 3), 91, 61},
    {"PageUpFromTheEnd", kTwoHundred, kCableTypes, {keys::kEnd, keys::kPageUp}, 168, 168},
};

INSTANTIATE_TEST_SUITE_P(LongList, PickListWalk, ::testing::ValuesIn(kLongListCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PickListTest, KeysThatMovedNothingRedrewTheWindow) {
  const List list = TextList("T", kTwenty);
  Pick(list, kSmall, Join({Typed("Item 07"), Repeat('q', 500), {keys::kDown}, Repeat('z', 500)}));
  // Drawn at the opening, at "7", at Down and at the first "z" (which moves item 8 to the top).
  EXPECT_EQ(h.terminal.repaints, 4);
  EXPECT_EQ(h.terminal.shows, 1009);
}

}  // namespace
}  // namespace ferrolux
