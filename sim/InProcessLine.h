#pragma once
// The host side of a simulated chip as a SerialLine, for ComPort in tests. Bytes the
// host writes reach the chip at the scene's current time; bytes the chip passes on wait
// in the line's receive buffer until the host reads or purges them. Nothing blocks.
// Once the line is closed, destroyed or gone (the scene dropped it or ended), every
// operation but close fails.
#include <cstdint>
#include <deque>
#include <memory>

#include "platform/SerialLine.h"
#include "sim/InterfaceChip.h"

namespace kolvaro::sim {

// What the line and the scene share: the receive buffer and whether the far end is there.
struct HostEnd {
  std::deque<std::uint8_t> inbox;
  bool gone = false;
};

class InProcessLine : public kolvaro::SerialLine {
 public:
  InProcessLine(std::shared_ptr<InterfaceChip> chip, std::shared_ptr<HostEnd> end);
  ~InProcessLine() override;
  InProcessLine(const InProcessLine&) = delete;
  InProcessLine& operator=(const InProcessLine&) = delete;

  bool getState(kolvaro::Dcb& dcb) override;
  bool setState(const kolvaro::Dcb& dcb) override;
  bool setDtr() override { return usable(); }
  bool setRts() override { return usable(); }
  bool clearError(Status& status) override;
  bool purge(bool transmit, bool receive) override;
  bool writeByte(std::uint8_t byte) override;
  bool readByte(std::uint8_t& byte) override;
  bool close() override;

  InterfaceChip& chip() { return *chip_; }

 private:
  bool usable() const { return !closed_ && !end_->gone; }

  std::shared_ptr<InterfaceChip> chip_;
  std::shared_ptr<HostEnd> end_;
  kolvaro::Dcb dcb_;
  bool closed_ = false;
};

}  // namespace kolvaro::sim
