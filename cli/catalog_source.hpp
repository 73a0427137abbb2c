#pragma once
// The catalog as the subcommands read it: the same loader as the program, its overflow report
// on standard error, and no waiting for a key.

#include <filesystem>
#include <iosfwd>
#include <span>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux::cli {

// The records that hold anything, in catalog order; a blank line of the file is no cable.
// A load failure throws a CommandError naming the file and giving the loader's own text.
std::vector<CatalogRow> LoadCables(const std::filesystem::path& file, std::ostream& err);

// The cables with every other text freed: a command over a large catalog then builds its
// output in the room the descriptions took, and peaks no higher than loading did.
std::vector<CatalogRow> OnlyColumns(std::vector<CatalogRow> cables, std::span<const int> kept);

}  // namespace ferrolux::cli
