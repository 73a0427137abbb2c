#pragma once
// What every subcommand's file shares: where it writes, how it is run once chosen, and the
// options several subcommands take.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "catalog/catalog.hpp"
#include "cli/commands.hpp"
#include "cli/exact_input.hpp"
#include "cli/settings.hpp"
#include "cli/subcommand_table.hpp"
#include "report/output.hpp"
#include "report/records.hpp"

namespace ferrolux::cli {

struct Io {
  std::ostream& out;
  std::ostream& err;
  OutputStyle style;
  std::function<std::filesystem::path()> catalogFile;

  std::vector<CatalogRow> Cables() const;
};

// Once the whole command line is known to be right, `run` runs as the chosen subcommand: a
// CommandError becomes its message and exit status, output that could not be written a failure.
void RunWhenChosen(CLI::App& command, CommandContext& context, std::function<void(const Io&)> run);

// An option's text must name something: an empty one is a usage fault, not "every cable".
extern const CLI::Validator kNotEmpty;
// A flag is given or not: "--metric=2" is a usage fault, not a way of saying yes.
extern const CLI::Validator kNoValue;
// A decimal whole number in a range.
CLI::Validator WholeNumberIn(int lowest, int highest);

struct CableFilter {
  std::string type, match;
};

void AddSettingOptions(CLI::App& command, SettingTexts& settings);
void AddFormatOption(CLI::App& command, OutputFormat& format);
void AddFilterOptions(CLI::App& command, CableFilter& filter);
// The line model's inputs; each impedance stands instead of --swr.
void AddExactOptions(CLI::App& command, ExactTexts& exact, bool withVf);

}  // namespace ferrolux::cli
