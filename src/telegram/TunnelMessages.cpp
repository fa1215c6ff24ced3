#include "telegram/TunnelMessages.h"

#include "platform/Translatable.h"

namespace kolvaro::tunnel {

namespace {

constexpr std::uint8_t HeaderLength = 0x06;
constexpr std::uint8_t ProtocolVersion = 0x10;
constexpr std::size_t HeaderBytes = 6;
constexpr std::uint8_t HpaiLength = 0x08;
constexpr std::uint8_t HpaiUdp = 0x01;
constexpr std::uint8_t TunnelConnection = 0x04;  // connection type of a CRI and a CRD
constexpr std::uint8_t LinkLayer = 0x02;         // tunnel layer of a CRI
constexpr std::uint8_t CriLength = 0x04;
constexpr std::uint8_t CrdLength = 0x04;
constexpr std::uint8_t ConnectionHeaderLength = 0x04;
constexpr std::size_t CemiFixedBytes = 7;  // ctrl1, ctrl2, source, destination, length

std::uint16_t word(std::uint8_t high, std::uint8_t low) { return static_cast<std::uint16_t>(high << 8 | low); }
void putWord(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void putEndpoint(std::vector<std::uint8_t>& out, const Endpoint& endpoint) {
  out.push_back(HpaiLength);
  out.push_back(HpaiUdp);
  for (std::uint8_t byte : endpoint.address) out.push_back(byte);
  putWord(out, endpoint.port);
}

// An endpoint at `at` of the body, when one stands there whole.
std::optional<Endpoint> endpointAt(std::span<const std::uint8_t> body, std::size_t at) {
  if (body.size() < at + HpaiLength || body[at] != HpaiLength || body[at + 1] != HpaiUdp) return std::nullopt;
  Endpoint endpoint;
  for (std::size_t i = 0; i < 4; ++i) endpoint.address[i] = body[at + 2 + i];
  endpoint.port = word(body[at + 6], body[at + 7]);
  return endpoint;
}

constexpr char BadHeader[] = KOLVARO_TRANSLATABLE("Kolvaro", "nagłówek nie jest nagłówkiem KNXnet/IP");
constexpr char BadLength[] = KOLVARO_TRANSLATABLE("Kolvaro", "długość w nagłówku nie zgadza się z datagramem");
constexpr char BadBody[] = KOLVARO_TRANSLATABLE("Kolvaro", "treść nie pasuje do rodzaju datagramu");
constexpr char UnknownService[] = KOLVARO_TRANSLATABLE("Kolvaro", "nieznany rodzaj datagramu");

}  // namespace

std::string EndpointText(const Endpoint& endpoint) {
  std::string text;
  for (std::size_t i = 0; i < 4; ++i) text += (i ? "." : "") + std::to_string(endpoint.address[i]);
  return text + ":" + std::to_string(endpoint.port);
}

std::vector<std::uint8_t> Encode(const Message& m) {
  std::vector<std::uint8_t> out{HeaderLength, ProtocolVersion};
  putWord(out, m.service);
  putWord(out, 0);  // the total length, once known
  switch (m.service) {
    case service_type::ConnectRequest:
      putEndpoint(out, m.control);
      putEndpoint(out, m.data);
      out.insert(out.end(), {CriLength, TunnelConnection, LinkLayer, 0x00});
      break;
    case service_type::ConnectResponse:
      out.insert(out.end(), {m.channel, m.status});
      if (m.status == status::NoError) {
        putEndpoint(out, m.data);
        out.insert(out.end(), {CrdLength, TunnelConnection});
        putWord(out, m.assigned);
      }
      break;
    case service_type::ConnectionStateRequest:
    case service_type::DisconnectRequest:
      out.insert(out.end(), {m.channel, 0x00});
      putEndpoint(out, m.control);
      break;
    case service_type::ConnectionStateResponse:
    case service_type::DisconnectResponse: out.insert(out.end(), {m.channel, m.status}); break;
    case service_type::TunnellingRequest:
      out.insert(out.end(), {ConnectionHeaderLength, m.channel, m.sequence, 0x00});
      out.insert(out.end(), m.cemi.begin(), m.cemi.end());
      break;
    case service_type::TunnellingAck:
      out.insert(out.end(), {ConnectionHeaderLength, m.channel, m.sequence, m.status});
      break;
    default: break;
  }
  out[4] = static_cast<std::uint8_t>(out.size() >> 8);
  out[5] = static_cast<std::uint8_t>(out.size() & 0xFF);
  return out;
}

Decoded Decode(std::span<const std::uint8_t> d) {
  if (d.size() < HeaderBytes || d[0] != HeaderLength || d[1] != ProtocolVersion) return {std::nullopt, BadHeader};
  if (word(d[4], d[5]) != d.size()) return {std::nullopt, BadLength};
  const std::span<const std::uint8_t> body = d.subspan(HeaderBytes);
  Message m;
  m.service = word(d[2], d[3]);
  auto bad = [] { return Decoded{std::nullopt, BadBody}; };
  switch (m.service) {
    case service_type::ConnectRequest: {
      const auto control = endpointAt(body, 0), data = endpointAt(body, HpaiLength);
      const std::size_t cri = 2 * HpaiLength;
      if (!control || !data || body.size() < cri + 2 || body[cri] < 2 || body.size() != cri + body[cri]) return bad();
      m.control = *control;
      m.data = *data;
      break;
    }
    case service_type::ConnectResponse: {
      if (body.size() < 2) return bad();
      m.channel = body[0];
      m.status = body[1];
      if (m.status != status::NoError) break;  // a refusal may carry more; none of it counts
      const auto data = endpointAt(body, 2);
      const std::size_t crd = 2 + HpaiLength;
      if (!data || body.size() < crd + CrdLength || body[crd] < CrdLength || body[crd + 1] != TunnelConnection ||
          body.size() != crd + body[crd])
        return bad();
      m.data = *data;
      m.assigned = word(body[crd + 2], body[crd + 3]);
      break;
    }
    case service_type::ConnectionStateRequest:
    case service_type::DisconnectRequest: {
      const auto control = endpointAt(body, 2);
      if (!control || body.size() != 2 + HpaiLength) return bad();
      m.channel = body[0];
      m.control = *control;
      break;
    }
    case service_type::ConnectionStateResponse:
    case service_type::DisconnectResponse:
      if (body.size() != 2) return bad();
      m.channel = body[0];
      m.status = body[1];
      break;
    case service_type::TunnellingRequest:
    case service_type::TunnellingAck:
      if (body.size() < ConnectionHeaderLength || body[0] != ConnectionHeaderLength) return bad();
      if (m.service == service_type::TunnellingAck && body.size() != ConnectionHeaderLength) return bad();
      if (m.service == service_type::TunnellingRequest && body.size() < ConnectionHeaderLength + 2) return bad();
      m.channel = body[1];
      m.sequence = body[2];
      if (m.service == service_type::TunnellingAck) m.status = body[3];
      m.cemi.assign(body.begin() + ConnectionHeaderLength, body.end());
      break;
    default: return {std::nullopt, UnknownService};
  }
  return {std::move(m), nullptr};
}

std::vector<std::uint8_t> EncodeData(const DataMessage& m) {
  const std::vector<std::uint8_t> bytes = m.frame.bytes();
  const std::uint8_t priority = m.frame.control >> frame_layout::PriorityShift & frame_layout::PriorityMask;
  const auto ctrl1 = static_cast<std::uint8_t>(
      cemi::StandardFrame | ((m.frame.control & frame_layout::RepeatFlag) ? cemi::NotRepeated : 0) |
      cemi::NormalBroadcast | priority << cemi::PriorityShift |
      (m.code == cemi::DataConfirmation && m.negative ? cemi::ConfirmError : 0));
  const auto ctrl2 = static_cast<std::uint8_t>((m.frame.groupDestination ? cemi::GroupDestination : 0) |
                                               (m.frame.hopCount & cemi::HopMask) << cemi::HopShift);
  std::vector<std::uint8_t> out;
  out.reserve(bytes.size() + 3);
  for (std::uint8_t byte : {m.code, std::uint8_t{0x00}, ctrl1, ctrl2}) out.push_back(byte);
  // Source, destination, the length field (its low four bits) and the TPDU, as the frame has them.
  for (std::size_t i = frame_index::SourceHigh; i < bytes.size(); ++i)
    out.push_back(i == frame_index::Routing ? bytes[i] & frame_layout::LengthMask : bytes[i]);
  return out;
}

DecodedData DecodeData(std::span<const std::uint8_t> c) {
  static constexpr char Short[] = KOLVARO_TRANSLATABLE("Kolvaro", "wiadomość cEMI za krótka");
  static constexpr char Code[] = KOLVARO_TRANSLATABLE("Kolvaro", "wiadomość cEMI innego rodzaju niż dane");
  static constexpr char Extended[] = KOLVARO_TRANSLATABLE("Kolvaro", "ramka rozszerzona, nieobsługiwana");
  static constexpr char Length[] = KOLVARO_TRANSLATABLE("Kolvaro", "długość ramki w cEMI nie zgadza się");
  if (c.size() < 2) return {std::nullopt, Short};
  DataMessage m;
  m.code = c[0];
  if (m.code != cemi::DataRequest && m.code != cemi::DataConfirmation && m.code != cemi::DataIndication)
    return {std::nullopt, Code};
  const std::size_t at = 2 + std::size_t{c[1]};  // past the additional information
  if (c.size() < at + CemiFixedBytes + 1) return {std::nullopt, Short};
  const std::uint8_t ctrl1 = c[at], ctrl2 = c[at + 1], length = c[at + 6];
  if (!(ctrl1 & cemi::StandardFrame) || (ctrl2 & 0x0F) != 0 || length > cemi::LongestTpduLength)
    return {std::nullopt, Extended};
  if (c.size() != at + CemiFixedBytes + length + 1) return {std::nullopt, Length};
  m.frame.control = static_cast<std::uint8_t>(frame_layout::StandardValue | (ctrl1 & cemi::NotRepeated) |
                                              (ctrl1 >> cemi::PriorityShift & frame_layout::PriorityMask)
                                                  << frame_layout::PriorityShift);
  m.frame.source = word(c[at + 2], c[at + 3]);
  m.frame.destination = word(c[at + 4], c[at + 5]);
  m.frame.groupDestination = (ctrl2 & cemi::GroupDestination) != 0;
  m.frame.hopCount = ctrl2 >> cemi::HopShift & cemi::HopMask;
  m.frame.payload.assign(c.begin() + static_cast<std::ptrdiff_t>(at + CemiFixedBytes), c.end());
  m.negative = m.code == cemi::DataConfirmation && (ctrl1 & cemi::ConfirmError);
  return {std::move(m), nullptr};
}

CoreText StatusWords(std::uint8_t code) {
  switch (code) {
    case status::NoError: return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "bez błędu"));
    case status::ConnectionId: return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie zna tego kanału"));
    case status::ConnectionType:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie obsługuje połączeń tunelowych"));
    case status::ConnectionOption:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie obsługuje opcji połączenia"));
    case status::NoMoreConnections:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "brak wolnych połączeń na serwerze"));
    case status::DataConnection: return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "błąd połączenia danych"));
    case status::KnxConnection:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie ma połączenia z magistralą"));
    case status::TunnellingLayer:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "serwer nie obsługuje tunelu warstwy łącza"));
    default: break;
  }
  static constexpr char digits[] = "0123456789ABCDEF";
  return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "kod błędu %1"))
      .arg(std::string{'0', 'x', digits[code >> 4], digits[code & 0xF]});
}

}  // namespace kolvaro::tunnel
