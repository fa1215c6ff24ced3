#pragma once
// The terms of one telegram exchange, by name: what it waits for (its mode), which
// answer it takes (an application service code), how long it waits, and the texts
// it returns.
#include <cstdint>

namespace kolvaro {

enum class ExchangeMode : std::uint8_t {
  Answer = 0,         // send, wait for an answer frame
  FurtherAnswer = 1,  // send nothing, wait for another answer to the same request
  Confirmation = 2,   // send, wait for the chip's confirmation; answers meanwhile are logged
};

const char* toString(ExchangeMode mode);

// Application service codes an answer frame carries: (byte 6 & 0x03) * 4 + (byte 7 & 0xC0) / 64.
namespace answer_code {
inline constexpr std::uint8_t PhysicalAddressResponse = 5;
inline constexpr std::uint8_t MemoryResponse = 9;
inline constexpr std::uint8_t None = 255;  // no frame carries it: the exchange takes no answer
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
