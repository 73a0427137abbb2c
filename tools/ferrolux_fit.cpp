// ferrolux-fit: matched-loss coefficients for the cable catalog from datasheet points.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "tools/fit/fit_tool.hpp"

int main(int argc, char** argv) {
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
