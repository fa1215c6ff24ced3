#pragma once
// Watching a bus: the bytes an interface passes on, cut into frames. Every standard
// frame start counts (repetitions too), the length comes from the routing byte and the
// checksum decides: a start whose checksum does not hold was no frame, and the search
// goes on from the byte after it, among the bytes already in, so the frame that follows
// bytes that are no frame is never lost. Other bytes (confirmations, indications, line
// noise) are handed back as skipped, in their place in the stream.
#include <cstdint>
#include <functional>
#include <vector>

namespace kolvaro {

class FrameStream {
 public:
  struct Piece {
    bool frame = false;               // a whole frame, checksum included and holding; else skipped bytes
    std::vector<std::uint8_t> bytes;  // in the order they came
  };
  using Sink = std::function<void(const Piece&)>;

  explicit FrameStream(Sink sink) : sink_(std::move(sink)) {}

  void feed(std::uint8_t byte);
  // Hands back what is still held as skipped (at the end of a watch).
  void finish();

 private:
  void scan();
  void skipFront();
  void flushSkipped();

  Sink sink_;
  std::vector<std::uint8_t> held_;     // from a possible frame start on
  std::vector<std::uint8_t> skipped_;  // before it
};

}  // namespace kolvaro
