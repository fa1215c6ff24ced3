// The interface test and the programming-mode scan on the simulated bus, through the
// same exchange and port as the procedures, on the bus's virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "config/DeviceSession.h"
#include "support/ProcedureRig.h"
#include "telegram/FrameDecoder.h"
#include "telegram/InterfaceTest.h"
#include "telegram/TelegramLog.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

SteadyNow virtualClock(const sim::Scene& scene) {
  return [&scene] {
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(scene.now()));
  };
}

struct InterfaceCase {
  const char* name;
  const char* before;  // chip text written before the test ("" for none)
  std::uint8_t indication;
  std::vector<std::string> problems;
  const char* reportEnd;
  friend void PrintTo(const InterfaceCase& c, std::ostream* os) { *os << c.name; }
};

const InterfaceCase InterfaceCases[] = {
    {"ChipWell", "", 0x07, {}, "stan 07: bez błędów."},
    // A data end whose index does not match the bytes handed over: a protocol error.
    {"AfterAMalformedFrame", "80BC4700", 0x17, {"błąd protokołu"}, "stan 17: błąd protokołu."},
};

class InterfaceTestOnBus : public testing::TestWithParam<InterfaceCase> {};

TEST_P(InterfaceTestOnBus, ReportsTheStateInWords) {
  const InterfaceCase& c = GetParam();
  sim::Scene scene;
  ProcedureRig rig(scene);
  if (*c.before) rig.port()->WriteHexText(c.before);
  TelegramLog log;

  const ChipState state = TestInterface(rig, &log, InterfaceTestDeadline, virtualClock(scene));

  ASSERT_TRUE(state.answered);
  EXPECT_EQ(state.indication, c.indication);
  EXPECT_EQ(state.problems, c.problems);
  EXPECT_LT(state.answerTime, 50ms);
  const std::string report = InterfaceTestReport(state, "COM1", "/dev/x").polish();
  EXPECT_EQ(report.rfind("Układ interfejsu na porcie COM1 (/dev/x) odpowiedział po ", 0), 0u) << report;
  EXPECT_EQ(report.substr(report.size() - std::string(c.reportEnd).size()), c.reportEnd);
  ASSERT_GE(log.rows().size(), 2u);
  EXPECT_EQ(log.rows().front().raw, "02");
  EXPECT_EQ(log.rows().front().direction, "→");
  EXPECT_TRUE(rig.memo.empty()) << "the hidden memo is the procedures' own";
}

INSTANTIATE_TEST_SUITE_P(SimulatedChip, InterfaceTestOnBus, testing::ValuesIn(InterfaceCases),
                         [](const testing::TestParamInfo<InterfaceCase>& param) { return param.param.name; });

TEST(InterfaceTest, EveryStateBitInWords) {
  EXPECT_EQ(ChipStateProblems(0x07), std::vector<std::string>{});
  EXPECT_EQ(ChipStateProblems(0xFF),
            (std::vector<std::string>{"kolizja przy nadawaniu (slave collision)",
                                      "błąd odbioru (suma kontrolna, parzystość lub bit)", "błąd nadawania",
                                      "błąd protokołu", "ostrzeżenie o temperaturze"}));
  EXPECT_EQ(ChipStateProblems(0x4F), (std::vector<std::string>{"błąd odbioru (suma kontrolna, parzystość lub bit)",
                                                               "ostrzeżenie o temperaturze"}));
}

TEST(InterfaceTest, NoPortMeansNoChip) {
  sim::Scene scene;
  ProcedureRig rig(scene, /*portWorks=*/false);
  const ChipState state = TestInterface(rig, nullptr, InterfaceTestDeadline, virtualClock(scene));
  EXPECT_FALSE(state.answered);
  EXPECT_EQ(InterfaceTestReport(state, "COM1", "")
                .polish()
                .rfind("Żaden układ interfejsu nie odpowiedział na porcie COM1 w", 0),
            0u);
}

