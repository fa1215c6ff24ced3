#include "ui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>

#include "link/LanguageChoice.h"
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

bool installTranslation(QTranslator& translator, Language language) {
  if (language == Language::Polish) return true;
  return translator.load(QStringLiteral(":/i18n/kolvaro_en.qm")) && QCoreApplication::installTranslator(&translator);
}

bool installQtTranslation(QTranslator& translator, Language language) {
  const QString name = QStringLiteral("qtbase_") + QLatin1String(languageCode(language));
  if (!translator.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  // Installed either way; Qt reports an empty catalogue (qtbase_en: English is Qt's own
  // language) as not installed, though it is loaded and changes nothing.
  QCoreApplication::installTranslator(&translator);
  return true;
}

}  // namespace kolvaro
