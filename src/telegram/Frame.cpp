#include "telegram/Frame.h"

#include "link/Hex.h"

namespace kolvaro {

namespace {

using namespace frame_layout;

// Transport and application bytes of the services sent: unnumbered data for the
// broadcasts and group writes, numbered data with sequence number 0 for memory access.
constexpr std::uint8_t UnnumberedData = 0x00;
constexpr std::uint8_t NumberedData = 0x42;  // numbered, sequence 0, service bits 3..2 = 10
constexpr std::uint8_t MemoryReadOneByte = 0x01;
constexpr std::uint8_t MemoryWriteOneByte = 0x81;
constexpr std::uint8_t AddressRead = 0x00;      // with transport byte 0x01: service 0100
constexpr std::uint8_t AddressWrite = 0xC0;     // with transport byte 0x00: service 0011
constexpr std::uint8_t GroupWriteValue = 0x80;  // service 0010 with the value in the low bits
constexpr std::size_t MemoryAddressAt = 2;      // in the payload, after the transport and service bytes
constexpr std::size_t MemoryValueAt = 4;

std::uint8_t high(std::uint16_t word) { return static_cast<std::uint8_t>(word >> 8); }
std::uint8_t low(std::uint16_t word) { return static_cast<std::uint8_t>(word & 0xFF); }
std::uint16_t word(std::uint8_t h, std::uint8_t l) { return static_cast<std::uint16_t>(h << 8 | l); }

Frame individual(std::uint8_t controlByte, std::uint16_t source, std::uint16_t destination,
                 std::vector<std::uint8_t> payload) {
  return Frame{controlByte, source, destination, false, 6, std::move(payload)};
}

Frame broadcast(std::uint8_t controlByte, std::uint16_t source, std::vector<std::uint8_t> payload) {
  return Frame{controlByte, source, 0x0000, true, 6, std::move(payload)};
}

}  // namespace

std::vector<std::uint8_t> Frame::bytes() const {
  const auto length = static_cast<std::uint8_t>((payload.empty() ? 0 : payload.size() - 1) & LengthMask);
  const auto routing =
      static_cast<std::uint8_t>((groupDestination ? GroupFlag : 0) | (hopCount & HopMask) << HopShift | length);
  std::vector<std::uint8_t> out;
  out.reserve(FixedBytes + length + 1);
  for (std::uint8_t byte : {control, high(source), low(source), high(destination), low(destination), routing})
    out.push_back(byte);
  for (std::uint8_t byte : payload) out.push_back(byte);
  if (payload.empty()) out.push_back(0x00);
  return out;
}

std::vector<std::uint8_t> Frame::bytesWithChecksum() const {
  std::vector<std::uint8_t> out = bytes();
  out.push_back(FrameChecksum(out));
  return out;
}

std::optional<Frame> Frame::fromBytes(std::span<const std::uint8_t> in) {
  if (in.size() < FixedBytes || in.size() != bytesFor(in[frame_index::Routing])) return std::nullopt;
  const std::uint8_t routing = in[frame_index::Routing];
  return Frame{in[frame_index::Control],
               word(in[frame_index::SourceHigh], in[frame_index::SourceLow]),
               word(in[frame_index::DestinationHigh], in[frame_index::DestinationLow]),
               (routing & GroupFlag) != 0,
               static_cast<std::uint8_t>(routing >> HopShift & HopMask),
               {in.begin() + frame_index::Transport, in.end()}};
}

std::uint8_t Frame::service() const {
  if (payload.size() < 2) return 0;
  return serviceOf(payload[0], payload[1]);
}

bool Frame::answers(const AnswerWanted& wanted, std::uint16_t local) const {
  if (!individuallyTo(local) || service() != wanted.service) return false;
  return !wanted.from || source == *wanted.from;
}

std::optional<std::uint16_t> Frame::memoryAddress() const {
  if (payload.size() < MemoryAddressAt + 2) return std::nullopt;
  return word(payload[MemoryAddressAt], payload[MemoryAddressAt + 1]);
}

std::optional<std::uint8_t> Frame::memoryValue() const {
  if (payload.size() <= MemoryValueAt) return std::nullopt;
  return payload[MemoryValueAt];
}

Frame MemoryReadFrame(std::uint8_t controlByte, std::uint16_t source, std::uint16_t destination,
                      std::uint16_t address) {
  return individual(controlByte, source, destination, {NumberedData, MemoryReadOneByte, high(address), low(address)});
}

Frame MemoryWriteFrame(std::uint8_t controlByte, std::uint16_t source, std::uint16_t destination, std::uint16_t address,
                       std::uint8_t value) {
  return individual(controlByte, source, destination,
                    {NumberedData, MemoryWriteOneByte, high(address), low(address), value});
}

Frame IndividualAddressReadFrame(std::uint16_t source) {
  return broadcast(control::RepeatedUrgent, source, {0x01, AddressRead});
}

Frame IndividualAddressWriteFrame(std::uint16_t source, std::uint16_t newAddress) {
  return broadcast(control::LowPriority, source, {UnnumberedData, AddressWrite, high(newAddress), low(newAddress)});
}

Frame GroupValueWriteFrame(std::uint16_t source, GroupBytes group, bool on) {
  Frame frame{control::LowPriority,
              source,
              word(group[0], group[1]),
              true,
              6,
              {UnnumberedData, static_cast<std::uint8_t>(GroupWriteValue | (on ? 1 : 0))}};
  return frame;
}

std::string FrameHexText(const Frame& frame) {
  std::string text;
  for (std::uint8_t byte : frame.bytes()) text += ByteHex(byte);
  return text;
}

}  // namespace kolvaro
