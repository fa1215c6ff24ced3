// Start-up, the port menu and closing, through the real window on fake serial ports.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "UiTestSupport.h"
#include "ui/Colours.h"
#include "ui/MaskedField.h"

namespace kolvaro {
namespace {

using test::ShownBox;
using Texts = std::vector<std::string>;

const char* const InitProblem = "Wystąpił problem podczas inicjalizacji portu szeregowego";
const char* const DtrProblem = "Wystąpił problem podczas próby aktywowania sygnału DTR";
const char* const RtsProblem = "Wystąpił problem podczas próby aktywowania sygnału RTS";

class Startup : public ::testing::Test {
 protected:
  test::WindowRig rig;
  TMain& window = *rig.window;
};

TEST_F(Startup, FirstFreePortIsOpenedAndReset) {
  auto com1 = test::addFakePort(rig.platform.scripted, "COM1");
  auto com2 = test::addFakePort(rig.platform.scripted, "COM2");
  rig.startUp();

  ASSERT_EQ(rig.platform.boxes.size(), 1u);
  EXPECT_EQ(rig.platform.boxes[0].text, "Active port: COM1");
  EXPECT_EQ(rig.platform.boxes[0].caption, "Information");
  EXPECT_TRUE(com1->open);
  EXPECT_FALSE(com2->open);
  EXPECT_EQ(com1->written, std::vector<std::uint8_t>{0x01});  // the chip's reset request, and nothing else
  // After the probe of the free ports: the modem lines, then the reset request.
  ASSERT_GE(com1->events.size(), 3u);
  EXPECT_EQ(Texts(com1->events.end() - 3, com1->events.end()), (Texts{"DTR", "RTS", "write 01"}));

  EXPECT_TRUE(window.isEnabled());
  EXPECT_FALSE(window.isMinimized());
  ASSERT_NE(window.Port, nullptr);
  EXPECT_FALSE(window.Port->IsFailed());
  for (Combo c : {Combo::OUT1_Prog, Combo::OUT2_Prog, Combo::MONO_BI}) EXPECT_EQ(window.comboIndex(c), 0);
}

TEST_F(Startup, FirstValidationGivesTheDesignValuesAndColours) {
  test::addFakePort(rig.platform.scripted, "COM1");
  rig.startUp();

  const AddressMembers& m = window.members();
  EXPECT_EQ(m.Local_phAddr, 0xFFFEu);
  EXPECT_EQ(m.Terminal_phAddr, 0xFFFFu);
  const std::array<std::uint8_t, 18> entries = {0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0xFF, 0xFF, 0x00,
                                                0x02, 0xFF, 0xFF, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(m.GrAddr_Bytes, entries);

  const std::uint32_t colours[FieldCount] = {colour::Teal,  colour::Black, colour::Black, colour::Black,
                                             colour::Black, colour::Gray,  colour::Black, colour::Gray,
                                             colour::Black, colour::Gray,  colour::Gray};
  for (int i = 0; i < FieldCount; ++i) {
    EXPECT_EQ(fontColour(*window.field(static_cast<Field>(i))), colours[i]) << "field " << i;
  }
  for (Combo c : {Combo::OUT1_Prog, Combo::OUT2_Prog, Combo::MONO_BI}) {
    EXPECT_EQ(fontColour(*window.combo(c)), colour::Black);
  }
  EXPECT_EQ(rig.platform.beeps, 0);
}

TEST_F(Startup, MessagesInOrderWhenSomethingFails) {
  struct Case {
    const char* name;
    bool portFree;
    bool modemLinesFail;
    Texts expected;
  } const cases[] = {
      {"NoFreePort",
       false,
       false,
       {"No COM port of 1 to 4 is available now", "COM no. is placed out of range of 1 ÷ 4", InitProblem, DtrProblem,
        RtsProblem}},
      {"ModemLinesRefused", true, true, {"Active port: COM1", DtrProblem, RtsProblem}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WindowRig local;
    if (c.portFree) test::addFakePort(local.platform.scripted, "COM1")->modemLinesFail = c.modemLinesFail;
    local.startUp();
    EXPECT_EQ(local.boxTexts(), c.expected);
    for (const ShownBox& box : local.platform.boxes) {
      // The window's own messages are plain boxes without a caption.
      if (box.text == InitProblem || box.text == DtrProblem || box.text == RtsProblem) {
        EXPECT_EQ(box, (ShownBox{box.text, std::nullopt, 0}));
      }
    }
    EXPECT_TRUE(local.window->isEnabled());  // the window opens normally all the same
  }
}

TEST_F(Startup, NoSystemDirectoryStopsEarly) {
  auto com1 = test::addFakePort(rig.platform.scripted, "COM1");
  rig.platform.directory.reset();
  rig.startUp();
  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{{"Brak dostępu do katalogu systemowego", std::nullopt, 0}}));
  EXPECT_EQ(window.Port, nullptr);
  EXPECT_EQ(com1->opens, 0);
  EXPECT_FALSE(window.isEnabled());
  EXPECT_EQ(window.members().Local_phAddr, 0u);  // no validation ran

  window.close();  // the stuck window can still be closed
  EXPECT_FALSE(window.isVisible());
}

TEST_F(Startup, PortMenuMovesThePortAndWritesTheSettings) {
  auto com1 = test::addFakePort(rig.platform.scripted, "COM1");
  auto com3 = test::addFakePort(rig.platform.scripted, "COM3");
  rig.startUp();
  rig.platform.boxes.clear();

  window.COM3->trigger();
  EXPECT_FALSE(com1->open);
  EXPECT_EQ(com1->events.back(), "close");
  ASSERT_FALSE(com1->statesSet.empty());
  EXPECT_EQ(com1->statesSet.back(), test::FakeLineState::defaultReported());  // what it had, put back
  EXPECT_TRUE(com3->open);
  EXPECT_EQ(com3->written, std::vector<std::uint8_t>{});  // no reset request after a port change
  EXPECT_EQ(rig.boxTexts(), Texts{"Active port: COM3"});
  const std::string ini = test::readFile(rig.directory.file("dcb.ini"));
  EXPECT_NE(ini.find("[Port no.]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("COM=3"), std::string::npos) << ini;

  // A port that another program holds.
  auto com2 = test::addFakePort(rig.platform.scripted, "COM2");
  com2->cannotOpen = true;
  rig.platform.boxes.clear();
  window.COM2->trigger();
  EXPECT_FALSE(com3->open);
  EXPECT_EQ(rig.boxTexts(), (Texts{"Couldn't openCOM2", InitProblem, DtrProblem, RtsProblem}));
  ASSERT_NE(window.Port, nullptr);
  EXPECT_TRUE(window.Port->IsFailed());
}

TEST_F(Startup, ClosingDeletesThePort) {
  auto com1 = test::addFakePort(rig.platform.scripted, "COM1");
  rig.startUp();
  rig.platform.boxes.clear();
  window.close();
  EXPECT_EQ(window.Port, nullptr);
  EXPECT_FALSE(com1->open);
  EXPECT_EQ(com1->events.back(), "close");
  EXPECT_TRUE(rig.platform.boxes.empty());
}

TEST_F(Startup, ClosingWithAFailedPortReportsTheRestore) {
  rig.startUp();  // no port at all
  rig.platform.boxes.clear();
  window.close();
  ASSERT_FALSE(rig.platform.boxes.empty());
  EXPECT_EQ(rig.platform.boxes[0].text, "DCB settings restoring error!");
  EXPECT_EQ(window.Port, nullptr);
}

// The chip's answer to the reset request is noted when it comes, also when the chip is
// slow, and a chip that never answers is noted silent after the deadline. An operation
// started before then does not wait for the note: it starts at once, and the note says
// the answer was not checked.
TEST(StartupResetAnswer, NotedWhenItComesWithoutHoldingAnEarlyOperation) {
  struct Case {
    int answerAfterMs;  // -1: never
    const char* early;  // the operation started at 50 ms: "COM3", "Write" or ""
    const char* note;
  };
  const char* const Answered = "układ interfejsu odpowiedział na reset (03) [03]";
  const char* const NotChecked = "odpowiedź układu na reset: nie sprawdzono";
  for (const Case& c : {Case{0, "", Answered}, Case{400, "", Answered}, Case{400, "COM3", NotChecked},
                        Case{-1, "Write", NotChecked}, Case{-1, "", "układ interfejsu nie odpowiedział na reset"}}) {
    SCOPED_TRACE(testing::Message() << "answer after " << c.answerAfterMs << " ms, early "
                                    << (c.early ? c.early : "-"));
    test::WindowRig rig;
    auto com1 = test::addFakePort(rig.platform.scripted, "COM1");
    test::addFakePort(rig.platform.scripted, "COM3");
    if (c.answerAfterMs >= 0)
      com1->arriving.emplace_back(std::chrono::steady_clock::now() + std::chrono::milliseconds(c.answerAfterMs), 0x03);
    std::chrono::steady_clock::time_point clicked;
    const std::string early = c.early;
    if (!early.empty()) {
      QTimer::singleShot(50, [&] {
        clicked = std::chrono::steady_clock::now();
        early == "COM3" ? rig.window->COM3->trigger() : rig.window->Write->click();
      });
    }
    rig.startUp();

    const auto& rows = rig.window->telegramLog().rows();
    auto noteRow = [&] {
      return std::find_if(rows.begin(), rows.end(),
                          [](const LogRow& row) { return row.event.find("reset") != std::string::npos; });
    };
    ASSERT_TRUE(test::waitUntil([&] { return noteRow() != rows.end(); }));
    EXPECT_EQ(noteRow()->event, c.note);
    if (early == "Write") {
      // The write's first request went out well before the 2 s the answer may take.
      ASSERT_TRUE(test::waitUntil([&] { return com1->written.size() > 1; }));
      EXPECT_LT(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(1500));
    }
  }
}

}  // namespace
}  // namespace kolvaro
