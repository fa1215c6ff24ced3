// The simulated interface chip against the byte traces its hosts rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "SimHost.h"

namespace kolvaro::sim {
namespace {

using namespace std::chrono_literals;
using test::SimHost;

const Bytes kConnect{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80};  // checksum B6

struct ServiceCase {
  const char* name;
  Bytes written;
  Micros span;
  Bytes expected;
};

TEST(SimChip, ServiceAnswers) {
  const ServiceCase cases[] = {
      {"reset answers only after 5 ms", {0x01}, 4800us, {}},
      {"reset indication", {0x01}, 6ms, {0x03}},
      {"state", {0x02}, 1ms, {0x07}},
      {"product id", {0x20}, 1ms, {0x41}},
      {"busy mode and CRC are ignored", {0x21, 0x22, 0x25}, 1ms, {}},
      {"repetition count swallows its argument", {0x24, 0x02, 0x02}, 1ms, {0x07}},
      {"wrong checksum is refused",
       {0x80, 0xBC, 0x81, 0xFF, 0x82, 0xFE, 0x83, 0x11, 0x84, 0x05, 0x85, 0x60, 0x86, 0x80, 0x47, 0xB5},
       200ms,
       {0x47}},
      {"byte out of order is a protocol error", {0x80, 0xBC, 0x82, 0xFF, 0x41, 0x00, 0x02}, 200ms, {0x17}},
      {"state error bits clear after reporting", {0x80, 0xBC, 0x82, 0xFF, 0x41, 0x00, 0x02, 0x02}, 200ms, {0x17, 0x07}},
  };
  for (const auto& c : cases) {
    Scene scene;
    SimHost host(scene);
    host.write(c.written);
    EXPECT_EQ(host.run(c.span), c.expected) << c.name;
    EXPECT_TRUE(scene.log().empty()) << c.name;
  }
}

TEST(SimChip, EchoesFrameThenConfirms) {
  Scene scene;
  scene.addDevice({.address = 0x1105});
  SimHost host(scene);
  host.sendFrame(kConnect);
  EXPECT_EQ(host.run(100ms), (Bytes{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80, 0xB6, 0x8B}));
  ASSERT_EQ(scene.log().size(), 1u);
  EXPECT_EQ(scene.log()[0].ack, Ack::Ack);
  EXPECT_EQ(scene.log()[0].text, "15.15.254 -> 1.1.5 Connect");
}

TEST(SimChip, FrameCharactersComeAtBusPace) {
  Scene scene;
  scene.addDevice({.address = 0x1105});
  SimHost host(scene);
  host.sendFrame(kConnect);
  // Character i is complete 11 bit times after its start, one character per 13 bit times.
  for (int i = 0; i < 8; ++i) {
    const Micros due = bitTimes(i * CharBits + 11);
    scene.advance(due - scene.now() - 1us);
    kolvaro::SerialLine::Status st;
    ASSERT_TRUE(host.line().clearError(st));
    EXPECT_EQ(st.bytesWaiting, static_cast<unsigned>(i)) << "before character " << i;
    scene.advance(1us);
    ASSERT_TRUE(host.line().clearError(st));
    EXPECT_EQ(st.bytesWaiting, static_cast<unsigned>(i + 1)) << "at character " << i;
  }
}

TEST(SimChip, UnacknowledgedFrameIsRepeatedThenConfirmedNegatively) {
  Scene scene;
  SimHost host(scene);
  host.sendFrame(kConnect);
  const Bytes got = host.run(300ms);
  const Bytes first{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80, 0xB6};
  const Bytes repeated{0x9C, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80, 0x96};
  Bytes expected = first;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), repeated.begin(), repeated.end());
  expected.push_back(0x0B);
  EXPECT_EQ(got, expected);
  ASSERT_EQ(scene.log().size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(scene.log()[static_cast<std::size_t>(i)].repetition, i);
  // Each repetition waits for 50 bit times of free bus after the silent acknowledge slot.
  EXPECT_EQ(scene.log()[1].time - scene.log()[0].time, bitTimes(8 * CharBits + AckPauseBits) + bitTimes(IdleBits));
}

TEST(SimChip, FrameHandedOverAsRepetitionGoesOutAsFirstTransmission) {
  Scene scene;
  scene.addDevice({.address = 0x1105});
  SimHost host(scene);
  Bytes frame = kConnect;
  frame[0] = 0x9C;
  host.sendFrame(frame);
  EXPECT_EQ(host.run(100ms), (Bytes{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80, 0xB6, 0x8B}));
}

TEST(SimChip, QueuesFramesHandedOverBackToBack) {
  Scene scene;
  DeviceSetup setup;
  setup.memory[0x28] = 0x00;
  setup.memory[0x29] = 0x02;  // WY1 listens to 0/0/2
  scene.addDevice(setup);
  SimHost host(scene);
  const Bytes on{0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x81};
  for (int i = 0; i < 3; ++i) host.sendFrame(on);
  Bytes expected;
  for (int i = 0; i < 3; ++i) {
    expected.insert(expected.end(), on.begin(), on.end());
    expected.push_back(checksumOf(on.data(), on.size()));
    expected.push_back(0x8B);
  }
  EXPECT_EQ(host.run(300ms), expected);
  EXPECT_EQ(scene.log().size(), 3u);
}

struct AckInfoCase {
  const char* name;
  std::uint8_t info;
  Micros delay;
  Ack ack;
  std::size_t transmissions;
};

TEST(SimChip, AcknowledgeInformationCountsOnlyInTime) {
  const AckInfoCase cases[] = {
      {"addressed, at once", 0x11, 0us, Ack::Ack, 1},      {"addressed, just in time", 0x11, 1500us, Ack::Ack, 1},
      {"addressed, too late", 0x11, 1800us, Ack::None, 4}, {"addressed, after the frame", 0x11, 5000us, Ack::None, 4},
      {"not addressed", 0x10, 0us, Ack::None, 4},          {"busy", 0x13, 0us, Ack::Busy, 4},
      {"not acknowledged", 0x15, 0us, Ack::Nak, 4},
  };
  for (const auto& c : cases) {
    Scene scene;
    SimHost host(scene);
    host.ackInformation = c.info;
    host.ackDelay = c.delay;
    host.onRouting = [](const Bytes& h) { return h[3] == 0xFF && h[4] == 0xFE; };
    std::vector<Micros> timings;
    std::vector<bool> taken;
    scene.chips()[0]->onAckInformation = [&](Micros since, bool inTime) {
      timings.push_back(since);
      taken.push_back(inTime);
    };
    scene.injectFrame(withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40}));
    host.run(300ms);
    ASSERT_FALSE(scene.log().empty()) << c.name;
    EXPECT_EQ(scene.log()[0].ack, c.ack) << c.name;
    EXPECT_EQ(scene.log().size(), c.transmissions) << c.name;
    // A late host is late for every repetition too.
    EXPECT_EQ(scene.chips()[0]->lateAckInformation, c.delay > 1700us ? 4 : 0) << c.name;
    // Each transmission's acknowledge information is timed from its routing byte; the host
    // reads in 100 us steps, so it answers up to one step after the byte was passed.
    ASSERT_EQ(timings.size(), c.transmissions) << c.name;
    for (Micros t : timings) {
      EXPECT_GE(t, c.delay) << c.name;
      EXPECT_LE(t, c.delay + 100us) << c.name;
    }
    EXPECT_EQ(std::count(taken.begin(), taken.end(), false), c.delay > 1700us ? 4 : 0) << c.name;
  }
}

