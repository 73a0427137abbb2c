#include "cli/completion.hpp"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include "cli/option_values.hpp"

namespace ferrolux::cli {
namespace {

const CompletedCommand* Find(const CompletionModel& model, const std::string& name) {
  for (const CompletedCommand& command : model.commands)
    if (command.name == name) return &command;
  return nullptr;
}

const CompletedOption* Find(const CompletedCommand& command, const std::string& name) {
  for (const CompletedOption& option : command.options)
    if (!option.longNames.empty() && option.longNames.front() == name) return &option;
  return nullptr;
}

// A subcommand added after the program's own ones is in the scripts too; the hidden helper is not.
TEST(CompletionModel, NamesEverySubcommandTheParserHoldsAndWhatItsOptionsTake) {
  CLI::App app("", "ferrolux");
  app.add_option("--catalog", "The catalog")->type_name("FILE");
  CommandContext context;
  AddCommands(app, context);
  std::string s1p;
  CLI::App* later = app.add_subcommand("later", "A later subcommand");
  later->fallthrough();
  later->add_option("--s1p", s1p, "A measured file");

  const CompletionModel model = DescribeCommandLine(app);
  ASSERT_NE(Find(model, "later"), nullptr);
  EXPECT_EQ(Find(model, kPartNumbersCommand), nullptr);
  struct Case {
    const char* command;
    const char* option;
    ValueKind kind;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"calc", "format", ValueKind::kWords, kFormats},
      {"compare", "sort", ValueKind::kWords, kSortKeys},
      {"compare",
       "band",
       ValueKind::kWords,
       {"160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m", "6m", "2m", "1.25m", "70cm", "gmrs"}},
      {"plot", "cable", ValueKind::kCables, {}},
      {"plot", "svg", ValueKind::kFiles, {}},
      {"plot", "catalog", ValueKind::kFiles, {}},
      {"later", "s1p", ValueKind::kFiles, {}},
      {"deembed", "s1p", ValueKind::kFiles, {}},
      {"later", "catalog", ValueKind::kFiles, {}},
      {"calc", "length", ValueKind::kFree, {}},
      {"cables", "metric", ValueKind::kFlag, {}},
  };
  for (const Case& c : cases) {
    const CompletedOption* option = Find(*Find(model, c.command), c.option);
    ASSERT_NE(option, nullptr) << c.command << " --" << c.option;
    EXPECT_EQ(option->kind, c.kind) << c.command << " --" << c.option;
    EXPECT_EQ(option->words, c.words) << c.command << " --" << c.option;
  }
  EXPECT_TRUE(Find(*Find(model, "plot"), "cable")->repeats);
  EXPECT_EQ(Find(model, "completion")->arguments, kShells);
}

}  // namespace
}  // namespace ferrolux::cli
