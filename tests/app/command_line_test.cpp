#include "app/command_line.hpp"

#include <gtest/gtest.h>
#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/utf8_args.hpp"

namespace ferrolux {
namespace {

const std::string kUsageStart = "usage: ferrolux [--catalog FILE]\n";

TEST(CommandLine, AnswersHelpVersionAndWrongArgumentsAndOtherwiseRunsTheCalculator) {
  struct Case {
    std::vector<const char*> args;
    std::optional<int> status;  // nothing: the calculator runs
    std::string outStart, errFirstLine;
    std::optional<std::filesystem::path> catalog;
  };
  const Case cases[] = {
      {{}, std::nullopt, "", "", std::nullopt},
      {{"--catalog", "club.txt"}, std::nullopt, "", "", "club.txt"},
      {{"--catalog=my cables.txt"}, std::nullopt, "", "", "my cables.txt"},
      {{"--catalog", "ü-Ω/CableCatalog.txt"}, std::nullopt, "", "", platform::PathOfUtf8("ü-Ω/CableCatalog.txt")},
      {{"--version"}, 0, "ferrolux 1.", "", std::nullopt},
      {{"--help"}, 0, kUsageStart, "", std::nullopt},
      {{"-h", "--catalog", "x"}, 0, kUsageStart, "", "x"},
      {{"--bogus"}, kExitUsage, "", "ferrolux: unknown option --bogus", std::nullopt},
      {{"--help", "-x"}, kExitUsage, "", "ferrolux: unknown option -x", std::nullopt},
      {{"cables.txt"}, kExitUsage, "", "ferrolux: unexpected argument cables.txt", std::nullopt},
      {{"--catalog"}, kExitUsage, "", "ferrolux: --catalog: 1 required FILE missing", std::nullopt},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"ferrolux"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(::testing::PrintToString(argv));
    CLI::App app;
    CalculatorOptions options;
    AddCalculatorOptions(app, options);
    std::ostringstream out, err;
    EXPECT_EQ(ParseCommandLine(app, options, static_cast<int>(argv.size()), argv.data(), out, err), c.status);
    EXPECT_EQ(out.str().substr(0, c.outStart.size()), c.outStart);
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.errFirstLine);
    if (!c.errFirstLine.empty()) {
      EXPECT_NE(err.str().find(kUsageStart), std::string::npos) << "the usage follows";
    }
    EXPECT_EQ(options.catalog, c.catalog);
  }
}

// The help once gave Linux's catalog places on Windows too, where none of them is looked in.
TEST(CommandLine, HelpGivesTheCatalogPlacesOfThisSystem) {
#ifdef _WIN32
  const char* const places[] = {"1. .\\CableCatalog.txt", "2. %APPDATA%\\Ferrolux\\CableCatalog.txt",
                                "3. CableCatalog.txt beside ferrolux.exe"};
#else
  const char* const places[] = {"1. ./CableCatalog.txt", "2. $XDG_DATA_HOME/ferrolux/CableCatalog.txt",
                                "3. <bin>/../share/ferrolux/CableCatalog.txt"};
#endif
  CLI::App app;
  CalculatorOptions options;
  AddCalculatorOptions(app, options);
  const char* const argv[] = {"ferrolux", "--help"};
  std::ostringstream out, err;
  EXPECT_EQ(ParseCommandLine(app, options, 2, argv, out, err), 0);
  for (const char* place : places) EXPECT_NE(out.str().find(place), std::string::npos) << place << '\n' << out.str();
}

}  // namespace
}  // namespace ferrolux
