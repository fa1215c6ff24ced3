// What waiting for the bus costs the program, and how fast it answers a frame addressed
// to it, against kolvaro-bus on a pseudo-terminal:
//   (a) CPU time per second of an idle wait in SendTelegram;
//   (b) the time from the simulator writing a frame's routing byte to the link to the
//       acknowledge information 0x11 read back from it, measured by the simulator on the
//       wall clock (kolvaro-bus --ack-timing).
// Each is taken with the main window's own wait (the exchange's reader thread on the line
// writing the acknowledge, the event loop blocking until the reader hands something
// over), once more with the telegram log window open and rows arriving, and, for contrast, with a literal busy loop of
// ReadByte and processEvents through the same ComPort and TelegramExchange. A bare
// poll() loop without Qt, ComPort or the exchange gives the floor that the simulator,
// the pseudo-terminal and the scheduler set for (b) on this machine, and knxd (where
// installed) the peer's figures on the same link, at the same pace, and beside the window
// on a second link of the same bus, on the same frames at the same time (with the log
// window shut, then open).
//
//   latency [frames]      (default 1000; needs no display: Qt's offscreen platform)
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "link/Comport.h"
#include "support/BusProcess.h"
#include "support/RecordingPlatform.h"
#include "telegram/ExchangeHost.h"
#include "telegram/TelegramExchange.h"
#include "telegram/TelegramLog.h"
#include "ui/Main.h"

namespace {

using namespace std::chrono_literals;
using kolvaro::ComPort;
using kolvaro::TMain;
using kolvaro::test::BusProcess;

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double wallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The exchange's owner in the contrast runs: the same port and exchange, a Timer1 of its
// own, and a wait that spins: one non-blocking look at the window's events per pass.
class SpinningHost : public kolvaro::ExchangeHost {
 public:
  SpinningHost() {
    timer_.setInterval(1000);
    QObject::connect(&timer_, &QTimer::timeout, [this] { exchange.Timer1Timer(); });
    timer_.start();
  }
  ComPort* port() override { return comPort.get(); }
  std::uint16_t localAddress() const override { return 0xFFFE; }  // 15.15.254, as the window's default
  void appendLog(const std::string&) override {}
  void waitForActivity(int) override { QCoreApplication::processEvents(); }

  std::unique_ptr<ComPort> comPort = std::make_unique<ComPort>();
  kolvaro::TelegramExchange exchange{*this};

