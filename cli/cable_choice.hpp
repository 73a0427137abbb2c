#pragma once
// Finding cables in the catalog by what a user types: a part number, a piece of a name, a type.

#include <string>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux::cli {

// The cable whose part number is `name` (letter case aside), else the one cable whose type and
// part number contain it. None or several: a usage error listing the candidates.
const CatalogRow& FindCable(const std::vector<CatalogRow>& cables, const std::string& name);

// Whether the cable's type is `type`, letter case aside.
bool IsOfType(const CatalogRow& cable, const std::string& type);

// The cables of type `type` (letter case aside; every type when empty) whose type and part number
// together contain `match` (letter case aside; all when empty), in catalog order. A filter that
// leaves none is a usage error naming it.
std::vector<CatalogRow> SelectCables(std::vector<CatalogRow> cables, const std::string& type, const std::string& match);

// "RG-8X, Belden 9258", as the results screen names a cable; catalog bytes as they are.
std::string CableName(const CatalogRow& cable);

}  // namespace ferrolux::cli
