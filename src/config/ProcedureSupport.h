#pragma once
// What the session's procedures share: the attempt counter, how far the progress
// moves, the pause between steps, and the guard that keeps a second bus run from
// starting inside the waits of the first.
#include <cstdint>

#include "config/SessionFace.h"

namespace kolvaro::procedure {

// The one-byte attempt counter of an exchange loop. It is tested before it is
// decreased, so a loop started at N makes at most N + 1 requests, and every kind of
// outcome draws on the same counter.
class AttemptCounter {
 public:
  explicit AttemptCounter(std::uint8_t start) : left_(start) {}
  // True when another request is allowed (and uses that attempt up).
  bool allowsAnother() {
    if (left_ == 0) return false;
    --left_;
    return true;
  }

 private:
  std::uint8_t left_;
};

// How far the progress moves.
namespace progress {
inline constexpr int Full = ProgressFull;
// An unanswered request that looks for devices: the broadcast address read, a listen
// for a second answer, the read's check of the device's address.
inline constexpr int PerUnansweredLookup = 19;
// An unanswered memory access or confirmed write: three of them fill the bar.
inline constexpr int PerUnansweredTransfer = 32;
// One byte of the group table: sixteen fill the bar.
inline constexpr int PerTableByte = 6;
// The step outside the table stages.
inline constexpr int UnitStep = 1;
}  // namespace progress

// The progress of one run as the face shows it: a position in 0..Full and a step.
// Every change is passed on, even one to the same position.
class Progress {
 public:
  explicit Progress(SessionFace& face) : face_(face) {}
  void set(int position);
  // Adds to the position, holding it at Full: after an unanswered address check the
  // read's listening requests add to a full bar.
  void advance(int amount) { set(position_ + amount); }
  void setStep(int step) { step_ = step; }
  void step() { set(position_ + step_); }

 private:
  SessionFace& face_;
  int position_ = 0;
  int step_ = progress::UnitStep;
};

// The pause, in milliseconds, before each group table request and after the read's
// search for the device.
inline constexpr unsigned StepPause = 200;

// The program's one re-entry guard, held for the length of one bus run of an owner (a
// face's procedure, or what a face does with the port: start-up, a port change). A
// request waits while the window's events go on, so a click can arrive inside a run; a
// second request started there would share the port and the wait counter and take the
// bytes the first one waits for, and a port change would delete the port under it. A
// run that cannot acquire the guard does nothing; a face asks isHeld to refuse it visibly.
class BusRunGuard {
 public:
  explicit BusRunGuard(const void* owner);
  ~BusRunGuard();
  BusRunGuard(const BusRunGuard&) = delete;
  BusRunGuard& operator=(const BusRunGuard&) = delete;
  bool acquired() const { return acquired_; }
  // Whether a run of this owner holds the guard now.
  static bool isHeld(const void* owner);

 private:
  const void* owner_;
  bool acquired_;
};

}  // namespace kolvaro::procedure