// A simulator that timed the host's byte as it arrived judges it by that time, however
// late its own loop hands the byte over.
TEST(SimChip, AcknowledgeInformationIsJudgedByItsArrival) {
  const struct {
    Micros arrivedAfterRouting;
    Ack ack;
  } cases[] = {{300us, Ack::Ack}, {1900us, Ack::None}};
  for (const auto& c : cases) {
    Scene scene;
    SimHost host(scene);
    std::optional<Micros> routedAt;
    host.onRouting = [&](const Bytes&) {
      if (!routedAt) routedAt = scene.now();
      return false;  // the test writes the acknowledge information itself
    };
    std::vector<bool> taken;
    scene.chips()[0]->onAckInformation = [&](Micros, bool inTime) { taken.push_back(inTime); };
    // Fifteen data bytes: the frame is still coming in well after the window has passed.
    scene.injectFrame(
        withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x6F, 0x01, 0x40, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    for (int step = 0; step < 1000 && !routedAt; ++step) host.run(100us);
    ASSERT_TRUE(routedAt);
    scene.advance(3ms);  // handed over long after the window
    scene.chips()[0]->hostByte(0x11, *routedAt + c.arrivedAfterRouting);
    host.run(300ms);
    ASSERT_FALSE(scene.log().empty());
    EXPECT_EQ(scene.log()[0].ack, c.ack) << c.arrivedAfterRouting.count();
    EXPECT_EQ(taken, std::vector<bool>{c.ack == Ack::Ack}) << c.arrivedAfterRouting.count();
  }
}

TEST(SimChip, SetAddressAcknowledgesItsOwnAndGroupFrames) {
  Scene scene;
  SimHost host(scene);
  host.write({0x28, 0xFF, 0xFE});
  scene.injectFrame(withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40}));
  scene.injectFrame(groupValueWrite(0x1105, 0x0007, true));
  scene.injectFrame(withChecksum({0xBC, 0x11, 0x05, 0x11, 0x09, 0x61, 0x01, 0x40}));
  host.run(400ms);
  ASSERT_EQ(scene.log().size(), 6u);
  EXPECT_EQ(scene.log()[0].ack, Ack::Ack);
  EXPECT_EQ(scene.log()[1].ack, Ack::Ack);
  for (std::size_t i = 2; i < 6; ++i) EXPECT_EQ(scene.log()[i].ack, Ack::None);
}

