// The Read button against the simulated bus: boxes, field texts and colours, combo
// selections, the progress bar and the frames on the bus.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ProcedureExpectations.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;
using expect::error;
using expect::notice;
using expect::question;

const ShownBox Start =
    notice("Wprowadź element magistralny w tryb programowania i naciśnij OK.\nZostanie rozpoczęty odczyt.");
const ShownBox ReadFailed = error("Wystąpił błąd podczas odczytu");
const ShownBox NoDevice = error("Żaden terminal nie znajduje się w trybie programowania");
const ShownBox SeveralDevices =
    error("W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.", true);
const ShownBox CheckFailed = error("Wystąpił błąd podczas weryfikacji dostępności adresu fizycznego");
const ShownBox NotAnswering = notice("Element magistralny nie odpowiada");
const ShownBox AddressUsedTwice = error(
    "Sieć jest nieprawidłowo skonfigurowana.\n"
    "Istnieje więcej niż jedno urządzenie posiadające ten sam adres fiz. jak zadany",
    true);
const ShownBox GroupError = error("Wystąpił błąd podczas odczytu adresu grupowego");
const ShownBox GroupUnsuccessful = error("Odczyt adresów grupowych zakończył się niepomyślnie", true);
const ShownBox AskPrograms = question(
    "Odczyt adresów grupowych zakończony.\nCzy odczytać wybrany program, wykonywany przez element magistralny.");
const ShownBox ProgramError = error("Wystąpił błąd podczas odczytu numeru programu");
const ShownBox AskInputMode =
    question("Odczyt wybranych programów zakończony.\nCzy odczytać aktualny tryb pracy wejść.");
const ShownBox InputModeError = error("Wystąpił błąd podczas odczytu trybu pracy wejść");
const ShownBox& T = expect::Transmission;

constexpr char Empty[] = "  \\ \\   ";
const Field TableFields[8] = {Field::IN_1_1,  Field::IN_1_2,  Field::IN_2_1,  Field::IN_2_2,
                              Field::OUT_1_1, Field::OUT_1_2, Field::OUT_2_1, Field::OUT_2_2};

// A device in programming mode whose table holds every kind of entry.
sim::DeviceSetup device(std::uint16_t address = 0x1105) {
  sim::DeviceSetup setup;
  setup.address = address;
  setup.programmingMode = true;
  const std::uint8_t table[16] = {0x00, 0x01, 0x7F, 0xFF, 0xFF, 0xFF, 0x0A, 0x03,
                                  0x80, 0x00, 0x3B, 0x64, 0xFF, 0xFF, 0x00, 0x02};
  for (std::size_t i = 0; i < 16; ++i) setup.memory[0x20 + i] = table[i];
  setup.memory[0x00] = 0x01;
  setup.memory[0x01] = 0x02;
  setup.memory[0xFF] = 0x01;
  return setup;
}
const std::vector<std::string> TableTexts{"00\\0\\001", "15\\7\\255", Empty, "01\\2\\003",
                                          "16\\0\\000", "07\\3\\100", Empty, "00\\0\\002"};

std::vector<std::string> tableTexts(const ProcedureRig& rig) {
  std::vector<std::string> texts;
  for (Field f : TableFields) texts.push_back(rig.fieldText(f));
  return texts;
}

bool anyGray(const ProcedureRig& rig) {
  for (const auto& change : rig.colourChanges)
    if (change.colour == colour::Gray) return true;
  return false;
}

struct ReadBench : ::testing::Test {
  sim::Scene scene;
  ProcedureRig rig{scene};
  void SetUp() override { rig.setProgressPosition(50); }
};

