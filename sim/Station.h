#pragma once
// A plain station: it acknowledges frames for its own address (and for the groups it is
// given) and sends whatever it is told to, once or as periodic background traffic.
#include <chrono>
#include <cstdint>
#include <vector>

#include "sim/Bus.h"

namespace kolvaro::sim {

struct StationSetup {
  std::uint16_t address = 0x11FE;
  std::vector<std::uint16_t> groups{};  // groups it acknowledges
  Ack answer = Ack::Ack;                // what it puts in the acknowledge slot when addressed
};

class Station : public BusStation {
 public:
  Station(EventQueue& clock, Bus& bus, const StationSetup& setup);
  ~Station() override;
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  std::uint16_t address() const { return setup_.address; }
  // Queues a frame exactly as given (checksum included, right or wrong).
  void sendRaw(Bytes frameWithChecksum) { bus_.send(this, std::move(frameWithChecksum)); }
  // Sends `frame` (checksum included) every `period`, starting one period from now; a
  // period of zero stops it.
  void sendEvery(std::chrono::milliseconds period, Bytes frame);
  int framesSeen() const { return framesSeen_; }

  Ack frameEnded(const Bytes& frame) override;

 private:
  void tick(unsigned seq);

  EventQueue& clock_;
  Bus& bus_;
  StationSetup setup_;
  std::chrono::milliseconds period_{0};
  Bytes periodic_;
  unsigned periodicSeq_ = 0;
  int framesSeen_ = 0;
};

}  // namespace kolvaro::sim
