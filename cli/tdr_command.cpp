// `ferrolux tdr`: distance to fault, a one-port sweep taken at the shack end read as the
// reflections along the line, with their distances and sizes.

#include <cmath>
#include <iomanip>
#include <memory>
#include <ostream>
#include <sstream>

#include "cli/cable_choice.hpp"
#include "cli/command_error.hpp"
#include "cli/option_values.hpp"
#include "cli/subcommand.hpp"
#include "cli/sweep_file.hpp"
#include "cli/tdr_chart.hpp"
#include "model/cable_calculation.hpp"
#include "report/json_fields.hpp"
#include "sweep/tdr.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

struct TdrOptions {
  std::string file, vf, cable, lengthMax, window = kTdrWindows.front(), svg;
  bool step = false, metric = false, plot = false;
  OutputFormat format = OutputFormat::kText;
};

struct TdrRun {
  std::string lineName;  // the cable whose loss was taken out; empty with --vf
  double velocityFactor = 0;
  TdrWindow window = TdrWindow::kKaiser;
  TdrResult result;
};

TdrWindow WindowOf(const std::string& word) {
  if (word == "none") return TdrWindow::kNone;
  return word == "hann" ? TdrWindow::kHann : TdrWindow::kKaiser;
}

// The velocity factor, and with --cable the cable's loss at each frequency.
void ReadLine(const TdrOptions& o, const Io& io, TdrRequest& request, TdrRun& run) {
  if (!o.vf.empty()) {
    request.velocityFactor = ReadVelocityFactor("--vf", o.vf);
    return;
  }
  const std::vector<CatalogRow> cables = io.Cables();
  const CatalogCable cable = ReadCatalogCable(FindCable(cables, o.cable));
  if (!(cable.numbers.velocityFactor > 0 && cable.numbers.velocityFactor <= 1)) {
    throw UsageError("--cable: the catalog gives no velocity factor for this cable (give --vf)");
  }
  request.velocityFactor = cable.numbers.velocityFactor;
  request.lossDbPerMetre = LossDbPerMetre(cable.numbers, request.freqHz);
  run.lineName = DisplayText(CableName(FindCable(cables, o.cable)), io.style.utf8);
}

TdrRun Compute(const TdrOptions& o, const Io& io) {
  if (o.vf.empty() == o.cable.empty()) throw UsageError("give either --vf or --cable");
  TdrRun run;
  TdrRequest request;
  if (!o.lengthMax.empty()) request.lengthMaxM = ReadLength("--length-max", o.lengthMax, o.metric).metres;
  const Sweep sweep = ReadSweep(o.file);
  request.refOhms = sweep.refOhms;
  for (const SweepPoint& point : sweep.points) {
    request.freqHz.push_back(point.freqHz);
    request.reflection.push_back(ReflectionAgainst(point.z, sweep.refOhms));
  }
  ReadLine(o, io, request, run);
  request.window = run.window = WindowOf(o.window);
  run.velocityFactor = request.velocityFactor;
  try {
    run.result = ComputeTdr(request);
  } catch (const TdrError& e) {
    throw CommandError(kExitFailure, o.file + ": " + e.what());
  }
  if (o.step && run.result.mode == TdrMode::kBandPass) {
    throw UsageError("--step: an impedance profile needs a sweep at f = k df (low-pass mode)");
  }
  return run;
}

std::string_view KindWord(FaultKind kind) {
  switch (kind) {
    case FaultKind::kOpen: return "open";
    case FaultKind::kShort: return "short";
    case FaultKind::kHigherImpedance: return "higher impedance";
    case FaultKind::kLowerImpedance: return "lower impedance";
    case FaultKind::kOpenOrShort: return "open or short, or any mismatch";
  }
  return "";
}

double ReturnLossDb(double reflection) { return -20 * std::log10(std::max(std::abs(reflection), 1e-9)); }

// Rounded as it is shown, without the minus of a reflection a hair above 1 (-0.0).
double Tenths(double value) { return std::round(value * 10) / 10 + 0.0; }

