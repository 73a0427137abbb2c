#pragma once
// Finding cables in the catalog by what a user types: a part number, a piece of a name, a type.
// Names compare as SameName and NameContains do (letter case, blanks, hyphens, dots and slashes
// aside: "lmr400" is LMR-400).

#include <string>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux {

// The cables whose part number is `name`, else those of type `name`, else those whose type and
// part number contain it: one, several, or none.
std::vector<const CatalogRow*> CablesNamed(const std::vector<CatalogRow>& cables, const std::string& name);

// The types (and with `partNumbers`, the part numbers) nearest to `typed`, catalog bytes as they are.
std::vector<std::string> NearestCableNames(const std::vector<CatalogRow>& cables, const std::string& typed,
                                           bool partNumbers = true);

bool IsOfType(const CatalogRow& cable, const std::string& type);

// Whether the cable's type and part number together contain `match`.
bool TypeAndPartContain(const CatalogRow& cable, const std::string& match);

// "RG-8X, Belden 9258", as the results screen names a cable; catalog bytes as they are.
std::string CableName(const CatalogRow& cable);

}  // namespace ferrolux
