#pragma once
// The program's subcommands, each with what it does in one line and what adds it to the command
// line. This is the only list of them but for `completion` (completion/), which describes all of
// these and so is added after them: they are registered from here, and the usage, the help and
// the completion scripts read what is registered, so a new subcommand cannot be left out of any;
// a test holds the manual page to this table.

#include <array>
#include <stdexcept>
#include <string_view>

namespace CLI {
class App;
}  // namespace CLI

namespace ferrolux::cli {

struct CommandContext;

// Adds the subcommand's options and what it runs to `command`, already named and described.
using AddSubcommandFunction = void (*)(CLI::App& command, CommandContext& context);

void AddCalcCommand(CLI::App& command, CommandContext& context);
void AddCompareCommand(CLI::App& command, CommandContext& context);
void AddPlotCommand(CLI::App& command, CommandContext& context);
void AddCablesCommand(CLI::App& command, CommandContext& context);
void AddDeembedCommand(CLI::App& command, CommandContext& context);
void AddMeasureCommand(CLI::App& command, CommandContext& context);
void AddTdrCommand(CLI::App& command, CommandContext& context);

struct Subcommand {
  std::string_view name;
  std::string_view purpose;
  AddSubcommandFunction add;
};

inline constexpr std::array kSubcommands = {
    Subcommand{"calc", "One calculation: the results screen's figures beside the line equations'", AddCalcCommand},
    Subcommand{"compare", "Every cable of the catalog under the same settings", AddCompareCommand},
    Subcommand{"plot", "Matched loss against frequency, up to 8 cables", AddPlotCommand},
    Subcommand{"cables", "The catalog, with matched losses at 10, 30, 146 and 440 MHz", AddCablesCommand},
    Subcommand{"deembed", "A one-port sweep measured at the shack end, seen at the antenna", AddDeembedCommand},
    Subcommand{"measure",
               "A cable's matched loss, Z0 and velocity factor from sweeps with its far end open and shorted",
               AddMeasureCommand},
    Subcommand{"tdr", "Distance to fault: the reflections along the line from a one-port sweep", AddTdrCommand},
};

}  // namespace ferrolux::cli
