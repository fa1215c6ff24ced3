// Paths through the write, the read and group switching that a user meets on a real bus
// and that the straight runs do not take: writes confirmed or never confirmed stage by
// stage, the listening step, the pauses of the table, a device that falls silent part
// way through a read, the order in which the read fills the window, and group switching
// with mixed exchange outcomes. All on the simulated bus.
#include <gtest/gtest.h>

#include "ProcedureExpectations.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;
using expect::error;
using expect::notice;
using expect::question;
using namespace expect::write;

constexpr char Empty[] = "  \\ \\   ";
const ShownBox& Transmission = expect::Transmission;

// ---- write ------------------------------------------------------------------------------

const std::vector<ShownBox> WholeWrite{AddressFree,  AskGroupTable, AskPrograms,
                                       ProgramsDone, AskInputMode,  InputModeDone};

// Device 01.01.005 is written with WY1 switch-on delay (01), WY2 switch-off delay (02)
// and bistable inputs (01) into a device at 1.1.1 in programming mode.
void prepareWrite(ProcedureRig& rig) {
  rig.texts[static_cast<std::size_t>(Field::phAddr)] = "01.01.005";
  rig.comboIndexes = {1, 2, 1};
  rig.runValidation();
  rig.clearRecords();
  expect::script(rig, {id::Ok, id::Yes, id::Yes, id::Ok, id::Yes, id::Ok});
}

// The writes that wait for the chip's confirmation, stage by stage: confirmed, each goes
// out once and fills the bar; never confirmed, each goes out three times, the bar rises
// by 32 per attempt, and the run goes on to its next step as if it had been confirmed.
struct ConfirmedWriteCase {
  const char* name;
  const char* telegram;
  bool confirmed;
  friend void PrintTo(const ConfirmedWriteCase& c, std::ostream* os) { *os << c.name; }
};

class WriteConfirmation : public ::testing::TestWithParam<ConfirmedWriteCase> {};

TEST_P(WriteConfirmation, OnceWhenConfirmedThreeTimesWhenNot) {
  const ConfirmedWriteCase& c = GetParam();
  sim::Scene scene;
  sim::Device& device = scene.addDevice({.address = 0x1101, .programmingMode = true});
  ProcedureRig rig(scene);
  prepareWrite(rig);
  std::size_t stageStart = 0;
  rig.beforeCall = [&](std::size_t, const std::string& telegram) {
    // Only this stage's frames go unconfirmed.
    scene.setChipNeverConfirms(!c.confirmed && telegram == c.telegram);
    if (telegram != c.telegram || stageStart != 0) return;
    stageStart = rig.progressHistory.size();  // the stage's own reset of the bar is the last entry
  };

  WriteClick(rig);
  scene.setChipNeverConfirms(false);
  scene.advance(1s);

  EXPECT_EQ(rig.platform.boxes, WholeWrite) << "an unconfirmed write counts as done";
  const std::size_t attempts = c.confirmed ? 1 : 3;
  EXPECT_EQ(expect::callsWith(rig, c.telegram), attempts);
  EXPECT_EQ(framesOnBus(scene, c.telegram), attempts);
  for (const auto& call : rig.sent) {
    if (call.telegram == c.telegram) {
      EXPECT_EQ(call, (SentTelegram{c.telegram, 1, 255, ExchangeMode::Confirmation}));
    }
  }
  ASSERT_GT(stageStart, 0u);
  const std::vector<int> expectedBar = c.confirmed ? std::vector<int>{0, 96} : std::vector<int>{0, 32, 64, 96, 96};
  const auto from = rig.progressHistory.begin() + static_cast<std::ptrdiff_t>(stageStart - 1);
  ASSERT_LE(stageStart - 1 + expectedBar.size(), rig.progressHistory.size());
  EXPECT_EQ(std::vector<int>(from, from + static_cast<std::ptrdiff_t>(expectedBar.size())), expectedBar);
  EXPECT_EQ(device.address(), 0x1105);
  EXPECT_EQ(device.memory()[0x00], 0x01);
  EXPECT_EQ(device.memory()[0x01], 0x02);
  EXPECT_EQ(device.memory()[0xFF], 0x01);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
}

