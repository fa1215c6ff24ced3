#pragma once
// The twisted-pair bus: one frame at a time at 9600 bit/s, each character passed to
// every attached station as it comes off the bus, the acknowledgements of all stations
// combined into one acknowledge character, repetitions of unacknowledged frames, and a
// log of every frame decoded.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "sim/EventQueue.h"
#include "sim/Frame.h"

namespace kolvaro::sim {

// A station's answer in the acknowledge slot. Several stations answer at once and the
// bus carries the strongest: busy beats not-acknowledge, which beats acknowledge.
enum class Ack : std::uint8_t { None, Ack, Nak, Busy };
Ack combine(Ack a, Ack b);
const char* ackName(Ack a);
inline constexpr std::uint8_t AckChar = 0xCC;
inline constexpr std::uint8_t NakChar = 0x0C;
inline constexpr std::uint8_t BusyChar = 0xC0;

inline constexpr int CharBits = 13;       // start, 8 data, parity, stop and a 2-bit gap
inline constexpr int IdleBits = 50;       // free bus before a frame
inline constexpr int AckPauseBits = 15;   // between checksum and acknowledge character
inline constexpr int MaxRepetitions = 3;  // after the first transmission

class BusStation {
 public:
  virtual ~BusStation() = default;
  // A frame starts; own = this station is sending it.
  virtual void frameStarted(bool own) { (void)own; }
  // Character `index` of the current frame (0 = control byte; the last one is the checksum).
  virtual void frameByte(std::size_t index, std::uint8_t byte) { (void)index, (void)byte; }
  // The whole frame has been seen (not called for the sender); the station's acknowledgement.
  virtual Ack frameEnded(const Bytes& frame) = 0;
  // The acknowledge character on the bus, if any station answered.
  virtual void ackCharacter(std::uint8_t ch) { (void)ch; }
  // The bus is free again after a frame (and its acknowledgement, if any).
  virtual void busFree() {}
  // A frame this station handed to send() is done: acknowledged, or not after the last repetition.
  virtual void sendDone(bool acknowledged) { (void)acknowledged; }
};

struct LoggedFrame {
  Micros time{0};            // start of the frame on the bus
  Bytes bytes;               // as on the bus, checksum included
  std::string text;          // decoded, e.g. "15.15.254 -> 0/0/2 GroupValueWrite on"
  Ack ack = Ack::None;       // the combined acknowledgement on the bus
  int repetition = 0;        // 0 for the first transmission
  std::string line() const;  // time, raw bytes, decoded text and acknowledgement on one line
};

class Bus {
 public:
  explicit Bus(EventQueue& clock) : clock_(clock) {}
  void attach(BusStation* station);
  // Detaching drops the station's frames that have not started; one on the bus goes on.
  void detach(BusStation* station);
  // Queues a frame (checksum included) to send; frames go out in the order they were queued.
  void send(BusStation* from, Bytes frame);
  // Drops the station's frames that have not started and disowns the one on the bus
  // (it runs to its end, without repetitions and without sendDone).
  void forget(BusStation* station);
  bool busy() const { return transmitting_; }

  const std::vector<LoggedFrame>& log() const { return log_; }
  void clearLog() { log_.clear(); }
  std::function<void(const LoggedFrame&)> onLogged;

 private:
  struct Pending {
    BusStation* from;
    Bytes frame;
    int repetition = 0;
  };
  void kick();
  void start();
  void deliverByte(std::size_t index);
  void finishFrame();
  void settle(Ack ack);
  Micros at(int bits) const { return frameStart_ + bitTimes(bits); }

  EventQueue& clock_;
  std::vector<BusStation*> stations_;
  std::deque<Pending> queue_;
  Pending current_{};
  bool transmitting_ = false;
  bool startScheduled_ = false;
  Micros freeSince_{-1'000'000};
  Micros frameStart_{0};
  std::vector<LoggedFrame> log_;
};

}  // namespace kolvaro::sim
