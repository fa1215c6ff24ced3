// kolvaro-cli end to end on kolvaro-bus through a pseudo-terminal: a file written,
// read back, verified, and a changed device found out; bad files that never reach the
// bus; several devices in programming mode; the exit statuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <variant>

#include "CliRun.h"
#include "config/ConfigurationFile.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

const char FileText[] = R"({
  "format": "kolvaro-device-configuration",
  "version": 1,
  "room": "1.12",
  "physical_address": "1.2.10",
  "groups": {
    "WE1": ["0/0/1", "none"],
    "WE2": ["1/2/3", "0/0/7"],
    "WY1": ["0/0/2", "none"],
    "WY2": ["15/7/255", "2/1/45"]
  },
  "programs": {"WY1": "on-delay", "WY2": "off-delay"},
  "input_mode": "bistable"
}
)";
// The same table as the device's memory 0x20..0x2F, worked out by hand.
const char TableHex[] = "0001FFFF0A0300070002FFFF7FFF112D";
// The write's last frame, the input mode 1, as kolvaro-bus logs its raw bytes.
const char InputModeFrame[] = "[BC FF FE 12 0A 64 42 81 00 FF 01 ";

class CliBus : public ::testing::Test {
 protected:
  void start(const std::vector<std::string>& scene) {
    // dcb.ini is looked for where the window looks: here, in a directory of our own.
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    bus_ = std::make_unique<BusProcess>(std::vector<std::string>{link()}, scene);
    ASSERT_TRUE(bus_->waitReady()) << bus_->child().output();
    writeFile(dir_.file("f.json"), FileText);
  }
  void TearDown() override {
    if (bus_) {
      EXPECT_EQ(bus_->stop(), 0);
    }
  }
  std::string link() const { return dir_.file("com1"); }
  // The global option every run gets: our link.
  std::vector<std::string> cli(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"--port", link()});
    return arguments;
  }
  std::string memoryTable() {
    const std::string memory = jsonField(dumpDevice(*bus_, 1), "memory");
    return memory.size() == 514 ? memory.substr(1 + 2 * 0x20, 32) : "no dump: " + memory;
  }

  TempDir dir_;
  std::unique_ptr<BusProcess> bus_;
};

TEST_F(CliBus, WriteReadVerifyAndAChangedDevice) {
  start({"--device", "1.1.5,prog"});

  const CliResult write = runCli(cli({"write", dir_.file("f.json"), "--yes"}));
  ASSERT_EQ(write.status, 0) << write.err;
  EXPECT_NE(write.err.find("[Informacja] Proces konfiguracji trybu pracy wejść zakończony"), std::string::npos)
      << write.err;
  EXPECT_EQ(write.err.find('\r'), std::string::npos) << "no bar when standard error is not a terminal";
  ASSERT_TRUE(bus_->child().waitForOutput(InputModeFrame, 5s)) << bus_->child().output();
  const std::string state = dumpDevice(*bus_, 1);
  EXPECT_EQ(jsonField(state, "address"), "\"1.2.10\"") << state;
  EXPECT_EQ(memoryTable(), TableHex);
  EXPECT_EQ(jsonField(state, "programs"), "[1,2]") << state;
  EXPECT_EQ(jsonField(state, "inputMode"), "1") << state;

  const CliResult read = runCli(cli({"read", "--json"}));
  ASSERT_EQ(read.status, 0) << read.err;
  const ParsedConfiguration back = ParseConfiguration(read.out);
  ASSERT_TRUE(std::holds_alternative<DeviceConfiguration>(back)) << read.out;
  DeviceConfiguration expected = std::get<DeviceConfiguration>(ParseConfiguration(FileText));
  expected.room.clear();  // the installer's note lives in the file, not in the device
  EXPECT_EQ(std::get<DeviceConfiguration>(back), expected) << read.out;

  // Without --port the read finds the port through the window's dcb.ini, and also
  // through one in --config-dir.
  std::filesystem::create_directories(dir_.file("kolvaro"));
  writeFile(dir_.file("kolvaro/dcb.ini"), "[COM ports]\r\nCOM1=" + link() + "\r\n");
  writeFile(dir_.file("dcb.ini"), "[COM ports]\r\nCOM1=" + link() + "\r\n");
  const CliResult lines = runCli({"read"});
  ASSERT_EQ(lines.status, 0) << lines.err;
  EXPECT_NE(lines.out.find("physical_address: 1.2.10\ngroups.WE1[0]: 0/0/1\ngroups.WE1[1]: none\n"), std::string::npos)
      << lines.out;
  EXPECT_NE(lines.out.find("programs.WY2: off-delay\ninput_mode: bistable\n"), std::string::npos) << lines.out;
  const CliResult saved = runCli({"--config-dir", dir_.path(), "read", "-o", dir_.file("read.json")});
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.out, "");
  EXPECT_EQ(readFile(dir_.file("read.json")), read.out) << "-o writes what --json prints";

  const CliResult same = runCli(cli({"verify", dir_.file("f.json")}));
  EXPECT_EQ(same.status, 0) << same.out << same.err;
  EXPECT_EQ(same.out, "zgodny: element zawiera konfigurację z pliku\n");

  // Another station rewrites the high byte of WY1's first entry: 0/0/2 becomes 0/5/2.
  bus_->command("inject BC0001120A644281002805");
  ASSERT_TRUE(bus_->child().waitForOutput("0.0.1 -> 1.2.10 MemoryWrite", 5s)) << bus_->child().output();
  const CliResult changed = runCli(cli({"verify", dir_.file("f.json")}));
  EXPECT_EQ(changed.status, 1) << changed.out << changed.err;
  EXPECT_EQ(changed.out, "groups.WY1[0]: oczekiwano 0/0/2, odczytano 0/5/2\n");
  EXPECT_NE(changed.err.find("kolvaro-cli: element różni się od pliku w 1 pozycjach"), std::string::npos)
      << changed.err;
}

