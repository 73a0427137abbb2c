#pragma once
// A catalog record with its numbers read once: the texts as the file holds them, the figures the
// calculations use beside them.

#include "catalog/catalog.hpp"
#include "model/cable_numbers.hpp"

namespace ferrolux {

struct CatalogCable {
  CatalogRow texts;
  CableNumbers numbers;
};

// A text that is no number reads as 0, as everywhere else the catalog is read.
CatalogCable ReadCatalogCable(const CatalogRow& record);

// The numbers alone, for lists of many cables that need not copy the texts.
CableNumbers ReadCableNumbers(const CatalogRow& record);

}  // namespace ferrolux