 private:
  QTimer timer_;
};

using Send = std::function<std::string(const std::string&, std::int32_t, std::uint8_t, kolvaro::ExchangeMode)>;

struct IdleFigures {
  double wall = 0, cpu = 0;
};

// A listening call that nothing answers: it lasts until the tick limit.
IdleFigures idleWait(const Send& send, int ticks) {
  const double wall0 = wallSeconds(), cpu0 = cpuSeconds();
  send("", ticks, 255, kolvaro::ExchangeMode::FurtherAnswer);
  return {wallSeconds() - wall0, cpuSeconds() - cpu0};
}

struct LatencyFigures {
  std::vector<long> micros;  // one per acknowledge information, in arrival order
  bool answered = false;     // the closing answer frame was taken
  int late = 0;
  int repeated = 0;  // repetitions on the bus: frames whose 0x11 missed the deadline
};

// How long a run may last, in seconds (ticks): a frame and its acknowledge take about
// 20 ms on the bus; twice that, and half a minute besides.
std::int32_t runTicks(int frames) { return 30 + frames / 25; }

constexpr char TimedFrame[] = "inject BC 1105 FFFE 61 01 40\n";
constexpr char ClosingAnswer[] = "inject BC 1105 FFFE 63 42 40 00 12\n";

// Reads the simulator's output from `from` on: the timing lines of acknowledge
// informations that came over `link` ("ack-timing 45 us LINK[ late]"), and the repetitions.
void collect(const std::string& out, std::size_t from, const std::string& link, LatencyFigures& f) {
  for (std::size_t at = out.find("ack-timing ", from); at != std::string::npos; at = out.find("ack-timing ", at + 1)) {
    const std::size_t eol = std::min(out.find('\n', at), out.size());
    const bool late = out.compare(eol - 5, 5, " late") == 0;
    const std::size_t linkEnd = late ? eol - 5 : eol;
    if (linkEnd < link.size() || out.compare(linkEnd - link.size(), link.size(), link) != 0) continue;
    f.micros.push_back(std::strtol(out.c_str() + at + 11, nullptr, 10));
    if (late) ++f.late;
  }
  for (std::size_t at = out.find("(repeated)", from); at != std::string::npos; at = out.find("(repeated)", at + 1))
    ++f.repeated;
}

// Puts the run's frames on the bus at the pace ack-knxd.sh keeps for knxd, one every 22 ms (a
// frame itself lasts about that long, so the bus is busy about half the time), then the
// closing answer; and keeps kolvaro-bus's output pipe from filling meanwhile (which would
// stall the simulation). From a thread of its own, so the program's thread is not
// disturbed; the frames are put only once the run has started waiting.
class Feeder {
 public:
  Feeder(BusProcess& bus, int frames)
      : thread_([this, &bus, frames] {
          while (!go_ && on_) std::this_thread::sleep_for(1ms);
          auto next = std::chrono::steady_clock::now();
          for (int i = 0; i < frames && on_; ++i) {
            bus.child().writeInput(TimedFrame);
            next += FramePace;
            std::this_thread::sleep_until(next);
            if (i % 50 == 0) bus.child().output();
          }
          if (on_) bus.child().writeInput(ClosingAnswer);
          while (on_) {
            bus.child().output();
            std::this_thread::sleep_for(20ms);
          }
        }) {}
  ~Feeder() {
    on_ = false;
    thread_.join();
  }
  void start() { go_ = true; }

 private:
  static constexpr auto FramePace = 22ms;
  std::atomic<bool> go_{false}, on_{true};
  std::thread thread_;
};

// A run that ended before the bus did (its limit passed, or the frames were repeated
// for want of an acknowledge) leaves frames queued on the bus: they are let pass, so
// they are not counted in the next run. The bus is done once its log stands still.
void waitForQuietBus(BusProcess& bus) {
  const double end = wallSeconds() + 600;
  for (std::size_t size = bus.child().output().size(); wallSeconds() < end;) {
    std::this_thread::sleep_for(500ms);
    const std::size_t now = bus.child().output().size();
    if (now == size) return;
    size = now;
  }
}

// The simulator puts `frames` frames for 15.15.254 on the bus, then one
// memory answer that ends the listening call. The frames carry another service than the
// call waits for, so the program acknowledges each and takes none.
LatencyFigures ackLatency(const Send& send, ComPort& port, BusProcess& bus, const std::string& link, int frames) {
  port.PurgeBuffers('R');  // what an earlier run left in the line is not this run's
  const std::size_t from = bus.child().output().size();
  std::string result;
  {
    Feeder feeder(bus, frames);
    // The frames are ordered from inside the wait, so that the first is already awaited.
    QTimer::singleShot(0, [&] { feeder.start(); });
    result = send("", runTicks(frames), 9, kolvaro::ExchangeMode::FurtherAnswer);
    std::this_thread::sleep_for(200ms);  // the last lines
  }
  waitForQuietBus(bus);
  LatencyFigures f;
  f.answered = result == "BC1105FFFE6342400012";
  collect(bus.child().output(), from, link, f);
  return f;
}

// The floor: a plain poll() loop on the link that writes 0x11 the moment it has read the
// routing byte of a frame for 15.15.254, until the closing answer has come.
LatencyFigures floorLatency(const std::string& link, BusProcess& bus, int frames) {
  LatencyFigures f;
  const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return f;
  termios t{};
  if (tcgetattr(fd, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
  }
  tcflush(fd, TCIFLUSH);  // what an earlier run left in the line is not this run's
  const std::size_t from = bus.child().output().size();
  {
    Feeder feeder(bus, frames);
    feeder.start();
    std::vector<std::uint8_t> frame;
    const double end = wallSeconds() + runTicks(frames);
    while (!f.answered && wallSeconds() < end) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 1000) <= 0) continue;
      std::uint8_t buf[64];
      const ssize_t n = ::read(fd, buf, sizeof buf);
      for (ssize_t i = 0; i < n; ++i) {
        const std::uint8_t b = buf[i];
        if (frame.empty() && (b & 0xD3) != 0x90) continue;  // outside frames: only control bytes start one
        frame.push_back(b);
        if (frame.size() == 6 && !(frame[5] & 0x80) && frame[3] == 0xFF && frame[4] == 0xFE) {
          const std::uint8_t ack = 0x11;
          [[maybe_unused]] auto written = ::write(fd, &ack, 1);
        }
        if (frame.size() >= 8 && frame.size() == 8u + (frame[5] & 0x0Fu)) {
          f.answered = f.answered || (frame[6] == 0x42 && frame[7] == 0x40);
          frame.clear();
        }
      }
    }
    std::this_thread::sleep_for(200ms);
  }
  ::close(fd);
  waitForQuietBus(bus);
  collect(bus.child().output(), from, link, f);
  return f;
}

