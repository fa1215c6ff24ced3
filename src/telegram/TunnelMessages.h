#pragma once
// The messages of an IP tunnel to the bus, as values: the datagrams a tunnelling client
// and its server exchange over UDP (KNXnet/IP core and tunnelling services), and the
// cEMI data messages they carry. Encoding and decoding only; no socket, no clock.
//
//   every datagram   06 10, service type (2), total length (2), then the body
//   HPAI             08 01, IPv4 address (4), port (2)           (an endpoint)
//   CRI / CRD        04 04 02 00 (link-layer tunnel) / 04 04 HH LL (the address assigned)
//   tunnelling       04 channel sequence status, then one cEMI message
//   cEMI data        code, additional-info length (+ info), ctrl1, ctrl2, source (2),
//                    destination (2), length, TPDU (length + 1 bytes)
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/CoreText.h"
#include "telegram/Frame.h"

namespace kolvaro::tunnel {

inline constexpr std::uint16_t DefaultPort = 3671;

// Service types of the datagrams.
namespace service_type {
inline constexpr std::uint16_t ConnectRequest = 0x0205;
inline constexpr std::uint16_t ConnectResponse = 0x0206;
inline constexpr std::uint16_t ConnectionStateRequest = 0x0207;
inline constexpr std::uint16_t ConnectionStateResponse = 0x0208;
inline constexpr std::uint16_t DisconnectRequest = 0x0209;
inline constexpr std::uint16_t DisconnectResponse = 0x020A;
inline constexpr std::uint16_t TunnellingRequest = 0x0420;
inline constexpr std::uint16_t TunnellingAck = 0x0421;
}  // namespace service_type

// Status codes of responses and acknowledgements.
namespace status {
inline constexpr std::uint8_t NoError = 0x00;
inline constexpr std::uint8_t ConnectionId = 0x21;       // no connection with this channel
inline constexpr std::uint8_t ConnectionType = 0x22;     // the server has no such connection
inline constexpr std::uint8_t ConnectionOption = 0x23;   // an option of the request is not supported
inline constexpr std::uint8_t NoMoreConnections = 0x24;  // every channel is taken
inline constexpr std::uint8_t DataConnection = 0x26;     // the data endpoint's connection failed
inline constexpr std::uint8_t KnxConnection = 0x27;      // the server lost its bus
inline constexpr std::uint8_t TunnellingLayer = 0x29;    // the tunnel layer asked for is not supported
}  // namespace status

// cEMI message codes of the data service.
namespace cemi {
inline constexpr std::uint8_t DataRequest = 0x11;       // client to server: send this frame
inline constexpr std::uint8_t DataConfirmation = 0x2E;  // the outcome of a request
inline constexpr std::uint8_t DataIndication = 0x29;    // a frame from the bus
// ctrl1
inline constexpr std::uint8_t StandardFrame = 0x80;
inline constexpr std::uint8_t NotRepeated = 0x20;  // as the bus frame's repeat flag: 1 = first transmission
inline constexpr std::uint8_t NormalBroadcast = 0x10;
inline constexpr unsigned PriorityShift = 2;
inline constexpr std::uint8_t ConfirmError = 0x01;  // in a confirmation: 1 = negative
// ctrl2
inline constexpr std::uint8_t GroupDestination = 0x80;
inline constexpr unsigned HopShift = 4;
inline constexpr std::uint8_t HopMask = 0x07;
inline constexpr std::uint8_t LongestTpduLength = 15;  // a standard frame's length field
}  // namespace cemi

// An IPv4 endpoint (a host protocol address information, HPAI): 0.0.0.0:0 asks the
// server to answer where the datagram came from.
struct Endpoint {
  std::array<std::uint8_t, 4> address{};
  std::uint16_t port = 0;
  friend bool operator==(const Endpoint&, const Endpoint&) = default;
};
std::string EndpointText(const Endpoint& endpoint);  // "127.0.0.1:3671"

// One datagram. Which members count depends on the service type:
//   ConnectRequest           control, data
//   ConnectResponse          channel, status; with status 0: data, assigned
//   ConnectionState/DisconnectRequest   channel, control
//   ConnectionState/DisconnectResponse  channel, status
//   TunnellingRequest        channel, sequence, cemi
//   TunnellingAck            channel, sequence, status
struct Message {
  std::uint16_t service = 0;
  std::uint8_t channel = 0;
  std::uint8_t status = status::NoError;
  std::uint8_t sequence = 0;
  Endpoint control;
  Endpoint data;
  std::uint16_t assigned = 0;  // the individual address the server gave the tunnel
  std::vector<std::uint8_t> cemi;
  friend bool operator==(const Message&, const Message&) = default;
};

std::vector<std::uint8_t> Encode(const Message& message);

// A datagram read back: the message, or why it was dropped (in words, for the log).
struct Decoded {
  std::optional<Message> message;
  const char* problem = nullptr;
};
Decoded Decode(std::span<const std::uint8_t> datagram);

// A cEMI data message: its code, the bus frame it carries, and for a confirmation
// whether it was negative.
struct DataMessage {
  std::uint8_t code = cemi::DataRequest;
  Frame frame;
  bool negative = false;
  friend bool operator==(const DataMessage&, const DataMessage&) = default;
};
std::vector<std::uint8_t> EncodeData(const DataMessage& message);
struct DecodedData {
  std::optional<DataMessage> message;
  const char* problem = nullptr;
};
DecodedData DecodeData(std::span<const std::uint8_t> cemi);

// A status code in words ("brak wolnych połączeń"), for the user.
CoreText StatusWords(std::uint8_t status);

}  // namespace kolvaro::tunnel
