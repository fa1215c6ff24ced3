// The simulated device: its answers for every memory location and service, its
// outputs and inputs.
#include <gtest/gtest.h>

#include "SimHost.h"

namespace kolvaro::sim {
namespace {

using namespace std::chrono_literals;
using test::SimHost;

constexpr std::uint16_t kDevice = 0x1105;  // 1.1.5

// A host that acknowledges frames for itself, as the program does.
struct Bench {
  Scene scene;
  SimHost host{scene};
  Bench() {
    host.onRouting = [](const Bytes& h) { return (h[5] & GroupFlag) == 0 && h[3] == 0xFF && h[4] == 0xFE; };
  }
  // The frames the device sent, as logged.
  std::vector<Bytes> fromDevice(std::uint16_t address = kDevice) const {
    std::vector<Bytes> out;
    for (const auto& f : scene.log())
      if (sourceOf(f.bytes) == address) out.push_back(f.bytes);
    return out;
  }
};

const Bytes kAddressRead{0x98, 0xFF, 0xFE, 0x00, 0x00, 0xE1, 0x01, 0x00};

TEST(SimDevice, AnswersAddressReadOnlyInProgrammingMode) {
  for (bool programming : {false, true}) {
    Bench b;
    b.scene.addDevice({.address = kDevice, .programmingMode = programming});
    b.host.sendFrame(kAddressRead);
    const Bytes got = b.host.run(200ms);
    const Bytes answer = withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40});
    if (programming) {
      ASSERT_EQ(b.fromDevice(), std::vector<Bytes>{answer});
      EXPECT_EQ(Bytes(got.end() - 9, got.end()), answer);  // and the host saw it
      EXPECT_EQ(b.scene.log()[1].ack, Ack::Ack);
      EXPECT_EQ(b.scene.log()[1].text, "1.1.5 -> 15.15.254 IndividualAddressResponse");
    } else {
      EXPECT_TRUE(b.fromDevice().empty());
    }
    EXPECT_EQ(b.scene.log()[0].ack, Ack::Ack) << "the broadcast is acknowledged either way";
  }
}

TEST(SimDevice, TakesAddressWriteOnlyInProgrammingMode) {
  for (bool programming : {false, true}) {
    Bench b;
    Device& d = b.scene.addDevice({.address = kDevice, .programmingMode = programming});
    b.host.sendFrame({0xBC, 0xFF, 0xFE, 0x00, 0x00, 0xE3, 0x00, 0xC0, 0x12, 0x07});
    b.host.run(100ms);
    EXPECT_EQ(d.address(), programming ? 0x1207 : kDevice);
  }
}

TEST(SimDevice, AnswersMemoryReadOfEveryMappedLocation) {
  const std::uint16_t locations[] = {0x0000, 0x0001, 0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,
                                     0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, 0x00FF};
  for (std::uint16_t at : locations) {
    Bench b;
    DeviceSetup setup{.address = kDevice};
    const auto value = static_cast<std::uint8_t>(at ^ 0x5A);
    setup.memory[at] = value;
    b.scene.addDevice(setup);
    b.host.sendFrame({0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x63, 0x42, 0x01, 0x00, static_cast<std::uint8_t>(at)});
    b.host.run(200ms);
    const Bytes answer =
        withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x41, 0x00, static_cast<std::uint8_t>(at), value});
    EXPECT_EQ(b.fromDevice(), std::vector<Bytes>{answer}) << "location " << at;
  }
}

TEST(SimDevice, MemoryReadOutsideItsMemoryGetsNoData) {
  Bench b;
  b.scene.addDevice({.address = kDevice});
  b.host.sendFrame({0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x63, 0x42, 0x01, 0x01, 0x00});
  b.host.run(200ms);
  EXPECT_EQ(b.fromDevice(),
            std::vector<Bytes>{withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x63, 0x42, 0x40, 0x01, 0x00})});
}

TEST(SimDevice, StoresMemoryWritesWithEitherControlByte) {
  for (std::uint8_t control : {std::uint8_t{0xBC}, std::uint8_t{0xB0}}) {
    for (std::size_t at : {0x0000, 0x0001, 0x0020, 0x002F, 0x00FF}) {
      Bench b;
      Device& d = b.scene.addDevice({.address = kDevice});
      b.host.sendFrame({control, 0xFF, 0xFE, 0x11, 0x05, 0x64, 0x42, 0x81, 0x00, static_cast<std::uint8_t>(at), 0x37});
      b.host.run(100ms);
      EXPECT_EQ(d.memory()[at], 0x37) << "location " << at;
      EXPECT_TRUE(b.fromDevice().empty()) << "a write is not answered";
    }
  }
}

TEST(SimDevice, IgnoresServicesForOtherAddresses) {
  Bench b;
  Device& d = b.scene.addDevice({.address = kDevice});
  b.host.sendFrame({0xBC, 0xFF, 0xFE, 0x11, 0x06, 0x64, 0x42, 0x81, 0x00, 0x00, 0x37});
  b.host.sendFrame({0xBC, 0xFF, 0xFE, 0x11, 0x06, 0x63, 0x42, 0x01, 0x00, 0x00});
  b.host.run(400ms);
  EXPECT_EQ(d.memory()[0], 0x00);
  EXPECT_TRUE(b.fromDevice().empty());
  EXPECT_EQ(b.scene.log().size(), 8u) << "nobody acknowledges: each frame four times";
}

