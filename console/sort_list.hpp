#pragma once
// Sorting the items of a text list in place, by their byte codes.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ferrolux {

// Sorts elements 1 to n. Bytes compare as unsigned codes, and a text that begins another comes
// first; texts that compare equal are the same bytes, so the order is the only one there is.
// Exactly "A" sorts ascending; any other direction descending. Element 0 (the list's header)
// and the elements past n stay where they are. `nowAndThen`, when given, is called every few
// thousand comparisons, so that a long sort can be cut short by what it throws.
void SortList(std::vector<std::string>& items, int n, std::string_view direction,
              const std::function<void()>& nowAndThen = {});

}  // namespace ferrolux
