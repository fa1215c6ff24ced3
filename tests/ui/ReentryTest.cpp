// A bus operation processes window events while it waits; what the user does in that
// time must not start a second operation inside it, nor delete its port.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "UiTestSupport.h"
#include "ui/MaskedField.h"
#include "ui/WindowFace.h"

namespace kolvaro {
namespace {

class Reentry : public ::testing::Test {
 protected:
  void SetUp() override {
    com1 = test::addFakePort(rig.platform.scripted, "COM1");
    test::addFakePort(rig.platform.scripted, "COM2");
    rig.startUp();
    window.setFieldText(Field::OnOffGroup, "00\\0\\005");  // complete: validated at once
    ASSERT_EQ(window.members().GrAddr_Bytes[17], 0x05);
    com1->written.clear();
  }

  // The bytes that one OnGroup click writes for its first frame, taken from a real click.
  std::vector<std::uint8_t> onGroupFrame() {
    window.OnGroup->click();
    EXPECT_FALSE(com1->written.empty());
    const auto frameEnd = std::find_if(com1->written.begin(), com1->written.end(),
                                       [](std::uint8_t b) { return (b & 0xC0) == 0x40; });  // the data end service
    std::vector<std::uint8_t> frame(com1->written.begin(), std::min(frameEnd + 2, com1->written.end()));
    com1->written.clear();
    return frame;
  }

  bool written(const std::vector<std::uint8_t>& bytes) const {
    return std::search(com1->written.begin(), com1->written.end(), bytes.begin(), bytes.end()) != com1->written.end();
  }

  // Clicks Write and, inside its first wait, does what the user does.
  void duringWrite(const std::function<void()>& action) {
    QTimer::singleShot(0, &window, [&] {
      insideOperation = window.operationRunning();
      portDuring = window.Port.get();
      beepsBefore = rig.platform.beeps;
      action();
      portAfterAction = window.Port.get();
      beepsAfterAction = rig.platform.beeps;
    });
    portBefore = window.Port.get();
    window.Write->click();
  }

  test::WindowRig rig;
  TMain& window = *rig.window;
  std::shared_ptr<test::FakeLineState> com1;
  bool insideOperation = false;
  ComPort* portBefore = nullptr;
  ComPort* portDuring = nullptr;
  ComPort* portAfterAction = nullptr;
  int beepsBefore = -1;
  int beepsAfterAction = -1;
};

TEST_F(Reentry, ClicksInsideAWaitAreRefusedWithABeep) {
  const auto frame = onGroupFrame();
  ASSERT_GE(frame.size(), 16u);

  struct Case {
    const char* name;
    std::function<void()> action;
  } const cases[] = {
      {"OnGroup", [&] { window.OnGroup->click(); }},
      {"OffGroup", [&] { window.OffGroup->click(); }},
      {"Read", [&] { window.Read->click(); }},
      {"PortMenu", [&] { window.COM2->trigger(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    com1->written.clear();
    duringWrite(c.action);
    EXPECT_TRUE(insideOperation);  // the action really ran inside the running Write
    EXPECT_EQ(beepsAfterAction, beepsBefore + 1);
    EXPECT_EQ(portDuring, portBefore);
    EXPECT_EQ(portAfterAction, portBefore);  // the port was not replaced under the exchange
    EXPECT_TRUE(com1->open);
    EXPECT_FALSE(written(frame));  // nothing of OnGroup's frame went out
    EXPECT_FALSE(window.operationRunning());
  }

  // Once the operation has ended the same click works again.
  com1->written.clear();
  window.OnGroup->click();
  EXPECT_TRUE(written(frame));
}

TEST_F(Reentry, ClosingInsideAWaitClosesAfterTheOperation) {
  duringWrite([&] { window.close(); });
  EXPECT_TRUE(insideOperation);
  EXPECT_EQ(portAfterAction, portBefore);  // still there while the exchange ran
  EXPECT_TRUE(test::waitUntil([&] { return !window.isVisible(); }));
  EXPECT_EQ(window.Port, nullptr);
  EXPECT_FALSE(com1->open);
}

TEST_F(Reentry, FieldEditsInsideAWaitStillValidate) {
  duringWrite([&] { window.setFieldText(Field::OnOffGroup, "16\\0\\001"); });
  EXPECT_TRUE(insideOperation);
  EXPECT_EQ(beepsAfterAction, beepsBefore + 1);  // the correction's beep, nothing refused
  EXPECT_EQ(window.OnOffGroup_MaskEdit->text(), QStringLiteral("15\\7\\255"));
}

// The window and the procedures obey one guard: while a port change holds it (its
// "Active port" box is up), neither a click nor a procedure called on the window, as
// another face would call the engine, starts an exchange.
TEST_F(Reentry, APortChangeHoldsTheGuardThatTheProceduresObey) {
  bool held = false;
  int beeps = -1;
  rig.platform.onBox = [&](const test::ShownBox& box) {
    if (box.text != "Active port: COM2") return;
    held = window.operationRunning();
    const int before = rig.platform.beeps;
    WindowFace face(window);
    face.switchGroup(window.session(), true);
    face.read(window.session());
    window.OnGroup->click();
    beeps = rig.platform.beeps - before;
  };
  window.COM2->trigger();
  rig.platform.onBox = nullptr;

  EXPECT_TRUE(held);
  EXPECT_EQ(beeps, 1) << "the click is refused with a beep, the engine calls quietly";
  const auto texts = rig.boxTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Wystąpił problem podczas transmisji danych"), 0);
  EXPECT_EQ(std::count(texts.begin(), texts.end(),
                       "Wprowadź element magistralny w tryb programowania i naciśnij OK.\nZostanie rozpoczęty odczyt."),
            0)
      << "the read did not start";
  EXPECT_TRUE(com1->written.empty());
  EXPECT_FALSE(window.operationRunning());
  EXPECT_EQ(std::string(window.Port->PortName()), "COM2");
}

}  // namespace
}  // namespace kolvaro
