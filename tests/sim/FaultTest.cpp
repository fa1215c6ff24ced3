// Each fault switch of the simulator, seen from a host.
#include <gtest/gtest.h>

#include "SimHost.h"

namespace kolvaro::sim {
namespace {

using namespace std::chrono_literals;
using test::SimHost;

const Bytes kMemoryRead{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x63, 0x42, 0x01, 0x00, 0x00};
const Bytes kAddressRead{0x98, 0xFF, 0xFE, 0x00, 0x00, 0xE1, 0x01, 0x00};

struct Bench {
  Scene scene;
  SimHost host{scene};
  Bench() {
    host.onRouting = [](const Bytes& h) { return (h[5] & GroupFlag) == 0 && h[3] == 0xFF && h[4] == 0xFE; };
  }
  std::vector<LoggedFrame> answers() const {  // frames to the host
    std::vector<LoggedFrame> out;
    for (const auto& f : scene.log())
      if (!isGroupFrame(f.bytes) && destinationOf(f.bytes) == 0xFFFE) out.push_back(f);
    return out;
  }
};

TEST(SimFaults, DeviceThatAnswersAddressReadButNoMemoryRead) {
  Bench b;
  b.scene.addDevice({.address = 0x1105, .programmingMode = true, .answersMemoryRead = false});
  b.host.sendFrame(kAddressRead);
  b.host.sendFrame(kMemoryRead);
  b.host.run(300ms);
  ASSERT_EQ(b.answers().size(), 1u);
  EXPECT_EQ(b.answers()[0].text, "1.1.5 -> 15.15.254 IndividualAddressResponse");
  EXPECT_EQ(b.scene.log()[1].ack, Ack::Ack) << "the memory read is still acknowledged";
}

TEST(SimFaults, LateAnswerComesTheGivenTimeLater) {
  Micros answerStart[2];
  for (int late = 0; late < 2; ++late) {
    Bench b;
    b.scene.addDevice({.address = 0x1105, .answerDelay = late ? 700ms : 5ms});
    b.host.sendFrame(kMemoryRead);
    b.host.run(1000ms);
    ASSERT_EQ(b.answers().size(), 1u);
    answerStart[late] = b.answers()[0].time;
  }
  // The prompt answer still waits for the free-bus gap (5.2 ms); the late one does not.
  EXPECT_GE(answerStart[1] - answerStart[0], 690ms);
  EXPECT_LE(answerStart[1] - answerStart[0], 695ms);
}

TEST(SimFaults, AnswersWithSystemPriority) {
  Bench b;
  b.scene.addDevice({.address = 0x1105, .programmingMode = true, .systemPriority = true});
  b.host.sendFrame(kAddressRead);
  b.host.sendFrame(kMemoryRead);
  b.host.run(300ms);
  ASSERT_EQ(b.answers().size(), 2u);
  for (const auto& a : b.answers()) {
    EXPECT_EQ(a.bytes[0], 0xB0);
    EXPECT_TRUE(checksumOk(a.bytes));
  }
}

TEST(SimFaults, ProgrammingModeAndAddressConflicts) {
  struct Case {
    const char* name;
    std::vector<DeviceSetup> devices;
    Bytes request;
    std::size_t answers;
  };
  const Case cases[] = {
      {"no device in programming mode", {{.address = 0x1105}, {.address = 0x1106}}, kAddressRead, 0},
      {"one device in programming mode",
       {{.address = 0x1105, .programmingMode = true}, {.address = 0x1106}},
       kAddressRead,
       1},
      {"two devices in programming mode",
       {{.address = 0x1105, .programmingMode = true}, {.address = 0x1106, .programmingMode = true}},
       kAddressRead,
       2},
      {"two devices with the same address", {{.address = 0x1105}, {.address = 0x1105}}, kMemoryRead, 2},
  };
  for (const auto& c : cases) {
    Bench b;
    for (const auto& d : c.devices) b.scene.addDevice(d);
    b.host.sendFrame(c.request);
    b.host.run(300ms);
    EXPECT_EQ(b.answers().size(), c.answers) << c.name;
  }
}

TEST(SimFaults, ChipThatNeverConfirms) {
  for (bool fault : {false, true}) {
    Bench b;
    b.scene.addDevice({.address = 0x1105});
    b.scene.setChipNeverConfirms(fault);
    b.host.sendFrame(kMemoryRead);
    const Bytes got = b.host.run(20ms);
    EXPECT_EQ(got.size(), fault ? 11u : 12u);
    EXPECT_EQ(got.back(), fault ? checksumOf(kMemoryRead.data(), kMemoryRead.size()) : 0x8B);
  }
}

TEST(SimFaults, NoiseBetweenFrames) {
  Bench b;
  b.scene.addStation({.address = 0x1109});
  b.scene.setNoise({0x00, 0x55, 0xFE});
  const Bytes frame = withChecksum({0xBC, 0x11, 0x05, 0x11, 0x09, 0x61, 0x01, 0x40});
  b.scene.injectFrame(frame);
  b.scene.injectFrame(frame);
  Bytes expected = frame;
  expected.insert(expected.end(), {0x00, 0x55, 0xFE});
  expected.insert(expected.end(), frame.begin(), frame.end());
  expected.insert(expected.end(), {0x00, 0x55, 0xFE});
  EXPECT_EQ(b.host.run(100ms), expected);
}

TEST(SimFaults, WrongChecksumsAndFramesForOthersComeBeforeTheAnswer) {
  struct Case {
    bool wrongChecksums, forOthers, deviceChecksumWrong;
    std::vector<std::string> texts;  // all frames after the request
  };
  const std::string answer = "1.1.5 -> 15.15.254 MemoryResponse 1 byte at 0000: 00";
  const Case cases[] = {
      {false, false, false, {answer}},
      {false, true, false, {"1.1.5 -> 15.15.255 MemoryResponse 1 byte at 0000: 00", answer}},
      {true,
       false,
       false,
       {answer + " (bad checksum)", answer + " (repeated) (bad checksum)", answer + " (repeated) (bad checksum)",
        answer + " (repeated) (bad checksum)", answer}},
      {false,
       false,
       true,
       {answer + " (bad checksum)", answer + " (repeated) (bad checksum)", answer + " (repeated) (bad checksum)",
        answer + " (repeated) (bad checksum)"}},
  };
  for (const auto& c : cases) {
    Bench b;
    b.scene.addDevice({.address = 0x1105, .wrongChecksum = c.deviceChecksumWrong});
    b.scene.addStation({.address = 0xFFFF});  // the other station acknowledges its copy
    b.scene.setWrongChecksums(c.wrongChecksums);
    b.scene.setFramesForOtherStations(c.forOthers);
    b.host.sendFrame(kMemoryRead);
    b.host.run(500ms);
    std::vector<std::string> texts;
    for (std::size_t i = 1; i < b.scene.log().size(); ++i) texts.push_back(b.scene.log()[i].text);
    EXPECT_EQ(texts, c.texts);
  }
}

TEST(SimFaults, LineThatGoesAway) {
  Bench b;
  b.scene.addDevice({.address = 0x1105});
  b.host.write({0x02});
  b.scene.dropLines();
  kolvaro::SerialLine::Status st;
  std::uint8_t byte = 0;
  EXPECT_FALSE(b.host.line().clearError(st));
  EXPECT_FALSE(b.host.line().readByte(byte)) << "what was waiting is lost";
  EXPECT_FALSE(b.host.line().writeByte(0x01));
  EXPECT_FALSE(b.scene.chips()[0]->attached());
  EXPECT_TRUE(b.host.line().close());
}

TEST(SimFaults, LineOutlivingItsSceneFailsSafely) {
  std::unique_ptr<kolvaro::SerialLine> line;
  {
    Scene scene;
    line = scene.connectHost();
    EXPECT_TRUE(line->writeByte(0x02));
  }
  EXPECT_FALSE(line->writeByte(0x02));
  EXPECT_TRUE(line->close());
}

}  // namespace
}  // namespace kolvaro::sim
