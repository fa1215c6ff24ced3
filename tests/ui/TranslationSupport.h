#pragma once
// What the language tests share: the English catalogue as kept in the repository, the
// window's texts gathered widget by widget, message boxes shown through the real Qt
// platform and answered by a click, and the rule for "left in Polish".
#include <QString>
#include <QTranslator>
#include <set>
#include <string>
#include <vector>

#include "ui/QtPlatform.h"

class QWidget;

namespace kolvaro::test {

// One text the user can see: where it sits (object path and property) and the text.
struct SeenText {
  std::string where;
  QString text;
};

// Every text of a window and its children: titles, labels, button captions, hints,
// status and accessibility texts, combo items, menu titles and actions. Field contents
// are data and left out.
std::vector<SeenText> textsOf(const QWidget& window);

// The English catalogue translations/kolvaro_en.ts: every translation, every source.
struct Catalogue {
  std::set<QString> sources;
  std::set<QString> translations;
  int unfinished = 0;
};
Catalogue englishCatalogue();

// Letters that English does not have and Polish does.
bool hasPolishLetters(const QString& text);

// The English translation installed while it lives (the one the program builds in).
class EnglishInForce {
 public:
  EnglishInForce();
  ~EnglishInForce();
  bool installed() const { return installed_; }

 private:
  QTranslator translator_;
  bool installed_ = false;
};

// A box as the user saw it on the screen.
struct SeenBox {
  QString title;
  QString text;
  friend bool operator==(const SeenBox&, const SeenBox&) = default;
};

// Shows the box through the Qt platform as the program does, reads what it shows and
// clicks the button of `answer` (id::Ok, id::Yes, id::No). Returns what was seen; the
// platform's result is checked to be `answer`.
SeenBox showAndClick(QtPlatform& qt, const std::string& text, const char* caption, unsigned flags, int answer);

// The real Qt platform on a test platform's services: every box is shown on the screen,
// recorded as seen and answered there. The answer is the box's default button, or, with
// askServices, what the services' own messageBox answers (a recording platform's script).
class SeeingPlatform : public QtPlatform {
 public:
  explicit SeeingPlatform(Platform& services, bool askServices = false)
      : QtPlatform(services), services_(services), askServices_(askServices) {}
  int messageBox(const std::string& text, const char* caption, unsigned flags) override;
  std::vector<SeenBox> seen;

 private:
  Platform& services_;
  bool askServices_;
};

}  // namespace kolvaro::test
