#pragma once
// A simulated IP interface in front of the simulated bus: a KNXnet/IP tunnelling server
// on a UDP port of the loopback address, with one tunnel. It sends the client's
// L_Data.req frames on the bus and answers each with an L_Data.con once the bus has
// acknowledged the frame (or not, after the repetitions); every other frame on the bus
// goes to the client as an L_Data.ind. It acknowledges bus frames for the tunnel's
// address itself, as a real interface does.
//
// Written apart from the program's own tunnel code on purpose: the simulator checks the
// program's datagrams against an independent reading of their layouts.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "sim/Bus.h"

namespace kolvaro::sim {

// What real interfaces do that a client must live with, switchable at any time.
struct TunnelFaults {
  bool negativeConfirmations = false;             // every L_Data.con says "not acknowledged"
  int lostAcks = 0;                               // acks of the client's requests not sent; -1: none ever sent
  std::chrono::milliseconds lateConfirmation{0};  // each L_Data.con this much later
  bool ignoreConnect = false;                     // no answer to a connect request
  bool refuseConnect = false;                     // connect refused: no more connections
  bool ignoreHeartbeat = false;                   // connection-state requests unanswered
  int endAfterRequests = 0;                       // ends the connection after this many L_Data.req (0: never)
  bool repeatedSequence = false;                  // each request to the client is sent twice, same number
  bool outOfOrderSequence = false;                // a copy with a wrong number goes before each request
};

class TunnelServer : public BusStation {
 public:
  static constexpr std::uint16_t DefaultTunnelAddress = 0xFFF0;  // 15.15.240

  TunnelServer(EventQueue& clock, Bus& bus, std::uint16_t tunnelAddress = DefaultTunnelAddress);
  ~TunnelServer() override;
  TunnelServer(const TunnelServer&) = delete;
  TunnelServer& operator=(const TunnelServer&) = delete;

  // Listens on host:port (port 0: a free one); false with the reason otherwise.
  bool open(const std::string& host, std::uint16_t port, std::string& error);
  int descriptor() const { return socket_; }
  std::uint16_t port() const { return port_; }
  // Reads every datagram waiting and answers it.
  void pump();
  // The server ends the connection (a disconnect request to the client).
  void endConnection();
  bool connected() const { return client_.has_value(); }

  TunnelFaults faults;
  // One line for each thing the server does or refuses, for the bus log.
  std::function<void(const std::string&)> onEvent;

  // BusStation
  Ack frameEnded(const Bytes& frame) override;
  void sendDone(bool acknowledged) override;

 private:
  struct Peer {
    std::uint32_t ip = 0;  // network order
    std::uint16_t port = 0;
    bool operator==(const Peer&) const = default;
  };
  struct Client {
    Peer control;
    Peer data;
    std::uint8_t channel = 0;
    std::uint8_t expected = 0;  // the sequence number of the client's next request
    std::uint8_t next = 0;      // the sequence number of our next request
    int requests = 0;           // L_Data.req taken
    Micros lastHeard{0};        // a client silent for ClientTimeout is dropped
  };
  static constexpr Micros ClientTimeout{120'000'000};

  void handle(const Bytes& datagram, const Peer& from);
  void connectRequest(const Bytes& body, const Peer& from);
  void tunnellingRequest(const Bytes& body, const Peer& from);
  void dataRequest(const Bytes& cemi);
  void sendTo(const Peer& to, std::uint16_t service, const Bytes& body);
  void queueToClient(Bytes cemi);
  void sendHead();
  void headTimedOut(unsigned generation, int attempt);
  void dropClient(const std::string& why);
  void event(const std::string& line) const {
    if (onEvent) onEvent(line);
  }

  EventQueue& clock_;
  Bus& bus_;
  std::uint16_t tunnelAddress_;
  int socket_ = -1;
  std::uint32_t ownIp_ = 0;
  std::uint16_t port_ = 0;
  std::optional<Client> client_;
  std::uint8_t nextChannel_ = 1;
  unsigned generation_ = 0;  // a new connection forgets what the old one had queued
  int lostAcksLeft_ = 0;

  std::deque<Bytes> toClient_;  // cEMI messages for the client; the head waits for its ack
  bool headSent_ = false;
  std::deque<Bytes> inFlight_;  // cEMI requests on the bus, in order, for their confirmations
};

}  // namespace kolvaro::sim
