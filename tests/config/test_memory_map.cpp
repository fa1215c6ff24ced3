#include <gtest/gtest.h>

#include "config/MemoryMap.h"
#include "link/Hex.h"
#include "telegram/Frame.h"

namespace kolvaro {
namespace {

constexpr std::uint16_t Local = 0xFFFE;     // 15.15.254
constexpr std::uint16_t Terminal = 0x1105;  // 1.1.5

TEST(MemoryMapTest, FramesOfTheServices) {
  struct Case {
    Frame built;
    const char* expected;
  };
  const Case cases[] = {
      // Group table: entry 8, low byte, sub group 3; entry 1 high byte of 15/7/255.
      {MemoryWriteFrame(control::System, Local, Terminal, memory::GroupTableByte(15), 0x03), "B0FFFE1105644281002F03"},
      {MemoryWriteFrame(control::System, Local, Terminal, memory::GroupTableByte(0), 0x7F),
       "B0FFFE11056442810020"
       "7F"},
      {MemoryWriteFrame(control::System, Local, 0xFFFF, memory::GroupTableByte(1), 0xFF), "B0FFFEFFFF6442810021FF"},
      {MemoryWriteFrame(control::LowPriority, Local, Terminal, memory::ProgramOf(1), 2), "BCFFFE1105644281000002"},
      {MemoryWriteFrame(control::LowPriority, Local, Terminal, memory::ProgramOf(2), 1), "BCFFFE1105644281000101"},
      {MemoryWriteFrame(control::LowPriority, Local, Terminal, memory::InputMode, 1), "BCFFFE110564428100FF01"},
      {MemoryReadFrame(control::LowPriority, Local, Terminal, memory::ProgramWY1), "BCFFFE11056342010000"},
      {MemoryReadFrame(control::LowPriority, Local, Terminal, memory::ProgramWY2), "BCFFFE11056342010001"},
      {MemoryReadFrame(control::LowPriority, Local, Terminal, memory::InputMode), "BCFFFE110563420100FF"},
      {MemoryReadFrame(control::RepeatedUrgent, Local, Terminal, memory::GroupTableByte(15)), "98FFFE1105634201002F"},
      {IndividualAddressReadFrame(Local), "98FFFE0000E10100"},
      {IndividualAddressWriteFrame(Local, 0xFFFF), "BCFFFE0000E300C0FFFF"},
      {IndividualAddressWriteFrame(0x0001, Terminal), "BC00010000E300C01105"},
      // Group value writes: 0/0/2 on, 15/7/255 off, 31/7/255 (a high byte above 0x7F) on.
      {GroupValueWriteFrame(Local, {0x00, 0x02}, true), "BCFFFE0002E10081"},
      {GroupValueWriteFrame(Local, {0x7F, 0xFF}, false), "BCFFFE7FFFE10080"},
      {GroupValueWriteFrame(Terminal, {0xFF, 0xFF}, true), "BC1105FFFFE10081"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrameHexText(c.built), c.expected);
    // Every frame reads back from its bytes as itself.
    EXPECT_EQ(Frame::fromBytes(c.built.bytes()), c.built) << c.expected;
  }
}

TEST(MemoryMapTest, HexPairToByte) {
  struct Case {
    const char* text;
    std::uint8_t value;
  };
  const Case cases[] = {{"2F", 0x2F},  {"af", 0xAF}, {"aF", 0xAF}, {"00", 0x00}, {"FF", 0xFF},
                        {"9A1", 0x9A}, {"G0", 0x00}, {"", 0x00},   {"7", 0x70}};
  for (const auto& c : cases) EXPECT_EQ(HexPairToByte(c.text), c.value) << c.text;
}

// The memory address and the byte of a memory response, as the read takes them; a
// response without its data byte has none.
TEST(MemoryMapTest, MemoryResponseParts) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::optional<std::uint16_t> address;
    std::optional<std::uint8_t> value;
  };
  const Case cases[] = {
      {{0xB0, 0x11, 0x05, 0xFF, 0xFE, 0x63, 0x42, 0x40, 0x00, 0x12}, 0x0012, std::nullopt},
      {{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x40, 0x00, 0x20, 0x7F}, 0x0020, 0x7F},
      {{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x40, 0x00, 0xFF, 0x01}, 0x00FF, 0x01},
  };
  for (const auto& c : cases) {
    const auto frame = Frame::fromBytes(c.bytes);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->service(), service::MemoryResponse);
    EXPECT_EQ(frame->memoryAddress(), c.address);
    EXPECT_EQ(frame->memoryValue(), c.value);
  }
  // Bytes that do not add up to the length the routing byte announces are no frame.
  EXPECT_FALSE(Frame::fromBytes(std::vector<std::uint8_t>{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x40, 0x00, 0xFF}));
}

}  // namespace
}  // namespace kolvaro
