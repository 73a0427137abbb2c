#include "cli/exact_report.hpp"

#include <cmath>
#include <ostream>

#include "report/json_fields.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kFloatDigits = 7, kRoundedDigits = 15;
const std::string kAssumption =
    "Exact line: the line model from the catalog's loss and velocity factor; connectors and the meter's own "
    "error are not counted.";
const std::string kBeyondAnyFigure = "beyond any figure: no measurable power reaches the antenna";
const std::string kNoLineData = "Exact line: the catalog gives no impedance or velocity factor for this cable.";

std::string Rounded(double value, int places) { return PlainNumberText(RoundHalfEven(value, places), kRoundedDigits); }

std::string Row(const std::string& label, const std::string& value) { return label + value + '\n'; }

std::string Db(double value) { return Rounded(value, 2) + " dB"; }

std::string RatioText(double swr) { return std::isinf(swr) ? "infinite" : Rounded(swr, 2) + ":1"; }

std::string ReturnLossText(double db) { return std::isinf(db) ? "infinite" : Db(db); }

void WritePointText(std::ostream& out, const ExactPoint& p) {
  out << Row("  Shack Impedance: ", ImpedanceText(p.shackZ) + " Ohms")
      << Row("   Ant. Impedance: ", ImpedanceText(p.antennaZ) + " Ohms");
  if (!p.passive) {
    out << kNoPassiveLoad << '\n';
    return;
  }
  out << Row("       Shack SWR: ", RatioText(p.shackSwr)) << Row("        Ant. SWR: ", RatioText(p.antennaSwr))
      << Row(" Ret. Loss Shack: ", ReturnLossText(p.shackReturnLossDb))
      << Row("  Ret. Loss Ant.: ", ReturnLossText(p.antennaReturnLossDb))
      << Row("      Match Loss: ", Db(p.matchedLossDb));
  if (!p.takesPower) {
    out << "A purely reactive load (R = 0) takes no power: all of it is lost in the line.\n";
    return;
  }
  if (p.lossBeyondFigures) {
    out << Row("      Total Loss: ", kBeyondAnyFigure);
    return;
  }
  out << Row("      Total Loss: ", Db(p.totalLossDb)) << Row("   Mismatch Loss: ", Db(p.mismatchLossDb))
      << Row("       Power Out: ", Rounded(p.powerOutW, 2) + " watts")
      << Row("      Power Loss: ", Rounded(p.powerLostPct, 2) + "%");
  if (RoundHalfEven(p.mismatchLossDb, 2) < 0)
    out << "The mismatch loss is below 0: with this load the line loses less than into a matched load, as a short "
           "line can.\n";
}

std::string SpanText(const ExactSpan& span, const std::string& unit, int places) {
  const std::string low = Rounded(span.min, places);
  if (!span.bounded) return low + unit + " to no upper bound";
  const std::string high = Rounded(span.max, places);
  return high == low ? low + unit : low + " to " + high + unit;
}

}  // namespace

void WriteRangeText(std::ostream& out, const SwrRange& r, double shackSwr, double refOhms) {
  const std::string reading =
      PlainNumberText(shackSwr, kFloatDigits) + ":1 against " + PlainNumberText(refOhms, kFloatDigits) + " Ohms";
  if (r.passiveShare == 0) {
    out << "No passive load gives " << reading << " at the shack at this frequency.\n";
    return;
  }
  out << "Over every load phase that reads " << reading << " at the shack:\n"
      << Row("      Match Loss: ", Db(r.matchedLossDb));
  if (r.lossBeyondFigures) {
    out << Row("      Total Loss: ", kBeyondAnyFigure);
    return;
  }
  out << Row("      Total Loss: ", SpanText(r.totalLossDb, " dB", 2))
      << Row("        Ant. SWR: ", SpanText(r.antennaSwr, ":1", 2))
      << Row("       Power Out: ", SpanText(r.powerOutW, " watts", 2));
  if (r.passiveShare < 1)
    out << Rounded(100 * (1 - r.passiveShare), 1)
        << "% of the phases have no passive load behind them; next to those lies a purely reactive load, which "
           "takes no power, so the loss has no upper bound.\n";
}

