#include "telegram/TelegramLog.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/Translatable.h"
#include "telegram/FrameDecoder.h"

namespace kolvaro {

namespace {

// Marked for the window's translation of the column headers; the text and CSV exports
// keep them as they are.
constexpr const char* ColumnTitles[LogColumnCount] = {
    KOLVARO_TRANSLATABLE("Kolvaro", "czas"),      KOLVARO_TRANSLATABLE("Kolvaro", "ms od początku"),
    KOLVARO_TRANSLATABLE("Kolvaro", "kierunek"),  KOLVARO_TRANSLATABLE("Kolvaro", "zdarzenie"),
    KOLVARO_TRANSLATABLE("Kolvaro", "źródło"),    KOLVARO_TRANSLATABLE("Kolvaro", "cel"),
    KOLVARO_TRANSLATABLE("Kolvaro", "priorytet"), KOLVARO_TRANSLATABLE("Kolvaro", "powtórzenie"),
    KOLVARO_TRANSLATABLE("Kolvaro", "licznik"),   KOLVARO_TRANSLATABLE("Kolvaro", "usługa"),
    KOLVARO_TRANSLATABLE("Kolvaro", "dane"),      KOLVARO_TRANSLATABLE("Kolvaro", "suma kontrolna"),
    KOLVARO_TRANSLATABLE("Kolvaro", "bajty"),     KOLVARO_TRANSLATABLE("Kolvaro", "operacja"),
};

CoreText confirmationWords(std::uint8_t byte) {
  return CoreText(byte == 0x8B ? KOLVARO_TRANSLATABLE("Kolvaro", "potwierdzenie pozytywne (8B)")
                               : KOLVARO_TRANSLATABLE("Kolvaro", "potwierdzenie negatywne (0B)"));
}

std::string cellText(const LogRow& row, int column, const CoreText::Translate& translate) {
  return translate ? LogCellWords(row, column).render(translate) : LogCell(row, column);
}

// An event's words, or its text shown as it is.
CoreText wordsOf(const ExchangeEvent& event) { return event.words.empty() ? CoreText::plain(event.text) : event.words; }

// A column's Polish and its words, set together.
void setWords(std::string& cell, CoreText& words, CoreText text) {
  cell = text.polish();
  words = std::move(text);
}

std::string wallText(std::int64_t wallMs) {
  const std::time_t seconds = static_cast<std::time_t>(wallMs / 1000);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(wallMs % 1000));
  return text;
}

std::string csvField(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

const char* LogColumnTitle(int column) { return column >= 0 && column < LogColumnCount ? ColumnTitles[column] : ""; }

std::string LogCell(const LogRow& row, int column) {
  switch (column) {
    case 0: return wallText(row.wallMs);
    case 1: return row.sinceStartMs < 0 ? std::string() : std::to_string(row.sinceStartMs);
    case 2: return row.direction;
    case 3: return row.event;
    case 4: return row.source;
    case 5: return row.destination;
    case 6: return row.priority;
    case 7: return row.repeat;
    case 8: return row.hops;
    case 9: return row.service;
    case 10: return row.data;
    case 11: return row.checksum;
    case 12: return row.raw;
    case 13: return row.operation ? std::to_string(row.operation) : std::string();
    default: return {};
  }
}

CoreText LogCellWords(const LogRow& row, int column) {
  const CoreText* words = nullptr;
  switch (column) {
    case 3: words = &row.eventWords; break;
    case 6: words = &row.priorityWords; break;
    case 7: words = &row.repeatWords; break;
    case 9: words = &row.serviceWords; break;
    case 10: words = &row.dataWords; break;
    case 11: words = &row.checksumWords; break;
    default: break;
  }
  return words && !words->empty() ? *words : CoreText::plain(LogCell(row, column));
}

TelegramLog::TelegramLog(std::size_t capacity)
    : capacity_(capacity ? capacity : 1),
      wall_([] { return std::chrono::system_clock::now(); }),
      steady_([] { return std::chrono::steady_clock::now(); }) {}

void TelegramLog::setClocks(WallClock wall, SteadyClock steady) {
  wall_ = std::move(wall);
  steady_ = std::move(steady);
}

void TelegramLog::setCapacity(std::size_t capacity) {
  capacity_ = capacity ? capacity : 1;
  if (rows_.size() <= capacity_) return;
  const std::size_t excess = rows_.size() - capacity_;
  dropFront(excess);
  dropped_ += excess;
  if (onDropped) onDropped(excess);
}

void TelegramLog::clear() {
  dropFront(rows_.size());
  dropped_ = 0;
  if (onCleared) onCleared();
}

void TelegramLog::dropFront(std::size_t count) {
  std::size_t extras = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (rows_[i].extra != NoExtra) ++extras;
  }
  rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(count));
  extras_.erase(extras_.begin(), extras_.begin() + static_cast<std::ptrdiff_t>(extras));
  extrasDropped_ += extras;
}

