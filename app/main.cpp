// Ferrolux: the loss of a coaxial feed line, in a full-screen terminal calculator.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <iostream>

#include "app/command_line.hpp"
#include "app/program.hpp"
#include "catalog/catalog_search.hpp"
#include "cli/commands.hpp"
#include "completion/completion.hpp"
#include "console/console.hpp"
#include "pageio/system_clock.hpp"
#include "platform/console_info.hpp"
#include "platform/utf8_args.hpp"
#ifdef _WIN32
#include "winconsole/win32_console.hpp"
#include "winconsole/windows_console.hpp"
#else
#include "terminal/curses_terminal.hpp"
#endif
#include "text/charset.hpp"

namespace {
constexpr int kExitNoTerminal = 1;

int RunCalculator(const ferrolux::CalculatorOptions& options) {
  if (!ferrolux::platform::IsInteractive()) {
    std::fputs("ferrolux: needs an interactive terminal\n", stderr);
    return kExitNoTerminal;
  }
  try {
    const auto catalog = ferrolux::ChooseCatalog(options.catalog, ferrolux::PlacesOfThisProcess());
#ifdef _WIN32
    ferrolux::WindowsConsole terminal(ferrolux::OpenWin32Console());
#else
    ferrolux::CursesTerminal terminal;
#endif
    ferrolux::SystemClock clock;
    ferrolux::Console console(terminal, terminal, clock);
    return ferrolux::RunProgram(console, catalog);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "ferrolux: %s\n", ferrolux::TerminalText(failure.what()).c_str());
    return kExitNoTerminal;
  }
}

int Run(int argc, char** argv) {
  // Without arguments the program is the calculator alone: the command line and the
  // subcommands' machinery are not built, so it starts and runs as light as before them.
  if (argc <= 1) return RunCalculator(ferrolux::CalculatorOptions{});
  CLI::App app("", "ferrolux");  // named, so a help text never shows the path it was started by
  ferrolux::CalculatorOptions options;
  ferrolux::AddCalculatorOptions(app, options);
  ferrolux::cli::CommandContext commands;
  commands.catalogFile = [&options] {
    return ferrolux::ChooseCatalog(options.catalog, ferrolux::PlacesOfThisProcess());
  };
  ferrolux::cli::AddProgramCommands(app, commands);
  if (const auto ended = ferrolux::ParseCommandLine(app, options, argc, argv, std::cout, std::cerr)) return *ended;
  if (const auto status = ferrolux::cli::RunChosenCommand(commands)) return *status;
  return RunCalculator(options);
}
}  // namespace

// A failure that escapes (memory running out while the command line is read, say) still ends
// with a message rather than an abort.
int main(int argc, char** argv) {
  try {
    ferrolux::platform::Utf8Arguments arguments(argc, argv);
    return Run(arguments.Count(), arguments.Values());
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "ferrolux: %s\n", ferrolux::TerminalText(failure.what()).c_str());
    return kExitNoTerminal;
  }
}
