// The telegram log over a long session: rows (100 000 unless the first argument says
// otherwise) appended through the exchange's events, as a write or a bus with traffic would produce them, once into the
// bare log and once into the log with its window open (offscreen), the window's events processed as they would be
// between bytes. Prints the time taken and the growth of the process's resident memory, for the default row cap and for
// no effective cap, and that growth per row kept.
//
//   log_append [rows]
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "telegram/TelegramLog.h"
#include "ui/TelegramLogWindow.h"

namespace {

using namespace kolvaro;

std::size_t Rows = 100000;

long residentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A round of a memory write as the log sees it: the text, the echo, the confirmation,
// the result; and a group write heard from the bus.
ExchangeEvent eventNumber(std::size_t n) {
  ExchangeEvent e;
  switch (n % 5) {
    case 0:
      e.kind = ExchangeEvent::Kind::TextWritten;
      e.attempt = 1;
      e.bytes = {0xB0, 0xFF, 0xFE, 0x11, 0x05, 0x64, 0x42, 0x81, 0x00, 0x20, 0xFF, 0x22};
      break;
    case 1:
      e.kind = ExchangeEvent::Kind::FramePassedOn;
      e.judgement = FrameJudgement::OwnEcho;
      e.bytes = {0xB0, 0xFF, 0xFE, 0x11, 0x05, 0x64, 0x42, 0x81, 0x00, 0x20, 0xFF, 0x22};
      break;
    case 2:
      e.kind = ExchangeEvent::Kind::Confirmation;
      e.bytes = {0x8B};
      break;
    case 3:
      e.kind = ExchangeEvent::Kind::Result;
      e.text = "ACK";
      break;
    default:
      e.kind = ExchangeEvent::Kind::FramePassedOn;
      e.judgement = FrameJudgement::OtherDestination;
      e.bytes = {0xBC, 0x11, 0x05, 0x00, 0x02, 0xE1, 0x00, 0x81, 0x20};
      break;
  }
  return e;
}

void run(const char* what, std::size_t cap, bool withWindow) {
  const long before = residentKiB();
  TelegramLog log(cap);
  std::unique_ptr<TelegramLogWindow> window;
  if (withWindow) {
    window = std::make_unique<TelegramLogWindow>(log);
    window->show();
    QApplication::processEvents();
  }
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t n = 0; n < Rows; ++n) {
    if (n % 100 == 0) ReportOperationStarted(&log, CoreText("Zapis"));
    log.exchangeEvent(eventNumber(n));
    if (withWindow && n % 50 == 0) QApplication::processEvents();
  }
  if (withWindow) QApplication::processEvents();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long after = residentKiB();
  const std::size_t kept = log.rows().size();
  std::printf(
      "%-34s cap %7zu: %6zu rows kept, %7.3f s (%5.2f us/row), resident memory +%ld KiB (%.0f bytes/row kept)\n", what,
      cap, kept, seconds, seconds * 1e6 / static_cast<double>(Rows), after - before,
      kept ? static_cast<double>(after - before) * 1024.0 / static_cast<double>(kept) : 0.0);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1) Rows = std::max<std::size_t>(1, std::strtoull(argv[1], nullptr, 10));
  std::printf("Appending %zu events to the telegram log (plus a titled group every 100)\n\n", Rows);
  std::fflush(stdout);
  const struct {
    const char* what;
    std::size_t cap;
    bool window;
  } cases[] = {{"log alone", TelegramLog::DefaultCapacity, false},
               {"log alone", std::max<std::size_t>(1000000, Rows), false},
               {"log with its window open", TelegramLog::DefaultCapacity, true},
               {"log with its window open", std::max<std::size_t>(1000000, Rows), true}};
  // Each case in a process of its own, so one case's freed memory does not hide the next one's growth.
  for (const auto& c : cases) {
    const pid_t child = fork();
    if (child == 0) {
      QApplication application(argc, argv);
      run(c.what, c.cap, c.window);
      std::fflush(stdout);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
  }
  return 0;
}
