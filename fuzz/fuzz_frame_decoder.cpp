// Arbitrary byte sequences into the frame decoder: every one decodes to a frame or to
// "not a frame" with a reason, never crashes, and what it reports agrees with the
// bytes, checked here independently of the decoder's own code.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include "telegram/FrameDecoder.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const kolvaro::DecodedFrame frame = kolvaro::DecodeFrame(bytes);
  const std::string line = kolvaro::DescribeFrame(frame);
  require(!line.empty(), "a description");
  if (!frame.isFrame) {
    require(!frame.notFrameReason.empty(), "a reason");
    require(size < 8 || (data[0] & 0xD3) != 0x90, "a standard frame refused");
    return 0;
  }
  require(size >= 8 && (data[0] & 0xD3) == 0x90, "a frame from too few bytes or a wrong control byte");
  require(frame.source == (data[1] << 8 | data[2]), "source");
  require(frame.destination == (data[3] << 8 | data[4]), "destination");
  const std::size_t content = 7 + (data[5] & 0x0Fu);
  if (size <= content) {
    require(frame.length == kolvaro::LengthVerdict::Truncated, "truncated");
    require(frame.checksum == kolvaro::ChecksumVerdict::Missing, "no checksum in a truncated frame");
  } else {
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < content; ++i) x ^= data[i];
    const bool good = static_cast<std::uint8_t>(~x) == data[content];
    require(good == (frame.checksum == kolvaro::ChecksumVerdict::Good), "checksum verdict");
    require((size == content + 1) == (frame.length == kolvaro::LengthVerdict::Exact), "length verdict");
  }
  require(frame.data.size() <= size, "data within the bytes");
  (void)kolvaro::ServiceText(frame);
  (void)kolvaro::DataText(frame);
  return 0;
}
