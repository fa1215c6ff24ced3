// kolvaro-cli's look at the bus on kolvaro-bus: the interface test, every device in
// programming mode by address, and the monitor that decodes frames until stopped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

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

}  // namespace
}  // namespace kolvaro::test