// Through the exchange's trace a reader sees why frames on a troubled bus were refused:
// each answer comes after a copy with a wrong checksum and one for another station, and
// the read still succeeds on the answers themselves.
TEST_F(ReadBench, ExchangeTraceShowsWhyFramesWereRefused) {
  scene.addDevice(device());
  scene.setWrongChecksums(true);
  scene.setFramesForOtherStations(true);
  std::map<FrameJudgement, int> verdicts;
  rig.exchange.setReceiveTrace([&](const ReceiveMachine::TraceRecord& r) {
    if (r.kind == ReceiveMachine::TraceRecord::Kind::FrameJudged) ++verdicts[r.judgement];
  });
  rig.clearRecords();
  expect::script(rig, {id::Ok, id::Yes, id::Yes});

  ReadClick(rig);

  EXPECT_EQ(rig.fieldText(Field::phAddr), "01.01.005");
  EXPECT_EQ(rig.comboIndexes, (std::array<int, 3>{1, 2, 1}));
  // Exactly one accepted frame per call that returned an answer, and refusals of both kinds.
  const int answers = static_cast<int>(std::count_if(
      rig.results.begin(), rig.results.end(), [](const std::string& r) { return r != "NoReply" && r != "Error"; }));
  EXPECT_GE(answers, 21) << "the search, the check, 16 table bytes, the programs and the input mode";
  EXPECT_EQ(verdicts[FrameJudgement::Accepted], answers);
  EXPECT_GT(verdicts[FrameJudgement::BadChecksum], 0);
  EXPECT_GT(verdicts[FrameJudgement::OtherDestination], 0);
}

TEST_F(ReadBench, FullRun) {
  scene.addDevice(device());
  rig.clearRecords();
  expect::script(rig, {id::Ok, id::Yes, id::Yes});

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, AskPrograms, AskInputMode}));
  EXPECT_EQ(rig.fieldText(Field::phAddr), "01.01.005");
  // The entry with main group 16 was corrected by the validation before the programs.
  std::vector<std::string> corrected = TableTexts;
  corrected[4] = "15\\7\\255";
  EXPECT_EQ(tableTexts(rig), corrected);
  EXPECT_EQ(rig.comboIndexes, (std::array<int, 3>{1, 2, 1}));
  EXPECT_EQ(rig.colour(Combo::OUT1_Prog), colour::Gray);
  EXPECT_EQ(rig.colour(Combo::OUT2_Prog), colour::Gray);
  EXPECT_EQ(rig.colour(Combo::MONO_BI), colour::Gray);
  EXPECT_EQ(rig.colour(Field::phAddr), colour::Gray);
  for (Field f : TableFields) EXPECT_EQ(rig.colour(f), colour::Gray);
  EXPECT_EQ(rig.validationRuns, 1);
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
  ASSERT_EQ(rig.buttonChanges.size(), 2u);
  EXPECT_FALSE(rig.buttonChanges[0].enabled);

  // The telegrams: search, listening, the address check, listening, the table from its
  // last byte down, the two programs and the input mode.
  std::vector<std::string> expected{"98FFFE0000E10100", "", "98FFFE11056342010000", ""};
  for (int k = 16; k >= 1; --k) {
    char text[32];
    std::snprintf(text, sizeof text, "BCFFFE1105634201%04X", 0x1F + k);
    expected.push_back(text);
  }
  expected.push_back("BCFFFE11056342010000");
  expected.push_back("BCFFFE11056342010001");
  expected.push_back("BCFFFE110563420100FF");
  EXPECT_EQ(expect::distinct(expect::telegramsSent(rig)), expected);
  for (const auto& call : rig.sent) {
    const bool listening = call.telegram.empty();
    const std::uint8_t answerCode = call.telegram == "98FFFE0000E10100" ? 5 : 9;
    if (listening) {
      EXPECT_EQ(call.mode, ExchangeMode::FurtherAnswer);
    } else {
      EXPECT_EQ(call, (SentTelegram{call.telegram, 1, answerCode, ExchangeMode::Answer}));
    }
  }
  EXPECT_EQ(expect::callsWith(rig, ""), 4u);
  EXPECT_EQ(framesOnBus(scene, "98FFFE0000E10100"), 1u);
  EXPECT_EQ(framesOnBus(scene, "98FFFE11056342010000"), 1u);

  // The bar: 19 per listening call, a full bar after each check, 6 per table byte.
  const std::vector<int> search{0, 19, 38, 96, 0};
  EXPECT_TRUE(std::equal(search.begin(), search.end(), rig.progressHistory.begin()));
  std::vector<int> table{0};
  for (int p = 6; p <= 96; p += 6) table.push_back(p);
  EXPECT_NE(std::search(rig.progressHistory.begin(), rig.progressHistory.end(), table.begin(), table.end()),
            rig.progressHistory.end());
  EXPECT_EQ(rig.progressHistory.back(), 96);
  EXPECT_EQ(rig.pauses, std::vector<unsigned>(17, 200));
}

