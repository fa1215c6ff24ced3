// The bus: combined acknowledgements, repetitions, frame decoding.
#include <gtest/gtest.h>

#include "SimHost.h"

namespace kolvaro::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimBus, AcknowledgementsCombine) {
  struct Case {
    std::vector<Ack> answers;
    Ack onBus;
    std::size_t transmissions;
  };
  const Case cases[] = {
      {{}, Ack::None, 4},
      {{Ack::Ack}, Ack::Ack, 1},
      {{Ack::Ack, Ack::Ack}, Ack::Ack, 1},
      {{Ack::Ack, Ack::Nak}, Ack::Nak, 4},
      {{Ack::Nak, Ack::Busy}, Ack::Busy, 4},
      {{Ack::Ack, Ack::Busy, Ack::Nak}, Ack::Busy, 4},
  };
  for (const auto& c : cases) {
    Scene scene;
    for (Ack a : c.answers) scene.addStation({.address = 0x1109, .groups = {0x0A03}, .answer = a});
    scene.injectFrame(groupValueWrite(0x1001, 0x0A03, true));
    scene.advance(500ms);
    ASSERT_EQ(scene.log().size(), c.transmissions) << c.answers.size();
    for (const auto& f : scene.log()) EXPECT_EQ(f.ack, c.onBus);
  }
}

TEST(SimBus, RepetitionsClearTheRepeatFlagAndKeepTheChecksumRight) {
  Scene scene;
  scene.injectFrame(groupValueWrite(0x1001, 0x0A03, true, 0xB0));
  scene.advance(500ms);
  ASSERT_EQ(scene.log().size(), 4u);
  EXPECT_EQ(scene.log()[0].bytes[0], 0xB0);
  for (std::size_t i = 1; i < 4; ++i) {
    EXPECT_EQ(scene.log()[i].bytes[0], 0x90);
    EXPECT_TRUE(checksumOk(scene.log()[i].bytes));
    EXPECT_EQ(scene.log()[i].text, "1.0.1 -> 1/2/3 GroupValueWrite on (repeated) (system priority)");
  }
}

TEST(SimBus, OneFrameAtATimeWithIdleGapBetween) {
  Scene scene;
  scene.addStation({.address = 0x1109, .groups = {0x0A03}});
  for (int i = 0; i < 3; ++i) scene.injectFrame(groupValueWrite(0x1001, 0x0A03, i % 2 == 0));
  scene.advance(500ms);
  ASSERT_EQ(scene.log().size(), 3u);
  // 9 characters, the acknowledge pause and character, then 50 bit times of free bus.
  const Micros slot = bitTimes(9 * CharBits + AckPauseBits + 11) + bitTimes(IdleBits);
  EXPECT_EQ(scene.log()[1].time - scene.log()[0].time, slot);
  EXPECT_EQ(scene.log()[2].time - scene.log()[1].time, slot);
  EXPECT_NEAR(static_cast<double>(slot.count()), 20'000.0, 2'000.0) << "a short switching frame takes about 20 ms";
}

TEST(SimFrame, DecodesServices) {
  struct Case {
    Bytes frame;  // without checksum
    const char* text;
  };
  const Case cases[] = {
      {{0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x81}, "15.15.254 -> 0/0/2 GroupValueWrite on"},
      {{0xBC, 0xFF, 0xFE, 0x7F, 0xFF, 0xE1, 0x00, 0x80}, "15.15.254 -> 15/7/255 GroupValueWrite off"},
      {{0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE2, 0x00, 0x80, 0x2A}, "15.15.254 -> 0/0/2 GroupValueWrite 2A"},
      {{0xBC, 0x11, 0x05, 0x00, 0x02, 0xE1, 0x00, 0x41}, "1.1.5 -> 0/0/2 GroupValueResponse on"},
      {{0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x00}, "15.15.254 -> 0/0/2 GroupValueRead"},
      {{0x98, 0xFF, 0xFE, 0x00, 0x00, 0xE1, 0x01, 0x00}, "15.15.254 -> 0/0/0 IndividualAddressRead (repeated)"},
      {{0xB0, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40},
       "1.1.5 -> 15.15.254 IndividualAddressResponse (system priority)"},
      {{0xBC, 0xFF, 0xFE, 0x00, 0x00, 0xE3, 0x00, 0xC0, 0xFF, 0xFF},
       "15.15.254 -> 0/0/0 IndividualAddressWrite 15.15.255"},
      {{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x63, 0x42, 0x01, 0x00, 0x2F}, "15.15.254 -> 1.1.5 MemoryRead 1 byte at 002F"},
      {{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x41, 0x00, 0xFF, 0x01},
       "1.1.5 -> 15.15.254 MemoryResponse 1 byte at 00FF: 01"},
      {{0xB0, 0xFF, 0xFE, 0x11, 0x05, 0x64, 0x42, 0x81, 0x00, 0x2F, 0x03},
       "15.15.254 -> 1.1.5 MemoryWrite 1 byte at 002F: 03 (system priority)"},
      {{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80}, "15.15.254 -> 1.1.5 Connect"},
      {{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x81}, "15.15.254 -> 1.1.5 Disconnect"},
      {{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0xC6}, "15.15.254 -> 1.1.5 Ack 1"},
      {{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x62, 0x00, 0x80}, "15.15.254 -> 1.1.5 GroupValueWrite off (length mismatch)"},
  };
  for (const auto& c : cases) EXPECT_EQ(decodeFrame(withChecksum(c.frame)), c.text);
  Bytes bad = withChecksum({0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x81});
  bad.back() ^= 1;
  EXPECT_EQ(decodeFrame(bad), "15.15.254 -> 0/0/2 GroupValueWrite on (bad checksum)");
  EXPECT_EQ(checksumOf(Bytes{0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80}.data(), 7), 0xB6);
}

}  // namespace
}  // namespace kolvaro::sim
