#pragma once
// Waiting for the serial line inside the window's thread: blocks in the event loop until
// a byte arrives, a timer fires or the user does something, so that a wait costs no CPU
// and still handles every byte the moment it comes.
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>

namespace kolvaro {

class ActivityWait {
 public:
  ActivityWait();

  // Processes pending events, blocking until there is at least one. With a descriptor
  // (>= 0) a byte becoming readable wakes the wait; without one the wait lasts at most
  // about a millisecond, so a line that can only be polled is polled without spinning.
  void wait(int readableDescriptor);
  // The same, returning after `atMost` at the latest (the IP tunnel's deadlines are
  // shorter than the window's timer tick).
  void wait(int readableDescriptor, std::chrono::milliseconds atMost);
  // Drops the notifiers, e.g. when the port they watch is closed.
  void forgetDescriptors() { notifiers_.clear(); }

 private:
  // One notifier per descriptor, enabled only during a wait: a readable line must not
  // keep waking the loop while nobody is reading it.
  std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
  QTimer pollTimer_;
  QTimer limitTimer_;
};

}  // namespace kolvaro
