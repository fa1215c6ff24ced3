#pragma once
// The telegram log: the exchange's events turned into rows that a person reads,
// grouped by operation (a titled first row, the outcome as the last), each frame
// decoded into its columns. Holds at most `capacity` rows; the oldest go first.
// Saves as text (one line a row) and as CSV. An operation that took physical address
// responses from more than one answer ends with a row naming their addresses. No Qt: the window shows it, a
// command-line monitor could print it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "telegram/ExchangeEvents.h"

namespace kolvaro {

struct LogRow {
  enum class Kind { Operation, Outcome, Note, Written, Frame, Confirmation, Acknowledge, ChipByte, Result, Tunnel };
  Kind kind = Kind::Note;
  std::int64_t wallMs = 0;         // wall clock, ms since the epoch (UTC)
  std::int64_t sinceStartMs = -1;  // ms since the operation began; -1 outside any operation
  std::uint64_t operation = 0;     // the number of the operation it belongs to (0: none)
  std::string direction;           // "→" to the chip, "←" from it, "" for the program's own rows
  std::string event;               // what happened, in words
  std::string source, destination, priority, repeat, hops, service, data, checksum;
  std::string raw;  // bytes as hex pairs
  // The columns with words, as a window that translates shows them; the strings above
  // are their Polish, as saved. Empty words: the string is shown as it is.
  CoreText eventWords, repeatWords, priorityWords, serviceWords, dataWords, checksumWords;
};

// Column titles in the order of LogRow's text columns.
inline constexpr int LogColumnCount = 14;
const char* LogColumnTitle(int column);
std::string LogCell(const LogRow& row, int column);  // column 0: wall time HH:MM:SS.mmm (local)
CoreText LogCellWords(const LogRow& row, int column);

class TelegramLog : public ExchangeObserver {
 public:
  using WallClock = std::function<std::chrono::system_clock::time_point()>;
  using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

  static constexpr std::size_t DefaultCapacity = 20000;

  explicit TelegramLog(std::size_t capacity = DefaultCapacity);

  void exchangeEvent(const ExchangeEvent& event) override;

  const std::deque<LogRow>& rows() const { return rows_; }
  std::size_t capacity() const { return capacity_; }
  // Drops the oldest rows at once when fewer are allowed than are kept.
  void setCapacity(std::size_t capacity);
  std::size_t droppedRows() const { return dropped_; }  // since the last clear
  void clear();

  // Called after a row is appended, and after `count` rows are dropped from the front.
  std::function<void(const LogRow&)> onAppended;
  std::function<void(std::size_t count)> onDropped;
  std::function<void()> onCleared;

  // For tests and benchmarks: where the time comes from.
  void setClocks(WallClock wall, SteadyClock steady);

  // One line a row, columns separated by " | "; and CSV (RFC 4180, a title line, CRLF).
  // In Polish, or with the words and titles rendered by `translate` where one is given,
  // so that what is saved or copied reads as the window shows it.
  std::string lineOf(const LogRow& row, const CoreText::Translate& translate = {}) const;
  std::string toText(const CoreText::Translate& translate = {}) const;
  std::string toCsv(const CoreText::Translate& translate = {}) const;
  static std::string CsvLineOf(const LogRow& row, const CoreText::Translate& translate = {});
  static std::string CsvTitleLine(const CoreText::Translate& translate = {});

 private:
  void append(LogRow row);
  void noteAddressAnswers();
  void fillFrameColumns(LogRow& row, const std::vector<std::uint8_t>& bytes) const;

  std::deque<LogRow> rows_;
  std::size_t capacity_;
  std::size_t dropped_ = 0;
  // Sources of the physical address responses taken during the current operation:
  // more than one means several devices in programming mode, said at its end.
  std::vector<std::uint16_t> addressAnswers_;
  std::uint64_t operation_ = 0;
  std::uint64_t operationCount_ = 0;
  std::chrono::steady_clock::time_point operationStart_{};
  WallClock wall_;
  SteadyClock steady_;
};

}  // namespace kolvaro
