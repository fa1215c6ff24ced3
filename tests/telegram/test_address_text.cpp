#include <gtest/gtest.h>

#include "telegram/AddressText.h"

namespace kolvaro {
namespace {

struct PartCase {
  const char* part;
  std::optional<unsigned> value;
};

TEST(AddressTextTest, ReadsAPartByTheReadingRule) {
  const PartCase cases[] = {
      {"15", 15u},          {"05", 5u},           {" 5", 5u},           {"5 ", std::nullopt}, {"  ", std::nullopt},
      {"??", std::nullopt}, {"255", 255u},        {"  7", 7u},          {" 07", 7u},          {"2 5", std::nullopt},
      {"999", 999u},        {"1a", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::string_view part = c.part;
    EXPECT_EQ(ReadPart(part, 0, part.size()), c.value) << '"' << c.part << '"';
  }
  // Positions past the end of a short text count as blanks.
  EXPECT_EQ(ReadPart("1", 0, 2), std::nullopt);
  EXPECT_EQ(ReadPart("", 0, 3), std::nullopt);
}

struct TextCase {
  AddressKind kind;
  const char* text;
  bool complete;
  bool inRange;
};

TEST(AddressTextTest, CompleteAndRangeTests) {
  const TextCase cases[] = {
      {AddressKind::Physical, "15.15.254", true, true},   {AddressKind::Physical, "00.00.000", true, true},
      {AddressKind::Physical, " 1. 1.  5", true, true},   {AddressKind::Physical, "??.??.???", false, false},
      {AddressKind::Physical, "  .  .   ", false, false}, {AddressKind::Physical, "1 .15.255", false, false},
      {AddressKind::Physical, "15.1 .255", false, false}, {AddressKind::Physical, "15.15.25 ", false, false},
      {AddressKind::Physical, "16.00.001", true, false},  {AddressKind::Physical, "15.16.001", true, false},
      {AddressKind::Physical, "15.15.256", true, false},  {AddressKind::Physical, "99.99.999", true, false},
      {AddressKind::Group, "15\\7\\255", true, true},     {AddressKind::Group, "00\\0\\001", true, true},
      {AddressKind::Group, " 1\\2\\  3", true, true},     {AddressKind::Group, "  \\ \\   ", false, false},
      {AddressKind::Group, "05\\ \\   ", false, false},   {AddressKind::Group, "03\\8\\001", true, false},
      {AddressKind::Group, "03\\9\\001", true, false},    {AddressKind::Group, "16\\0\\000", true, false},
      {AddressKind::Group, "00\\0\\256", true, false},
  };
  for (const auto& c : cases) {
    const auto parts = ReadAddressParts(c.kind, c.text);
    EXPECT_EQ(IsComplete(c.kind, c.text), c.complete) << c.text;
    EXPECT_EQ(parts.has_value() && IsInRange(c.kind, *parts), c.inRange) << c.text;
  }
}

TEST(AddressTextTest, PhysicalTextsToValuesAndDigits) {
  struct Case {
    const char* text;
    std::optional<std::uint16_t> value;
    const char* digits;
  };
  const Case cases[] = {
      {"15.15.254", 0xFFFE, "FFFE"},   {"15.15.255", 0xFFFF, "FFFF"}, {"01.01.005", 0x1105, "1105"},
      {" 1. 1.  5", 0x1105, "1105"},   {"00.00.000", 0x0000, "0000"}, {"16.00.001", std::nullopt, ""},
      {"??.??.???", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    const auto value = PhysicalTextToValue(c.text);
    EXPECT_EQ(value, c.value) << c.text;
    if (value) {
      EXPECT_EQ(AddressHex(*value), c.digits) << c.text;
    }
  }
}

TEST(AddressTextTest, GroupTextsToBytesAndDigits) {
  struct Case {
    const char* text;
    std::optional<GroupBytes> bytes;
    const char* digits;
  };
  const Case cases[] = {
      {"01\\2\\003", GroupBytes{0x0A, 0x03}, "0A03"},
      {"15\\7\\255", GroupBytes{0x7F, 0xFF}, "7FFF"},
      {"00\\0\\001", GroupBytes{0x00, 0x01}, "0001"},
      {" 1\\2\\  3", GroupBytes{0x0A, 0x03}, "0A03"},
      {"03\\8\\001", std::nullopt, ""},
      {"  \\ \\   ", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    const auto bytes = GroupTextToBytes(c.text);
    EXPECT_EQ(bytes, c.bytes) << c.text;
    if (bytes) {
      EXPECT_EQ(GroupHex((*bytes)[0], (*bytes)[1]), c.digits) << c.text;
    }
  }
}

TEST(AddressTextTest, BytesRenderAsFieldTexts) {
  EXPECT_EQ(PhysicalBytesToText(0x11, 0x05), "01.01.005");
  EXPECT_EQ(PhysicalBytesToText(0xFF, 0xFF), "15.15.255");
  EXPECT_EQ(PhysicalValueToText(0xFFFE), "15.15.254");
  EXPECT_EQ(PhysicalValueToText(0x0000), "00.00.000");

  struct Case {
    std::uint8_t high, low;
    const char* text;
  };
  const Case groups[] = {
      {0x00, 0x01, "00\\0\\001"}, {0x7F, 0xFF, "15\\7\\255"}, {0x0A, 0x03, "01\\2\\003"}, {0xFF, 0xFF, "  \\ \\   "},
      {0x80, 0x00, "16\\0\\000"}, {0xFF, 0xFE, "31\\7\\254"}, {0xFE, 0xFF, "31\\6\\255"},
  };
  for (const auto& g : groups) EXPECT_EQ(GroupBytesToText(g.high, g.low), g.text);
}

TEST(AddressTextTest, EveryValidGroupRoundTripsThroughItsText) {
  for (unsigned high = 0; high <= 0x7F; ++high) {
    for (unsigned low = 0; low <= 0xFF; low += 17) {
      const auto h = static_cast<std::uint8_t>(high);
      const auto l = static_cast<std::uint8_t>(low);
      const auto text = GroupBytesToText(h, l);
      ASSERT_EQ(text.size(), GroupTextLength);
      ASSERT_EQ(GroupTextToBytes(text), (GroupBytes{h, l})) << text;
    }
  }
  for (unsigned value = 0; value <= 0xFFFF; value += 251) {
    const auto text = PhysicalValueToText(static_cast<std::uint16_t>(value));
    ASSERT_EQ(text.size(), PhysicalTextLength);
    ASSERT_EQ(PhysicalTextToValue(text), value) << text;
  }
}

}  // namespace
}  // namespace kolvaro
