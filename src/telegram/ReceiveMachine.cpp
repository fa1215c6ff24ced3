#include "telegram/ReceiveMachine.h"

#include <algorithm>

#include "link/Hex.h"
#include "telegram/AddressText.h"

namespace kolvaro {

namespace {
constexpr std::uint8_t RoutingIndex = 5;        // the routing byte: group flag and length field
constexpr std::uint8_t GroupDestinationFlag = 0x80;
constexpr std::uint8_t LengthMask = 0x0F;
constexpr std::uint8_t LastBufferIndex = ReceiveMachine::BufferSize - 1;
}  // namespace

ReceiveMachine::ReceiveMachine(ExchangeMode mode, std::uint8_t answerCode, std::uint16_t localAddress)
    : mode_(mode), answerCode_(answerCode), local_(localAddress) {}

bool ReceiveMachine::IsFrameStart(std::uint8_t byte, ExchangeMode mode) {
  // A further answer in mode 1 never starts with the system priority control byte 0xB0.
  if (byte == 0xB0) return mode != ExchangeMode::FurtherAnswer;
  return byte == 0xB4 || byte == 0xB8 || byte == 0xBC;
}

std::uint8_t ReceiveMachine::ServiceCode(std::span<const std::uint8_t> frame) {
  return static_cast<std::uint8_t>((frame[6] & 0x03) * 4 + (frame[7] & 0xC0) / 64);
}

ReceiveMachine::Event ReceiveMachine::feed(std::uint8_t byte) {
  if (state_ == State::Finished) return Event::Nothing;

  if (mode_ == ExchangeMode::Confirmation && state_ == State::Idle && byte == chip::PositiveConfirmation) {
    state_ = State::Finished;
    return Event::Confirmed;
  }
  if (state_ == State::Idle && IsFrameStart(byte, mode_)) {
    state_ = State::Assembling;
    index_ = 0;
  }
  if (state_ != State::Assembling) return Event::Nothing;

  // A frame completes at index 22 at the latest, so the clamp only keeps a
  // corrupted length field from ever writing past the buffer.
  const std::uint8_t k = std::min(index_, LastBufferIndex);
  buffer_[k] = byte;

  Event event = Event::Nothing;
  if (index_ == RoutingIndex) handleRoutingByte(event);

  const unsigned length = buffer_[RoutingIndex] & LengthMask;
  if (index_ >= 7 + length && index_ >= 8) {
    lastFrameLength_ = static_cast<std::size_t>(k) + 1;
    if (completeFrameAccepted(k)) {
      appendAnswer();
      if (mode_ != ExchangeMode::Confirmation) {
        state_ = State::Finished;
        return Event::AnswerToReturn;
      }
      event = Event::AnswerToLog;
    }
    state_ = State::Idle;
    index_ = 0;
    return event;
  }
  ++index_;
  return event;
}

void ReceiveMachine::handleRoutingByte(Event& event) const {
  const bool groupDestination = (buffer_[RoutingIndex] & GroupDestinationFlag) != 0;
  const std::uint16_t destination = static_cast<std::uint16_t>(buffer_[3] << 8 | buffer_[4]);
  const std::uint16_t source = static_cast<std::uint16_t>(buffer_[1] << 8 | buffer_[2]);
  const bool forUs = groupDestination ? destination == 0 : destination == local_;
  // The chip echoes our own frames; those are not acknowledged.
  if (forUs && source != local_) event = Event::SendAcknowledge;
}

bool ReceiveMachine::completeFrameAccepted(std::size_t checksumIndex) const {
  const std::size_t length = buffer_[RoutingIndex] & LengthMask;
  const std::uint8_t expected = FrameChecksum({buffer_.data(), 7 + length});
  const std::uint16_t destination = static_cast<std::uint16_t>(buffer_[3] << 8 | buffer_[4]);
  return buffer_[checksumIndex] == expected && (buffer_[RoutingIndex] & GroupDestinationFlag) == 0 &&
         destination == local_ && ServiceCode(buffer_) == answerCode_;
}

void ReceiveMachine::appendAnswer() {
  for (std::size_t n = 0; n < index_; ++n) answerText_ += ByteHex(buffer_[n]);
}

const char* toString(ExchangeMode mode) {
  switch (mode) {
    case ExchangeMode::Answer: return "answer";
    case ExchangeMode::FurtherAnswer: return "further answer";
    case ExchangeMode::Confirmation: return "confirmation";
  }
  return "?";
}

const char* toString(ReceiveMachine::State state) {
  switch (state) {
    case ReceiveMachine::State::Idle: return "idle";
    case ReceiveMachine::State::Assembling: return "assembling";
    case ReceiveMachine::State::Finished: return "finished";
  }
  return "?";
}

const char* toString(ReceiveMachine::Event event) {
  switch (event) {
    case ReceiveMachine::Event::Nothing: return "nothing";
    case ReceiveMachine::Event::SendAcknowledge: return "send acknowledge";
    case ReceiveMachine::Event::Confirmed: return "confirmed";
    case ReceiveMachine::Event::AnswerToLog: return "answer to log";
    case ReceiveMachine::Event::AnswerToReturn: return "answer to return";
  }
  return "?";
}

}  // namespace kolvaro
