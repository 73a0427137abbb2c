#include "cli/plot_quantity.hpp"

#include <complex>
#include <numbers>

#include "catalog/cable.hpp"
#include "cli/cable_choice.hpp"
#include "cli/command_error.hpp"
#include "cli/option_values.hpp"
#include "model/cable_calculation.hpp"
#include "model/line_model.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
constexpr double kUnitLengthM = 1;  // Z0 and the velocity factor do not depend on the length

}  // namespace

PlotQuantity ReadPlotQuantity(const std::string& name) {
  if (name == kPlotQuantities[1]) return PlotQuantity::kZ0;
  if (name == kPlotQuantities[2]) return PlotQuantity::kZ0Angle;
  if (name == kPlotQuantities[3]) return PlotQuantity::kVelocityFactor;
  return PlotQuantity::kLoss;
}

void SetQuantityAxis(PlotQuantity quantity, chart::ChartSettings& chart) {
  switch (quantity) {
    case PlotQuantity::kZ0: chart.title = "Magnitude of Z0", chart.unit = "Ohms"; return;
    case PlotQuantity::kZ0Angle: chart.title = "Angle of Z0", chart.unit = "degrees"; return;
    case PlotQuantity::kVelocityFactor: chart.title = "Velocity factor", chart.unit = "VF"; return;
    case PlotQuantity::kLoss: return;
  }
}

std::function<double(double)> QuantityCurve(PlotQuantity quantity, const CatalogRow& cable) {
  const CableNumbers numbers = ReadCatalogCable(cable).numbers;
  if (quantity == PlotQuantity::kLoss) return [numbers](double mhz) { return MatchedLossPer100Ft(numbers, mhz); };
  if (!HasLineData(numbers, numbers.velocityFactor))
    throw UsageError("--show: the catalog gives no " +
                     std::string(numbers.impedanceOhms > 0 ? "velocity factor" : "impedance") + " for " +
                     DisplayText(CableName(cable)));
  const auto line = [numbers](double mhz) { return MakeLine(numbers, numbers.velocityFactor, mhz, kUnitLengthM); };
  switch (quantity) {
    case PlotQuantity::kZ0: return [line](double mhz) { return std::abs(line(mhz).z0); };
    case PlotQuantity::kZ0Angle: return [line](double mhz) { return std::arg(line(mhz).z0) * kDegreesPerRadian; };
    case PlotQuantity::kLoss:
    case PlotQuantity::kVelocityFactor: break;
  }
  return [line](double mhz) { return VelocityFactorOf(line(mhz), mhz); };
}

}  // namespace ferrolux::cli
