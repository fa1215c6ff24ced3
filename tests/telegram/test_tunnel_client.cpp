// The tunnel client against a scripted server on a fake socket and a fake clock: bad
// datagrams dropped with a row that says why and never taken as an answer; the
// connection given up after unanswered connection-state requests or the server's
// disconnect, with the transmission-failure box and Outcome::Error.
#include <gtest/gtest.h>

#include <deque>

#include "support/RecordingPlatform.h"
#include "telegram/TunnelClient.h"

namespace kolvaro {
namespace {

using namespace std::chrono_literals;
using namespace tunnel;

const UdpAddress Server{{127, 0, 0, 1}, 3671};
const UdpAddress Stranger{{127, 0, 0, 2}, 3671};
constexpr std::uint8_t Channel = 7;
constexpr std::uint16_t Assigned = 0x11FA;

// The server's side: answers connects and acks requests; the test queues the rest.
struct FakeServer : UdpSocket, TunnelWait {
  bool send(const UdpAddress&, std::span<const std::uint8_t> bytes) override {
    const Message m = *Decode(bytes).message;
    sent.push_back(m);
    if (m.service == service_type::ConnectRequest)
      queue(Message{service_type::ConnectResponse, Channel, 0, 0, {}, {Server.ip, Server.port}, Assigned, {}});
    if (m.service == service_type::TunnellingRequest)
      queue(Message{service_type::TunnellingAck, Channel, 0, m.sequence, {}, {}, 0, {}});
    if (m.service == service_type::ConnectionStateRequest && answerState)
      queue(Message{service_type::ConnectionStateResponse, Channel, 0, 0, {}, {}, 0, {}});
    return true;
  }
  std::optional<Datagram> receive() override {
    if (inbox.empty()) return std::nullopt;
    Datagram d = inbox.front();
    inbox.pop_front();
    return d;
  }
  int readableDescriptor() const override { return -1; }
  UdpAddress localAddress() const override { return {{127, 0, 0, 1}, 50000}; }
  void wait(int, std::chrono::milliseconds atMost) override { now += atMost; }

  void queue(const Message& m, UdpAddress from = Server) { inbox.push_back({from, Encode(m)}); }
  std::size_t count(std::uint16_t service) const {
    return static_cast<std::size_t>(
        std::count_if(sent.begin(), sent.end(), [&](auto& m) { return m.service == service; }));
  }

