#pragma once
// One UDP socket for the IP tunnel: datagrams out to an address, datagrams in without
// blocking, and a descriptor to wait on. The POSIX backend is UdpSocketPosix.cpp; a
// build without one (UdpSocketNone.cpp) opens nothing and says so.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kolvaro {

struct UdpAddress {
  std::array<std::uint8_t, 4> ip{};  // IPv4, network order
  std::uint16_t port = 0;
  friend bool operator==(const UdpAddress&, const UdpAddress&) = default;
};

struct Datagram {
  UdpAddress from;
  std::vector<std::uint8_t> bytes;
};

class UdpSocket {
 public:
  virtual ~UdpSocket() = default;
  // False when the datagram could not be handed to the system.
  virtual bool send(const UdpAddress& to, std::span<const std::uint8_t> bytes) = 0;
  // The next datagram waiting, or nothing (never blocks).
  virtual std::optional<Datagram> receive() = 0;
  // Becomes readable when a datagram waits; -1 when there is none to wait on.
  virtual int readableDescriptor() const = 0;
  // The address and port this socket is reached at from `peer`'s side.
  virtual UdpAddress localAddress() const = 0;
};

// The IPv4 address of a host name or dotted address; nothing (and why, in `error`) when
// it has none.
std::optional<UdpAddress> ResolveUdpHost(const std::string& host, std::uint16_t port, std::string& error);
// A socket on an ephemeral port of the local address that reaches `peer`; null (and why,
// in `error`) when none could be opened.
std::unique_ptr<UdpSocket> OpenUdpSocket(const UdpAddress& peer, std::string& error);

}  // namespace kolvaro
