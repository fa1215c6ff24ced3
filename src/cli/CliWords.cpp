#include "cli/CliWords.h"

#include <string_view>
#include <unordered_map>

#include "cli/EnglishCatalogue.h"

namespace kolvaro::cli {

namespace {

Language inUse = Language::Polish;

const char* englishOf(std::string_view polish) {
  static const std::unordered_map<std::string_view, const char*> table = [] {
    std::unordered_map<std::string_view, const char*> byPolish;
    for (std::size_t i = 0; i < EnglishCatalogueSize; ++i)
      byPolish.emplace(EnglishCatalogue[i].polish, EnglishCatalogue[i].english);
    return byPolish;
  }();
  const auto found = table.find(polish);
  return found == table.end() ? nullptr : found->second;
}

}  // namespace

void useLanguage(Language language) { inUse = language; }

Language languageInUse() { return inUse; }

std::string say(const std::string& polish) {
  if (inUse == Language::Polish) return polish;
  const char* english = englishOf(polish);
  return english ? english : polish;
}

std::string say(const char* polish) { return say(std::string(polish)); }

std::string say(const CoreText& text) {
  return text.render([](const char* pattern) { return say(pattern); });
}

}  // namespace kolvaro::cli
