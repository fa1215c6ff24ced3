// The telegram log window, the interface test and the programming-mode list through
// the real window on kolvaro-bus: the log's decoded frames against what the simulator
// printed for the same bytes, the saved text and CSV read back, several devices in
// programming mode named, the chip's state and a silent or missing port.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "BusWindow.h"
#include "support/CsvReader.h"
#include "telegram/FrameDecoder.h"
#include "ui/Language.h"
#include "ui/MaskedField.h"
#include "ui/TelegramLogWindow.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The simulator's name of a service, as its log line starts it.
const char* busServiceName(FrameService service) {
  switch (service) {
    case FrameService::GroupValueWrite: return "GroupValueWrite";
    case FrameService::GroupValueResponse: return "GroupValueResponse";
    case FrameService::GroupValueRead: return "GroupValueRead";
    case FrameService::IndividualAddressWrite: return "IndividualAddressWrite";
    case FrameService::IndividualAddressRead: return "IndividualAddressRead";
    case FrameService::IndividualAddressResponse: return "IndividualAddressResponse";
    case FrameService::MemoryRead: return "MemoryRead";
    case FrameService::MemoryResponse: return "MemoryResponse";
    case FrameService::MemoryWrite: return "MemoryWrite";
    default: return "?";
  }
}

// The whole line of the bus's output that holds position `at`.
std::string lineAround(const std::string& output, std::size_t at) {
  const std::size_t start = output.rfind('\n', at) + 1;
  return output.substr(start, output.find('\n', at) - start);
}

// The simulator's line for a frame: "<t> ms  <src> -> <dst> <Service ...>  [<raw>]  <ack>".
std::string busLineOf(const std::string& output, const std::string& raw) {
  const std::size_t at = output.find("[" + raw + "]");
  if (at == std::string::npos) return {};
  return lineAround(output, at);
}

// The line of a frame the program wrote. The chip may send a frame handed to it as a
// repetition as a first transmission (another control byte, another checksum), so the
// frame is found by the bytes between those two.
std::string busLineOfWritten(const std::string& output, const std::string& raw) {
  if (raw.size() < 9) return {};
  const std::string middle = " " + raw.substr(3, raw.size() - 6) + " ";
  for (std::size_t at = output.find(middle); at != std::string::npos; at = output.find(middle, at + 1)) {
    if (at >= 3 && output[at - 3] == '[') return lineAround(output, at);
  }
  return {};
}

// Opens the log window from its menu entry.
TelegramLogWindow& openLog(TMain& window) {
  window.TelegramLogItem->trigger();
  TelegramLogWindow* log = window.telegramLogWindow();
  EXPECT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  EXPECT_FALSE(log->isModal());
  return *log;
}

void screenshot(QWidget& widget, const char* name) {
  const char* directory = std::getenv("KOLVARO_SCREENSHOT_DIR");
  if (!directory) return;
  QTest::qWait(400);  // let the view take the last rows, scroll and paint
  widget.grab().save(QDir(QString::fromLocal8Bit(directory)).filePath(QString::fromLatin1(name)));
}

void writeConfiguration(BusWindow& bus) {
  TMain& w = bus.window();
  bus.type(w.phAddr_MaskEdit, "0101007");
  bus.type(w.OUT_1_1_GrAddr_MaskEdit, "000002");
  bus.platform.answerYesToEveryQuestion();
  bus.click(w.Write);
}

