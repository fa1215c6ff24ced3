#include "telegram/TunnelClient.h"

#include <algorithm>

#include "platform/Platform.h"
#include "platform/Translatable.h"
#include "telegram/FrameDecoder.h"

namespace kolvaro {

namespace {

using namespace tunnel;
using std::chrono::milliseconds;

constexpr char TransmissionProblem[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił problem podczas transmisji danych");
constexpr std::size_t KeptAnswers = 64;  // answers that came outside a wait; older ones go

tunnel::Endpoint endpointOf(const UdpAddress& address) { return {address.ip, address.port}; }
UdpAddress addressOf(const tunnel::Endpoint& endpoint) { return {endpoint.address, endpoint.port}; }
std::string addressText(const UdpAddress& address) { return EndpointText(endpointOf(address)); }

// Whether a confirmation repeats the request: the server may put in the source, lower
// the hop count or set other control bits, so only destination and TPDU count.
bool confirms(const Frame& confirmation, const Frame& request) {
  return confirmation.destination == request.destination && confirmation.groupDestination == request.groupDestination &&
         confirmation.payload == request.payload;
}

}  // namespace

TunnelClient::TunnelClient(TunnelWait& wait, TunnelTiming timing, SteadyNow now)
    : wait_(wait), timing_(timing), now_(now ? std::move(now) : [] { return Clock::now(); }) {}

TunnelClient::~TunnelClient() { disconnect(); }

void TunnelClient::note(CoreText words, bool outgoing, std::vector<std::uint8_t> bytes, bool forUser) {
  if (!observer_) return;
  ExchangeEvent event;
  event.kind = ExchangeEvent::Kind::Tunnel;
  event.text = words.polish();
  event.words = std::move(words);
  event.bytes = std::move(bytes);
  event.outgoing = outgoing;
  event.ok = !forUser;
  observer_->exchangeEvent(event);
}

void TunnelClient::send(const Message& message, const UdpAddress& to) {
  if (socket_) socket_->send(to, Encode(message));
}

tunnel::Endpoint TunnelClient::ownEndpoint() const {
  return behindTranslation_ || !socket_ ? tunnel::Endpoint{} : endpointOf(socket_->localAddress());
}

CoreText TunnelClient::connect(const std::string& host, std::uint16_t port, bool behindTranslation) {
  std::string error;
  const auto server = ResolveUdpHost(host, port, error);
  if (!server) {
    serverText_ = host + ":" + std::to_string(port);
    return lost_ = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie znaleziono adresu %1 (%2)")).arg(host).arg(error);
  }
  auto socket = OpenUdpSocket(*server, error);
  if (!socket) {
    serverText_ = addressText(*server);
    return lost_ = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie można otworzyć gniazda UDP (%1)")).arg(error);
  }
  return connect(std::move(socket), *server, behindTranslation);
}

CoreText TunnelClient::connect(std::unique_ptr<UdpSocket> socket, const UdpAddress& server, bool behindTranslation) {
  const Inside inside(inside_);
  disconnect();
  socket_ = std::move(socket);
  server_ = dataServer_ = server;
  serverText_ = addressText(server);
  behindTranslation_ = behindTranslation;
  answers_.clear();
  pending_.reset();

  Message request;
  request.service = service_type::ConnectRequest;
  request.control = request.data = ownEndpoint();
  send(request, server_);
  note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "łączenie z %1")).arg(serverText_), true);

  const Clock::time_point deadline = now_() + timing_.connect;
  while (now_() < deadline) {
    while (auto datagram = socket_->receive()) {
      const Decoded decoded = Decode(datagram->bytes);
      if (datagram->from != server_ || !decoded.message || decoded.message->service != service_type::ConnectResponse) {
        note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "datagram pominięty przed połączeniem")), false, datagram->bytes);
        continue;
      }
      const Message& response = *decoded.message;
      if (response.status != status::NoError) {
        lost_ = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer %1 odmówił połączenia: %2"))
                    .arg(serverText_)
                    .arg(StatusWords(response.status));
        note(lost_);
        return lost_;
      }
      connected_ = true;
      lost_ = CoreText();
      channel_ = response.channel;
      assigned_ = response.assigned;
      // A server that gives no data endpoint (0.0.0.0:0) takes tunnelling requests where
      // it answered from.
      if (response.data.port != 0 && response.data.address != std::array<std::uint8_t, 4>{})
        dataServer_ = addressOf(response.data);
      sendSequence_ = receiveSequence_ = 0;
      nextStateRequest_ = now_() + timing_.heartbeat;
      stateAsked_.reset();
      stateUnanswered_ = 0;
      note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "połączono z %1: kanał %2, adres %3"))
               .arg(serverText_)
               .arg(std::int64_t{channel_})
               .arg(PhysicalAddressText(assigned_)));
      return {};
    }
    wait_.wait(socket_->readableDescriptor(),
               std::max(milliseconds(1), std::chrono::ceil<milliseconds>(deadline - now_())));
  }
  lost_ = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer %1 nie odpowiedział na prośbę o połączenie w ciągu %2 s"))
              .arg(serverText_)
              .arg(static_cast<std::int64_t>(timing_.connect.count() / 1000));
  note(lost_);
  return lost_;
}

