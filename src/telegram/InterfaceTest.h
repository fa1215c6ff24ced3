#pragma once
// The interface test: asks the bus interface chip for its state (state request 0x02)
// and waits a short while for its state indication. Reports the state bits in words,
// or that no chip answered on this port, with what to check.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/CoreText.h"
#include "telegram/ExchangeEvents.h"
#include "telegram/ExchangeHost.h"

namespace kolvaro {

// What the interface test found of an IP tunnel: the connection, and the server's
// answer to a connection-state request made for the test.
struct TunnelState {
  std::string server;  // "127.0.0.1:3671"
  bool connected = false;
  std::uint8_t channel = 0;
  std::uint16_t address = 0;                // assigned by the server
  std::optional<std::uint8_t> stateStatus;  // the answer's status; none: no answer came
  std::chrono::milliseconds answerTime{0};
  CoreText lost;  // why there is no connection
};

struct ChipState {
  bool answered = false;
  std::uint8_t indication = 0;              // the state indication byte (xxxxx111)
  std::chrono::milliseconds answerTime{0};  // from the request to the indication
  std::vector<std::string> problems;        // the set error bits, in words
  std::optional<TunnelState> tunnel;        // set when the interface is an IP tunnel
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
// with the port's name and path; for a tunnel, the connection and the server's answer.
CoreText InterfaceTestReport(const ChipState& state, const std::string& portName, const std::string& portPath);

}  // namespace kolvaro