INSTANTIATE_TEST_SUITE_P(
    Stages, WriteConfirmation,
    ::testing::Values(ConfirmedWriteCase{"AssignmentConfirmed", "BCFFFE0000E300C01105", true},
                      ConfirmedWriteCase{"AssignmentNeverConfirmed", "BCFFFE0000E300C01105", false},
                      ConfirmedWriteCase{"ProgramWY1Confirmed", "BCFFFE1105644281000001", true},
                      ConfirmedWriteCase{"ProgramWY1NeverConfirmed", "BCFFFE1105644281000001", false},
                      ConfirmedWriteCase{"ProgramWY2Confirmed", "BCFFFE1105644281000102", true},
                      ConfirmedWriteCase{"ProgramWY2NeverConfirmed", "BCFFFE1105644281000102", false},
                      ConfirmedWriteCase{"InputModeConfirmed", "BCFFFE110564428100FF01", true},
                      ConfirmedWriteCase{"InputModeNeverConfirmed", "BCFFFE110564428100FF01", false}),
    [](const ::testing::TestParamInfo<ConfirmedWriteCase>& param) { return std::string(param.param.name); });

// After the first answer to the search the run only listens: nothing is written to the
// port for it, and it waits for a further physical address answer.
TEST(WriteSearch, ListeningStepSendsNothing) {
  sim::Scene scene;
  scene.addDevice({.address = 0x1101, .programmingMode = true});
  ProcedureRig rig(scene);
  prepareWrite(rig);
  WriteClick(rig);

  const SentTelegram listening{"", 1, 5, ExchangeMode::FurtherAnswer};
  EXPECT_EQ(std::count(rig.sent.begin(), rig.sent.end(), listening), 2) << "two listening calls";
  std::size_t quiet = 0;
  for (const auto& line : rig.memo) quiet += line.empty() ? 1 : 0;
  EXPECT_EQ(quiet, 0u) << "a listening call writes no text to the port or the log";
  EXPECT_EQ(framesOnBus(scene, "98FFFE0000E10100"), 1u);
}

// Each table byte is written after its 200 ms pause, never before it.
TEST(WriteTable, EachTelegramFollowsItsPause) {
  sim::Scene scene;
  scene.addDevice({.address = 0x1101, .programmingMode = true});
  ProcedureRig rig(scene);
  prepareWrite(rig);
  std::vector<std::size_t> pausesBeforeEach;
  std::vector<std::chrono::microseconds> sentAt;
  rig.beforeCall = [&](std::size_t, const std::string& telegram) {
    if (telegram.rfind("B0", 0) != 0) return;
    pausesBeforeEach.push_back(rig.pauses.size());
    sentAt.push_back(scene.now());
  };

  WriteClick(rig);

  std::vector<std::size_t> expected;
  for (std::size_t k = 1; k <= 16; ++k) expected.push_back(k);
  EXPECT_EQ(pausesBeforeEach, expected);
  ASSERT_EQ(sentAt.size(), 16u);
  for (std::size_t i = 1; i < sentAt.size(); ++i) EXPECT_GE(sentAt[i] - sentAt[i - 1], 200ms) << i;
}

// ---- read -------------------------------------------------------------------------------

const ShownBox StartRead =
    notice("Wprowadź element magistralny w tryb programowania i naciśnij OK.\nZostanie rozpoczęty odczyt.");
const ShownBox AskReadPrograms = question(
    "Odczyt adresów grupowych zakończony.\nCzy odczytać wybrany program, wykonywany przez element magistralny.");
const ShownBox AskReadInputMode =
    question("Odczyt wybranych programów zakończony.\nCzy odczytać aktualny tryb pracy wejść.");