std::string Distance(double metres, bool metric) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(2);
  if (metric) text << metres << " m (" << metres / kMetresPerFoot << " ft)";
  else text << metres / kMetresPerFoot << " ft (" << metres << " m)";
  return text.str();
}

// Which reflections read above 1 and why, as no passive line gives such a figure.
std::string CappedLine(const TdrOptions& o, const TdrResult& result) {
  std::string where;
  for (const TdrPeak& peak : result.peaks)
    if (peak.capped) where += (where.empty() ? " at " : ", ") + Distance(peak.distanceM, o.metric);
  return "Shown as 1: the reflection" + (where.empty() ? std::string(" somewhere") : where) + " read above 1, " +
         (result.lossTakenOut ? "so the loss taken out is more than the sweep lost (check the cable and its velocity "
                                "factor)"
                              : "which no passive line gives (check the sweep)");
}

// The impedance a little past the peak, where the step has settled.
double ImpedanceAfter(const TdrResult& result, const TdrPeak& peak) {
  const double perSample = result.points.size() > 1 ? result.points[1].distanceM : 1;
  const auto n = static_cast<std::size_t>(std::lround((peak.distanceM + 2 * result.resolutionM) / perSample));
  return result.points[std::min(n, result.points.size() - 1)].impedanceOhms.value_or(0);
}

void WriteTdrHeader(std::ostream& out, const TdrOptions& o, const TdrRun& run, const OutputStyle& style) {
  const TdrResult& r = run.result;
  const bool lowPass = r.mode == TdrMode::kLowPass;
  out << "Distance to fault in " << DisplayText(o.file, style.utf8) << ", velocity factor " << run.velocityFactor
      << '\n';
  out << (lowPass ? "Low-pass mode (the sweep is at f = k df; DC extrapolated)"
                  : "Band-pass mode: magnitude only, it cannot tell an open from a short")
      << ", window " << WindowName(run.window) << '\n';
  out << "Resolution " << Distance(r.resolutionM, o.metric) << ", range " << Distance(r.rangeM, o.metric) << '\n';
  if (r.lossTakenOut) {
    out << "The round-trip loss of " << run.lineName << " is taken out: each reflection reads its true size\n";
  }
  if (r.longerThanRange) {
    out << "The line seems longer than the range: reflections from beyond it fold back into it\n";
  }
  if (r.capped) out << CappedLine(o, r) << '\n';
}

void WriteTdrText(std::ostream& out, const TdrOptions& o, const TdrRun& run, const OutputStyle& style) {
  WriteTdrHeader(out, o, run, style);
  const TdrResult& r = run.result;
  if (r.peaks.empty()) return void(out << "No reflection of 0.005 or more\n");
  out << "Largest reflections:\n";
  for (const TdrPeak& peak : r.peaks) {
    std::ostringstream row;
    row << std::fixed << std::setprecision(3) << "  " << Distance(peak.distanceM, o.metric)
        << (style.utf8 ? "  |\u0393| " : "  |G| ") << std::abs(peak.reflection) << std::setprecision(1)
        << ", return loss " << Tenths(ReturnLossDb(peak.reflection)) << " dB";
    if (r.mode == TdrMode::kLowPass) row << ", " << KindWord(peak.kind);
    if (o.step) row << ", then " << ImpedanceAfter(r, peak) << (style.utf8 ? " \u03a9" : " ohms");
    out << row.str() << '\n';
  }
}

Record PointRecord(const TdrPoint& point, bool step) {
  Record record{{"distance_m", point.distanceM},
                {"distance_ft", point.distanceM / kMetresPerFoot},
                {"reflection", point.reflection},
                {"capped", point.capped}};
  if (step)
    record.push_back({"impedance_ohms", NumberOr(point.impedanceOhms.has_value(), point.impedanceOhms.value_or(0))});
  return record;
}

Json PeakJson(const TdrPeak& peak, TdrMode mode) {
  return {{"distance_m", peak.distanceM},
          {"distance_ft", peak.distanceM / kMetresPerFoot},
          {"reflection", peak.reflection},
          {"return_loss_db", ReturnLossDb(peak.reflection)},
          {"looks_like", mode == TdrMode::kLowPass ? Json(KindWord(peak.kind)) : Json(nullptr)},
          {"capped", peak.capped}};
}

