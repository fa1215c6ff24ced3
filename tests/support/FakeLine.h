#pragma once
// A serial line inside the test process, with switches for the faults a real port
// can show. Its state is shared, so a test still sees it after a ComPort has taken
// the line and deleted it.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/SerialLine.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {

struct FakeLineState {
  // Switches.
  bool cannotOpen = false;  // the port is in use elsewhere
  bool getStateFails = false;
  bool setStateRejects = false;  // every setState, the restore at deletion included
  bool clearErrorFails = false;
  bool modemLinesFail = false;
  bool purgeFails = false;
  bool closeFails = false;
  bool readFails = false;                          // a byte was waiting but the read timed out
  std::optional<std::size_t> writesBeforeFailure;  // later writes fail (time-out or error)
  std::uint32_t pendingErrors = 0;                 // reported once by clearError, then cleared
  std::deque<std::uint8_t> incoming;               // bytes waiting to be read
  // Bytes that join `incoming` at their time, also while the reader blocks the event loop.
  std::vector<std::pair<std::chrono::steady_clock::time_point, std::uint8_t>> arriving;

  // What the port reports before anyone configures it.
  Dcb reported = defaultReported();

  // Records.
  int opens = 0;
  std::vector<Dcb> statesSet;  // every setState, accepted or not
  std::vector<std::uint8_t> written;
  std::vector<std::string> events;  // "write 80", "purge R", "purge T", "purge TR", "DTR", "RTS", "close"
  bool open = false;

  // A port as a driver might leave it: 9600 7O2, with its own XON/XOFF characters and limits.
  static Dcb defaultReported();
};

class FakeLine : public SerialLine {
 public:
  explicit FakeLine(std::shared_ptr<FakeLineState> state) : state_(std::move(state)) { state_->open = true; }
  ~FakeLine() override;

  bool getState(Dcb& dcb) override;
  bool setState(const Dcb& dcb) override;
  bool setDtr() override;
  bool setRts() override;
  bool clearError(Status& status) override;
  bool purge(bool transmit, bool receive) override;
  bool writeByte(std::uint8_t byte) override;
  bool readByte(std::uint8_t& byte) override;
  bool close() override;

 private:
  std::shared_ptr<FakeLineState> state_;
};

// Serves a fake line under portName; returns its state for the test to switch and inspect.
std::shared_ptr<FakeLineState> addFakePort(ScriptedPorts& ports, const std::string& portName);

}  // namespace kolvaro::test
