#include "cli/deembed_command.hpp"

#include <ostream>

#include "chart/svg_chart.hpp"
#include "cli/cable_choice.hpp"
#include "cli/command_error.hpp"
#include "cli/deembed.hpp"
#include "cli/file_output.hpp"
#include "cli/settings.hpp"
#include "cli/sweep_file.hpp"
#include "model/cable_calculation.hpp"

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

void WriteChart(const DeembedOptions& o, const DeembeddedSweep& points, std::ostream& out, const OutputStyle& style) {
  const chart::ChartSettings chart = DeembedChart(points, style);
  if (!o.svg.empty()) WriteFileOrOut(o.svg, chart::DrawSvgChart(chart), out);
  if (o.plot)
    for (const std::string& text : chart::DrawChart(chart)) out << text << '\n';
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
  if (!o.s1p.empty()) WriteFileAtomically(o.s1p, [&](std::ostream& file) { WriteAntennaSweep(file, line, points); });
  if (o.plot || !o.svg.empty()) return WriteChart(o, points, out, style);
  if (o.format == "csv") WriteDeembedCsv(out, points);
  else if (o.format == "json") WriteDeembedJson(out, o.file, line, points);
  else WriteDeembedText(out, o.file, line, points, style);
}

}  // namespace ferrolux::cli
