#pragma once
// The terms of one telegram exchange, by name: what it waits for (its mode), which
// answer it takes (an application service code), how long it waits, and the texts
// it returns.
#include <cstdint>

#include "telegram/FrameLayout.h"

namespace kolvaro {

enum class ExchangeMode : std::uint8_t {
  Answer = 0,         // send, wait for an answer frame
  FurtherAnswer = 1,  // send nothing, wait for another answer to the same request
  Confirmation = 2,   // send, wait for the chip's confirmation; answers meanwhile are logged
};

const char* toString(ExchangeMode mode);

// The application service codes SendTelegram takes an answer by (telegram/FrameLayout.h).
namespace answer_code {
inline constexpr std::uint8_t PhysicalAddressResponse = service::IndividualAddressResponse;
inline constexpr std::uint8_t MemoryResponse = service::MemoryResponse;
inline constexpr std::uint8_t None = service::None;  // no frame carries it: the exchange takes no answer
}  // namespace answer_code

// How long an exchange waits, in Timer1 ticks (one a second).
namespace wait_limit {
inline constexpr std::int32_t ReturnAfterSending = -1;  // reads at most what is already waiting
inline constexpr std::int32_t Unlimited = 0;
inline constexpr std::int32_t OneTick = 1;
}  // namespace wait_limit

// What an exchange returns besides an accepted answer frame's hex digits.
namespace exchange_result {
inline constexpr char Ack[] = "ACK";          // the chip confirmed the frame
inline constexpr char NoReply[] = "NoReply";  // the wait limit passed
inline constexpr char Error[] = "Error";      // the text could not be written
}  // namespace exchange_result

}  // namespace kolvaro
