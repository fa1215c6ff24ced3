#pragma once
// A TP-UART-like interface chip: the host's byte services on one side, the bus on the
// other. It passes every frame on the bus to its host as the characters come off the
// bus (its own frames too, as the echo), confirms the host's frames, and acknowledges
// a frame when the host's acknowledge information arrives in time or when the frame is
// for the address that the host set.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "sim/Bus.h"

namespace kolvaro::sim {

// Service bytes, host to chip.
namespace service {
inline constexpr std::uint8_t ResetRequest = 0x01;
inline constexpr std::uint8_t StateRequest = 0x02;
inline constexpr std::uint8_t ActivateBusMonitor = 0x05;
inline constexpr std::uint8_t AckInformation = 0x10;  // | 1 addressed, | 2 busy, | 4 not-acknowledge
inline constexpr std::uint8_t ProductIdRequest = 0x20;
inline constexpr std::uint8_t SetAddress = 0x28;          // followed by the address, high byte first
inline constexpr std::uint8_t SetRepetitions = 0x24;      // followed by one argument byte
inline constexpr std::uint8_t DataStart = 0x80;           // | index, followed by the frame byte
inline constexpr std::uint8_t DataEnd = 0x40;             // | index of the checksum, followed by it
inline constexpr std::uint8_t DataIndexMask = 0x3F;       // the index within a data start or end service
inline constexpr std::uint8_t AckInformationMask = 0xF8;  // the service bits of an acknowledge information
inline constexpr std::uint8_t AckAddressed = 0x01;
inline constexpr std::uint8_t AckBusy = 0x02;
inline constexpr std::uint8_t AckNotAcknowledge = 0x04;
inline constexpr std::size_t RoutingIndex = 5;  // the frame byte after which an acknowledge information counts
// Chip to host.
inline constexpr std::uint8_t ResetIndication = 0x03;
inline constexpr std::uint8_t StateOk = 0x07;  // state indication; error bits below are or-ed in
inline constexpr std::uint8_t StateSlaveCollision = 0x80;
inline constexpr std::uint8_t StateReceiveError = 0x40;
inline constexpr std::uint8_t StateTransmitError = 0x20;
inline constexpr std::uint8_t StateProtocolError = 0x10;
inline constexpr std::uint8_t ProductId = 0x41;
inline constexpr std::uint8_t ConfirmPositive = 0x8B;
inline constexpr std::uint8_t ConfirmNegative = 0x0B;
}  // namespace service

// The acknowledge information counts for this long after the routing byte went to the host.
inline constexpr Micros AckInformationWindow{1700};
inline constexpr Micros ResetAnswerDelay{5000};

class InterfaceChip : public BusStation {
 public:
  InterfaceChip(EventQueue& clock, Bus& bus);
  ~InterfaceChip() override;
  InterfaceChip(const InterfaceChip&) = delete;
  InterfaceChip& operator=(const InterfaceChip&) = delete;

  // Host side: a byte from the host, taken at the clock's now(). `arrivedAt`, on
  // timingClock, is when it came, where the caller timed it; else it is timed now.
  void hostByte(std::uint8_t byte, std::optional<Micros> arrivedAt = std::nullopt);
  // Where bytes for the host go, at the moment the chip passes them on.
  std::function<void(std::uint8_t)> toHost;

  // Takes the chip off the bus for good (its line has gone); later host bytes are ignored.
  void detach();
  bool attached() const { return attached_; }

  bool busMonitor() const { return monitor_; }
  std::optional<std::uint16_t> ownAddress() const { return ownAddress_; }
  // Fault switch: the chip sends frames but never tells its host the outcome.
  bool neverConfirms = false;
  // Bytes the chip passes to its host after every frame on the bus (line noise).
  std::vector<std::uint8_t> noise;
  // Acknowledge information that came too late or outside a frame, for tests and logs.
  int lateAckInformation = 0;
  // Called for each acknowledge information that arrives while a frame is coming in (and
  // for the first one after it, before the next frame: never taken),
  // with the time since the frame's routing byte went to the host and whether the chip
  // took it (it came within AckInformationWindow of the routing byte, on timingClock).
  std::function<void(Micros sinceRouting, bool taken)> onAckInformation;
  // The clock the acknowledge window is measured on: the chip's own when unset. A
  // simulator driven by the wall clock gives the wall clock here, so that the window
  // runs from the routing byte actually written to the host's byte taken.
  std::function<Micros()> timingClock;

  // BusStation
  void frameStarted(bool own) override;
  void frameByte(std::size_t index, std::uint8_t byte) override;
  Ack frameEnded(const Bytes& frame) override;
  void ackCharacter(std::uint8_t ch) override;
  void busFree() override;
  void sendDone(bool acknowledged) override;

 private:
  enum class Expect { Service, FrameByte, Checksum, AddressHigh, AddressLow, Argument };
  void pass(std::uint8_t byte);
  void deliver(std::uint8_t byte);
  void reset();
  void takeChecksum(std::uint8_t byte);
  void protocolError();
  Micros timingNow() const;

  EventQueue& clock_;
  Bus& bus_;
  bool attached_ = true;
  bool monitor_ = false;
  std::optional<std::uint16_t> ownAddress_;
  std::uint8_t errorBits_ = 0;
  unsigned generation_ = 0;       // a reset forgets the outcome of frames sent before it
  unsigned resetAnswersDue_ = 0;  // reset indications not yet passed to the host

  // Host to chip parsing.
  Expect expect_ = Expect::Service;
  std::size_t nextIndex_ = 0;
  Bytes building_;
  std::uint8_t addressHigh_ = 0;

  // The frame now on the bus.
  bool receiving_ = false;  // someone else's frame is coming in
  bool routingSeen_ = false;
  Micros routingTimedAt_{0};  // on timingClock
  Ack ackInformation_ = Ack::None;

  // Frames handed to the bus and not yet done, with the generation they belong to.
  std::deque<unsigned> inFlight_;
};

}  // namespace kolvaro::sim