TEST_F(ReadBench, NoDeviceInProgrammingMode) {
  scene.addDevice({.address = 0x1105});
  rig.clearRecords();

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, NoDevice}));
  EXPECT_EQ(rig.sent.size(), 3u);
  EXPECT_EQ(rig.progressHistory, (std::vector<int>{0, 19, 38, 57, 0}));
  EXPECT_EQ(rig.fieldText(Field::phAddr), "??.??.???");
  EXPECT_EQ(tableTexts(rig), std::vector<std::string>(8, Empty));
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
  EXPECT_FALSE(anyGray(rig));
}

TEST_F(ReadBench, TwoDevicesInProgrammingMode) {
  scene.addDevice(device(0x1105));
  scene.addDevice(device(0x1106));
  rig.clearRecords();

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, SeveralDevices}));
  EXPECT_EQ(rig.sent.size(), 2u) << "the search, then the listening call that hears the second";
  EXPECT_EQ(rig.progressPosition(), 0);
  EXPECT_EQ(rig.fieldText(Field::phAddr), "??.??.???");
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
}

TEST_F(ReadBench, AddressAnsweredTwiceMeansAMisconfiguredNetwork) {
  scene.addDevice(device(0x1105));
  scene.addDevice({.address = 0x1105});  // not in programming mode, same address
  rig.clearRecords();

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, AddressUsedTwice}));
  EXPECT_EQ(rig.fieldText(Field::phAddr), "01.01.005") << "the address read stays";
  EXPECT_EQ(tableTexts(rig), std::vector<std::string>(8, Empty));
  EXPECT_EQ(rig.progressPosition(), 0);
  EXPECT_FALSE(anyGray(rig));
}

TEST_F(ReadBench, DeviceWithoutMemoryAnswers) {
  sim::DeviceSetup setup = device();
  setup.answersMemoryRead = false;
  scene.addDevice(setup);
  rig.clearRecords();

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, NotAnswering, GroupUnsuccessful}));
  EXPECT_EQ(expect::callsWith(rig, "BCFFFE1105634201002F"), 6u);
  EXPECT_EQ(expect::callsWith(rig, "BCFFFE1105634201002E"), 0u);
  EXPECT_EQ(rig.pauses, (std::vector<unsigned>{200, 200})) << "failed calls repeat at once";
  const std::vector<int> stagesDE(rig.progressHistory.begin() + 5, rig.progressHistory.end());
  EXPECT_EQ(stagesDE, (std::vector<int>{0, 19, 38, 57, 96, 96, 96, 96, 0, 0}))
      << "the full bar stays full while listening; failed table reads do not move it";
  EXPECT_EQ(rig.fieldText(Field::phAddr), "01.01.005");
}

