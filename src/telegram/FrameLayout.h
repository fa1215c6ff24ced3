#pragma once
// The layout of a standard bus frame, once for the whole program: where each field
// stands, what its bits mean, how long a frame may be and how its checksum is made.
//
//   byte 0      control: 10R1PP00 (R set: first transmission; PP: priority)
//   bytes 1-2   source address, high byte first
//   bytes 3-4   destination: physical or group address, high byte first
//   byte 5      routing: bit 7 group destination, bits 6..4 hop count, bits 3..0 length L
//   byte 6      transport byte; its bits 1..0 are bits 3..2 of the application service
//   bytes 7..6+L  application bytes: bits 7..6 of byte 7 are bits 1..0 of the service
//   byte 7+L    checksum: the complement of the exclusive-or of bytes 0 .. 6+L
#include <cstddef>
#include <cstdint>
#include <span>

namespace kolvaro {

// Positions of a frame's bytes, counted from its control byte.
namespace frame_index {
inline constexpr std::size_t Control = 0;
inline constexpr std::size_t SourceHigh = 1;
inline constexpr std::size_t SourceLow = 2;
inline constexpr std::size_t DestinationHigh = 3;
inline constexpr std::size_t DestinationLow = 4;
inline constexpr std::size_t Routing = 5;  // group destination flag, hop count and length field
inline constexpr std::size_t Transport = 6;
inline constexpr std::size_t Application = 7;
}  // namespace frame_index

// Control bytes that start a standard frame sent for the first time, by priority.
namespace frame_start {
inline constexpr std::uint8_t System = 0xB0;
inline constexpr std::uint8_t Normal = 0xB4;
inline constexpr std::uint8_t Urgent = 0xB8;
inline constexpr std::uint8_t Low = 0xBC;
}  // namespace frame_start

// Control bytes of the frames the program sends.
namespace control {
inline constexpr std::uint8_t LowPriority = 0xBC;     // first transmission, low priority
inline constexpr std::uint8_t System = 0xB0;          // first transmission, system priority
inline constexpr std::uint8_t RepeatedUrgent = 0x98;  // repeat flag clear, urgent priority
}  // namespace control

namespace frame_layout {
// Bytes before the length field's bytes: header (6) and the transport byte.
inline constexpr std::size_t FixedBytes = 7;
// The longest frame (length field 15), checksum not counted.
inline constexpr std::size_t MaxBytes = FixedBytes + 15;
// Header, transport byte and checksum: the fewest bytes that can be a frame.
inline constexpr std::size_t MinBytesWithChecksum = FixedBytes + 1;

inline constexpr std::uint8_t GroupFlag = 0x80;   // routing byte
inline constexpr std::uint8_t LengthMask = 0x0F;  // routing byte
inline constexpr unsigned HopShift = 4;
inline constexpr std::uint8_t HopMask = 0x07;
inline constexpr std::uint8_t RepeatFlag = 0x20;     // control: set on a first transmission
inline constexpr std::uint8_t StandardMask = 0xD3;   // control bits that make a standard frame ...
inline constexpr std::uint8_t StandardValue = 0x90;  // ... when they read 10x1xx00
inline constexpr unsigned PriorityShift = 2;
inline constexpr std::uint8_t PriorityMask = 0x03;

// Bytes a frame of this routing byte has, checksum not counted.
constexpr std::size_t bytesFor(std::uint8_t routing) { return FixedBytes + (routing & LengthMask); }
constexpr bool isStandardControl(std::uint8_t control) { return (control & StandardMask) == StandardValue; }
// The application service (0..15) from the transport byte and the first application byte.
constexpr std::uint8_t serviceOf(std::uint8_t transport, std::uint8_t application) {
  return static_cast<std::uint8_t>((transport & 0x03) << 2 | (application & 0xC0) >> 6);
}
}  // namespace frame_layout

// Application services (four bits) that the program sends or awaits.
namespace service {
inline constexpr std::uint8_t GroupValueRead = 0;
inline constexpr std::uint8_t GroupValueResponse = 1;
inline constexpr std::uint8_t GroupValueWrite = 2;
inline constexpr std::uint8_t IndividualAddressWrite = 3;
inline constexpr std::uint8_t IndividualAddressRead = 4;
inline constexpr std::uint8_t IndividualAddressResponse = 5;
inline constexpr std::uint8_t MemoryRead = 8;
inline constexpr std::uint8_t MemoryResponse = 9;
inline constexpr std::uint8_t MemoryWrite = 10;
inline constexpr std::uint8_t None = 255;  // no frame carries it: nothing is taken as an answer
}  // namespace service

}  // namespace kolvaro