struct SwitchCase {
  std::uint8_t program;
  bool initial;
  bool command;
  bool atOnce;  // right after the frame
  bool afterDelay;
};

TEST(SimDevice, OutputsSwitchByGroupWithTheirProgram) {
  const SwitchCase cases[] = {
      {memory_map::NoDelay, false, true, true, true},
      {memory_map::NoDelay, true, false, false, false},
      {memory_map::SwitchOnDelay, false, true, false, true},
      {memory_map::SwitchOnDelay, true, false, false, false},
      {memory_map::SwitchOffDelay, false, true, true, true},
      {memory_map::SwitchOffDelay, true, false, true, false},
      {0x07, false, true, true, true},  // unknown programs switch at once
  };
  for (const auto& c : cases) {
    for (int output = 0; output < 2; ++output) {
      Bench b;
      DeviceSetup setup{.address = kDevice, .switchDelay = 1000ms};
      setup.memory[static_cast<std::size_t>(output)] = c.program;
      const std::size_t slot = output == 0 ? 0x2A : 0x2E;  // the second group of WY1 / WY2
      setup.memory[slot] = 0x0A;
      setup.memory[slot + 1] = 0x03;  // 1/2/3
      Device& d = b.scene.addDevice(setup);
      if (c.initial) {
        b.scene.injectFrame(groupValueWrite(0x1001, 0x0A03, true));
        b.host.run(2000ms);
        ASSERT_TRUE(d.output(output));
      }
      b.host.sendFrame({0xBC, 0xFF, 0xFE, 0x0A, 0x03, 0xE1, 0x00, static_cast<std::uint8_t>(c.command ? 0x81 : 0x80)});
      b.host.run(50ms);
      EXPECT_EQ(d.output(output), c.atOnce)
          << "program " << int(c.program) << " output " << output << " cmd " << c.command;
      EXPECT_EQ(d.output(1 - output), false) << "the other output stays off";
      b.host.run(1000ms);
      EXPECT_EQ(d.output(output), c.afterDelay)
          << "program " << int(c.program) << " output " << output << " cmd " << c.command;
    }
  }
}

TEST(SimDevice, NewCommandCancelsPendingDelayedSwitch) {
  Bench b;
  DeviceSetup setup{.address = kDevice, .switchDelay = 1000ms};
  setup.memory[0] = memory_map::SwitchOnDelay;
  setup.memory[0x28] = 0x00;
  setup.memory[0x29] = 0x02;
  Device& d = b.scene.addDevice(setup);
  b.scene.injectFrame(groupValueWrite(0x1001, 0x0002, true));
  b.host.run(500ms);
  b.scene.injectFrame(groupValueWrite(0x1001, 0x0002, false));
  b.host.run(2000ms);
  EXPECT_FALSE(d.output(0));
}

TEST(SimDevice, InputsSendToTheirGroupsInTheirMode) {
  struct Step {
    bool press;
    std::vector<bool> sent;  // values sent to each of the two groups, in order
  };
  struct ModeCase {
    std::uint8_t mode;
    std::vector<Step> steps;
  };
  const ModeCase cases[] = {
      {0x00, {{true, {true}}, {false, {false}}, {true, {true}}, {false, {false}}}},
      {0x01, {{true, {true}}, {false, {}}, {true, {false}}, {false, {}}}},
      {0xFF, {{true, {true}}, {false, {}}, {true, {false}}}},  // any non-zero mode is bistable
  };
  for (const auto& c : cases) {
    for (int input = 0; input < 2; ++input) {
      Bench b;
      DeviceSetup setup{.address = kDevice};
      setup.memory[memory_map::InputMode] = c.mode;
      const std::size_t first = 0x20 + static_cast<std::size_t>(input) * 4;
      setup.memory[first] = 0x00;
      setup.memory[first + 1] = 0x05;  // 0/0/5
      setup.memory[first + 2] = 0x79;
      setup.memory[first + 3] = 0x10;  // 15/1/16
      Device& d = b.scene.addDevice(setup);
      b.scene.addStation({.address = 0x1109, .groups = {0x0005, 0x7910}});  // so nothing is repeated
      std::vector<Bytes> expected;
      for (const auto& step : c.steps) {
        if (step.press)
          d.pressInput(input);
        else
          d.releaseInput(input);
        for (bool v : step.sent) {
          expected.push_back(groupValueWrite(kDevice, 0x0005, v));
          expected.push_back(groupValueWrite(kDevice, 0x7910, v));
        }
        b.host.run(200ms);
      }
      EXPECT_EQ(b.fromDevice(), expected) << "mode " << int(c.mode) << " input " << input;
      EXPECT_EQ(b.scene.log().back().text.substr(0, 23), "1.1.5 -> 15/1/16 GroupV");
    }
  }
}

TEST(SimDevice, InputWithoutGroupsSendsNothing) {
  Bench b;
  Device& d = b.scene.addDevice({.address = kDevice});
  d.pressInput(0);
  d.releaseInput(0);
  b.host.run(100ms);
  EXPECT_TRUE(b.scene.log().empty());
}

}  // namespace
}  // namespace kolvaro::sim
