// `ferrolux calc`: one cable under one set of settings.

#include <memory>

#include "cli/cable_choice.hpp"
#include "cli/calc_report.hpp"
#include "cli/line_limits.hpp"
#include "cli/subcommand.hpp"

namespace ferrolux::cli {

namespace {

struct CalcOptions {
  SettingTexts settings;
  ExactTexts exact;
  std::string cable;
  OutputFormat format = OutputFormat::kText;
};

void RunCalc(const CalcOptions& o, const Io& io) {
  Settings settings = ReadSettings(o.settings);
  const ExactRequest exact = ReadExactRequest(o.exact);
  const std::vector<CatalogRow> cables = io.Cables();
  const CatalogCable cable = ReadCatalogCable(FindCable(cables, o.cable));
  CheckLineData(exact, o.exact, cable);
  const Calculation calculation = Calculate(cable, settings, exact);
  settings.shackSwr = calculation.shackSwr;
  switch (o.format) {
    case OutputFormat::kCsv: return WriteCalcCsv(io.out, cable.texts, settings, calculation);
    case OutputFormat::kJson: return WriteCalcJson(io.out, cable.texts, settings, calculation);
    case OutputFormat::kText:
      WriteCalcText(io.out, cable.texts, settings, calculation, io.style);
      return WriteLineLimits(io.out, LineLimitLines({&cable.texts}, settings.freqMHz, settings.freqMHz), io.style);
  }
}

}  // namespace

void AddCalcCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<CalcOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunCalc(*o, io); });
  AddSettingOptions(command, o->settings);
  command.add_option("--cable", o->cable, "Part number, or text that the cable's type and part number contain")
      ->type_name("C")
      ->required()
      ->check(kNotEmpty);
  AddExactOptions(command, o->exact, true);
  AddFormatOption(command, o->format);
}

}  // namespace ferrolux::cli
