#pragma once
// The pieces every SVG chart is made of: numbers, safe text, lines, groups, the document.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_scale.hpp"

namespace ferrolux::chart {

// The terminal's eight hues, deepened to read on white.
inline constexpr std::array<std::string_view, kMaxChartSeries> kSvgSeriesColors{
    "#d62728", "#1f77b4", "#2ca02c", "#9467bd", "#ff7f0e", "#17becf", "#e377c2", "#bcbd22"};

std::string SvgNumber(double value);
std::string SvgEscaped(std::string_view text);
// About how wide 12 px sans-serif sets the text: enough to keep labels apart.
double SvgTextWidth(std::string_view text);
std::string SvgText(double x, double y, std::string_view anchor, std::string_view text);
std::string SvgLine(double x1, double y1, double x2, double y2);
std::string SvgGroup(std::string_view attributes, const std::string& body);
std::string SvgDocument(int width, int height, const std::string& body);

// SVG documents made by SvgDocument as one, the first at the top, each below the one before.
std::string StackedSvg(const std::vector<std::string>& documents);

}  // namespace ferrolux::chart
