#pragma once
// What a backend shows instead of the page while its window is smaller than the program asked for.

#include "console/keys.hpp"
#include "console/screen.hpp"

namespace ferrolux {

// The notice for a window of the given size: only the cells its lines need.
ScreenModel SizeNotice(int columns, int rows);

// The keys that end the run at the notice.
bool LeavesNotice(Key key);

}  // namespace ferrolux
