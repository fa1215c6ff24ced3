#include "config/MemoryMap.h"

#include "telegram/AddressText.h"

namespace kolvaro {

namespace {

// Routing byte and transport/application bytes of each service.
constexpr char MemoryWriteMiddle[] = "644281";  // individual, hop count 6, length 4; memory write, 1 byte
constexpr char MemoryReadMiddle[] = "634201";   // individual, hop count 6, length 3; memory read, 1 byte
constexpr char Broadcast[] = "0000";
constexpr char AddressReadTail[] = "E10100";     // group flag, length 1; individual address read
constexpr char AddressWriteMiddle[] = "E300C0";  // group flag, length 3; individual address write
constexpr char GroupWriteOn[] = "E10081";        // group flag, length 1; group value write of 1
constexpr char GroupWriteOff[] = "E10080";       // group flag, length 1; group value write of 0

constexpr std::size_t MemoryValuePosition = 20;  // zero-based index of characters 21-22

std::string head(std::string_view controlField, std::uint16_t source, std::uint16_t destination) {
  return std::string(controlField) + AddressHex(source) + AddressHex(destination);
}

}  // namespace

std::string MemoryWriteTelegram(std::string_view controlField, std::uint16_t source, std::uint16_t destination,
                                std::uint16_t address, std::uint8_t value) {
  return head(controlField, source, destination) + MemoryWriteMiddle + AddressHex(address) + ByteHex(value);
}

std::string MemoryReadTelegram(std::string_view controlField, std::uint16_t source, std::uint16_t destination,
                               std::uint16_t address) {
  return head(controlField, source, destination) + MemoryReadMiddle + AddressHex(address);
}

std::string GroupTableWriteTelegram(std::uint16_t source, std::uint16_t destination, unsigned byteIndex,
                                    std::uint8_t value) {
  return MemoryWriteTelegram(control::System, source, destination, memory::GroupTableByte(byteIndex), value);
}

std::string ProgramWriteTelegram(std::uint16_t source, std::uint16_t destination, unsigned output,
                                 std::uint8_t program) {
  return MemoryWriteTelegram(control::LowPriority, source, destination, memory::ProgramOf(output), program);
}

std::string InputModeWriteTelegram(std::uint16_t source, std::uint16_t destination, std::uint8_t mode) {
  return MemoryWriteTelegram(control::LowPriority, source, destination, memory::InputMode, mode);
}

std::string GroupValueWriteTelegram(std::uint16_t source, std::uint8_t groupHigh, std::uint8_t groupLow, bool on) {
  return std::string(control::LowPriority) + AddressHex(source) + GroupHex(groupHigh, groupLow) +
         (on ? GroupWriteOn : GroupWriteOff);
}

std::string PhysicalAddressReadTelegram(std::uint16_t source) {
  return std::string(control::RepeatedUrgent) + AddressHex(source) + Broadcast + AddressReadTail;
}

std::string PhysicalAddressWriteTelegram(std::uint16_t source, std::uint16_t newAddress) {
  return std::string(control::LowPriority) + AddressHex(source) + Broadcast + AddressWriteMiddle +
         AddressHex(newAddress);
}

std::optional<std::uint8_t> MemoryAnswerValue(std::string_view answerText) {
  if (answerText.size() < MemoryValuePosition + 2) return std::nullopt;
  return HexPairToByte(answerText.substr(MemoryValuePosition, 2));
}

}  // namespace kolvaro
