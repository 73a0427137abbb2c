#include "completion/completion.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include <CLI/CLI.hpp>

#include "cli/commands.hpp"

namespace ferrolux::cli {
namespace {

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t start = text.find(from);
  return start == std::string::npos ? "" : text.substr(start, text.find(to, start) - start);
}

// The usage and the help list what is registered: a subcommand registered past the table, or
// one the manual does not describe, would be missing from one of them.
TEST(Subcommands, EveryOneRegisteredIsInTheTableAndInTheManual) {
  CLI::App app;
  CommandContext context;
  AddProgramCommands(app, context);
  std::vector<const CLI::App*> registered =
      std::as_const(app).get_subcommands([](const CLI::App* command) { return !command->get_group().empty(); });
  ASSERT_EQ(registered.size(), kProgramSubcommands.size());
  for (std::size_t i = 0; i < registered.size(); ++i) {
    EXPECT_EQ(registered[i]->get_name(), kProgramSubcommands[i].name);
    EXPECT_EQ(registered[i]->get_description(), kProgramSubcommands[i].purpose);
  }
  std::ifstream file(FERROLUX_MAN_PAGE);
  const std::string manual = (std::ostringstream() << file.rdbuf()).str();
  const std::string synopsis = Between(manual, "\n.SH SYNOPSIS", "\n.SH DESCRIPTION");
  const std::string described = Between(manual, "\n.SH SUBCOMMANDS", "\n.SH LINE MODEL");
  for (const Subcommand& command : kProgramSubcommands) {
    const std::string name(command.name);
    EXPECT_NE(synopsis.find(" " + name), std::string::npos) << name << " missing from the manual's synopsis";
    EXPECT_NE(described.find("\n.B " + name + " "), std::string::npos) << name << " not described in the manual";
  }
}

}  // namespace
}  // namespace ferrolux::cli