// knxd (Debian), where installed, answering frames for 15.15.254 on `link`: its TP-UART
// driver on our link and a unix socket only; stopped by its pid when this ends. Nothing
// when it is not installed or never answers.
class Knxd {
 public:
  Knxd(const std::string& link, const std::string& socket, BusProcess& bus)
      : link_(link), process_({"knxd", "-e", "15.15.254", "-E", "15.15.200:8", "-u", socket, "-b", "tpuart:" + link}) {
    if (!process_.started()) return;
    // Ready once it answers: a frame now and then until it does.
    const double ready = wallSeconds() + 15;
    for (const std::size_t probeFrom = bus.child().output().size(); !answering_ && wallSeconds() < ready;) {
      bus.child().writeInput(TimedFrame);
      std::this_thread::sleep_for(200ms);
      LatencyFigures probe;
      collect(bus.child().output(), probeFrom, link_, probe);
      answering_ = !probe.micros.empty();
    }
    waitForQuietBus(bus);
  }
  ~Knxd() { process_.stop(); }
  bool answering() const { return answering_; }

 private:
  std::string link_;
  kolvaro::test::ChildProcess process_;
  bool answering_ = false;
};

// knxd alone, answering the same frames on the same link for the same address: the peer
// a user compares with, timed by the same simulator under the same conditions as the rows
// above. knxd answers these frames with an acknowledge information that does not claim
// them, so the bus sends each four times: it is given a quarter of the frames, for about
// as many acknowledge informations as the other rows.
std::optional<LatencyFigures> knxdLatency(const std::string& link, const std::string& socket, BusProcess& bus,
                                          int frames) {
  Knxd knxd(link, socket, bus);
  if (!knxd.answering()) return std::nullopt;
  const std::size_t from = bus.child().output().size();
  LatencyFigures f;
  {
    Feeder feeder(bus, std::max(1, frames / 4));
    feeder.start();
    // The run ends when the closing answer has passed the bus.
    const double end = wallSeconds() + runTicks(frames);
    while (!f.answered && wallSeconds() < end) {
      std::this_thread::sleep_for(100ms);
      f.answered = bus.child().output().find("FF FE 63 42 40 00 12", from) != std::string::npos;
    }
  }
  waitForQuietBus(bus);
  collect(bus.child().output(), from, link, f);
  return f;
}

// The main window, shown, once it has opened COM1 (`link`, in the dcb.ini written for it).
std::unique_ptr<TMain> openWindow(const std::string& link) {
  auto window = std::make_unique<TMain>();
  window->show();
  if (!QTest::qWaitFor([&] { return window->Port && !window->operationRunning(); }, 5000) || window->Port->IsFailed()) {
    std::fprintf(stderr, "latency: the window could not open COM1 at %s\n", link.c_str());
    return nullptr;
  }
  return window;
}