namespace {

void fillFrameColumns(LogRow& row, const std::vector<std::uint8_t>& bytes) {
  row.raw = HexBytes(bytes);
  const DecodedFrame frame = DecodeFrame(bytes);
  if (!frame.isFrame) return;
  row.source = PhysicalAddressText(frame.source);
  row.destination = DestinationText(frame);
  setWords(row.priority, row.priorityWords, CoreText(PriorityText(frame.priority)));
  setWords(row.repeat, row.repeatWords,
           CoreText(frame.repeated ? KOLVARO_TRANSLATABLE("Kolvaro", "tak") : KOLVARO_TRANSLATABLE("Kolvaro", "nie")));
  row.hops = std::to_string(frame.hopCount);
  setWords(row.service, row.serviceWords, ServiceWords(frame));
  setWords(row.data, row.dataWords, DataWords(frame));
  CoreText checksum(ChecksumText(frame.checksum));
  if (frame.length == LengthVerdict::OverLong)
    checksum = checksum + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", za długa"));
  if (frame.length == LengthVerdict::Truncated)
    checksum = checksum + CoreText(KOLVARO_TRANSLATABLE("Kolvaro", ", niepełna"));
  setWords(row.checksum, row.checksumWords, std::move(checksum));
}

}  // namespace

// The row's columns, from the event's values: `words` is the event's own text (titles,
// outcomes, notes, results), `bytes` what it carried.
LogRow TelegramLog::row(std::size_t index) const {
  using Kind = ExchangeEvent::Kind;
  const Kept& kept = rows_[index];
  const Extra* extra = kept.extra == NoExtra ? nullptr : &extras_[kept.extra - extrasDropped_];
  const std::vector<std::uint8_t> bytes =
      extra && !extra->bytes.empty() ? extra->bytes
                                     : std::vector<std::uint8_t>(kept.bytes.begin(), kept.bytes.begin() + kept.length);
  static const CoreText none;
  const CoreText& words = extra ? extra->words : none;
  LogRow row;
  row.wallMs = kept.wallMs;
  row.sinceStartMs = kept.sinceStartMs;
  row.operation = kept.operation;
  switch (kept.kind) {
    case Kind::OperationStarted:
      row.kind = LogRow::Kind::Operation;
      setWords(row.event, row.eventWords, CoreText("▶ %1").arg(words));
      break;
    case Kind::OperationEnded:
      row.kind = LogRow::Kind::Outcome;
      setWords(row.event, row.eventWords, CoreText("■ %1").arg(words));
      break;
    case Kind::Note:
      row.kind = LogRow::Kind::Note;
      setWords(row.event, row.eventWords, words);
      break;
    case Kind::TextWritten:
      row.kind = LogRow::Kind::Written;
      row.direction = "→";
      setWords(row.event, row.eventWords,
               CoreText(kept.ok ? KOLVARO_TRANSLATABLE("Kolvaro", "tekst do układu, próba %1")
                                : KOLVARO_TRANSLATABLE("Kolvaro", "tekst do układu, próba %1: nie zapisano"))
                   .arg(std::int64_t{kept.attempt}));
      fillFrameColumns(row, bytes);
      break;
    case Kind::FramePassedOn:
      row.kind = LogRow::Kind::Frame;
      row.direction = "←";
      setWords(row.event, row.eventWords,
               CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "ramka: %1")).arg(CoreText(JudgementText(kept.judgement))));
      fillFrameColumns(row, bytes);
      break;
    case Kind::Confirmation:
      row.kind = LogRow::Kind::Confirmation;
      row.direction = "←";
      setWords(row.event, row.eventWords, confirmationWords(bytes.empty() ? 0 : bytes[0]));
      row.raw = HexBytes(bytes);
      break;
    case Kind::ChipByte:
      row.kind = LogRow::Kind::ChipByte;
      row.direction = "←";
      if (DecodeFrame(bytes).isFrame) {
        row.kind = LogRow::Kind::Frame;
        setWords(row.event, row.eventWords, CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "ramka pominięta przez odbiór")));
        fillFrameColumns(row, bytes);
      } else {
        setWords(row.event, row.eventWords,
                 CoreText(bytes.size() == 1 ? KOLVARO_TRANSLATABLE("Kolvaro", "bajt od układu")
                                            : KOLVARO_TRANSLATABLE("Kolvaro", "bajty od układu")));
        row.raw = HexBytes(bytes);
      }
      break;
    case Kind::AcknowledgeSent:
      row.kind = LogRow::Kind::Acknowledge;
      row.direction = "→";
      setWords(row.event, row.eventWords,
               CoreText(kept.ok ? KOLVARO_TRANSLATABLE("Kolvaro", "potwierdzenie odbioru wysłane")
                                : KOLVARO_TRANSLATABLE("Kolvaro", "potwierdzenie odbioru: nie zapisano")));
      row.raw = HexBytes(bytes);
      break;
    case Kind::Tunnel:
      row.kind = LogRow::Kind::Tunnel;
      row.direction = kept.outgoing ? "→" : "←";
      setWords(row.event, row.eventWords, words);
      if (DecodeFrame(bytes).isFrame)
        fillFrameColumns(row, bytes);
      else
        row.raw = HexBytes(bytes);
      break;
    case Kind::Result:
      row.kind = LogRow::Kind::Result;
      setWords(row.event, row.eventWords, CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "wynik: %1")).arg(words));
      break;
  }
  return row;
}

