#include "telegram/InterfaceTest.h"

#include "link/Comport.h"
#include "telegram/FrameDecoder.h"
#include "telegram/TunnelMessages.h"

namespace kolvaro {

namespace {

constexpr std::uint8_t StateRequest = 0x02;
constexpr std::uint8_t StateIndicationMask = 0x07;  // xxxxx111: a state indication
constexpr std::uint8_t StateIndicationBits = 0x07;

struct StateBit {
  std::uint8_t bit;
  const char* words;
};
constexpr StateBit StateBits[] = {
    {0x80, KOLVARO_TRANSLATABLE("Kolvaro", "kolizja przy nadawaniu (slave collision)")},
    {0x40, KOLVARO_TRANSLATABLE("Kolvaro", "błąd odbioru (suma kontrolna, parzystość lub bit)")},
    {0x20, KOLVARO_TRANSLATABLE("Kolvaro", "błąd nadawania")},
    {0x10, KOLVARO_TRANSLATABLE("Kolvaro", "błąd protokołu")},
    {0x08, KOLVARO_TRANSLATABLE("Kolvaro", "ostrzeżenie o temperaturze")},
};

void report(ExchangeObserver* observer, ExchangeEvent::Kind kind, std::vector<std::uint8_t> bytes, bool ok = true) {
  if (!observer) return;
  ExchangeEvent event;
  event.kind = kind;
  event.bytes = std::move(bytes);
  event.attempt = 1;
  event.ok = ok;
  observer->exchangeEvent(event);
}

}  // namespace

std::vector<std::string> ChipStateProblems(std::uint8_t indication) {
  std::vector<std::string> problems;
  for (const StateBit& bit : StateBits) {
    if (indication & bit.bit) problems.emplace_back(bit.words);
  }
  return problems;
}

ChipState TestInterface(ExchangeHost& host, ExchangeObserver* observer, std::chrono::milliseconds deadline,
                        SteadyNow now) {
  if (!now) now = [] { return std::chrono::steady_clock::now(); };
  ChipState state;
  ComPort* port = host.port();
  if (!port || port->IsFailed()) return state;

  port->PurgeBuffers('R');  // an old byte must not pass for the answer
  const bool written = !port->WriteByte(&StateRequest);
  report(observer, ExchangeEvent::Kind::TextWritten, {StateRequest}, written);
  if (!written) return state;

  const auto start = now();
  std::vector<std::uint8_t> other;
  for (;;) {
    ComPort* line = host.port();
    const std::int32_t value = line ? line->ReadByte() : ComPort::ReadError;
    if (value <= 255) {
      const auto byte = static_cast<std::uint8_t>(value);
      if ((byte & StateIndicationMask) == StateIndicationBits) {
        if (!other.empty()) report(observer, ExchangeEvent::Kind::ChipByte, other);
        report(observer, ExchangeEvent::Kind::ChipByte, {byte});
        state.answered = true;
        state.indication = byte;
        state.answerTime = std::chrono::duration_cast<std::chrono::milliseconds>(now() - start);
        state.problems = ChipStateProblems(byte);
        return state;
      }
      other.push_back(byte);
      continue;
    }
    if (now() - start >= deadline) break;
    // Polled, not blocked on the descriptor: the deadline is shorter than the owner's
    // timer tick, and nothing else would wake a wait on a silent line in time.
    host.waitForActivity(-1);
  }
  if (!other.empty()) report(observer, ExchangeEvent::Kind::ChipByte, other);
  return state;
}

namespace {

CoreText TunnelTestReport(const TunnelState& tunnel) {
  if (!tunnel.connected) {
    return CoreText(KOLVARO_TRANSLATABLE("Kolvaro",
                                         "Brak połączenia z interfejsem KNXnet/IP %1: %2.\n"
                                         "Sprawdź: adres i port interfejsu, czy jest włączony i osiągalny w sieci, "
                                         "oraz czy nie obsługuje już innych połączeń."))
        .arg(tunnel.server)
        .arg(tunnel.lost);
  }
  const CoreText connection =
      CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Interfejs KNXnet/IP %1: kanał %2, przydzielony adres %3. "))
          .arg(tunnel.server)
          .arg(std::int64_t{tunnel.channel})
          .arg(PhysicalAddressText(tunnel.address));
  if (!tunnel.stateStatus) {
    return connection +
           CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Serwer nie odpowiedział na pytanie o stan połączenia."));
  }
  return connection + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Stan połączenia po %1 ms: %2."))
                          .arg(static_cast<std::int64_t>(tunnel.answerTime.count()))
                          .arg(tunnel::StatusWords(*tunnel.stateStatus));
}

}  // namespace

CoreText InterfaceTestReport(const ChipState& state, const std::string& portName, const std::string& portPath) {
  if (state.tunnel) return TunnelTestReport(*state.tunnel);
  const std::string where = portPath.empty() ? portName : portName + " (" + portPath + ")";
  if (!state.answered) {
    return CoreText(
               KOLVARO_TRANSLATABLE("Kolvaro",
                                    "Żaden układ interfejsu nie odpowiedział na porcie %1 w ciągu %2 ms.\n"
                                    "Sprawdź: czy wybrano właściwy port, kabel, zasilanie interfejsu i magistrali, "
                                    "oraz czy port nie jest zajęty przez inny program."))
        .arg(where)
        .arg(static_cast<std::int64_t>(InterfaceTestDeadline.count()));
  }
  static constexpr char digits[] = "0123456789ABCDEF";
  const std::string hex{digits[state.indication >> 4], digits[state.indication & 0xF]};
  const CoreText answered =
      CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Układ interfejsu na porcie %1 odpowiedział po %2 ms, stan %3: "))
          .arg(where)
          .arg(static_cast<std::int64_t>(state.answerTime.count()))
          .arg(hex);
  CoreText problems;
  for (const StateBit& bit : StateBits) {
    if (!(state.indication & bit.bit)) continue;
    problems = problems.empty() ? CoreText(bit.words) : problems + CoreText(", ") + CoreText(bit.words);
  }
  if (problems.empty()) return answered + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "bez błędów."));
  return answered + problems + CoreText(".");
}

}  // namespace kolvaro