TEST(ReadAddress, ShownInTheFieldAsRead) {
  for (auto [address, text] : {std::pair<std::uint16_t, const char*>{0xA3C8, "10.03.200"}, {0x0000, "00.00.000"}}) {
    sim::Scene scene;
    scene.addDevice(device(address));
    ProcedureRig rig(scene);
    expect::script(rig, {id::Ok, id::No});

    ReadClick(rig);

    EXPECT_EQ(rig.fieldText(Field::phAddr), text);
    EXPECT_EQ(rig.colour(Field::phAddr), colour::Gray);
    EXPECT_EQ(rig.addressMembers.Terminal_phAddr, 0xFFFFu) << "only a validation run changes the member";
  }
}

TEST_F(ReadBench, DecliningTheProgramsLeavesTheTableAsRead) {
  scene.addDevice(device());
  rig.clearRecords();
  expect::script(rig, {id::Ok, id::No});

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, AskPrograms}));
  EXPECT_EQ(tableTexts(rig), TableTexts) << "main group 16 is shown as read";
  const std::array<std::uint8_t, 16> read{0x00, 0x01, 0x7F, 0xFF, 0xFF, 0xFF, 0x0A, 0x03,
                                          0x80, 0x00, 0x3B, 0x64, 0xFF, 0xFF, 0x00, 0x02};
  EXPECT_TRUE(std::equal(read.begin(), read.end(), rig.addressMembers.GrAddr_Bytes.begin()));
  for (const char* t : {"BCFFFE11056342010000", "BCFFFE11056342010001", "BCFFFE110563420100FF"})
    EXPECT_EQ(expect::callsWith(rig, t), 0u) << "no program or input mode telegram";
  EXPECT_EQ(rig.progressPosition(), 96);
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
  for (Field f : TableFields) EXPECT_EQ(rig.colour(f), colour::Gray);
  EXPECT_EQ(rig.colour(Field::phAddr), colour::Gray);
  EXPECT_EQ(rig.beeps, 0);
}

TEST_F(ReadBench, MainGroup16IsCorrectedRedWithABeepWhenGoingOn) {
  scene.addDevice(device());
  rig.clearRecords();
  expect::script(rig, {id::Ok, id::Yes, id::No});

  ReadClick(rig);

  EXPECT_EQ(rig.beeps, 1);
  bool red = false;
  for (const auto& change : rig.colourChanges)
    red = red || (change.field == Field::OUT_1_1 && change.colour == colour::Red);
  EXPECT_TRUE(red);
  EXPECT_EQ(rig.fieldText(Field::OUT_1_1), "15\\7\\255");
  EXPECT_EQ(rig.addressMembers.GrAddr_Bytes[8], 0x7F);
  EXPECT_EQ(rig.addressMembers.Terminal_phAddr, 0x1105u) << "the validation took the address read";
  EXPECT_EQ(rig.colour(Combo::OUT1_Prog), colour::Gray);
  EXPECT_EQ(rig.colour(Combo::MONO_BI), colour::Black) << "the input mode was not read";
  EXPECT_EQ(rig.platform.boxes.back(), AskInputMode);
}

// An answer that comes after its call has given up is taken by the next call. One about
// the byte before must not be stored as the byte asked for: here a stale answer for
// 0x002F (value 0x99) arrives just before the answer for 0x002E.
TEST_F(ReadBench, StaleAnswerForAnotherAddressIsNotStored) {
  scene.addDevice(device());
  rig.clearRecords();
  rig.beforeCall = [&](std::size_t, const std::string& telegram) {
    if (telegram == "BCFFFE1105634201002E" && expect::callsWith(rig, telegram) == 0) {
      scene.injectFrame(sim::withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x41, 0x00, 0x2F, 0x99}));
    }
  };
  expect::script(rig, {id::Ok, id::No});

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{Start, AskPrograms}));
  EXPECT_EQ(tableTexts(rig), TableTexts);
  EXPECT_EQ(rig.addressMembers.GrAddr_Bytes[14], 0x00);
  EXPECT_EQ(expect::callsWith(rig, "BCFFFE1105634201002E"), 2u) << "the stale answer counts as none";
}