void TunnelClient::disconnect() {
  const Inside inside(inside_);
  if (!connected_) return;
  settle();
  if (!connected_) return;
  sendChannelRequest(service_type::DisconnectRequest);
  connected_ = false;
  lost_ = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "rozłączono na żądanie programu"));
  note(lost_, true);
  // The response is waited for only briefly: the connection is ours to end either way.
  const Clock::time_point deadline = now_() + timing_.disconnect;
  while (now_() < deadline) {
    while (auto datagram = socket_->receive()) {
      const Decoded decoded = Decode(datagram->bytes);
      if (datagram->from == server_ && decoded.message &&
          decoded.message->service == service_type::DisconnectResponse && decoded.message->channel == channel_)
        return;
    }
    wait_.wait(socket_->readableDescriptor(),
               std::max(milliseconds(1), std::chrono::ceil<milliseconds>(deadline - now_())));
  }
}

void TunnelClient::lose(CoreText why, bool tellServer) {
  if (!connected_) return;
  if (tellServer) {
    sendChannelRequest(service_type::DisconnectRequest);
  }
  connected_ = false;
  pending_.reset();
  lost_ = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "połączenie z %1 zerwane: %2")).arg(serverText_).arg(why);
  note(lost_);
}

// A request about the connection itself: the service, our channel and our control endpoint.
void TunnelClient::sendChannelRequest(std::uint16_t service) {
  Message request;
  request.service = service;
  request.channel = channel_;
  request.control = ownEndpoint();
  send(request, server_);
}

Reply TunnelClient::failed() {
  platform().messageBox(TransmissionProblem, nullptr, mb::IconError | mb::TaskModal);
  return {Outcome::Error, {}};
}

void TunnelClient::waitUntil(Clock::time_point deadline) {
  Clock::time_point until = deadline;
  if (connected_) until = std::min(until, stateAsked_ ? *stateAsked_ + timing_.stateAnswer : nextStateRequest_);
  const auto left = std::chrono::ceil<milliseconds>(until - now_());
  wait_.wait(readableDescriptor(), std::max(milliseconds(1), left));
}

void TunnelClient::keepAlive() {
  if (!connected_) return;
  const Clock::time_point now = now_();
  if (stateAsked_ && now - *stateAsked_ >= timing_.stateAnswer) {
    stateAsked_.reset();
    ++stateUnanswered_;
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "brak odpowiedzi na pytanie o stan połączenia (%1 z %2)"))
             .arg(std::int64_t{stateUnanswered_})
             .arg(std::int64_t{timing_.stateTries}));
    if (stateUnanswered_ >= timing_.stateTries) {
      lose(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie odpowiada na pytania o stan połączenia")), true);
      return;
    }
    nextStateRequest_ = now;  // asked again at once
  }
  if (!stateAsked_ && now >= nextStateRequest_) {
    sendChannelRequest(service_type::ConnectionStateRequest);
    stateAsked_ = now;
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "pytanie o stan połączenia")), true);
  }
}

void TunnelClient::pump() {
  if (!socket_) return;
  while (auto datagram = socket_->receive()) handle(*datagram);
  keepAlive();
}

void TunnelClient::service() {
  if (!inside_) pump();
}

