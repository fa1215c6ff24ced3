// The Write button against the simulated bus: what the user sees, what goes on the bus
// and what the device holds afterwards.
#include <gtest/gtest.h>

#include "ProcedureExpectations.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;
using expect::error;
using expect::notice;
using expect::question;
using namespace expect::write;

const ShownBox AddressCheckFailed = error("Wystąpił błąd podczas weryfikacji dostępności adresu fizycznego");
const ShownBox AddressTaken{
    "Zadany adres fizyczny jest już zajęty przez terminal sieci EIB.\n"
    "Czy przeprowadzić procedurę konfiguracji pomimo tego?",
    std::nullopt, 0x42114};
const ShownBox EnterProgrammingMode = notice("Wprowadź element magistralny w tryb programowania i naciśnij OK.");
const ShownBox ConfigurationFailed = error("Wystąpił błąd podczas konfiguracji");
const ShownBox NoDeviceInProgrammingMode = error("Żaden terminal nie znajduje się w trybie programowania");
const ShownBox SeveralDevicesInProgrammingMode =
    error("W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.", true);
const ShownBox& T = expect::Transmission;

constexpr char AddressCheck[] = "BCFFFE11056342010000";
constexpr char AddressRead[] = "98FFFE0000E10100";
constexpr char AddressWrite[] = "BCFFFE0000E300C01105";

// The configuration the window holds in these tests: device 01.01.005, a table with
// every kind of entry (blank ones included), WY1 switch-on delay, WY2 switch-off
// delay, bistable inputs.
void enterConfiguration(ProcedureRig& rig) {
  rig.texts[static_cast<std::size_t>(Field::phAddr)] = "01.01.005";
  const char* groups[] = {"00\\0\\001", "15\\7\\255", "01\\2\\003", "  \\ \\   ",
                          "00\\0\\002", "  \\ \\   ", "07\\3\\100", "05\\ \\   "};
  for (std::size_t i = 0; i < 8; ++i) rig.texts[static_cast<std::size_t>(Field::IN_1_1) + i] = groups[i];
  rig.comboIndexes = {1, 2, 1};
  rig.runValidation();
  rig.clearRecords();
}
// The table as it must reach the device, memory order 0x0020..0x002F.
const std::vector<std::uint8_t> TableBytes{0x00, 0x01, 0x7F, 0xFF, 0x0A, 0x03, 0xFF, 0xFF,
                                           0x00, 0x02, 0xFF, 0xFF, 0x3B, 0x64, 0xFF, 0xFF};

sim::DeviceSetup programmingDevice(std::uint16_t address = 0x1101) {
  sim::DeviceSetup setup;
  setup.address = address;
  setup.programmingMode = true;
  for (std::size_t i = 0; i < 16; ++i) setup.memory[0x20 + i] = 0x55;  // an old table
  setup.memory[0x00] = 0x55;
  setup.memory[0x01] = 0x55;
  setup.memory[0xFF] = 0x55;
  return setup;
}

std::vector<std::uint8_t> tableOf(const sim::Device& device) {
  return {device.memory().begin() + 0x20, device.memory().begin() + 0x30};
}

std::vector<int> rise(int from, int by, int count) {
  std::vector<int> positions;
  for (int i = 0; i < count; ++i) positions.push_back(from + by * i);
  return positions;
}

struct WriteBench : ::testing::Test {
  sim::Scene scene;
  ProcedureRig rig{scene};
};

TEST_F(WriteBench, UnknownAddressRefusesToStart) {
  rig.texts[static_cast<std::size_t>(Field::phAddr)] = "??.??.???";
  rig.clearRecords();

  WriteClick(rig);

  EXPECT_TRUE(rig.sent.empty());
  EXPECT_TRUE(scene.log().empty());
  EXPECT_EQ(rig.validationRuns, 1) << "the field check still runs";
  EXPECT_EQ(rig.texts[static_cast<std::size_t>(Field::phAddr)], "15.15.255");
  EXPECT_EQ(rig.colour(Field::phAddr), colour::Red);
  EXPECT_EQ(rig.beeps, 1);
  EXPECT_TRUE(rig.buttonChanges.empty()) << "Write is not touched";
  EXPECT_TRUE(rig.platform.boxes.empty());
}