TEST_F(CliBus, BadFilesNeverReachTheBus) {
  start({"--device", "1.1.5,prog", "--memory", "0020:0001"});
  const std::string before = dumpDevice(*bus_, 1);
  ASSERT_FALSE(before.empty());
  const std::string valid = FileText;
  const struct {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"truncated", valid.substr(0, 60), "plik: to nie jest poprawny dokument JSON (błąd w bajcie 61)"},
      {"not JSON", "<config/>", "plik: to nie jest poprawny dokument JSON (błąd w bajcie 1)"},
      {"unknown version", "{\"format\": \"kolvaro-device-configuration\", \"version\": 7}",
       "version = 7: nieznana wersja formatu (znana: 1)"},
      {"address out of range",
       valid.substr(0, valid.find("1.2.10")) + "1.16.10" + valid.substr(valid.find("1.2.10") + 6),
       "physical_address = \"1.16.10\": oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)"},
      {"wrong type", valid.substr(0, valid.find("\"bistable\"")) + "true\n}\n", "input_mode = true: oczekiwano tekstu"},
      {"missing entry", valid.substr(0, valid.find(",\n  \"input_mode\"")) + "\n}\n", "input_mode: brak klucza"},
      {"extra key", "{\"floor\": 2}", "floor = 2: nieznany klucz"},
  };
  for (const auto& c : cases) {
    const std::string path = dir_.file("bad.json");
    writeFile(path, c.text);
    const std::size_t logBefore = bus_->child().output().size();
    for (const char* command : {"write", "verify"}) {
      std::vector<std::string> arguments = {command, path};
      if (std::string(command) == "write") arguments.push_back("--yes");
      const CliResult run = runCli(cli(arguments));
      EXPECT_EQ(run.status, 2) << c.what << ' ' << command;
      EXPECT_EQ(run.err, "kolvaro-cli: " + path + ": " + c.message + "\n") << c.what << ' ' << command;
    }
    EXPECT_EQ(bus_->child().output().size(), logBefore) << c.what << ": nothing went over the bus";
  }
  EXPECT_EQ(dumpDevice(*bus_, 1), before);
}

