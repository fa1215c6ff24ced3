// The OnGroup and OffGroup buttons against the simulated bus.
#include <gtest/gtest.h>

#include "support/ProcedureRig.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

constexpr char TransmissionProblem[] = "Wystąpił problem podczas transmisji danych";

struct SwitchCase {
  const char* name;
  const char* local;
  const char* group;
  bool on;
  const char* telegram;
  friend void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }
};

class GroupSwitchingTelegram : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(GroupSwitchingTelegram, FourIdenticalFramesAndTheBarAt96) {
  const SwitchCase& c = GetParam();
  sim::Scene scene;
  ProcedureRig rig(scene);
  rig.enter(Field::Local_phAddr, c.local);
  rig.enter(Field::OnOffGroup, c.group);
  rig.clearRecords();

  c.on ? OnGroupClick(rig) : OffGroupClick(rig);
  scene.advance(2s);  // let every queued frame reach the bus

  const std::vector<SentTelegram> expected{{c.telegram, -1, 255, ExchangeMode::Confirmation},
                                           {c.telegram, -1, 255, ExchangeMode::Confirmation},
                                           {c.telegram, -1, 255, ExchangeMode::Confirmation},
                                           {c.telegram, 1, 255, ExchangeMode::Confirmation}};
  EXPECT_EQ(rig.sent, expected);
  EXPECT_EQ(telegramsOnBus(scene), std::vector<std::string>(4, c.telegram));
  EXPECT_EQ(rig.progressHistory, (std::vector<int>{0, 32, 64, 96, 96}));
  EXPECT_TRUE(rig.platform.boxes.empty());
  EXPECT_TRUE(rig.buttonChanges.empty()) << "group switching disables nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupSwitchingTelegram,
    ::testing::Values(SwitchCase{"OnDesignAddress", "15.15.254", "00\\0\\002", true, "BCFFFE0002E10081"},
                      SwitchCase{"OffDesignAddress", "15.15.254", "00\\0\\002", false, "BCFFFE0002E10080"},
                      SwitchCase{"HighestGroup", "15.15.254", "15\\7\\255", true, "BCFFFE7FFFE10081"},
                      SwitchCase{"LowestGroup", "15.15.254", "00\\0\\001", false, "BCFFFE0001E10080"},
                      SwitchCase{"OtherSource", "01.01.005", "01\\2\\003", true, "BC11050A03E10081"}),
    [](const ::testing::TestParamInfo<SwitchCase>& param) { return std::string(param.param.name); });

TEST(GroupSwitching, EmptyOrIncompleteFieldSendsNothing) {
  for (const char* text : {"  \\ \\   ", "05\\ \\   ", " 5\\1\\   "}) {
    sim::Scene scene;
    ProcedureRig rig(scene);
    rig.enter(Field::OnOffGroup, text);
    rig.setProgressPosition(64);
    rig.clearRecords();

    OnGroupClick(rig);
    OffGroupClick(rig);
    scene.advance(1s);

    EXPECT_TRUE(rig.sent.empty()) << text;
    EXPECT_TRUE(scene.log().empty()) << text;
    EXPECT_EQ(rig.progressHistory, (std::vector<int>{0, 0})) << text;
    EXPECT_TRUE(rig.platform.boxes.empty()) << text;
  }
}

TEST(GroupSwitching, FailedPortShowsTheTransmissionBoxThreeTimesAndStops) {
  sim::Scene scene;
  ProcedureRig rig(scene, /*portWorks=*/false);
  ASSERT_TRUE(rig.port()->IsFailed());
  rig.enter(Field::OnOffGroup, "00\\0\\002");
  rig.clearRecords();

  OnGroupClick(rig);

  const ShownBox transmission{TransmissionProblem, std::nullopt, mb::IconError | mb::TaskModal};
  EXPECT_EQ(rig.platform.boxes, std::vector<ShownBox>(3, transmission));
  EXPECT_EQ(rig.sent.size(), 3u) << "no fourth send after three failures";
  EXPECT_EQ(rig.memo.size(), 18u) << "six write attempts per call, each logged";
  EXPECT_EQ(rig.progressHistory.back(), 0);
  for (int position : rig.progressHistory) EXPECT_EQ(position, 0);
}

TEST(GroupSwitching, LineLostAfterTheFirstSendStillEndsAtZero) {
  sim::Scene scene;
  ProcedureRig rig(scene);
  rig.enter(Field::OnOffGroup, "00\\0\\002");
  rig.clearRecords();
  rig.beforeCall = [&](std::size_t n, const std::string&) {
    if (n == 1) scene.dropLines();
  };

  OffGroupClick(rig);

  EXPECT_EQ(rig.results, (std::vector<std::string>{"NoReply", "Error", "Error"}));
  EXPECT_EQ(rig.platform.boxes.size(), 2u);
  EXPECT_EQ(rig.progressHistory, (std::vector<int>{0, 32, 0}));
}

TEST(GroupSwitching, MissingConfirmationIsNotReported) {
  sim::Scene scene;
  scene.setChipNeverConfirms(true);
  ProcedureRig rig(scene);
  rig.enter(Field::OnOffGroup, "00\\0\\002");
  rig.clearRecords();

  OnGroupClick(rig);

  EXPECT_EQ(rig.results.back(), "NoReply");
  EXPECT_EQ(rig.progressPosition(), 96);
  EXPECT_TRUE(rig.platform.boxes.empty());
}

TEST(GroupSwitching, SwitchesTheOutputOfADeviceThatListensToTheGroup) {
  sim::Scene scene;
  sim::DeviceSetup setup;
  setup.address = 0x1105;
  setup.memory[0x2A] = 0x00;  // WY1, second slot: 00\0\002
  setup.memory[0x2B] = 0x02;
  setup.memory[0x2C] = 0x0A;  // WY2, first slot: 01\2\003
  setup.memory[0x2D] = 0x03;
  sim::Device& device = scene.addDevice(setup);
  ProcedureRig rig(scene);

  rig.enter(Field::OnOffGroup, "00\\0\\002");
  OnGroupClick(rig);
  EXPECT_EQ(rig.results.back(), "ACK") << "a listening device acknowledges, the chip confirms";
  scene.advance(1s);
  EXPECT_TRUE(device.output(0));
  EXPECT_FALSE(device.output(1));

  rig.enter(Field::OnOffGroup, "01\\2\\003");
  OnGroupClick(rig);
  scene.advance(1s);
  EXPECT_TRUE(device.output(1));

  rig.enter(Field::OnOffGroup, "00\\0\\002");
  OffGroupClick(rig);
  scene.advance(1s);
  EXPECT_FALSE(device.output(0));
  EXPECT_TRUE(device.output(1));
}

}  // namespace
}  // namespace kolvaro::test
