#include "ui/LanguageMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "config/SessionBoxes.h"
#include "link/LanguageChoice.h"
#include "platform/Platform.h"
#include "platform/SystemDirectory.h"
#include "platform/Translatable.h"
#include "ui/Main.h"

namespace kolvaro {

namespace {
constexpr char Informacja[] = KOLVARO_TRANSLATABLE("Kolvaro", "Informacja");
}  // namespace

TLanguageMenu::TLanguageMenu(TMain& window, Language inForce) : QObject(&window), marked_(inForce) {
  setObjectName(QStringLiteral("LanguageMenu"));
  Menu = window.Configure->addMenu(tr("Język"));
  Menu->setObjectName(QStringLiteral("Language"));
  // Each language under its own name, so that it can be found whichever is in force.
  Polish = Menu->addAction(QStringLiteral("Polski"));
  Polish->setObjectName(QStringLiteral("Polish"));
  English = Menu->addAction(QStringLiteral("English"));
  English->setObjectName(QStringLiteral("English"));

  auto* group = new QActionGroup(this);
  for (QAction* item : {Polish, English}) {
    item->setCheckable(true);
    group->addAction(item);
  }
  itemOf(inForce)->setChecked(true);

  connect(Polish, &QAction::triggered, this, [this] { choose(Language::Polish); });
  connect(English, &QAction::triggered, this, [this] { choose(Language::English); });
}

void TLanguageMenu::choose(Language language) {
  const auto directory = platform().systemDirectory();
  if (!directory || !keepLanguage(pathInDirectory(*directory, "dcb.ini"), languageCode(language))) {
    platform().messageBox(tr("Nie udało się zapisać wyboru języka w pliku dcb.ini.").toStdString(), nullptr,
                          box::Error);
    itemOf(marked_)->setChecked(true);
    return;
  }
  marked_ = language;
  platform().messageBox(tr("Wybrany język okna obowiązuje od następnego uruchomienia programu.").toStdString(),
                        Informacja, box::Notice);
}

}  // namespace kolvaro
