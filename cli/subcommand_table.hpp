#pragma once
// The program's subcommands, each with what it does in one line. They are registered from here,
// and the usage and the help list what is registered, so a new subcommand cannot be left out of
// either; a test holds the manual page to this table.

#include <array>
#include <stdexcept>
#include <string_view>

namespace ferrolux::cli {

struct Subcommand {
  std::string_view name;
  std::string_view purpose;
};

inline constexpr std::array kSubcommands = {
    Subcommand{"calc", "One calculation: the results screen's figures beside the line equations'"},
    Subcommand{"compare", "Every cable of the catalog under the same settings"},
    Subcommand{"plot", "Matched loss against frequency, up to 8 cables"},
    Subcommand{"cables", "The catalog, with matched losses at 10, 30, 146 and 440 MHz"},
    Subcommand{"deembed", "A one-port sweep measured at the shack end, seen at the antenna"},
    Subcommand{"measure",
               "A cable's matched loss, Z0 and velocity factor from sweeps with its far end open and shorted"},
    Subcommand{"completion", "A completion script for bash, zsh or fish"},
};

// The purpose of a subcommand of the table; a name not in it is a programming fault.
constexpr std::string_view PurposeOf(std::string_view name) {
  for (const Subcommand& command : kSubcommands)
    if (command.name == name) return command.purpose;
  throw std::logic_error("a subcommand missing from kSubcommands");
}

}  // namespace ferrolux::cli