const ShownBox ProgramUnsuccessful = error("Odczyt numeru programu zakończył się niepomyślnie", true);
const ShownBox InputModeUnsuccessful = error("Odczyt trybu pracy wejść zakończył się niepomyślnie", true);
const ShownBox GroupUnsuccessful = error("Odczyt adresów grupowych zakończył się niepomyślnie", true);

// The table 1.1.5 holds: entries 00\0\001, 15\7\255, none, 01\2\003, 07\3\100, none,
// 00\0\002, 05\1\009 in memory order.
const std::uint8_t DeviceTable[16] = {0x00, 0x01, 0x7F, 0xFF, 0xFF, 0xFF, 0x0A, 0x03,
                                      0x3B, 0x64, 0xFF, 0xFF, 0x00, 0x02, 0x29, 0x09};
const char* const DeviceTableTexts[8] = {"00\\0\\001", "15\\7\\255", Empty,        "01\\2\\003",
                                         "07\\3\\100", Empty,        "00\\0\\002", "05\\1\\009"};

sim::Device& addReadDevice(sim::Scene& scene) {
  sim::DeviceSetup setup{.address = 0x1105, .programmingMode = true};
  for (std::size_t i = 0; i < 16; ++i) setup.memory[0x20 + i] = DeviceTable[i];
  setup.memory[0x00] = 0x01;
  setup.memory[0x01] = 0x02;
  setup.memory[0xFF] = 0x01;
  return scene.addDevice(setup);
}

bool anyGray(const ProcedureRig& rig) {
  for (const auto& change : rig.colourChanges)
    if (change.colour == colour::Gray) return true;
  return false;
}

// The device stops answering memory reads when the stage's first telegram goes out: the
// stage makes three calls, the bar rises by 32 for each, then falls to 0 under its box.
struct SilentStageCase {
  const char* name;
  const char* telegram;
  std::vector<ShownBox> boxes;
  std::array<int, 3> combos;  // what the run selected before it stopped
  bool programsGray;          // the programs were read in full before the stop
  friend void PrintTo(const SilentStageCase& c, std::ostream* os) { *os << c.name; }
};

class ReadSilentStage : public ::testing::TestWithParam<SilentStageCase> {};

TEST_P(ReadSilentStage, ThreeCallsThenTheStagesBox) {
  const SilentStageCase& c = GetParam();
  sim::Scene scene;
  sim::Device& device = addReadDevice(scene);
  ProcedureRig rig(scene);
  rig.comboIndexes = {0, 0, 0};
  expect::script(rig, {id::Ok, id::Yes, id::Yes});
  std::size_t stageStart = 0;
  rig.beforeCall = [&](std::size_t, const std::string& telegram) {
    if (telegram != c.telegram || stageStart != 0) return;
    stageStart = rig.progressHistory.size();
    device.answersMemoryRead = false;
  };

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, c.boxes);
  EXPECT_EQ(expect::callsWith(rig, c.telegram), 3u);
  EXPECT_EQ(rig.sent.back().telegram, c.telegram) << "nothing is sent after the stop";
  ASSERT_GT(stageStart, 0u);
  const std::vector<int> bar(rig.progressHistory.begin() + static_cast<std::ptrdiff_t>(stageStart - 1),
                             rig.progressHistory.end());
  EXPECT_EQ(bar, (std::vector<int>{0, 32, 64, 96, 0}));
  EXPECT_EQ(rig.comboIndexes, c.combos);
  // Only the end step marks the address and the table as read; the programs are marked
  // once both are in.
  EXPECT_NE(rig.colour(Field::phAddr), colour::Gray);
  EXPECT_NE(rig.colour(Field::IN_1_1), colour::Gray);
  EXPECT_EQ(rig.colour(Combo::OUT1_Prog) == colour::Gray, c.programsGray);
  EXPECT_EQ(rig.colour(Combo::OUT2_Prog) == colour::Gray, c.programsGray);
  EXPECT_NE(rig.colour(Combo::MONO_BI), colour::Gray);
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
}

