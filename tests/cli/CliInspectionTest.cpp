// kolvaro-cli's look at the bus on kolvaro-bus: the interface test, every device in
// programming mode by address, and the monitor that decodes frames until stopped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "CliRun.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

TEST(CliInspection, InterfaceTestAndProgrammingModeScan) {
  TempDir dir;
  const std::string link = dir.file("com1");
  BusProcess bus({link}, {"--device", "1.1.5,prog", "--device", "1.1.6,prog", "--device", "1.1.7"});
  ASSERT_TRUE(bus.waitReady()) << bus.child().output();
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);

  const CliResult test = runCli({"--port", link, "test"});
  EXPECT_EQ(test.status, 0) << test.err;
  EXPECT_EQ(test.out.rfind("Układ interfejsu na porcie COM1 (" + link + ") odpowiedział po ", 0), 0u) << test.out;
  EXPECT_NE(test.out.find(", stan 07: bez błędów.\n"), std::string::npos) << test.out;

  const CliResult prog = runCli({"--port", link, "prog"});
  EXPECT_EQ(prog.status, 0) << prog.err;
  EXPECT_EQ(prog.out.rfind("Urządzenia w trybie programowania (2):\n", 0), 0u) << prog.out;
  EXPECT_NE(prog.out.find("\n1.1.5 (po "), std::string::npos) << prog.out;
  EXPECT_NE(prog.out.find("\n1.1.6 (po "), std::string::npos) << prog.out;
  EXPECT_EQ(prog.out.find("1.1.7"), std::string::npos) << prog.out;

  bus.command("prog 1 off");
  bus.command("prog 2 off");
  const CliResult none = runCli({"--port", link, "prog"});
  EXPECT_EQ(none.status, 1) << none.err;
  EXPECT_EQ(none.out, "Żadne urządzenie nie jest w trybie programowania.\n");
  EXPECT_EQ(bus.stop(), 0);
}

TEST(CliInspection, NoChipAnswersOnASilentLine) {
  // A pseudo-terminal whose far end reads nothing and answers nothing.
  int master = -1, slave = -1;
  char name[256] = {};
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  ::close(slave);
  TempDir dir;
  const CliResult test = runCli({"--port", name, "--config-dir", dir.path(), "test"});
  ::close(master);
  EXPECT_EQ(test.status, 1) << test.err;
  EXPECT_EQ(test.out.rfind(std::string("Żaden układ interfejsu nie odpowiedział na porcie COM1 (") + name + ")", 0), 0u)
      << test.out;
}

TEST(CliInspection, MonitorDecodesFramesUntilStopped) {
  TempDir dir;
  const std::string link = dir.file("com1");
  // WE1 of the device sends to 0/0/1.
  BusProcess bus({link}, {"--device", "1.1.5", "--memory", "0020:0001"});
  ASSERT_TRUE(bus.waitReady()) << bus.child().output();
  ChildProcess monitor({KOLVARO_CLI_EXECUTABLE, "--port", link, "--config-dir", dir.path(), "monitor"});
  ASSERT_TRUE(monitor.waitForOutput("kolvaro-cli: nasłuch magistrali (Ctrl-C kończy)\n", 5s)) << monitor.output();
  bus.command("press 1 1");
  bus.command("release 1 1");
  EXPECT_TRUE(monitor.waitForOutput("[BC 11 05 00 01 E1 00 80 37]", 5s)) << monitor.output();
  // Worked out by hand: the frame's checksum is the complement of the bytes' exclusive or.
  EXPECT_NE(monitor.output().find("1.1.5 -> 0/0/1 zapis wartości grupy: zał., priorytet niski, licznik 6, suma "
                                  "poprawna  [BC 11 05 00 01 E1 00 81 36]\n"),
            std::string::npos)
      << monitor.output();
  EXPECT_NE(monitor.output().find("1.1.5 -> 0/0/1 zapis wartości grupy: wył., "), std::string::npos)
      << monitor.output();
  EXPECT_EQ(monitor.stop(), 0) << "SIGTERM ends the monitor cleanly: " << monitor.output();
  EXPECT_EQ(bus.stop(), 0);
}

// The raw bytes of every line of a log that holds one "[..]" each: the frames in order.
std::vector<std::string> bracketed(const std::string& log, const std::string& lineMark) {
  std::vector<std::string> found;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const auto open = line.rfind('[');
    const auto close = line.rfind(']');
    if (line.find(lineMark) == std::string::npos || open == std::string::npos || close < open) continue;
    found.push_back(line.substr(open + 1, close - open - 1));
  }
  return found;
}

// A few hundred frames of every kind, back to back, repetitions among them: the monitor
// shows each frame the bus carried, once and in order.
TEST(CliInspection, MonitorShowsEveryFrameInOrder) {
  TempDir dir;
  const std::string link = dir.file("com1");
  // Idle bus time skipped: the frames come as fast as the line carries them.
  BusProcess bus({link}, {"--station", "1.1.200", "--fast"});
  ASSERT_TRUE(bus.waitReady()) << bus.child().output();
  ChildProcess monitor({KOLVARO_CLI_EXECUTABLE, "--port", link, "--config-dir", dir.path(), "monitor"});
  ASSERT_TRUE(monitor.waitForOutput("kolvaro-cli: nasłuch magistrali (Ctrl-C kończy)\n", 5s)) << monitor.output();

  const char* const kinds[] = {
      "BC11%02X0%03XE1008%X",         // group write of one bit
      "BC11%02X0%03XE20080%02X",      // group write of one byte
      "B011%02X11C86442410%03X%02X",  // memory answer, system priority, to the station
      "B011%02X11C863430%03X%02X",    // another individual service, system priority
  };
  std::string last;
  for (int n = 0; n < 300; ++n) {
    char frame[64];
    // Every frame its own: its number in its destination, memory address or data.
    std::snprintf(frame, sizeof frame, kinds[n % 4], 1 + n % 250, n, n % 2);
    if (n % 5 == 4) frame[0] = frame[0] == 'B' ? '9' : frame[0];  // repeat flag clear: a repetition
    bus.command(std::string("inject ") + frame);
    last = frame;
  }
  std::string lastOnBus;
  for (std::size_t i = 0; i < last.size(); i += 2) lastOnBus += (i ? " " : "") + last.substr(i, 2);
  // Both logs are read while waiting: a full pipe would hold the simulator up.
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (!monitor.waitForOutput(lastOnBus, 100ms) && std::chrono::steady_clock::now() < deadline) bus.child().output();
  ASSERT_NE(monitor.output().find(lastOnBus), std::string::npos) << monitor.output();
  ASSERT_TRUE(bus.child().waitForOutput(lastOnBus, 10s));
  EXPECT_EQ(monitor.stop(), 0);
  EXPECT_EQ(bus.stop(), 0);

  const std::vector<std::string> onBus = bracketed(bus.child().output(), " ms  ");
  const std::vector<std::string> shown = bracketed(monitor.output(), "suma");
  EXPECT_GE(onBus.size(), 300u);
  EXPECT_EQ(shown, onBus);
  // Repetitions (repeat flag clear: control 9x) are marked as such.
  const auto repetitions = std::count_if(onBus.begin(), onBus.end(), [](const std::string& f) { return f[0] == '9'; });
  EXPECT_GT(repetitions, 0);
  EXPECT_EQ(bracketed(monitor.output(), "powtórzenie").size(), static_cast<std::size_t>(repetitions));
  EXPECT_EQ(monitor.output().find("bajty spoza ramek"), std::string::npos) << monitor.output();
}

}  // namespace
}  // namespace kolvaro::test
