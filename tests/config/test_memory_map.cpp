#include <gtest/gtest.h>

#include "config/MemoryMap.h"
#include "link/Hex.h"

namespace kolvaro {
namespace {

constexpr std::uint16_t Local = 0xFFFE;     // 15.15.254
constexpr std::uint16_t Terminal = 0x1105;  // 1.1.5

TEST(MemoryMapTest, TelegramTexts) {
  struct Case {
    std::string built;
    const char* expected;
  };
  const Case cases[] = {
      // Group table: entry 8, low byte, sub group 3; entry 1 high byte of 15/7/255.
      {GroupTableWriteTelegram(Local, Terminal, 15, 0x03), "B0FFFE1105644281002F03"},
      {GroupTableWriteTelegram(Local, Terminal, 0, 0x7F),
       "B0FFFE11056442810020"
       "7F"},
      {GroupTableWriteTelegram(Local, 0xFFFF, 1, 0xFF), "B0FFFEFFFF6442810021FF"},
      {ProgramWriteTelegram(Local, Terminal, 1, 2), "BCFFFE1105644281000002"},
      {ProgramWriteTelegram(Local, Terminal, 2, 1), "BCFFFE1105644281000101"},
      {InputModeWriteTelegram(Local, Terminal, 1), "BCFFFE110564428100FF01"},
      {MemoryReadTelegram(control::LowPriority, Local, Terminal, memory::ProgramWY1), "BCFFFE11056342010000"},
      {MemoryReadTelegram(control::LowPriority, Local, Terminal, memory::ProgramWY2), "BCFFFE11056342010001"},
      {MemoryReadTelegram(control::LowPriority, Local, Terminal, memory::InputMode), "BCFFFE110563420100FF"},
      {MemoryReadTelegram(control::RepeatedUrgent, Local, Terminal, memory::GroupTableByte(15)),
       "98FFFE1105634201002F"},
      {PhysicalAddressReadTelegram(Local), "98FFFE0000E10100"},
      {PhysicalAddressWriteTelegram(Local, 0xFFFF), "BCFFFE0000E300C0FFFF"},
      {PhysicalAddressWriteTelegram(0x0001, Terminal), "BC00010000E300C01105"},
      // Group value writes: 0/0/2 on, 15/7/255 off, 31/7/255 (a high byte above 0x7F) on.
      {GroupValueWriteTelegram(Local, 0x00, 0x02, true), "BCFFFE0002E10081"},
      {GroupValueWriteTelegram(Local, 0x7F, 0xFF, false), "BCFFFE7FFFE10080"},
      {GroupValueWriteTelegram(Terminal, 0xFF, 0xFF, true), "BC1105FFFFE10081"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.built, c.expected);
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

TEST(MemoryMapTest, MemoryAnswerValue) {
  EXPECT_EQ(MemoryAnswerValue("B01105FFFE6342400012"), std::nullopt);  // no data byte: too short
  EXPECT_EQ(MemoryAnswerValue("BC1105FFFE6442400020"
                              "7F"),
            0x7F);
  EXPECT_EQ(MemoryAnswerValue("BC1105FFFE64424000FF"
                              "01"),
            0x01);
  EXPECT_EQ(MemoryAnswerValue("BC1105FFFE64424000FF"
                              "0"),
            std::nullopt);
}

}  // namespace
}  // namespace kolvaro
