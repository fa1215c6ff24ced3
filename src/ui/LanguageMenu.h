#pragma once
// The window's language in the Konfiguracja menu: a "Język" submenu with Polski and
// English. The choice is kept in dcb.ini (link/LanguageChoice.h) and applies from the
// next start: every text of the window is set when it is built. --language and
// KOLVARO_LANGUAGE still win over it.
#include <QObject>

#include "ui/Language.h"

class QAction;
class QMenu;

namespace kolvaro {

class TMain;

class TLanguageMenu : public QObject {
  Q_OBJECT

 public:
  // `inForce`: the language the window was built in, marked in the menu.
  TLanguageMenu(TMain& window, Language inForce);

  QMenu* Menu;
  QAction* Polish;
  QAction* English;

  // Keeps the choice and tells the user when it applies (or that it could not be kept,
  // and the mark goes back).
  void choose(Language language);

 private:
  QAction* itemOf(Language language) const { return language == Language::English ? English : Polish; }
  Language marked_;
};

}  // namespace kolvaro
