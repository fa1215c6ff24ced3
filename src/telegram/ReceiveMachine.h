#pragma once
// The reception side of the telegram exchange, fed one byte at a time as the
// interface chip passes it on. It assembles frames from their control byte, tells
// its caller when to write the acknowledge information (0x11) while a frame for this
// station is still arriving, and judges every complete frame: checksum, individual
// destination equal to our own address, and the application service code asked for.
//
// Every change of state goes through one function (enter), and every complete frame
// gets one verdict; both can be followed through an optional trace sink.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "link/ChipServices.h"
#include "telegram/ExchangeTerms.h"

namespace kolvaro {

// Positions of a frame's bytes, counted from its control byte.
namespace frame_index {
inline constexpr std::size_t Control = 0;
inline constexpr std::size_t SourceHigh = 1;
inline constexpr std::size_t SourceLow = 2;
inline constexpr std::size_t DestinationHigh = 3;
inline constexpr std::size_t DestinationLow = 4;
inline constexpr std::size_t Routing = 5;  // group destination flag and length field
inline constexpr std::size_t Transport = 6;
inline constexpr std::size_t Application = 7;
}  // namespace frame_index

// Control bytes that start a standard frame sent for the first time, by priority.
namespace frame_start {
inline constexpr std::uint8_t System = 0xB0;
inline constexpr std::uint8_t Normal = 0xB4;
inline constexpr std::uint8_t Urgent = 0xB8;
inline constexpr std::uint8_t Low = 0xBC;
}  // namespace frame_start

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

  // Why a complete frame was taken or not, in the order the checks are made.
  enum class Verdict {
    Accepted,
    WrongChecksum,
    GroupDestination,  // not an individual frame
    OtherDestination,  // an individual frame for another station
    OtherService,      // for us, but not the answer asked for
  };

  // One step of the machine as a trace sees it: a state entered (from, to), or a
  // complete frame judged (to == from, frame and verdict set).
  struct TraceRecord {
    enum class Kind { StateEntered, FrameJudged };
    Kind kind = Kind::StateEntered;
    State from = State::Idle;
    State to = State::Idle;
    Verdict verdict = Verdict::Accepted;
    std::span<const std::uint8_t> frame;  // valid during the call only
  };
  using TraceSink = std::function<void(const TraceRecord&)>;

  static constexpr std::size_t BufferSize = chip::MaxFrameBytes + 1;  // the longest frame and its checksum

  ReceiveMachine(ExchangeMode mode, std::uint8_t answerCode, std::uint16_t localAddress);

  // Follows every state entered and every frame judged; none by default.
  void setTraceSink(TraceSink sink) { trace_ = std::move(sink); }

  // Handles one byte. After Confirmed or AnswerToReturn the machine is Finished and
  // ignores further bytes.
  Event feed(std::uint8_t byte);

  State state() const { return state_; }
  // Every accepted frame since construction, as upper-case hex digits from the
  // control byte to the last byte before its checksum; in mode 2 the frames accumulate.
  const std::string& answerText() const { return answerText_; }
  // The bytes of the frame judged last, its checksum included (empty before any).
  std::span<const std::uint8_t> lastFrame() const { return {buffer_.data(), lastFrameLength_}; }

  // Whether a byte starts a frame in the given mode.
  static bool isFrameStart(std::uint8_t byte, ExchangeMode mode);
  // The index of a frame's checksum, from its routing byte: 7 + the length field, and
  // never before 8 (the machine judges no shorter frame).
  static std::size_t checksumIndex(std::uint8_t routingByte);
  // (byte 6 & 0x03) * 4 + (byte 7 & 0xC0) / 64 of a frame of at least 8 bytes.
  static std::uint8_t serviceCode(std::span<const std::uint8_t> frame);

 private:
  void enter(State next);
  bool acknowledgeDue() const;
  Verdict judge(std::size_t checksumAt) const;
  void appendAnswer();

  ExchangeMode mode_;
  std::uint8_t answerCode_;
  std::uint16_t local_;
  State state_ = State::Idle;
  std::size_t index_ = 0;  // i: index of the byte now arriving within the frame
  std::array<std::uint8_t, BufferSize> buffer_{};
  std::size_t lastFrameLength_ = 0;
  std::string answerText_;
  TraceSink trace_;
};

const char* toString(ReceiveMachine::State state);
const char* toString(ReceiveMachine::Event event);
const char* toString(ReceiveMachine::Verdict verdict);

}  // namespace kolvaro
