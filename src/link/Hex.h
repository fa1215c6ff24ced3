#pragma once
// The program's one toolkit for the hexadecimal texts that carry telegrams and chip
// services, and for the checksum of a bus frame. Texts the program makes are upper-case;
// texts it reads may be in either case.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kolvaro {

// Upper-case hexadecimal digits of fixed width, the lowest digits of value.
std::string HexDigits(std::uint32_t value, int width);
// Two upper-case hexadecimal digits of a byte.
inline std::string ByteHex(std::uint8_t byte) { return HexDigits(byte, 2); }

// The value of one digit; lower-case letters count as upper-case, any other character 0.
std::uint8_t HexDigitValue(char c);
// Two digits to a byte, high digit first; a character missing from a short text counts 0.
std::uint8_t HexPairToByte(std::string_view text);
// Writes length / 2 bytes to destination, two digits a byte; an odd last digit is left out.
void HexToBytes(const char* digits, std::size_t length, std::uint8_t* destination);

// The checksum of a bus frame: the complement of the exclusive-or of its bytes (the
// checksum itself excluded).
std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame);

}  // namespace kolvaro
