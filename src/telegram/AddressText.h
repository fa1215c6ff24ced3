#pragma once
// Physical and group addresses in their three forms: the text of an address field
// (fixed positions, blanks as spaces), the number or byte pair, and the upper-case
// hexadecimal digits of a telegram text.
//
// Physical text "AA.LL.DDD": area 0..15, line 0..15, device 0..255;
//   value = area * 4096 + line * 256 + device, high byte first on the bus.
// Group text "MM\M\SSS": main 0..15, middle 0..7, sub 0..255;
//   bytes = (main * 8 + middle, sub). 0xFF 0xFF means no group.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/Hex.h"

namespace kolvaro {

enum class AddressKind { Physical, Group };

inline constexpr char UnknownPhysicalText[] = "??.??.???";
inline constexpr char EmptyGroupText[] = "  \\ \\   ";
// What validation puts in place of a wrong text.
inline constexpr char PhysicalCorrectionText[] = "15.15.255";
inline constexpr char GroupCorrectionText[] = "15\\7\\255";

inline constexpr std::uint8_t NoGroupByte = 0xFF;  // both bytes of an unassigned group

inline constexpr std::size_t PhysicalTextLength = 9;
inline constexpr std::size_t GroupTextLength = 8;

using GroupBytes = std::array<std::uint8_t, 2>;  // high, low

// The three numbers of an address text, in text order
// (area, line, device or main, middle, sub).
struct AddressParts {
  unsigned first = 0;
  unsigned second = 0;
  unsigned third = 0;
  friend bool operator==(const AddressParts&, const AddressParts&) = default;
};

// Reads the part at zero-based position `first`, `width` characters wide: leading
// blanks skipped, then one or more decimal digits and nothing else. Positions beyond
// the end of the text count as blanks. Nothing when the part is not a number.
std::optional<unsigned> ReadPart(std::string_view text, std::size_t first, std::size_t width);

// All three parts, or nothing when any part is not a number (the text is incomplete).
// Separators are not examined: the parts sit at fixed positions.
std::optional<AddressParts> ReadAddressParts(AddressKind kind, std::string_view text);

bool IsComplete(AddressKind kind, std::string_view text);
bool IsInRange(AddressKind kind, const AddressParts& parts);

// From a complete, in-range text only; nothing otherwise.
std::optional<std::uint16_t> PhysicalTextToValue(std::string_view text);
std::optional<GroupBytes> GroupTextToBytes(std::string_view text);

// Texts the program writes into fields: parts padded with leading zeros.
std::string PhysicalBytesToText(std::uint8_t high, std::uint8_t low);  // 0x11 0x05 -> "01.01.005"
std::string PhysicalValueToText(std::uint16_t value);
// 0xFF 0xFF gives the empty group text; a high byte of 0x80 and above shows main 16..31.
std::string GroupBytesToText(std::uint8_t high, std::uint8_t low);

// The four upper-case hexadecimal digits of an address, as telegram texts carry them.
inline std::string AddressHex(std::uint32_t address) { return HexDigits(address & 0xFFFF, 4); }
inline std::string GroupHex(std::uint8_t high, std::uint8_t low) {
  return HexDigits(static_cast<std::uint32_t>(high) << 8 | low, 4);
}

}  // namespace kolvaro
