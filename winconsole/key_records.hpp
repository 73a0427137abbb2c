#pragma once
// Console key events become the program's keys, as the terminal's bytes do on other systems.

#include <deque>

#include "console/keys.hpp"
#include "winconsole/console_api.hpp"

namespace ferrolux {

// Appends the keys one event stands for: none for a key released or a modifier alone, the
// key as often as it repeats, and Escape before a character typed with Alt (as a terminal
// sends Alt and a key).
void DecodeKeyRecord(const KeyRecord& record, std::deque<Key>& keys);

}  // namespace ferrolux
