// The device session through its own interface: a face that answers from a script, as
// kolvaro-cli's does, and the typed results the session returns.
#include <gtest/gtest.h>

#include <map>

#include "ProcedureExpectations.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

class ScriptedFace : public SessionFace {
 public:
  explicit ScriptedFace(SessionValues given) : given_(given) {}
  bool ask(Question question) override {
    asked.push_back(question);
    return answers[question];
  }
  void tell(Message message) override { told.push_back(message); }
  void progress(int position) override { positions.push_back(position); }
  SessionValues values(bool) override { return given_; }
  void valueRead(const ReadValue& value) override { read.push_back(value); }

  std::map<Question, bool> answers;
  std::vector<Question> asked;
  std::vector<Message> told;
  std::vector<int> positions;
  std::vector<ReadValue> read;

 private:
  SessionValues given_;
};

SessionValues wanted() {
  SessionValues values;
  values.local = 0xFFFE;
  values.device = 0x1105;
  for (std::size_t i = 0; i < values.table.size(); ++i) values.table[i] = static_cast<std::uint8_t>(0x10 + i);
  values.programs = {2, 1};
  values.inputMode = 1;
  return values;
}

// Which stages a write goes through follows the answers to its questions, and the
// device holds exactly what the stages done wrote.
TEST(DeviceSession, WriteStagesFollowTheAnswers) {
  struct Case {
    const char* name;
    bool groups, programs, inputs;
    std::array<StageResult, WriteStageCount> stages;
  };
  constexpr auto D = StageResult::Done, N = StageResult::Declined, R = StageResult::NotReached;
  const Case cases[] = {
      {"every stage", true, true, true, {D, D, D, D, D, D}},
      {"address only", false, true, true, {D, D, D, N, R, R}},
      {"without the input mode", true, true, false, {D, D, D, D, D, N}},
  };
  for (const auto& c : cases) {
    sim::Scene scene;
    sim::Device& device = scene.addDevice({.address = 0x1101, .programmingMode = true});
    ProcedureRig rig(scene);
    ScriptedFace face(wanted());
    face.answers = {{Question::WriteGroupTable, c.groups},
                    {Question::WritePrograms, c.programs},
                    {Question::WriteInputMode, c.inputs}};
    const WriteResult result = DeviceSession(rig, face).write();
    scene.advance(2s);  // the last frames handed over reach the device

    EXPECT_EQ(result.stages, c.stages) << c.name;
    EXPECT_FALSE(result.failed()) << c.name;
    EXPECT_EQ(device.address(), 0x1105) << c.name;
    const auto& memory = device.memory();
    const bool tableWritten = memory[0x20] == 0x10 && memory[0x2F] == 0x1F;
    EXPECT_EQ(tableWritten, c.groups) << c.name;
    EXPECT_EQ(memory[0x00] == 2 && memory[0x01] == 1, c.groups && c.programs) << c.name;
    EXPECT_EQ(memory[0xFF] == 1, c.groups && c.programs && c.inputs) << c.name;
  }
}

// A taken address stops the write unless the user goes on; no device in programming
// mode fails it, with the message that says so.
TEST(DeviceSession, WriteStopsWithItsReason) {
  struct Case {
    const char* name;
    std::vector<sim::DeviceSetup> devices;
    bool overwrite;
    std::optional<Message> stoppedBy;
    bool failed;
    StageResult assignment;
  };
  const Case cases[] = {
      {"taken, declined",
       {{.address = 0x1105}, {.address = 0x1101, .programmingMode = true}},
       false,
       {},
       true,
       StageResult::NotReached},
      {"taken, overwritten",
       {{.address = 0x1105}, {.address = 0x1101, .programmingMode = true}},
       true,
       {},
       false,
       StageResult::Done},
      {"nobody in programming mode",
       {{.address = 0x1101}},
       true,
       Message::NoDeviceInProgrammingMode,
       true,
       StageResult::NotReached},
  };
  for (const auto& c : cases) {
    sim::Scene scene;
    for (const auto& setup : c.devices) scene.addDevice(setup);
    ProcedureRig rig(scene);
    ScriptedFace face(wanted());
    face.answers = {{Question::ConfigureDespiteTakenAddress, c.overwrite}};
    const WriteResult result = DeviceSession(rig, face).write();
    EXPECT_EQ(result.stoppedBy, c.stoppedBy) << c.name;
    EXPECT_EQ(result.failed(), c.failed) << c.name;
    EXPECT_EQ(result.stage(WriteStage::AddressAssignment), c.assignment) << c.name;
  }
}

