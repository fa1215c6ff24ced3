#include "sim/Bus.h"

#include <algorithm>
#include <cstdio>

namespace kolvaro::sim {

Ack combine(Ack a, Ack b) { return static_cast<Ack>(std::max(static_cast<int>(a), static_cast<int>(b))); }

const char* ackName(Ack a) {
  switch (a) {
    case Ack::Ack: return "ACK";
    case Ack::Nak: return "NAK";
    case Ack::Busy: return "BUSY";
    case Ack::None: break;
  }
  return "no ack";
}

std::string LoggedFrame::line() const {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.3f ms  ", static_cast<double>(time.count()) / 1000.0);
  return stamp + text + "  [" + hexBytes(bytes) + "]  " + ackName(ack);
}

void Bus::attach(BusStation* station) { stations_.push_back(station); }

void Bus::detach(BusStation* station) {
  std::erase(stations_, station);
  forget(station);
}

void Bus::forget(BusStation* station) {
  std::erase_if(queue_, [station](const Pending& p) { return p.from == station; });
  if (current_.from == station) current_.from = nullptr;
}

void Bus::send(BusStation* from, Bytes frame) {
  queue_.push_back(Pending{from, std::move(frame), 0});
  kick();
}

void Bus::kick() {
  if (transmitting_ || startScheduled_ || queue_.empty()) return;
  startScheduled_ = true;
  clock_.at(freeSince_ + bitTimes(IdleBits), [this] { start(); });
}

void Bus::start() {
  startScheduled_ = false;
  if (queue_.empty()) return;
  current_ = std::move(queue_.front());
  queue_.pop_front();
  transmitting_ = true;
  frameStart_ = clock_.now();
  for (BusStation* s : std::vector<BusStation*>(stations_)) s->frameStarted(s == current_.from);
  // A character comes off the bus once its 11 bits are through; the next starts 2 bits later.
  for (std::size_t i = 0; i < current_.frame.size(); ++i)
    clock_.at(at(static_cast<int>(i) * CharBits + 11), [this, i] { deliverByte(i); });
}

void Bus::deliverByte(std::size_t index) {
  const std::uint8_t byte = current_.frame[index];
  for (BusStation* s : std::vector<BusStation*>(stations_)) s->frameByte(index, byte);
  if (index + 1 == current_.frame.size()) finishFrame();
}

void Bus::finishFrame() {
  Ack ack = Ack::None;
  for (BusStation* s : std::vector<BusStation*>(stations_))
    if (s != current_.from) ack = combine(ack, s->frameEnded(current_.frame));
  log_.push_back(LoggedFrame{frameStart_, current_.frame, decodeFrame(current_.frame), ack, current_.repetition});
  if (onLogged) onLogged(log_.back());
  const int frameBits = static_cast<int>(current_.frame.size()) * CharBits;
  if (ack == Ack::None) {
    // Silence in the acknowledge slot: the bus is free once the slot has passed.
    clock_.at(at(frameBits + AckPauseBits), [this] { settle(Ack::None); });
    return;
  }
  clock_.at(at(frameBits + AckPauseBits + 11), [this, ack] {
    const std::uint8_t ch = ack == Ack::Ack ? AckChar : ack == Ack::Nak ? NakChar : BusyChar;
    for (BusStation* s : std::vector<BusStation*>(stations_)) s->ackCharacter(ch);
    settle(ack);
  });
}

void Bus::settle(Ack ack) {
  transmitting_ = false;
  freeSince_ = clock_.now();
  BusStation* sender = current_.from;
  current_.from = nullptr;
  const bool repeat = ack != Ack::Ack && current_.repetition < MaxRepetitions && sender != nullptr;
  // The sender learns the outcome before anything else reaches the line after the frame.
  if (!repeat && sender != nullptr) sender->sendDone(ack == Ack::Ack);
  for (BusStation* s : std::vector<BusStation*>(stations_)) s->busFree();
  if (repeat) {
    // Repetitions go first, with the repeat flag cleared; a frame that was sent with a
    // wrong checksum keeps a wrong one.
    Pending again{sender, current_.frame, current_.repetition + 1};
    const bool wasGood = checksumOk(again.frame);
    again.frame[0] = static_cast<std::uint8_t>(again.frame[0] & ~RepeatFlag);
    fixChecksum(again.frame);
    if (!wasGood) again.frame.back() ^= 0xFF;
    queue_.push_front(std::move(again));
  }
  kick();
}

}  // namespace kolvaro::sim
