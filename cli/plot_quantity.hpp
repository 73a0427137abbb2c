#pragma once
// What `ferrolux plot` draws of each cable besides its matched loss: the magnitude and angle of
// its characteristic impedance and its velocity factor, as the line model gives them.

#include <functional>
#include <string>

#include "catalog/catalog.hpp"
#include "chart/chart.hpp"

namespace ferrolux::cli {

enum class PlotQuantity { kLoss, kZ0, kZ0Angle, kVelocityFactor };

// One of kPlotQuantities, which the command line checks; loss for any other.
PlotQuantity ReadPlotQuantity(const std::string& name);

// The title and unit of a line model's figure.
void SetQuantityAxis(PlotQuantity quantity, chart::ChartSettings& chart);

// The figure of `cable` against frequency in MHz. Throws a usage error when its record gives no
// impedance or velocity factor, without which the line model has no line.
std::function<double(double)> QuantityCurve(PlotQuantity quantity, const CatalogRow& cable);

}  // namespace ferrolux::cli
