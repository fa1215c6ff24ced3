#pragma once
// The configured device's memory map: which bytes hold what. The frames that read and
// write them one byte at a time are in telegram/Frame.h.
#include <cstdint>

namespace kolvaro {

namespace memory {
inline constexpr std::uint16_t ProgramWY1 = 0x0000;  // program of output WY1 (0, 1, 2)
inline constexpr std::uint16_t ProgramWY2 = 0x0001;  // program of output WY2
inline constexpr std::uint16_t GroupTable = 0x0020;  // 8 entries of (high, low); 0xFF 0xFF = none
inline constexpr std::uint16_t GroupTableBytes = 16;
inline constexpr std::uint16_t InputMode = 0x00FF;  // 0 monostable, 1 bistable

// Memory address of byte `index` (0..15) of the group table.
constexpr std::uint16_t GroupTableByte(unsigned index) { return static_cast<std::uint16_t>(GroupTable + index); }
// Memory address of the program of output 1 or 2.
constexpr std::uint16_t ProgramOf(unsigned output) { return output == 2 ? ProgramWY2 : ProgramWY1; }
}  // namespace memory

}  // namespace kolvaro
