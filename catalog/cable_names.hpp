#pragma once
// Cable names as hams write them: "LMR400" for LMR-400, "rg8x" for RG-8X, "RG58AU" for RG-58A/U.
// Every search by part number or type (--cable, --type, --match, completion) compares names
// this way.

#include <string>
#include <string_view>
#include <vector>

namespace ferrolux {

// The name upper-cased, without blanks, hyphens, dots and slashes.
std::string NormalisedName(std::string_view name);

// Whether two names are one, written either way, with or without a type's "/U".
bool SameName(std::string_view a, std::string_view b);

// Whether `name` holds `part`, both written either way.
bool NameContains(std::string_view name, std::string_view part);

// Up to `count` of the names nearest to `typed` (by edit distance, once normalised), nearest
// first and the earlier name on a tie; a name that differs in more than a third of what was
// typed is left out.
std::vector<std::string> NearestNames(const std::vector<std::string>& names, std::string_view typed, std::size_t count);

}  // namespace ferrolux