Send sendThrough(TMain& window) {
  return [&window](const std::string& t, std::int32_t limit, std::uint8_t code, kolvaro::ExchangeMode mode) {
    return window.exchange().SendTelegram(t, limit, code, mode);
  };
}

// One run of the window and knxd side by side: the window's figures and knxd's.
struct SideBySide {
  LatencyFigures window, knxd;
};

struct BesideKnxd {
  SideBySide logShut, logOpen;
};

// Opens the telegram log window beside the main window, shown before the run begins.
void openTelegramLog(TMain& window) {
  window.TelegramLogClick();
  QApplication::processEvents();
}

// The window on `link` and knxd on `knxdLink`, two chips of a bus of their own, timed on
// the same frames: first with the main window alone, then with the telegram log window
// open as well. Nothing when knxd is not there or does not answer.
std::optional<BesideKnxd> windowBesideKnxd(const std::string& link, const std::string& knxdLink,
                                           const std::string& socket, int frames) {
  BusProcess bus({link, knxdLink}, {"--ack-timing"});
  if (!bus.waitReady()) return std::nullopt;
  auto window = openWindow(link);
  if (!window) return std::nullopt;
  Knxd knxd(knxdLink, socket, bus);
  if (!knxd.answering()) return std::nullopt;
  const auto run = [&] {
    const std::size_t from = bus.child().output().size();
    SideBySide figures;
    figures.window = ackLatency(sendThrough(*window), *window->Port, bus, link, frames);
    collect(bus.child().output(), from, knxdLink, figures.knxd);
    figures.knxd.answered = figures.window.answered;
    return figures;
  };
  BesideKnxd figures;
  figures.logShut = run();
  openTelegramLog(*window);
  figures.logOpen = run();
  return figures;
}

long percentile(std::vector<long> v, double p) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(index, v.size() - 1)];
}

