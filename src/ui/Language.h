#pragma once
// The language of the window: Polish, the language the texts are written in, or English
// from the translation catalogue built into the program. Polish unless the user asks
// for English; the system's own language does not count.
#include <optional>
#include <string>
#include <string_view>

class QTranslator;

namespace kolvaro {

enum class Language { Polish, English };

// "pl" or "en", alone or as the start of a locale name ("en_GB.UTF-8", "pl-PL");
// nothing for any other text.
std::optional<Language> languageNamed(std::string_view name);

// The short name a choice is kept under: "pl" or "en".
const char* languageCode(Language language);

// The language to use: the command line's choice, else the environment's
// (KOLVARO_LANGUAGE), else the choice kept in dcb.ini, else Polish. A name that is
// neither is passed over.
Language chooseLanguage(const std::optional<std::string>& option, const std::optional<std::string>& environment,
                        const std::optional<std::string>& kept);

// chooseLanguage with this process's KOLVARO_LANGUAGE and the choice kept in dcb.ini in
// `directory` (none without a directory).
Language languageInForce(const std::optional<std::string>& option, const std::optional<std::string>& directory);

// For English, loads the catalogue built into the program into `translator` and installs
// it in the application (the caller keeps the translator while texts are translated);
// Polish, the texts' own language, needs nothing. False when the catalogue could not
// be loaded: the window then stays Polish.
bool installTranslation(QTranslator& translator, Language language);

// Loads Qt's own catalogue of the language (qtbase_pl or qtbase_en, from Qt's
// translations directory: Debian's qt6-translations-l10n) into `translator` and installs
// it, so the words Qt itself puts on the screen (the Yes and No of a box, the file
// dialog's labels) speak the window's language. False when it is not installed.
bool installQtTranslation(QTranslator& translator, Language language);

}  // namespace kolvaro
