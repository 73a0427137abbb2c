#pragma once
// The catalog as the subcommands read it: the same loader as the program, its overflow report
// on standard error, and no waiting for a key.

#include <filesystem>
#include <iosfwd>
#include <vector>

#include "catalog/catalog.hpp"

namespace ferrolux::cli {

// The records that hold anything, in catalog order; a blank line of the file is no cable.
// A load failure throws a CommandError naming the file and giving the loader's own text.
std::vector<CatalogRow> LoadCables(const std::filesystem::path& file, std::ostream& err);

}  // namespace ferrolux::cli
