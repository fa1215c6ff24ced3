#pragma once
// The words of kolvaro-cli in the language in force: Polish, the language its texts are
// written in, or English from the catalogue the window uses too. The language follows
// the window's rule: --language, else KOLVARO_LANGUAGE, else the choice kept in dcb.ini,
// else Polish.
#include <string>

#include "link/LanguageChoice.h"
#include "platform/CoreText.h"

namespace kolvaro::cli {

// Set once, before the first word is said.
void useLanguage(Language language);
Language languageInUse();

// A text marked for the catalogue, in the language in force (as written when the
// catalogue has no translation of it).
std::string say(const char* polish);
std::string say(const std::string& polish);
// A composed text: each pattern looked up, then filled.
std::string say(const CoreText& text);

}  // namespace kolvaro::cli
