#pragma once
// The interface test: asks the bus interface chip for its state (state request 0x02)
// and waits a short while for its state indication. Reports the state bits in words,
// or that no chip answered on this port, with what to check.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/CoreText.h"
#include "telegram/ExchangeEvents.h"
#include "telegram/ExchangeHost.h"

namespace kolvaro {

struct ChipState {
  bool answered = false;
  std::uint8_t indication = 0;              // the state indication byte (xxxxx111)
  std::chrono::milliseconds answerTime{0};  // from the request to the indication
  std::vector<std::string> problems;        // the set error bits, in words
};

using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;

inline constexpr std::chrono::milliseconds InterfaceTestDeadline{800};

// Writes the state request on the host's port and reads until a state indication comes
// or the deadline passes. Other bytes meanwhile are reported to the observer (if any)
// and passed over. The wait keeps the owner's events going, polling the line.
ChipState TestInterface(ExchangeHost& host, ExchangeObserver* observer,
                        std::chrono::milliseconds deadline = InterfaceTestDeadline, SteadyNow now = {});

// The problems of a state indication, in words (none for 0x07).
std::vector<std::string> ChipStateProblems(std::uint8_t indication);

// The interface test's report for a box or the log: the state in words, or no chip,
// with the port's name and path.
CoreText InterfaceTestReport(const ChipState& state, const std::string& portName, const std::string& portPath);

}  // namespace kolvaro
