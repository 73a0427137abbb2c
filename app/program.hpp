#pragma once
// The main procedure: start-up, the cycles of questions and results, and the ending.

#include <filesystem>

#include "catalog/catalog.hpp"

namespace ferrolux {

class Console;

inline constexpr int kExitNormal = 0;
inline constexpr int kExitSignalBase = 128;  // a signal n ends the run with 128 + n

// Runs the whole program on the console and returns the exit status.
int RunProgram(Console& console, const std::filesystem::path& catalogFile = kCatalogFile);

}  // namespace ferrolux
