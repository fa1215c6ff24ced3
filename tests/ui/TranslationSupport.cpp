#include "TranslationSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QXmlStreamReader>

#include "platform/Platform.h"
#include "ui/Language.h"

namespace kolvaro::test {

namespace {

std::string pathOf(const QObject& object) {
  std::string path;
  for (const QObject* o = &object; o; o = o->parent()) {
    const QString name =
        o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
    path = name.toStdString() + (path.empty() ? "" : "/" + path);
  }
  return path;
}

void add(std::vector<SeenText>& texts, const std::string& where, const QString& text) {
  if (!text.isEmpty()) texts.push_back({where, text});
}

void addAction(std::vector<SeenText>& texts, const std::string& owner, const QAction& action) {
  const std::string where =
      owner + "/" + (action.objectName().isEmpty() ? "action" : action.objectName().toStdString());
  add(texts, where + ".text", action.text());
  add(texts, where + ".statusTip", action.statusTip());
  add(texts, where + ".whatsThis", action.whatsThis());
}

}  // namespace

std::vector<SeenText> textsOf(const QWidget& window) {
  std::vector<SeenText> texts;
  QList<const QWidget*> widgets{&window};
  for (const QWidget* child : window.findChildren<QWidget*>()) widgets.push_back(child);
  // The menu bar's overflow menu holds copies of the menus that do not fit; they are
  // walked where they belong.
  QList<const QMenu*> overflow;
  for (const auto* button : window.findChildren<QToolButton*>(QStringLiteral("qt_menubar_ext_button"))) {
    if (button->menu()) overflow.push_back(button->menu());
  }
  for (const QWidget* w : widgets) {
    if (overflow.contains(qobject_cast<const QMenu*>(w))) continue;
    const std::string where = pathOf(*w);
    if (w->isWindow()) add(texts, where + ".windowTitle", w->windowTitle());
    add(texts, where + ".toolTip", w->toolTip());
    add(texts, where + ".statusTip", w->statusTip());
    add(texts, where + ".whatsThis", w->whatsThis());
    add(texts, where + ".accessibleName", w->accessibleName());
    add(texts, where + ".accessibleDescription", w->accessibleDescription());
    if (const auto* label = qobject_cast<const QLabel*>(w)) add(texts, where + ".text", label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) add(texts, where + ".text", button->text());
    if (const auto* menu = qobject_cast<const QMenu*>(w)) add(texts, where + ".title", menu->title());
    if (const auto* box = qobject_cast<const QComboBox*>(w)) {
      for (int i = 0; i < box->count(); ++i) add(texts, where + ".item" + std::to_string(i), box->itemText(i));
    }
    if (const auto* table = qobject_cast<const QTableView*>(w); table && table->model()) {
      for (int c = 0; c < table->model()->columnCount(); ++c) {
        add(texts, where + ".column" + std::to_string(c), table->model()->headerData(c, Qt::Horizontal).toString());
      }
    }
    for (const QAction* action : w->actions()) addAction(texts, where, *action);
  }
  return texts;
}

Catalogue englishCatalogue() {
  Catalogue catalogue;
  QFile file(QStringLiteral(KOLVARO_ENGLISH_TS));
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << KOLVARO_ENGLISH_TS;
    return catalogue;
  }
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) {
      catalogue.sources.insert(xml.readElementText());
    } else if (xml.name() == QLatin1String("translation")) {
      if (xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished")) ++catalogue.unfinished;
      catalogue.translations.insert(xml.readElementText());
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return catalogue;
}

bool hasPolishLetters(const QString& text) {
  static const QString polish = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
  for (const QChar c : text) {
    if (polish.contains(c)) return true;
  }
  return false;
}

EnglishInForce::EnglishInForce() { installed_ = installTranslation(translator_, Language::English); }

EnglishInForce::~EnglishInForce() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
}

SeenBox showAndClick(QtPlatform& qt, const std::string& text, const char* caption, unsigned flags, int answer) {
  SeenBox seen;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;  // the missing box fails below
    shown = true;
    seen = {box->windowTitle(), box->text()};
    const auto button = answer == id::Yes ? QMessageBox::Yes : answer == id::No ? QMessageBox::No : QMessageBox::Ok;
    box->button(button)->click();
  });
  const int result = qt.QtPlatform::messageBox(text, caption, flags);  // the Qt box itself, not an override
  EXPECT_TRUE(shown) << "no box on the screen for \"" << text << "\"";
  EXPECT_EQ(result, answer) << text;
  return seen;
}

int SeeingPlatform::messageBox(const std::string& text, const char* caption, unsigned flags) {
  const bool yesNo = (flags & mb::ButtonsMask) == mb::YesNo;
  const int answer = askServices_                                    ? services_.messageBox(text, caption, flags)
                     : !yesNo                                        ? id::Ok
                     : (flags & mb::DefButtonMask) == mb::DefButton2 ? id::No
                                                                     : id::Yes;
  seen.push_back(showAndClick(*this, text, caption, flags, answer));
  return answer;
}

}  // namespace kolvaro::test
