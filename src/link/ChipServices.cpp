#include "link/ChipServices.h"

namespace kolvaro {

std::uint8_t FrameChecksum(const std::uint8_t* frame, std::size_t length) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum ^= frame[i];
  return static_cast<std::uint8_t>(~sum);
}

std::string ByteToHex(std::uint8_t byte) {
  static constexpr char digits[] = "0123456789ABCDEF";
  return {digits[byte >> 4], digits[byte & 0x0F]};
}

std::string FrameToChipText(const std::uint8_t* frame, std::uint8_t n) {
  std::string text;
  text.reserve(4u * n + 4u);
  for (std::size_t i = 0; i < n; ++i) {
    text += ByteToHex(chip::dataByteService(i));
    text += ByteToHex(frame[i]);
  }
  text += ByteToHex(chip::dataEndService(n));
  text += ByteToHex(FrameChecksum(frame, n));
  return text;
}

void HexToBytes(const char* digits, std::size_t length, std::uint8_t* destination) {
  for (std::size_t i = 0; i + 1 < length; i += 2) {
    destination[i / 2] = static_cast<std::uint8_t>((HexDigitValue(digits[i]) << 4) | HexDigitValue(digits[i + 1]));
  }
}

}  // namespace kolvaro