struct ScanCase {
  const char* name;
  std::vector<std::uint16_t> programmingDevices;
  std::vector<std::uint16_t> otherDevices;
  std::vector<std::pair<std::uint16_t, int>> found;  // address, answers
  std::vector<std::uint16_t> systemPriority = {};    // devices that answer with control byte B0
  friend void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }
};

const ScanCase ScanCases[] = {
    {"EmptyBus", {}, {}, {}},
    {"OneOfTwoInProgrammingMode", {0x1105}, {0x1106}, {{0x1105, 1}}},
    {"TwoDevices", {0x1105, 0x1106}, {}, {{0x1105, 1}, {0x1106, 1}}},
    {"ThreeDevicesTwoSharingAnAddress", {0x1105, 0x2201, 0x1105}, {}, {{0x1105, 2}, {0x2201, 1}}},
    {"ThreeDevicesOneWithSystemPriority",
     {0x1105, 0x1106, 0x1107},
     {},
     {{0x1105, 1}, {0x1106, 1}, {0x1107, 1}},
     {0x1106}},
};

class ProgrammingModeScanOnBus : public testing::TestWithParam<ScanCase> {};

TEST_P(ProgrammingModeScanOnBus, ListsEveryAnsweringAddressOnce) {
  const ScanCase& c = GetParam();
  sim::Scene scene;
  for (std::uint16_t address : c.programmingDevices) {
    sim::DeviceSetup setup;
    setup.address = address;
    setup.programmingMode = true;
    setup.systemPriority = std::count(c.systemPriority.begin(), c.systemPriority.end(), address) > 0;
    scene.addDevice(setup);
  }
  for (std::uint16_t address : c.otherDevices) {
    sim::DeviceSetup setup;
    setup.address = address;
    scene.addDevice(setup);
  }
  ProcedureRig rig(scene);

  const ProgrammingModeScanResult result =
      rig.session.scanProgrammingMode(ProgrammingModeListenTime, virtualClock(scene));

  EXPECT_FALSE(result.sendFailed);
  std::vector<std::pair<std::uint16_t, int>> found;
  for (const auto& device : result.devices) {
    found.emplace_back(device.address, device.answers);
    EXPECT_LT(device.firstAnswer, 1s) << "every device answers the one request at once";
  }
  EXPECT_EQ(found, c.found);
  EXPECT_EQ(std::count(rig.sent.begin(), rig.sent.end(),
                       SentTelegram{"98FFFE0000E10100", wait_limit::OneTick, answer_code::PhysicalAddressResponse,
                                    ExchangeMode::Answer}),
            1)
      << "one request, then listening only";
  EXPECT_GE(scene.now(), std::chrono::duration_cast<std::chrono::microseconds>(ProgrammingModeListenTime));
  EXPECT_LT(scene.now(), std::chrono::duration_cast<std::chrono::microseconds>(ProgrammingModeListenTime + 1100ms));
  if (c.found.empty()) {
    EXPECT_EQ(ProgrammingModeReport(result).polish(), "Żadne urządzenie nie jest w trybie programowania.");
  } else {
    EXPECT_NE(ProgrammingModeReport(result).polish().find(PhysicalAddressText(c.found.back().first) + " (po "),
              std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(SimulatedBus, ProgrammingModeScanOnBus, testing::ValuesIn(ScanCases),
                         [](const testing::TestParamInfo<ScanCase>& param) { return param.param.name; });

TEST(ProgrammingModeScan, DuplicateAnswersAreCountedInTheText) {
  ProgrammingModeScanResult result;
  result.devices = {{0x1105, 12ms, 2}, {0x1106, 30ms, 1}};
  EXPECT_EQ(ProgrammingModeReport(result).polish(),
            "Urządzenia w trybie programowania (2):\n1.1.5 (po 12 ms, 2 odpowiedzi)\n1.1.6 (po 30 ms)");
}

}  // namespace
}  // namespace kolvaro::test
