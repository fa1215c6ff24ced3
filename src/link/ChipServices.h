#pragma once
// The byte services of the bus interface chip that the program relies on, and the
// chip text that hands a frame over (hexadecimal digits, as link/Hex.h makes them).
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/Hex.h"

namespace kolvaro {

namespace chip {
// Program to chip.
inline constexpr std::uint8_t ResetRequest = 0x01;  // sent once after the port opens; no answer awaited
inline constexpr std::uint8_t DataStart =
    0x80;  // 0x80 + i: the next byte is byte i of the frame (i = 0 start, 1..62 continue)
inline constexpr std::uint8_t DataEnd = 0x40;         // 0x40 + n: the next byte is the checksum, at index n
inline constexpr std::uint8_t AckInformation = 0x11;  // during reception: the frame now arriving is for this station
// Chip to program.
inline constexpr std::uint8_t PositiveConfirmation = 0x8B;  // the frame just sent has gone out on the bus
inline constexpr std::uint8_t NegativeConfirmation = 0x0B;  // not acknowledged after the last repetition

constexpr std::uint8_t dataByteService(std::size_t index) { return static_cast<std::uint8_t>(DataStart + index); }
constexpr std::uint8_t dataEndService(std::size_t length) { return static_cast<std::uint8_t>(DataEnd + length); }
}  // namespace chip

// The chip text of a frame of n bytes: for each byte i the pair 0x80 + i, byte i; then
// 0x40 + n and the checksum; each byte as two upper-case hexadecimal digits.
std::string FrameToChipText(const std::uint8_t* frame, std::uint8_t n);

}  // namespace kolvaro
