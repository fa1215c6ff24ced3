#include "link/LanguageChoice.h"

#include <cstdlib>

#include "link/IniFile.h"
#include "platform/SystemDirectory.h"

namespace kolvaro {

std::optional<Language> languageNamed(std::string_view name) {
  // The language code ends where the territory, the code set or the modifier begins.
  const std::string_view code = name.substr(0, name.find_first_of("_-.@"));
  if (code == "pl") return Language::Polish;
  if (code == "en") return Language::English;
  return std::nullopt;
}

const char* languageCode(Language language) { return language == Language::English ? "en" : "pl"; }

Language chooseLanguage(const std::optional<std::string>& option, const std::optional<std::string>& environment,
                        const std::optional<std::string>& kept) {
  for (const auto& choice : {option, environment, kept}) {
    if (!choice) continue;
    if (const auto language = languageNamed(*choice)) return *language;
  }
  return Language::Polish;
}

Language languageInForce(const std::optional<std::string>& option, const std::optional<std::string>& directory) {
  const char* environment = std::getenv("KOLVARO_LANGUAGE");
  return chooseLanguage(option, environment ? std::optional<std::string>(environment) : std::nullopt,
                        directory ? readKeptLanguage(pathInDirectory(*directory, "dcb.ini")) : std::nullopt);
}

std::optional<std::string> readKeptLanguage(const std::string& iniPath) {
  auto value = IniFile(iniPath).ReadString(LanguageSection, LanguageKey);
  if (value && value->empty()) return std::nullopt;
  return value;
}

bool keepLanguage(const std::string& iniPath, std::string_view name) {
  return IniFile(iniPath).WriteString(LanguageSection, LanguageKey, name);
}

}  // namespace kolvaro
