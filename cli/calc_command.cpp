// `ferrolux calc`: one cable, or a feed line of several elements, under one set of settings.

#include <memory>

#include "cli/cable_choice.hpp"
#include "cli/calc_report.hpp"
#include "cli/path_calculation.hpp"
#include "cli/path_report.hpp"
#include "cli/subcommand.hpp"
#include "report/line_limits.hpp"

namespace ferrolux::cli {

namespace {

struct CalcOptions {
  SettingTexts settings;
  ExactTexts exact;
  std::string cable, path;
  OutputFormat format = OutputFormat::kText;
};

// The settings are read before the catalog, so a usage fault is told before a missing file.
void RunCableCalc(const CalcOptions& o, Settings settings, const ExactRequest& exact, const CatalogRow& row,
                  const Io& io) {
  const CatalogCable cable = ReadCatalogCable(row);
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

// A path of one cable and nothing else is --cable and --length, its own velocity factor --vf.
void RunOneCablePath(CalcOptions o, const PathElementEntry& entry, const Io& io) {
  o.settings.length = entry.lengthText;
  o.exact.vf = entry.vfText;
  RunCableCalc(o, ReadSettings(o.settings), ReadExactRequest(o.exact), *entry.row, io);
}

void RunPathCalc(CalcOptions o, const Io& io) {
  if (!o.exact.vf.empty())
    throw UsageError("--vf does not go with --path: give a cable's own after an @ (RG-8X:6ft@0.78)");
  o.settings.length = "0";
  const Settings settings = ReadSettings(o.settings);
  const ExactRequest exact = ReadExactRequest(o.exact);
  const std::vector<CatalogRow> cables = io.Cables();  // the entries point into it
  std::vector<PathElementEntry> entries = ReadPathText(o.path, cables);
  if (entries.size() == 1 && entries.front().element.kind == ElementKind::kCable)
    return RunOneCablePath(o, entries.front(), io);
  const PathCalculation c = CalculatePath(std::move(entries), settings, exact);
  switch (o.format) {
    case OutputFormat::kCsv: return WritePathCsv(io.out, settings, c);
    case OutputFormat::kJson: return WritePathJson(io.out, o.path, settings, c);
    case OutputFormat::kText:
      WritePathText(io.out, settings, c, io.style);
      return WriteLineLimits(io.out, LineLimitLines(PathCableRows(c), settings.freqMHz, settings.freqMHz), io.style);
  }
}

void RunCalc(const CalcOptions& o, const Io& io) {
  if (!o.path.empty()) return RunPathCalc(o, io);
  if (o.cable.empty()) throw UsageError("give --cable and --length, or --path");
  if (o.settings.length.empty()) throw UsageError("--length is required");
  const Settings settings = ReadSettings(o.settings);
  const ExactRequest exact = ReadExactRequest(o.exact);
  const std::vector<CatalogRow> cables = io.Cables();  // the row found points into it
  RunCableCalc(o, settings, exact, FindCable(cables, o.cable), io);
}

}  // namespace

void AddCalcCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<CalcOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunCalc(*o, io); });
  AddSettingOptions(command, o->settings);
  CLI::Option* cable =
      command.add_option("--cable", o->cable, "Part number, or text that the cable's type and part number contain")
          ->type_name("C")
          ->check(kNotEmpty);
  CLI::Option* path =
      command
          .add_option("--path", o->path,
                      "A feed line, shack end first: \"RG-8X:6ft, PL-259, arrestor, Times LMR-400:100ft, N\" "
                      "(cables with lengths, connectors, 0.2dB losses)")
          ->type_name("TEXT")
          ->check(kNotEmpty);
  CLI::Option* length = command.get_option("--length")->required(false);
  path->excludes(cable)->excludes(length);
  AddExactOptions(command, o->exact, true);
  AddFormatOption(command, o->format);
}

}  // namespace ferrolux::cli
