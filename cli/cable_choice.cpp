#include "cli/cable_choice.hpp"

#include <algorithm>
#include <iterator>

#include "catalog/cable_names.hpp"
#include "cli/command_error.hpp"
#include "report/output.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

constexpr std::size_t kSuggestions = 5;

std::string TypeAndPart(const CatalogRow& cable) { return cable[column::kType] + " " + cable[column::kPartNumber]; }

template <typename Test>
std::vector<const CatalogRow*> Matching(const std::vector<CatalogRow>& cables, Test test) {
  std::vector<const CatalogRow*> found;
  for (const CatalogRow& cable : cables)
    if (test(cable)) found.push_back(&cable);
  return found;
}

std::vector<std::string> Listed(const std::vector<const CatalogRow*>& cables) {
  std::vector<std::string> lines;
  lines.reserve(cables.size());
  for (const CatalogRow* cable : cables) lines.push_back("  " + DisplayText(CableName(*cable)));
  return lines;
}

// The types (and with `parts`, the part numbers) nearest to what was typed, as detail lines.
std::vector<std::string> Suggested(const std::vector<CatalogRow>& cables, const std::string& typed, bool parts) {
  std::vector<std::string> names;
  for (const CatalogRow& cable : cables) {
    names.push_back(cable[column::kType]);
    if (parts) names.push_back(cable[column::kPartNumber]);
  }
  std::vector<std::string> lines;
  for (const std::string& name : NearestNames(names, typed, kSuggestions)) lines.push_back("  " + DisplayText(name));
  return lines;
}

CommandError NothingMatches(const std::string& complaint, std::vector<std::string> suggestions,
                            const std::string& otherwise) {
  if (suggestions.empty()) return UsageError(complaint + otherwise);
  return UsageError(complaint + "; did you mean:", std::move(suggestions));
}

}  // namespace

bool IsOfType(const CatalogRow& cable, const std::string& type) { return SameName(cable[column::kType], type); }

std::string CableName(const CatalogRow& cable) { return cable[column::kType] + ", " + cable[column::kPartNumber]; }

std::vector<const CatalogRow*> CablesNamed(const std::vector<CatalogRow>& cables, const std::string& name) {
  std::vector<const CatalogRow*> found =
      Matching(cables, [&](const CatalogRow& cable) { return SameName(cable[column::kPartNumber], name); });
  if (found.empty()) found = Matching(cables, [&](const CatalogRow& cable) { return IsOfType(cable, name); });
  if (found.empty())
    found = Matching(cables, [&](const CatalogRow& cable) { return NameContains(TypeAndPart(cable), name); });
  return found;
}

std::vector<std::string> NearestCableNames(const std::vector<CatalogRow>& cables, const std::string& typed) {
  std::vector<std::string> names;
  for (const CatalogRow& cable : cables) {
    names.push_back(cable[column::kType]);
    names.push_back(cable[column::kPartNumber]);
  }
  return NearestNames(names, typed, kSuggestions);
}

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
    return (type.empty() || IsOfType(cable, type)) && (match.empty() || NameContains(TypeAndPart(cable), match));
  });
  if (!selected.empty()) return selected;
  if (match.empty()) throw NoCableOfType(cables, type);
  const std::string matchFilter = "--match " + QuotedTyped(match);
  if (type.empty()) throw NothingMatches(matchFilter + ": no cable matches", Suggested(cables, match, true), "");
  throw UsageError("--type " + QuotedTyped(type) + " and " + matchFilter + ": no cable matches both");
}

}  // namespace ferrolux::cli
