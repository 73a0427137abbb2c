#include "report/line_limits.hpp"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

#include "catalog/published_spans.hpp"
#include "text/cells.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr size_t kMostNamed = 4;  // more are counted: a comparison of the whole catalog would name dozens
constexpr int kMhzDigits = 7;
constexpr std::string_view kNoteColor = "33";  // yellow, as calc's other notes

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

bool HasWord(const std::string& text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const size_t end = at + word.size();
    const bool startsWord = at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]));
    const bool endsWord = end == text.size() || !std::isalpha(static_cast<unsigned char>(text[end]));
    if (startsWord && endsWord) return true;
  }
  return false;
}

std::string SpanText(const FrequencySpan& span) {
  return PlainNumberText(span.lowestMHz, kMhzDigits) + " to " + PlainNumberText(span.highestMHz, kMhzDigits) + " MHz";
}

// "A, B and C".
std::string NamesText(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

// A cable laid twice in a path is one cable to name and count.
std::vector<const CatalogRow*> DistinctCables(const std::vector<const CatalogRow*>& cables) {
  std::vector<const CatalogRow*> distinct;
  for (const CatalogRow* cable : cables) {
    const auto samePart = [cable](const CatalogRow* seen) {
      return (*seen)[column::kPartNumber] == (*cable)[column::kPartNumber];
    };
    if (std::ranges::none_of(distinct, samePart)) distinct.push_back(cable);
  }
  return distinct;
}

std::string CountText(size_t count, size_t of) { return std::to_string(count) + " of the " + std::to_string(of); }

std::string ExtrapolatedLine(const std::vector<const CatalogRow*>& cables, double lowestMHz, double highestMHz) {
  std::vector<std::string> spans;
  for (const CatalogRow* cable : cables) {
    const std::string& part = (*cable)[column::kPartNumber];
    if (Extrapolated(part, lowestMHz, highestMHz)) spans.push_back(part + " from " + SpanText(*PublishedSpan(part)));
  }
  if (spans.empty()) return "";
  if (cables.size() == 1) {
    const std::string& part = (*cables.front())[column::kPartNumber];
    return "Extrapolated: " + part + "'s loss is fitted to published points from " + SpanText(*PublishedSpan(part)) +
           ".";
  }
  if (spans.size() <= kMostNamed)
    return "Extrapolated: the loss is fitted to published points of " + NamesText(spans) + ".";
  const std::string beyond = lowestMHz == highestMHz ? "do not reach " + PlainNumberText(lowestMHz, kMhzDigits) + " MHz"
                                                     : "stop short of the frequencies shown";
  return "Extrapolated: " + CountText(spans.size(), cables.size()) +
         " cables have their loss fitted to published points that " + beyond + ".";
}

std::string CladConductorLine(const std::vector<const CatalogRow*>& cables, double lowestMHz) {
  if (lowestMHz >= kCladConductorMHz) return "";
  std::vector<std::string> clad;
  for (const CatalogRow* cable : cables)
    if (CladCentreConductor((*cable)[column::kCenterConductor])) clad.push_back((*cable)[column::kPartNumber]);
  if (clad.empty()) return "";
  const std::string whose =
      clad.size() <= kMostNamed ? "of " + NamesText(clad) : "of " + CountText(clad.size(), cables.size()) + " cables";
  return "Below 5 MHz the loss can exceed the fit: the centre conductor " + whose +
         " is copper-clad steel or aluminium.";
}

}  // namespace

bool Extrapolated(std::string_view partNumber, double lowestMHz, double highestMHz) {
  const std::optional<FrequencySpan> span = PublishedSpan(partNumber);
  return span && (lowestMHz < span->lowestMHz || highestMHz > span->highestMHz);
}

bool CladCentreConductor(std::string_view conductor) {
  const std::string text = Lowered(conductor);
  return HasWord(text, "steel") || text.find("alumin") != std::string::npos || HasWord(text, "ccs") ||
         HasWord(text, "cca");
}

std::vector<std::string> LineLimitLines(const std::vector<const CatalogRow*>& cables, double lowestMHz,
                                        double highestMHz) {
  const std::vector<const CatalogRow*> distinct = DistinctCables(cables);
  std::vector<std::string> lines;
  for (std::string line : {ExtrapolatedLine(distinct, lowestMHz, highestMHz), CladConductorLine(distinct, lowestMHz)})
    if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

std::vector<std::string> FittedLineLimits(const std::vector<std::string>& lines, int width, const OutputStyle& style) {
  std::vector<std::string> fitted;
  for (const std::string& line : lines) {
    std::istringstream words(DisplayText(line, style.utf8));
    std::string current, word;
    while (words >> word) {
      if (!current.empty() && DisplayWidth(current) + 1 + DisplayWidth(word) > width) {
        fitted.push_back(Painted(current, kNoteColor, style.color));
        current.clear();
      }
      current += (current.empty() ? "" : " ") + word;
    }
    if (!current.empty()) fitted.push_back(Painted(current, kNoteColor, style.color));
  }
  return fitted;
}

void WriteLineLimits(std::ostream& out, const std::vector<std::string>& lines, const OutputStyle& style) {
  if (lines.empty()) return;
  out << '\n';
  for (const std::string& line : lines) out << Painted(DisplayText(line, style.utf8), kNoteColor, style.color) << '\n';
}

}  // namespace ferrolux
