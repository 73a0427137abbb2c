#include "cli/cable_choice.hpp"

#include <algorithm>
#include <iterator>

#include "catalog/cable_lookup.hpp"
#include "cli/command_error.hpp"
#include "report/output.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

std::vector<std::string> Listed(const std::vector<const CatalogRow*>& cables) {
  std::vector<std::string> lines;
  lines.reserve(cables.size());
  for (const CatalogRow* cable : cables) lines.push_back("  " + DisplayText(CableName(*cable)));
  return lines;
}

// The types (and with `parts`, the part numbers) nearest to what was typed, as detail lines.
std::vector<std::string> Suggested(const std::vector<CatalogRow>& cables, const std::string& typed, bool parts) {
  std::vector<std::string> lines;
  for (const std::string& name : NearestCableNames(cables, typed, parts)) lines.push_back("  " + DisplayText(name));
  return lines;
}

CommandError NothingMatches(const std::string& complaint, std::vector<std::string> suggestions,
                            const std::string& otherwise) {
  if (suggestions.empty()) return UsageError(complaint + otherwise);
  return UsageError(complaint + "; did you mean:", std::move(suggestions));
}

}  // namespace

const CatalogRow& FindCable(const std::vector<CatalogRow>& cables, const std::string& name) {
  const std::vector<const CatalogRow*> found = CablesNamed(cables, name);
  if (found.size() == 1) return *found.front();
  const std::string quoted = "--cable " + QuotedTyped(name);
  if (found.empty())
    throw NothingMatches(quoted + " matches no cable", Suggested(cables, name, true), "; `ferrolux cables` lists them");
  throw UsageError(quoted + " matches " + std::to_string(found.size()) + " cables; give a part number:", Listed(found));
}

CommandError NoCableOfType(const std::vector<CatalogRow>& cables, const std::string& type) {
  return NothingMatches("--type " + QuotedTyped(type) + ": no cable of that type", Suggested(cables, type, false), "");
}

std::vector<CatalogRow> SelectCables(const std::vector<CatalogRow>& cables, const std::string& type,
                                     const std::string& match) {
  if (type.empty() && match.empty()) return cables;
  std::vector<CatalogRow> selected;
  std::ranges::copy_if(cables, std::back_inserter(selected), [&](const CatalogRow& cable) {
    return (type.empty() || IsOfType(cable, type)) && (match.empty() || TypeAndPartContain(cable, match));
  });
  if (!selected.empty()) return selected;
  if (match.empty()) throw NoCableOfType(cables, type);
  const std::string matchFilter = "--match " + QuotedTyped(match);
  if (type.empty()) throw NothingMatches(matchFilter + ": no cable matches", Suggested(cables, match, true), "");
  throw UsageError("--type " + QuotedTyped(type) + " and " + matchFilter + ": no cable matches both");
}

}  // namespace ferrolux::cli
