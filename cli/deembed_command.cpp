#include "cli/deembed_command.hpp"

#include <algorithm>
#include <memory>
#include <ostream>
#include <utility>

#include "cli/cable_choice.hpp"
#include "cli/chart_output.hpp"
#include "cli/command_error.hpp"
#include "cli/deembed.hpp"
#include "cli/file_output.hpp"
#include "cli/option_values.hpp"
#include "cli/settings.hpp"
#include "cli/subcommand.hpp"
#include "cli/sweep_file.hpp"
#include "cli/tdr_chart.hpp"
#include "model/cable_calculation.hpp"
#include "platform/utf8_args.hpp"

namespace ferrolux::cli {

namespace {

constexpr double kMostSwr = 1000;

DeembedLine ReadCableLine(const DeembedOptions& o, const CatalogRow& row) {
  DeembedLine line;
  line.cable = ReadCatalogCable(row);
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

// A path of one cable and nothing else is --cable and --length, its own velocity factor --vf.
DeembedLine ReadLine(DeembedOptions o, const std::vector<CatalogRow>& cables) {
  if (o.path.empty()) return ReadCableLine(o, FindCable(cables, o.cable));
  std::vector<PathElementEntry> path = ReadPathText(o.path, cables);
  if (path.size() == 1 && path.front().row) {
    o.cable = (*path.front().row)[column::kPartNumber], o.length = path.front().lengthText;
    o.vf = path.front().vfText, o.path.clear();
    return ReadCableLine(o, *path.front().row);
  }
  // Distance is time times one velocity factor: cables of several give no one distance axis.
  if (std::find(o.views.begin(), o.views.end(), "tdr") != o.views.end())
    throw UsageError("--view tdr needs one cable: give --cable and --length (or run ferrolux tdr on the sweep)");
  DeembedLine line;
  line.refOhms = PathReferenceOhms(path, ReadDeembedOptions(o).refOhms.value_or(0));
  line.path = std::move(path), line.pathText = o.path;
  return line;
}

ChartView ViewOfSweep(const std::string& name, const chart::SweepViewInput& input, const chart::TdrViewInput& tdr,
                      const DeembedNumbers& numbers, const OutputStyle& style) {
  const chart::ChartSettings frame = ChartForOutput(style);
  if (name == "tdr") return chart::TdrReflectionView(tdr, frame);
  if (name == "rx") return chart::ResistanceReactanceView(input, frame);
  if (name == "smith") return chart::SmithView(input, frame, numbers.swrCircle);
  return chart::SwrView(input, frame, numbers.swrMax > 0 ? numbers.swrMax : chart::kDefaultSwrTop);
}

// The SVG and the terminal's pictures when both are asked for; the views read `input`.
void WriteCharts(const DeembedOptions& o, const DeembedLine& line, const DeembeddedSweep& points, std::ostream& out,
                 const OutputStyle& style) {
  const chart::SweepViewInput input = DeembedViewInput(points, line, style.utf8);
  const DeembedNumbers numbers = ReadDeembedOptions(o);
  const bool tdrAsked = std::find(o.views.begin(), o.views.end(), "tdr") != o.views.end();
  const chart::TdrViewInput tdr =
      tdrAsked ? ShackTdr(input, line.cable.numbers, line.velocityFactor, line.lengthFt, o.metric, style.utf8)
               : chart::TdrViewInput{};
  std::vector<ChartView> views;
  for (const std::string& name : o.views.empty() ? std::vector<std::string>{"swr"} : o.views)
    views.push_back(ViewOfSweep(name, input, tdr, numbers, style));
  const std::vector<std::string> notes = DeembedNotes(line, points);
  if (!o.svg.empty()) WriteViews(views, notes, o.svg, out);
  if (o.plot || (o.svg.empty() && !o.views.empty())) WriteViews(views, notes, "", out);
}

double ReadSwr(const std::string& option, const std::string& text) {
  const double swr = ReadNumber(option, text);
  if (!(swr > 1) || swr > kMostSwr) throw UsageError(option + ": an SWR above 1 and at most 1000, not " + text);
  return swr;
}

}  // namespace

DeembedNumbers ReadDeembedOptions(const DeembedOptions& o) {
  DeembedNumbers numbers;
  if (o.path.empty() && o.cable.empty()) throw UsageError("give --cable and --length, or --path");
  if (o.path.empty() && o.length.empty()) throw UsageError("--length is required");
  if (!o.path.empty() && !o.vf.empty())
    throw UsageError("--vf does not go with --path: give a cable's own after an @ (RG-8X:6ft@0.78)");
  if (o.path.empty()) numbers.lengthFt = ReadLength(o.length, o.metric).feet;
  if (!o.vf.empty()) numbers.velocityFactor = ReadVelocityFactor("--vf", o.vf);
  if (!o.refOhms.empty()) numbers.refOhms = ReadNumber("--ref-ohms", o.refOhms);
  if (!o.swrMax.empty()) numbers.swrMax = ReadSwr("--swr-max", o.swrMax);
  if (!o.swrCircle.empty()) numbers.swrCircle = ReadSwr("--swr-circle", o.swrCircle);
  return numbers;
}

void RunDeembed(const DeembedOptions& o, const std::vector<CatalogRow>& cables, std::ostream& out,
                const OutputStyle& style) {
  const DeembedLine line = ReadLine(o, cables);
  const DeembeddedSweep points(ReadSweep(o.file), line);
  if (!o.s1p.empty())
    WriteFileAtomically(platform::PathOfUtf8(o.s1p),
                        [&](std::ostream& file) { WriteAntennaSweep(file, line, points); });
  if (o.plot || !o.svg.empty() || !o.views.empty()) return WriteCharts(o, line, points, out, style);
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
  CLI::Option* cable =
      command.add_option("--cable", d.cable, "Part number, or text that the cable's type and part number contain")
          ->type_name("C")
          ->check(kNotEmpty);
  CLI::Option* length =
      command.add_option("--length", d.length, "Cable length in feet; 30m for metres")->type_name("L");
  command
      .add_option("--path", d.path, "A feed line, shack end first, as for calc: \"RG-8X:6ft, PL-259, LMR-400:100ft\"")
      ->type_name("TEXT")
      ->check(kNotEmpty)
      ->excludes(cable)
      ->excludes(length);
  command.add_option("--vf", d.vf, "Velocity factor instead of the catalog's")->type_name("V")->check(kNotEmpty);
  command.add_option("--ref-ohms", d.refOhms, "SWR reference (default: the cable's impedance)")
      ->type_name("R")
      ->check(kNotEmpty);
  command.add_flag("--metric", d.metric, "Plain lengths in metres")->check(kNoValue);
  AddFormatOption(command, d.format);
  command.add_option("--s1p", d.s1p, "Write the antenna end to this file as Touchstone 1.1")
      ->type_name("OUT")
      ->check(kNotEmpty);
  command.add_flag("--plot", d.plot, "Draw the views (the SWR at both ends unless --view) in the terminal")
      ->check(kNoValue);
  command
      .add_option("--view", d.views,
                  "swr, rx (R and X), smith or tdr (distance to fault); several draw one after another, or "
                  "stacked in one SVG")
      ->type_name("VIEW")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->check(CLI::IsMember(kSweepViews));
  command.add_option("--swr-max", d.swrMax, "Top of the SWR view's axis (default 10)")
      ->type_name("S")
      ->check(kNotEmpty);
  command.add_option("--swr-circle", d.swrCircle, "Draw this SWR's circle on the Smith chart")
      ->type_name("S")
      ->check(kNotEmpty);
  command.add_option("--svg", d.svg, "Write the views to this file as SVG (- for standard output)")
      ->type_name("OUT")
      ->check(kNotEmpty);
}

}  // namespace ferrolux::cli
