#include "chart/svg_parts.hpp"

#include <algorithm>
#include <cstdlib>

#include "text/cells.hpp"
#include "text/text.hpp"

namespace ferrolux::chart {

namespace {

constexpr double kCharacterWidth = 7;

}  // namespace

std::string SvgNumber(double value) { return FixedText(value, 1); }

std::string SvgEscaped(std::string_view text) {
  std::string out;
  for (const char c : PrintableText(text, TextTarget::kXml)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

double SvgTextWidth(std::string_view text) {
  return DisplayWidth(PrintableText(text, TextTarget::kXml)) * kCharacterWidth;
}

std::string SvgText(double x, double y, std::string_view anchor, std::string_view text) {
  return "<text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\" text-anchor=\"" + std::string(anchor) + "\">" +
         SvgEscaped(text) + "</text>\n";
}

std::string SvgLine(double x1, double y1, double x2, double y2) {
  return "<line x1=\"" + SvgNumber(x1) + "\" y1=\"" + SvgNumber(y1) + "\" x2=\"" + SvgNumber(x2) + "\" y2=\"" +
         SvgNumber(y2) + "\"/>\n";
}

std::string SvgGroup(std::string_view attributes, const std::string& body) {
  return "<g " + std::string(attributes) + ">\n" + body + "</g>\n";
}

std::string SvgDocument(int width, int height, const std::string& body) {
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);
  const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                          "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + svg +
         "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" + body + "</svg>\n";
}

namespace {

// The value of a numeric attribute in a document's first element of the given kind; 0 when absent.
int AttributeOf(const std::string& document, std::string_view attribute) {
  const std::size_t svg = document.find("<svg ");
  // Appended, as GCC 12 warns falsely of a literal plus a temporary.
  std::string needle = " ";
  needle.append(attribute).append("=\"");
  const std::size_t at = document.find(needle, svg);
  if (svg == std::string::npos || at == std::string::npos) return 0;
  return std::atoi(document.c_str() + at + attribute.size() + 3);
}

}  // namespace

std::string StackedSvg(const std::vector<std::string>& documents) {
  if (documents.size() == 1) return documents.front();
  int width = 0, height = 0;
  std::string body;
  for (const std::string& document : documents) {
    const std::size_t svg = document.find("<svg ");
    if (svg == std::string::npos) continue;
    body += "<svg y=\"" + std::to_string(height) + "\" " + document.substr(svg + 5);
    width = std::max(width, AttributeOf(document, "width"));
    height += AttributeOf(document, "height");
  }
  return SvgDocument(width, height, body);
}

}  // namespace ferrolux::chart
