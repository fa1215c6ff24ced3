#pragma once
// ComPort: the one serial port through which the program reaches the bus interface
// chip. Finds or opens one of COM1..COM4, configures it from dcb.ini, keeps the
// settings the port had so that deletion can put them back, and moves single bytes,
// each transfer bounded to 1000 ms.
//
// Results follow the program's convention: true (or a code above 255 from ReadByte)
// means failure. Every message is shown through platform().messageBox.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dcb.h"
#include "platform/SerialLine.h"

namespace kolvaro {

class ComPort {
 public:
  static constexpr std::int32_t ReadError = 1000;  // error or time-out
  static constexpr std::int32_t NothingWaiting = 10000;

  // Start-up constructor: the lowest free port of COM1..COM4, configured from dcb.ini.
  ComPort();
  // Port-choice constructor: writes the port number and the four line settings to
  // dcb.ini, then opens the port that dcb.ini names.
  ComPort(std::uint32_t baudRate, const char* parityName, std::uint8_t byteSize, double stopBits, std::uint8_t portNo);
  // Restores the settings the port had and closes it; shows a message for each step that fails.
  ~ComPort();

  ComPort(const ComPort&) = delete;
  ComPort& operator=(const ComPort&) = delete;

  bool IsFailed() const { return failed; }
  bool WriteByte(const std::uint8_t* p);
  std::int32_t ReadByte();
  // One byte out with nothing asked of the line first, for the acknowledge: it is due a
  // bit time or two after the byte just read, and asking a pseudo-terminal for its errors
  // waits for the kernel's delivery of that byte to end. Line errors show at the next read.
  bool WriteAtOnce(std::uint8_t byte);
  // What has arrived, into bytes (at most capacity, and at most 255): its count, or
  // NothingWaiting / ReadError as from ReadByte. Bytes put back by Unread come first. For
  // the line's reader, woken by the descriptor: one read, where ReadByte asks the line for
  // errors and a count before each byte.
  std::int32_t ReadWaiting(std::uint8_t* bytes, std::size_t capacity);
  bool WriteHexText(const char* text);
  bool RaiseDTR();
  bool RaiseRTS();
  bool PurgeBuffers(char which);

  // Puts bytes that were read from the line but not used back in front of the receive
  // buffer, oldest first: the next reads return them before anything else, and a purge
  // of the receive buffer drops them. For a reader that read ahead of an exchange which
  // then ended, so the bytes still wait for the next one as if never read.
  void Unread(const std::vector<std::uint8_t>& bytes);

  // For the window's wait: readable when a byte arrives; -1 when there is no such descriptor.
  int ReadableDescriptor() const;
  const char* PortName() const { return portName; }
  const std::string& IniPath() const { return iniPath; }
  // Why the last serial line call failed (the system call and its error number), for
  // the log; the messages shown stay the program's own. Empty while nothing has failed.
  const LineError& LastError() const { return lastError; }

 private:
  // The steps of the constructors, each with the program's result convention.
  std::uint8_t FindFreePort();
  std::uint8_t OpenPort(std::uint8_t portNumber);
  std::uint8_t LoadDcb();
  bool MakeIniPath();

  std::uint32_t baudRate = 19200;
  const char* parityName = "even";
  std::uint8_t byteSize = 8;
  std::uint8_t stopBits = 1;
  std::uint8_t portNo = 0;
  std::unique_ptr<SerialLine> hCom;  // null stands for the invalid handle
  const char* portName = "COM1";
  Dcb dcb{};
  Dcb savedDcb{};
  bool savedDcbRead = false;  // savedDcb holds what the port reported, so deletion may put it back
  std::array<bool, 4> portFree{};
  bool failed = true;
  std::string iniPath;
  LineError lastError;
  std::deque<std::uint8_t> unread;  // bytes put back by Unread, returned first

  // Records the line's own cause of its last failure; true, the failure result.
  bool lineFailed();
  // Records a line error word found pending; true, the failure result.
  bool lineErrorsFound(std::uint32_t errors);
};

}  // namespace kolvaro
