#include "ui/Language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace kolvaro {

std::optional<Language> languageNamed(std::string_view name) {
  // The language code ends where the territory, the code set or the modifier begins.
  const std::string_view code = name.substr(0, name.find_first_of("_-.@"));
  if (code == "pl") return Language::Polish;
  if (code == "en") return Language::English;
  return std::nullopt;
}

Language chooseLanguage(const std::optional<std::string>& option, const std::optional<std::string>& environment,
                        const std::vector<std::string>& systemLanguages) {
  for (const auto& forced : {option, environment}) {
    if (!forced) continue;
    if (const auto language = languageNamed(*forced)) return *language;
  }
  for (const auto& name : systemLanguages) {
    if (const auto language = languageNamed(name)) return *language;
  }
  return Language::Polish;
}

std::vector<std::string> systemLanguages() {
  std::vector<std::string> names;
  for (const QString& name : QLocale::system().uiLanguages()) names.push_back(name.toStdString());
  return names;
}

bool installTranslation(QTranslator& translator, Language language) {
  if (language == Language::Polish) return true;
  return translator.load(QStringLiteral(":/i18n/kolvaro_en.qm")) && QCoreApplication::installTranslator(&translator);
}

}  // namespace kolvaro
