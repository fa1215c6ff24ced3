#pragma once
// The English catalogue for kolvaro-cli: the window's catalogue (translations/
// kolvaro_en.ts) turned into a table at build time, so one file holds every translation.
#include <cstddef>

namespace kolvaro::cli {

struct CataloguePair {
  const char* polish;
  const char* english;
};

// In the catalogue's order.
extern const CataloguePair EnglishCatalogue[];
extern const std::size_t EnglishCatalogueSize;

}  // namespace kolvaro::cli