TEST_F(WriteBench, FullRunWritesWhatTheWindowHolds) {
  sim::Device& device = scene.addDevice(programmingDevice());
  enterConfiguration(rig);
  expect::script(rig, {id::Ok, id::Yes, id::Yes, id::Ok, id::Yes, id::Ok});

  WriteClick(rig);
  scene.advance(1s);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{AddressFree, AskGroupTable, AskPrograms, ProgramsDone,
                                                       AskInputMode, InputModeDone}));
  EXPECT_EQ(device.address(), 0x1105);
  EXPECT_EQ(tableOf(device), TableBytes);
  EXPECT_EQ(device.memory()[0x00], 0x01);
  EXPECT_EQ(device.memory()[0x01], 0x02);
  EXPECT_EQ(device.memory()[0xFF], 0x01);

  // The bus: the address check three times, one search, one assignment, the table from
  // its last byte to its first, each byte once, then the programs and the input mode.
  std::vector<std::string> expected{AddressCheck, asOnBus(AddressRead), "BC1101FFFE610140", AddressWrite};
  for (int k = 16; k >= 1; --k) {
    char text[32];
    std::snprintf(text, sizeof text, "B0FFFE1105644281%04X%02X", 0x1F + k, TableBytes[static_cast<std::size_t>(k - 1)]);
    expected.push_back(text);
  }
  expected.push_back("BCFFFE1105644281000001");
  expected.push_back("BCFFFE1105644281000102");
  expected.push_back("BCFFFE110564428100FF01");
  EXPECT_EQ(expect::distinct(telegramsOnBus(scene)), expected);
  EXPECT_EQ(framesOnBus(scene, AddressCheck), 3u);
  for (std::size_t i = 4; i < 20; ++i) EXPECT_EQ(framesOnBus(scene, expected[i]), 1u) << expected[i];

  EXPECT_EQ(rig.pauses, std::vector<unsigned>(16, 200));
  std::size_t tableWrites = 0;
  for (const auto& call : rig.sent) {
    if (call.telegram.rfind("B0", 0) != 0) continue;
    ++tableWrites;
    EXPECT_EQ(call, (SentTelegram{call.telegram, -1, 255, ExchangeMode::Confirmation})) << "table writes never wait";
  }
  EXPECT_EQ(tableWrites, 16u);
  EXPECT_EQ(rig.validationRuns, 3) << "at the start, before the programs, before the input mode";

  // The bar: stage 1 rises by 32, stage 2 by 19 while listening, stage 4 by 6 per byte;
  // every stage ends full.
  const std::vector<int> firstStages{0, 32, 64, 96, 96, 0, 19, 38, 96, 0};
  EXPECT_TRUE(std::equal(firstStages.begin(), firstStages.end(), rig.progressHistory.begin()));
  std::vector<int> table{0};
  for (int p : rise(6, 6, 16)) table.push_back(p);
  EXPECT_NE(std::search(rig.progressHistory.begin(), rig.progressHistory.end(), table.begin(), table.end()),
            rig.progressHistory.end());
  EXPECT_EQ(rig.progressHistory.back(), 96);

  ASSERT_EQ(rig.buttonChanges.size(), 2u);
  EXPECT_FALSE(rig.buttonChanges[0].enabled);
  EXPECT_TRUE(rig.buttonChanges[1].enabled);
  EXPECT_EQ(rig.buttonChanges[1].button, Button::Write);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
}

TEST_F(WriteBench, AddressTakenAndTheUserDeclines) {
  scene.addDevice({.address = 0x1105});
  enterConfiguration(rig);
  // No is the default button of the question; nothing is scripted.

  WriteClick(rig);

  EXPECT_EQ(rig.platform.boxes, std::vector<ShownBox>{AddressTaken});
  EXPECT_EQ(rig.sent.size(), 1u) << "nothing is sent after the answer";
  EXPECT_EQ(rig.progressPosition(), 0);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
}

TEST_F(WriteBench, AddressTakenAndTheUserGoesOnAssignsItAgain) {
  sim::Device& holder = scene.addDevice({.address = 0x1105});
  sim::Device& target = scene.addDevice(programmingDevice());
  enterConfiguration(rig);
  expect::script(rig, {id::Yes, id::Ok, id::No});

  WriteClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{AddressTaken, EnterProgrammingMode, AskGroupTable}));
  EXPECT_EQ(target.address(), 0x1105);
  EXPECT_EQ(holder.address(), 0x1105);
  EXPECT_EQ(expect::callsWith(rig, AddressCheck), 1u);
  EXPECT_EQ(rig.progressPosition(), 96);
}

TEST_F(WriteBench, NoDeviceInProgrammingMode) {
  scene.addDevice({.address = 0x1101});
  enterConfiguration(rig);

  WriteClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{AddressFree, NoDeviceInProgrammingMode}));
  EXPECT_EQ(expect::callsWith(rig, AddressRead), 3u);
  EXPECT_EQ(framesOnBus(scene, AddressRead), 3u);
  const std::vector<int> tail(rig.progressHistory.end() - 5, rig.progressHistory.end());
  EXPECT_EQ(tail, (std::vector<int>{0, 19, 38, 57, 0}));
  EXPECT_EQ(framesOnBus(scene, AddressWrite), 0u);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
}

