#pragma once
// The tests' own hexadecimal text of a byte, independent of the program's hex toolkit,
// so that what a test renders does not share a fault with what the program encodes.
#include <cstdint>
#include <string>

namespace kolvaro::test {

inline std::string hexByte(std::uint8_t byte) {
  static constexpr char digits[] = "0123456789ABCDEF";
  return {digits[byte / 16], digits[byte % 16]};
}

}  // namespace kolvaro::test
