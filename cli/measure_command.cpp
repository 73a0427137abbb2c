// `ferrolux measure`: a cable's loss, Z0 and velocity factor from its sweeps, as figures, a chart
// or a catalog record.

#include <memory>
#include <optional>
#include <utility>

#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/measure.hpp"
#include "cli/measure_output.hpp"
#include "cli/subcommand.hpp"

namespace ferrolux::cli {

namespace {

void RunMeasure(const MeasureOptions& m, const Io& io) {
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
  if (m.plot || !m.svg.empty()) return WriteChart(MeasureChart(report, cable, m.metric, io.style), m.svg, io.out);
  switch (m.format) {
    case OutputFormat::kCsv: return WriteMeasureCsv(io.out, report);
    case OutputFormat::kJson: return WriteMeasureJson(io.out, report);
    case OutputFormat::kText: return WriteMeasureText(io.out, report, m.metric, io.style);
  }
}

}  // namespace

void AddMeasureCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<MeasureOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunMeasure(*o, io); });
  MeasureOptions& m = *o;
  command.add_option("--open", m.open, "One-port sweep at the shack end with the far end open (Touchstone)")
      ->type_name("FILE")
      ->check(kNotEmpty);
  command.add_option("--short", m.shorted, "The same with the far end shorted")->type_name("FILE")->check(kNotEmpty);
  command
      .add_option("--length", m.length, "Cable length in feet; 30m for metres (plain numbers are metres with --metric)")
      ->type_name("L")
      ->required();
  command.add_flag("--metric", m.metric, "Lengths in metres, losses per 100 m")->check(kNoValue);
  command.add_option("--vf-guess", m.vfGuess, "Velocity factor that places the lowest frequency on its half wave")
      ->type_name("V")
      ->check(kNotEmpty);
  AddFormatOption(command, m.format);
  CLI::Option* line =
      command.add_flag("--catalog-line", m.catalogLine, "Print the cable as a catalog record")->check(kNoValue);
  command.add_option("--type", m.type, "The record's type")->type_name("T")->needs(line)->check(kNotEmpty);
  command.add_option("--part", m.part, "The record's part number")->type_name("P")->needs(line)->check(kNotEmpty);
  command.add_flag("--plot", m.plot, "Draw the measured loss beside the fit")->check(kNoValue);
  command.add_option("--svg", m.svg, "Write that chart to this file as SVG (- for standard output)")
      ->type_name("FILE")
      ->check(kNotEmpty);
  command.add_option("--cable", m.cable, "How much worse than this catalog cable when new (drawn too)")
      ->type_name("C")
      ->check(kNotEmpty);
}

}  // namespace ferrolux::cli
