#include "report/exact_columns.hpp"

#include <cmath>
#include <limits>

#include "report/output.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

using Json = nlohmann::ordered_json;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Why there is no total loss span.
enum class NoSpan { kNone, kNoLineData, kNotPassive, kTakesNoPower, kBeyondAnyFigure };

// The total loss span, or why there is none.
struct Span {
  NoSpan missing = NoSpan::kNone;
  double min = 0, max = 0;  // max infinite: no upper end

  bool Present() const { return missing == NoSpan::kNone; }
};

Span PointSpan(const ExactPoint& p) {
  if (!p.passive) return {NoSpan::kNotPassive};
  if (!p.takesPower) return {NoSpan::kTakesNoPower};
  if (p.lossBeyondFigures) return {NoSpan::kBeyondAnyFigure};
  return {NoSpan::kNone, p.totalLossDb, p.totalLossDb};
}

Span TotalSpan(const CableCalculation& c) {
  if (!c.exact) return {NoSpan::kNoLineData};
  if (const auto& p = c.exact->point) return PointSpan(*p);
  const SwrRange& r = *c.exact->range;
  if (r.passiveShare == 0) return {NoSpan::kNotPassive};
  if (r.lossBeyondFigures) return {NoSpan::kBeyondAnyFigure};
  Span span{NoSpan::kNone, r.totalLossDb.min, kInfinity};
  if (r.totalLossDb.bounded) span.max = r.totalLossDb.max;
  return span;
}

std::string MissingText(NoSpan missing) {
  switch (missing) {
    case NoSpan::kNotPassive: return "not passive";
    case NoSpan::kTakesNoPower: return "all lost";
    case NoSpan::kBeyondAnyFigure: return "beyond";
    case NoSpan::kNone:
    case NoSpan::kNoLineData: break;
  }
  return "-";
}

}  // namespace

std::string ExactTotalText(const CableCalculation& c) {
  const Span s = TotalSpan(c);
  if (!s.Present()) return MissingText(s.missing);
  if (std::isinf(s.max)) return "from " + FixedText(s.min, 2);
  const std::string low = FixedText(s.min, 2), high = FixedText(s.max, 2);
  return low == high ? low : low + "-" + high;
}

Json ExactTotalJson(const CableCalculation& c) {
  const Span s = TotalSpan(c);
  if (!s.Present()) return nullptr;
  if (c.exact->point) return s.min;
  return Json::array({s.min, std::isinf(s.max) ? Json(nullptr) : Json(s.max)});
}

std::array<std::string, 2> ExactTotalCells(const CableCalculation& c) {
  const Span s = TotalSpan(c);
  if (!s.Present()) return {};
  return {MachineNumber(s.min), std::isinf(s.max) ? std::string() : MachineNumber(s.max)};
}

std::tuple<int, double, double> ExactSortKey(const CableCalculation& c) {
  const Span s = TotalSpan(c);
  if (!s.Present()) return {2, 0, 0};
  if (std::isinf(s.max)) return {1, s.min, 0};
  return {0, s.max, s.min};
}

}  // namespace ferrolux
