#pragma once
// Sorting the items of a text list in place, by their byte codes.

#include <string>
#include <string_view>
#include <vector>

namespace ferrolux {

// Sorts elements 1 to n by exchanges only. Bytes compare as unsigned codes, and a text that
// begins another comes first. Exactly "A" sorts ascending; any other direction descending.
// Element 0 (the list's header) and the elements past n stay where they are.
void SortList(std::vector<std::string>& items, int n, std::string_view direction);

}  // namespace ferrolux