  std::deque<Datagram> inbox;
  std::vector<Message> sent;
  bool answerState = true;
  std::chrono::steady_clock::time_point now{};
};

struct Rows : ExchangeObserver {
  void exchangeEvent(const ExchangeEvent& e) override {
    if (e.kind == ExchangeEvent::Kind::Tunnel) text += e.text + "\n";
  }
  std::string text;
};

// A memory response from 1.1.5 to the tunnel: the answer the request below waits for.
std::vector<std::uint8_t> answerIndication() {
  return EncodeData(
      {cemi::DataIndication, Frame{0xBC, 0x1105, Assigned, false, 6, {0x42, 0x41, 0x00, 0x20, 0x05}}, false});
}
const AnswerWanted Wanted{service::MemoryResponse, 0x1105};

struct Rig {
  Rig(TunnelTiming timing = {}) : client(server, timing, [this] { return server.now; }) {
    client.setObserver(&rows);
    auto socket = std::make_unique<Forward>(server);
    EXPECT_TRUE(client.connect(std::move(socket), Server).empty());
  }
  // The socket the client owns, passing everything to the rig's server.
  struct Forward : UdpSocket {
    explicit Forward(FakeServer& s) : s_(s) {}
    bool send(const UdpAddress& to, std::span<const std::uint8_t> b) override { return s_.send(to, b); }
    std::optional<Datagram> receive() override { return s_.receive(); }
    int readableDescriptor() const override { return -1; }
    UdpAddress localAddress() const override { return s_.localAddress(); }
    FakeServer& s_;
  };
  test::RecordingPlatform platform;
  ScopedPlatform installed{platform};
  FakeServer server;
  Rows rows;
  TunnelClient client;
};

struct BadDatagram {
  const char* name;
  std::vector<std::uint8_t> bytes;
  UdpAddress from;
  const char* row;
  bool acknowledged;  // a well-formed request in sequence is acknowledged, whatever it carries
};

TEST(TunnelClient, BadDatagramsAreDroppedWithARowAndNeverTaken) {
  const Message good{service_type::TunnellingRequest, Channel, 0, 0, {}, {}, 0, answerIndication()};
  Message otherChannel = good, outOfOrder = good;
  otherChannel.channel = 8;
  outOfOrder.sequence = 5;
  std::vector<std::uint8_t> shortLength = Encode(good), cutCemi = Encode(good);
  shortLength[5] -= 1;
  cutCemi.pop_back();
  cutCemi[5] -= 1;
  const BadDatagram cases[] = {
      {"another sender", Encode(good), Stranger, "datagram od innego nadawcy (127.0.0.2:3671) pominięty", false},
      {"header length", shortLength, Server, "długość w nagłówku nie zgadza się z datagramem", false},
      {"another channel", Encode(otherChannel), Server, "datagram dla innego kanału (8) pominięty", false},
      {"out of order", Encode(outOfOrder), Server, "żądanie nr 5 poza kolejnością (oczekiwano 0) pominięte", false},
      {"cEMI length", cutCemi, Server, "wiadomość cEMI pominięta: długość ramki w cEMI nie zgadza się", true},
  };
  for (const BadDatagram& c : cases) {
    Rig rig;
    rig.server.inbox.push_back({c.from, c.bytes});
    const Reply reply = rig.client.request(Request::furtherAnswer(Wanted));
    EXPECT_EQ(reply.outcome, Outcome::NoReply) << c.name;
    EXPECT_NE(rig.rows.text.find(c.row), std::string::npos) << c.name << "\n" << rig.rows.text;
    EXPECT_TRUE(rig.client.connected()) << c.name;
    EXPECT_EQ(rig.server.count(service_type::TunnellingAck), c.acknowledged ? 1u : 0u) << c.name;
    // The good one after it is taken, and a repetition of it is acknowledged again and dropped.
    Message next = good;
    next.sequence = c.acknowledged ? 1 : 0;
    rig.server.queue(next);
    EXPECT_EQ(rig.client.request(Request::furtherAnswer(Wanted)).outcome, Outcome::Answered) << c.name;
    rig.server.queue(next);
    EXPECT_EQ(rig.client.request(Request::furtherAnswer(Wanted)).outcome, Outcome::NoReply) << c.name;
    EXPECT_EQ(rig.server.count(service_type::TunnellingAck), c.acknowledged ? 3u : 2u) << c.name;
  }
}

TEST(TunnelClient, UnansweredStateRequestsAndTheServersDisconnectEndTheConnection) {
  const TunnelTiming fast{10s, 1s, 3s, 60s, 10s, 3, 1s, 1s};
  Rig silent(fast);
  silent.server.answerState = false;
  const Reply listened = silent.client.request(Request{Frame{}, Awaited::FurtherAnswer, Wanted, 0});
  EXPECT_EQ(listened.outcome, Outcome::Error);
  EXPECT_EQ(silent.server.count(service_type::ConnectionStateRequest), 3u);
  EXPECT_EQ(silent.server.count(service_type::DisconnectRequest), 1u);
  EXPECT_GE(silent.server.now - std::chrono::steady_clock::time_point{}, 60s + 30s);
  ASSERT_EQ(silent.platform.boxes.size(), 1u);
  EXPECT_EQ(silent.platform.boxes[0].text, "Wystąpił problem podczas transmisji danych");

  Rig ended(fast);
  ended.server.queue(Message{service_type::DisconnectRequest, Channel, 0, 0, {Server.ip, Server.port}, {}, 0, {}});
  EXPECT_EQ(ended.client.request(Request::confirmed(GroupValueWriteFrame(0, {0, 2}, true))).outcome, Outcome::Error);
  EXPECT_EQ(ended.server.count(service_type::DisconnectResponse), 1u);  // answered, not asked again
  EXPECT_EQ(ended.server.count(service_type::DisconnectRequest), 0u);
  EXPECT_NE(ended.rows.text.find("serwer zakończył połączenie"), std::string::npos) << ended.rows.text;
  EXPECT_EQ(ended.platform.boxes.size(), 1u);
}

}  // namespace
}  // namespace kolvaro
