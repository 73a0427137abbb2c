#pragma once
// A typed character as the program's key, the same on every backend.

#include <optional>

#include "console/keys.hpp"

namespace ferrolux {

// Characters without a single byte in the program's character set give none.
std::optional<Key> KeyOfChar(char32_t ch);

}  // namespace ferrolux
