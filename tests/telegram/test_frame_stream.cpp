// Watching a bus: frames cut from the byte stream, whatever lies around them.
#include <gtest/gtest.h>

#include "telegram/FrameStream.h"

namespace kolvaro {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes withChecksum(Bytes frame) {
  std::uint8_t sum = 0xFF;
  for (std::uint8_t b : frame) sum ^= b;
  frame.push_back(sum);
  return frame;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(FrameStream, FindsEveryFrameAndSkipsTheRest) {
  const Bytes group = withChecksum({0xBC, 0x11, 0x05, 0x00, 0x02, 0xE1, 0x00, 0x81});
  const Bytes repetition = withChecksum({0x9C, 0x11, 0x05, 0x00, 0x02, 0xE1, 0x00, 0x81});
  const Bytes system = withChecksum({0xB0, 0x11, 0x05, 0x11, 0xC8, 0x64, 0x42, 0x41, 0x00, 0x20, 0x7F});
  Bytes badSum = group;
  badSum.back() ^= 0x01;
  struct Case {
    const char* name;
    Bytes stream;
    std::vector<Bytes> frames;
    std::size_t skippedBytes;
  };
  const Case cases[] = {
      {"frames back to back", concat({group, repetition, system}), {group, repetition, system}, 0},
      {"confirmations and indications between", concat({{0x8B, 0x03}, group, {0x0B}, system}), {group, system}, 3},
      // A control byte among noise starts a frame that is none; the real one after it is kept.
      {"a false start before a frame", concat({{0xBC, 0x00, 0x55}, system}), {system}, 3},
      {"a frame with a bad checksum", concat({badSum, repetition}), {repetition}, badSum.size()},
      {"a frame inside a cut one", concat({Bytes(group.begin(), group.begin() + 4), system}), {system}, 4},
  };
  for (const auto& c : cases) {
    std::vector<Bytes> frames;
    std::size_t skipped = 0;
    FrameStream stream([&](const FrameStream::Piece& piece) {
      if (piece.frame)
        frames.push_back(piece.bytes);
      else
        skipped += piece.bytes.size();
    });
    for (std::uint8_t b : c.stream) stream.feed(b);
    stream.finish();
    EXPECT_EQ(frames, c.frames) << c.name;
    EXPECT_EQ(skipped, c.skippedBytes) << c.name;
  }
}

}  // namespace
}  // namespace kolvaro
