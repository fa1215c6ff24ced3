#pragma once
// SendTelegram: one telegram through the interface chip, then a bounded wait for the
// chip's confirmation or for an answer frame addressed to the program.
#include <cstdint>
#include <string>

#include "telegram/ExchangeHost.h"

namespace kolvaro {

class TelegramExchange {
 public:
  explicit TelegramExchange(ExchangeHost& host) : host_(host) {}

  // mode 0: send, wait for an answer frame; 1: send nothing, wait for a further answer;
  // 2: send, wait for the chip's confirmation. waitLimit > 0: ticks to wait; 0: no
  // limit; < 0: return right after sending. answerCode 255 accepts no frame.
  // Returns "ACK", "NoReply", "Error" or the accepted answer frame in hex digits.
  std::string SendTelegram(std::string telegram, std::int32_t waitLimit, std::uint8_t answerCode,
                           std::uint8_t mode);

  // The OnTimer handler of Timer1 (one tick a second).
  void Timer1Timer() { ++WaitCounter; }

  std::int32_t WaitCounter = 0;

 private:
  ExchangeHost& host_;
};

}  // namespace kolvaro
