#pragma once
// Scheduling for a thread whose work is short and urgent: woken by a byte, it must answer
// within a bit time or two, even while other programs keep every processor busy.
#include <memory>

namespace kolvaro {

enum class WakeUpPromptness {
  Unchanged,   // the platform or the kernel offered nothing
  ShortSlice,  // the fair scheduler's shortest slice: it preempts a busy thread on waking
  RealTime,    // the lowest real-time priority: it runs before every ordinary thread
};

// Asks the scheduler to run the calling thread as soon as it wakes, rather than after
// the slice of whatever runs meanwhile. Real-time scheduling where the user may have it
// (a real-time priority limit, or the privilege); otherwise, on Linux 6.12 and later, a
// 0.1 ms slice of the fair scheduler, which needs no privilege and lets the woken thread
// preempt a busy one. The thread's niceness stays as it is. Only for a thread that
// sleeps between short bursts of work: a real-time thread that spun would hold a
// processor. Returns what was granted.
WakeUpPromptness AskForPromptWakeUps();

// A mutex shared with such a thread: while the urgent thread waits for it, the thread
// holding it runs at the urgent thread's priority, so an ordinary thread preempted while
// holding it cannot keep the urgent one waiting. Lockable, for std::lock_guard and
// std::condition_variable_any.
class InheritingMutex {
 public:
  InheritingMutex();
  ~InheritingMutex();
  InheritingMutex(const InheritingMutex&) = delete;
  InheritingMutex& operator=(const InheritingMutex&) = delete;
  void lock();
  void unlock();
  bool try_lock();

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace kolvaro
