// ferrolux-fit: matched-loss coefficients for the cable catalog from datasheet points.
#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/utf8_args.hpp"
#include "tools/fit/fit_tool.hpp"

namespace {

int RunFit(int argc, char** argv) {
  // The program-wide --version is answered here; every other argument, --help included, is the tool's.
  CLI::App app;
  app.set_help_flag();
  app.set_version_flag("--version", "ferrolux-fit " FERROLUX_VERSION);
  app.allow_extras();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& answered) {
    return app.exit(answered);
  }
  return ferrolux::fit::RunFitTool(app.remaining(), std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  // The tool reports its own failures; what is left (memory running out) still ends with a message.
  try {
    ferrolux::platform::Utf8Arguments arguments(argc, argv);
    return RunFit(arguments.Count(), arguments.Values());
  } catch (const std::exception& failure) {
    std::cerr << "ferrolux-fit: " << failure.what() << '\n';
    return ferrolux::fit::kToolFailed;
  }
}
