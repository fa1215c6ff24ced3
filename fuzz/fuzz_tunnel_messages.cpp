// Arbitrary datagrams into the tunnel's decoder, and the same bytes as a cEMI message:
// each is read as a message or refused with a reason, never crashes, and whatever is
// read encodes to bytes that read back as the same message.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include "telegram/TunnelMessages.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvaro::tunnel;
  const std::span<const std::uint8_t> bytes(data, size);

  const Decoded decoded = Decode(bytes);
  require(decoded.message.has_value() != (decoded.problem != nullptr), "a message or a reason");
  if (decoded.message) {
    require(size >= 6 && (data[4] << 8 | data[5]) == static_cast<int>(size), "the header's length is the datagram's");
    const Decoded again = Decode(Encode(*decoded.message));
    require(again.message && *again.message == *decoded.message, "a message encodes to itself");
    if (decoded.message->service == service_type::TunnellingRequest) (void)DecodeData(decoded.message->cemi);
  }

  const DecodedData cemi = DecodeData(bytes);
  require(cemi.message.has_value() != (cemi.problem != nullptr), "a cEMI message or a reason");
  if (cemi.message) {
    require(cemi.message->frame.payload.size() >= 1 && cemi.message->frame.payload.size() <= 16, "a TPDU's size");
    const DecodedData again = DecodeData(EncodeData(*cemi.message));
    require(again.message && *again.message == *cemi.message, "a cEMI message encodes to itself");
  }
  return 0;
}
