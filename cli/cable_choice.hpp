#pragma once
// Finding cables in the catalog by what a user types: a part number, a piece of a name, a type.

#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "cli/command_error.hpp"

namespace ferrolux::cli {

// Names compare as SameName and NameContains do (letter case, blanks, hyphens, dots and slashes
// aside: "lmr400" is LMR-400).

// The cable whose part number is `name`, else the cables of type `name`, else those whose type and
// part number contain it: exactly one is chosen. Several: a usage error listing them; none: one
// listing the nearest names.
const CatalogRow& FindCable(const std::vector<CatalogRow>& cables, const std::string& name);

// The cables FindCable chooses among: one, several, or none.
std::vector<const CatalogRow*> CablesNamed(const std::vector<CatalogRow>& cables, const std::string& name);

// The types and part numbers nearest to `typed`, catalog bytes as they are.
std::vector<std::string> NearestCableNames(const std::vector<CatalogRow>& cables, const std::string& typed);

bool IsOfType(const CatalogRow& cable, const std::string& type);

// The usage error for a type no cable has, with the nearest types.
CommandError NoCableOfType(const std::vector<CatalogRow>& cables, const std::string& type);

// The cables of type `type` (every type when empty) whose type and part number together contain
// `match` (all when empty), in catalog order. A filter that leaves none is a usage error naming
// it, with the nearest names.
std::vector<CatalogRow> SelectCables(const std::vector<CatalogRow>& cables, const std::string& type,
                                     const std::string& match);

// "RG-8X, Belden 9258", as the results screen names a cable; catalog bytes as they are.
std::string CableName(const CatalogRow& cable);

}  // namespace ferrolux::cli
