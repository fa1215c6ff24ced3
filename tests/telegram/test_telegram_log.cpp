// The log's rows: operation groups and their times, the row cap, and the text and CSV
// forms read back by a CSV reader written here (not the log's own code).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CsvReader.h"
#include "telegram/TelegramLog.h"

namespace kolvaro {
namespace {

using namespace std::chrono_literals;

ExchangeEvent event(ExchangeEvent::Kind kind, std::vector<std::uint8_t> bytes = {}, std::string text = {}) {
  ExchangeEvent e;
  e.kind = kind;
  e.bytes = std::move(bytes);
  e.text = std::move(text);
  e.attempt = 1;
  return e;
}

struct FakeClocks {
  std::chrono::steady_clock::time_point steady{};
  std::chrono::system_clock::time_point wall{std::chrono::sys_days{std::chrono::year{2026} / 12 / 8} + 12h};
  void advance(std::chrono::milliseconds d) {
    steady += d;
    wall += d;
  }
  void attach(TelegramLog& log) {
    log.setClocks([this] { return wall; }, [this] { return steady; });
  }
};

TEST(TelegramLog, OperationGroupsTimesAndDecodedColumns) {
  TelegramLog log;
  FakeClocks clocks;
  clocks.attach(log);

  log.exchangeEvent(event(ExchangeEvent::Kind::Note, {}, "before"));
  ReportOperationStarted(&log, CoreText("Załącz grupę"));
  clocks.advance(15ms);
  log.exchangeEvent(event(ExchangeEvent::Kind::TextWritten, {0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x81, 0x20}));
  clocks.advance(20ms);
  log.exchangeEvent(event(ExchangeEvent::Kind::Confirmation, {0x8B}));
  log.exchangeEvent(event(ExchangeEvent::Kind::Result, {}, "ACK"));
  ReportOperationEnded(&log, CoreText("potwierdzone"));
  log.exchangeEvent(event(ExchangeEvent::Kind::Note, {}, "after"));

  const auto& rows = log.rows();
  ASSERT_EQ(rows.size(), 7u);
  const std::vector<std::int64_t> since{-1, 0, 15, 35, 35, 35, -1};
  const std::vector<std::uint64_t> operation{0, 1, 1, 1, 1, 1, 0};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].sinceStartMs, since[i]) << i;
    EXPECT_EQ(rows[i].operation, operation[i]) << i;
  }
  EXPECT_EQ(rows[1].event, "▶ Załącz grupę");
  EXPECT_EQ(rows[5].event, "■ potwierdzone");
  const LogRow& sent = rows[2];
  EXPECT_EQ(sent.direction, "→");
  EXPECT_EQ(sent.source, "15.15.254");
  EXPECT_EQ(sent.destination, "0/0/2");
  EXPECT_EQ(sent.service, "zapis wartości grupy: zał.");
  EXPECT_EQ(sent.priority, "niski");
  EXPECT_EQ(sent.repeat, "nie");
  EXPECT_EQ(sent.hops, "6");
  EXPECT_EQ(sent.checksum, "poprawna");
  EXPECT_EQ(sent.raw, "BC FF FE 00 02 E1 00 81 20");
  EXPECT_EQ(rows[3].event, "potwierdzenie pozytywne (8B)");
  EXPECT_EQ(rows[4].event, "wynik: ACK");
  // Milliseconds of the wall clock, whatever the local zone.
  EXPECT_EQ(LogCell(rows[3], 0).substr(8), ".035");
}

TEST(TelegramLog, SeveralAddressAnswersAreNamedAtTheOperationsEnd) {
  const std::vector<std::uint8_t> from1105{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40, 0x76};
  const std::vector<std::uint8_t> from1106{0xBC, 0x11, 0x06, 0xFF, 0xFE, 0x61, 0x01, 0x40, 0x75};
  const struct {
    std::vector<std::vector<std::uint8_t>> accepted;
    FrameJudgement judgement;
    const char* note;  // "" for none
  } cases[] = {
      {{from1105}, FrameJudgement::Accepted, ""},
      {{from1105, from1106}, FrameJudgement::Accepted, "odpowiedzi urządzeń w trybie programowania (2): 1.1.5, 1.1.6"},
      {{from1105, from1105}, FrameJudgement::Accepted, "odpowiedzi urządzeń w trybie programowania (2): 1.1.5, 1.1.5"},
      {{from1105, from1106}, FrameJudgement::OtherDestination, ""},
  };
  for (const auto& c : cases) {
    TelegramLog log;
    ReportOperationStarted(&log, CoreText("Zapis"));
    for (const auto& frame : c.accepted) {
      ExchangeEvent e = event(ExchangeEvent::Kind::FramePassedOn, frame);
      e.judgement = c.judgement;
      log.exchangeEvent(e);
    }
    ReportOperationEnded(&log, CoreText("kilka urządzeń"));
    const auto& rows = log.rows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows.back().event, "■ kilka urządzeń");
    const LogRow& beforeEnd = rows[rows.size() - 2];
    if (*c.note) {
      EXPECT_EQ(beforeEnd.event, c.note);
      EXPECT_EQ(beforeEnd.operation, 1u);
    } else {
      EXPECT_EQ(beforeEnd.kind, LogRow::Kind::Frame);
    }
  }
}

