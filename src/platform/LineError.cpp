#include "platform/LineError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#endif

namespace kolvaro {

LineError::Kind LineError::kind() const {
  if (!failed()) return Kind::None;
#ifdef _WIN32
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return Kind::Missing;
    case ERROR_ACCESS_DENIED:  // what CreateFileA says of a COM port another program holds
    case ERROR_SHARING_VIOLATION: return Kind::Busy;
    case WAIT_TIMEOUT:
    case ERROR_TIMEOUT: return Kind::TimedOut;
    default: return Kind::Other;
  }
#else
  switch (code) {
    case ENOENT:
    case ENODEV:
    case ENXIO: return Kind::Missing;
    case EBUSY:
    case EWOULDBLOCK:  // the lock another instance holds
      return Kind::Busy;
    case EACCES:
    case EPERM: return Kind::NotPermitted;
    case ETIMEDOUT: return Kind::TimedOut;
    default: return Kind::Other;
  }
#endif
}

std::string LineError::text() const {
  if (!failed()) return {};
#ifdef _WIN32
  char words[256] = "";
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(code), 0, words, sizeof words, nullptr);
  std::string said(words, length);
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == '.')) said.pop_back();
  return call + ": " + said + " (error " + std::to_string(code) + ")";
#else
  return call + ": " + (code ? std::strerror(code) : "failed") + " (errno " + std::to_string(code) + ")";
#endif
}

const char* toString(LineError::Kind kind) {
  switch (kind) {
    case LineError::Kind::None: return "none";
    case LineError::Kind::Missing: return "missing";
    case LineError::Kind::Busy: return "busy";
    case LineError::Kind::NotPermitted: return "not permitted";
    case LineError::Kind::TimedOut: return "timed out";
    case LineError::Kind::Other: return "other";
  }
  return "?";
}

}  // namespace kolvaro
