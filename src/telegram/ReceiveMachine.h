#pragma once
// The reception side of the serial chip's exchange, fed one byte at a time as the
// interface chip passes it on. It assembles frames from their control byte, tells its
// caller when to write the acknowledge information (0x11) while a frame for this
// station is still arriving, and judges every complete frame once: checksum, individual
// destination equal to our own address, the application service asked for and, where
// the request went to one device, that device as its source.
//
// Every change of state goes through one function (enter), and every complete frame
// gets one judgement; both can be followed through an optional trace sink.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "telegram/ExchangeTerms.h"
#include "telegram/Frame.h"
#include "telegram/FrameJudgement.h"

namespace kolvaro {

class ReceiveMachine {
 public:
  enum class State { Idle, Assembling, Finished };

  // What the caller must do after a byte.
  enum class Event {
    Nothing,
    SendAcknowledge,  // write 0x11 to the chip now: the frame arriving is addressed to us
    Confirmed,        // confirmation mode: the chip confirmed our frame
    AnswerToLog,      // confirmation mode: an answer was accepted; log it and keep waiting
    AnswerToReturn,   // answer modes: an answer was accepted; log it and return it
  };

  // One step of the machine as a trace sees it: a state entered (from, to), or a
  // complete frame judged (to == from, frame and judgement set).
  struct TraceRecord {
    enum class Kind { StateEntered, FrameJudged };
    Kind kind = Kind::StateEntered;
    State from = State::Idle;
    State to = State::Idle;
    FrameJudgement judgement = FrameJudgement::Accepted;
    std::span<const std::uint8_t> frame;  // valid during the call only
  };
  using TraceSink = std::function<void(const TraceRecord&)>;

  static constexpr std::size_t BufferSize = frame_layout::MaxBytes + 1;  // the longest frame and its checksum

  ReceiveMachine(ExchangeMode mode, AnswerWanted wanted, std::uint16_t localAddress);

  // Follows every state entered and every frame judged; none by default.
  void setTraceSink(TraceSink sink) { trace_ = std::move(sink); }

  // Handles one byte. After Confirmed or AnswerToReturn the machine is Finished and
  // ignores further bytes.
  Event feed(std::uint8_t byte);

  State state() const { return state_; }
  // Every accepted frame since construction, as upper-case hex digits from the control
  // byte to the last byte before its checksum (the log memo's line); in confirmation
  // mode the frames accumulate.
  const std::string& answerText() const { return answerText_; }
  // The frame accepted last.
  const Frame& answer() const { return answer_; }
  // The bytes of the frame judged last, its checksum included (empty before any), and
  // the judgement it got.
  std::span<const std::uint8_t> lastFrame() const { return {buffer_.data(), lastFrameLength_}; }
  FrameJudgement lastJudgement() const { return lastJudgement_; }

  // Whether a byte starts a frame (the same in every mode).
  static bool isFrameStart(std::uint8_t byte);
  // The index of a frame's checksum, from its routing byte: 7 + the length field, and
  // never before 8 (the machine judges no shorter frame).
  static std::size_t checksumIndex(std::uint8_t routingByte);

 private:
  void enter(State next);
  bool acknowledgeDue() const;
  FrameJudgement judge(std::size_t checksumAt) const;
  void takeAnswer();

  ExchangeMode mode_;
  AnswerWanted wanted_;
  std::uint16_t local_;
  State state_ = State::Idle;
  std::size_t index_ = 0;  // i: index of the byte now arriving within the frame
  std::array<std::uint8_t, BufferSize> buffer_{};
  std::size_t lastFrameLength_ = 0;
  FrameJudgement lastJudgement_ = FrameJudgement::Incomplete;
  std::string answerText_;
  Frame answer_;
  TraceSink trace_;
};

const char* toString(ReceiveMachine::State state);
const char* toString(ReceiveMachine::Event event);

}  // namespace kolvaro
