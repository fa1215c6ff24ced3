// The Qt message box behind platform().messageBox: icon, buttons, default button,
// title, modality and topmost from the flags, and the answer the user gives.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "UiTestSupport.h"
#include "ui/QtPlatform.h"

namespace kolvaro {
namespace {

struct BoxCase {
  const char* name;
  unsigned flags;
  const char* caption;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton;
  QMessageBox::StandardButton press;  // NoButton: Escape
  int expected;
  friend void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }
};

const BoxCase boxCases[] = {
    {"Plain", 0x0, nullptr, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, id::Ok},
    {"Error", 0x42010, nullptr, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, id::Ok},
    {"Information", 0x40040, "Information", QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok,
     id::Ok},
    {"QuestionYes", 0x42024, "Informacja", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
     QMessageBox::Yes, id::Yes},
    {"QuestionNoByDefault", 0x42124, "Informacja", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
     QMessageBox::No, QMessageBox::No, id::No},
    {"QuestionEscaped", 0x42024, "Informacja", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
     QMessageBox::Yes, QMessageBox::NoButton, id::No},
};

class QtMessageBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBox, ShapedByTheFlags) {
  const auto& c = GetParam();
  QApplication::setApplicationDisplayName(QStringLiteral("Kolvaro"));
  QtPlatform platform;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = true;
    EXPECT_EQ(box->text(), QStringLiteral("Wystąpił problem\nw drugiej linii"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), c.caption ? QString::fromUtf8(c.caption) : QStringLiteral("Kolvaro"));
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->standardButtons(), c.buttons);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(c.defaultButton));
    EXPECT_EQ(box->parentWidget(), nullptr);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(bool(box->windowFlags() & Qt::WindowStaysOnTopHint), bool(c.flags & mb::Topmost));
    if (c.press == QMessageBox::NoButton) {
      box->reject();  // Escape or the close button
    } else {
      box->button(c.press)->click();
    }
  });
  EXPECT_EQ(platform.messageBox("Wystąpił problem\nw drugiej linii", c.caption, c.flags), c.expected);
  EXPECT_TRUE(seen);
}

INSTANTIATE_TEST_SUITE_P(Flags, QtMessageBox, ::testing::ValuesIn(boxCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kolvaro