INSTANTIATE_TEST_SUITE_P(
    Stages, ReadSilentStage,
    ::testing::Values(
        SilentStageCase{
            "ProgramWY1", "BCFFFE11056342010000", {StartRead, AskReadPrograms, ProgramUnsuccessful}, {0, 0, 0}, false},
        SilentStageCase{
            "ProgramWY2", "BCFFFE11056342010001", {StartRead, AskReadPrograms, ProgramUnsuccessful}, {1, 0, 0}, false},
        SilentStageCase{"InputMode",
                        "BCFFFE110563420100FF",
                        {StartRead, AskReadPrograms, AskReadInputMode, InputModeUnsuccessful},
                        {1, 2, 0},
                        true}),
    [](const ::testing::TestParamInfo<SilentStageCase>& param) { return std::string(param.param.name); });

// The start texts are set while Read is still enabled; then Read is disabled and the table
// fills field by field as each entry's two bytes arrive, from OUT_2_2 down to IN_1_1.
TEST(ReadOrder, StartTextsThenFieldsAsTheirBytesArrive) {
  sim::Scene scene;
  addReadDevice(scene);
  ProcedureRig rig(scene);
  expect::script(rig, {id::Ok, id::No});
  struct Write {
    Field field;
    bool readEnabled;
    std::size_t tableReads;  // table bytes asked for so far
    std::string text;
  };
  std::vector<Write> writes;
  std::size_t tableReads = 0;
  rig.beforeCall = [&](std::size_t, const std::string& telegram) {
    if (telegram.rfind("BCFFFE1105634201", 0) == 0 && expect::callsWith(rig, telegram) == 0) ++tableReads;
  };
  rig.onFieldTextSet = [&](Field f) {
    writes.push_back({f, rig.buttonEnabled(Button::Read), tableReads, rig.fieldText(f)});
  };

  ReadClick(rig);

  ASSERT_EQ(writes.size(), 18u) << "nine start texts, the address, eight table entries";
  EXPECT_EQ(writes[0].field, Field::phAddr);
  EXPECT_EQ(writes[0].text, "??.??.???");
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_TRUE(writes[i].readEnabled) << "start text " << i << " is set before Read is disabled";
    if (i > 0) {
      EXPECT_EQ(writes[i].field, GroupFields[i - 1]);
      EXPECT_EQ(writes[i].text, Empty);
    }
  }
  EXPECT_EQ(writes[9].field, Field::phAddr);
  EXPECT_EQ(writes[9].text, "01.01.005");
  EXPECT_FALSE(writes[9].readEnabled);
  for (std::size_t n = 0; n < 8; ++n) {
    const Write& w = writes[10 + n];
    const std::size_t entry = 7 - n;
    EXPECT_EQ(w.field, GroupFields[entry]) << n;
    EXPECT_EQ(w.tableReads, 2 * (n + 1)) << "entry " << entry << " is shown once its two bytes are in";
    EXPECT_EQ(w.text, DeviceTableTexts[entry]);
    EXPECT_FALSE(w.readEnabled);
  }
}

// The device falls silent at one table byte: the entries read before it show their texts,
// the rest keep the empty group text; the bytes read so far are in GrAddr_Bytes, the
// failed one and those after it keep their old values; nothing turns gray.
class ReadTableStop : public ::testing::TestWithParam<int> {};

