#include "cli/deembed_command.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <system_error>

#include "cli/cable_choice.hpp"
#include "cli/command_error.hpp"
#include "cli/deembed.hpp"
#include "cli/settings.hpp"
#include "cli/svg_chart.hpp"
#include "model/cable_calculation.hpp"

namespace ferrolux::cli {

namespace {

constexpr int kPipeWidth = 80, kPipeHeight = 24, kTallestOnTerminal = 24;

std::string ReadWholeFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CommandError(kExitFailure, file + ": cannot be read");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CommandError(kExitFailure, file + ": cannot be read");
  return bytes;
}

// Into a temporary beside the file, then renamed over it: a reader never sees half a file.
void WriteFileWhole(const std::string& file, const std::string& text, const std::string& what) {
  const std::string temporary = file + ".part";
  std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
  stream << text;
  stream.close();
  std::error_code error;
  if (stream) std::filesystem::rename(temporary, file, error);
  if (!stream || error) {
    std::filesystem::remove(temporary, error);
    throw CommandError(kExitFailure, file + ": the " + what + " could not be written");
  }
}

DeembedLine ReadLine(const DeembedOptions& o, const std::vector<CatalogRow>& cables) {
  DeembedLine line;
  line.cable = ReadCatalogCable(FindCable(cables, o.cable));
  line.lengthFt = ReadLength(o.length, o.metric).feet;
  line.velocityFactor = o.vf.empty() ? line.cable.numbers.velocityFactor : ReadNumber("--vf", o.vf);
  line.refOhms = o.refOhms.empty() ? line.cable.numbers.impedanceOhms : ReadNumber("--ref-ohms", o.refOhms);
  if (!HasLineData(line.cable.numbers, line.velocityFactor))
    throw UsageError(std::string("--cable: the catalog gives no ") +
                     (line.cable.numbers.impedanceOhms > 0 ? "velocity factor (give --vf)" : "impedance") +
                     " for this cable");
  return line;
}

Sweep ReadSweep(const std::string& file) {
  try {
    return ReadTouchstone(ReadWholeFile(file));
  } catch (const TouchstoneError& error) {
    throw CommandError(kExitFailure, file + ":" + std::to_string(error.Line()) + ": " + error.what());
  }
}

void WriteChart(const DeembedOptions& o, const std::vector<DeembedPoint>& points, std::ostream& out,
                const OutputStyle& style) {
  const bool sized = style.terminal && style.columns > 0 && style.rows > 0;
  const int width = sized ? style.columns : kPipeWidth;
  const int height = sized ? std::min(style.rows - 1, kTallestOnTerminal) : kPipeHeight;
  const ChartSettings chart = DeembedChart(points, width, height, style);
  if (!o.svg.empty()) {
    if (o.svg == "-") out << DrawSvgChart(chart);
    else WriteFileWhole(o.svg, DrawSvgChart(chart), "chart");
  }
  if (o.plot)
    for (const std::string& text : DrawChart(chart)) out << text << '\n';
}

}  // namespace

void RunDeembed(const DeembedOptions& o, const std::vector<CatalogRow>& cables, std::ostream& out,
                const OutputStyle& style) {
  const DeembedLine line = ReadLine(o, cables);
  const std::vector<DeembedPoint> points = Deembed(ReadSweep(o.file), line);
  if (!o.s1p.empty()) WriteFileWhole(o.s1p, AntennaSweepText(line, points), "sweep");
  if (o.plot || !o.svg.empty()) return WriteChart(o, points, out, style);
  if (o.format == "csv") WriteDeembedCsv(out, points);
  else if (o.format == "json") WriteDeembedJson(out, o.file, line, points);
  else WriteDeembedText(out, o.file, line, points, style);
}

}  // namespace ferrolux::cli
