#pragma once
// The serial interface chip's side of the request seam: a frame handed to the chip as
// its chip text, then a bounded wait, counted in ticks of the one-second timer, for the
// chip's confirmation or for an answer frame addressed to the program. SendTelegram is
// the same exchange for a text of hex digits, as the chip's own services take it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "telegram/BusRequests.h"
#include "telegram/ExchangeEvents.h"
#include "telegram/ExchangeHost.h"
#include "telegram/ExchangeTerms.h"
#include "telegram/LineReader.h"
#include "telegram/ReceiveMachine.h"

namespace kolvaro {

// A request as the chip's exchange makes it: the text, the wait limit, the answer taken
// and the mode (nothing awaited is a confirmation wait that returns right after sending).
struct ChipCall {
  std::string text;  // empty: nothing is sent
  std::int32_t waitLimit;
  AnswerWanted wanted;
  ExchangeMode mode;
};
ChipCall ChipCallOf(const Request& request);

class TelegramExchange : public BusRequests {
 public:
  explicit TelegramExchange(ExchangeHost& host);
  ~TelegramExchange() override;
  TelegramExchange(const TelegramExchange&) = delete;
  TelegramExchange& operator=(const TelegramExchange&) = delete;

  // The seam: the frame's text is sent in the mode the request awaits.
  Reply request(const Request& request) override;
  ChipState testInterface() override { return TestInterface(host_, observer_); }

  // waitLimit > 0: ticks to wait; 0 (wait_limit::Unlimited): no limit; < 0
  // (wait_limit::ReturnAfterSending): return right after sending. answer_code::None
  // accepts no frame. Returns exchange_result::Ack, NoReply, Error or the accepted
  // answer frame in hex digits.
  std::string SendTelegram(std::string telegram, std::int32_t waitLimit, std::uint8_t answerCode, ExchangeMode mode);

  // Follows the receive machine of every exchange from now on (states entered, frames
  // judged and why); none by default.
  void setReceiveTrace(ReceiveMachine::TraceSink sink) { receiveTrace_ = std::move(sink); }
  // Every step of the exchanges from now on goes to the observer as well (null: none).
  void setObserver(ExchangeObserver* observer) { observer_ = observer; }
  ExchangeObserver* observer() const { return observer_; }

  // Whether an exchange is running (its owner is inside one of its waits).
  bool exchanging() const { return depth_ > 0; }

  // The OnTimer handler of Timer1 (one tick a second).
  void Timer1Timer() { ++WaitCounter; }

  std::int32_t WaitCounter = 0;

 private:
  // What one exchange ended with: the typed reply, and the same as the exchange's text.
  struct Exchanged {
    Reply reply;
    std::string text;
  };
  Exchanged exchange(std::string telegram, std::int32_t waitLimit, AnswerWanted wanted, ExchangeMode mode);
  Exchanged reported(Exchanged exchanged) const;
  void report(ExchangeEvent event) const {
    if (observer_) observer_->exchangeEvent(event);
  }

  ExchangeHost& host_;
  ReceiveMachine::TraceSink receiveTrace_;
  ExchangeObserver* observer_ = nullptr;
  std::unique_ptr<LineReader> reader_;      // made for the first exchange that reads off the host's thread
  std::vector<LineReader::Run> suspended_;  // the reading of exchanges that others entered inside
  int depth_ = 0;                           // exchanges running, nested ones included
};

}  // namespace kolvaro
