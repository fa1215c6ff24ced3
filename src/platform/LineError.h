#pragma once
// Why a serial line operation failed: the system call that failed and the error number
// it left (errno on POSIX, GetLastError on Windows). Kept for the log and for a face
// that wants to say more than the program's own message ("Couldn't open COM1" stays as
// it is): whether the port is missing, busy or not permitted.
#include <string>

namespace kolvaro {

struct LineError {
  enum class Kind { None, Missing, Busy, NotPermitted, TimedOut, Other };

  std::string call;  // the failing call, e.g. "open", "tcsetattr", "CreateFileA"; empty: no failure
  int code = 0;      // its errno or GetLastError value; 0 when the call sets none

  bool failed() const { return !call.empty(); }
  Kind kind() const;
  // "open: Device or resource busy (errno 16)", in the system's own words; empty when nothing failed.
  std::string text() const;
};

const char* toString(LineError::Kind kind);

}  // namespace kolvaro
