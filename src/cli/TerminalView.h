#pragma once
// The headless view of kolvaro-cli: the window's state as plain values (HeadlessView),
// the telegram exchange on the program's port with Timer1's one-second ticks, and the
// bar on the terminal. Boxes and pauses take the platform's route, as everywhere.
#include <chrono>
#include <memory>

#include "config/HeadlessView.h"
#include "link/Comport.h"
#include "telegram/ExchangeHost.h"
#include "telegram/TelegramExchange.h"

namespace kolvaro::cli {

class ProgressLine;

class TerminalView : public HeadlessView, public ExchangeHost {
 public:
  explicit TerminalView(ProgressLine& progress);

  // Opens the port as the window's start-up does (lowest free port configured from
  // dcb.ini, DTR and RTS raised, the chip's reset request written). False when the port
  // could not be opened.
  bool openPort();
  ComPort* port() override { return port_.get(); }
  // Every step of the exchange from now on also goes to the observer (null: none).
  void observeExchange(ExchangeObserver* observer) { exchange_.setObserver(observer); }
  // Before the port closes. A procedure may end while the chip still sends frames it
  // was handed (the last confirmation taken can belong to an earlier frame, and the
  // group switching does not wait for its last one); closing the port then would lose
  // them. Waits until the chip has been quiet for a moment, a few seconds at most.
  void settle();

  // MainView: the parts a face supplies.
  std::string sendTelegram(const std::string& telegram, std::int32_t waitLimit, std::uint8_t answerCode,
                           ExchangeMode mode) override;

  // ExchangeHost
  std::uint16_t localAddress() const override;
  void appendLog(const std::string& /*line*/) override {}
  void waitForActivity(int readableDescriptor) override;

 protected:
  void progressMoved(int position) override;

 private:
  using Clock = std::chrono::steady_clock;

  ProgressLine& progress_;
  std::unique_ptr<ComPort> port_;
  TelegramExchange exchange_{*this};
  Clock::time_point nextTick_;
};

}  // namespace kolvaro::cli
