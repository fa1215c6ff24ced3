#pragma once
// The IP tunnel's side of the request seam: a tunnelling connection to a KNXnet/IP
// server over UDP. A request's frame goes out as an L_Data.req; the server's
// L_Data.con says whether it was acknowledged on the bus, and its L_Data.ind are the
// frames from the bus, among them the answers. Each tunnelling request is acknowledged
// within a second or repeated once; the connection is kept with a connection-state
// request every minute. A frame that would go to the tunnel's own address is answered
// at once: that address is taken. A connection that is gone ends a request with Outcome::Error
// and the transmission-failure box, as a serial line that will not take a text does.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "platform/CoreText.h"
#include "platform/UdpSocket.h"
#include "telegram/BusRequests.h"
#include "telegram/ExchangeEvents.h"
#include "telegram/InterfaceTest.h"
#include "telegram/TunnelMessages.h"

namespace kolvaro {

// How the tunnel waits for datagrams while its owner's events go on (the window's event
// loop, or plain blocking in kolvaro-cli).
class TunnelWait {
 public:
  virtual ~TunnelWait() = default;
  // Returns once the descriptor is readable or `atMost` has passed; may return earlier
  // (the owner had events of its own).
  virtual void wait(int readableDescriptor, std::chrono::milliseconds atMost) = 0;
};

// The protocol's times; tests shorten them.
struct TunnelTiming {
  std::chrono::milliseconds connect{10000};      // for the connect response
  std::chrono::milliseconds ack{1000};           // for a tunnelling ack, before the one repeat
  std::chrono::milliseconds confirmation{3000};  // for a request's L_Data.con
  std::chrono::milliseconds heartbeat{60000};    // between connection-state requests
  std::chrono::milliseconds stateAnswer{10000};  // for a connection-state response
  int stateTries = 3;                            // unanswered ones before the connection is gone
  std::chrono::milliseconds tick{1000};          // a request's wait tick
  std::chrono::milliseconds disconnect{1000};    // for the disconnect response on close
};

class TunnelClient : public BusRequests {
 public:
  explicit TunnelClient(TunnelWait& wait, TunnelTiming timing = {}, SteadyNow now = {});
  ~TunnelClient() override;
  TunnelClient(const TunnelClient&) = delete;
  TunnelClient& operator=(const TunnelClient&) = delete;

  // Connects to the server at host:port; empty words when connected, else why not.
  // behindTranslation: tell the server 0.0.0.0:0, so that it answers where our
  // datagrams come from (a client behind address translation).
  CoreText connect(const std::string& host, std::uint16_t port, bool behindTranslation = false);
  CoreText connect(std::unique_ptr<UdpSocket> socket, const UdpAddress& server, bool behindTranslation = false);
  // Sends the disconnect request (after the last request's confirmation) and waits a
  // moment for its response.
  void disconnect();

  bool connected() const { return connected_; }
  std::uint16_t assignedAddress() const { return assigned_; }
  std::uint8_t channel() const { return channel_; }
  std::string serverText() const { return serverText_; }
  const CoreText& lostReason() const { return lost_; }
  int readableDescriptor() const { return socket_ ? socket_->readableDescriptor() : -1; }

  // For an owner with nothing to ask: handles the datagrams waiting (acknowledging the
  // server's requests) and keeps the connection, without waiting.
  void service();
  // Waits until the last request's confirmation came or its time is over.
  void settle();

  Reply request(const Request& request) override;
  ChipState testInterface() override;

  void setObserver(ExchangeObserver* observer) { observer_ = observer; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Pending {
    Frame frame;
    Clock::time_point sentAt;
    std::optional<bool> positive;  // the confirmation, once it came
  };

  bool sendTunnelled(const Frame& frame);
  void pump();
  void handle(const Datagram& datagram);
  void handleTunnelling(const tunnel::Message& message, const std::vector<std::uint8_t>& raw);
  void handleData(const tunnel::DataMessage& data);
  void keepAlive();
  void waitUntil(Clock::time_point deadline);
  void lose(CoreText why, bool tellServer);
  Reply failed();
  void send(const tunnel::Message& message, const UdpAddress& to);
  void sendChannelRequest(std::uint16_t service);
  // forUser: a row a face without the log shows as well.
  void note(CoreText words, bool outgoing = false, std::vector<std::uint8_t> bytes = {}, bool forUser = false);
  FrameJudgement judge(const Frame& frame) const;
  tunnel::Endpoint ownEndpoint() const;

  TunnelWait& wait_;
  TunnelTiming timing_;
  SteadyNow now_;
  ExchangeObserver* observer_ = nullptr;

  std::unique_ptr<UdpSocket> socket_;
  UdpAddress server_;      // the control endpoint
  UdpAddress dataServer_;  // where tunnelling requests go
  std::string serverText_;
  bool behindTranslation_ = false;
  bool connected_ = false;
  CoreText lost_;
  std::uint8_t channel_ = 0;
  std::uint16_t assigned_ = 0;
  std::uint8_t sendSequence_ = 0;
  std::uint8_t receiveSequence_ = 0;
  std::optional<std::uint8_t> ackFor_;  // the sequence number whose ack came

  Clock::time_point nextStateRequest_{};
  std::optional<Clock::time_point> stateAsked_;  // an unanswered connection-state request
  int stateUnanswered_ = 0;
  std::optional<std::uint8_t> stateStatus_;  // the last connection-state answer

  // Set while a call waits: the owner's events run meanwhile, and an idle service
  // they ask for must not read the socket under the waiting call.
  struct Inside {
    explicit Inside(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Inside() { flag_ = was_; }
    bool& flag_;
    bool was_;
  };
  bool inside_ = false;

  std::optional<Pending> pending_;
  AnswerWanted wanted_{};      // what the current (or last) wait takes as an answer
  std::deque<Frame> answers_;  // answers that came and are not taken yet
};

}  // namespace kolvaro