void printLatency(const char* name, const LatencyFigures& f) {
  const long max = f.micros.empty() ? -1 : *std::max_element(f.micros.begin(), f.micros.end());
  std::printf("  %-34s %6zu %8ld %8ld %8ld %6d %8d   %s\n", name, f.micros.size(), percentile(f.micros, 0.5),
              percentile(f.micros, 0.99), max, f.late, f.repeated, f.answered ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);

  kolvaro::test::RecordingPlatform platform;  // message boxes recorded, never shown
  kolvaro::test::TempDir directory;
  const std::string link = directory.file("com1");
  const std::string secondLink = directory.file("second");  // knxd's, beside the window
  platform.directory = directory.path();
  platform.useHostPorts();
  kolvaro::test::writeFile(directory.file("dcb.ini"), "[COM ports]\r\nCOM1=" + link + "\r\n");
  kolvaro::ScopedPlatform installed(platform);

  // One chip on the bus, as ack-knxd.sh has for knxd: every further chip costs the
  // simulator and the kernel a write and a delivery per byte, read or not.
  auto bus = std::make_unique<BusProcess>(std::vector<std::string>{link}, std::vector<std::string>{"--ack-timing"});
  if (!bus->waitReady()) {
    std::fprintf(stderr, "latency: kolvaro-bus did not start: %s\n", bus->child().output().c_str());
    return 1;
  }

  // The program as it runs: the main window and its own wait.
  auto window = openWindow(link);
  if (!window) return 1;
  const Send windowSend = sendThrough(*window);
  const IdleFigures windowIdle = idleWait(windowSend, 6);
  const LatencyFigures windowLatency = ackLatency(windowSend, *window->Port, *bus, link, frames);
  // The same with the telegram log window open: every frame adds rows to it, which it
  // shows as they come (the window's thread paints meanwhile).
  openTelegramLog(*window);
  const std::size_t rowsBefore = window->telegramLog().rows().size() + window->telegramLog().droppedRows();
  const LatencyFigures logOpenLatency = ackLatency(windowSend, *window->Port, *bus, link, frames);
  const std::size_t rowsArrived =
      window->telegramLog().rows().size() + window->telegramLog().droppedRows() - rowsBefore;
  window->close();
  window.reset();

  // The contrast: the same exchange on the same line, spinning.
  SpinningHost spinning;
  if (spinning.comPort->IsFailed()) {
    std::fprintf(stderr, "latency: COM1 did not open again\n");
    return 1;
  }
  const Send spinSend = [&](const std::string& t, std::int32_t limit, std::uint8_t code, kolvaro::ExchangeMode mode) {
    return spinning.exchange.SendTelegram(t, limit, code, mode);
  };
  const IdleFigures spinIdle = idleWait(spinSend, 4);
  const LatencyFigures spinLatency = ackLatency(spinSend, *spinning.comPort, *bus, link, frames);
  spinning.comPort.reset();

  const LatencyFigures floor = floorLatency(link, *bus, frames);
  const std::optional<LatencyFigures> knxd = knxdLatency(link, directory.file("knxd.socket"), *bus, frames);
  bus.reset();

  // The window and knxd at the same time, each on a chip of its own on one bus: the
  // same frames at the same moments, so neither is timed in a luckier minute (with the
  // log window shut, then open). The window's acknowledge claims each frame, so none is
  // repeated for knxd's.
  const auto besideKnxd = windowBesideKnxd(link, secondLink, directory.file("knxd-beside.socket"), frames);

  std::printf("Waiting for the bus in SendTelegram, kolvaro-bus on a pseudo-terminal\n\n");
  std::printf("(a) CPU time per second of an idle wait (target: under 1 %% of one core)\n");
  std::printf("  %-34s %9s %9s %9s\n", "wait", "wall s", "CPU s", "CPU %");
  std::printf("  %-34s %9.2f %9.3f %8.2f%%\n", "window (notifier, blocking loop)", windowIdle.wall, windowIdle.cpu,
              100.0 * windowIdle.cpu / windowIdle.wall);
  std::printf("  %-34s %9.2f %9.3f %8.2f%%\n", "busy loop ReadByte+processEvents", spinIdle.wall, spinIdle.cpu,
              100.0 * spinIdle.cpu / spinIdle.wall);
  std::printf("\n(b) routing byte written by the simulator -> 0x11 read by it, in us of wall-clock time\n");
  std::printf("    (target: p99 under 1000 us; the chip ignores it after 1700 us)\n");
  std::printf("  %-34s %6s %8s %8s %8s %6s %8s   %s\n", "wait", "acks", "median", "p99", "max", "late", "repeats",
              "answer taken");
  printLatency("window (notifier, blocking loop)", windowLatency);
  if (besideKnxd) {
    printLatency("window, knxd beside it", besideKnxd->logShut.window);
    printLatency("knxd beside the window", besideKnxd->logShut.knxd);
  }
  printLatency("window, telegram log window open", logOpenLatency);
  if (besideKnxd) {
    printLatency("window, log open, knxd beside it", besideKnxd->logOpen.window);
    printLatency("knxd beside the window, log open", besideKnxd->logOpen.knxd);
  }
  printLatency("busy loop ReadByte+processEvents", spinLatency);
  printLatency("floor: bare poll() loop, no Qt", floor);
  if (knxd)
    printLatency("knxd (Debian), same link and pace", *knxd);
  else
    std::printf("  knxd (Debian): not installed, or it did not answer\n");
  std::printf(
      "\n  %d frames for 15.15.254 and one closing answer per run. acks: acknowledge informations\n"
      "  that came while a frame was coming in; late: not taken by the chip (past 1700 us on\n"
      "  the simulator's clock, which includes its own lateness in passing the routing byte);\n"
      "  repeats: transmissions the bus repeated because no acknowledge came in time.\n"
      "  The window rows: the exchange's reader thread writes the acknowledge, the window's\n"
      "  thread takes the frames from it; with the log window open %zu rows arrived in its run.\n"
      "  knxd: a quarter of the frames, each sent four times, as its acknowledge information\n"
      "  does not claim them (0x10, not addressed). Beside it: knxd on a second chip of the\n"
      "  same bus during the window's run (log window shut, then open), both timed on the same\n"
      "  frames; the repeats are theirs together.\n",
      frames, rowsArrived);
  return 0;
}
