#pragma once
// The configured device's memory map and the telegram texts that read and write it one
// byte at a time, plus the broadcast services that read and assign its physical address.
// A telegram text is the frame without its checksum in upper-case hex digits:
// control, source, destination, routing byte, then transport/application bytes and data.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// Control fields of the frames the program sends.
namespace control {
inline constexpr char LowPriority[] = "BC";     // first transmission, low priority
inline constexpr char System[] = "B0";          // first transmission, system priority
inline constexpr char RepeatedUrgent[] = "98";  // repeat flag clear, urgent priority
}  // namespace control

// Memory write of one byte: control + source + destination + "644281" + address + value.
std::string MemoryWriteTelegram(std::string_view controlField, std::uint16_t source, std::uint16_t destination,
                                std::uint16_t address, std::uint8_t value);
// Memory read of one byte: control + source + destination + "634201" + address.
std::string MemoryReadTelegram(std::string_view controlField, std::uint16_t source, std::uint16_t destination,
                               std::uint16_t address);

// The writes as the write procedure sends them: the group table with system
// priority, the programs and the input mode with low priority.
std::string GroupTableWriteTelegram(std::uint16_t source, std::uint16_t destination, unsigned byteIndex,
                                    std::uint8_t value);
std::string ProgramWriteTelegram(std::uint16_t source, std::uint16_t destination, unsigned output,
                                 std::uint8_t program);
std::string InputModeWriteTelegram(std::uint16_t source, std::uint16_t destination, std::uint8_t mode);

// Group value write of on (1) or off (0): "BC" + source + the group + "E10081" or "E10080".
std::string GroupValueWriteTelegram(std::uint16_t source, std::uint8_t groupHigh, std::uint8_t groupLow, bool on);

// Broadcast physical address read: "98" + source + "0000E10100".
std::string PhysicalAddressReadTelegram(std::uint16_t source);
// Broadcast physical address write: "BC" + source + "0000E300C0" + the new address.
std::string PhysicalAddressWriteTelegram(std::uint16_t source, std::uint16_t newAddress);

// The byte a memory response carries: characters 21-22 (counting from 1) of its answer
// text. Nothing when the answer is too short to hold them.
std::optional<std::uint8_t> MemoryAnswerValue(std::string_view answerText);

}  // namespace kolvaro
