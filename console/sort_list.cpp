#include "console/sort_list.hpp"

#include <algorithm>

namespace ferrolux {

namespace {

constexpr std::string_view kAscending = "A";
constexpr unsigned kComparisonsBetweenCalls = 4096;

// Whether `a` sorts before `b`: byte by byte as unsigned codes, the shorter first on a tie.
bool BytesBefore(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char left, char right) {
    return static_cast<unsigned char>(left) < static_cast<unsigned char>(right);
  });
}

}  // namespace

void SortList(std::vector<std::string>& items, int n, std::string_view direction,
              const std::function<void()>& nowAndThen) {
  // A count past the vector's end would sort beyond it.
  n = std::min(n, static_cast<int>(items.size()) - 1);
  if (n < 2) return;
  const bool ascending = direction == kAscending;
  unsigned comparisons = 0;
  const auto before = [&](const std::string& a, const std::string& b) {
    if (nowAndThen && ++comparisons % kComparisonsBetweenCalls == 0) nowAndThen();
    return ascending ? BytesBefore(a, b) : BytesBefore(b, a);
  };
  std::sort(items.begin() + 1, items.begin() + 1 + n, before);
}

}  // namespace ferrolux