TEST(TelegramLog, WriteReadOnOffDecodedAsTheBusPrintsThemAndSavedAsTextAndCsv) {
  BusWindow bus({"--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  TelegramLogWindow& logWindow = openLog(w);
  // An operation started before the chip's reset answer is noted would leave it unchecked.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const auto& rows = w.telegramLog().rows();
        return std::any_of(rows.begin(), rows.end(),
                           [](const LogRow& row) { return row.event.find("reset") != std::string::npos; });
      },
      5000));

  writeConfiguration(bus);
  ASSERT_EQ(bus.waitForLog("MemoryWrite 1 byte at 00FF", 1, 5s), 1) << bus.busOutput();
  screenshot(logWindow, "log-window-successful-write.png");
  bus.click(w.Read);
  bus.type(w.OnOffGroup_MaskEdit, "000002");
  bus.click(w.OnGroup);
  bus.click(w.OffGroup);
  ASSERT_EQ(bus.waitForLog("GroupValueWrite off", 4, 5s), 4) << bus.busOutput();

  const TelegramLog& log = w.telegramLog();
  // Every operation is a titled group with its outcome.
  std::vector<std::string> titles;
  for (const LogRow& row : log.rows()) {
    if (row.kind == LogRow::Kind::Operation) titles.push_back(row.event);
  }
  EXPECT_EQ(titles,
            (std::vector<std::string>{"▶ Uruchomienie", "▶ Zapis", "▶ Odczyt", "▶ Załącz grupę", "▶ Wyłącz grupę"}));
  bool resetNoted = false;
  for (const LogRow& row : log.rows())
    resetNoted |= row.event.rfind("układ interfejsu odpowiedział na reset (03)", 0) == 0;
  std::string notes;
  for (const LogRow& row : log.rows()) {
    if (row.kind == LogRow::Kind::Note) notes += row.event + "\n";
  }
  EXPECT_TRUE(resetNoted) << notes;

  // Every frame the chip passed on, decoded as kolvaro-bus printed the same bytes.
  const std::string output = bus.busOutput();
  std::map<FrameService, int> checked;
  for (const LogRow& row : log.rows()) {
    std::vector<std::uint8_t> bytes;
    std::istringstream hex(row.raw);
    unsigned value = 0;
    while (hex >> std::hex >> value) bytes.push_back(static_cast<std::uint8_t>(value));
    const DecodedFrame frame = DecodeFrame(bytes);
    // A frame cut short (by the end of a wait, or left on the line and flushed) is not
    // whole on the bus's log line. The echo of the program's own frame may come after the
    // wait that would have passed it on (a wait ends at its answer or confirmation): the
    // program's own frames are checked as they were written, the device's as passed on.
    const bool passedOn = row.kind == LogRow::Kind::Frame && frame.isFrame && frame.length != LengthVerdict::Truncated;
    const bool written = row.kind == LogRow::Kind::Written && frame.isFrame;
    if (!passedOn && !written) continue;
    const std::string line = written ? busLineOfWritten(output, row.raw) : busLineOf(output, row.raw);
    ASSERT_FALSE(line.empty()) << "not on the bus: " << row.raw;
    std::istringstream words(line);
    std::string time, ms, source, arrow, destination, service;
    words >> time >> ms >> source >> arrow >> destination >> service;
    EXPECT_EQ(source, row.source) << line;
    EXPECT_EQ(destination, row.destination) << line;
    EXPECT_EQ(service, busServiceName(frame.service)) << line;
    if (frame.memoryAddress) {
      char at[16];
      std::snprintf(at, sizeof at, " at %04X", *frame.memoryAddress);
      EXPECT_NE(line.find(at), std::string::npos) << line << " / " << row.data;
      if (!frame.data.empty()) {
        EXPECT_NE(line.find(": " + HexBytes(frame.data) + " "), std::string::npos) << line;
      }
    }
    if (frame.service == FrameService::GroupValueWrite) {
      EXPECT_NE(line.find(frame.smallValue == 1u ? "GroupValueWrite on" : "GroupValueWrite off"), std::string::npos);
    }
    ++checked[frame.service];
  }
  for (FrameService service :
       {FrameService::IndividualAddressRead, FrameService::IndividualAddressResponse,
        FrameService::IndividualAddressWrite, FrameService::MemoryRead, FrameService::MemoryResponse,
        FrameService::MemoryWrite, FrameService::GroupValueWrite}) {
    EXPECT_GT(checked[service], 0) << busServiceName(service) << " never seen in the log";
  }

  // Saved as text and CSV, and read back.
  const std::string textPath = bus.scratchFile("log.txt");
  const std::string csvPath = bus.scratchFile("log.csv");
  ASSERT_TRUE(logWindow.saveText(QString::fromStdString(textPath)));
  ASSERT_TRUE(logWindow.saveCsv(QString::fromStdString(csvPath)));
  std::istringstream text(readWhole(textPath));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  const auto records = readCsv(readWhole(csvPath));
  ASSERT_EQ(lines.size(), log.rows().size());
  ASSERT_EQ(records.size(), log.rows().size() + 1);
  for (std::size_t r = 0; r < log.rows().size(); ++r) {
    const LogRow& row = log.rows()[r];
    EXPECT_EQ(lines[r], log.lineOf(row));
    ASSERT_EQ(records[r + 1].size(), static_cast<std::size_t>(LogColumnCount));
    std::string joined;
    for (int column = 0; column < LogColumnCount; ++column) {
      EXPECT_EQ(records[r + 1][static_cast<std::size_t>(column)], LogCell(row, column));
      joined += (column ? " | " : "") + records[r + 1][static_cast<std::size_t>(column)];
    }
    // A box's text keeps its line break in the CSV; the text file has one line a row.
    std::replace(joined.begin(), joined.end(), '\n', ' ');
    EXPECT_EQ(joined, lines[r]) << "the text line and the CSV record hold the same row";
  }

  // Rows are selected and copied in the same text form.
  logWindow.model()->sync();
  logWindow.table()->selectRow(1);
  EXPECT_EQ(logWindow.selectedText().toStdString(), log.lineOf(log.rows()[1]) + "\n");
}

