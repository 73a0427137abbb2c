#pragma once
// A framed, scrolling list from which the user picks one item with the cursor and paging keys,
// or by typing the first characters of its text. There is no cancel: Enter always picks.

#include <limits>
#include <string>
#include <vector>

namespace ferrolux {

class Console;

// items[0] is the header: the item count, a comma and the title (without a comma the count is
// 0 and the whole header is the title); items[1] to items[count] are the items.
// The frame runs from (top, left) to (bottom, left + width), width being the longest of the
// title and the items plus 3; the window holds bottom - top - 3 rows and shows the elements up
// to that index even when the count is smaller (elements past the vector's end show as empty).
// The right border never passes column `rightmost` (nor the screen's last column): a longer
// title or item narrows the list and is cut to it.
// `selection` is ignored on entry and holds the chosen index on return; the colours are then
// textForeground on textBackground. The selected row is always yellow on red.
void PickList(Console& console, const std::vector<std::string>& items, int& selection, int top, int left, int bottom,
              int textForeground, int textBackground, int frameForeground, int frameBackground, int itemForeground,
              int rightmost = std::numeric_limits<int>::max());

}  // namespace ferrolux