// Two devices in programming mode, one answering with system priority, in either order:
// the write and the read stop at their several-devices message, and no device is given
// the address.
TEST(DeviceSession, SecondDeviceSeenWhateverItsPriority) {
  const ShownBox Several =
      expect::error("W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.", true);
  for (bool systemFirst : {true, false}) {
    for (bool writing : {true, false}) {
      sim::Scene scene;
      std::vector<sim::Device*> devices;
      for (bool system : {systemFirst, !systemFirst}) {
        devices.push_back(&scene.addDevice({.address = static_cast<std::uint16_t>(system ? 0x1109 : 0xFFFF),
                                            .programmingMode = true,
                                            .systemPriority = system}));
      }
      ProcedureRig rig(scene);
      rig.text(Field::phAddr) = "01.01.005";
      expect::script(rig, {id::Ok, id::Ok});
      writing ? WriteClick(rig) : ReadClick(rig);
      scene.advance(2s);
      const std::string name =
          std::string(writing ? "write" : "read") + (systemFirst ? ", system first" : ", low first");
      ASSERT_FALSE(rig.platform.boxes.empty()) << name;
      EXPECT_EQ(rig.platform.boxes.back(), Several) << name;
      for (const sim::Device* device : devices) EXPECT_NE(device->address(), 0x1105) << name;
      EXPECT_EQ(framesOnBus(scene, "BCFFFE0000E300C01105"), 0u) << name;
    }
  }
}

// A read returns what the device holds, and hands each value to the face as it comes.
TEST(DeviceSession, ReadReturnsTheDevicesConfiguration) {
  sim::Scene scene;
  sim::DeviceSetup setup{.address = 0x1105, .programmingMode = true};
  for (std::size_t i = 0; i < 16; ++i) setup.memory[0x20 + i] = static_cast<std::uint8_t>(i);
  setup.memory[0x00] = 1;
  setup.memory[0x01] = 7;  // not a program: read as the first
  setup.memory[0xFF] = 5;  // anything but 0 is bistable
  scene.addDevice(setup);
  ProcedureRig rig(scene);
  ScriptedFace face(SessionValues{0xFFFE, std::nullopt, {}, {}, 0});
  face.answers = {{Question::ReadPrograms, true}, {Question::ReadInputMode, true}};

  const ReadResult result = DeviceSession(rig, face).read();

  ASSERT_TRUE(result.complete());
  EXPECT_EQ(result.found.physicalAddress, 0x1105);
  for (std::size_t entry = 0; entry < 8; ++entry) {
    EXPECT_EQ(result.found.groups[entry],
              (GroupBytes{static_cast<std::uint8_t>(2 * entry), static_cast<std::uint8_t>(2 * entry + 1)}));
  }
  EXPECT_EQ(result.found.programs, (std::array<int, 2>{1, 0}));
  EXPECT_EQ(result.found.inputMode, 1);
  ASSERT_EQ(face.read.size(), 1u + 16 + 2 + 1);
  EXPECT_EQ(face.read.front().item, ReadValue::Item::DeviceAddress);
  EXPECT_EQ(face.read[1].index, 15u) << "the table is read from its last byte";
  EXPECT_EQ(face.told, std::vector<Message>{Message::StartReading});
}

// Verification compares every item of the device, and only those.
TEST(DeviceSession, VerificationNamesEachItemThatDiffers) {
  DeviceConfiguration base;
  base.physicalAddress = 0x1105;
  base.groups[0] = {0x00, 0x01};
  base.programs = {1, 2};
  base.inputMode = 1;
  struct Case {
    const char* name;
    std::function<void(DeviceConfiguration&)> change;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"the same", [](DeviceConfiguration&) {}, {}},
      {"notes only", [](DeviceConfiguration& c) { c.room = "hall"; }, {}},
      {"address", [](DeviceConfiguration& c) { c.physicalAddress = 0x1106; }, {"physical_address"}},
      {"WY2's program", [](DeviceConfiguration& c) { c.programs[1] = 0; }, {"programs.WY2"}},
      {"last table entry",
       [](DeviceConfiguration& c) {
         c.groups[7] = {0x00, 0x02};
       },
       {"groups.WY2[1]"}},
      {"input mode", [](DeviceConfiguration& c) { c.inputMode = 0; }, {"input_mode"}},
      {"two items",
       [](DeviceConfiguration& c) { c.groups[0][1] = 0x02, c.programs[0] = 0; },
       {"programs.WY1", "groups.WE1[0]"}},
  };
  for (const auto& c : cases) {
    DeviceConfiguration found = base;
    c.change(found);
    std::vector<std::string> items;
    for (const Difference& d : CompareConfigurations(base, found)) items.push_back(d.item);
    EXPECT_EQ(items, c.items) << c.name;
  }

  // Through the bus: the device read and compared with what it should hold.
  sim::Scene scene;
  sim::DeviceSetup setup{.address = 0x1105, .programmingMode = true};
  setup.memory[0x20] = 0x00;
  setup.memory[0x21] = 0x01;
  setup.memory[0x00] = 1;
  setup.memory[0x01] = 2;
  setup.memory[0xFF] = 0;
  scene.addDevice(setup);
  ProcedureRig rig(scene);
  ScriptedFace face(SessionValues{0xFFFE, std::nullopt, {}, {}, 0});
  const Verification result = DeviceSession(rig, face).verify(base);
  ASSERT_TRUE(result.deviceRead);
  EXPECT_EQ(result.differences, (std::vector<Difference>{{"input_mode", "bistable", "monostable"}}));
  EXPECT_TRUE(face.asked.empty()) << "its questions are answered without the face";
}

}  // namespace
}  // namespace kolvaro::test
