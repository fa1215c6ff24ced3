#include "telegram/ReceiveMachine.h"

#include <algorithm>

#include "link/Hex.h"

namespace kolvaro {

namespace {
constexpr std::uint8_t GroupDestinationFlag = 0x80;
constexpr std::uint8_t LengthMask = 0x0F;
// The bytes before the data: control, source (2), destination (2), routing, transport.
constexpr std::size_t HeaderBytes = 7;
// The shortest frame is judged at this index, whatever its length field says.
constexpr std::size_t EarliestChecksumIndex = 8;
constexpr std::size_t LastBufferIndex = ReceiveMachine::BufferSize - 1;

std::uint16_t wordAt(std::span<const std::uint8_t> frame, std::size_t high) {
  return static_cast<std::uint16_t>(frame[high] << 8 | frame[high + 1]);
}
}  // namespace

ReceiveMachine::ReceiveMachine(ExchangeMode mode, std::uint8_t answerCode, std::uint16_t localAddress)
    : mode_(mode), answerCode_(answerCode), local_(localAddress) {}

bool ReceiveMachine::isFrameStart(std::uint8_t byte, ExchangeMode mode) {
  // A further answer in mode 1 never starts with the system priority control byte.
  if (byte == frame_start::System) return mode != ExchangeMode::FurtherAnswer;
  return byte == frame_start::Normal || byte == frame_start::Urgent || byte == frame_start::Low;
}

std::size_t ReceiveMachine::checksumIndex(std::uint8_t routingByte) {
  return std::max(HeaderBytes + (routingByte & LengthMask), EarliestChecksumIndex);
}

std::uint8_t ReceiveMachine::serviceCode(std::span<const std::uint8_t> frame) {
  return static_cast<std::uint8_t>((frame[frame_index::Transport] & 0x03) * 4 +
                                   (frame[frame_index::Application] & 0xC0) / 64);
}

void ReceiveMachine::enter(State next) {
  const State from = state_;
  state_ = next;
  if (next == State::Assembling) index_ = 0;
  if (trace_) trace_({TraceRecord::Kind::StateEntered, from, next, Verdict::Accepted, {}});
}

ReceiveMachine::Event ReceiveMachine::feed(std::uint8_t byte) {
  if (state_ == State::Finished) return Event::Nothing;

  if (mode_ == ExchangeMode::Confirmation && state_ == State::Idle && byte == chip::PositiveConfirmation) {
    enter(State::Finished);
    return Event::Confirmed;
  }
  if (state_ == State::Idle && isFrameStart(byte, mode_)) enter(State::Assembling);
  if (state_ != State::Assembling) return Event::Nothing;

  // A frame completes at index 22 at the latest, so the clamp only keeps a
  // corrupted length field from ever writing past the buffer.
  const std::size_t k = std::min(index_, LastBufferIndex);
  buffer_[k] = byte;

  Event event = Event::Nothing;
  if (index_ == frame_index::Routing && acknowledgeDue()) event = Event::SendAcknowledge;

  // Before the routing byte has arrived, checksumIndex reads a stale length field; its
  // result is then at least 8 and cannot end the frame early.
  if (index_ < checksumIndex(buffer_[frame_index::Routing])) {
    ++index_;
    return event;
  }

  lastFrameLength_ = k + 1;
  const Verdict verdict = judge(k);
  if (trace_) trace_({TraceRecord::Kind::FrameJudged, state_, state_, verdict, lastFrame()});
  if (verdict != Verdict::Accepted) {
    enter(State::Idle);
    return event;
  }
  appendAnswer();
  if (mode_ != ExchangeMode::Confirmation) {
    enter(State::Finished);
    return Event::AnswerToReturn;
  }
  enter(State::Idle);
  return Event::AnswerToLog;
}

// At the routing byte: a frame for us (our address, or a broadcast) that we did not
// send ourselves. The chip echoes our own frames; those are not acknowledged.
bool ReceiveMachine::acknowledgeDue() const {
  const bool groupDestination = (buffer_[frame_index::Routing] & GroupDestinationFlag) != 0;
  const std::uint16_t destination = wordAt(buffer_, frame_index::DestinationHigh);
  const std::uint16_t source = wordAt(buffer_, frame_index::SourceHigh);
  const bool forUs = groupDestination ? destination == 0 : destination == local_;
  return forUs && source != local_;
}

ReceiveMachine::Verdict ReceiveMachine::judge(std::size_t checksumAt) const {
  const std::size_t length = buffer_[frame_index::Routing] & LengthMask;
  if (buffer_[checksumAt] != FrameChecksum({buffer_.data(), HeaderBytes + length})) return Verdict::WrongChecksum;
  if ((buffer_[frame_index::Routing] & GroupDestinationFlag) != 0) return Verdict::GroupDestination;
  if (wordAt(buffer_, frame_index::DestinationHigh) != local_) return Verdict::OtherDestination;
  if (serviceCode(buffer_) != answerCode_) return Verdict::OtherService;
  return Verdict::Accepted;
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

const char* toString(ReceiveMachine::Verdict verdict) {
  switch (verdict) {
    case ReceiveMachine::Verdict::Accepted: return "accepted";
    case ReceiveMachine::Verdict::WrongChecksum: return "wrong checksum";
    case ReceiveMachine::Verdict::GroupDestination: return "group destination";
    case ReceiveMachine::Verdict::OtherDestination: return "for another station";
    case ReceiveMachine::Verdict::OtherService: return "another service";
  }
  return "?";
}

}  // namespace kolvaro
