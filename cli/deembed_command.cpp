#include "cli/deembed_command.hpp"

#include <memory>
#include <ostream>

#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/command_error.hpp"
#include "cli/deembed.hpp"
#include "cli/file_output.hpp"
#include "cli/settings.hpp"
#include "cli/subcommand.hpp"
#include "cli/sweep_file.hpp"
#include "model/cable_calculation.hpp"
#include "platform/utf8_args.hpp"

namespace ferrolux::cli {

namespace {

DeembedLine ReadLine(const DeembedOptions& o, const std::vector<CatalogRow>& cables) {
  DeembedLine line;
  line.cable = ReadCatalogCable(FindCable(cables, o.cable));
  const DeembedNumbers numbers = ReadDeembedOptions(o);
  line.lengthFt = numbers.lengthFt;
  line.velocityFactor = numbers.velocityFactor.value_or(line.cable.numbers.velocityFactor);
  line.refOhms = numbers.refOhms.value_or(line.cable.numbers.impedanceOhms);
  if (!HasLineData(line.cable.numbers, line.velocityFactor))
    throw UsageError(std::string("--cable: the catalog gives no ") +
                     (line.cable.numbers.impedanceOhms > 0 ? "velocity factor (give --vf)" : "impedance") +
                     " for this cable");
  return line;
}

// Both when both are asked for.
void WriteCharts(const DeembedOptions& o, const DeembedLine& line, const DeembeddedSweep& points, std::ostream& out,
                 const OutputStyle& style) {
  chart::ChartSettings chart = DeembedChart(points, style);
  chart.notes = DeembedNotes(line, points);
  if (!o.svg.empty()) WriteChart(chart, o.svg, out);
  if (o.plot) WriteChart(chart, "", out);
}

}  // namespace

DeembedNumbers ReadDeembedOptions(const DeembedOptions& o) {
  DeembedNumbers numbers;
  numbers.lengthFt = ReadLength(o.length, o.metric).feet;
  if (!o.vf.empty()) numbers.velocityFactor = ReadVelocityFactor("--vf", o.vf);
  if (!o.refOhms.empty()) numbers.refOhms = ReadNumber("--ref-ohms", o.refOhms);
  return numbers;
}

void RunDeembed(const DeembedOptions& o, const std::vector<CatalogRow>& cables, std::ostream& out,
                const OutputStyle& style) {
  const DeembedLine line = ReadLine(o, cables);
  const DeembeddedSweep points(ReadSweep(o.file), line);
  if (!o.s1p.empty())
    WriteFileAtomically(platform::PathOfUtf8(o.s1p),
                        [&](std::ostream& file) { WriteAntennaSweep(file, line, points); });
  if (o.plot || !o.svg.empty()) return WriteCharts(o, line, points, out, style);
  switch (o.format) {
    case OutputFormat::kCsv: return WriteDeembedCsv(out, points);
    case OutputFormat::kJson: return WriteDeembedJson(out, o.file, line, points);
    case OutputFormat::kText: return WriteDeembedText(out, o.file, line, points, style);
  }
}

void AddDeembedCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<DeembedOptions>();
  RunWhenChosen(command, context, [o](const Io& io) {
    ReadDeembedOptions(*o);
    RunDeembed(*o, io.Cables(), io.out, io.style);
  });
  DeembedOptions& d = *o;
  command.add_option("FILE", d.file, "Touchstone 1.x or 2.0 one-port file (.s1p)")->required()->check(kNotEmpty);
  command.add_option("--cable", d.cable, "Part number, or text that the cable's type and part number contain")
      ->type_name("C")
      ->required()
      ->check(kNotEmpty);
  command.add_option("--length", d.length, "Cable length in feet; 30m for metres")->type_name("L")->required();
  command.add_option("--vf", d.vf, "Velocity factor instead of the catalog's")->type_name("V")->check(kNotEmpty);
  command.add_option("--ref-ohms", d.refOhms, "SWR reference (default: the cable's impedance)")
      ->type_name("R")
      ->check(kNotEmpty);
  command.add_flag("--metric", d.metric, "Plain lengths in metres")->check(kNoValue);
  AddFormatOption(command, d.format);
  command.add_option("--s1p", d.s1p, "Write the antenna end to this file as Touchstone 1.1")
      ->type_name("OUT")
      ->check(kNotEmpty);
  command.add_flag("--plot", d.plot, "Draw the SWR at both ends against frequency")->check(kNoValue);
  command.add_option("--svg", d.svg, "Write that chart to this file as SVG (- for standard output)")
      ->type_name("OUT")
      ->check(kNotEmpty);
}

}  // namespace ferrolux::cli
