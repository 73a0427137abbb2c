#include "catalog/catalog.hpp"

#include "console/console.hpp"
#include "console/text.hpp"

namespace ferrolux {

CatalogTable MakeCatalogTable() { return CatalogTable(kCatalogCapacity + 1); }

// Placeholder until the real loader lands: a single hand-written cable.
void LoadCatalog(CatalogTable& table, Console&, std::string& errorMessage,
                 const std::filesystem::path&) {
  errorMessage.clear();
  table[1][column::kType] = "RG-8X";
  table[1][column::kPartNumber] = "Placeholder RG-8X";
  table[0][1] = NumberText(1);
}

void ArgSplit(Console&, std::string&, const std::string&, std::vector<std::string>& parts,
              std::string&) {
  parts[0] = "0";
}

}  // namespace ferrolux
