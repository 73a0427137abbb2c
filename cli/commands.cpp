#include "cli/commands.hpp"

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

#include <CLI/CLI.hpp>

#include "chart/chart.hpp"
#include "chart/svg_chart.hpp"
#include "cli/cable_choice.hpp"
#include "cli/cable_list.hpp"
#include "cli/calc_report.hpp"
#include "cli/catalog_source.hpp"
#include "cli/command_error.hpp"
#include "cli/compare.hpp"
#include "cli/completion.hpp"
#include "cli/deembed_command.hpp"
#include "cli/exact_input.hpp"
#include "cli/file_output.hpp"
#include "cli/measure.hpp"
#include "cli/measure_output.hpp"
#include "cli/option_values.hpp"
#include "cli/plot.hpp"
#include "cli/subcommand_table.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

const std::string kProgram = "ferrolux";

struct Io {
  std::ostream& out;
  std::ostream& err;
  OutputStyle style;
  std::function<std::filesystem::path()> catalogFile;

  std::vector<CatalogRow> Cables() const { return LoadCables(catalogFile(), err); }
};

// Every option a subcommand can take; CLI11 writes into it while parsing.
struct OptionValues {
  SettingTexts settings;
  ExactTexts exact;
  std::string cable, type, match, format = "text", sort = "total", svg, ohms;
  PlotOptions plot;
  DeembedOptions deembed;
  MeasureOptions measure;
};

using Command = std::function<void(const Io&)>;

// An option's text must name something: an empty one is a usage fault, not "every cable".
const CLI::Validator kNotEmpty(
    [](const std::string& text) { return text.empty() ? std::string("must not be empty") : std::string(); }, "", "");

// A flag is given or not: "--metric=2" is a usage fault, not a way of saying yes.
const CLI::Validator kNoValue(
    [](const std::string& text) { return text == "true" ? std::string() : "takes no value, not " + text; }, "", "");

// A decimal whole number in a range; rewritten without leading zeros, so it is never read as octal
// or hexadecimal after the check.
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

