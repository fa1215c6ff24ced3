#include "sim/InProcessLine.h"

#include <utility>

namespace kolvaro::sim {

namespace {
kolvaro::Dcb defaultDcb() {
  kolvaro::Dcb d;
  d.DCBlength = 80;
  d.BaudRate = 19200;
  d.fBinary = 1;
  d.fParity = 1;
  d.ByteSize = 8;
  d.Parity = 2;
  d.StopBits = 0;
  return d;
}
}  // namespace

InProcessLine::InProcessLine(std::shared_ptr<InterfaceChip> chip, std::shared_ptr<HostEnd> end)
    : chip_(std::move(chip)), end_(std::move(end)), dcb_(defaultDcb()) {}

InProcessLine::~InProcessLine() { close(); }

bool InProcessLine::getState(kolvaro::Dcb& dcb) {
  if (!usable()) return false;
  dcb = dcb_;
  return true;
}

bool InProcessLine::setState(const kolvaro::Dcb& dcb) {
  if (!usable()) return false;
  dcb_ = dcb;
  return true;
}

bool InProcessLine::clearError(Status& status) {
  status = Status{};
  if (!usable()) return false;
  status.bytesWaiting = static_cast<std::uint32_t>(end_->inbox.size());
  return true;
}

bool InProcessLine::purge(bool /*transmit*/, bool receive) {
  if (!usable()) return false;
  if (receive) end_->inbox.clear();
  return true;
}

bool InProcessLine::writeByte(std::uint8_t byte) {
  if (!usable()) return false;
  chip_->hostByte(byte);
  return true;
}

bool InProcessLine::readByte(std::uint8_t& byte) {
  if (!usable() || end_->inbox.empty()) return false;
  byte = end_->inbox.front();
  end_->inbox.pop_front();
  return true;
}

bool InProcessLine::close() {
  if (closed_) return true;
  closed_ = true;
  chip_->toHost = nullptr;
  chip_->detach();
  return true;
}

}  // namespace kolvaro::sim
