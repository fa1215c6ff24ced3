#pragma once
// The language of the window: Polish, the language the texts are written in, or English
// from the translation catalogue built into the program.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTranslator;

namespace kolvaro {

enum class Language { Polish, English };

// "pl" or "en", alone or as the start of a locale name ("en_GB.UTF-8", "pl-PL");
// nothing for any other text.
std::optional<Language> languageNamed(std::string_view name);

// The language to use: the command line's choice, else the environment's
// (KOLVARO_LANGUAGE), else the first of the system's preferred languages that is Polish
// or English, else Polish. A name that is neither is passed over.
Language chooseLanguage(const std::optional<std::string>& option, const std::optional<std::string>& environment,
                        const std::vector<std::string>& systemLanguages);

// The system's preferred languages, most preferred first (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
std::vector<std::string> systemLanguages();

// For English, loads the catalogue built into the program into `translator` and installs
// it in the application (the caller keeps the translator while texts are translated);
// Polish, the texts' own language, needs nothing. False when the catalogue could not
// be loaded: the window then stays Polish.
bool installTranslation(QTranslator& translator, Language language);

}  // namespace kolvaro
