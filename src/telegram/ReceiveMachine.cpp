#include "telegram/ReceiveMachine.h"

#include <algorithm>

#include "link/ChipServices.h"
#include "link/Hex.h"

namespace kolvaro {

namespace {
using frame_layout::GroupFlag;
using frame_layout::LengthMask;
// The shortest frame is judged at this index, whatever its length field says.
constexpr std::size_t EarliestChecksumIndex = frame_layout::MinBytesWithChecksum;
constexpr std::size_t LastBufferIndex = ReceiveMachine::BufferSize - 1;

std::uint16_t wordAt(std::span<const std::uint8_t> frame, std::size_t high) {
  return static_cast<std::uint16_t>(frame[high] << 8 | frame[high + 1]);
}
}  // namespace

ReceiveMachine::ReceiveMachine(ExchangeMode mode, AnswerWanted wanted, std::uint16_t localAddress)
    : mode_(mode), wanted_(wanted), local_(localAddress) {}

// Every priority starts a frame in every mode: a further answer, too, may come with
// system priority, as standard devices answer the address and memory reads; a second
// device in programming mode must be seen (and acknowledged) whatever its priority.
bool ReceiveMachine::isFrameStart(std::uint8_t byte) {
  return byte == frame_start::System || byte == frame_start::Normal || byte == frame_start::Urgent ||
         byte == frame_start::Low;
}

std::size_t ReceiveMachine::checksumIndex(std::uint8_t routingByte) {
  return std::max(frame_layout::bytesFor(routingByte), EarliestChecksumIndex);
}

void ReceiveMachine::enter(State next) {
  const State from = state_;
  state_ = next;
  if (next == State::Assembling) index_ = 0;
  if (trace_) trace_({TraceRecord::Kind::StateEntered, from, next, FrameJudgement::Accepted, {}});
}

ReceiveMachine::Event ReceiveMachine::feed(std::uint8_t byte) {
  if (state_ == State::Finished) return Event::Nothing;

  if (mode_ == ExchangeMode::Confirmation && state_ == State::Idle && byte == chip::PositiveConfirmation) {
    enter(State::Finished);
    return Event::Confirmed;
  }
  if (state_ == State::Idle && isFrameStart(byte)) enter(State::Assembling);
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
  lastJudgement_ = judge(k);
  if (trace_) trace_({TraceRecord::Kind::FrameJudged, state_, state_, lastJudgement_, lastFrame()});
  if (lastJudgement_ != FrameJudgement::Accepted) {
    enter(State::Idle);
    return event;
  }
  takeAnswer();
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
  const bool groupDestination = (buffer_[frame_index::Routing] & GroupFlag) != 0;
  const std::uint16_t destination = wordAt(buffer_, frame_index::DestinationHigh);
  const std::uint16_t source = wordAt(buffer_, frame_index::SourceHigh);
  const bool forUs = groupDestination ? destination == 0 : destination == local_;
  return forUs && source != local_;
}

FrameJudgement ReceiveMachine::judge(std::size_t checksumAt) const {
  const std::size_t length = buffer_[frame_index::Routing] & LengthMask;
  if (buffer_[checksumAt] != FrameChecksum({buffer_.data(), frame_layout::FixedBytes + length}))
    return FrameJudgement::BadChecksum;
  const std::uint16_t source = wordAt(buffer_, frame_index::SourceHigh);
  const bool individual = (buffer_[frame_index::Routing] & GroupFlag) == 0;
  if (!individual || wordAt(buffer_, frame_index::DestinationHigh) != local_)
    return source == local_ ? FrameJudgement::OwnEcho : FrameJudgement::OtherDestination;
  const std::uint8_t service =
      frame_layout::serviceOf(buffer_[frame_index::Transport], buffer_[frame_index::Application]);
  if (service != wanted_.service) return FrameJudgement::WrongService;
  if (wanted_.from && source != *wanted_.from) return FrameJudgement::OtherSource;
  return FrameJudgement::Accepted;
}

// The frame is taken from its control byte up to the byte before its checksum.
void ReceiveMachine::takeAnswer() {
  for (std::size_t n = 0; n < index_; ++n) answerText_ += ByteHex(buffer_[n]);
  const std::size_t length = std::min(index_, frame_layout::bytesFor(buffer_[frame_index::Routing]));
  answer_ = Frame::fromBytes({buffer_.data(), length}).value_or(Frame{});
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
