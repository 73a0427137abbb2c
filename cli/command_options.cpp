#include <cmath>
#include <optional>
#include <string_view>

#include "cli/option_values.hpp"
#include "cli/subcommand.hpp"
#include "report/records.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

const CLI::Validator kNotEmpty(
    [](const std::string& text) { return text.empty() ? std::string("must not be empty") : std::string(); }, "", "");

const CLI::Validator kNoValue(
    [](const std::string& text) { return text == "true" ? std::string() : "takes no value, not " + text; }, "", "");

// Rewritten without leading zeros, so it is never read as octal or hexadecimal after the check.
CLI::Validator WholeNumberIn(int lowest, int highest) {
  return CLI::Validator(
      [lowest, highest](std::string& text) {
        const std::optional<double> value = ReadDecimal(text);
        if (!value || *value != std::floor(*value) || *value < lowest || *value > highest)
          return "\"" + text + "\" is not a whole number from " + std::to_string(lowest) + " to " +
                 std::to_string(highest);
        text = std::to_string(static_cast<int>(*value));
        return std::string();
      },
      "", "");
}

void AddSettingOptions(CLI::App& command, SettingTexts& s) {
  command
      .add_option("--length", s.length, "Cable length in feet; 30m for metres (plain numbers are metres with --metric)")
      ->type_name("L")
      ->required();
  command.add_option("--power", s.power, "Transmitter power in watts")->type_name("W")->capture_default_str();
  command.add_option("--swr", s.swr, "SWR measured in the shack, above 0")->type_name("S")->capture_default_str();
  CLI::Option* band = command
                          .add_option("--band", s.band,
                                      "Amateur band: 160m 80m 40m 30m 20m 17m 15m 12m 10m 6m "
                                      "2m 1.25m 70cm gmrs (its centre frequency)")
                          ->type_name("B");
  CLI::Option* mhz = command.add_option("--mhz", s.mhz, "Frequency in MHz, above 0")->type_name("F");
  band->excludes(mhz);
  command.add_flag("--metric", s.metric, "Lengths in metres, losses per 100 m")->check(kNoValue);
}

namespace {

// A word of kFormats.
OutputFormat OutputFormatOf(std::string_view word) {
  if (word == kFormats[1]) return OutputFormat::kCsv;
  if (word == kFormats[2]) return OutputFormat::kJson;
  return OutputFormat::kText;
}

}  // namespace

void AddFormatOption(CLI::App& command, OutputFormat& format) {
  command
      .add_option_function<std::string>(
          "--format", [&format](const std::string& word) { format = OutputFormatOf(word); }, "text, csv or json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember(kFormats))
      ->default_str(kFormats.front());
}

void AddFilterOptions(CLI::App& command, CableFilter& filter) {
  command.add_option("--type", filter.type, "Only cables of this type (letter case aside)")
      ->type_name("T")
      ->check(kNotEmpty);
  command.add_option("--match", filter.match, "Only cables whose type and part number contain this text")
      ->type_name("TEXT")
      ->check(kNotEmpty);
}

void AddExactOptions(CLI::App& command, ExactTexts& exact, bool withVf) {
  CLI::Option* swr = command.get_option("--swr");
  CLI::Option* antenna =
      command.add_option("--antenna-z", exact.antennaZ, "The load at the antenna end, R+jX ohms (35-j20)")
          ->type_name("Z")
          ->check(kNotEmpty);
  CLI::Option* shack =
      command.add_option("--shack-z", exact.shackZ, "An analyser's reading at the shack end, R+jX ohms")
          ->type_name("Z")
          ->check(kNotEmpty);
  antenna->excludes(swr)->excludes(shack);
  shack->excludes(swr);
  command.add_option("--ref-ohms", exact.refOhms, "The SWR meter's reference (default: the cable's impedance)")
      ->type_name("R")
      ->check(kNotEmpty);
  if (withVf)
    command.add_option("--vf", exact.vf, "Velocity factor instead of the catalog's")->type_name("V")->check(kNotEmpty);
}

}  // namespace ferrolux::cli
