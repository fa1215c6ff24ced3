#include "ui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "link/LanguageChoice.h"

namespace kolvaro {

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
