#pragma once
// kolvaro-cli's connection to the bus interface chip: the program's port, opened as the
// window's start-up opens it, and the chip's exchange on it with Timer1's one-second
// ticks. The device session reaches the bus through exchange().
#include <chrono>
#include <cstdint>
#include <memory>

#include "link/Comport.h"
#include "telegram/ExchangeHost.h"
#include "telegram/TelegramExchange.h"

namespace kolvaro::cli {

class ChipConnection : public ExchangeHost {
 public:
  explicit ChipConnection(std::uint16_t localAddress);

  // Opens the port as the window's start-up does (lowest free port configured from
  // dcb.ini, DTR and RTS raised, the chip's reset request written). False when the port
  // could not be opened.
  bool openPort();
  TelegramExchange& exchange() { return exchange_; }
  // Before the port closes. A procedure may end while the chip still sends frames it
  // was handed (the last confirmation taken can belong to an earlier frame, and the
  // group switching does not wait for its last one); closing the port then would lose
  // them. Waits until the chip has been quiet for a moment, a few seconds at most.
  void settle();

  // ExchangeHost
  ComPort* port() override { return port_.get(); }
  std::uint16_t localAddress() const override { return local_; }
  void appendLog(const std::string& /*line*/) override {}
  void waitForActivity(int readableDescriptor) override;

 private:
  using Clock = std::chrono::steady_clock;

  std::uint16_t local_;
  std::unique_ptr<ComPort> port_;
  TelegramExchange exchange_{*this};
  Clock::time_point nextTick_;
};

}  // namespace kolvaro::cli
