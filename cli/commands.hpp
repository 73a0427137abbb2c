#pragma once
// The subcommands calc, compare, plot and cables, added to the program's command line. Each
// one runs while the command line is parsed and leaves its exit status in the context; main
// returns that status, or starts the calculator when no subcommand ran.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>

#include "cli/output.hpp"

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace ferrolux::cli {

struct CommandContext {
  // The catalog a subcommand reads; asked only once a subcommand runs.
  std::function<std::filesystem::path()> catalogFile;
  std::function<OutputStyle()> outputStyle = DetectOutputStyle;
  std::ostream* out = nullptr;  // standard output and standard error when left empty
  std::ostream* err = nullptr;
  std::optional<int> exitStatus;  // set once a subcommand has run
};

// The context must outlive the parse.
void AddCommands(CLI::App& app, CommandContext& context);

// For a command line the parser refused: one line naming what is wrong and the usage status
// (2); for --help, the help of the subcommand named and 0.
int ReportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err);

}  // namespace ferrolux::cli
