#include "telegram/FrameStream.h"

#include "link/Hex.h"
#include "telegram/FrameLayout.h"

namespace kolvaro {

void FrameStream::feed(std::uint8_t byte) {
  held_.push_back(byte);
  scan();
}

void FrameStream::finish() {
  skipped_.insert(skipped_.end(), held_.begin(), held_.end());
  held_.clear();
  flushSkipped();
}

void FrameStream::scan() {
  for (;;) {
    while (!held_.empty() && !frame_layout::isStandardControl(held_.front())) skipFront();
    if (held_.size() <= frame_index::Routing) return;
    const std::size_t content = frame_layout::bytesFor(held_[frame_index::Routing]);
    if (held_.size() < content + 1) return;
    if (held_[content] != FrameChecksum({held_.data(), content})) {
      skipFront();  // not a frame after all: look again from the next byte
      continue;
    }
    flushSkipped();
    sink_({true, {held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(content + 1)}});
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(content + 1));
  }
}

void FrameStream::skipFront() {
  skipped_.push_back(held_.front());
  held_.erase(held_.begin());
}

void FrameStream::flushSkipped() {
  if (skipped_.empty()) return;
  sink_({false, std::move(skipped_)});
  skipped_.clear();
}

}  // namespace kolvaro
