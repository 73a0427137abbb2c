// Every subcommand, in every format, run as the program runs it: no output may carry a figure the
// program cannot stand behind (nan, inf) or a negative zero.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.hpp"

namespace ferrolux::cli {
namespace {

const std::filesystem::path kCatalog = std::filesystem::path(FERROLUX_TEST_DATA_DIR) / "../../data/CableCatalog.txt";

struct Ran {
  int status = -1;
  std::string out;
};

Ran RunArguments(std::vector<std::string> arguments) {
  CLI::App app("", "ferrolux");
  CommandContext context;
  std::ostringstream out, err;
  context.catalogFile = [] { return kCatalog; };
  context.outputStyle = [] { return OutputStyle{}; };
  context.out = &out;
  context.err = &err;
  AddCommands(app, context);
  std::reverse(arguments.begin(), arguments.end());
  app.parse(arguments);
  Ran ran;
  ran.status = RunChosenCommand(context).value_or(-1);
  ran.out = out.str() + err.str();
  return ran;
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A word nan, inf or infinity in any case.
std::string NonFiniteWord(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = at;
    while (end < text.size() && WordChar(text[end])) ++end;
    std::string word = text.substr(at, end - at);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](char c) { return std::tolower(static_cast<unsigned char>(c)); });
    if (word == "nan" || word == "inf" || word == "infinity") return word;
    at = std::max(end, at + 1);
  }
  return {};
}

// A zero with a minus sign before it: "-0", "-0.00", "-j0".
std::string NegativeZero(const std::string& text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '-' || (at > 0 && (std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '.')))
      continue;
    std::size_t end = at + 1;
    if (end < text.size() && text[end] == 'j') ++end;
    if (end >= text.size() || text[end] != '0') continue;
    ++end;
    if (end < text.size() && text[end] == '.')
      for (++end; end < text.size() && text[end] == '0';) ++end;
    if (end == text.size() || (!std::isdigit(static_cast<unsigned char>(text[end])) && text[end] != '.'))
      return text.substr(at, end - at);
  }
  return {};
}

// What no output may carry: a figure that is not finite, or a negative zero.
std::string Unsound(const std::string& text) {
  const std::string word = NonFiniteWord(text);
  return word.empty() ? NegativeZero(text) : word;
}

TEST(SubcommandOutputs, NeverCarryNanInfOrANegativeZero) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "ferrolux-figures-property";
  std::filesystem::create_directories(folder);
  const std::filesystem::path open = folder / "open.s1p", written = folder / "antenna.s1p";
  std::ofstream(open) << "# MHz S RI R 50\n7 1 0\n14 0.5 0.2\n21 1 0\n";
  const std::string sweep = std::string(FERROLUX_TEST_DATA_DIR) + "/cable-sweeps/rg174-open-noisy.s1p";
  const std::vector<std::vector<std::string>> calls = {
      {"calc", "--cable", "Belden 83265", "--length", "4000", "--mhz", "3000", "--swr", "1"},
      {"calc", "--cable", "Belden 83265", "--length", "4000", "--mhz", "3000", "--antenna-z", "50"},
      {"calc", "--cable", "Belden 8259", "--mhz", "136.616122", "--length", "7.5768", "--antenna-z", "0+j385.799278"},
      {"calc", "--cable", "Belden 8259", "--length", "100", "--mhz", "1.8", "--antenna-z", "1+j150"},
      {"calc", "--cable", "Belden 8259", "--length", "100", "--mhz", "14", "--antenna-z", "50-j0"},
      {"calc", "--cable", "Belden 8259", "--length", "100", "--mhz", "14", "--shack-z", "-5+j20"},
      {"calc", "--cable", "Belden 1694A", "--length", "100", "--mhz", "14", "--antenna-z", "75", "--ref-ohms", "50"},
      {"calc", "--cable", "Belden 8259", "--length", "1000", "--mhz", "14", "--swr", "5.5"},
      {"calc", "--cable", "Belden 8259", "--length", "100", "--mhz", "14", "--swr", "9"},
      {"compare", "--length", "100", "--mhz", "14", "--antenna-z", "0+j50"},
      {"compare", "--length", "4000", "--mhz", "3000", "--swr", "1"},
      {"compare", "--length", "100", "--mhz", "14", "--swr", "1.5", "--ref-ohms", "50"},
      {"compare", "--length", "100", "--mhz", "1.8", "--shack-z", "-5+j20", "--sort", "exact"},
      {"cables"},
      {"plot", "--cable", "Belden 8259", "--length", "100"},
      {"deembed", open.string(), "--cable", "Belden 8259", "--length", "100", "--s1p", written.string()},
      {"measure", "--open", sweep, "--length", "15m"},
  };
  for (const std::vector<std::string>& call : calls) {
    for (const char* format : {"text", "csv", "json"}) {
      std::vector<std::string> arguments = call;
      if (call[0] != "plot") arguments.insert(arguments.end(), {"--format", format});
      std::filesystem::remove(written);
      const Ran ran = RunArguments(arguments);
      const std::string all = ran.out + (std::filesystem::exists(written) ? FileText(written) : "");
      const std::string found = Unsound(all);
      EXPECT_TRUE(found.empty()) << "ferrolux " << ::testing::PrintToString(arguments) << " wrote \"" << found
                                 << "\" in:\n"
                                 << all;
      EXPECT_EQ(ran.status, 0) << ::testing::PrintToString(arguments) << '\n' << ran.out;
    }
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ferrolux::cli
