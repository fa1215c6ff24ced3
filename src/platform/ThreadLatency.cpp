#include "platform/ThreadLatency.h"

#include <mutex>

#ifndef _WIN32
#include <pthread.h>
#endif

#ifdef __linux__
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#endif

namespace kolvaro {

#if defined(__linux__) && defined(SYS_sched_setattr)
namespace {
// The kernel's struct sched_attr (its first version, which every kernel takes): glibc
// declares no sched_setattr, and the kernel's header clashes with glibc's <sched.h>.
struct SchedulingAttributes {
  std::uint32_t size;
  std::uint32_t policy;
  std::uint64_t flags;
  std::int32_t nice;
  std::uint32_t priority;
  std::uint64_t runtime;
  std::uint64_t deadline;
  std::uint64_t period;
};
}  // namespace
#endif

WakeUpPromptness AskForPromptWakeUps() {
#if defined(__linux__) && defined(SYS_sched_setattr)
  // Applies to the calling thread only (id 0), not to the rest of the process.
  sched_param realTime{};
  realTime.sched_priority = sched_get_priority_min(SCHED_FIFO);
  if (sched_setscheduler(0, SCHED_FIFO, &realTime) == 0) return WakeUpPromptness::RealTime;
  // The thread's own niceness is kept: sched_setattr sets it along with the slice, and
  // lowering it would need a privilege.
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
  if (errno != 0) return WakeUpPromptness::Unchanged;
  SchedulingAttributes attributes{};
  attributes.size = sizeof attributes;
  attributes.policy = SCHED_OTHER;
  attributes.nice = nice;
  attributes.runtime = 100'000;  // ns: the shortest slice the kernel grants
  // Kernels before 6.12 take the call and ignore the slice.
  if (::syscall(SYS_sched_setattr, 0, &attributes, 0) == 0) return WakeUpPromptness::ShortSlice;
  return WakeUpPromptness::Unchanged;
#else
  return WakeUpPromptness::Unchanged;
#endif
}

#ifndef _WIN32
struct InheritingMutex::Handle {
  pthread_mutex_t mutex;
};

InheritingMutex::InheritingMutex() : handle_(std::make_unique<Handle>()) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  // Where priority inheritance is not offered, a plain mutex still excludes.
  pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
  pthread_mutex_init(&handle_->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

InheritingMutex::~InheritingMutex() { pthread_mutex_destroy(&handle_->mutex); }

void InheritingMutex::lock() { pthread_mutex_lock(&handle_->mutex); }
void InheritingMutex::unlock() { pthread_mutex_unlock(&handle_->mutex); }
bool InheritingMutex::try_lock() { return pthread_mutex_trylock(&handle_->mutex) == 0; }
#else
struct InheritingMutex::Handle {
  std::mutex mutex;
};

InheritingMutex::InheritingMutex() : handle_(std::make_unique<Handle>()) {}
InheritingMutex::~InheritingMutex() = default;
void InheritingMutex::lock() { handle_->mutex.lock(); }
void InheritingMutex::unlock() { handle_->mutex.unlock(); }
bool InheritingMutex::try_lock() { return handle_->mutex.try_lock(); }
#endif

}  // namespace kolvaro
