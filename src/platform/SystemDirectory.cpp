#include "platform/SystemDirectory.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kolvaro {

#ifdef _WIN32

std::optional<std::string> hostSystemDirectory() {
  char buffer[1000];
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::nullopt;
  return std::string(buffer, length);
}

std::string pathInDirectory(const std::string& directory, const std::string& fileName) {
  return directory + "\\" + fileName;
}

#else

std::optional<std::string> hostSystemDirectory() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return std::string(config) + "/kolvaro";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.config/kolvaro";
  return std::nullopt;
}

std::string pathInDirectory(const std::string& directory, const std::string& fileName) {
  return directory + "/" + fileName;
}

#endif

}  // namespace kolvaro