TEST_F(WriteBench, TwoDevicesInProgrammingMode) {
  sim::Device& first = scene.addDevice(programmingDevice(0x1101));
  sim::Device& second = scene.addDevice(programmingDevice(0x1102));
  enterConfiguration(rig);

  WriteClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{AddressFree, SeveralDevicesInProgrammingMode}));
  EXPECT_EQ(expect::callsWith(rig, AddressRead), 1u) << "the first answer ends the search";
  EXPECT_EQ(framesOnBus(scene, AddressWrite), 0u);
  EXPECT_EQ(first.address(), 0x1101);
  EXPECT_EQ(second.address(), 0x1102);
  EXPECT_EQ(rig.progressPosition(), 0);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
}

TEST_F(WriteBench, UnconfirmedAddressWriteStillReachesTheQuestion) {
  sim::Device& device = scene.addDevice(programmingDevice());
  scene.setChipNeverConfirms(true);
  enterConfiguration(rig);
  expect::script(rig, {id::Ok, id::No});

  WriteClick(rig);

  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{AddressFree, AskGroupTable}));
  EXPECT_EQ(expect::callsWith(rig, AddressWrite), 3u);
  EXPECT_EQ(framesOnBus(scene, AddressWrite), 3u);
  const std::vector<int> tail(rig.progressHistory.end() - 5, rig.progressHistory.end());
  EXPECT_EQ(tail, (std::vector<int>{0, 32, 64, 96, 96}));
  EXPECT_EQ(device.address(), 0x1105);
}

// Each No ends the run with the bar at 96, Write enabled and nothing further on the bus.
struct DeclineCase {
  const char* name;
  std::vector<int> answers;
  std::vector<ShownBox> boxes;
  bool tableWritten;
  bool programsWritten;
  friend void PrintTo(const DeclineCase& c, std::ostream* os) { *os << c.name; }
};

class WriteDeclines : public ::testing::TestWithParam<DeclineCase> {};

TEST_P(WriteDeclines, EndWithTheBarFull) {
  const DeclineCase& c = GetParam();
  sim::Scene scene;
  sim::Device& device = scene.addDevice(programmingDevice());
  ProcedureRig rig(scene);
  enterConfiguration(rig);
  for (int a : c.answers) rig.platform.answer(a);

  WriteClick(rig);
  scene.advance(1s);

  EXPECT_EQ(rig.platform.boxes, c.boxes);
  std::size_t tableFrames = 0;
  for (const auto& text : telegramsOnBus(scene)) tableFrames += text.rfind("B0FFFE1105644281", 0) == 0 ? 1 : 0;
  EXPECT_EQ(tableFrames, c.tableWritten ? 16u : 0u);
  EXPECT_EQ(framesOnBus(scene, "BCFFFE1105644281000001") > 0, c.programsWritten);
  EXPECT_EQ(framesOnBus(scene, "BCFFFE110564428100FF01"), 0u);
  EXPECT_EQ(rig.progressPosition(), 96);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
  EXPECT_EQ(device.address(), 0x1105);
  EXPECT_EQ(tableOf(device) == TableBytes, c.tableWritten);
  EXPECT_EQ(device.memory()[0x00] == 0x01 && device.memory()[0x01] == 0x02, c.programsWritten);
  EXPECT_EQ(device.memory()[0xFF], 0x55) << "the input mode is never written";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WriteDeclines,
    ::testing::Values(
        DeclineCase{"GroupTable", {id::Ok, id::No}, {AddressFree, AskGroupTable}, false, false},
        DeclineCase{"Programs", {id::Ok, id::Yes, id::No}, {AddressFree, AskGroupTable, AskPrograms}, true, false},
        DeclineCase{"InputMode",
                    {id::Ok, id::Yes, id::Yes, id::Ok, id::No},
                    {AddressFree, AskGroupTable, AskPrograms, ProgramsDone, AskInputMode},
                    true,
                    true}),
    [](const ::testing::TestParamInfo<DeclineCase>& param) { return std::string(param.param.name); });

// The port fails from one exchange on: stages 1 and 2 add their own box, later stages
// rely on the exchange's (retrying it while their counter allows), and what was
// written before stays in the device.
struct PortFailureCase {
  const char* name;
  const char* failingTelegram;  // the line breaks before its first exchange
  std::vector<ShownBox> boxes;
  std::size_t attempts;           // exchanges of the failing telegram
  std::size_t tableBytesWritten;  // counted from 0x002F down
  bool firstProgramWritten;
  friend void PrintTo(const PortFailureCase& c, std::ostream* os) { *os << c.name; }
};

