#include "sim/Station.h"

#include <algorithm>

namespace kolvaro::sim {

Station::Station(EventQueue& clock, Bus& bus, const StationSetup& setup) : clock_(clock), bus_(bus), setup_(setup) {
  bus_.attach(this);
}

Station::~Station() { bus_.detach(this); }

void Station::sendEvery(std::chrono::milliseconds period, Bytes frame) {
  period_ = period;
  periodic_ = std::move(frame);
  const unsigned seq = ++periodicSeq_;
  if (period_.count() > 0) clock_.after(period_, [this, seq] { tick(seq); });
}

void Station::tick(unsigned seq) {
  if (seq != periodicSeq_) return;  // stopped or replaced since
  bus_.send(this, periodic_);
  clock_.after(period_, [this, seq] { tick(seq); });
}

Ack Station::frameEnded(const Bytes& frame) {
  ++framesSeen_;
  if (frame.size() < HeaderSize + 2) return Ack::None;
  const std::uint16_t destination = destinationOf(frame);
  const bool addressed = isGroupFrame(frame)
                             ? std::find(setup_.groups.begin(), setup_.groups.end(), destination) != setup_.groups.end()
                             : destination == setup_.address;
  return addressed ? setup_.answer : Ack::None;
}

}  // namespace kolvaro::sim
