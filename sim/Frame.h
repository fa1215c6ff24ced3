#pragma once
// Standard bus frames as bytes: field access, checksum, and the decoded one-line text
// used in the bus log ("15.15.254 -> 0/0/2 GroupValueWrite on").
// Written apart from the program's own layout (src/telegram/FrameLayout.h) on purpose: the simulator checks the
// program's frames against an independent reading.
#include <cstdint>
#include <string>
#include <vector>

namespace kolvaro::sim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t RepeatFlag = 0x20;  // control byte: 1 = first transmission
inline constexpr std::uint8_t GroupFlag = 0x80;   // routing byte: destination is a group
inline constexpr std::size_t HeaderSize = 6;      // control, source (2), destination (2), routing

// Complement of the exclusive-or of the bytes: the check byte that follows a frame.
std::uint8_t checksumOf(const std::uint8_t* bytes, std::size_t count);
// Appends the checksum to a frame given without one.
Bytes withChecksum(Bytes frame);
// Replaces the last byte (the checksum) with the right one.
void fixChecksum(Bytes& frameWithChecksum);
bool checksumOk(const Bytes& frameWithChecksum);

// Fields of a frame (with or without its checksum); callers make sure the header is there.
inline std::uint16_t sourceOf(const Bytes& f) { return static_cast<std::uint16_t>(f[1] << 8 | f[2]); }
inline std::uint16_t destinationOf(const Bytes& f) { return static_cast<std::uint16_t>(f[3] << 8 | f[4]); }
inline bool isGroupFrame(const Bytes& f) { return (f[5] & GroupFlag) != 0; }
inline std::size_t lengthFieldOf(const Bytes& f) { return f[5] & 0x0F; }
// The 10-bit application service code of a data frame (transport bits masked off).
std::uint16_t applicationCodeOf(const Bytes& frame);
// A well-formed standard frame: header, length field consistent with its size, checksum.
bool isCompleteFrame(const Bytes& frameWithChecksum);

std::string physicalText(std::uint16_t address);  // 15.15.254
std::string groupText(std::uint16_t address);     // 0/0/2 (main/middle/sub)
std::string hexBytes(const Bytes& bytes);         // "BC FF FE ..."
// "15.15.254 -> 0/0/2 GroupValueWrite on"; repetitions, system priority and bad
// checksums are marked after the service.
std::string decodeFrame(const Bytes& frameWithChecksum);

// Builders for the frames the simulated stations send.
Bytes groupValueWrite(std::uint16_t source, std::uint16_t group, bool on, std::uint8_t control = 0xBC);

}  // namespace kolvaro::sim