TEST(TelegramLog, TwoDevicesInProgrammingModeAreNamedInTheLogAndTheList) {
  BusWindow bus({"--device", "1.1.5,prog", "--device", "1.1.6,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  TelegramLogWindow& logWindow = openLog(w);
  const std::size_t boxes = bus.platform.boxes.size();

  writeConfiguration(bus);

  ASSERT_GT(bus.platform.boxes.size(), boxes);
  EXPECT_EQ(bus.platform.boxes.back().text,
            "W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.");
  const auto& rows = w.telegramLog().rows();
  ASSERT_GE(rows.size(), 2u);
  const std::string& named = rows[rows.size() - 2].event;
  EXPECT_NE(named.find("1.1.5"), std::string::npos) << named;
  EXPECT_NE(named.find("1.1.6"), std::string::npos) << named;
  EXPECT_EQ(rows.back().event,
            "■ koniec: W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.");
  screenshot(logWindow, "log-window-failed-write.png");

  w.ProgrammingModeItem->trigger();
  const std::string list = bus.platform.boxes.back().text;
  EXPECT_EQ(list.rfind("Urządzenia w trybie programowania (2):", 0), 0u) << list;
  EXPECT_NE(list.find("\n1.1.5 (po "), std::string::npos) << list;
  EXPECT_NE(list.find("\n1.1.6 (po "), std::string::npos) << list;
}

TEST(TelegramLog, EmptyBusListsNoDevice) {
  BusWindow bus({"--device", "1.1.5"});  // a device, not in programming mode
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  const auto start = Clock::now();
  bus.window().ProgrammingModeItem->trigger();
  EXPECT_EQ(bus.platform.boxes.back().text, "Żadne urządzenie nie jest w trybie programowania.");
  EXPECT_LT(Clock::now() - start, 6s) << "a few seconds of listening";
}

// A pseudo-terminal whose far end is held open and never read or answered.
class SilentTerminal {
 public:
  SilentTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) path_ = ::ptsname(master_);
  }
  ~SilentTerminal() {
    if (master_ >= 0) ::close(master_);
  }
  const std::string& path() const { return path_; }

 private:
  int master_ = -1;
  std::string path_;
};

