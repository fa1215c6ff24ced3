#pragma once
// A standard bus frame as a value: built from its parts, turned into bytes, read back
// from bytes, and able to say whether it is the answer a request waits for. The layout
// is in telegram/FrameLayout.h; the chip's hex text of a frame is made only where the
// chip is written to.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "telegram/AddressText.h"
#include "telegram/FrameLayout.h"

namespace kolvaro {

// Which answer a request waits for: its application service and, where the request
// went to one device, the device it must come from.
struct AnswerWanted {
  std::uint8_t service = service::None;
  std::optional<std::uint16_t> from;
};

struct Frame {
  std::uint8_t control = control::LowPriority;
  std::uint16_t source = 0;
  std::uint16_t destination = 0;
  bool groupDestination = false;
  std::uint8_t hopCount = 6;
  // The transport byte and the application bytes after it (1 + the length field).
  std::vector<std::uint8_t> payload{0x00};

  // The bytes from the control byte to the last application byte (no checksum).
  std::vector<std::uint8_t> bytes() const;
  // The same with the checksum appended, as the frame stands on the bus.
  std::vector<std::uint8_t> bytesWithChecksum() const;
  // A frame from its bytes without checksum, as many as its routing byte announces;
  // nothing for fewer or more bytes.
  static std::optional<Frame> fromBytes(std::span<const std::uint8_t> bytes);

  // The application service (0..15); 0 for a frame without application byte.
  std::uint8_t service() const;
  // Sent individually to this address (not a group or broadcast frame).
  bool individuallyTo(std::uint16_t address) const { return !groupDestination && destination == address; }
  // Whether this frame answers a request that waits for `wanted`, sent from `local`.
  bool answers(const AnswerWanted& wanted, std::uint16_t local) const;

  // Memory services: the memory address, and the first data byte of a response.
  std::optional<std::uint16_t> memoryAddress() const;
  std::optional<std::uint8_t> memoryValue() const;

  friend bool operator==(const Frame&, const Frame&) = default;
};

// The services the program sends. The memory services move one byte.
Frame MemoryReadFrame(std::uint8_t control, std::uint16_t source, std::uint16_t destination, std::uint16_t address);
Frame MemoryWriteFrame(std::uint8_t control, std::uint16_t source, std::uint16_t destination, std::uint16_t address,
                       std::uint8_t value);
Frame IndividualAddressReadFrame(std::uint16_t source);  // broadcast, urgent, repeat flag clear
Frame IndividualAddressWriteFrame(std::uint16_t source, std::uint16_t newAddress);
Frame GroupValueWriteFrame(std::uint16_t source, GroupBytes group, bool on);

// "BC11050002E10081": the frame's bytes as upper-case hex digits, the form of the log memo.
std::string FrameHexText(const Frame& frame);

}  // namespace kolvaro