// Two devices in programming mode, whatever the priority of their answers and in either
// order: the write stops before the address, the read at its own message.
TEST_F(CliBus, TwoDevicesInProgrammingModeStopWriteAndRead) {
  const std::vector<std::vector<std::string>> scenes = {
      {"--device", "1.1.5,prog", "--device", "1.1.6,prog"},
      {"--device", "15.15.255,prog", "--device", "1.1.9,prog,system"},
      {"--device", "1.1.9,prog,system", "--device", "15.15.255,prog"},
  };
  for (const auto& scene : scenes) {
    for (const char* command : {"write", "read"}) {
      const std::string name = std::string(command) + " with " + scene[1] + " and " + scene[3];
      start(scene);
      const CliResult run =
          runCli(cli(command == std::string("write") ? std::vector<std::string>{"write", dir_.file("f.json"), "--yes"}
                                                     : std::vector<std::string>{"read"}));
      EXPECT_EQ(run.status, 1) << name << run.err;
      EXPECT_NE(run.err.find("[Informacja] W sieci istnieje kilka terminali znajdujących się obecnie w trybie "
                             "programowania."),
                std::string::npos)
          << name << run.err;
      EXPECT_EQ(bus_->child().output().find("IndividualAddressWrite"), std::string::npos) << name;
      const std::string first = scene[1].substr(0, scene[1].find(','));
      const std::string second = scene[3].substr(0, scene[3].find(','));
      EXPECT_EQ(jsonField(dumpDevice(*bus_, 1), "address"), "\"" + first + "\"") << name;
      EXPECT_EQ(jsonField(dumpDevice(*bus_, 2), "address"), "\"" + second + "\"") << name;
      EXPECT_EQ(bus_->stop(), 0);
      bus_.reset();
    }
  }
}

TEST_F(CliBus, ExitStatusesAndLines) {
  start({"--device", "1.1.5,prog"});
  const std::string file = dir_.file("f.json");
  const struct {
    std::vector<std::string> arguments;
    int status;
    const char* err;  // the whole of standard error
  } cases[] = {
      {cli({"write", file}), 2, "kolvaro-cli: write: podaj --yes albo --only ETAPY (kolvaro-cli write --help)\n"},
      {cli({"write", file, "--only", "groups,inputs"}), 2,
       "kolvaro-cli: write --only: odpowiedź Nie kończy zapis, więc programs wymaga groups, a inputs wymaga "
       "programs\n"},
      {cli({"write", file, "--only", "tables"}), 2,
       "kolvaro-cli: --only: nieznany etap \"tables\" (znane: address, groups, programs, inputs) (kolvaro-cli "
       "--help)\n"},
      {cli({"switch", "0/8/2", "on"}), 2,
       "kolvaro-cli: switch 0/8/2: oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255)\n"},
      {cli({"switch", "0/0/2", "up"}), 2, "kolvaro-cli: switch: oczekiwano on albo off, jest up\n"},
      {cli({"--local", "1.1", "switch", "0/0/2", "on"}), 2,
       "kolvaro-cli: --local 1.1: oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)\n"},
      {cli({"read", "--yes"}), 2, "kolvaro-cli: read: opcje --yes i --only dotyczą tylko polecenia write\n"},
      {cli({"verify"}), 2, "kolvaro-cli: verify: oczekiwano 1 argumentów (kolvaro-cli verify --help)\n"},
      {cli({"erase"}), 2, "kolvaro-cli: nieznane polecenie erase (kolvaro-cli --help)\n"},
      {cli({"read", "--colour"}), 2, "kolvaro-cli: nieznana opcja --colour (kolvaro-cli --help)\n"},
      {cli({"read", "-o"}), 2, "kolvaro-cli: opcja --output wymaga wartości (kolvaro-cli --help)\n"},
      {cli({"read", "-x"}), 2, "kolvaro-cli: nieznana opcja -x (kolvaro-cli --help)\n"},
  };
  for (const auto& c : cases) {
    std::string line;
    for (const auto& a : c.arguments) line += a + " ";
    const CliResult run = runCli(c.arguments);
    EXPECT_EQ(run.status, c.status) << line << run.err;
    EXPECT_EQ(run.err, c.err) << line;
    EXPECT_EQ(run.out, "") << line;
  }

  // A port that cannot be opened: one line naming the device and the cause, none of
  // the window's port boxes.
  const CliResult noPort = runCli({"--port", dir_.file("missing"), "switch", "0/0/2", "on"});
  EXPECT_EQ(noPort.status, 3) << noPort.err;
  EXPECT_EQ(noPort.err, "kolvaro-cli: nie można otworzyć portu " + dir_.file("missing") +
                            ": open: No such file or directory (errno 2)\n");
  EXPECT_EQ(bus_->child().output().find(" ms  "), std::string::npos) << "no frame: " << bus_->child().output();
}

}  // namespace
}  // namespace kolvaro::test
