#pragma once
// The small line interface that ComPort drives: one open serial port and the few
// operations the program needs of it. Backends: POSIX termios (SerialLinePosix),
// Win32 (SerialLineWin32) and the simulator's in-process line (sim/).
//
// Every operation returns true on success, as the Win32 calls it stands in for;
// ComPort turns these into its own results (true = failure).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/Dcb.h"
#include "platform/LineError.h"

namespace kolvaro {

class SerialLine {
 public:
  struct Status {
    std::uint32_t errors = 0;        // pending line errors (parity, framing, overrun, break); 0 = none
    std::uint32_t bytesWaiting = 0;  // bytes in the receive buffer
  };

  virtual ~SerialLine() = default;

  virtual bool getState(Dcb& dcb) = 0;
  virtual bool setState(const Dcb& dcb) = 0;
  virtual bool setDtr() = 0;
  virtual bool setRts() = 0;
  // Reads and clears the pending error word, and counts the bytes waiting.
  virtual bool clearError(Status& status) = 0;
  virtual bool purge(bool transmit, bool receive) = 0;
  // One byte out, bounded to 1000 ms.
  virtual bool writeByte(std::uint8_t byte) = 0;
  // One byte in, bounded to 1000 ms. Only called while clearError reports a byte waiting.
  virtual bool readByte(std::uint8_t& byte) = 0;
  // The bytes that have arrived, up to capacity, without waiting: count 0 when none wait.
  // errors is the pending error word; when it is not 0 nothing is read. For a reader that
  // saw the descriptor readable and must not be held up: unlike clearError, a backend need
  // not count the waiting bytes first (on a pseudo-terminal that waits for the kernel to
  // finish delivering them), nor tell a line that hung up from one with nothing waiting.
  virtual bool readWaiting(std::uint8_t* bytes, std::size_t capacity, std::size_t& count, std::uint32_t& errors) {
    count = 0;
    Status status;
    if (!clearError(status)) return false;
    errors = status.errors;
    if (errors != 0) return true;
    const std::size_t waiting = std::min<std::size_t>(status.bytesWaiting, capacity);
    for (; count < waiting; ++count) {
      if (!readByte(bytes[count])) return false;
    }
    return true;
  }
  virtual bool close() = 0;
  // A descriptor that becomes readable when a byte arrives, so an event loop can block
  // on it instead of polling; -1 when the backend has none.
  virtual int readableDescriptor() const { return -1; }

  // The cause of the last operation that failed (empty before any), for the log.
  const LineError& lastError() const { return error_; }

 protected:
  // Records the cause of a failure and returns false, the failure result.
  bool fail(const char* call, int code) {
    error_ = {call, code};
    return false;
  }

 private:
  LineError error_;
};

// Device paths that stand for port names, e.g. "COM1" -> "/dev/ttyUSB0" (dcb.ini's
// "COM ports" section). A name missing from the map keeps the platform's own meaning.
using PortPaths = std::map<std::string, std::string>;

// The system's serial ports, opened by their program names "COM1".."COM4".
class SerialPorts {
 public:
  virtual ~SerialPorts() = default;
  // Opens the port exclusively; nullptr when it cannot be opened, with the cause in
  // failure. Where port names are not the system's own (POSIX), paths may name the
  // device a port stands for.
  virtual std::unique_ptr<SerialLine> open(const std::string& portName, const PortPaths& paths, LineError& failure) = 0;
};

}  // namespace kolvaro
