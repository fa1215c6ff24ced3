#pragma once
// Decodes the bytes of one standard bus frame into what a person reads in a bus log:
// control (priority, repeat flag), source, destination as the bus sees it (physical
// a.b.c or group m/s/g), hop count, the service in words, its data and the checksum
// verdict. Any byte sequence decodes: to a frame (possibly flagged truncated, over-long
// or with a bad checksum) or to "not a frame" with the reason. Pure; no state.
// The frame layout is telegram/FrameLayout.h.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/CoreText.h"
#include "telegram/FrameLayout.h"

namespace kolvaro {

enum class FramePriority { System, Normal, Urgent, Low };

enum class ChecksumVerdict { Good, Bad, Missing };

// How the number of bytes compares with the length the routing byte announces.
enum class LengthVerdict { Exact, Truncated, OverLong };

// The services this program meets on its bus; everything else keeps its code.
enum class FrameService {
  GroupValueRead,
  GroupValueResponse,
  GroupValueWrite,
  IndividualAddressWrite,
  IndividualAddressRead,
  IndividualAddressResponse,
  MemoryRead,
  MemoryResponse,
  MemoryWrite,
  TransportControl,  // connect, disconnect, acknowledgements: no application part
  Other,
  None,  // too short to carry a service
};

struct DecodedFrame {
  bool isFrame = false;
  std::string notFrameReason;  // set when isFrame is false

  std::uint8_t control = 0;
  FramePriority priority = FramePriority::Low;
  bool repeated = false;  // repeat flag clear: a repetition
  std::uint16_t source = 0;
  std::uint16_t destination = 0;
  bool groupDestination = false;
  unsigned hopCount = 0;
  unsigned lengthField = 0;  // n: bytes after the transport byte
  std::uint8_t transportControl = 0;
  std::uint16_t applicationCode = 0;  // ten bits: the service with its small data
  FrameService service = FrameService::None;

  // Memory services: byte count, memory address (when present) and the data bytes.
  unsigned memoryCount = 0;
  std::optional<std::uint16_t> memoryAddress;
  // Group value services: the value in the service byte's low six bits when the
  // frame carries no data bytes, otherwise the data bytes.
  std::optional<unsigned> smallValue;
  // Data bytes of the service (memory data, group value bytes, new address).
  std::vector<std::uint8_t> data;

  ChecksumVerdict checksum = ChecksumVerdict::Missing;
  LengthVerdict length = LengthVerdict::Exact;
};

// The fewest bytes that are decoded as a frame: header, transport byte and checksum.
inline constexpr std::size_t MinimumFrameBytes = frame_layout::MinBytesWithChecksum;

DecodedFrame DecodeFrame(std::span<const std::uint8_t> bytes);

// Text forms, as the log shows them.
std::string PhysicalAddressText(std::uint16_t address);  // 1.1.5
std::string GroupAddressText(std::uint16_t address);     // 0/0/2 (main 0..31)
std::string DestinationText(const DecodedFrame& frame);  // physical or group, as the bus sees it
const char* PriorityText(FramePriority priority);        // Polish words
const char* ChecksumText(ChecksumVerdict verdict);
const char* ServiceName(FrameService service);  // Polish words, without data
CoreText ServiceWords(const DecodedFrame& frame);
std::string ServiceText(const DecodedFrame& frame);  // words with the small value: "zapis wartości grupy: zał."
CoreText DataWords(const DecodedFrame& frame);
std::string DataText(const DecodedFrame& frame);            // "adres 0020, 1 B: FF" and the like; "" when none
std::string HexBytes(std::span<const std::uint8_t> bytes);  // "BC 11 05 00 02"
// One line: source -> destination, service, data, flags; or "nie ramka: reason".
CoreText FrameWords(const DecodedFrame& frame);
std::string DescribeFrame(const DecodedFrame& frame);  // the same in Polish

}  // namespace kolvaro
