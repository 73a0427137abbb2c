#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "platform/utf8_args.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::cli {
namespace {

namespace fs = std::filesystem;
using platform::PathOfUtf8;
using platform::Utf8OfPath;

// A command line is UTF-8 on every system; a name turned into a path through the C library's
// code page reached another file on Windows, or none.
TEST(NonAsciiFileNames, ReachTheCatalogAndTheFilesWritten) {
  const ferrolux::testing::TempFolder temp;
  const fs::path catalog = temp.Path() / PathOfUtf8("ü-Ω") / "CableCatalog.txt";
  fs::create_directories(catalog.parent_path());
  fs::copy_file(fs::path(FERROLUX_TEST_DATA_DIR) / "../../data/CableCatalog.txt", catalog);
  fs::copy_file(fs::path(FERROLUX_TEST_DATA_DIR) / "rg58a_100ft_rlc.s1p", temp.Path() / PathOfUtf8("ü.s1p"));
  const std::string folder = Utf8OfPath(temp.Path()) + "/";
  const struct {
    std::vector<std::string> arguments;
    const char* written;  // the file that must be there afterwards, in the folder
  } cases[] = {
      {{"plot", "--cable", "Belden 8259", "--svg", folder + "Ω.svg"}, "Ω.svg"},
      {{"deembed", folder + "ü.s1p", "--cable", "Belden 8259", "--length", "100", "--s1p", folder + "Ω.s1p"}, "Ω.s1p"},
  };
  for (const auto& c : cases) {
    CLI::App app("", "ferrolux");
    CommandContext context;
    std::ostringstream out, err;
    context.catalogFile = [&] { return catalog; };
    context.out = &out;
    context.err = &err;
    AddCommands(app, context);
    std::vector<std::string> reversed(c.arguments.rbegin(), c.arguments.rend());
    app.parse(reversed);
    EXPECT_EQ(RunChosenCommand(context), 0) << c.written << ": " << err.str();
    EXPECT_TRUE(fs::is_regular_file(temp.Path() / PathOfUtf8(c.written))) << c.written;
  }
}

}  // namespace
}  // namespace ferrolux::cli
