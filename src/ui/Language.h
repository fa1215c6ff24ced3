#pragma once
// The language of the window: Polish, the language the texts are written in, or English
// from the translation catalogue built into the program. Polish unless the user asks
// for English; the system's own language does not count.
#include "link/LanguageChoice.h"

class QTranslator;

namespace kolvaro {

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
