#include "sim/EventQueue.h"

#include <utility>

namespace kolvaro::sim {

void EventQueue::at(Micros t, std::function<void()> fn) {
  events_.push(Event{t < now_ ? now_ : t, nextSeq_++, std::move(fn)});
}

void EventQueue::runUntil(Micros t) {
  while (!events_.empty() && events_.top().time <= t) {
    // Copy out before popping: the callback may schedule further events.
    Event event = events_.top();
    events_.pop();
    if (event.time > now_) now_ = event.time;
    event.fn();
  }
  if (t > now_) now_ = t;
}

std::optional<Micros> EventQueue::nextTime() const {
  if (events_.empty()) return std::nullopt;
  return events_.top().time;
}

}  // namespace kolvaro::sim
