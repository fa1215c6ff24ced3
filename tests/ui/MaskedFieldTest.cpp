// The masked address field: what typing and program sets leave in its fixed positions.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/MaskedField.h"

namespace kolvaro {
namespace {

using Kind = MaskedField::Kind;

struct TypingCase {
  const char* name;
  Kind kind;
  const char* start;  // the text set by the program before typing
  int cursor;         // where typing starts
  const char* keys;   // digits and blanks; '<' is Backspace, '>' is Delete
  const char* expected;
};

void typeKeys(MaskedField& field, const char* keys) {
  for (const char* k = keys; *k; ++k) {
    if (*k == '<') {
      QTest::keyClick(&field, Qt::Key_Backspace);
    } else if (*k == '>') {
      QTest::keyClick(&field, Qt::Key_Delete);
    } else {
      QTest::keyClick(&field, *k);
    }
  }
}

class MaskedFieldTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(MaskedFieldTyping, LeavesTextInFixedPositions) {
  const auto& c = GetParam();
  MaskedField field(c.kind);
  field.setFieldText(QString::fromLatin1(c.start));
  field.setCursorPosition(c.cursor);
  typeKeys(field, c.keys);
  EXPECT_EQ(field.text().toStdString(), c.expected);
  EXPECT_EQ(field.text().size(), field.layout().size());
}

const TypingCase typingCases[] = {
    {"DigitsSkipDots", Kind::Physical, "  .  .   ", 0, "1601001", "16.01.001"},
    {"DigitsSkipBackslashes", Kind::Group, "  \\ \\   ", 0, "005002", "00\\5\\002"},
    {"BlankThenDigitStaysAsTyped", Kind::Physical, "  .  .   ", 0, " 1 1  5", " 1. 1.  5"},
    {"OverwritesWhatIsThere", Kind::Physical, "15.15.254", 0, "0102", "01.02.254"},
    {"TypingPastTheEndChangesNothing", Kind::Group, "00\\0\\001", 8, "9", "00\\0\\001"},
    {"BackspaceBlanksAndSkipsSeparators", Kind::Physical, "15.15.255", 6, "<<", "15.  .255"},
    {"BackspaceThenRetype", Kind::Group, "12\\3\\456", 8, "<<<<9", "12\\9\\   "},
    {"DeleteBlanksUnderTheCursor", Kind::Physical, "15.15.255", 2, ">>", "15. 5.255"},
    {"QuestionMarksAreOverwritten", Kind::Physical, "??.??.???", 0, "01", "01.??.???"},
    {"OtherCharactersAreRefused", Kind::Physical, "  .  .   ", 0, "a.-1", "1 .  .   "},
};

INSTANTIATE_TEST_SUITE_P(Keys, MaskedFieldTyping, ::testing::ValuesIn(typingCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(MaskedField, ProgramTextsAreKeptAsTheyStand) {
  struct Case {
    Kind kind;
    const char* set;
    const char* expected;
  } const cases[] = {
      {Kind::Physical, "??.??.???", "??.??.???"},  {Kind::Physical, "15.15.255", "15.15.255"},
      {Kind::Group, "  \\ \\   ", "  \\ \\   "},   {Kind::Group, "15\\7\\255", "15\\7\\255"},
      {Kind::Group, "  \\", "  \\     "},           // padded to the field's length
      {Kind::Physical, "15.15.2550", "15.15.255"},  // cut to it
  };
  for (const auto& c : cases) {
    MaskedField field(c.kind);
    field.setFieldText(QString::fromLatin1(c.set));
    EXPECT_EQ(field.text().toStdString(), c.expected) << c.set;
  }
}

TEST(MaskedField, SelectionIsBlankedByTypingAndDeleting) {
  MaskedField field(Kind::Physical);
  field.setFieldText(QStringLiteral("15.15.255"));
  field.setSelection(0, 5);
  QTest::keyClick(&field, '7');
  EXPECT_EQ(field.text(), QStringLiteral("7 .  .255"));
  EXPECT_EQ(field.cursorPosition(), 1);

  field.selectAll();
  QTest::keyClick(&field, Qt::Key_Backspace);
  EXPECT_EQ(field.text(), QStringLiteral("  .  .   "));
}

TEST(MaskedField, ChangeSignalForUserEditsAndProgramSets) {
  MaskedField field(Kind::Group);
  QSignalSpy changes(&field, &QLineEdit::textChanged);
  field.setFieldText(QStringLiteral("00\\0\\001"));
  EXPECT_EQ(changes.count(), 1);
  field.setCursorPosition(7);
  QTest::keyClick(&field, '2');
  EXPECT_EQ(changes.count(), 2);
  QTest::keyClick(&field, Qt::Key_Left);  // moving the caret is no change
  QTest::keyClick(&field, Qt::Key_Home);
  EXPECT_EQ(changes.count(), 2);
  EXPECT_EQ(field.text(), QStringLiteral("00\\0\\002"));
}

TEST(MaskedField, ExitSignalOnlyWhenFocusMovesWithinTheWindow) {
  QWidget window;
  auto* field = new MaskedField(Kind::Group, &window);
  auto* other = new QLineEdit(&window);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  field->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(field->hasFocus());

  QSignalSpy exits(field, &MaskedField::exited);
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QCoreApplication::sendEvent(field, &popup);
  QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(field, &deactivated);
  EXPECT_EQ(exits.count(), 0);

  field->setFocus(Qt::TabFocusReason);
  other->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(exits.count(), 1);
}

TEST(MaskedFieldClick, IntoAnEmptyFieldStartsAtItsFirstPosition) {
  MaskedField empty(Kind::Group);
  empty.setFieldText(QStringLiteral("  \\ \\   "));
  empty.resize(80, 20);
  QTest::mouseClick(&empty, Qt::LeftButton, {}, QPoint(60, 10));
  typeKeys(empty, "000002");
  EXPECT_EQ(empty.text().toStdString(), "00\\0\\002");

  // A filled field keeps the caret where the click put it, to correct one part.
  MaskedField filled(Kind::Physical);
  filled.setFieldText(QStringLiteral("15.15.255"));
  filled.resize(80, 20);
  QTest::mouseClick(&filled, Qt::LeftButton, {}, QPoint(78, 10));
  EXPECT_EQ(filled.cursorPosition(), 9);
}

}  // namespace
}  // namespace kolvaro
