// What the real window judges by: focus going to the menu bar is not leaving a field;
// "Read is disabled" is Read's own flag, not the window's; an exchange recognises the
// answers to the frame it sent by the address it sent it from.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "UiTestSupport.h"
#include "ui/Colours.h"
#include "ui/MaskedField.h"

namespace kolvaro {
namespace {

class WindowJudgement : public ::testing::Test {
 protected:
  void SetUp() override {
    com1 = test::addFakePort(rig.platform.scripted, "COM1");
    // The chip answers the start-up reset, so that the first operation does not wait for it.
    com1->arriving.emplace_back(std::chrono::steady_clock::now() + std::chrono::milliseconds(1), 0x03);
    rig.startUp();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    rig.platform.beeps = 0;
  }

  test::WindowRig rig;
  TMain& window = *rig.window;
  std::shared_ptr<test::FakeLineState> com1;
};

// A half-typed physical address, then the focus goes somewhere: only another control of
// the window counts as leaving the field (and corrects it to 15.15.255 with a beep).
TEST_F(WindowJudgement, MenuBarFocusDoesNotLeaveAField) {
  struct Case {
    const char* name;
    std::function<void()> moveFocus;
    bool left;
  } const cases[] = {
      {"Alt", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt); }, false},
      {"menu bar takes the keyboard", [&] { window.menuBar()->setFocus(Qt::MenuBarFocusReason); }, false},
      {"Tab to the next control", [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }, true},
      {"click on a button", [&] { window.Write->setFocus(Qt::MouseFocusReason); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MaskedField* field = window.phAddr_MaskEdit;
    window.setFieldText(Field::phAddr, "01.01.005");
    field->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(test::waitUntil([&] { return field->hasFocus(); }));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, "1");
    ASSERT_EQ(field->text(), QStringLiteral("1 .  .   "));
    rig.platform.beeps = 0;

    c.moveFocus();
    ASSERT_TRUE(test::waitUntil([&] { return !field->hasFocus(); })) << "the focus did not move";

    if (c.left) {
      EXPECT_EQ(field->text(), QStringLiteral("15.15.255"));
      EXPECT_EQ(fontColour(*field), colour::Red);
      EXPECT_EQ(rig.platform.beeps, 1);
    } else {
      EXPECT_EQ(field->text(), QStringLiteral("1 .  .   ")) << "the half-typed text is kept";
      EXPECT_EQ(rig.platform.beeps, 0);
      EXPECT_EQ(window.members().Terminal_phAddr, 0x1105u) << "no validation ran";
    }
    // Back to a quiet state for the next case: Esc leaves the menu bar.
    if (window.menuBar()->hasFocus()) QTest::keyClick(window.menuBar(), Qt::Key_Escape);
    window.setFieldText(Field::phAddr, "01.01.005");
  }
}

// The change handler stops only while Read itself is disabled (a read run); the window
// disabled as a whole (start-up) does not silence it.
TEST_F(WindowJudgement, ReadIsJudgedByItsOwnFlag) {
  struct Case {
    const char* name;
    bool windowEnabled;
    bool readEnabled;
    bool validates;
  } const cases[] = {
      {"all enabled", true, true, true},
      {"window disabled, as in start-up", false, true, true},
      {"Read disabled, as in a read run", true, false, false},
      {"both disabled", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    window.setFieldText(Field::phAddr, "01.01.005");
    rig.platform.beeps = 0;
    window.setEnabled(c.windowEnabled);
    window.Read->setEnabled(c.readEnabled);

    EXPECT_EQ(window.buttonEnabled(Button::Read), c.readEnabled);
    window.setFieldText(Field::phAddr, "16.01.001");  // complete and out of range

    EXPECT_EQ(window.phAddr_MaskEdit->text(), c.validates ? QStringLiteral("15.15.255") : QStringLiteral("16.01.001"));
    EXPECT_EQ(rig.platform.beeps, c.validates ? 1 : 0);
    window.Read->setEnabled(true);
    window.setEnabled(true);
  }
}

// The user changes the window's own address while a read waits for its first answer.
// The answer comes to the address the question went out from: it is acknowledged and
// taken, and the next questions go out from the new address.
TEST_F(WindowJudgement, AnswerToTheAddressTheQuestionCameFrom) {
  // BC 11 05 FF FE 61 01 40: device 1.1.5 answers the physical address read of 15.15.254.
  const std::vector<std::uint8_t> answer{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40, 0x76};
  ASSERT_EQ(window.members().Local_phAddr, 0xFFFEu);
  // The first wait must not end at a tick before the answer is taken: the ticks resume,
  // fast, once its acknowledge (11) has gone out, however slow the machine.
  window.Timer1->setInterval(60000);
  // A refused answer gets no acknowledge: the ticks then resume after 5 s, and the checks below fail.
  QTimer speedUp;
  QElapsedTimer sinceAnswer;
  QObject::connect(&speedUp, &QTimer::timeout, &window, [&] {
    const bool acknowledged = std::find(com1->written.begin(), com1->written.end(), 0x11) != com1->written.end();
    if (!acknowledged && sinceAnswer.elapsed() < 5000) return;
    window.Timer1->setInterval(5);
    speedUp.stop();
  });
  bool acted = false;
  QTimer::singleShot(0, &window, [&] {
    acted = window.operationRunning();
    // Typed, then the field left: Read is disabled during the run, so only leaving the
    // field validates it.
    window.setFieldText(Field::Local_phAddr, "01.01.001");
    window.Local_phAddr_MaskEdit->setFocus(Qt::MouseFocusReason);
    window.Write->setFocus(Qt::MouseFocusReason);
    com1->incoming.insert(com1->incoming.end(), answer.begin(), answer.end());
    sinceAnswer.start();
    speedUp.start(1);
  });
  com1->written.clear();

  window.Read->click();

  ASSERT_TRUE(acted) << "the edit came inside the read's wait";
  EXPECT_EQ(window.members().Local_phAddr, 0x1101u);
  EXPECT_EQ(window.phAddr_MaskEdit->text(), QStringLiteral("01.01.005")) << "the answer was taken";
  const auto boxes = rig.boxTexts();
  EXPECT_EQ(std::count(boxes.begin(), boxes.end(), "Żaden terminal nie znajduje się w trybie programowania"), 0);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back(), "Odczyt adresów grupowych zakończył się niepomyślnie") << "the run went on to the table";
  // The acknowledge information followed the answer's routing byte.
  EXPECT_NE(std::find(com1->written.begin(), com1->written.end(), 0x11), com1->written.end());
  // The address check after it went out from the new address: 98 11 01 11 05 ...
  const std::vector<std::uint8_t> fromNewAddress{0x80, 0x98, 0x81, 0x11, 0x82, 0x01, 0x83, 0x11, 0x84, 0x05};
  EXPECT_NE(std::search(com1->written.begin(), com1->written.end(), fromNewAddress.begin(), fromNewAddress.end()),
            com1->written.end());
}

}  // namespace
}  // namespace kolvaro
