#pragma once
// kolvaro-cli's connection through an IP interface: the tunnel client, waiting by
// blocking on its socket (there is no window to keep alive). The device session
// reaches the bus through client().
#include <optional>
#include <string>

#include "platform/CoreText.h"
#include "telegram/TunnelClient.h"

namespace kolvaro::cli {

// "HOST" or "HOST:PORT" (the port 3671 unless given); nothing for a bad port.
struct TunnelTarget {
  std::string host;
  std::uint16_t port = tunnel::DefaultPort;
};
std::optional<TunnelTarget> ParseTunnelTarget(const std::string& text);

class TunnelConnection : public TunnelWait {
 public:
  TunnelConnection() : client_(*this) {}
  // Empty words when connected, else why not.
  CoreText open(const TunnelTarget& target) { return client_.connect(target.host, target.port); }
  TunnelClient& client() { return client_; }

  void wait(int readableDescriptor, std::chrono::milliseconds atMost) override;

 private:
  TunnelClient client_;
};

}  // namespace kolvaro::cli
