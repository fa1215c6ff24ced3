#include "telegram/FrameDecoder.h"

#include "link/Hex.h"

namespace kolvaro {

namespace {

// Frame positions and fields: the layout's, under shorter names.
constexpr std::size_t TransportIndex = frame_index::Transport;
constexpr std::size_t ServiceIndex = frame_index::Application;
using namespace frame_layout;

constexpr std::uint8_t TransportControlFlag = 0x80;  // connect, disconnect, ack: no application part
constexpr std::uint8_t MemoryCountMask = 0x0F;
constexpr std::uint8_t SmallValueMask = 0x3F;

FrameService serviceOf(std::uint16_t applicationCode) {
  switch (applicationCode >> 6) {
    case 0x0: return FrameService::GroupValueRead;
    case 0x1: return FrameService::GroupValueResponse;
    case 0x2: return FrameService::GroupValueWrite;
    case 0x3: return FrameService::IndividualAddressWrite;
    case 0x4: return FrameService::IndividualAddressRead;
    case 0x5: return FrameService::IndividualAddressResponse;
    case 0x8: return FrameService::MemoryRead;
    case 0x9: return FrameService::MemoryResponse;
    case 0xA: return FrameService::MemoryWrite;
    default: return FrameService::Other;
  }
}

std::string hex(unsigned value, int width) { return HexDigits(value, width); }

// The service's bytes after the service byte, as far as the frame's content reaches.
void decodeApplication(DecodedFrame& frame, std::span<const std::uint8_t> content) {
  if (content.size() <= ServiceIndex) {
    frame.service = FrameService::None;
    return;
  }
  frame.applicationCode = static_cast<std::uint16_t>((content[TransportIndex] & 0x03) << 8 | content[ServiceIndex]);
  frame.service = serviceOf(frame.applicationCode);
  const auto after = content.subspan(ServiceIndex + 1);
  switch (frame.service) {
    case FrameService::MemoryRead:
    case FrameService::MemoryResponse:
    case FrameService::MemoryWrite:
      frame.memoryCount = content[ServiceIndex] & MemoryCountMask;
      if (after.size() >= 2) {
        frame.memoryAddress = static_cast<std::uint16_t>(after[0] << 8 | after[1]);
        frame.data.assign(after.begin() + 2, after.end());
      }
      break;
    case FrameService::GroupValueResponse:
    case FrameService::GroupValueWrite:
      if (after.empty()) {
        frame.smallValue = content[ServiceIndex] & SmallValueMask;
      } else {
        frame.data.assign(after.begin(), after.end());
      }
      break;
    default: frame.data.assign(after.begin(), after.end()); break;
  }
}

}  // namespace

DecodedFrame DecodeFrame(std::span<const std::uint8_t> bytes) {
  DecodedFrame frame;
  if (bytes.size() < MinimumFrameBytes) {
    frame.notFrameReason = "za krótka (" + std::to_string(bytes.size()) + " B)";
    return frame;
  }
  const std::uint8_t control = bytes[frame_index::Control];
  if (!isStandardControl(control)) {
    frame.notFrameReason = "nieznany bajt sterujący " + hex(control, 2);
    return frame;
  }
  frame.isFrame = true;
  frame.control = control;
  frame.priority = static_cast<FramePriority>(control >> PriorityShift & PriorityMask);
  frame.repeated = (control & RepeatFlag) == 0;
  frame.source = static_cast<std::uint16_t>(bytes[frame_index::SourceHigh] << 8 | bytes[frame_index::SourceLow]);
  frame.destination =
      static_cast<std::uint16_t>(bytes[frame_index::DestinationHigh] << 8 | bytes[frame_index::DestinationLow]);
  const std::uint8_t routing = bytes[frame_index::Routing];
  frame.groupDestination = (routing & GroupFlag) != 0;
  frame.hopCount = routing >> HopShift & HopMask;
  frame.lengthField = routing & LengthMask;
  frame.transportControl = bytes[TransportIndex];

  // Header, transport byte and n application bytes; the checksum follows them.
  const std::size_t contentBytes = bytesFor(routing);
  std::span<const std::uint8_t> content;
  if (bytes.size() > contentBytes) {
    content = bytes.first(contentBytes);
    frame.checksum = bytes[contentBytes] == FrameChecksum(content) ? ChecksumVerdict::Good : ChecksumVerdict::Bad;
    frame.length = bytes.size() == contentBytes + 1 ? LengthVerdict::Exact : LengthVerdict::OverLong;
  } else {
    content = bytes;  // no byte left for a checksum
    frame.checksum = ChecksumVerdict::Missing;
    frame.length = LengthVerdict::Truncated;
  }

  if (frame.transportControl & TransportControlFlag) {
    frame.service = FrameService::TransportControl;
  } else {
    decodeApplication(frame, content);
  }
  return frame;
}

std::string PhysicalAddressText(std::uint16_t address) {
  return std::to_string(address >> 12) + "." + std::to_string(address >> 8 & 0x0F) + "." +
         std::to_string(address & 0xFF);
}

std::string GroupAddressText(std::uint16_t address) {
  return std::to_string(address >> 11) + "/" + std::to_string(address >> 8 & 0x07) + "/" +
         std::to_string(address & 0xFF);
}

std::string DestinationText(const DecodedFrame& frame) {
  return frame.groupDestination ? GroupAddressText(frame.destination) : PhysicalAddressText(frame.destination);
}

const char* PriorityText(FramePriority priority) {
  switch (priority) {
    case FramePriority::System: return KOLVARO_TRANSLATABLE("Kolvaro", "systemowy");
    case FramePriority::Normal: return KOLVARO_TRANSLATABLE("Kolvaro", "normalny");
    case FramePriority::Urgent: return KOLVARO_TRANSLATABLE("Kolvaro", "pilny");
    case FramePriority::Low: return KOLVARO_TRANSLATABLE("Kolvaro", "niski");
  }
  return "?";
}

const char* ChecksumText(ChecksumVerdict verdict) {
  switch (verdict) {
    case ChecksumVerdict::Good: return KOLVARO_TRANSLATABLE("Kolvaro", "poprawna");
    case ChecksumVerdict::Bad: return KOLVARO_TRANSLATABLE("Kolvaro", "błędna");
    case ChecksumVerdict::Missing: return KOLVARO_TRANSLATABLE("Kolvaro", "brak");
  }
  return "?";
}

const char* ServiceName(FrameService service) {
  switch (service) {
    case FrameService::GroupValueRead: return KOLVARO_TRANSLATABLE("Kolvaro", "odczyt wartości grupy");
    case FrameService::GroupValueResponse: return KOLVARO_TRANSLATABLE("Kolvaro", "odpowiedź wartości grupy");
    case FrameService::GroupValueWrite: return KOLVARO_TRANSLATABLE("Kolvaro", "zapis wartości grupy");
    case FrameService::IndividualAddressWrite: return KOLVARO_TRANSLATABLE("Kolvaro", "zapis adresu fizycznego");
    case FrameService::IndividualAddressRead: return KOLVARO_TRANSLATABLE("Kolvaro", "odczyt adresu fizycznego");
    case FrameService::IndividualAddressResponse: return KOLVARO_TRANSLATABLE("Kolvaro", "odpowiedź adresu fizycznego");
    case FrameService::MemoryRead: return KOLVARO_TRANSLATABLE("Kolvaro", "odczyt pamięci");
    case FrameService::MemoryResponse: return KOLVARO_TRANSLATABLE("Kolvaro", "odpowiedź pamięci");
    case FrameService::MemoryWrite: return KOLVARO_TRANSLATABLE("Kolvaro", "zapis pamięci");
    case FrameService::TransportControl: return KOLVARO_TRANSLATABLE("Kolvaro", "sterowanie transportem");
    case FrameService::Other: return KOLVARO_TRANSLATABLE("Kolvaro", "usługa");
    case FrameService::None: return KOLVARO_TRANSLATABLE("Kolvaro", "brak usługi");
  }
  return "?";
}

CoreText ServiceWords(const DecodedFrame& frame) {
  if (!frame.isFrame) return {};
  const CoreText name(ServiceName(frame.service));
  switch (frame.service) {
    case FrameService::GroupValueResponse:
    case FrameService::GroupValueWrite:
      if (frame.smallValue) {
        if (*frame.smallValue <= 1) {
          return *frame.smallValue ? CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: zał.")).arg(name)
                                   : CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: wył.")).arg(name);
        }
        return CoreText("%1: %2").arg(name).arg(std::int64_t{*frame.smallValue});
      }
      return name;
    case FrameService::TransportControl: return CoreText("%1 %2").arg(name).arg(hex(frame.transportControl, 2));
    case FrameService::Other: return CoreText("%1 %2").arg(name).arg(hex(frame.applicationCode, 3));
    default: return name;
  }
}

std::string ServiceText(const DecodedFrame& frame) { return ServiceWords(frame).polish(); }

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) text += ' ';
    text += hex(bytes[i], 2);
  }
  return text;
}

