#include "catalog/cable.hpp"

#include "text/text.hpp"

namespace ferrolux {

CatalogCable ReadCatalogCable(const CatalogRow& record) { return {record, ReadCableNumbers(record)}; }

CableNumbers ReadCableNumbers(const CatalogRow& record) {
  using namespace column;
  return {ParseNumber(record[kImpedance]), ParseNumber(record[kVelocityFactor]), ParseNumber(record[kK0]),
          ParseNumber(record[kK1]), ParseNumber(record[kK2])};
}

}  // namespace ferrolux
