#pragma once
// A minimal host for simulator tests: writes chip services through an in-process line
// and collects what the chip passes back while the test moves the scene's clock.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/SerialLine.h"
#include "sim/Frame.h"
#include "sim/Scene.h"

namespace kolvaro::test {

class SimHost {
 public:
  explicit SimHost(sim::Scene& scene) : scene_(scene), line_(scene.connectHost()) {}

  void write(const sim::Bytes& bytes) {
    for (auto b : bytes) line_->writeByte(b);
  }
  // Hands a frame (without checksum) to the chip with the data services.
  void sendFrame(const sim::Bytes& frame) {
    sim::Bytes text;
    for (std::size_t i = 0; i < frame.size(); ++i) {
      text.push_back(static_cast<std::uint8_t>(0x80 + i));
      text.push_back(frame[i]);
    }
    text.push_back(static_cast<std::uint8_t>(0x40 + frame.size()));
    text.push_back(sim::checksumOf(frame.data(), frame.size()));
    write(text);
  }
  // Runs the scene for `span` in 100 µs steps, reading every byte as it arrives. When
  // ackAfterRouting is set it is written right after a routing byte (index 5 of a frame
  // that starts with a control byte 0x9x/0xBx) that onRouting approves.
  sim::Bytes run(std::chrono::microseconds span) {
    sim::Bytes got;
    const auto end = scene_.now() + span;
    while (scene_.now() < end) {
      scene_.advance(std::chrono::microseconds(100));
      std::uint8_t b;
      kolvaro::SerialLine::Status st;
      while (line_->clearError(st) && st.bytesWaiting > 0 && line_->readByte(b)) {
        got.push_back(b);
        track(b);
      }
    }
    return got;
  }
  kolvaro::SerialLine& line() { return *line_; }
  void dropLine() { line_.reset(); }

  // Acknowledge information to write after a routing byte, and the delay before it.
  std::function<bool(const sim::Bytes& header)> onRouting;
  std::uint8_t ackInformation = 0x11;
  std::chrono::microseconds ackDelay{0};

 private:
  void track(std::uint8_t b) {
    if (frame_.empty() && (b & 0xD3) != 0x90) return;  // not a control byte: outside frames
    frame_.push_back(b);
    if (frame_.size() == 6) {
      if (onRouting && onRouting(frame_)) {
        scene_.advance(ackDelay);
        line_->writeByte(ackInformation);
      }
    }
    if (frame_.size() >= 7 && frame_.size() == 8u + (frame_[5] & 0x0Fu)) frame_.clear();
  }

  sim::Scene& scene_;
  std::unique_ptr<kolvaro::SerialLine> line_;
  sim::Bytes frame_;
};

}  // namespace kolvaro::test
