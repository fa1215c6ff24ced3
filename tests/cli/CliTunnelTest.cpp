// kolvaro-cli through kolvaro-bus's simulated IP interface: the example file written,
// verified, a group switched and the programming-mode list, then each fault switch of
// the interface with what the user sees of it (exit status, the lines on standard
// error or output) and what went on the bus.
#include <gtest/gtest.h>

#include <regex>

#include "CliRun.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

const std::string Example = std::string(KOLVARO_SOURCE_DIR) + "/docs/configuration-example.json";

// kolvaro-bus with a device in programming mode behind its IP interface; the port it took.
class TunnelBus {
 public:
  explicit TunnelBus(const std::vector<std::string>& faults) : bus_({}, arguments(faults)) {}
  std::string target() {
    if (!bus_.child().waitForOutput("tunnel server on 127.0.0.1:", 5s)) return "none";
    std::smatch port;
    const std::string& out = bus_.child().output();
    std::regex_search(out, port, std::regex("tunnel server on (127\\.0\\.0\\.1:[0-9]+)"));
    return port[1];
  }
  std::string log() { return bus_.child().output(); }
  void command(const std::string& line) { bus_.command(line); }
  int stop() { return bus_.stop(); }

 private:
  static std::vector<std::string> arguments(const std::vector<std::string>& faults) {
    std::vector<std::string> a{"--tunnel-server", "127.0.0.1:0", "--device", "1.1.5,prog"};
    for (const std::string& fault : faults) a.insert(a.end(), {"--tunnel-fault", fault});
    return a;
  }
  BusProcess bus_;
};

std::size_t count(const std::string& text, const std::string& needle) {
  std::size_t n = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

TEST(CliTunnel, WriteVerifySwitchListAndTestThroughTheSimulatedInterface) {
  TempDir dir;
  TunnelBus bus({});
  const std::string target = bus.target();
  auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--config-dir", dir.path(), "--tunnel", target});
    return runCli(arguments);
  };
  const CliResult write = run({"write", Example, "--yes"});
  EXPECT_EQ(write.status, 0) << write.err;
  EXPECT_NE(write.err.find("Proces konfiguracji trybu pracy wejść zakończony"), std::string::npos) << write.err;
  const CliResult verify = run({"verify", Example});
  EXPECT_EQ(verify.status, 0) << verify.err;
  EXPECT_EQ(verify.out, "zgodny: element zawiera konfigurację z pliku\n");
  EXPECT_EQ(run({"switch", "0/0/2", "on"}).status, 0);
  const CliResult prog = run({"prog"});
  EXPECT_EQ(prog.out,
            "Urządzenia w trybie programowania (1):\n1.1.5 (po " + prog.out.substr(prog.out.find("(po ") + 4));
  const CliResult test = run({"test"});
  EXPECT_EQ(test.status, 0);
  EXPECT_NE(test.out.find("Interfejs KNXnet/IP " + target + ": kanał 5, przydzielony adres 15.15.240."),
            std::string::npos)
      << test.out;
  // The frames carry the tunnel's address, which the device answers to.
  EXPECT_NE(bus.log().find("15.15.240 -> 0/0/2 GroupValueWrite on"), std::string::npos) << bus.log();
  EXPECT_NE(bus.log().find("1.1.5 -> 15.15.240 MemoryResponse"), std::string::npos);
  EXPECT_EQ(run({"--local", "1.1.1", "test"}).status, 2);
  EXPECT_EQ(bus.stop(), 0);
}

struct FaultCase {
  const char* fault;
  std::vector<std::string> command;
  int status;
  std::vector<std::string> said;  // on standard output or error, each
  std::string onBus;              // a line of the bus log, if any
  std::size_t timesOnBus;         // how often it is there
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.fault; }

class CliTunnelFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CliTunnelFault, WhatTheUserSees) {
  const FaultCase& c = GetParam();
  TempDir dir;
  TunnelBus bus(c.fault[0] ? std::vector<std::string>{c.fault} : std::vector<std::string>{});
  std::vector<std::string> arguments{"--config-dir", dir.path(), "--tunnel", bus.target()};
  arguments.insert(arguments.end(), c.command.begin(), c.command.end());
  const auto start = std::chrono::steady_clock::now();
  const CliResult result = runCli(arguments);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  EXPECT_EQ(result.status, c.status) << result.out << result.err;
  for (const std::string& words : c.said)
    EXPECT_NE((result.out + result.err).find(words), std::string::npos) << words << "\n" << result.out << result.err;
  if (!c.onBus.empty()) {
    EXPECT_EQ(count(bus.log(), c.onBus), c.timesOnBus) << bus.log();
  }
  EXPECT_EQ(bus.stop(), 0);
}

