#pragma once
// The telegram log: the exchange's events turned into rows that a person reads,
// grouped by operation (a titled first row, the outcome as the last), each frame
// decoded into its columns. Holds at most `capacity` rows; the oldest go first. A row is
// kept as the event's own values (its bytes, judgement, attempt, words given), a few
// dozen bytes, and its columns are made each time it is read: shown, copied or saved.
// Saves as text (one line a row) and as CSV. An operation that took physical address
// responses from more than one answer ends with a row naming their addresses. No Qt: the window shows it, a
// command-line monitor could print it.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <limits>
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

class TelegramLog;

// The rows a log keeps, each made when it is read; follows the log as it changes.
class LogRows {
 public:
  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = LogRow;
    using difference_type = std::ptrdiff_t;
    using reference = LogRow;
    struct pointer {
      LogRow row;
      const LogRow* operator->() const { return &row; }
    };

    Iterator() = default;
    Iterator(const TelegramLog* log, std::size_t index) : log_(log), index_(index) {}
    LogRow operator*() const;
    pointer operator->() const { return {**this}; }
    Iterator& operator++() {
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++index_;
      return before;
    }
    difference_type operator-(const Iterator& other) const {
      return static_cast<difference_type>(index_) - static_cast<difference_type>(other.index_);
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Iterator& a, const Iterator& b) { return a.index_ <=> b.index_; }

   private:
    const TelegramLog* log_ = nullptr;
    std::size_t index_ = 0;
  };

  explicit LogRows(const TelegramLog& log) : log_(&log) {}
  std::size_t size() const;
  bool empty() const { return size() == 0; }
  LogRow operator[](std::size_t index) const;
  LogRow front() const { return (*this)[0]; }
  LogRow back() const { return (*this)[size() - 1]; }
  Iterator begin() const { return {log_, 0}; }
  Iterator end() const { return {log_, size()}; }

 private:
  const TelegramLog* log_;
};

class TelegramLog : public ExchangeObserver {
 public:
  using WallClock = std::function<std::chrono::system_clock::time_point()>;
  using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

  static constexpr std::size_t DefaultCapacity = 20000;

  explicit TelegramLog(std::size_t capacity = DefaultCapacity);

  void exchangeEvent(const ExchangeEvent& event) override;

  LogRows rows() const { return LogRows(*this); }
  std::size_t size() const { return rows_.size(); }
  LogRow row(std::size_t index) const;  // made from what is kept
  std::size_t capacity() const { return capacity_; }
  // Drops the oldest rows at once when fewer are allowed than are kept.
  void setCapacity(std::size_t capacity);
  std::size_t droppedRows() const { return dropped_; }  // since the last clear
  void clear();

  // Called after a row is appended, and after `count` rows are dropped from the front.
  std::function<void()> onAppended;
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
  // A kept row: the event's values and when it came. Bytes beyond InlineBytes, and the
  // words of the rows that have their own (titles, outcomes, notes, results), are kept
  // beside it in extras_, in the order of the rows.
  static constexpr std::size_t InlineBytes = 24;  // the longest frame and its checksum fit
  static constexpr std::uint64_t NoExtra = std::numeric_limits<std::uint64_t>::max();
  struct Kept {
    std::int64_t wallMs = 0;
    std::int64_t sinceStartMs = -1;
    std::uint64_t operation = 0;
    std::uint64_t extra = NoExtra;  // the number of its extra, counted since the log began
    std::int32_t attempt = 0;
    ExchangeEvent::Kind kind = ExchangeEvent::Kind::Note;
    FrameJudgement judgement = FrameJudgement::Accepted;
    bool ok = true;
    bool outgoing = false;    // a tunnel's event: sent by us
    std::uint8_t length = 0;  // of the inline bytes
    std::array<std::uint8_t, InlineBytes> bytes{};
  };
  struct Extra {
    CoreText words;
    std::vector<std::uint8_t> bytes;
  };

  void append(Kept kept, CoreText words, const std::vector<std::uint8_t>& bytes);
  void dropFront(std::size_t count);
  void noteAddressAnswers();

  std::deque<Kept> rows_;
  std::deque<Extra> extras_;
  std::uint64_t extrasDropped_ = 0;  // the number of extras_.front()
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