CoreText DataWords(const DecodedFrame& frame) {
  if (!frame.isFrame) return {};
  switch (frame.service) {
    case FrameService::MemoryRead:
    case FrameService::MemoryResponse:
    case FrameService::MemoryWrite: {
      CoreText text = CoreText("%1 B").arg(std::int64_t{frame.memoryCount});
      if (!frame.data.empty()) text = CoreText("%1: %2").arg(text).arg(HexBytes(frame.data));
      if (frame.memoryAddress) {
        text = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "adres %1, %2")).arg(hex(*frame.memoryAddress, 4)).arg(text);
      }
      return text;
    }
    case FrameService::IndividualAddressWrite:
      if (frame.data.size() >= 2) {
        return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nowy adres %1"))
            .arg(PhysicalAddressText(static_cast<std::uint16_t>(frame.data[0] << 8 | frame.data[1])));
      }
      return CoreText::plain(HexBytes(frame.data));
    default: return CoreText::plain(HexBytes(frame.data));
  }
}

std::string DataText(const DecodedFrame& frame) { return DataWords(frame).polish(); }

CoreText FrameWords(const DecodedFrame& frame) {
  if (!frame.isFrame) return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie ramka: %1")).arg(frame.notFrameReason);
  CoreText text = CoreText("%1 -> %2 %3")
                      .arg(PhysicalAddressText(frame.source))
                      .arg(DestinationText(frame))
                      .arg(ServiceWords(frame));
  const CoreText data = DataWords(frame);
  if (!data.empty()) text = text + CoreText(" [%1]").arg(data);
  text = text + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", priorytet %1, licznik %2"))
                    .arg(CoreText(PriorityText(frame.priority)))
                    .arg(static_cast<std::int64_t>(frame.hopCount));
  if (frame.repeated) text = text + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", powtórzenie"));
  text = text + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", suma %1")).arg(CoreText(ChecksumText(frame.checksum)));
  if (frame.length == LengthVerdict::Truncated) text = text + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", niepełna"));
  if (frame.length == LengthVerdict::OverLong) text = text + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", za długa"));
  return text;
}

std::string DescribeFrame(const DecodedFrame& frame) { return FrameWords(frame).polish(); }

}  // namespace kolvaro
