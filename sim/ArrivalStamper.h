#pragma once
// Reads a descriptor on a thread of its own, woken as bytes arrive, and keeps each chunk
// with the moment it was read. A simulator that times its hosts uses it so that a host's
// byte is timed when it came, not when the simulator's own loop, waiting for a processor
// behind other programs, got round to it: as a chip in hardware would see it.
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace kolvaro::sim {

class ArrivalStamper {
 public:
  using Stamp = std::chrono::microseconds;  // on the clock the caller gives
  struct Chunk {
    std::vector<std::uint8_t> bytes;
    Stamp arrivedAt;
  };

  // Starts reading `source` (non-blocking; it stays the caller's to close, after this is
  // gone). `clock` is read the moment a read returns bytes.
  ArrivalStamper(int source, Stamp (*clock)());
  ~ArrivalStamper();
  ArrivalStamper(const ArrivalStamper&) = delete;
  ArrivalStamper& operator=(const ArrivalStamper&) = delete;

  bool ok() const { return thread_.joinable(); }
  // Readable while chunks are waiting: the descriptor to poll in place of the source.
  int descriptor() const { return notifyRead_; }
  // The chunks read so far, in order.
  std::vector<Chunk> take();

 private:
  void run();

  int source_;
  Stamp (*clock_)();
  int notifyRead_ = -1, notifyWrite_ = -1;  // one byte per chunk queued
  int stopRead_ = -1, stopWrite_ = -1;      // written once, to end the thread
  std::mutex mutex_;
  std::vector<Chunk> chunks_;
  std::thread thread_;
};

}  // namespace kolvaro::sim
