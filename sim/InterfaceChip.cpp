#include "sim/InterfaceChip.h"

namespace kolvaro::sim {

using namespace service;

InterfaceChip::InterfaceChip(EventQueue& clock, Bus& bus) : clock_(clock), bus_(bus) { bus_.attach(this); }

InterfaceChip::~InterfaceChip() { detach(); }

void InterfaceChip::detach() {
  if (!attached_) return;
  attached_ = false;
  bus_.detach(this);
}

void InterfaceChip::pass(std::uint8_t byte) {
  // A reset indication still due goes first: the chip answers a reset before it passes
  // anything else on, even when a host that was slow to read sent a frame at once.
  while (resetAnswersDue_ > 0) {
    --resetAnswersDue_;
    deliver(ResetIndication);
  }
  deliver(byte);
}

void InterfaceChip::deliver(std::uint8_t byte) {
  if (attached_ && toHost) toHost(byte);
}

void InterfaceChip::hostByte(std::uint8_t byte, std::optional<Micros> arrivedAt) {
  if (!attached_) return;
  switch (expect_) {
    case Expect::FrameByte:
      building_.push_back(byte);
      expect_ = Expect::Service;
      return;
    case Expect::Checksum:
      expect_ = Expect::Service;
      takeChecksum(byte);
      return;
    case Expect::AddressHigh:
      addressHigh_ = byte;
      expect_ = Expect::AddressLow;
      return;
    case Expect::AddressLow:
      ownAddress_ = static_cast<std::uint16_t>(addressHigh_ << 8 | byte);
      expect_ = Expect::Service;
      return;
    case Expect::Argument: expect_ = Expect::Service; return;
    case Expect::Service: break;
  }

  if (byte & DataStart) {
    const std::size_t index = byte & DataIndexMask;
    if (index == 0) building_.clear();
    if (index != building_.size()) {
      // A byte out of order spoils the frame; its data byte still has to be swallowed.
      protocolError();
      building_.clear();
      nextIndex_ = SIZE_MAX;
    }
    expect_ = Expect::FrameByte;
    return;
  }
  if (byte & DataEnd) {
    nextIndex_ = (nextIndex_ == SIZE_MAX) ? SIZE_MAX : byte & DataIndexMask;
    expect_ = Expect::Checksum;
    return;
  }
  if ((byte & AckInformationMask) == AckInformation) {
    const bool duringFrame = receiving_ && routingSeen_;
    // The first one after the frame has ended, before the next begins, is timed too: it
    // is the latest of all, and leaving it out would flatter a slow host.
    const bool afterFrame = !receiving_ && routingSeen_;
    // Judged from the routing byte as the host got it: a simulator that fell behind the
    // wall clock passed it late, and that lateness is not the host's.
    const Micros sinceRouting = arrivedAt.value_or(timingNow()) - routingTimedAt_;
    const bool inTime = duringFrame && sinceRouting <= AckInformationWindow;
    if ((duringFrame || afterFrame) && onAckInformation) onAckInformation(sinceRouting, inTime);
    if (afterFrame) routingSeen_ = false;
    if (!inTime) {
      ++lateAckInformation;
      return;
    }
    if (byte & AckBusy) ackInformation_ = combine(ackInformation_, Ack::Busy);
    if (byte & AckNotAcknowledge) ackInformation_ = combine(ackInformation_, Ack::Nak);
    if (byte & AckAddressed) ackInformation_ = combine(ackInformation_, Ack::Ack);
    return;
  }
  switch (byte) {
    case ResetRequest: reset(); return;
    case StateRequest:
      pass(static_cast<std::uint8_t>(StateOk | errorBits_));
      errorBits_ = 0;
      return;
    case ActivateBusMonitor: monitor_ = true; return;
    case ProductIdRequest: pass(ProductId); return;
    case SetAddress: expect_ = Expect::AddressHigh; return;
    case SetRepetitions: expect_ = Expect::Argument; return;
    default: return;  // busy mode, CRC and unknown services are accepted and ignored
  }
}

void InterfaceChip::takeChecksum(std::uint8_t checksum) {
  Bytes frame = std::move(building_);
  building_.clear();
  const std::size_t endIndex = nextIndex_;
  nextIndex_ = 0;
  if (endIndex == SIZE_MAX || endIndex != frame.size() || frame.size() < HeaderSize + 1) {
    protocolError();
    return;
  }
  if (checksum != checksumOf(frame.data(), frame.size())) {
    pass(static_cast<std::uint8_t>(StateOk | StateReceiveError));
    return;
  }
  // A frame handed over as a repetition still goes out once as a first transmission.
  frame[0] = static_cast<std::uint8_t>(frame[0] | RepeatFlag);
  frame.push_back(checksumOf(frame.data(), frame.size()));
  inFlight_.push_back(generation_);
  bus_.send(this, std::move(frame));
}

void InterfaceChip::protocolError() { errorBits_ |= StateProtocolError; }

void InterfaceChip::reset() {
  ++generation_;
  bus_.forget(this);
  inFlight_.clear();
  monitor_ = false;
  ownAddress_.reset();
  errorBits_ = 0;
  expect_ = Expect::Service;
  building_.clear();
  nextIndex_ = 0;
  ++resetAnswersDue_;
  clock_.after(ResetAnswerDelay, [this] {
    if (resetAnswersDue_ == 0) return;  // already sent ahead of another byte
    --resetAnswersDue_;
    deliver(ResetIndication);
  });
}

void InterfaceChip::frameStarted(bool own) {
  receiving_ = !own;
  routingSeen_ = false;
  ackInformation_ = Ack::None;
}

void InterfaceChip::frameByte(std::size_t index, std::uint8_t byte) {
  const bool routing = index == RoutingIndex && receiving_;
  if (routing) {
    routingSeen_ = true;
    // Timed just before the byte goes out: a simulator held up between writing it and
    // reading the clock would otherwise make a slow host look quick.
    routingTimedAt_ = timingNow();
  }
  pass(byte);
}

Micros InterfaceChip::timingNow() const { return timingClock ? timingClock() : clock_.now(); }

Ack InterfaceChip::frameEnded(const Bytes& frame) {
  receiving_ = false;
  if (monitor_) return Ack::None;
  Ack ack = ackInformation_;
  if (ownAddress_ && frame.size() > HeaderSize && (isGroupFrame(frame) || destinationOf(frame) == *ownAddress_))
    ack = combine(ack, Ack::Ack);
  if (ack != Ack::None && !checksumOk(frame)) return Ack::Nak;
  return ack;
}

void InterfaceChip::ackCharacter(std::uint8_t ch) {
  // Only a monitoring host expects lone acknowledge characters; others may choke on them.
  if (monitor_) pass(ch);
}

void InterfaceChip::busFree() {
  for (std::uint8_t b : noise) pass(b);
}

void InterfaceChip::sendDone(bool acknowledged) {
  if (inFlight_.empty()) return;
  const unsigned generation = inFlight_.front();
  inFlight_.pop_front();
  if (generation != generation_ || neverConfirms) return;
  pass(acknowledged ? ConfirmPositive : ConfirmNegative);
}

}  // namespace kolvaro::sim
