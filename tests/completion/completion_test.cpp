#include "completion/completion.hpp"

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

#include "cli/commands.hpp"
#include "cli/option_values.hpp"
#include "completion/completion_scripts.hpp"
#include "support/temp_folder.hpp"

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
  AddProgramCommands(app, context);
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

// PowerShell is not installed to run it: every subcommand of the table is offered, the values of
// options are known per subcommand, and --cable asks the program for part numbers.
TEST(PowerShellCompletion, OffersEverySubcommandAndTheValuesOfItsOptions) {
  CLI::App app("", "ferrolux");
  app.add_option("--catalog", "The catalog")->type_name("FILE");
  CommandContext context;
  AddProgramCommands(app, context);
  const std::string script = PowerShellCompletion(DescribeCommandLine(app));
  std::string commands = "    $commands = @(";
  for (const Subcommand& command : kProgramSubcommands) {
    const std::string name(command.name);
    commands += (command.name == kProgramSubcommands.front().name ? "'" : ", '") + name + "'";
    EXPECT_NE(script.find("\n        '" + name + "' = @('-h', '--help'"), std::string::npos) << name;
  }
  const std::string expectations[] = {"Register-ArgumentCompleter -Native -CommandName 'ferrolux' -ScriptBlock {\n",
                                      commands + ")\n",
                                      "    $rootValueOptions = @('--catalog')\n",
                                      "        'completion' = @('bash', 'zsh', 'fish', 'powershell')\n",
                                      "        'calc --format' = @('text', 'csv', 'json')\n",
                                      "        'plot --cable' = 'cables'\n",
                                      "        'measure --catalog' = 'files'\n",
                                      "& $program @catalog part-numbers -- $wordToComplete"};
  for (const std::string& expected : expectations) EXPECT_NE(script.find(expected), std::string::npos) << expected;
  EXPECT_EQ(std::count(script.begin(), script.end(), '{'), std::count(script.begin(), script.end(), '}'));
}

// The FILE argument of tdr and deembed completed no file name in any shell.
TEST(CompletionScripts, FileArgumentOfTdrAndDeembedCompletedNoFileName) {
  CLI::App app("", "ferrolux");
  CommandContext context;
  AddProgramCommands(app, context);
  const CompletionModel model = DescribeCommandLine(app);
  for (const char* name : {"tdr", "deembed"}) EXPECT_TRUE(Find(model, name)->fileArgument) << name;
  for (const char* name : {"calc", "measure", "completion"}) EXPECT_FALSE(Find(model, name)->fileArgument) << name;
  const struct {
    std::string script, expected;
  } cases[] = {
      {BashCompletion(model), "      esac\n      [[ $cur == -* ]] || { _ferrolux_files; return; }\n"},
      {ZshCompletion(model), " \\\n            '1:file:_files' ;;\n"},
      {FishCompletion(model), "complete -c ferrolux -n '__ferrolux_command deembed' -F\n"},
      {PowerShellCompletion(model), "    $fileArguments = @('deembed', 'tdr')\n"},
  };
  for (const auto& c : cases) EXPECT_NE(c.script.find(c.expected), std::string::npos) << c.expected;
}

// A lone LF inside a part number made two candidates of it; the word typed so far picks the
// rest in the program, so that a shell never quotes 100,000 parts one by one.
TEST(PartNumbers, LeaveOutAPartNumberHoldingALineEndAndThoseTheWordTypedCannotBegin) {
  ferrolux::testing::TempFolder temp;
  std::string catalog;
  for (const char* part : {"Foam 7", "foam 10", "Lf A\nLf B", "Lf C", "Esc\x1b]0;X\x07", ""})
    catalog += std::string("Coax\t") + part + "\t50\t.66\t25\tCu\tPE\tBraid\tPVC\t.2 in\t300 V\t.5\t.2\t.001\tT\tT\r\n";
  const std::filesystem::path file = temp.Write("catalog.txt", catalog);
  const struct {
    const char* arguments;
    const char* written;
  } cases[] = {
      {"part-numbers", "Foam 7\nfoam 10\nLf C\nEsc\u2190]0;X\u2022\n"},
      {"part-numbers FOAM", "Foam 7\nfoam 10\n"},
      {"part-numbers 'lf '", "Lf C\n"},
      {"part-numbers foam-7", "Foam 7\n"},  // as --cable reads it: blanks and hyphens aside
      {"part-numbers -- -z", ""},
  };
  for (const auto& c : cases) {
    CLI::App app("", "ferrolux");
    std::ostringstream out, err;
    CommandContext context;
    context.catalogFile = [&] { return file; };
    context.out = &out;
    context.err = &err;
    AddProgramCommands(app, context);
    app.parse(c.arguments);
    EXPECT_EQ(RunChosenCommand(context), 0) << c.arguments << ": " << err.str();
    EXPECT_EQ(out.str(), c.written) << c.arguments;
  }
}

}  // namespace
}  // namespace ferrolux::cli