void TunnelClient::handle(const Datagram& datagram) {
  if (datagram.from != server_ && datagram.from != dataServer_) {
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "datagram od innego nadawcy (%1) pominięty"))
             .arg(addressText(datagram.from)),
         false, datagram.bytes);
    return;
  }
  const Decoded decoded = Decode(datagram.bytes);
  if (!decoded.message) {
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "datagram pominięty: %1")).arg(CoreText(decoded.problem)), false,
         datagram.bytes);
    return;
  }
  const Message& message = *decoded.message;
  if (!connected_) return;
  if (message.channel != channel_ && message.service != service_type::ConnectResponse) {
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "datagram dla innego kanału (%1) pominięty"))
             .arg(std::int64_t{message.channel}),
         false, datagram.bytes);
    return;
  }
  switch (message.service) {
    case service_type::TunnellingRequest: handleTunnelling(message, datagram.bytes); break;
    case service_type::TunnellingAck:
      if (message.sequence != sendSequence_) {
        note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "potwierdzenie z numerem %1 zamiast %2 pominięte"))
                 .arg(std::int64_t{message.sequence})
                 .arg(std::int64_t{sendSequence_}));
        break;
      }
      if (message.status != status::NoError) {
        lose(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer odrzucił żądanie: %1")).arg(StatusWords(message.status)),
             true);
        break;
      }
      ackFor_ = message.sequence;
      break;
    case service_type::ConnectionStateResponse:
      stateStatus_ = message.status;
      if (!stateAsked_) break;
      stateAsked_.reset();
      if (message.status != status::NoError) {
        lose(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "stan połączenia: %1")).arg(StatusWords(message.status)), true);
        break;
      }
      stateUnanswered_ = 0;
      nextStateRequest_ = now_() + timing_.heartbeat;
      note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "stan połączenia: %1")).arg(StatusWords(message.status)));
      break;
    case service_type::DisconnectRequest: {
      Message response;
      response.service = service_type::DisconnectResponse;
      response.channel = channel_;
      send(response, server_);
      lose(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer zakończył połączenie")), false);
      break;
    }
    default:
      note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "datagram nieoczekiwany w połączeniu pominięty")), false,
           datagram.bytes);
      break;
  }
}

void TunnelClient::handleTunnelling(const Message& message, const std::vector<std::uint8_t>& raw) {
  auto acknowledge = [&] {
    Message ack;
    ack.service = service_type::TunnellingAck;
    ack.channel = channel_;
    ack.sequence = message.sequence;
    send(ack, dataServer_);
  };
  if (message.sequence == static_cast<std::uint8_t>(receiveSequence_ - 1)) {
    // A repetition whose ack was lost: acknowledged again, taken once only.
    acknowledge();
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "powtórzone żądanie nr %1: potwierdzone ponownie, pominięte"))
             .arg(std::int64_t{message.sequence}),
         false, raw);
    return;
  }
  if (message.sequence != receiveSequence_) {
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "żądanie nr %1 poza kolejnością (oczekiwano %2) pominięte"))
             .arg(std::int64_t{message.sequence})
             .arg(std::int64_t{receiveSequence_}),
         false, raw);
    return;
  }
  acknowledge();
  ++receiveSequence_;
  const DecodedData data = DecodeData(message.cemi);
  if (!data.message) {
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "wiadomość cEMI pominięta: %1")).arg(CoreText(data.problem)), false,
         raw);
    return;
  }
  handleData(*data.message);
}

FrameJudgement TunnelClient::judge(const Frame& frame) const {
  if (!frame.individuallyTo(assigned_)) return FrameJudgement::OtherDestination;
  if (frame.service() != wanted_.service) return FrameJudgement::WrongService;
  if (wanted_.from && frame.source != *wanted_.from) return FrameJudgement::OtherSource;
  return FrameJudgement::Accepted;
}

void TunnelClient::handleData(const DataMessage& data) {
  const std::vector<std::uint8_t> bytes = data.frame.bytesWithChecksum();
  if (data.code == cemi::DataConfirmation) {
    const bool ours = pending_ && !pending_->positive && confirms(data.frame, pending_->frame);
    note(CoreText(data.negative ? KOLVARO_TRANSLATABLE("Kolvaro", "L_Data.con negatywne: ramka niepotwierdzona")
                                : KOLVARO_TRANSLATABLE("Kolvaro", "L_Data.con pozytywne: ramka potwierdzona")) +
             CoreText(ours ? "" : KOLVARO_TRANSLATABLE("Kolvaro", " (nie do bieżącej ramki)")),
         false, bytes);
    if (ours) pending_->positive = !data.negative;
    return;
  }
  if (data.code != cemi::DataIndication) return;
  const FrameJudgement judgement = judge(data.frame);
  if (observer_) {
    ExchangeEvent event;
    event.kind = ExchangeEvent::Kind::FramePassedOn;
    event.bytes = bytes;
    event.judgement = judgement;
    observer_->exchangeEvent(event);
  }
  if (judgement != FrameJudgement::Accepted) return;
  answers_.push_back(data.frame);
  if (answers_.size() > KeptAnswers) answers_.pop_front();
}

