#pragma once
// The simulator's clock and its agenda: callbacks due at moments of virtual time,
// run in time order (ties in the order they were scheduled). Nothing here waits;
// the owner moves the clock forward (a test by steps, kolvaro-bus by the wall clock).
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <vector>

namespace kolvaro::sim {

using Micros = std::chrono::microseconds;

// Bus time of n bit periods at 9600 bit/s, rounded to the microsecond. Offsets are
// always computed from the start of a frame so rounding never accumulates.
constexpr Micros bitTimes(std::int64_t n) { return Micros((n * 1'000'000 + 4'800) / 9'600); }

class EventQueue {
 public:
  Micros now() const { return now_; }
  // Schedules fn at time t; a time in the past runs at the next chance, at now().
  void at(Micros t, std::function<void()> fn);
  void after(Micros d, std::function<void()> fn) { at(now_ + d, std::move(fn)); }
  // Runs every event due up to and including t, then sets the clock to t.
  void runUntil(Micros t);
  std::optional<Micros> nextTime() const;

 private:
  struct Event {
    Micros time;
    std::uint64_t seq;
    std::function<void()> fn;
  };
  struct Later {
    bool operator()(const Event& a, const Event& b) const { return a.time != b.time ? a.time > b.time : a.seq > b.seq; }
  };
  std::priority_queue<Event, std::vector<Event>, Later> events_;
  Micros now_{0};
  std::uint64_t nextSeq_ = 0;
};

}  // namespace kolvaro::sim
