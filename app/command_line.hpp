#pragma once
// The program's command line: the calculator's options, its help text and its version.

#include <filesystem>
#include <optional>
#include <ostream>

namespace CLI {
class App;
}

namespace ferrolux {

inline constexpr int kExitUsage = 2;      // a wrong command line
inline constexpr int kExitUnwritten = 1;  // the help or the version could not be written

struct CalculatorOptions {
  std::optional<std::filesystem::path> catalog;  // --catalog FILE; searched for when absent
  bool help = false;
  bool version = false;
};

// Puts --catalog, --help and --version on the app.
void AddCalculatorOptions(CLI::App& app, CalculatorOptions& options);

// Parses the arguments and answers --help, --version and a wrong command line itself: the exit
// status comes back then. Nothing comes back when the calculator is to run.
std::optional<int> ParseCommandLine(CLI::App& app, const CalculatorOptions& options, int argc, const char* const* argv,
                                    std::ostream& out, std::ostream& err);

}  // namespace ferrolux
