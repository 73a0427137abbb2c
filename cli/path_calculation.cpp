#include "cli/path_calculation.hpp"

#include <algorithm>
#include <utility>

#include "catalog/cable.hpp"
#include "cli/cable_choice.hpp"
#include "cli/command_error.hpp"
#include "model/line_model.hpp"
#include "model/path_range.hpp"
#include "model/path_text.hpp"
#include "report/output.hpp"

namespace ferrolux::cli {

namespace {

constexpr double kDefaultReferenceOhms = 50;

// The catalog as the path's parser asks it; the records chosen are kept, in the order asked.
CableFinder FinderOver(const std::vector<CatalogRow>& cables, std::vector<const CatalogRow*>& chosen) {
  return [&cables, &chosen](const std::string& typed) {
    CableLookup lookup;
    for (const CatalogRow* row : CablesNamed(cables, typed))
      lookup.matches.push_back({CableName(*row), ReadCableNumbers(*row)});
    if (lookup.matches.size() == 1) chosen.push_back(CablesNamed(cables, typed).front());
    if (lookup.matches.empty()) lookup.nearest = NearestCableNames(cables, typed);
    return lookup;
  };
}

CommandError PathUsageError(const PathTextError& error) {
  const std::string what = error.what();
  const std::string problem = what.substr(what.find(": ") + 2);
  std::vector<std::string> details;
  for (const std::string& name : error.Details()) details.push_back("  " + DisplayText(name));
  return UsageError(
      "--path: element " + std::to_string(error.Place()) + ", " + QuotedTyped(error.Element()) + ": " + problem,
      std::move(details));
}

// Blanks and TABs go, as the path's reader lets them stand around a number and its unit.
std::string WithoutBlanks(const std::string& text) {
  std::string kept;
  for (const char c : text)
    if (c != ' ' && c != '\t') kept += c;
  return kept;
}

// A cable element's length and velocity factor as typed: after its last colon, and after an @.
void KeepTypedFigures(PathElementEntry& entry, const std::string& element) {
  const size_t colon = element.rfind(':');
  const size_t at = element.find('@', colon);
  entry.lengthText =
      WithoutBlanks(element.substr(colon + 1, at == std::string::npos ? std::string::npos : at - colon - 1));
  if (at != std::string::npos) entry.vfText = WithoutBlanks(element.substr(at + 1));
}

std::vector<std::string> ElementTexts(const std::string& text) {
  std::vector<std::string> texts;
  for (size_t start = 0;;) {
    const size_t comma = std::min(text.find(',', start), text.size());
    texts.push_back(text.substr(start, comma - start));
    if (comma == text.size()) return texts;
    start = comma + 1;
  }
}

// Through a path of very high loss the impedance worked back toward the shack drifts far from the
// reading it came from: the shack joint shows the reading as given.
void KeepShackReading(PathCalculation& c, Complex shackZ, Complex antennaZ) {
  c.figures->joints.front().z = shackZ;
  c.figures->joints.front().swr = Swr(shackZ, c.refOhms);
  c.passiveLoad = !(antennaZ.real() < 0);
}

}  // namespace

double PathReferenceOhms(const std::vector<PathElementEntry>& entries, double givenOhms) {
  if (givenOhms > 0) return givenOhms;
  for (const PathElementEntry& entry : entries)
    if (entry.element.kind == ElementKind::kCable) return entry.element.cable.numbers.impedanceOhms;
  return kDefaultReferenceOhms;
}

std::vector<PathElementEntry> ReadPathText(const std::string& text, const std::vector<CatalogRow>& cables) {
  std::vector<const CatalogRow*> chosen;
  std::vector<PathElement> elements;
  try {
    elements = ParsePath(text, FinderOver(cables, chosen));
  } catch (const PathTextError& error) {
    throw PathUsageError(error);
  }
  const std::vector<std::string> texts = ElementTexts(text);
  std::vector<PathElementEntry> entries;
  size_t cable = 0;
  for (size_t i = 0; i < elements.size(); ++i) {
    PathElementEntry entry;
    entry.element = elements[i];
    if (entry.element.kind == ElementKind::kCable) {
      entry.row = chosen.at(cable++);
      KeepTypedFigures(entry, texts.at(i));
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<const CatalogRow*> PathCableRows(const PathCalculation& c) {
  std::vector<const CatalogRow*> rows;
  for (const PathElementEntry& entry : c.entries)
    if (entry.row) rows.push_back(entry.row);
  return rows;
}

PathCalculation CalculatePath(std::vector<PathElementEntry> entries, const Settings& settings,
                              const ExactRequest& exact) {
  PathCalculation c;
  c.entries = std::move(entries);
  c.refOhms = PathReferenceOhms(c.entries, exact.refOhms);
  std::vector<PathElement> path;
  for (const PathElementEntry& entry : c.entries) {
    path.push_back(entry.element);
    c.matchedLossDb.push_back(ElementMatchedLossDb(entry.element, settings.freqMHz));
  }
  Complex antennaZ = exact.z;
  switch (exact.input) {
    case ExactInput::kShackZ: antennaZ = AntennaZThrough(PathAbcd(path, settings.freqMHz, c.refOhms), exact.z); break;
    case ExactInput::kAntennaZ: break;
    case ExactInput::kNone:
    case ExactInput::kShackSwr:
      c.range = PathSwrRange(path, settings.freqMHz, settings.shackSwr, c.refOhms, settings.powerW);
      c.worstPeaks = PathWorstPeaks(path, settings.freqMHz, settings.shackSwr, c.refOhms, settings.powerW);
      return c;
  }
  c.figures = SolvePath(path, settings.freqMHz, antennaZ, c.refOhms, settings.powerW);
  if (exact.input == ExactInput::kShackZ) KeepShackReading(c, exact.z, antennaZ);
  return c;
}

}  // namespace ferrolux::cli