const std::vector<std::string> Write{"write", Example, "--yes"};
const std::string Transmission = "[Kolvaro] Wystąpił problem podczas transmisji danych";

INSTANTIATE_TEST_SUITE_P(
    Faults, CliTunnelFault,
    ::testing::Values(
        // A write is not refused for it: an address write never confirmed is sent twice more.
        FaultCase{"negative-confirm", Write, 0, {"trybu pracy wejść zakończony"}, "IndividualAddressWrite", 3},
        // The repeat is taken once: one address check on the bus, one device found.
        FaultCase{"lose-ack", Write, 0, {"trybu pracy wejść zakończony"}, "MemoryRead 1 byte at 0000", 1},
        FaultCase{"lose-ack-always",
                  {"switch", "0/0/2", "on"},
                  3,
                  {Transmission, "zerwane: serwer nie potwierdził żądania ani jego powtórzenia"},
                  "tunnel: ack of request 0 lost",
                  2},
        // Each group write waits for the confirmation of the one before.
        FaultCase{"late-confirm=2000", {"switch", "0/0/2", "on"}, 0, {}, "GroupValueWrite on  [BC", 4},
        FaultCase{"no-connect-answer",
                  {"test"},
                  3,
                  {"nie można połączyć się z interfejsem KNXnet/IP",
                   "nie odpowiedział na prośbę o połączenie w ciągu 10 s", "Sprawdź: adres i port interfejsu"},
                  "",
                  0},
        FaultCase{"refuse-connect", {"read"}, 3, {"odmówił połączenia: brak wolnych połączeń na serwerze"}, "", 0},
        FaultCase{"no-heartbeat-answer", {"test"}, 1, {"Serwer nie odpowiedział na pytanie o stan połączenia."}, "", 0},
        FaultCase{"end-after=2", Write, 3, {Transmission, "zerwane: serwer zakończył połączenie"}, "", 0},
        // Requests that come twice, or with a wrong number, are not taken as a second device.
        FaultCase{"repeat-sequence", Write, 0, {"trybu pracy wejść zakończony"}, "IndividualAddressResponse", 1},
        FaultCase{"out-of-order-sequence", Write, 0, {"trybu pracy wejść zakończony"}, "IndividualAddressResponse", 1}),
    [](const ::testing::TestParamInfo<FaultCase>& param) {
      std::string name = param.param.fault;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(CliTunnel, MonitorPrintsWhatTheInterfacePassesOn) {
  TempDir dir;
  TunnelBus bus({});
  ChildProcess monitor({KOLVARO_CLI_EXECUTABLE, "--config-dir", dir.path(), "--tunnel", bus.target(), "monitor"});
  ASSERT_TRUE(monitor.waitForOutput("nasłuch magistrali", 15s)) << monitor.output();
  bus.command("inject BC11050002E10081");
  EXPECT_TRUE(monitor.waitForOutput("[BC 11 05 00 02 E1 00 81 ", 5s)) << monitor.output();
  EXPECT_EQ(monitor.stop(), 0);
  EXPECT_TRUE(bus.log().find("tunnel: disconnected by the client") != std::string::npos) << bus.log();
  EXPECT_EQ(bus.stop(), 0);
}

TEST(CliTunnel, TheTunnelsOwnAddressIsTakenAndSaidSo) {
  TempDir dir;
  std::string file = readFile(Example);
  file.replace(file.find("\"1.1.5\""), 7, "\"15.15.240\"");
  writeFile(dir.file("own.json"), file);
  TunnelBus bus({});
  const CliResult write =
      runCli({"--config-dir", dir.path(), "--tunnel", bus.target(), "write", dir.file("own.json"), "--only", "groups"});
  EXPECT_EQ(write.status, 1);
  EXPECT_NE(write.err.find("kolvaro-cli: adres 15.15.240 jest zajęty: serwer 127.0.0.1:"), std::string::npos)
      << write.err;
  EXPECT_NE(write.err.find("jest już zajęty przez terminal sieci EIB. Czy przeprowadzić procedurę konfiguracji "
                           "pomimo tego? -> Nie"),
            std::string::npos)
      << write.err;
  EXPECT_EQ(bus.log().find("-> 15.15.240 MemoryRead"), std::string::npos) << "nothing for our own address on the bus";
  EXPECT_EQ(bus.stop(), 0);
}

TEST(CliTunnel, NoServerAtTheAddressEndsWithinTwentySecondsInWords) {
  TempDir dir;
  const auto start = std::chrono::steady_clock::now();
  const CliResult result = runCli({"--config-dir", dir.path(), "--tunnel", "127.0.0.1:9", "read", "--json"});
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  EXPECT_EQ(result.status, 3);
  EXPECT_NE(result.err.find("nie można połączyć się z interfejsem KNXnet/IP 127.0.0.1:9"), std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace kolvaro::test
