#pragma once
// The subcommands of kSubcommands, added to the program's command line. Parsing
// only chooses one; it runs once the whole command line is known to be right, so a stray
// argument is refused before anything is written.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>

#include "report/output.hpp"

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
  std::function<void()> chosen;   // the subcommand named on the command line, ready to run
  std::optional<int> exitStatus;  // set once a subcommand has run
};

struct Subcommand;

// The context must outlive the parse.
void AddCommands(CLI::App& app, CommandContext& context);
// One subcommand added as the table's are, for a layer above this one.
void AddSubcommand(CLI::App& app, CommandContext& context, const Subcommand& subcommand);

// Runs the chosen subcommand and returns its exit status; none when no subcommand was named.
std::optional<int> RunChosenCommand(CommandContext& context);

// For a command line the parser refused: one line naming what is wrong and the usage status
// (2); for --help, the help of the subcommand named and 0.
int ReportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err);

}  // namespace ferrolux::cli
