// Builds without a UDP backend: no tunnel can be opened, and the reason says so.
#include "platform/UdpSocket.h"

namespace kolvaro {

std::optional<UdpAddress> ResolveUdpHost(const std::string&, std::uint16_t, std::string& error) {
  error = "UDP is not available in this build";
  return std::nullopt;
}

std::unique_ptr<UdpSocket> OpenUdpSocket(const UdpAddress&, std::string& error) {
  error = "UDP is not available in this build";
  return nullptr;
}

}  // namespace kolvaro
