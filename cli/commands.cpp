#include "cli/commands.hpp"

#include <iostream>
#include <utility>

#include "cli/catalog_source.hpp"
#include "cli/command_error.hpp"
#include "cli/subcommand.hpp"
#include "cli/subcommand_table.hpp"
#include "text/charset.hpp"

namespace ferrolux::cli {

namespace {

const std::string kProgram = "ferrolux";

void Run(CommandContext& context, const std::function<void(const Io&)>& command) {
  Io io{context.out ? *context.out : std::cout, context.err ? *context.err : std::cerr, context.outputStyle(),
        context.catalogFile};
  try {
    command(io);
    io.out.flush();
    context.exitStatus = io.out ? kExitDone : kExitFailure;
    if (!io.out) io.err << kProgram << ": the output could not be written\n";
  } catch (const CommandError& error) {
    io.out.flush();
    io.err << kProgram << ": " << TerminalText(error.what(), io.style.utf8) << '\n';
    for (const std::string& line : error.Details()) io.err << TerminalText(line, io.style.utf8) << '\n';
    context.exitStatus = error.Status();
  } catch (const std::exception& failure) {
    io.err << kProgram << ": " << TerminalText(failure.what(), io.style.utf8) << '\n';
    context.exitStatus = kExitFailure;
  }
}

}  // namespace

std::vector<CatalogRow> Io::Cables() const { return LoadCables(catalogFile(), err); }

void RunWhenChosen(CLI::App& command, CommandContext& context, std::function<void(const Io&)> run) {
  command.callback([&context, run = std::move(run)] { context.chosen = [&context, run] { Run(context, run); }; });
}

void AddCommands(CLI::App& app, CommandContext& context) {
  for (const Subcommand& subcommand : kSubcommands) AddSubcommand(app, context, subcommand);
  app.require_subcommand(0, 1);
}

void AddSubcommand(CLI::App& app, CommandContext& context, const Subcommand& subcommand) {
  CLI::App& command = *app.add_subcommand(std::string(subcommand.name), std::string(subcommand.purpose));
  // Options of the program itself (--catalog) may follow the subcommand's name.
  command.fallthrough();
  // The program's own command line collects strays to name them; a subcommand refuses its own.
  command.allow_extras(false);
  command.set_help_flag("-h,--help", "Print this help and exit");
  subcommand.add(command, context);
}

std::optional<int> RunChosenCommand(CommandContext& context) {
  if (!context.chosen) return std::nullopt;
  context.chosen();
  return context.exitStatus;
}

int ReportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
    const int status = app.exit(error, out, err);
    if (out.flush()) return status;
    err << kProgram << ": the output could not be written\n";
    return kExitFailure;
  }
  err << kProgram << ": " << TerminalText(error.what()) << '\n';
  return kExitUsage;
}

}  // namespace ferrolux::cli
