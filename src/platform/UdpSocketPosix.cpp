// The UDP socket on POSIX: non-blocking, close-on-exec, bound to an ephemeral port.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/UdpSocket.h"

namespace kolvaro {

namespace {

sockaddr_in toSockaddr(const UdpAddress& address) {
  sockaddr_in in{};
  in.sin_family = AF_INET;
  std::memcpy(&in.sin_addr.s_addr, address.ip.data(), 4);
  in.sin_port = htons(address.port);
  return in;
}

UdpAddress fromSockaddr(const sockaddr_in& in) {
  UdpAddress address;
  std::memcpy(address.ip.data(), &in.sin_addr.s_addr, 4);
  address.port = ntohs(in.sin_port);
  return address;
}

class PosixUdpSocket : public UdpSocket {
 public:
  PosixUdpSocket(int fd, UdpAddress local) : fd_(fd), local_(local) {}
  ~PosixUdpSocket() override { ::close(fd_); }
  PosixUdpSocket(const PosixUdpSocket&) = delete;
  PosixUdpSocket& operator=(const PosixUdpSocket&) = delete;

  bool send(const UdpAddress& to, std::span<const std::uint8_t> bytes) override {
    const sockaddr_in address = toSockaddr(to);
    for (;;) {
      const ssize_t n =
          ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
      if (n >= 0) return static_cast<std::size_t>(n) == bytes.size();
      if (errno != EINTR) return false;
    }
  }

  std::optional<Datagram> receive() override {
    std::uint8_t buffer[1024];
    for (;;) {
      sockaddr_in from{};
      socklen_t length = sizeof from;
      const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
      if (n >= 0) return Datagram{fromSockaddr(from), {buffer, buffer + n}};
      // An earlier datagram's "port unreachable" comes back as an error of this call;
      // it is not a datagram, and what waits behind it is still read.
      if (errno == EINTR || errno == ECONNREFUSED) continue;
      return std::nullopt;
    }
  }

  int readableDescriptor() const override { return fd_; }
  UdpAddress localAddress() const override { return local_; }

 private:
  int fd_;
  UdpAddress local_;
};

}  // namespace

std::optional<UdpAddress> ResolveUdpHost(const std::string& host, std::uint16_t port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (result != 0 || !found) {
    error = ::gai_strerror(result);
    return std::nullopt;
  }
  UdpAddress address = fromSockaddr(*reinterpret_cast<const sockaddr_in*>(found->ai_addr));
  ::freeaddrinfo(found);
  address.port = port;
  return address;
}

std::unique_ptr<UdpSocket> OpenUdpSocket(const UdpAddress& peer, std::string& error) {
  // A probe socket connected to the peer tells the local address the peer is reached
  // from (the endpoint the server is told). The socket used is bound to that address
  // and not connected, so that datagrams from other senders reach the tunnel, which
  // drops them where it can say so, rather than the system silently.
  sockaddr_in local{};
  socklen_t length = sizeof local;
  const sockaddr_in to = toSockaddr(peer);
  const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const bool found = probe >= 0 && ::connect(probe, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
                     ::getsockname(probe, reinterpret_cast<sockaddr*>(&local), &length) == 0;
  if (!found) error = std::strerror(errno);
  if (probe >= 0) ::close(probe);
  if (!found) return nullptr;

  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  local.sin_port = 0;
  length = sizeof local;
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    error = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixUdpSocket>(fd, fromSockaddr(local));
}

}  // namespace kolvaro