class WritePortFailure : public ::testing::TestWithParam<PortFailureCase> {};

TEST_P(WritePortFailure, EndsWithTheBarEmpty) {
  const PortFailureCase& c = GetParam();
  sim::Scene scene;
  sim::Device& device = scene.addDevice(programmingDevice());
  ProcedureRig rig(scene);
  enterConfiguration(rig);
  expect::script(rig, {id::Ok, id::Yes, id::Yes, id::Ok, id::Yes, id::Ok});
  expect::breakLineAt(rig, scene, c.failingTelegram);

  WriteClick(rig);

  EXPECT_EQ(rig.platform.boxes, c.boxes);
  EXPECT_EQ(expect::callsWith(rig, c.failingTelegram), c.attempts);
  EXPECT_EQ(rig.sent.back().telegram, c.failingTelegram) << "nothing is sent after the failure";
  EXPECT_EQ(rig.progressPosition(), 0);
  EXPECT_TRUE(rig.buttonEnabled(Button::Write));
  std::size_t written = 0;
  for (std::size_t i = 16; i-- > 0 && device.memory()[0x20 + i] == TableBytes[i];) ++written;
  EXPECT_EQ(written, c.tableBytesWritten);
  EXPECT_EQ(device.memory()[0x00] == 0x01, c.firstProgramWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Stages, WritePortFailure,
    ::testing::Values(
        PortFailureCase{"AddressCheck", AddressCheck, {T, AddressCheckFailed}, 1, 0, false},
        PortFailureCase{"Search", AddressRead, {AddressFree, T, ConfigurationFailed}, 1, 0, false},
        PortFailureCase{"Assignment", AddressWrite, {AddressFree, T, T, T}, 3, 0, false},
        PortFailureCase{"FirstTableByte", "B0FFFE1105644281002FFF", {AddressFree, AskGroupTable, T}, 1, 0, false},
        PortFailureCase{"MiddleOfTable", "B0FFFE11056442810027FF", {AddressFree, AskGroupTable, T}, 1, 8, false},
        PortFailureCase{
            "FirstProgram", "BCFFFE1105644281000001", {AddressFree, AskGroupTable, AskPrograms, T, T, T}, 3, 16, false},
        PortFailureCase{
            "SecondProgram", "BCFFFE1105644281000102", {AddressFree, AskGroupTable, AskPrograms, T, T, T}, 3, 16, true},
        PortFailureCase{"InputMode",
                        "BCFFFE110564428100FF01",
                        {AddressFree, AskGroupTable, AskPrograms, ProgramsDone, AskInputMode, T, T, T},
                        3,
                        16,
                        true}),
    [](const ::testing::TestParamInfo<PortFailureCase>& param) { return std::string(param.param.name); });

TEST_F(WriteBench, FailedPortAtStartShowsTheTransmissionBoxThenAddressCheckFailed) {
  sim::Scene other;
  ProcedureRig failed(other, /*portWorks=*/false);
  enterConfiguration(failed);

  WriteClick(failed);

  EXPECT_EQ(failed.platform.boxes, (std::vector<ShownBox>{T, AddressCheckFailed}));
  EXPECT_EQ(failed.memo.size(), 6u) << "six attempts to write the text";
  EXPECT_EQ(failed.progressPosition(), 0);
}

// Read, group switching and a second Write click inside one of the run's waits do nothing.
TEST_F(WriteBench, OtherBusButtonsInsideTheRunAreIgnored) {
  scene.addDevice(programmingDevice());
  enterConfiguration(rig);
  rig.enter(Field::OnOffGroup, "00\\0\\002");
  rig.clearRecords();
  expect::script(rig, {id::Ok, id::No});
  int nested = 0;
  rig.duringWait = [&] {
    if (nested++ != 0) return;
    WriteClick(rig);
    ReadClick(rig);
    OnGroupClick(rig);
  };

  WriteClick(rig);

  EXPECT_GT(nested, 0);
  EXPECT_EQ(rig.platform.boxes, (std::vector<ShownBox>{AddressFree, AskGroupTable}));
  EXPECT_EQ(expect::callsWith(rig, AddressCheck), 3u);
  EXPECT_EQ(expect::distinct(expect::telegramsSent(rig)),
            (std::vector<std::string>{AddressCheck, AddressRead, "", AddressWrite}))
      << "nothing nested was sent";
  EXPECT_EQ(rig.validationRuns, 1);
  EXPECT_EQ(rig.texts[static_cast<std::size_t>(Field::phAddr)], "01.01.005");
  EXPECT_TRUE(rig.buttonEnabled(Button::Read));
}

}  // namespace
}  // namespace kolvaro::test
