#include "sim/TunnelServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kolvaro::sim {

namespace {

// Datagram layout: 06 10, service (2), total length (2), body.
constexpr std::size_t Header = 6;
constexpr std::uint16_t ConnectReq = 0x0205, ConnectRes = 0x0206, StateReq = 0x0207, StateRes = 0x0208,
                        DisconnectReq = 0x0209, DisconnectRes = 0x020A, TunnelReq = 0x0420, TunnelAck = 0x0421;
constexpr std::uint8_t NoMoreConnections = 0x24, WrongChannel = 0x21;
constexpr std::uint8_t LDataReq = 0x11, LDataCon = 0x2E, LDataInd = 0x29;
constexpr auto AckWait = std::chrono::milliseconds(1000);

std::uint16_t be16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]); }
void put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}

// Byte by byte: GCC 12 at -O3 sees a vector's insert after a short brace-initialised
// one as out of bounds (a false warning, an error here).
template <typename It>
void append(Bytes& to, It first, It last) {
  for (; first != last; ++first) to.push_back(*first);
}

std::string hex(std::uint8_t v) {
  static const char d[] = "0123456789ABCDEF";
  return {d[v >> 4], d[v & 15]};
}

}  // namespace

TunnelServer::TunnelServer(EventQueue& clock, Bus& bus, std::uint16_t tunnelAddress)
    : clock_(clock), bus_(bus), tunnelAddress_(tunnelAddress) {
  bus_.attach(this);
}

TunnelServer::~TunnelServer() {
  bus_.detach(this);
  if (socket_ >= 0) ::close(socket_);
}

bool TunnelServer::open(const std::string& host, std::uint16_t port, std::string& error) {
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(port);
  if (::inet_pton(AF_INET, host.c_str(), &at.sin_addr) != 1) {
    error = "not an IPv4 address: " + host;
    return false;
  }
  socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  socklen_t length = sizeof at;
  if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
      ::getsockname(socket_, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
    error = std::string("tunnel server on ") + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return false;
  }
  ownIp_ = at.sin_addr.s_addr;
  port_ = ntohs(at.sin_port);
  return true;
}

