// The Win32 serial line: a COM port opened for overlapped I/O, each byte transfer
// with an event of its own and a wait of at most 1000 ms.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/DcbWin32.h"
#include "platform/HostSerialPorts.h"
#include "platform/SerialLine.h"

namespace kolvaro {
namespace {

constexpr DWORD TransferLimitMs = 1000;

// The event of one transfer: unnamed, manual reset, not signalled at first.
class TransferEvent {
 public:
  TransferEvent() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~TransferEvent() {
    if (handle_) CloseHandle(handle_);
  }
  TransferEvent(const TransferEvent&) = delete;
  TransferEvent& operator=(const TransferEvent&) = delete;

  HANDLE get() const { return handle_; }
  // Resets and closes the event; false when either fails.
  bool finish() {
    bool reset = ResetEvent(handle_) != 0;
    bool closed = CloseHandle(handle_) != 0;
    handle_ = nullptr;
    return reset && closed;
  }

 private:
  HANDLE handle_;
};

class Win32SerialLine final : public SerialLine {
 public:
  explicit Win32SerialLine(HANDLE handle) : handle_(handle) {}
  ~Win32SerialLine() override {
    if (handle_ != INVALID_HANDLE_VALUE) close();
  }
  Win32SerialLine(const Win32SerialLine&) = delete;
  Win32SerialLine& operator=(const Win32SerialLine&) = delete;

  bool getState(Dcb& dcb) override {
    DCB d{};
    d.DCBlength = sizeof d;
    if (!GetCommState(handle_, &d)) return fail("GetCommState", systemError());
    dcb = fromWin32(d);
    return true;
  }

  bool setState(const Dcb& dcb) override {
    DCB d = toWin32(dcb);
    return SetCommState(handle_, &d) != 0 || fail("SetCommState", systemError());
  }

  bool setDtr() override {
    return EscapeCommFunction(handle_, SETDTR) != 0 || fail("EscapeCommFunction", systemError());
  }
  bool setRts() override {
    return EscapeCommFunction(handle_, SETRTS) != 0 || fail("EscapeCommFunction", systemError());
  }

  bool clearError(Status& status) override {
    DWORD errors = 0;
    COMSTAT comStat{};
    if (!ClearCommError(handle_, &errors, &comStat)) return fail("ClearCommError", systemError());
    status.errors = errors;
    status.bytesWaiting = comStat.cbInQue;
    return true;
  }

  bool purge(bool transmit, bool receive) override {
    DWORD flags = (transmit ? PURGE_TXCLEAR : 0) | (receive ? PURGE_RXCLEAR : 0);
    return PurgeComm(handle_, flags) != 0 || fail("PurgeComm", systemError());
  }

  bool writeByte(std::uint8_t byte) override {
    buffer_ = byte;
    return transfer("WriteFile",
                    [&](OVERLAPPED& overlapped) { return WriteFile(handle_, &buffer_, 1, nullptr, &overlapped); });
  }

  bool readByte(std::uint8_t& byte) override {
    if (!transfer("ReadFile",
                  [&](OVERLAPPED& overlapped) { return ReadFile(handle_, &buffer_, 1, nullptr, &overlapped); })) {
      return false;
    }
    byte = buffer_;
    return true;
  }

  bool close() override {
    bool closed = CloseHandle(handle_) != 0 || fail("CloseHandle", systemError());
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  static int systemError() { return static_cast<int>(GetLastError()); }

  template <typename Start>
  bool transfer(const char* call, Start start) {
    TransferEvent event;
    if (!event.get()) return fail("CreateEventA", systemError());
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    if (!start(overlapped)) {
      const int started = systemError();
      if (started != ERROR_IO_PENDING) return fail(call, started);
      const DWORD waited = WaitForSingleObject(event.get(), TransferLimitMs);
      if (waited != WAIT_OBJECT_0) {
        const int code = waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : systemError();
        // The transfer still refers to buffer_, overlapped and the event: cancel it and
        // wait until it has ended before any of them goes away.
        CancelIo(handle_);
        WaitForSingleObject(event.get(), INFINITE);
        return fail("WaitForSingleObject", code);
      }
      DWORD transferred = 0;
      if (!GetOverlappedResult(handle_, &overlapped, &transferred, FALSE))
        return fail("GetOverlappedResult", systemError());
    }
    return event.finish() || fail("ResetEvent/CloseHandle", systemError());
  }

  HANDLE handle_;
  std::uint8_t buffer_ = 0;  // the byte of the transfer in progress
};

class Win32SerialPorts : public SerialPorts {
 public:
  // Windows opens COM1..COM4 by their own names; paths are for systems that need them.
  std::unique_ptr<SerialLine> open(const std::string& portName, const PortPaths&, LineError& failure) override {
    HANDLE handle = CreateFileA(portName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      failure = {"CreateFileA", static_cast<int>(GetLastError())};
      return nullptr;
    }
    return std::make_unique<Win32SerialLine>(handle);
  }
};

}  // namespace

SerialPorts& hostSerialPorts() {
  static Win32SerialPorts ports;
  return ports;
}

}  // namespace kolvaro
