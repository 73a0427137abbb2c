// `ferrolux plot`: matched loss, Z0 or the velocity factor against frequency, on the terminal or as SVG.

#include <memory>

#include "chart/chart.hpp"
#include "cli/chart_output.hpp"
#include "cli/option_values.hpp"
#include "cli/plot.hpp"
#include "cli/subcommand.hpp"

namespace ferrolux::cli {

namespace {

struct PlotCommandOptions {
  PlotOptions plot;
  std::string svg;
};

void RunPlot(const PlotCommandOptions& o, const Io& io) {
  if (!o.plot.length.empty()) ReadLength(o.plot.length, o.plot.metric);
  const std::vector<CatalogRow> cables = io.Cables();
  chart::ChartSettings chart = BuildChart(cables, o.plot, io.style);
  chart.notes = PlotNotes(cables, o.plot);
  WriteChart(chart, o.svg, io.out);
}

}  // namespace

void AddPlotCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<PlotCommandOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunPlot(*o, io); });
  PlotOptions& p = o->plot;
  CLI::Option* cable = command.add_option("--cable", p.cables, "A cable, as for calc; repeat for more")
                           ->type_name("C")
                           ->check(kNotEmpty);
  CLI::Option* type =
      command.add_option("--type", p.type, "Every cable of this type")->type_name("T")->check(kNotEmpty);
  command.add_option("--show", p.show, "loss, z0 (its magnitude), z0-angle or vf, from the line model")
      ->type_name("WHAT")
      ->check(CLI::IsMember(kPlotQuantities))
      ->capture_default_str();
  CLI::Option* length =
      command.add_option("--length", p.length, "Loss for this length instead of per 100 ft (30m for metres)")
          ->type_name("L");
  command
      .add_option("--path", p.path,
                  "A feed line, shack end first, as for calc: its loss with the connectors and of its cables alone")
      ->type_name("TEXT")
      ->check(kNotEmpty)
      ->excludes(cable)
      ->excludes(type)
      ->excludes(length);
  command.add_flag("--metric", p.metric, "Per 100 m; plain lengths in metres")->check(kNoValue);
  command.add_option("--from", p.fromMHz, "Lowest frequency in MHz")->type_name("F")->capture_default_str();
  command.add_flag("--log-loss", p.logLoss, "A logarithmic loss axis")->check(kNoValue);
  command.add_option("--to", p.toMHz, "Highest frequency in MHz")->type_name("F")->capture_default_str();
  command.add_option("--width", p.width, "Chart width in columns (default: the terminal's, else 80)")
      ->type_name("N")
      ->check(WholeNumberIn(chart::kChartNarrowest, chart::kChartLargest));
  command.add_option("--height", p.height, "Chart height in rows (default: fits the terminal, else 24)")
      ->type_name("N")
      ->check(WholeNumberIn(chart::kChartLowest, chart::kChartLargest));
  command.add_option("--svg", o->svg, "Write the chart to this file as SVG (- for standard output)")
      ->type_name("FILE")
      ->check(kNotEmpty);
}

}  // namespace ferrolux::cli
