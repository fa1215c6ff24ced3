// A configuration written into a simulated device and read back into a fresh window
// comes back as it was entered.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ProcedureExpectations.h"

namespace kolvaro::test {
namespace {

struct Configuration {
  const char* name;
  const char* address;
  std::array<const char*, 8> groups;
  std::array<int, 3> combos;
  friend void PrintTo(const Configuration& c, std::ostream* os) { *os << c.name; }
};

const Field ConfigurationFields[9] = {Field::phAddr,  Field::IN_1_1,  Field::IN_1_2,  Field::IN_2_1, Field::IN_2_2,
                                      Field::OUT_1_1, Field::OUT_1_2, Field::OUT_2_1, Field::OUT_2_2};

// Writes the configuration into the one device of the scene, then reads it back into
// a fresh window and compares what the user sees.
void writeThenRead(sim::Scene& scene, const Configuration& c) {
  auto writer = std::make_unique<ProcedureRig>(scene);
  writer->texts[static_cast<std::size_t>(Field::phAddr)] = c.address;
  for (std::size_t i = 0; i < 8; ++i) writer->texts[static_cast<std::size_t>(Field::IN_1_1) + i] = c.groups[i];
  writer->comboIndexes = c.combos;
  expect::script(*writer, {id::Ok, id::Yes, id::Yes, id::Ok, id::Yes, id::Ok});
  WriteClick(*writer);
  ASSERT_EQ(writer->platform.boxes.size(), 6u) << "the write ran to its end";
  const auto written = writer->texts;
  const auto writtenBytes = writer->addressMembers.GrAddr_Bytes;
  writer.reset();
  scene.advance(std::chrono::seconds(1));

  ProcedureRig reader(scene);
  expect::script(reader, {id::Ok, id::Yes, id::Yes});
  ReadClick(reader);

  ASSERT_EQ(reader.platform.boxes.size(), 3u) << "the read ran to its end";
  for (Field f : ConfigurationFields) {
    EXPECT_EQ(reader.fieldText(f), written[static_cast<std::size_t>(f)]) << static_cast<int>(f);
  }
  EXPECT_EQ(reader.comboIndexes, c.combos);
  EXPECT_TRUE(std::equal(writtenBytes.begin(), writtenBytes.begin() + 16, reader.addressMembers.GrAddr_Bytes.begin()));
  EXPECT_EQ(reader.beeps, 0) << "nothing read needed a correction";
}

const Configuration Mixed{
    "Mixed",
    "01.01.005",
    {"00\\0\\001", "15\\7\\255", "01\\2\\003", "  \\ \\   ", "00\\0\\002", "  \\ \\   ", "07\\3\\100", "00\\0\\002"},
    {1, 2, 1}};

class RoundTrip : public ::testing::TestWithParam<Configuration> {};

TEST_P(RoundTrip, ReadBackAsWritten) {
  sim::Scene scene;
  scene.addDevice({.address = 0x1101, .programmingMode = true});
  writeThenRead(scene, GetParam());
}

// Traffic and line faults that the exchange must see through: the procedures still
// write and read the same configuration.
struct Disturbance {
  const char* name;
  std::function<void(sim::Scene&, sim::Device&)> apply;
  friend void PrintTo(const Disturbance& d, std::ostream* os) { *os << d.name; }
};

class RoundTripDisturbed : public ::testing::TestWithParam<Disturbance> {};

TEST_P(RoundTripDisturbed, ReadBackAsWritten) {
  sim::Scene scene;
  sim::Device& device = scene.addDevice({.address = 0x1101, .programmingMode = true});
  GetParam().apply(scene, device);
  writeThenRead(scene, Mixed);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RoundTripDisturbed,
    ::testing::Values(
        Disturbance{"SystemPriorityAnswers", [](sim::Scene&, sim::Device& d) { d.systemPriority = true; }},
        Disturbance{"LineNoise",
                    [](sim::Scene& s, sim::Device&) {
                      s.setNoise({0x00, 0x55, 0xFF});
                    }},
        Disturbance{"BadChecksumCopies", [](sim::Scene& s, sim::Device&) { s.setWrongChecksums(true); }},
        Disturbance{"AnswersForOtherStations", [](sim::Scene& s, sim::Device&) { s.setFramesForOtherStations(true); }},
        Disturbance{"LateAnswers",
                    [](sim::Scene&, sim::Device& d) { d.answerDelay = std::chrono::milliseconds(600); }}),
    [](const ::testing::TestParamInfo<Disturbance>& param) { return std::string(param.param.name); });

INSTANTIATE_TEST_SUITE_P(Configurations, RoundTrip,
                         ::testing::Values(Mixed,
                                           Configuration{"AllBlank",
                                                         "15.15.255",
                                                         {"  \\ \\   ", "  \\ \\   ", "  \\ \\   ", "  \\ \\   ",
                                                          "  \\ \\   ", "  \\ \\   ", "  \\ \\   ", "  \\ \\   "},
                                                         {0, 0, 0}},
                                           Configuration{"AllDifferent",
                                                         "00.00.001",
                                                         {"01\\0\\000", "02\\1\\001", "03\\2\\254", "04\\3\\128",
                                                          "12\\4\\064", "13\\5\\032", "14\\6\\016", "15\\7\\008"},
                                                         {2, 1, 0}}),
                         [](const ::testing::TestParamInfo<Configuration>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
}  // namespace kolvaro::test
