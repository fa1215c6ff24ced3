#include "link/LanguageChoice.h"

#include "link/IniFile.h"

namespace kolvaro {

std::optional<std::string> readKeptLanguage(const std::string& iniPath) {
  auto value = IniFile(iniPath).ReadString(LanguageSection, LanguageKey);
  if (value && value->empty()) return std::nullopt;
  return value;
}

bool keepLanguage(const std::string& iniPath, std::string_view name) {
  return IniFile(iniPath).WriteString(LanguageSection, LanguageKey, name);
}

}  // namespace kolvaro
