#pragma once
// The console the program runs in, on Windows.

#include <memory>

#include "winconsole/console_api.hpp"

namespace ferrolux {

// Refuses when standard input or output is not a console.
std::unique_ptr<ConsoleApi> OpenWin32Console();

}  // namespace ferrolux
