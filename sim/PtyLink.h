#pragma once
// One interface chip's host side on a pseudo-terminal, reachable through a symbolic link
// at a path the user names. The simulator keeps both ends open for its whole life, so a
// host may open, close and reopen the link; the link is removed when this ends.
#include <cstdint>
#include <memory>
#include <string>

#include "sim/InterfaceChip.h"

namespace kolvaro::sim {

class PtyLink {
 public:
  // Opens a pseudo-terminal and links `linkPath` to it; ok() tells whether that worked
  // and error() why not.
  PtyLink(std::shared_ptr<InterfaceChip> chip, std::string linkPath);
  ~PtyLink();
  PtyLink(const PtyLink&) = delete;
  PtyLink& operator=(const PtyLink&) = delete;

  bool ok() const { return master_ >= 0; }
  const std::string& error() const { return error_; }
  const std::string& linkPath() const { return linkPath_; }
  const std::string& devicePath() const { return devicePath_; }
  // The descriptor to wait on for host bytes; -1 once the line has gone.
  int descriptor() const { return master_; }
  // Reads what the host wrote and hands it to the chip, byte by byte.
  void pump();
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
};

}  // namespace kolvaro::sim
