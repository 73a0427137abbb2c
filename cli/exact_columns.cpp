#include "cli/exact_columns.hpp"

#include <cmath>
#include <limits>

#include "cli/output.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The total loss span, or none: no line data, no passive load, or a load that takes no power.
struct Span {
  bool present = false;
  double min = 0, max = 0;  // max infinite: no upper end
};

Span TotalSpan(const Calculation& c) {
  if (!c.exact) return {};
  if (const auto& p = c.exact->point) {
    if (!p->passive || !p->takesPower) return {};
    return {true, p->totalLossDb, p->totalLossDb};
  }
  const SwrRange& r = *c.exact->range;
  if (r.passiveShare == 0) return {};
  Span span{true, r.totalLossDb.min, kInfinity};
  if (r.totalLossDb.bounded) span.max = r.totalLossDb.max;
  return span;
}

}  // namespace

std::string ExactTotalText(const Calculation& c) {
  const Span s = TotalSpan(c);
  if (!s.present) return c.exact ? "none" : "-";
  if (std::isinf(s.max)) return "from " + FixedText(s.min, 2);
  const std::string low = FixedText(s.min, 2), high = FixedText(s.max, 2);
  return low == high ? low : low + "-" + high;
}

Json ExactTotalJson(const Calculation& c) {
  const Span s = TotalSpan(c);
  if (!s.present) return nullptr;
  if (c.exact->point) return s.min;
  return Json::array({s.min, std::isinf(s.max) ? Json(nullptr) : Json(s.max)});
}

std::array<std::string, 2> ExactTotalCells(const Calculation& c) {
  const Span s = TotalSpan(c);
  if (!s.present) return {};
  return {MachineNumber(s.min), std::isinf(s.max) ? std::string() : MachineNumber(s.max)};
}

std::tuple<int, double, double> ExactSortKey(const Calculation& c) {
  const Span s = TotalSpan(c);
  if (!s.present) return {2, 0, 0};
  if (std::isinf(s.max)) return {1, s.min, 0};
  return {0, s.max, s.min};
}

}  // namespace ferrolux::cli