namespace {

Json PointJson(const ExactPoint& p) {
  if (p.lossBeyondFigures)
    return {{"shack_z", ImpedanceJson(p.shackZ)},    {"antenna_z", ImpedanceJson(p.antennaZ)},
            {"shack_swr", NumberOrNull(p.shackSwr)}, {"antenna_swr", NumberOrNull(p.antennaSwr)},
            {"matched_loss_db", p.matchedLossDb},    {"loss_beyond_any_figure", true}};
  return {{"shack_z", ImpedanceJson(p.shackZ)},
          {"antenna_z", ImpedanceJson(p.antennaZ)},
          {"shack_swr", NumberOrNull(p.shackSwr)},
          {"antenna_swr", NumberOrNull(p.antennaSwr)},
          {"matched_loss_db", p.matchedLossDb},
          {"total_loss_db", NumberOrNull(p.totalLossDb)},
          {"mismatch_loss_db", NumberOrNull(p.mismatchLossDb)},
          {"power_out_w", p.powerOutW},
          {"power_lost_pct", p.powerLostPct},
          {"shack_return_loss_db", NumberOrNull(p.shackReturnLossDb)},
          {"antenna_return_loss_db", NumberOrNull(p.antennaReturnLossDb)}};
}

Json SpanJson(const ExactSpan& s) { return Json::array({s.min, s.bounded ? Json(s.max) : Json(nullptr)}); }

}  // namespace

Json RangeJson(const SwrRange& r) {
  if (r.lossBeyondFigures) return {{"loss_beyond_any_figure", true}, {"passive_share", r.passiveShare}};
  return {{"total_loss_db", SpanJson(r.totalLossDb)},
          {"antenna_swr", SpanJson(r.antennaSwr)},
          {"power_out_w", SpanJson(r.powerOutW)},
          {"passive_share", r.passiveShare}};
}

namespace {

bool Passive(const ExactResult& e) { return e.point ? e.point->passive : e.range && e.range->passiveShare > 0; }

}  // namespace

std::string ImpedanceText(Complex z) {
  if (std::isinf(z.real()) || std::isinf(z.imag())) return "open";
  // The sign of the rounded reactance: a hair below 0 is written +j0, not -j0.
  const double x = RoundHalfEven(z.imag(), 2);
  return Rounded(z.real(), 2) + (x < 0 ? "-j" : "+j") + Rounded(std::fabs(x), 2);
}

void WriteExactText(std::ostream& out, const Settings& settings, const Calculation& c, const OutputStyle& style) {
  out << '\n';
  if (!c.exact) {
    out << kNoLineData << '\n';
    return;
  }
  const ExactResult& e = *c.exact;
  out << Painted("Exact line, Z0 = " + ImpedanceText(e.z0) + " Ohms at " +
                     PlainNumberText(settings.freqMHz, kFloatDigits) + " MHz:",
                 "1", style.color)
      << '\n';
  if (e.point) WritePointText(out, *e.point);
  else WriteRangeText(out, *e.range, settings.shackSwr, e.refOhms);
  out << kAssumption << '\n';
}

Json ExactJson(const Calculation& c) {
  if (!c.exact) return nullptr;
  const ExactResult& e = *c.exact;
  Json j = {{"z0", ImpedanceJson(e.z0)},
            {"reference_ohms", e.refOhms},
            {"velocity_factor", e.velocityFactor},
            {"passive", Passive(e)}};
  if (!Passive(e)) return j;
  if (e.point) j.update(PointJson(*e.point));
  else j["range"] = RangeJson(*e.range);
  return j;
}

void AppendExactFields(Record& record, const Calculation& c) {
  const Json j = ExactJson(c);
  const auto at = [&](const char* key) { return j.is_object() && j.contains(key) ? j[key] : Json(); };
  const auto at2 = [&](const char* key, const char* inner) {
    const Json outer = at(key);
    return outer.is_object() && outer.contains(inner) ? outer[inner] : Json();
  };
  const Json passive = at("passive");
  record.push_back({"exact_passive", passive.is_boolean() ? FieldValue(passive.get<bool>()) : FieldValue(nullptr)});
  for (const char* key : {"z0", "shack_z", "antenna_z"}) {
    const Json re = at2(key, "re"), im = at2(key, "im");
    const bool present = re.is_number() && im.is_number();
    record.push_back({std::string("exact_") + key,
                      present ? ImpedanceValue(Complex(re.get<double>(), im.get<double>())) : ImpedanceValue()});
  }
  for (const char* key :
       {"reference_ohms", "velocity_factor", "shack_swr", "antenna_swr", "matched_loss_db", "total_loss_db",
        "mismatch_loss_db", "power_out_w", "power_lost_pct", "shack_return_loss_db", "antenna_return_loss_db"})
    record.push_back({std::string("exact_") + key, NumberIn(at(key))});
  for (const char* key : {"total_loss_db", "antenna_swr", "power_out_w"}) {
    const Json span = at2("range", key);
    record.push_back({std::string("exact_") + key + "_min", span.is_array() ? NumberIn(span[0]) : nullptr});
    record.push_back({std::string("exact_") + key + "_max", span.is_array() ? NumberIn(span[1]) : nullptr});
  }
  record.push_back({"exact_passive_share", NumberIn(at2("range", "passive_share"))});
}

}  // namespace ferrolux::cli
