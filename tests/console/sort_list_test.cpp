#include "console/sort_list.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace ferrolux {
namespace {

using List = std::vector<std::string>;

struct SortCase {
  const char* name;
  List items;  // element 0 is the header
  int n;
  const char* direction;
  List expected;
};

void PrintTo(const SortCase& c, std::ostream* out) { *out << c.name; }

class SortListCases : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortListCases, SortsElementsOneToN) {
  const SortCase& c = GetParam();
  List items = c.items;
  SortList(items, c.n, c.direction);
  EXPECT_EQ(items, c.expected);
}

// The byte order itself (prefixes, case, bytes above 127, empty texts) is checked against
// std::sort below; these cases are the arguments at their edges and the lists the screens sort.
const SortCase kSortCases[] = {
    {"CountOfOneChangesNothing", {"h", "b", "a"}, 1, "A", {"h", "b", "a"}},
    {"NegativeCountChangesNothing", {"h", "b", "a"}, -3, "D", {"h", "b", "a"}},
    {"DescendingPutsRBeforeLBeforeB",
     {"h", "LMR-400", "Belden 9913", "RG-8"},
     3,
     "D",
     {"h", "RG-8", "LMR-400", "Belden 9913"}},
    {"BytesAbove127ComeAfterAscii", {"h", "\xE9t\xE9", "zz", "~"}, 3, "A", {"h", "zz", "~", "\xE9t\xE9"}},
    {"SmallAIsDescending", {"h", "a", "b"}, 2, "a", {"h", "b", "a"}},
    {"CapitalDIsDescending", {"h", "a", "b"}, 2, "D", {"h", "b", "a"}},
    {"EmptyDirectionIsDescending", {"h", "a", "b"}, 2, "", {"h", "b", "a"}},
    {"LongerWordIsDescending", {"h", "a", "b"}, 2, "Ascending", {"h", "b", "a"}},
    {"HeaderAndElementsPastNStay",
     {"zz header", "c", "b", "a", "0", ""},
     3,
     "A",
     {"zz header", "a", "b", "c", "0", ""}},
    {"CountPastTheEndSortsWhatIsThere", {"h", "b", "a"}, 9, "A", {"h", "a", "b"}},
    {"EmptyVectorIsLeftAlone", {}, 4, "A", {}},
};

INSTANTIATE_TEST_SUITE_P(SortList, SortListCases, ::testing::ValuesIn(kSortCases),
                         [](const auto& info) { return std::string(info.param.name); });

bool ByteLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

std::string RandomText(std::mt19937& random) {
  // A small alphabet makes shared prefixes and equal texts common.
  static const std::string kAlphabet = std::string("aAbB-0 ") + "\x7F\x80\xA5\xE9\xFF";
  std::uniform_int_distribution<int> length(0, 5);
  std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
  std::string text;
  for (int i = length(random); i > 0; --i) text += kAlphabet[pick(random)];
  return text;
}

TEST(SortList, AgreesWithStdSortOnRandomByteTexts) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 500; ++round) {
    const int size = std::uniform_int_distribution<int>(1, 40)(random);
    List items;
    for (int i = 0; i < size; ++i) items.push_back(RandomText(random));
    const int n = std::uniform_int_distribution<int>(0, size - 1)(random);
    const bool ascending = random() % 2 == 0;

    List expected = items;
    const auto from = expected.begin() + 1;
    const auto to = expected.begin() + 1 + n;
    if (ascending) {
      std::sort(from, to, ByteLess);
    } else {
      std::sort(from, to, [](const auto& a, const auto& b) { return ByteLess(b, a); });
    }
    SortList(items, n, ascending ? "A" : "D");
    ASSERT_EQ(items, expected) << "round " << round << ", n " << n;
  }
}

}  // namespace
}  // namespace ferrolux
