#include "link/ChipServices.h"

namespace kolvaro {

std::string FrameToChipText(const std::uint8_t* frame, std::uint8_t n) {
  std::string text;
  text.reserve(4u * n + 4u);
  for (std::size_t i = 0; i < n; ++i) {
    text += ByteHex(chip::dataByteService(i));
    text += ByteHex(frame[i]);
  }
  text += ByteHex(chip::dataEndService(n));
  text += ByteHex(FrameChecksum({frame, n}));
  return text;
}

}  // namespace kolvaro
