#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ChipServices.h"
#include "link/Hex.h"

namespace kolvaro {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& digits) {
  std::vector<std::uint8_t> bytes(digits.size() / 2);
  HexToBytes(digits.data(), digits.size(), bytes.data());
  return bytes;
}

TEST(ChipText, SevenByteFrameWithItsChecksum) {
  auto frame = bytesOf("BCFFFE11056080");
  ASSERT_EQ(frame.size(), 7u);
  EXPECT_EQ(FrameChecksum(frame), 0xB6);
  EXPECT_EQ(FrameToChipText(frame.data(), 7), "80BC81FF82FE831184058560868047B6");
}

TEST(ChipText, LongestFrameEndsWithItsLastServiceBytes) {
  std::vector<std::uint8_t> frame(22);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(0x10 + i);
  std::string text = FrameToChipText(frame.data(), 22);
  ASSERT_EQ(text.size(), 4u * 22 + 4);
  // ... 95 <byte 21> 56 <checksum>
  EXPECT_EQ(text.substr(text.size() - 8, 2), "95");
  EXPECT_EQ(text.substr(text.size() - 6, 2), "25");
  EXPECT_EQ(text.substr(text.size() - 4, 2), "56");
  std::uint8_t sum = 0;
  for (auto b : frame) sum ^= b;
  EXPECT_EQ(text.substr(text.size() - 2), ByteHex(static_cast<std::uint8_t>(0xFF - sum)));
}

TEST(ChipText, ChecksumMakesTheWholeFrameXorToFF) {
  for (auto digits : {"BC11010000E10081", "B0FFFE0000E10100", "00", "FF"}) {
    auto frame = bytesOf(digits);
    std::uint8_t all = FrameChecksum(frame);
    for (auto b : frame) all ^= b;
    EXPECT_EQ(all, 0xFF) << digits;
  }
}

TEST(HexDigits, PairsGiveBytesHighDigitFirst) {
  struct Case {
    const char* digits;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"0A", {0x0A}},
      {"A0", {0xA0}},
      {"00FF", {0x00, 0xFF}},
      {"1234ABCDEF", {0x12, 0x34, 0xAB, 0xCD, 0xEF}},
      {"", {}},
      {"abcdef", {0xAB, 0xCD, 0xEF}},  // read in either case
      {"G1Z-", {0x01, 0x00}},          // a character that is no digit counts 0
      {"123", {0x12}},                 // an odd last digit is left out
  };
  for (const auto& c : cases) EXPECT_EQ(bytesOf(c.digits), c.bytes) << c.digits;
}

TEST(HexDigits, ByteTextIsTwoUpperCaseDigits) {
  EXPECT_EQ(ByteHex(0x00), "00");
  EXPECT_EQ(ByteHex(0x0B), "0B");
  EXPECT_EQ(ByteHex(0xFE), "FE");
  for (int b = 0; b < 256; ++b) EXPECT_EQ(bytesOf(ByteHex(static_cast<std::uint8_t>(b)))[0], b);
}

}  // namespace
}  // namespace kolvaro