void TunnelServer::pump() {
  for (;;) {
    std::uint8_t buffer[600];
    sockaddr_in from{};
    socklen_t length = sizeof from;
    const ssize_t n = ::recvfrom(socket_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
    if (n < 0) {
      if (errno == EINTR || errno == ECONNREFUSED) continue;
      return;
    }
    handle(Bytes(buffer, buffer + n), Peer{from.sin_addr.s_addr, ntohs(from.sin_port)});
  }
}

void TunnelServer::sendTo(const Peer& to, std::uint16_t service, const Bytes& body) {
  Bytes datagram{0x06, 0x10};
  put16(datagram, service);
  put16(datagram, static_cast<std::uint16_t>(Header + body.size()));
  append(datagram, body.begin(), body.end());
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = to.ip;
  address.sin_port = htons(to.port);
  [[maybe_unused]] const ssize_t n = ::sendto(socket_, datagram.data(), datagram.size(), 0,
                                              reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

void TunnelServer::handle(const Bytes& d, const Peer& from) {
  if (d.size() < Header || d[0] != 0x06 || d[1] != 0x10 || be16(d, 4) != d.size()) {
    event("tunnel: malformed datagram dropped");
    return;
  }
  const Bytes body(d.begin() + Header, d.end());
  const std::uint16_t service = be16(d, 2);
  if (client_ && (from == client_->control || from == client_->data)) client_->lastHeard = clock_.now();
  // An endpoint of 0.0.0.0:0 means "where the datagram came from".
  auto endpoint = [&](std::size_t at) {
    Peer p{0, 0};
    std::memcpy(&p.ip, &body[at + 2], 4);
    p.port = be16(body, at + 6);
    return p.ip == 0 && p.port == 0 ? from : p;
  };
  switch (service) {
    case ConnectReq: connectRequest(body, from); return;
    case TunnelReq: tunnellingRequest(body, from); return;
    case TunnelAck: {
      if (body.size() != 4 || !client_ || body[1] != client_->channel) return;
      if (!headSent_ || body[2] != client_->next) return;  // not for the request now out
      headSent_ = false;
      const Bytes sent = toClient_.front();
      toClient_.pop_front();
      if (faults.repeatedSequence) {
        // The same request again, its ack taken as lost: the client must drop it.
        Bytes again{0x04, client_->channel, client_->next, 0x00};
        append(again, sent.begin(), sent.end());
        sendTo(client_->data, TunnelReq, again);
        event("tunnel: request " + std::to_string(client_->next) + " sent again");
      }
      ++client_->next;
      sendHead();
      return;
    }
    case StateReq:
    case DisconnectReq: {
      if (body.size() != 10) return;
      const bool ours = client_ && body[0] == client_->channel;
      if (service == StateReq) {
        if (faults.ignoreHeartbeat) {
          event("tunnel: connection-state request left unanswered");
          return;
        }
        sendTo(endpoint(2), StateRes, {body[0], ours ? std::uint8_t{0} : WrongChannel});
        event("tunnel: connection state asked");
        return;
      }
      sendTo(endpoint(2), DisconnectRes, {body[0], ours ? std::uint8_t{0} : WrongChannel});
      if (ours) {
        client_.reset();
        ++generation_;
        toClient_.clear();
        headSent_ = false;
        event("tunnel: disconnected by the client");
      }
      return;
    }
    case DisconnectRes: return;
    default:
      event("tunnel: service " + hex(static_cast<std::uint8_t>(service >> 8)) +
            hex(static_cast<std::uint8_t>(service)) + " ignored");
      return;
  }
}

void TunnelServer::connectRequest(const Bytes& body, const Peer& from) {
  if (body.size() < 20 || body[0] != 8 || body[8] != 8 || body[16] != 4 || body[17] != 0x04 || body[18] != 0x02) {
    event("tunnel: connect request not for a link-layer tunnel dropped");
    return;
  }
  if (faults.ignoreConnect) {
    event("tunnel: connect request left unanswered");
    return;
  }
  auto endpoint = [&](std::size_t at) {
    Peer p{0, 0};
    std::memcpy(&p.ip, &body[at + 2], 4);
    p.port = be16(body, at + 6);
    return p.ip == 0 && p.port == 0 ? from : p;
  };
  const Peer control = endpoint(0);
  // A client gone without a word holds the one tunnel only until it has been silent too long.
  if (client_ && clock_.now() - client_->lastHeard > ClientTimeout) dropClient("the client was silent for 120 s");
  if (faults.refuseConnect || client_) {
    sendTo(control, ConnectRes, {0x00, NoMoreConnections});
    event("tunnel: connect refused, no more connections");
    return;
  }
  Client client;
  client.control = control;
  client.data = endpoint(8);
  client.channel = nextChannel_++;
  client.lastHeard = clock_.now();
  client_ = client;
  ++generation_;
  toClient_.clear();
  headSent_ = false;
  inFlight_.clear();
  lostAcksLeft_ = faults.lostAcks;
  Bytes response{client.channel, 0x00, 0x08, 0x01};
  for (int i = 0; i < 4; ++i) response.push_back(reinterpret_cast<const std::uint8_t*>(&ownIp_)[i]);
  put16(response, port_);
  response.push_back(0x04);
  response.push_back(0x04);
  put16(response, tunnelAddress_);
  sendTo(control, ConnectRes, response);
  event("tunnel: connected, channel " + std::to_string(client.channel) + ", address " + physicalText(tunnelAddress_));
}

void TunnelServer::tunnellingRequest(const Bytes& body, const Peer& from) {
  (void)from;
  if (body.size() < 6 || body[0] != 4 || !client_ || body[1] != client_->channel) {
    event("tunnel: tunnelling request for no connection dropped");
    return;
  }
  const std::uint8_t sequence = body[2];
  auto ack = [&] {
    if (lostAcksLeft_ != 0) {
      if (lostAcksLeft_ > 0) --lostAcksLeft_;
      event("tunnel: ack of request " + std::to_string(sequence) + " lost");
      return;
    }
    sendTo(client_->data, TunnelAck, {0x04, client_->channel, sequence, 0x00});
  };
  if (sequence == static_cast<std::uint8_t>(client_->expected - 1)) {
    ack();
    event("tunnel: request " + std::to_string(sequence) + " repeated, acknowledged again");
    return;
  }
  if (sequence != client_->expected) {
    event("tunnel: request " + std::to_string(sequence) + " out of order dropped");
    return;
  }
  ack();
  ++client_->expected;
  dataRequest(Bytes(body.begin() + 4, body.end()));
}

void TunnelServer::dataRequest(const Bytes& c) {
  // cEMI: code, info length, info, ctrl1, ctrl2, source, destination, length, TPDU.
  if (c.size() < 2 || c[0] != LDataReq || c.size() < 2u + c[1] + 8u) {
    event("tunnel: not an L_Data.req, dropped");
    return;
  }
  const std::size_t at = 2 + c[1];
  const std::uint8_t ctrl1 = c[at], ctrl2 = c[at + 1], length = c[at + 6];
  if (length > 15 || c.size() != at + 7 + length + 1u) {
    event("tunnel: L_Data.req with a wrong length dropped");
    return;
  }
  // The bus frame: control 10R1PP00 (sent as a first transmission), routing from ctrl2.
  Bytes frame{static_cast<std::uint8_t>(0x90 | RepeatFlag | (ctrl1 & 0x0C))};
  const std::uint16_t source = be16(c, at + 2) == 0 ? tunnelAddress_ : be16(c, at + 2);
  put16(frame, source);
  frame.push_back(c[at + 4]);
  frame.push_back(c[at + 5]);
  frame.push_back(static_cast<std::uint8_t>((ctrl2 & 0xF0) | length));
  append(frame, c.begin() + static_cast<std::ptrdiff_t>(at + 7), c.end());
  Bytes confirmation = c;
  confirmation[0] = LDataCon;
  confirmation[at + 2] = static_cast<std::uint8_t>(source >> 8);
  confirmation[at + 3] = static_cast<std::uint8_t>(source);
  inFlight_.push_back(std::move(confirmation));
  bus_.send(this, withChecksum(std::move(frame)));
  ++client_->requests;
}

void TunnelServer::sendDone(bool acknowledged) {
  if (inFlight_.empty()) return;
  Bytes confirmation = std::move(inFlight_.front());
  inFlight_.pop_front();
  const std::size_t at = 2 + confirmation[1];
  const bool positive = acknowledged && !faults.negativeConfirmations;
  if (positive)
    confirmation[at] = static_cast<std::uint8_t>(confirmation[at] & ~0x01);
  else
    confirmation[at] = static_cast<std::uint8_t>(confirmation[at] | 0x01);
  const unsigned generation = generation_;
  auto confirm = [this, generation, positive, confirmation] {
    if (!client_ || generation != generation_) return;
    event(std::string("tunnel: L_Data.con ") + (positive ? "positive" : "negative"));
    queueToClient(confirmation);
    if (faults.endAfterRequests > 0 && client_->requests >= faults.endAfterRequests) endConnection();
  };
  if (faults.lateConfirmation.count() > 0)
    clock_.after(faults.lateConfirmation, confirm);
  else
    confirm();
}

Ack TunnelServer::frameEnded(const Bytes& frame) {
  if (frame.size() < HeaderSize + 2 || !checksumOk(frame)) return Ack::None;
  if (client_) {
    // The frame as an L_Data.ind: ctrl1 from the control byte, ctrl2 from the routing byte.
    Bytes cemi{LDataInd, 0x00, static_cast<std::uint8_t>(0x90 | (frame[0] & (RepeatFlag | 0x0C))),
               static_cast<std::uint8_t>(frame[5] & 0xF0)};
    append(cemi, frame.begin() + 1, frame.begin() + 5);
    cemi.push_back(static_cast<std::uint8_t>(frame[5] & 0x0F));
    append(cemi, frame.begin() + 6, frame.end() - 1);
    queueToClient(std::move(cemi));
  }
  return !isGroupFrame(frame) && destinationOf(frame) == tunnelAddress_ ? Ack::Ack : Ack::None;
}

void TunnelServer::queueToClient(Bytes cemi) {
  toClient_.push_back(std::move(cemi));
  sendHead();
}

void TunnelServer::sendHead() {
  if (!client_ || headSent_ || toClient_.empty()) return;
  headSent_ = true;
  Bytes body{0x04, client_->channel, client_->next, 0x00};
  append(body, toClient_.front().begin(), toClient_.front().end());
  if (faults.outOfOrderSequence) {
    Bytes stray = body;
    stray[2] = static_cast<std::uint8_t>(client_->next + 5);
    sendTo(client_->data, TunnelReq, stray);
    event("tunnel: request with number " + std::to_string(stray[2]) + " sent out of order");
  }
  sendTo(client_->data, TunnelReq, body);
  const unsigned generation = generation_;
  const std::uint8_t sequence = client_->next;
  clock_.after(AckWait, [this, generation, sequence] {
    if (client_ && generation == generation_ && headSent_ && client_->next == sequence) headTimedOut(generation, 1);
  });
}

void TunnelServer::headTimedOut(unsigned generation, int attempt) {
  if (attempt >= 2) {
    dropClient("the client did not acknowledge a request");
    return;
  }
  Bytes body{0x04, client_->channel, client_->next, 0x00};
  append(body, toClient_.front().begin(), toClient_.front().end());
  sendTo(client_->data, TunnelReq, body);
  event("tunnel: request " + std::to_string(client_->next) + " repeated");
  const std::uint8_t sequence = client_->next;
  clock_.after(AckWait, [this, generation, sequence] {
    if (client_ && generation == generation_ && headSent_ && client_->next == sequence) headTimedOut(generation, 2);
  });
}

void TunnelServer::endConnection() { dropClient("the server ends the connection"); }

void TunnelServer::dropClient(const std::string& why) {
  if (!client_) return;
  Bytes body{client_->channel, 0x00, 0x08, 0x01};
  for (int i = 0; i < 4; ++i) body.push_back(reinterpret_cast<const std::uint8_t*>(&ownIp_)[i]);
  put16(body, port_);
  sendTo(client_->control, DisconnectReq, body);
  client_.reset();
  ++generation_;
  toClient_.clear();
  headSent_ = false;
  event("tunnel: disconnect request sent: " + why);
}

}  // namespace kolvaro::sim
