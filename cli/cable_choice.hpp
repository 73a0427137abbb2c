#pragma once
// Choosing the cables a command line names, or saying why none or several were chosen.

#include <string>
#include <vector>

#include "catalog/cable_lookup.hpp"
#include "catalog/catalog.hpp"
#include "cli/command_error.hpp"

namespace ferrolux::cli {

// The cable whose part number is `name`, else the cables of type `name`, else those whose type and
// part number contain it: exactly one is chosen. Several: a usage error listing them; none: one
// listing the nearest names.
const CatalogRow& FindCable(const std::vector<CatalogRow>& cables, const std::string& name);

// The usage error for a type no cable has, with the nearest types.
CommandError NoCableOfType(const std::vector<CatalogRow>& cables, const std::string& type);

// The cables of type `type` (every type when empty) whose type and part number together contain
// `match` (all when empty), in catalog order. A filter that leaves none is a usage error naming
// it, with the nearest names.
std::vector<CatalogRow> SelectCables(const std::vector<CatalogRow>& cables, const std::string& type,
                                     const std::string& match);

}  // namespace ferrolux::cli
