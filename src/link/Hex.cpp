#include "link/Hex.h"

namespace kolvaro {

std::string HexDigits(std::uint32_t value, int width) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text(static_cast<std::size_t>(width > 0 ? width : 0), '0');
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    *it = digits[value & 0xF];
    value >>= 4;
  }
  return text;
}

std::uint8_t HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return 0;
}

std::uint8_t HexPairToByte(std::string_view text) {
  const std::uint8_t high = text.size() > 0 ? HexDigitValue(text[0]) : 0;
  const std::uint8_t low = text.size() > 1 ? HexDigitValue(text[1]) : 0;
  return static_cast<std::uint8_t>(high << 4 | low);
}

void HexToBytes(const char* digits, std::size_t length, std::uint8_t* destination) {
  for (std::size_t i = 0; i + 1 < length; i += 2) destination[i / 2] = HexPairToByte({digits + i, 2});
}

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame) {
  std::uint8_t sum = 0;
  for (std::uint8_t byte : frame) sum ^= byte;
  return static_cast<std::uint8_t>(~sum);
}

}  // namespace kolvaro
