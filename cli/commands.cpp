#include "cli/commands.hpp"

#include <fstream>
#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "cli/cable_choice.hpp"
#include "cli/cable_list.hpp"
#include "cli/calc_report.hpp"
#include "cli/catalog_source.hpp"
#include "cli/command_error.hpp"
#include "cli/compare.hpp"
#include "cli/completion.hpp"
#include "cli/option_values.hpp"
#include "cli/plot.hpp"
#include "cli/svg_chart.hpp"

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
  std::string cable, type, match, format = "text", sort = "total", svg;
  PlotOptions plot;
};

using Command = std::function<void(const Io&)>;

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
    io.err << kProgram << ": " << error.what() << '\n';
    for (const std::string& line : error.Details()) io.err << line << '\n';
    context.exitStatus = error.Status();
  } catch (const std::exception& failure) {
    io.err << kProgram << ": " << failure.what() << '\n';
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
  command.add_flag("--metric", s.metric, "Lengths in metres, losses per 100 m");
}

void AddFormatOption(CLI::App& command, std::string& format) {
  command.add_option("--format", format, "text, csv or json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember(kFormats))
      ->capture_default_str();
}

void AddFilterOptions(CLI::App& command, OptionValues& o) {
  command.add_option("--type", o.type, "Only cables of this type (letter case aside)")->type_name("T");
  command.add_option("--match", o.match, "Only cables whose type and part number contain this text")->type_name("TEXT");
}

void RunCalc(const OptionValues& o, const Io& io) {
  const Settings settings = ReadSettings(o.settings);
  const std::vector<CatalogRow> cables = io.Cables();
  const CatalogRow& cable = FindCable(cables, o.cable);
  const Calculation calculation = Calculate(cable, settings);
  if (o.format == "csv") WriteCalcCsv(io.out, cable, settings, calculation);
  else if (o.format == "json") WriteCalcJson(io.out, cable, settings, calculation);
  else WriteCalcText(io.out, cable, settings, calculation, io.style);
}

CompareOrder OrderOf(const std::string& sort) {
  if (sort == "matched") return CompareOrder::kMatched;
  if (sort == "name") return CompareOrder::kName;
  return CompareOrder::kTotal;
}

void RunCompare(const OptionValues& o, const Io& io) {
  const Settings settings = ReadSettings(o.settings);
  const std::vector<CatalogRow> cables = SelectCables(io.Cables(), o.type, o.match);
  const std::vector<ComparedCable> rows = CompareCables(cables, settings, OrderOf(o.sort));
  if (o.format == "csv") WriteCompareCsv(io.out, rows);
  else if (o.format == "json") WriteCompareJson(io.out, rows, settings);
  else WriteCompareText(io.out, rows, settings, io.style);
}

void RunCables(const OptionValues& o, const Io& io) {
  const std::vector<CatalogRow> cables = SelectCables(io.Cables(), o.type, o.match);
  if (o.format == "csv") WriteCablesCsv(io.out, cables, o.settings.metric);
  else if (o.format == "json") WriteCablesJson(io.out, cables, o.settings.metric);
  else WriteCablesText(io.out, cables, o.settings.metric, io.style);
}

void WriteSvg(const std::string& file, const std::string& svg, const Io& io) {
  if (file == "-") {
    io.out << svg;
    return;
  }
  std::ofstream stream(file, std::ios::binary);
  stream << svg;
  stream.close();
  if (!stream) throw CommandError(kExitFailure, file + ": the chart could not be written");
}

void RunPlot(const OptionValues& o, const Io& io) {
  if (!o.plot.length.empty()) ReadLength(o.plot.length, o.plot.metric);
  const std::vector<CatalogRow> cables = io.Cables();
  const ChartSettings chart = BuildChart(cables, o.plot, io.style);
  if (!o.svg.empty()) return WriteSvg(o.svg, DrawSvgChart(chart), io);
  for (const std::string& line : DrawChart(chart)) io.out << line << '\n';
}

CLI::App& AddCommand(CLI::App& app, CommandContext& context, const std::string& name, const std::string& about,
                     const std::shared_ptr<OptionValues>& options, void (*run)(const OptionValues&, const Io&)) {
  CLI::App& command = *app.add_subcommand(name, about);
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
  CLI::App& calc = AddCommand(app, context, "calc",
                              "One calculation: the results screen's figures beside the line equations'", o, RunCalc);
  AddSettingOptions(calc, o->settings);
  calc.add_option("--cable", o->cable, "Part number, or text that the cable's type and part number contain")
      ->type_name("C")
      ->required();
  AddFormatOption(calc, o->format);
}

void AddCompare(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& compare =
      AddCommand(app, context, "compare", "Every cable of the catalog under the same settings", o, RunCompare);
  AddSettingOptions(compare, o->settings);
  AddFilterOptions(compare, *o);
  compare.add_option("--sort", o->sort, "total (line equations), matched or name")
      ->type_name("ORDER")
      ->check(CLI::IsMember(kSortKeys))
      ->capture_default_str();
  AddFormatOption(compare, o->format);
}

void AddCables(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& cables =
      AddCommand(app, context, "cables", "The catalog, with matched losses at 10, 30, 146 and 440 MHz", o, RunCables);
  AddFilterOptions(cables, *o);
  cables.add_flag("--metric", o->settings.metric, "Losses per 100 m");
  AddFormatOption(cables, o->format);
}

void AddPlot(CLI::App& app, CommandContext& context, const std::shared_ptr<OptionValues>& o) {
  CLI::App& plot = AddCommand(app, context, "plot", "Matched loss against frequency, up to 8 cables", o, RunPlot);
  PlotOptions& p = o->plot;
  plot.add_option("--cable", p.cables, "A cable, as for calc; repeat for more")->type_name("C");
  plot.add_option("--type", p.type, "Every cable of this type")->type_name("T");
  plot.add_option("--length", p.length, "Loss for this length instead of per 100 ft (30m for metres)")->type_name("L");
  plot.add_flag("--metric", p.metric, "Per 100 m; plain lengths in metres");
  plot.add_option("--from", p.fromMHz, "Lowest frequency in MHz")->type_name("F")->capture_default_str();
  plot.add_option("--to", p.toMHz, "Highest frequency in MHz")->type_name("F")->capture_default_str();
  plot.add_option("--width", p.width, "Chart width in columns (default: the terminal's, else 80)")->type_name("N");
  plot.add_option("--height", p.height, "Chart height in rows (default: fits the terminal, else 24)")->type_name("N");
  plot.add_option("--svg", o->svg, "Write the chart to this file as SVG (- for standard output)")->type_name("FILE");
}

}  // namespace

void AddCommands(CLI::App& app, CommandContext& context) {
  const auto options = std::make_shared<OptionValues>();
  AddCalc(app, context, options);
  AddCompare(app, context, options);
  AddPlot(app, context, options);
  AddCables(app, context, options);
  AddCompletion(app, context);
  app.require_subcommand(0, 1);
}

std::optional<int> RunChosenCommand(CommandContext& context) {
  if (!context.chosen) return std::nullopt;
  context.chosen();
  return context.exitStatus;
}

int ReportParseError(const CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err) {
  if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error, out, err);
  err << kProgram << ": " << error.what() << '\n';
  return kExitUsage;
}

}  // namespace ferrolux::cli
