#include "cli/ProgressLine.h"

#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kolvaro::cli {

namespace {
constexpr int Width = 40;
}

bool ProgressLine::standardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

void ProgressLine::draw(int position, int maximum) {
  if (!enabled_ || maximum <= 0 || (shown_ && position == lastPosition_)) return;
  lastPosition_ = position;
  const int filled = position * Width / maximum;
  const std::string bar = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                          std::string(static_cast<std::size_t>(Width - filled), '.') + "] " +
                          std::to_string(position * 100 / maximum) + "%";
  std::fputs(bar.c_str(), stderr);
  std::fflush(stderr);
  shown_ = true;
}

void ProgressLine::interrupt() {
  if (!shown_) return;
  std::fputc('\n', stderr);
  shown_ = false;
}

}  // namespace kolvaro::cli
