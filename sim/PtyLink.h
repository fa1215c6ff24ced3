#pragma once
// One interface chip's host side on a pseudo-terminal, reachable through a symbolic link
// at a path the user names. The simulator keeps both ends open for its whole life, so a
// host may open, close and reopen the link; the link is removed when this ends.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/ArrivalStamper.h"
#include "sim/InterfaceChip.h"

namespace kolvaro::sim {

class PtyLink {
 public:
  // Opens a pseudo-terminal and links `linkPath` to it; ok() tells whether that worked
  // and error() why not. With `arrivalClock`, host bytes are timed on it as they arrive,
  // by a thread of their own, and the chip judges an acknowledge information by that time.
  PtyLink(std::shared_ptr<InterfaceChip> chip, std::string linkPath, ArrivalStamper::Stamp (*arrivalClock)() = nullptr);
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  bool ok() const { return master_ >= 0; }
  const std::string& error() const { return error_; }
  const std::string& linkPath() const { return linkPath_; }
  const std::string& devicePath() const { return devicePath_; }
  // The descriptor to wait on for host bytes; -1 once the line has gone.
  int descriptor() const;
  // Reads what the host wrote and hands it to the chip, byte by byte (untimed links).
  void pump();
  // A link whose host bytes are timed as they arrive: what has arrived since the last
  // call, for the caller to hand over with handOver() each at its moment.
  bool timesArrivals() const { return stamper_ != nullptr; }
  std::vector<ArrivalStamper::Chunk> takeArrivals();
  void handOver(const ArrivalStamper::Chunk& chunk);
  // The far end goes away: both ends close and the link disappears.
  void goAway();
  InterfaceChip& chip() { return *chip_; }

 private:
  void toHost(std::uint8_t byte);

  std::shared_ptr<InterfaceChip> chip_;
  std::string linkPath_;
  std::string devicePath_;
  std::string error_;
  int master_ = -1;
  int slave_ = -1;  // kept open so hosts can close and reopen without a hang-up
  bool linked_ = false;
  std::unique_ptr<ArrivalStamper> stamper_;  // reads the terminal when host bytes are timed
};

}  // namespace kolvaro::sim