TEST(TelegramLog, CapDropsTheOldestRows) {
  const struct {
    std::size_t cap;
    std::size_t appended;
    std::size_t kept;
    std::size_t dropped;
  } cases[] = {{5, 3, 3, 0}, {5, 5, 5, 0}, {5, 12, 5, 7}, {1, 4, 1, 3}};
  for (const auto& c : cases) {
    TelegramLog log(c.cap);
    std::size_t droppedSignals = 0;
    log.onDropped = [&](std::size_t n) { droppedSignals += n; };
    for (std::size_t i = 0; i < c.appended; ++i) ReportNote(&log, "row " + std::to_string(i));
    ASSERT_EQ(log.rows().size(), c.kept) << c.cap << "/" << c.appended;
    EXPECT_EQ(log.droppedRows(), c.dropped);
    EXPECT_EQ(droppedSignals, c.dropped);
    EXPECT_EQ(log.rows().front().event, "row " + std::to_string(c.appended - c.kept)) << "the oldest go first";
    EXPECT_EQ(log.rows().back().event, "row " + std::to_string(c.appended - 1));
  }
  TelegramLog log(10);
  for (int i = 0; i < 10; ++i) ReportNote(&log, std::to_string(i));
  log.setCapacity(4);
  ASSERT_EQ(log.rows().size(), 4u);
  EXPECT_EQ(log.rows().front().event, "6");
  EXPECT_EQ(log.droppedRows(), 6u);
  log.clear();
  EXPECT_TRUE(log.rows().empty());
  EXPECT_EQ(log.droppedRows(), 0u);
}

// Rows with words of their own, rows with bytes only and rows with more bytes than a
// frame holds, dropped at every point of the mix: each kept row reads as it did before.
TEST(TelegramLog, RowsKeptUnderTheCapReadAsBefore) {
  using Kind = ExchangeEvent::Kind;
  const std::vector<ExchangeEvent> mix = {
      event(Kind::OperationStarted, {}, "Zapis"),
      event(Kind::TextWritten, {0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x81, 0x20}),
      event(Kind::ChipByte, std::vector<std::uint8_t>(30, 0x55)),
      event(Kind::Confirmation, {0x8B}),
      event(Kind::Result, {}, "ACK"),
      event(Kind::OperationEnded, {}, "koniec"),
      event(Kind::AcknowledgeSent, {0x11}),
  };
  for (std::size_t cap = 1; cap <= mix.size() + 1; ++cap) {
    TelegramLog all(100), capped(cap);
    FakeClocks clocks;
    clocks.attach(all);
    clocks.attach(capped);
    for (std::size_t n = 0; n < 3 * mix.size(); ++n) {
      all.exchangeEvent(mix[n % mix.size()]);
      capped.exchangeEvent(mix[n % mix.size()]);
      clocks.advance(1ms);
      const std::size_t first = all.rows().size() - capped.rows().size();
      for (std::size_t i = 0; i < capped.rows().size(); ++i)
        ASSERT_EQ(capped.lineOf(capped.rows()[i]), all.lineOf(all.rows()[first + i])) << cap << "/" << n << "/" << i;
    }
  }
}

TEST(TelegramLog, TextAndCsvHoldEveryRowAndColumn) {
  TelegramLog log;
  FakeClocks clocks;
  clocks.attach(log);
  ReportOperationStarted(&log, CoreText("Zapis"));
  ReportNote(&log, "adresy: 1.1.5, 1.1.6; \"kilka\"\nurządzeń");  // commas, quotes, a line break
  log.exchangeEvent(event(ExchangeEvent::Kind::FramePassedOn,
                          {0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x64, 0x42, 0x41, 0x00, 0x00, 0x02, 0x33}));
  log.exchangeEvent(event(ExchangeEvent::Kind::ChipByte, {0x03}));
  ReportOperationEnded(&log, CoreText("błąd"));

  const auto records = test::readCsv(log.toCsv());
  ASSERT_EQ(records.size(), log.rows().size() + 1);
  ASSERT_EQ(records[0].size(), static_cast<std::size_t>(LogColumnCount));
  EXPECT_EQ(records[0][4], "źródło");
  for (std::size_t r = 0; r < log.rows().size(); ++r) {
    ASSERT_EQ(records[r + 1].size(), static_cast<std::size_t>(LogColumnCount)) << r;
    for (int column = 0; column < LogColumnCount; ++column) {
      EXPECT_EQ(records[r + 1][static_cast<std::size_t>(column)], LogCell(log.rows()[r], column)) << r << "/" << column;
    }
  }
  EXPECT_EQ(records[3][10], "adres 0000, 1 B: 02");
  EXPECT_EQ(records[3][4], "1.1.5");
  EXPECT_EQ(records[4][12], "03");

  const std::string text = log.toText();
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, log.rows().size()) << "one line a row, a note's line break included";
  EXPECT_NE(text.find("| 1.1.5 | 15.15.254 | niski | nie | 6 | odpowiedź pamięci | adres 0000, 1 B: 02 | poprawna |"),
            std::string::npos);
}

}  // namespace
}  // namespace kolvaro