TEST(InterfaceTest, ChipStateOnTheBusAndNoChipWithinASecondElsewhere) {
  BusWindow bus({"--device", "1.1.5"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();

  w.InterfaceTestItem->trigger();
  const std::string onBus = bus.platform.boxes.back().text;
  EXPECT_EQ(onBus.rfind("Układ interfejsu na porcie COM1 (", 0), 0u) << onBus;
  EXPECT_NE(onBus.find("stan 07: bez błędów."), std::string::npos) << onBus;

  SilentTerminal silent;
  ASSERT_FALSE(silent.path().empty());
  bus.setPortPath(2, silent.path());
  bus.setPortPath(3, bus.scratchFile("no-such-device"));
  const struct {
    QAction* TMain::*port;
    const char* name;
    const char* also;  // a further line of the report
  } ports[] = {
      {&TMain::COM2, "COM2", ""},
      {&TMain::COM3, "COM3", "nie jest otwarty: COM3: brak urządzenia "},
  };
  for (const auto& port : ports) {
    (w.*port.port)->trigger();
    ASSERT_NE(w.Port, nullptr);
    const auto start = Clock::now();
    w.InterfaceTestItem->trigger();
    const auto took = Clock::now() - start;
    const std::string report = bus.platform.boxes.back().text;
    EXPECT_EQ(report.rfind(std::string("Żaden układ interfejsu nie odpowiedział na porcie ") + port.name, 0), 0u)
        << report;
    EXPECT_NE(report.find(port.also), std::string::npos) << report;
    EXPECT_LT(took, 1s) << port.name;
  }
}

// Under English every cell the log window shows is English, the words of the frames,
// the notes, the boxes and the operations' titles and outcomes included, and so is the
// file it saves; the rows themselves keep their Polish.
TEST(TelegramLog, EnglishWindowShowsAndSavesEveryRowInEnglish) {
  QTranslator english;
  ASSERT_TRUE(installTranslation(english, Language::English));
  BusWindow bus({"--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  TelegramLogWindow& logWindow = openLog(w);
  writeConfiguration(bus);
  ASSERT_EQ(bus.waitForLog("MemoryWrite 1 byte at 00FF", 1, 5s), 1) << bus.busOutput();
  bus.click(w.Read);
  bus.type(w.OnOffGroup_MaskEdit, "000002");
  bus.click(w.OnGroup);
  ASSERT_GE(bus.waitForLog("GroupValueWrite on", 2, 5s), 2) << bus.busOutput();
  screenshot(logWindow, "log-window-english.png");

  const TelegramLog& log = w.telegramLog();
  std::set<LogRow::Kind> kinds;
  for (const LogRow& row : log.rows()) kinds.insert(row.kind);
  using K = LogRow::Kind;
  for (K kind : {K::Operation, K::Outcome, K::Note, K::Written, K::Frame, K::Confirmation, K::Acknowledge, K::Result})
    EXPECT_EQ(kinds.count(kind), 1u) << "a row of kind " << static_cast<int>(kind);
  EXPECT_EQ(log.rows().front().event, "▶ Uruchomienie") << "the row itself stays Polish";

  auto* table = logWindow.findChild<QTableView*>();
  ASSERT_NE(table, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return table->model()->rowCount() == static_cast<int>(log.rows().size()); }, 5000));
  static const QString polishLetters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
  int polishCells = 0;
  for (int r = 0; r < table->model()->rowCount(); ++r) {
    for (int c = 0; c < table->model()->columnCount(); ++c) {
      const QString text = table->model()->data(table->model()->index(r, c)).toString();
      if (std::any_of(text.begin(), text.end(), [](QChar ch) { return polishLetters.contains(ch); })) {
        ADD_FAILURE() << "left in Polish, row " << r << ": " << text.toStdString();
        ++polishCells;
      }
    }
  }
  EXPECT_EQ(polishCells, 0);
  // Saved as it is shown.
  const std::string csvPath = bus.scratchFile("log-en.csv");
  ASSERT_TRUE(logWindow.saveCsv(QString::fromStdString(csvPath)));
  const QString csv = QString::fromStdString(readWhole(csvPath));
  EXPECT_TRUE(csv.startsWith(QStringLiteral("time,"))) << csv.left(80).toStdString();
  EXPECT_FALSE(std::any_of(csv.begin(), csv.end(), [](QChar ch) { return polishLetters.contains(ch); }));
  EXPECT_EQ(readCsv(csv.toStdString()).size(), log.rows().size() + 1);
  bus.closeWindow();
  QCoreApplication::removeTranslator(&english);
}

}  // namespace
}  // namespace kolvaro::test
