#pragma once
// `ferrolux completion bash|zsh|fish`: a completion script made from the program's own command
// line as the parser holds it, so that it offers every subcommand and option there is.

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "cli/subcommand_table.hpp"

namespace CLI {
class App;
}  // namespace CLI

namespace ferrolux::cli {

enum class ValueKind { kFlag, kFree, kWords, kFiles, kCables };

struct CompletedOption {
  std::vector<std::string> longNames;   // without the dashes
  std::vector<std::string> shortNames;  // one letter each
  std::string help;
  ValueKind kind = ValueKind::kFlag;
  std::vector<std::string> words;  // for kWords
  bool repeats = false;            // may be given more than once
};

struct CompletedCommand {
  std::string name, help;
  std::vector<CompletedOption> options;
  std::vector<std::string> arguments;  // the words its first argument takes
  bool fileArgument = false;           // its first argument names a file
};

struct CompletionModel {
  std::string program;
  std::vector<CompletedOption> options;  // the program's own, before any subcommand
  std::vector<CompletedCommand> commands;
};

void AddCompletionCommand(CLI::App& command, CommandContext& context);

inline constexpr Subcommand kCompletionSubcommand{"completion", "A completion script for bash, zsh, fish or PowerShell",
                                                  AddCompletionCommand};

// Every subcommand of the program, in the order the help lists them.
inline constexpr auto kProgramSubcommands = [] {
  std::array<Subcommand, kSubcommands.size() + 1> all{};
  std::copy(kSubcommands.begin(), kSubcommands.end(), all.begin());
  all.back() = kCompletionSubcommand;
  return all;
}();

// The table's subcommands, then `completion`, which describes them.
void AddProgramCommands(CLI::App& app, CommandContext& context);

// The hidden subcommand the scripts call for the part numbers of the catalog in use.
inline constexpr char kPartNumbersCommand[] = "part-numbers";

// What the parser knows: the visible subcommands with their options, and what each option's
// value can be. A subcommand that passes unknown options up also takes the program's own.
CompletionModel DescribeCommandLine(const CLI::App& app);

}  // namespace ferrolux::cli
