#include "cli/TunnelConnection.h"

#include <charconv>

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#endif

namespace kolvaro::cli {

std::optional<TunnelTarget> ParseTunnelTarget(const std::string& text) {
  TunnelTarget target;
  const auto colon = text.rfind(':');
  target.host = text.substr(0, colon);
  if (target.host.empty()) return std::nullopt;
  if (colon == std::string::npos) return target;
  const std::string port = text.substr(colon + 1);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
  if (port.empty() || error != std::errc() || end != port.data() + port.size() || value == 0 || value > 65535)
    return std::nullopt;
  target.port = static_cast<std::uint16_t>(value);
  return target;
}

void TunnelConnection::wait(int readableDescriptor, std::chrono::milliseconds atMost) {
#ifdef _WIN32
  (void)readableDescriptor;
  Sleep(static_cast<DWORD>(std::min<std::int64_t>(atMost.count(), 10)));
#else
  pollfd p{readableDescriptor, POLLIN, 0};
  ::poll(readableDescriptor >= 0 ? &p : nullptr, readableDescriptor >= 0 ? 1 : 0, static_cast<int>(atMost.count()));
#endif
}

}  // namespace kolvaro::cli
