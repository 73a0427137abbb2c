#include "completion/completion.hpp"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string_view>

#include <CLI/CLI.hpp>

#include "catalog/cable_names.hpp"
#include "catalog/catalog.hpp"
#include "cli/catalog_source.hpp"
#include "cli/command_error.hpp"
#include "cli/option_values.hpp"
#include "cli/subcommand.hpp"
#include "completion/completion_scripts.hpp"
#include "model/bands.hpp"
#include "report/output.hpp"
#include "text/charset.hpp"

namespace ferrolux::cli {

namespace {

const std::vector<std::string>& BandNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    all.reserve(kBands.size());
    for (const Band& band : kBands) all.emplace_back(band.name);
    return all;
  }();
  return names;
}

struct KnownValue {
  std::string_view option;
  ValueKind kind;
  const std::vector<std::string>* words;
};

// What an option's value can be, where the shell can offer more than free text.
const KnownValue kKnownValues[] = {
    {"format", ValueKind::kWords, &kFormats},      {"sort", ValueKind::kWords, &kSortKeys},
    {"band", ValueKind::kWords, nullptr},          {"cable", ValueKind::kCables, nullptr},
    {"catalog", ValueKind::kFiles, nullptr},       {"svg", ValueKind::kFiles, nullptr},
    {"s1p", ValueKind::kFiles, nullptr},           {"shell", ValueKind::kWords, &kShells},
    {"show", ValueKind::kWords, &kPlotQuantities}, {"window", ValueKind::kWords, &kTdrWindows},
    {"view", ValueKind::kWords, &kSweepViews},
};
constexpr char kFileTypeName[] = "FILE";

CompletedOption Describe(const CLI::Option& option) {
  CompletedOption described;
  described.longNames = option.get_lnames();
  described.shortNames = option.get_snames();
  described.help = option.get_description();
  if (option.get_expected_max() == 0) return described;
  described.repeats = option.get_items_expected_max() > 1;
  // An argument called FILE, like an option whose value is shown as FILE, names a file.
  const bool file =
      option.get_type_name() == kFileTypeName || (option.get_positional() && option.get_name() == kFileTypeName);
  described.kind = file ? ValueKind::kFiles : ValueKind::kFree;
  std::vector<std::string> keys = described.longNames;
  if (option.get_positional()) keys.push_back(option.get_name());
  for (const KnownValue& known : kKnownValues) {
    if (std::find(keys.begin(), keys.end(), known.option) == keys.end()) continue;
    described.kind = known.kind;
    if (known.kind == ValueKind::kWords) described.words = known.words != nullptr ? *known.words : BandNames();
  }
  return described;
}

bool Visible(const std::string& group) { return !group.empty(); }

std::vector<CompletedOption> DescribeOptions(const CLI::App& app) {
  std::vector<CompletedOption> described;
  for (const CLI::Option* option : app.get_options()) {
    if (option->nonpositional() && Visible(option->get_group())) described.push_back(Describe(*option));
  }
  return described;
}

// The words its first argument takes, or that it names a file.
void DescribeFirstArgument(const CLI::App& command, CompletedCommand& described) {
  for (const CLI::Option* option : command.get_options()) {
    if (!option->get_positional() || option->nonpositional()) continue;
    const CompletedOption argument = Describe(*option);
    described.arguments = argument.words;
    described.fileArgument = argument.kind == ValueKind::kFiles;
    return;
  }
}

// Options of the program that a subcommand passes up (--catalog), unless it has its own.
void AddPassedUp(std::vector<CompletedOption>& own, const std::vector<CompletedOption>& program) {
  for (const CompletedOption& option : program) {
    const bool named = std::any_of(own.begin(), own.end(), [&](const CompletedOption& o) {
      return !o.longNames.empty() && !option.longNames.empty() && o.longNames.front() == option.longNames.front();
    });
    if (!named && option.kind != ValueKind::kFlag) own.push_back(option);
  }
}

void WriteScript(const CLI::App& app, const std::string& shell, std::ostream& out) {
  const CompletionModel model = DescribeCommandLine(app);
  if (shell == "bash") out << BashCompletion(model);
  else if (shell == "zsh") out << ZshCompletion(model);
  else if (shell == "fish") out << FishCompletion(model);
  else out << PowerShellCompletion(model);
}

bool StartsWithLetterCaseAside(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

// Whether the word typed so far may be on its way to this cable, as --cable reads names: the part
// number's start, or, written as hams write them ("lmr4", "rg8x"), the start of the part number
// or of the type, or any piece of the part number.
bool MayBeTyping(const CatalogRow& cable, const std::string& shown, std::string_view typed) {
  if (StartsWithLetterCaseAside(shown, typed)) return true;
  const std::string word = NormalisedName(typed);
  return NormalisedName(cable[column::kPartNumber]).starts_with(word) ||
         NormalisedName(cable[column::kType]).starts_with(word) || NameContains(cable[column::kPartNumber], typed);
}

// One candidate a line, only those the word typed so far may be on its way to, so that a shell
// gets a handful to quote rather than the whole catalog; controls shown as their pictures, as in
// every message. A part number holding a line end of its own would read as two: it is left out.
void WritePartNumbers(const Io& io, const std::string& prefix) {
  for (const CatalogRow& cable : io.Cables()) {
    const std::string& part = cable[column::kPartNumber];
    if (part.empty() || part.find('\n') != std::string::npos) continue;
    const std::string shown = DisplayText(part);
    if (MayBeTyping(cable, shown, prefix)) io.out << shown << '\n';
  }
}

}  // namespace

CompletionModel DescribeCommandLine(const CLI::App& app) {
  CompletionModel model{app.get_name(), DescribeOptions(app), {}};
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    if (!Visible(command->get_group())) continue;
    CompletedCommand described{command->get_name(), command->get_description(), DescribeOptions(*command), {}, false};
    DescribeFirstArgument(*command, described);
    if (command->get_fallthrough()) AddPassedUp(described.options, model.options);
    model.commands.push_back(std::move(described));
  }
  return model;
}

void AddProgramCommands(CLI::App& app, CommandContext& context) {
  AddCommands(app, context);
  AddSubcommand(app, context, kCompletionSubcommand);
}

void AddCompletionCommand(CLI::App& command, CommandContext& context) {
  // The whole command line is read only when the script is written, so every subcommand is in it.
  const CLI::App& app = *command.get_parent();
  command.fallthrough(false);
  auto shell = std::make_shared<std::string>();
  command.add_option("shell", *shell, "bash, zsh, fish or powershell")->check(CLI::IsMember(kShells))->required();
  RunWhenChosen(command, context, [&app, shell](const Io& io) { WriteScript(app, *shell, io.out); });

  CLI::App& parts =
      *command.get_parent()->add_subcommand(kPartNumbersCommand, "The part numbers of the catalog, one a line");
  parts.group("");
  parts.fallthrough();
  parts.allow_extras(false);
  auto prefix = std::make_shared<std::string>();
  parts.add_option("prefix", *prefix, "Only those that start with this (letter case aside)");
  RunWhenChosen(parts, context, [prefix](const Io& io) { WritePartNumbers(io, *prefix); });
}

}  // namespace ferrolux::cli