void WriteTdrJson(std::ostream& out, const TdrOptions& o, const TdrRun& run) {
  const TdrResult& r = run.result;
  const Json before = {{"mode", r.mode == TdrMode::kLowPass ? "low_pass" : "band_pass"},
                       {"window", WindowName(run.window)},
                       {"velocity_factor", run.velocityFactor},
                       {"loss_taken_out", r.lossTakenOut},
                       {"resolution_m", r.resolutionM},
                       {"range_m", r.rangeM},
                       {"longer_than_range", r.longerThanRange},
                       {"capped", r.capped}};
  Json peaks = Json::array();
  for (const TdrPeak& peak : r.peaks) peaks.push_back(PeakJson(peak, r.mode));
  WriteJsonWithList(out, before, "points", r.points.size(),
                    [&](std::size_t i) {
                      Json point = JsonOf(PointRecord(r.points[i], true));
                      if (!o.step) point["impedance_ohms"] = nullptr;
                      return point;
                    },
                    {{"peaks", peaks}});
}

// The header's lines below the chart, so the chart says what it rests on.
void WriteTdrCharts(const TdrOptions& o, const TdrRun& run, const Io& io) {
  std::stringstream header;
  WriteTdrHeader(header, o, run, io.style);
  std::vector<std::string> notes;
  for (std::string line; std::getline(header, line);) notes.push_back(line);
  const chart::TdrViewInput input =
      TdrViewInputOf(run.result, {run.velocityFactor, run.window, run.lineName, o.metric}, io.style.utf8);
  const std::vector<ChartView> views = TdrViews(input, o.step, ChartForOutput(io.style));
  if (!o.svg.empty()) WriteViews(views, notes, o.svg, io.out);
  if (o.plot) WriteViews(views, notes, "", io.out);
}

void RunTdr(const TdrOptions& o, const Io& io) {
  const TdrRun run = Compute(o, io);
  if (o.plot || !o.svg.empty()) return WriteTdrCharts(o, run, io);
  const std::vector<TdrPoint>& points = run.result.points;
  switch (o.format) {
    case OutputFormat::kCsv:
      return WriteCsv(io.out, PointRecord(TdrPoint{}, o.step), points.size(),
                      [&](std::size_t i) { return PointRecord(points[i], o.step); });
    case OutputFormat::kJson: return WriteTdrJson(io.out, o, run);
    case OutputFormat::kText: return WriteTdrText(io.out, o, run, io.style);
  }
}

}  // namespace

void AddTdrCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<TdrOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunTdr(*o, io); });
  TdrOptions& t = *o;
  command.add_option("FILE", t.file, "Touchstone one-port file (.s1p) taken at the shack end")
      ->required()
      ->check(kNotEmpty);
  CLI::Option* vf = command.add_option("--vf", t.vf, "Velocity factor of the line")->type_name("V")->check(kNotEmpty);
  CLI::Option* cable =
      command.add_option("--cable", t.cable, "The line's cable: its velocity factor, and its loss taken out")
          ->type_name("C")
          ->check(kNotEmpty);
  vf->excludes(cable);
  command.add_option("--length-max", t.lengthMax, "Show the line up to this length (feet; 30m for metres)")
      ->type_name("L")
      ->check(kNotEmpty);
  command.add_option("--window", t.window, "kaiser (beta 6), hann or none")
      ->type_name("W")
      ->check(CLI::IsMember(kTdrWindows))
      ->default_str(kTdrWindows.front());
  command.add_flag("--step", t.step, "The impedance profile too (low-pass mode)")->check(kNoValue);
  command.add_flag("--metric", t.metric, "Plain lengths in metres")->check(kNoValue);
  AddFormatOption(command, t.format);
  command.add_flag("--plot", t.plot, "Draw the reflection against distance in the terminal")->check(kNoValue);
  command.add_option("--svg", t.svg, "Write the chart to this file as SVG (- for standard output)")
      ->type_name("OUT")
      ->check(kNotEmpty);
}

}  // namespace ferrolux::cli