bool TunnelClient::sendTunnelled(const Frame& frame) {
  Message request;
  request.service = service_type::TunnellingRequest;
  request.channel = channel_;
  request.sequence = sendSequence_;
  request.cemi = EncodeData({cemi::DataRequest, frame, false});
  for (int attempt = 1; attempt <= 2 && connected_; ++attempt) {
    ackFor_.reset();
    send(request, dataServer_);
    note(CoreText(attempt == 1 ? KOLVARO_TRANSLATABLE("Kolvaro", "L_Data.req nr %1")
                               : KOLVARO_TRANSLATABLE("Kolvaro", "L_Data.req nr %1 powtórzone: brak potwierdzenia"))
             .arg(std::int64_t{request.sequence}),
         true, frame.bytesWithChecksum());
    const Clock::time_point deadline = now_() + timing_.ack;
    for (;;) {
      pump();
      if (!connected_) return false;
      if (ackFor_ == request.sequence) {
        ++sendSequence_;
        return true;
      }
      if (now_() >= deadline) break;
      waitUntil(deadline);
    }
  }
  lose(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie potwierdził żądania ani jego powtórzenia")), true);
  return false;
}

void TunnelClient::settle() {
  const Inside inside(inside_);
  while (connected_ && pending_ && !pending_->positive) {
    const Clock::time_point deadline = pending_->sentAt + timing_.confirmation;
    if (now_() >= deadline) {
      note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "brak L_Data.con w ciągu %1 ms"))
               .arg(static_cast<std::int64_t>(timing_.confirmation.count())));
      pending_.reset();
      break;
    }
    pump();
    if (!pending_ || pending_->positive) break;
    waitUntil(deadline);
  }
}

Reply TunnelClient::request(const Request& request) {
  const Inside inside(inside_);
  if (!connected_) return failed();
  wanted_ =
      request.awaited == Awaited::Answer || request.awaited == Awaited::FurtherAnswer ? request.answer : AnswerWanted{};
  if (request.awaited == Awaited::Answer && request.frame.individuallyTo(assigned_)) {
    // The tunnel's own address: the server holds it for us, so it is taken, though no
    // device can answer from it.
    note(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "adres %1 jest zajęty: serwer %2 przydzielił go temu tunelowi"))
             .arg(PhysicalAddressText(assigned_))
             .arg(serverText_),
         false, {}, true);
    return {Outcome::Answered, {}};
  }
  if (request.awaited != Awaited::FurtherAnswer) {
    // One request at a time: the one before is confirmed (or given up) first.
    settle();
    if (!connected_) return failed();
    answers_.clear();
    Frame frame = request.frame;
    frame.source = 0;  // the server puts in the tunnel's address
    // Pending from the first send on: the confirmation may come before the ack.
    pending_ = Pending{frame, now_(), std::nullopt};
    if (!sendTunnelled(frame)) return failed();
  }
  // The wait runs from the frame handed over, not from a wait for the one before.
  const Clock::time_point start = now_();
  if (request.awaited == Awaited::Nothing) return {Outcome::NoReply, {}};

  if (request.awaited == Awaited::Confirmation) {
    const Clock::time_point deadline = pending_->sentAt + timing_.confirmation;
    for (;;) {
      pump();
      if (!connected_) return failed();
      if (pending_ && pending_->positive) {
        const bool positive = *pending_->positive;
        pending_.reset();
        return {positive ? Outcome::Acknowledged : Outcome::NoReply, {}};
      }
      if (!pending_ || now_() >= deadline) {
        settle();
        return {Outcome::NoReply, {}};
      }
      waitUntil(deadline);
    }
  }

  const bool limited = request.waitTicks > 0;
  const Clock::time_point deadline = start + request.waitTicks * timing_.tick;
  for (;;) {
    pump();
    if (!connected_) return failed();
    if (!answers_.empty()) {
      Reply reply{Outcome::Answered, {answers_.front()}};
      answers_.pop_front();
      return reply;
    }
    if (limited && now_() >= deadline) return {Outcome::NoReply, {}};
    waitUntil(limited ? deadline : now_() + timing_.tick);
  }
}

ChipState TunnelClient::testInterface() {
  const Inside inside(inside_);
  ChipState state;
  TunnelState& tunnel = state.tunnel.emplace();
  tunnel.server = serverText_;
  if (connected_) pump();
  tunnel.connected = connected_;
  tunnel.lost = lost_;
  if (!connected_) return state;
  tunnel.channel = channel_;
  tunnel.address = assigned_;
  // A connection-state request of its own, answered or not within its time.
  const Clock::time_point start = now_();
  stateStatus_.reset();
  nextStateRequest_ = start;
  stateAsked_.reset();
  const int unansweredBefore = stateUnanswered_;
  keepAlive();
  while (connected_ && !stateStatus_ && stateUnanswered_ == unansweredBefore) {
    waitUntil(start + timing_.stateAnswer);
    pump();
  }
  tunnel.stateStatus = stateStatus_;
  tunnel.answerTime = std::chrono::duration_cast<milliseconds>(now_() - start);
  state.answered = stateStatus_.has_value() && *stateStatus_ == status::NoError;
  tunnel.connected = connected_;
  if (!connected_) tunnel.lost = lost_;
  return state;
}

}  // namespace kolvaro