struct SelectionCase {
  std::uint8_t program1, program2, inputMode;
  std::array<int, 3> combos;
};

TEST(ReadSelections, DeviceBytesSelectComboItems) {
  const SelectionCase cases[] = {{0x01, 0x02, 0x00, {1, 2, 0}},
                                 {0x05, 0xFF, 0x01, {0, 0, 1}},
                                 {0x00, 0x01, 0xFF, {0, 1, 1}},
                                 {0x02, 0x03, 0x02, {2, 0, 1}}};
  for (const auto& c : cases) {
    sim::Scene scene;
    sim::DeviceSetup setup = device();
    setup.memory[0x00] = c.program1;
    setup.memory[0x01] = c.program2;
    setup.memory[0xFF] = c.inputMode;
    scene.addDevice(setup);
    ProcedureRig rig(scene);
    rig.comboIndexes = {2, 2, 0};
    expect::script(rig, {id::Ok, id::Yes, id::Yes});

    ReadClick(rig);

    EXPECT_EQ(rig.comboIndexes, c.combos) << int(c.program1) << " " << int(c.program2) << " " << int(c.inputMode);
  }
}

// The port fails from one exchange on; each stage stops with its own box after the
// exchange's, as many times as the stage calls.
struct PortFailureCase {
  const char* name;
  const char* failingTelegram;  // the line breaks before its first exchange
  std::vector<ShownBox> boxes;
  std::size_t attempts;  // exchanges of the failing telegram
  friend void PrintTo(const PortFailureCase& c, std::ostream* os) { *os << c.name; }
};

class ReadPortFailure : public ::testing::TestWithParam<PortFailureCase> {};

TEST_P(ReadPortFailure, StopsWithTheStagesBox) {
  const PortFailureCase& c = GetParam();
  sim::Scene scene;
  scene.addDevice(device());
  ProcedureRig rig(scene);
  expect::script(rig, {id::Ok, id::Yes, id::Yes});
  expect::breakLineAt(rig, scene, c.failingTelegram);

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, c.boxes);
  EXPECT_EQ(expect::callsWith(rig, c.failingTelegram), c.attempts);
  EXPECT_EQ(rig.sent.back().telegram, c.failingTelegram) << "nothing is sent after the failure";
  EXPECT_EQ(rig.progressPosition(), 0);
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
  EXPECT_NE(rig.colour(Field::phAddr), colour::Gray) << "only the end step marks the fields as read";
  EXPECT_NE(rig.colour(Field::IN_1_1), colour::Gray);
}

std::vector<ShownBox> boxes(std::vector<ShownBox> head, std::size_t transmissions, const ShownBox& last) {
  head.insert(head.end(), transmissions, T);
  head.push_back(last);
  return head;
}

INSTANTIATE_TEST_SUITE_P(
    Stages, ReadPortFailure,
    ::testing::Values(
        PortFailureCase{"Search", "98FFFE0000E10100", boxes({Start}, 1, ReadFailed), 1},
        PortFailureCase{"AddressCheck", "98FFFE11056342010000", boxes({Start}, 1, CheckFailed), 1},
        PortFailureCase{"GroupTable", "BCFFFE1105634201002F", boxes({Start}, 6, GroupError), 6},
        PortFailureCase{"LastTableByte", "BCFFFE11056342010020", boxes({Start}, 6, GroupError), 6},
        PortFailureCase{"Programs", "BCFFFE11056342010000", boxes({Start, AskPrograms}, 3, ProgramError), 3},
        PortFailureCase{"SecondProgram", "BCFFFE11056342010001", boxes({Start, AskPrograms}, 3, ProgramError), 3},
        PortFailureCase{"InputMode", "BCFFFE110563420100FF",
                        boxes({Start, AskPrograms, AskInputMode}, 3, InputModeError), 3}),
    [](const ::testing::TestParamInfo<PortFailureCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kolvaro::test