TEST(SimChip, AcknowledgeCharactersReachOnlyAMonitoringHost) {
  for (bool monitor : {false, true}) {
    Scene scene;
    scene.addStation({.address = 0x1109});
    SimHost host(scene);
    if (monitor) host.write({0x05});
    const Bytes frame = withChecksum({0xBC, 0x11, 0x05, 0x11, 0x09, 0x61, 0x01, 0x40});
    scene.injectFrame(frame);
    Bytes expected = frame;
    if (monitor) expected.push_back(AckChar);
    EXPECT_EQ(host.run(100ms), expected) << "monitor " << monitor;
  }
}

TEST(SimChip, ResetDropsQueuedFramesAndForgetsAddressAndMonitor) {
  Scene scene;
  scene.addDevice({.address = 0x1105});
  SimHost host(scene);
  host.write({0x28, 0xFF, 0xFE, 0x05});
  host.sendFrame(kConnect);
  host.sendFrame(kConnect);
  host.write({0x01});
  EXPECT_EQ(host.run(50ms), Bytes{0x03});
  EXPECT_TRUE(scene.log().empty());
  EXPECT_FALSE(scene.chips()[0]->busMonitor());
  EXPECT_FALSE(scene.chips()[0]->ownAddress().has_value());
}

// A host that sends a frame right after its reset request still gets the reset
// indication first, never inside the echo of its frame.
TEST(SimChip, ResetIndicationGoesAheadOfAFrameSentAtOnce) {
  Scene scene;
  scene.addDevice({.address = 0x1105});
  SimHost host(scene);
  host.write({0x01});
  host.sendFrame(kConnect);
  EXPECT_EQ(host.run(100ms), (Bytes{0x03, 0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80, 0xB6, 0x8B}));
}

TEST(SimChip, ClosedLineDetachesChipAndReconnectWorks) {
  Scene scene;
  scene.addDevice({.address = 0x1105});
  {
    SimHost probe(scene);
    probe.write({0x02});
    EXPECT_EQ(probe.run(1ms), Bytes{0x07});
  }
  EXPECT_FALSE(scene.chips()[0]->attached());
  SimHost host(scene);
  host.sendFrame(kConnect);
  EXPECT_EQ(host.run(100ms).back(), 0x8B);
}

}  // namespace
}  // namespace kolvaro::sim