void TelegramLog::exchangeEvent(const ExchangeEvent& event) {
  using Kind = ExchangeEvent::Kind;
  Kept kept;
  kept.kind = event.kind;
  kept.judgement = event.judgement;
  kept.ok = event.ok;
  kept.outgoing = event.outgoing;
  kept.attempt = static_cast<std::int32_t>(event.attempt);
  CoreText words;
  switch (event.kind) {
    case Kind::OperationStarted:
      operation_ = ++operationCount_;
      addressAnswers_.clear();
      operationStart_ = steady_();
      words = wordsOf(event);
      break;
    case Kind::OperationEnded:
      if (addressAnswers_.size() > 1) noteAddressAnswers();
      words = wordsOf(event);
      break;
    case Kind::Note:
    case Kind::Result: words = wordsOf(event); break;
    case Kind::FramePassedOn:
      if (event.judgement == FrameJudgement::Accepted) {
        const DecodedFrame frame = DecodeFrame(event.bytes);
        if (frame.isFrame && frame.service == FrameService::IndividualAddressResponse) {
          addressAnswers_.push_back(frame.source);
        }
      }
      break;
    case Kind::TextWritten:
    case Kind::Confirmation:
    case Kind::ChipByte:
    case Kind::AcknowledgeSent: break;
    case Kind::Tunnel: words = wordsOf(event); break;
  }
  if (operation_) {
    kept.operation = operation_;
    kept.sinceStartMs = std::chrono::duration_cast<std::chrono::milliseconds>(steady_() - operationStart_).count();
  }
  kept.wallMs = std::chrono::duration_cast<std::chrono::milliseconds>(wall_().time_since_epoch()).count();
  append(kept, std::move(words), event.bytes);
  if (event.kind == Kind::OperationEnded) operation_ = 0;
}

void TelegramLog::noteAddressAnswers() {
  std::string addresses;
  for (std::size_t i = 0; i < addressAnswers_.size(); ++i) {
    addresses += (i ? ", " : " ") + PhysicalAddressText(addressAnswers_[i]);
  }
  const auto count = static_cast<std::int64_t>(addressAnswers_.size());
  addressAnswers_.clear();
  ReportNote(this, CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "odpowiedzi urządzeń w trybie programowania (%1):%2"))
                       .arg(count)
                       .arg(addresses));
}

void TelegramLog::append(Kept kept, CoreText words, const std::vector<std::uint8_t>& bytes) {
  const bool longBytes = bytes.size() > InlineBytes;
  if (!longBytes) {
    kept.length = static_cast<std::uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), kept.bytes.begin());
  }
  const bool hasWords = kept.kind == ExchangeEvent::Kind::OperationStarted ||
                        kept.kind == ExchangeEvent::Kind::OperationEnded || kept.kind == ExchangeEvent::Kind::Note ||
                        kept.kind == ExchangeEvent::Kind::Result || kept.kind == ExchangeEvent::Kind::Tunnel;
  if (hasWords || longBytes) {
    kept.extra = extrasDropped_ + extras_.size();
    extras_.push_back({std::move(words), longBytes ? bytes : std::vector<std::uint8_t>{}});
  }
  rows_.push_back(kept);
  if (onAppended) onAppended();
  if (rows_.size() > capacity_) {
    dropFront(1);
    ++dropped_;
    if (onDropped) onDropped(1);
  }
}

std::size_t LogRows::size() const { return log_->size(); }

LogRow LogRows::operator[](std::size_t index) const { return log_->row(index); }

LogRow LogRows::Iterator::operator*() const { return log_->row(index_); }

std::string TelegramLog::lineOf(const LogRow& row, const CoreText::Translate& translate) const {
  std::string line;
  for (int column = 0; column < LogColumnCount; ++column) {
    if (column) line += " | ";
    line += cellText(row, column, translate);
  }
  // One line a row, whatever a note holds.
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

std::string TelegramLog::toText(const CoreText::Translate& translate) const {
  std::string text;
  for (std::size_t i = 0; i < rows_.size(); ++i) text += lineOf(row(i), translate) + "\n";
  return text;
}

std::string TelegramLog::CsvTitleLine(const CoreText::Translate& translate) {
  std::string line;
  for (int column = 0; column < LogColumnCount; ++column) {
    if (column) line += ',';
    line += csvField(translate ? translate(ColumnTitles[column]) : std::string(ColumnTitles[column]));
  }
  return line + "\r\n";
}

std::string TelegramLog::CsvLineOf(const LogRow& row, const CoreText::Translate& translate) {
  std::string line;
  for (int column = 0; column < LogColumnCount; ++column) {
    if (column) line += ',';
    line += csvField(cellText(row, column, translate));
  }
  return line + "\r\n";
}

std::string TelegramLog::toCsv(const CoreText::Translate& translate) const {
  std::string text = CsvTitleLine(translate);
  for (std::size_t i = 0; i < rows_.size(); ++i) text += CsvLineOf(row(i), translate);
  return text;
}

}  // namespace kolvaro
