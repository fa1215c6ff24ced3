// The address fields and combo boxes of the real window wired to the validation:
// typing, leaving a field, choosing a program.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/Colours.h"
#include "ui/MaskedField.h"

namespace kolvaro {
namespace {

class FieldWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    com1 = test::addFakePort(rig.platform.scripted, "COM1");
    rig.startUp();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    rig.platform.beeps = 0;
  }

  // Empties a field as a user would: select everything, Backspace.
  void clear(MaskedField* field) {
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
  }

  test::WindowRig rig;
  TMain& window = *rig.window;
  std::shared_ptr<test::FakeLineState> com1;
};

TEST_F(FieldWiring, LastDigitOfAWrongAddressIsCorrectedAtOnce) {
  MaskedField* local = window.Local_phAddr_MaskEdit;
  clear(local);
  QTest::keyClicks(local, "160100");
  EXPECT_EQ(local->text(), QStringLiteral("16.01.00 "));  // not complete: no run yet
  EXPECT_EQ(rig.platform.beeps, 0);
  EXPECT_EQ(window.members().Local_phAddr, 0xFFFEu);

  QTest::keyClick(local, '1');
  EXPECT_EQ(local->text(), QStringLiteral("15.15.255"));
  EXPECT_EQ(fontColour(*local), colour::Red);
  EXPECT_EQ(rig.platform.beeps, 1);
  EXPECT_EQ(window.members().Local_phAddr, 0xFFFFu);
}

TEST_F(FieldWiring, PartlyTypedGroupWaitsUntilTheFocusLeaves) {
  MaskedField* field = window.IN_1_1_GrAddr_MaskEdit;
  clear(field);
  QTest::keyClicks(field, "05");
  EXPECT_EQ(field->text(), QStringLiteral("05\\ \\   "));
  EXPECT_EQ(fontColour(*field), colour::Black);
  EXPECT_EQ(window.members().GrAddr_Bytes[0], 0x00);  // the entry keeps its last value while typing
  EXPECT_EQ(window.members().GrAddr_Bytes[1], 0x01);

  window.IN_1_2_GrAddr_MaskEdit->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(field->text(), QStringLiteral("  \\ \\   "));
  EXPECT_EQ(fontColour(*field), colour::Gray);
  EXPECT_EQ(window.members().GrAddr_Bytes[0], 0xFF);
  EXPECT_EQ(window.members().GrAddr_Bytes[1], 0xFF);
  EXPECT_EQ(rig.platform.beeps, 0);
}

TEST_F(FieldWiring, BlankAndDigitTypedIsKeptAndRead) {
  MaskedField* field = window.OnOffGroup_MaskEdit;
  clear(field);
  QTest::keyClicks(field, " 12  7");
  EXPECT_EQ(field->text(), QStringLiteral(" 1\\2\\  7"));
  EXPECT_EQ(fontColour(*field), colour::Black);
  EXPECT_EQ(window.members().GrAddr_Bytes[16], 1 * 8 + 2);
  EXPECT_EQ(window.members().GrAddr_Bytes[17], 7);
}

TEST_F(FieldWiring, LeavingAFieldForAButtonValidatesBeforeTheClick) {
  // Write refuses to start on an unknown address; the exit of the field must come first.
  MaskedField* field = window.phAddr_MaskEdit;
  field->setFocus(Qt::MouseFocusReason);
  window.setFieldText(Field::phAddr, "??.??.???");
  com1->written.clear();
  QTest::mouseClick(window.Write, Qt::LeftButton);
  EXPECT_EQ(field->text(), QStringLiteral("15.15.255"));
  EXPECT_EQ(rig.platform.beeps, 1);
  EXPECT_FALSE(com1->written.empty());  // the write procedure went on to the bus
}

TEST_F(FieldWiring, ChoosingAProgramRunsAValidation) {
  // As the read procedure leaves things: an unknown address, values shown as read.
  window.setFieldText(Field::phAddr, "??.??.???");
  for (Combo c : {Combo::OUT1_Prog, Combo::OUT2_Prog, Combo::MONO_BI}) window.setComboColour(c, colour::Gray);
  EXPECT_EQ(rig.platform.beeps, 0);

  QTest::keyClick(window.OUT2_Prog_ComboBox, Qt::Key_Down);  // the user picks the next item
  EXPECT_EQ(window.OUT2_Prog_ComboBox->currentIndex(), 1);
  EXPECT_EQ(window.phAddr_MaskEdit->text(), QStringLiteral("15.15.255"));
  EXPECT_EQ(fontColour(*window.phAddr_MaskEdit), colour::Red);
  EXPECT_EQ(rig.platform.beeps, 1);
  for (Combo c : {Combo::OUT1_Prog, Combo::OUT2_Prog, Combo::MONO_BI}) {
    EXPECT_EQ(fontColour(*window.combo(c)), colour::Black);
  }

  // An index set by the program is no user choice: nothing runs.
  window.setFieldText(Field::phAddr, "??.??.???");
  window.setComboIndex(Combo::OUT1_Prog, 2);
  EXPECT_EQ(window.phAddr_MaskEdit->text(), QStringLiteral("??.??.???"));
  EXPECT_EQ(rig.platform.beeps, 1);
}

}  // namespace
}  // namespace kolvaro