TEST_P(ReadTableStop, LeavesWhatWasReadAndNothingElse) {
  const int silentFrom = GetParam();  // memory address of the byte that gets no answer
  sim::Scene scene;
  sim::Device& device = addReadDevice(scene);
  ProcedureRig rig(scene);
  const auto before = rig.addressMembers.GrAddr_Bytes;
  char silentTelegram[32];
  std::snprintf(silentTelegram, sizeof silentTelegram, "BCFFFE1105634201%04X", silentFrom);
  rig.beforeCall = [&](std::size_t, const std::string& telegram) {
    if (telegram == silentTelegram) device.answersMemoryRead = false;
  };
  expect::script(rig, {id::Ok});

  ReadClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{StartRead, GroupUnsuccessful}));
  EXPECT_EQ(expect::callsWith(rig, silentTelegram), 6u);
  EXPECT_EQ(rig.progressPosition(), 0);
  const int failedIndex = silentFrom - 0x20;
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t expected = i > failedIndex ? DeviceTable[i] : before[static_cast<std::size_t>(i)];
    EXPECT_EQ(rig.addressMembers.GrAddr_Bytes[static_cast<std::size_t>(i)], expected) << "byte " << i;
  }
  for (int entry = 0; entry < 8; ++entry) {
    const bool complete = 2 * entry > failedIndex;
    EXPECT_EQ(rig.fieldText(GroupFields[entry]), complete ? DeviceTableTexts[entry] : Empty) << "entry " << entry;
  }
  EXPECT_EQ(rig.fieldText(Field::phAddr), "01.01.005");
  EXPECT_FALSE(anyGray(rig));
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
}

INSTANTIATE_TEST_SUITE_P(SilentByte, ReadTableStop, ::testing::Values(0x2F, 0x2E, 0x27, 0x26, 0x20));

// ---- group switching ----------------------------------------------------------------------

// The three sends share one attempt counter whatever their outcome; the third outcome
// decides between the final send and a stop. The bar's step is never touched.
struct MixedCase {
  const char* name;
  std::vector<bool> failing;  // per send: the port refuses it ("Error") or takes it ("NoReply")
  std::size_t sends;
  std::vector<int> bar;
  bool finalSend;
  friend void PrintTo(const MixedCase& c, std::ostream* os) { *os << c.name; }
};

class GroupSwitchingMixed : public ::testing::TestWithParam<MixedCase> {};

TEST_P(GroupSwitchingMixed, OneCounterForEveryOutcome) {
  const MixedCase& c = GetParam();
  sim::Scene scene;
  ProcedureRig rig(scene);
  rig.enter(Field::OnOffGroup, "00\\0\\002");
  rig.clearRecords();
  rig.beforeCall = [&](std::size_t n, const std::string&) { rig.writesFail = n < c.failing.size() && c.failing[n]; };

  OnGroupClick(rig);
  scene.advance(2s);

  ASSERT_EQ(rig.sent.size(), c.sends);
  std::size_t errors = 0;
  for (std::size_t n = 0; n < rig.sent.size(); ++n) {
    const bool last = c.finalSend && n + 1 == rig.sent.size();
    EXPECT_EQ(rig.sent[n], (SentTelegram{"BCFFFE0002E10081", last ? 1 : -1, 255, ExchangeMode::Confirmation})) << n;
    if (n < c.failing.size() && c.failing[n]) {
      EXPECT_EQ(rig.results[n], "Error") << n;
      ++errors;
    }
  }
  EXPECT_EQ(rig.platform.boxes, std::vector<ShownBox>(errors, Transmission));
  EXPECT_EQ(rig.progressHistory, c.bar);
  EXPECT_EQ(framesOnBus(scene, "BCFFFE0002E10081"), c.sends - errors);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, GroupSwitchingMixed,
    ::testing::Values(MixedCase{"ErrorErrorNoReply", {true, true, false}, 4, {0, 32, 96}, true},
                      MixedCase{"ErrorNoReplyError", {true, false, true}, 3, {0, 32, 0}, false},
                      MixedCase{"NoReplyErrorError", {false, true, true}, 3, {0, 32, 0}, false},
                      MixedCase{"NoReplyNoReplyError", {false, false, true}, 3, {0, 32, 64, 0}, false},
                      MixedCase{"ErrorNoReplyNoReply", {true, false, false}, 4, {0, 32, 64, 96}, true}),
    [](const ::testing::TestParamInfo<MixedCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kolvaro::test
