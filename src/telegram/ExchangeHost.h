#pragma once
// What the telegram exchange needs from its owner (the main window, or a test's fake):
// the port, the program's own address, the log memo and a way to wait for activity.
#include <cstdint>
#include <string>

namespace kolvaro {

class ComPort;

class ExchangeHost {
 public:
  virtual ~ExchangeHost() = default;
  virtual ComPort* port() = 0;
  virtual std::uint16_t localAddress() const = 0;       // Local_phAddr
  virtual void appendLog(const std::string& line) = 0;  // one line of Tels_memo
  // Processes pending window events and returns once something may have happened: a
  // byte on the line (readableDescriptor, or -1 when the line has none), a Timer1 tick
  // or user input. Must not spin when there is a descriptor to block on.
  virtual void waitForActivity(int readableDescriptor) = 0;
  // Whether the exchange may read the line on a thread of its own while this host's
  // thread runs the rest of it, so that the acknowledge of a frame for us does not wait
  // for the host's next wake-up. Such a host keeps its port for the whole exchange and
  // touches it only between exchanges. Used where the line has a descriptor; a host whose
  // waits drive the line themselves (a simulated bus advanced by them) says no.
  virtual bool readsLineOffThread() const { return false; }
};

}  // namespace kolvaro
