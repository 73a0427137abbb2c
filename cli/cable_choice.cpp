#include "cli/cable_choice.hpp"

#include "cli/command_error.hpp"
#include "cli/output.hpp"
#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return UpperCase(text).find(UpperCase(part)) != std::string::npos;
}

bool SameText(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

std::vector<std::string> Listed(const std::vector<const CatalogRow*>& cables) {
  std::vector<std::string> lines;
  lines.reserve(cables.size());
  for (const CatalogRow* cable : cables) lines.push_back("  " + DisplayText(CableName(*cable)));
  return lines;
}

}  // namespace

bool IsOfType(const CatalogRow& cable, const std::string& type) { return SameText(cable[column::kType], type); }

std::string CableName(const CatalogRow& cable) { return cable[column::kType] + ", " + cable[column::kPartNumber]; }

const CatalogRow& FindCable(const std::vector<CatalogRow>& cables, const std::string& name) {
  std::vector<const CatalogRow*> exact, partial;
  for (const CatalogRow& cable : cables) {
    if (SameText(cable[column::kPartNumber], name)) exact.push_back(&cable);
    if (Contains(cable[column::kType] + " " + cable[column::kPartNumber], name)) partial.push_back(&cable);
  }
  const std::vector<const CatalogRow*>& found = exact.empty() ? partial : exact;
  if (found.size() == 1) return *found.front();
  const std::string quoted = "--cable \"" + name + "\"";
  if (found.empty()) throw UsageError(quoted + " matches no cable; `ferrolux cables` lists them");
  throw UsageError(quoted + " matches " + std::to_string(found.size()) + " cables; give a part number:", Listed(found));
}

std::vector<CatalogRow> SelectCables(std::vector<CatalogRow> cables, const std::string& type,
                                     const std::string& match) {
  if (type.empty() && match.empty()) return cables;
  std::erase_if(cables, [&](const CatalogRow& cable) {
    return (!type.empty() && !IsOfType(cable, type)) ||
           (!match.empty() && !Contains(cable[column::kType] + " " + cable[column::kPartNumber], match));
  });
  if (!cables.empty()) return cables;
  const std::string typeFilter = "--type \"" + type + "\"", matchFilter = "--match \"" + match + "\"";
  if (match.empty()) throw UsageError(typeFilter + ": no cable of that type");
  if (type.empty()) throw UsageError(matchFilter + ": no cable matches");
  throw UsageError(typeFilter + " and " + matchFilter + ": no cable matches both");
}

}  // namespace ferrolux::cli
