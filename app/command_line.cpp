#include "app/command_line.hpp"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.hpp"
#include "platform/utf8_args.hpp"
#include "text/charset.hpp"

namespace ferrolux {

namespace {

// The catalog's places are those of the system the program is built for.
const char kDescription[] =
    "\n"
    "Ferrolux tells how much of the transmitter's power a coaxial feed line loses on the way to\n"
    "the antenna. It runs full screen in a terminal of at least 120 columns by 43 rows.\n"
    "\n"
    "Keys:\n"
    "  Settings     type the length (ft), the power (W) and the SWR measured in the shack,\n"
    "               each ended by Enter; then Y or Escape to revise them, N to go on\n"
    "  Band menu    1 to 9 and A to E pick a band, F a frequency in MHz, ? a help text,\n"
    "               Escape ends the program\n"
    "  Cable lists  Up, Down, PgUp, PgDn, Home and End move the bar, the first letters of an\n"
    "               item jump to it, Enter chooses\n"
    "  Results      Y for another calculation, N to end\n"
    "  At any time  Ctrl+C ends the program and gives the terminal back as it was\n"
    "\n"
    "The catalog is the first of these that exists:\n"
#ifdef _WIN32
    "  1. .\\CableCatalog.txt, in the folder the program starts in\n"
    "  2. %APPDATA%\\Ferrolux\\CableCatalog.txt, a copy of your own\n"
    "  3. CableCatalog.txt beside ferrolux.exe, the one unpacked with the program\n"
#else
    "  1. ./CableCatalog.txt, in the folder the program starts in\n"
    "  2. $XDG_DATA_HOME/ferrolux/CableCatalog.txt (by default ~/.local/share/ferrolux/),\n"
    "     a copy of your own\n"
    "  3. <bin>/../share/ferrolux/CableCatalog.txt, the one installed with the program\n"
#endif
    "\n"
    "Commands, without a terminal (ferrolux COMMAND --help for their options):\n";

const char kOptions[] =
    "\n"
    "Options:\n"
    "  --catalog FILE  read FILE as the catalog instead\n"
    "  -h, --help      show this text and end\n"
    "  --version       show the version and end\n"
    "\n"
    "More in the manual: man ferrolux; datasheet points to catalog lines: man ferrolux-fit\n";

constexpr std::size_t kHelpWidth = 92;

// The subcommands as registered, but those only the completion scripts call (no group).
std::vector<const CLI::App*> Commands(const CLI::App& app) {
  return app.get_subcommands([](const CLI::App* command) { return !command->get_group().empty(); });
}

std::string Usage(const CLI::App& app) {
  std::string names;
  for (const CLI::App* command : Commands(app)) names += (names.empty() ? "" : "|") + command->get_name();
  return "usage: ferrolux [--catalog FILE]\n" +
         (names.empty() ? "" : "       ferrolux [--catalog FILE] " + names + " [OPTIONS]\n") +
         "       ferrolux --help | --version | COMMAND --help\n";
}

// `text` after `indent` blanks, its words carried onto lines as indented when it is too wide.
std::string Wrapped(const std::string& text, std::size_t indent) {
  std::string out, line;
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (!line.empty() && indent + line.size() + 1 + word.size() > kHelpWidth) {
      out += line + "\n" + std::string(indent, ' ');
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return out + line + "\n";
}

// Each subcommand with what it does, in the order registered.
std::string CommandList(const CLI::App& app) {
  std::size_t widest = 0;
  for (const CLI::App* command : Commands(app)) widest = std::max(widest, command->get_name().size());
  std::string list;
  for (const CLI::App* command : Commands(app)) {
    std::string purpose = command->get_description();
    if (!purpose.empty()) purpose[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(purpose[0])));
    const std::string name = "  " + command->get_name() + std::string(widest - command->get_name().size() + 2, ' ');
    list += name + Wrapped(purpose, name.size());
  }
  return list;
}

// The calculator's usage follows the complaint; a subcommand's fault is one line on its own.
int WrongCommandLine(const CLI::App& app, const std::string& complaint, std::ostream& err) {
  err << "ferrolux: " << TerminalText(complaint) << '\n';
  if (app.get_subcommands().empty()) err << Usage(app);
  return kExitUsage;
}

// A file name, not an empty text nor the next option taken for one (./-x names a file "-x").
std::string CatalogFileCheck(const std::string& file) {
  if (file.empty()) return "must not be empty";
  if (file.starts_with('-')) return "needs a file, not " + file;
  return {};
}

// What was written must have reached its file: a full disk is a failure, not a help text.
int Written(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (out) return status;
  err << "ferrolux: the output could not be written\n";
  return kExitUnwritten;
}

}  // namespace

void AddCalculatorOptions(CLI::App& app, CalculatorOptions& options) {
  app.set_help_flag();  // the program writes its own help text
  app.allow_extras();   // so that a stray argument is named in the program's own words
  // The descriptions serve the completion scripts.
  app.add_flag("-h,--help", options.help, "Print the help and exit");
  app.add_flag("--version", options.version, "Print the version and exit");
  app.add_option_function<std::string>(
         "--catalog", [&options](const std::string& file) { options.catalog = platform::PathOfUtf8(file); },
         "Read FILE as the catalog")
      ->type_name("FILE")
      ->check(CatalogFileCheck);
}

std::optional<int> ParseCommandLine(CLI::App& app, const CalculatorOptions& options, int argc, const char* const* argv,
                                    std::ostream& out, std::ostream& err) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& failure) {
    // A subcommand's --help comes as a parse "error" whose status is success.
    if (failure.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
      return Written(out, err, app.exit(failure, out, err));
    return WrongCommandLine(app, failure.what(), err);
  }
  if (const std::vector<std::string> stray = app.remaining(); !stray.empty()) {
    const bool option = stray.front().starts_with('-');
    return WrongCommandLine(app, (option ? "unknown option " : "unexpected argument ") + stray.front(), err);
  }
  if (options.help) {
    out << Usage(app) << kDescription << CommandList(app) << kOptions;
    return Written(out, err, kExitNormal);
  }
  if (options.version) {
    out << "ferrolux " FERROLUX_VERSION "\n";
    return Written(out, err, kExitNormal);
  }
  return std::nullopt;
}

}  // namespace ferrolux
