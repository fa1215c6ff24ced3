#pragma once
// The reception side of the telegram exchange, fed one byte at a time as the
// interface chip passes it on. It assembles frames from their control byte, tells
// its caller when to write the acknowledge information (0x11) while a frame for this
// station is still arriving, and judges every complete frame: checksum, individual
// destination equal to our own address, and the application service code asked for.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/ChipServices.h"
#include "telegram/ExchangeTerms.h"

namespace kolvaro {

class ReceiveMachine {
 public:
  enum class State { Idle, Assembling, Finished };

  // What the caller must do after a byte.
  enum class Event {
    Nothing,
    SendAcknowledge,  // write 0x11 to the chip now: the frame arriving is addressed to us
    Confirmed,        // mode 2: the chip confirmed our frame; the exchange ends with "ACK"
    AnswerToLog,      // mode 2: an answer was accepted; log answerText() and keep waiting
    AnswerToReturn,   // modes 0, 1: an answer was accepted; log answerText() and return it
  };

  static constexpr std::size_t BufferSize = chip::MaxFrameBytes + 1;  // the longest frame and its checksum

  ReceiveMachine(ExchangeMode mode, std::uint8_t answerCode, std::uint16_t localAddress);

  // Handles one byte. After Confirmed or AnswerToReturn the machine is Finished and
  // ignores further bytes.
  Event feed(std::uint8_t byte);

  State state() const { return state_; }
  // Every accepted frame since construction, as upper-case hex digits from the
  // control byte to the last byte before its checksum; in mode 2 the frames accumulate.
  const std::string& answerText() const { return answerText_; }
  // The bytes of the frame judged last, its checksum included (empty before any).
  std::span<const std::uint8_t> lastFrame() const { return {buffer_.data(), lastFrameLength_}; }

  static bool IsFrameStart(std::uint8_t byte, ExchangeMode mode);
  // (byte 6 & 0x03) * 4 + (byte 7 & 0xC0) / 64 of a frame of at least 8 bytes.
  static std::uint8_t ServiceCode(std::span<const std::uint8_t> frame);

 private:
  void handleRoutingByte(Event& event) const;
  bool completeFrameAccepted(std::size_t checksumIndex) const;
  void appendAnswer();

  ExchangeMode mode_;
  std::uint8_t answerCode_;
  std::uint16_t local_;
  State state_ = State::Idle;
  std::uint8_t index_ = 0;  // i: index of the byte now arriving within the frame
  std::array<std::uint8_t, BufferSize> buffer_{};
  std::size_t lastFrameLength_ = 0;
  std::string answerText_;
};

const char* toString(ReceiveMachine::State state);
const char* toString(ReceiveMachine::Event event);

}  // namespace kolvaro
