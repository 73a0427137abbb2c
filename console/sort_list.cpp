#include "console/sort_list.hpp"

#include <algorithm>
#include <utility>

namespace ferrolux {

namespace {

constexpr std::string_view kAscending = "A";

// Negative, zero or positive as `a` sorts before, with or after `b`.
int CompareBytes(const std::string& a, const std::string& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto left = static_cast<unsigned char>(a[i]);
    const auto right = static_cast<unsigned char>(b[i]);
    if (left != right) return left < right ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool OutOfOrder(const std::string& a, const std::string& b, bool ascending) {
  const int order = CompareBytes(a, b);
  return ascending ? order > 0 : order < 0;
}

// One bubble pass along the chains `gap` apart; gives the index of its last exchange, or 0.
int ExchangePass(std::vector<std::string>& items, int limit, int gap, bool ascending) {
  int lastSwap = 0;
  for (int i = 1; i <= limit; ++i) {
    if (OutOfOrder(items[i], items[i + gap], ascending)) {
      std::swap(items[i], items[i + gap]);
      lastSwap = i;
    }
  }
  return lastSwap;
}

}  // namespace

void SortList(std::vector<std::string>& items, int n, std::string_view direction) {
  // A count past the vector's end would make the passes read beyond it.
  n = std::min(n, static_cast<int>(items.size()) - 1);
  const bool ascending = direction == kAscending;
  for (int gap = n / 2; gap > 0; gap /= 2) {
    // Everything after a pass's last exchange is in place, so the next pass stops there.
    int limit = n - gap;
    int lastSwap = 0;
    do {
      lastSwap = ExchangePass(items, limit, gap, ascending);
      limit = lastSwap - gap;
    } while (lastSwap != 0);
  }
}

}  // namespace ferrolux
