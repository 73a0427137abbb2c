// Ferrolux: the loss of a coaxial feed line, in a full-screen terminal calculator, and the
// same calculations as subcommands for scripts.

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>

#include <CLI/CLI.hpp>

#include "app/program.hpp"
#include "catalog/catalog_search.hpp"
#include "cli/commands.hpp"
#include "console/console.hpp"
#include "console/curses_terminal.hpp"

namespace {
constexpr int kExitNoTerminal = 1;

int RunCalculator(const std::filesystem::path& catalogFile) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fputs("ferrolux: needs an interactive terminal\n", stderr);
    return kExitNoTerminal;
  }
  try {
    ferrolux::CursesTerminal terminal;
    ferrolux::SystemClock clock;
    ferrolux::Console console(terminal, terminal, clock);
    return ferrolux::RunProgram(console, catalogFile);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "ferrolux: %s\n", failure.what());
    return kExitNoTerminal;
  }
}
}  // namespace

int main(int argc, char** argv) {
  CLI::App app("The loss of a coaxial feed line", "ferrolux");
  std::string catalog;
  app.add_option("--catalog", catalog, "The cable catalog to read");
  ferrolux::cli::CommandContext context;
  const auto chosenCatalog = [&] {
    const std::optional<std::filesystem::path> named =
        catalog.empty() ? std::nullopt : std::optional<std::filesystem::path>(catalog);
    return ferrolux::ChooseCatalog(named, ferrolux::PlacesOfThisProcess());
  };
  context.catalogFile = chosenCatalog;
  ferrolux::cli::AddCommands(app, context);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return ferrolux::cli::ReportParseError(app, error, std::cout, std::cerr);
  }
  if (context.exitStatus) return *context.exitStatus;
  return RunCalculator(catalog.empty() ? ferrolux::kCatalogFile : chosenCatalog());
}
