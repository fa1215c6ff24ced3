// Every label's and button's text in the real window, and every menu title on its bar in
// both languages, fits the bounds the layout gives it,
// measured with the font the program actually resolved on this machine. Without a face
// of the layout's metrics (fonts-liberation2 on Debian) the window falls back to a wider
// one and this test fails; ctest runs it once more without that font and expects it to.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "TranslationSupport.h"
#include "UiTestSupport.h"

namespace kolvaro {
namespace {

// The width a control leaves its text: a label its contents, a button what its style
// keeps inside the bevel and the margins.
int roomForText(const QWidget& widget) {
  if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
  }
  const auto& label = static_cast<const QLabel&>(widget);
  return label.contentsRect().width() - 2 * label.margin() - std::max(label.indent(), 0);
}

QString textOf(const QWidget& widget) {
  if (const auto* button = qobject_cast<const QPushButton*>(&widget)) return button->text();
  return static_cast<const QLabel&>(widget).text();
}

TEST(FontFit, EveryTextFitsWithTheResolvedFont) {
  test::WindowRig rig;
  TMain& window = *rig.window;
  window.show();

  std::vector<QWidget*> controls;
  for (QLabel* label : window.findChildren<QLabel*>()) controls.push_back(label);
  for (QPushButton* button : window.findChildren<QPushButton*>()) controls.push_back(button);

  const std::vector<QString> metricFaces{QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                                         QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
  std::vector<std::string> measured;
  for (QWidget* control : controls) {
    const QString text = textOf(*control);
    if (text.isEmpty()) continue;
    SCOPED_TRACE(control->objectName().toStdString() + " \"" + text.toStdString() + "\"");
    const QFontInfo resolved(control->font());
    EXPECT_NE(std::find(metricFaces.begin(), metricFaces.end(), resolved.family()), metricFaces.end())
        << "resolved " << resolved.family().toStdString() << ": the layout needs a face of Arial's widths "
        << "(Debian: fonts-liberation2)";
    const int needed = QFontMetrics(control->font()).horizontalAdvance(text);
    EXPECT_LE(needed, roomForText(*control)) << "cut off at its right edge";
    measured.push_back(control->objectName().toStdString());
  }
  // Among them the texts a fresh machine was seen to cut, and the other buttons.
  for (const char* name : {"Label7", "OffGroup", "OnGroup", "Read", "Write", "Label2"}) {
    EXPECT_NE(std::find(measured.begin(), measured.end(), name), measured.end()) << name << " was not measured";
  }
}

// Every menu title on the bar's one line and whole, with room left for the titles to grow
// by a tenth (a slightly wider face) before one is pushed behind the extension button.
void expectMenuBarFits(TMain& window) {
  QMenuBar* bar = window.menuBar();
  const QFontMetrics metrics(bar->font());
  int titles = 0;
  for (QAction* menu : bar->actions()) {
    const QString title = menu->text().remove(u'&');
    const QRect place = bar->actionGeometry(menu);
    EXPECT_TRUE(place.isValid() && place.left() >= 0 && place.right() < bar->width()) << title.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(title), place.width()) << title.toStdString() << " cut off";
    titles += metrics.horizontalAdvance(title);
  }
  EXPECT_EQ(bar->actions().size(), 4);
  EXPECT_LE(bar->sizeHint().width() + titles / 10, window.width()) << "the menu bar fills the window's width";
}

TEST(FontFit, MenuBarFitsInBothLanguages) {
  for (const bool english : {false, true}) {
    SCOPED_TRACE(english ? "English" : "Polish");
    std::optional<test::EnglishInForce> translation;
    if (english) {
      ASSERT_TRUE(translation.emplace().installed());
    }
    test::WindowRig rig;
    rig.window->show();
    expectMenuBarFits(*rig.window);
  }
}

}  // namespace
}  // namespace kolvaro
