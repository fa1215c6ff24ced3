#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kolvaro {

bool replaceFileAtomically(const std::string& path, const std::string& content, std::string* why) {
  const std::string temporary = path + ".tmp";
  auto failed = [why](const char* step, int code) {
    if (why) *why = std::string(step) + ": " + std::generic_category().message(code);
    return false;
  };
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return failed("plik tymczasowy", errno);
  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size() && std::fflush(file) == 0;
  // Flushed to the disk before the rename, so the new name never points at missing data.
#ifdef _WIN32
  written = written && _commit(_fileno(file)) == 0;
#else
  written = written && fsync(fileno(file)) == 0;
#endif
  const int writeError = errno;
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return written ? failed("zmiana nazwy", error.value()) : failed("zapis", writeError);
  }
  return true;
}

}  // namespace kolvaro