void Run(CommandContext& context, const Command& command) {
  Io io{context.out ? *context.out : std::cout, context.err ? *context.err : std::cerr, context.outputStyle(),
        context.catalogFile};
  try {
    command(io);
    io.out.flush();
    context.exitStatus = io.out ? kExitDone : kExitFailure;
    if (!io.out) io.err << kProgram << ": the output could not be written\n";
  } catch (const CommandError& error) {
    io.out.flush();
    io.err << kProgram << ": " << TerminalText(error.what(), io.style.utf8) << '\n';
    for (const std::string& line : error.Details()) io.err << TerminalText(line, io.style.utf8) << '\n';
    context.exitStatus = error.Status();
  } catch (const std::exception& failure) {
    io.err << kProgram << ": " << TerminalText(failure.what(), io.style.utf8) << '\n';
    context.exitStatus = kExitFailure;
  }
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

void AddFormatOption(CLI::App& command, std::string& format) {
  command.add_option("--format", format, "text, csv or json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember(kFormats))
      ->capture_default_str();
}

void AddFilterOptions(CLI::App& command, OptionValues& o) {
  command.add_option("--type", o.type, "Only cables of this type (letter case aside)")
      ->type_name("T")
      ->check(kNotEmpty);
  command.add_option("--match", o.match, "Only cables whose type and part number contain this text")
      ->type_name("TEXT")
      ->check(kNotEmpty);
}

// The line model's inputs; each impedance stands instead of --swr.
void AddExactOptions(CLI::App& command, OptionValues& o, bool withVf) {
  CLI::Option* swr = command.get_option("--swr");
  CLI::Option* antenna =
      command.add_option("--antenna-z", o.exact.antennaZ, "The load at the antenna end, R+jX ohms (35-j20)")
          ->type_name("Z")
          ->check(kNotEmpty);
  CLI::Option* shack =
      command.add_option("--shack-z", o.exact.shackZ, "An analyser's reading at the shack end, R+jX ohms")
          ->type_name("Z")
          ->check(kNotEmpty);
  antenna->excludes(swr)->excludes(shack);
  shack->excludes(swr);
  command.add_option("--ref-ohms", o.exact.refOhms, "The SWR meter's reference (default: the cable's impedance)")
      ->type_name("R")
      ->check(kNotEmpty);
  if (withVf)
    command.add_option("--vf", o.exact.vf, "Velocity factor instead of the catalog's")
        ->type_name("V")
        ->check(kNotEmpty);
}

void RunCalc(const OptionValues& o, const Io& io) {
  Settings settings = ReadSettings(o.settings);
  const ExactRequest exact = ReadExactRequest(o.exact);
  const std::vector<CatalogRow> cables = io.Cables();
  const CatalogCable cable = ReadCatalogCable(FindCable(cables, o.cable));
  CheckLineData(exact, o.exact, cable);
  const Calculation calculation = Calculate(cable, settings, exact);
  settings.shackSwr = calculation.shackSwr;
  if (o.format == "csv") WriteCalcCsv(io.out, cable.texts, settings, calculation);
  else if (o.format == "json") WriteCalcJson(io.out, cable.texts, settings, calculation);
  else WriteCalcText(io.out, cable.texts, settings, calculation, io.style);
}

CompareOrder OrderOf(const std::string& sort) {
  if (sort == "matched") return CompareOrder::kMatched;
  if (sort == "name") return CompareOrder::kName;
  if (sort == "exact") return CompareOrder::kExact;
  return CompareOrder::kTotal;
}

void RunCompare(const OptionValues& o, const Io& io) {
  const Settings settings = ReadSettings(o.settings);
  const ExactRequest exact = ReadExactRequest(o.exact);  // a usage fault before any file fault
  const double ohms = o.ohms.empty() ? 0 : ReadNumber("--ohms", o.ohms);
  std::vector<CatalogRow> cables = SelectCables(OnlyColumns(io.Cables(), kComparedColumns), o.type, o.match);
  if (ohms > 0) cables = KeepImpedance(std::move(cables), ohms);
  const std::vector<ComparedCable> rows = CompareCables(std::move(cables), settings, OrderOf(o.sort), exact);
  if (o.format == "csv") WriteCompareCsv(io.out, rows);
  else if (o.format == "json") WriteCompareJson(io.out, rows, settings, exact);
  else WriteCompareText(io.out, rows, settings, io.style, exact);
}

void RunCables(const OptionValues& o, const Io& io) {
  const bool table = o.format != "csv" && o.format != "json";
  std::vector<CatalogRow> cables =
      SelectCables(table ? OnlyColumns(io.Cables(), kTableColumns) : io.Cables(), o.type, o.match);
  if (o.format == "csv") WriteCablesCsv(io.out, cables, o.settings.metric);
  else if (o.format == "json") WriteCablesJson(io.out, cables, o.settings.metric);
  else WriteCablesText(io.out, std::move(cables), o.settings.metric, io.style);
}

void RunPlot(const OptionValues& o, const Io& io) {
  if (!o.plot.length.empty()) ReadLength(o.plot.length, o.plot.metric);
  const std::vector<CatalogRow> cables = io.Cables();
  const chart::ChartSettings chart = BuildChart(cables, o.plot, io.style);
  if (!o.svg.empty()) return WriteFileOrOut(o.svg, chart::DrawSvgChart(chart), io.out);
  for (const std::string& line : chart::DrawChart(chart)) io.out << line << '\n';
}

void RunDeembedCommand(const OptionValues& o, const Io& io) {
  ReadDeembedOptions(o.deembed);
  RunDeembed(o.deembed, io.Cables(), io.out, io.style);
}

void RunMeasure(const OptionValues& o, const Io& io) {
  const MeasureOptions& m = o.measure;
  ReadMeasureOptions(m);
  std::optional<SweepFile> open, shorted;
  if (!m.open.empty()) open = ReadSweepFile(m.open);
  if (!m.shorted.empty()) shorted = ReadSweepFile(m.shorted);
  const std::vector<CatalogRow> cables = m.cable.empty() ? std::vector<CatalogRow>() : io.Cables();
  const CatalogRow* cable = m.cable.empty() ? nullptr : &FindCable(cables, m.cable);
  const CableReport report = MeasureCable(std::move(open), std::move(shorted), m, cable);
  if (m.catalogLine) {
    if (report.measurement.velocityFactorUnresolved) io.err << kNoVelocityFactorInRecord << '\n';
    return void(io.out << MeasuredCatalogLine(report, m));
  }
  if (m.plot || !m.svg.empty()) {
    const chart::ChartSettings chart = MeasureChart(report, cable, m.metric, io.style);
    if (!m.svg.empty()) return WriteFileOrOut(m.svg, chart::DrawSvgChart(chart), io.out);
    for (const std::string& line : chart::DrawChart(chart)) io.out << line << '\n';
    return;
  }
  if (o.format == "csv") WriteMeasureCsv(io.out, report);
  else if (o.format == "json") WriteMeasureJson(io.out, report);
  else WriteMeasureText(io.out, report, m.metric, io.style);
}

CLI::App& AddCommand(CLI::App& app, CommandContext& context, const std::string& name,
                     const std::shared_ptr<OptionValues>& options, void (*run)(const OptionValues&, const Io&)) {
  CLI::App& command = *app.add_subcommand(name, std::string(PurposeOf(name)));
  // Options of the program itself (--catalog) may follow the subcommand's name.
  command.fallthrough();
  // The program's own command line collects strays to name them; a subcommand refuses its own.
  command.allow_extras(false);
  command.set_help_flag("-h,--help", "Print this help and exit");
  command.callback([&context, options, run] {
    context.chosen = [&context, options, run] { Run(context, [&](const Io& io) { run(*options, io); }); };
  });
  return command;
}

void AddCalc(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& calc = AddCommand(app, context, "calc", o, RunCalc);
  AddSettingOptions(calc, o->settings);
  calc.add_option("--cable", o->cable, "Part number, or text that the cable's type and part number contain")
      ->type_name("C")
      ->required()
      ->check(kNotEmpty);
  AddExactOptions(calc, *o, true);
  AddFormatOption(calc, o->format);
}

void AddCompare(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& compare = AddCommand(app, context, "compare", o, RunCompare);
  AddSettingOptions(compare, o->settings);
  AddFilterOptions(compare, *o);
  compare.add_option("--sort", o->sort, "total (line equations), matched, name or exact (the range's upper end)")
      ->type_name("ORDER")
      ->check(CLI::IsMember(kSortKeys))
      ->capture_default_str();
  compare.add_option("--ohms", o->ohms, "Only cables of this nominal impedance (50, 75)")
      ->type_name("R")
      ->check(kNotEmpty);
  AddExactOptions(compare, *o, false);
  AddFormatOption(compare, o->format);
}

void AddCables(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& cables = AddCommand(app, context, "cables", o, RunCables);
  AddFilterOptions(cables, *o);
  cables.add_flag("--metric", o->settings.metric, "Losses per 100 m")->check(kNoValue);
  AddFormatOption(cables, o->format);
}

void AddPlot(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& plot = AddCommand(app, context, "plot", o, RunPlot);
  PlotOptions& p = o->plot;
  plot.add_option("--cable", p.cables, "A cable, as for calc; repeat for more")->type_name("C")->check(kNotEmpty);
  plot.add_option("--type", p.type, "Every cable of this type")->type_name("T")->check(kNotEmpty);
  plot.add_option("--length", p.length, "Loss for this length instead of per 100 ft (30m for metres)")->type_name("L");
  plot.add_flag("--metric", p.metric, "Per 100 m; plain lengths in metres")->check(kNoValue);
  plot.add_option("--from", p.fromMHz, "Lowest frequency in MHz")->type_name("F")->capture_default_str();
  plot.add_flag("--log-loss", p.logLoss, "A logarithmic loss axis")->check(kNoValue);
  plot.add_option("--to", p.toMHz, "Highest frequency in MHz")->type_name("F")->capture_default_str();
  plot.add_option("--width", p.width, "Chart width in columns (default: the terminal's, else 80)")
      ->type_name("N")
      ->check(WholeNumberIn(chart::kChartNarrowest, chart::kChartLargest));
  plot.add_option("--height", p.height, "Chart height in rows (default: fits the terminal, else 24)")
      ->type_name("N")
      ->check(WholeNumberIn(chart::kChartLowest, chart::kChartLargest));
  plot.add_option("--svg", o->svg, "Write the chart to this file as SVG (- for standard output)")
      ->type_name("FILE")
      ->check(kNotEmpty);
}

void AddDeembed(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& deembed = AddCommand(app, context, "deembed", o, RunDeembedCommand);
  DeembedOptions& d = o->deembed;
  deembed.add_option("FILE", d.file, "Touchstone 1.x or 2.0 one-port file (.s1p)")->required()->check(kNotEmpty);
  deembed.add_option("--cable", d.cable, "Part number, or text that the cable's type and part number contain")
      ->type_name("C")
      ->required()
      ->check(kNotEmpty);
  deembed.add_option("--length", d.length, "Cable length in feet; 30m for metres")->type_name("L")->required();
  deembed.add_option("--vf", d.vf, "Velocity factor instead of the catalog's")->type_name("V")->check(kNotEmpty);
  deembed.add_option("--ref-ohms", d.refOhms, "SWR reference (default: the cable's impedance)")
      ->type_name("R")
      ->check(kNotEmpty);
  deembed.add_flag("--metric", d.metric, "Plain lengths in metres")->check(kNoValue);
  AddFormatOption(deembed, d.format);
  deembed.add_option("--s1p", d.s1p, "Write the antenna end to this file as Touchstone 1.1")
      ->type_name("OUT")
      ->check(kNotEmpty);
  deembed.add_flag("--plot", d.plot, "Draw the SWR at both ends against frequency")->check(kNoValue);
  deembed.add_option("--svg", d.svg, "Write that chart to this file as SVG (- for standard output)")
      ->type_name("OUT")
      ->check(kNotEmpty);
}

void AddMeasure(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& measure = AddCommand(app, context, "measure", o, RunMeasure);
  MeasureOptions& m = o->measure;
  measure.add_option("--open", m.open, "One-port sweep at the shack end with the far end open (Touchstone)")
      ->type_name("FILE")
      ->check(kNotEmpty);
  measure.add_option("--short", m.shorted, "The same with the far end shorted")->type_name("FILE")->check(kNotEmpty);
  measure
      .add_option("--length", m.length, "Cable length in feet; 30m for metres (plain numbers are metres with --metric)")
      ->type_name("L")
      ->required();
  measure.add_flag("--metric", m.metric, "Lengths in metres, losses per 100 m")->check(kNoValue);
  measure.add_option("--vf-guess", m.vfGuess, "Velocity factor that places the lowest frequency on its half wave")
      ->type_name("V")
      ->check(kNotEmpty);
  AddFormatOption(measure, o->format);
  CLI::Option* line =
      measure.add_flag("--catalog-line", m.catalogLine, "Print the cable as a catalog record")->check(kNoValue);
  measure.add_option("--type", m.type, "The record's type")->type_name("T")->needs(line)->check(kNotEmpty);
  measure.add_option("--part", m.part, "The record's part number")->type_name("P")->needs(line)->check(kNotEmpty);
  measure.add_flag("--plot", m.plot, "Draw the measured loss beside the fit")->check(kNoValue);
  measure.add_option("--svg", m.svg, "Write that chart to this file as SVG (- for standard output)")
      ->type_name("FILE")
      ->check(kNotEmpty);
  measure.add_option("--cable", m.cable, "How much worse than this catalog cable when new (drawn too)")
      ->type_name("C")
      ->check(kNotEmpty);
}

}  // namespace

void AddCommands(CLI::App& app, CommandContext& context) {
  const auto options = std::make_shared<OptionValues>();
  AddCalc(app, context, options);
  AddCompare(app, context, options);
  AddPlot(app, context, options);
  AddCables(app, context, options);
  AddDeembed(app, context, options);
  AddMeasure(app, context, options);
  AddCompletion(app, context);
  app.require_subcommand(0, 1);
}

std::optional<int> RunChosenCommand(CommandContext& context) {
  if (!context.chosen) return std::nullopt;
  context.chosen();
  return context.exitStatus;
}

int ReportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
    const int status = app.exit(error, out, err);
    if (out.flush()) return status;
    err << kProgram << ": the output could not be written\n";
    return kExitFailure;
  }
  err << kProgram << ": " << TerminalText(error.what()) << '\n';
  return kExitUsage;
}

}  // namespace ferrolux::cli
