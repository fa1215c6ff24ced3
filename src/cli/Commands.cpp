#include "cli/Commands.h"

#include <iostream>
#include <variant>

#include "cli/BusInspection.h"
#include "cli/ChipConnection.h"
#include "cli/CliFace.h"
#include "cli/CliPlatform.h"
#include "cli/CliWords.h"
#include "cli/ProgressLine.h"
#include "cli/TunnelConnection.h"
#include "config/ConfigurationFile.h"
#include "config/DeviceSession.h"
#include "link/PortPaths.h"
#include "platform/HostSerialPorts.h"
#include "platform/SystemDirectory.h"
#ifndef _WIN32
#include "platform/SerialLinePosix.h"
#endif

namespace kolvaro::cli {
namespace {

// One line on standard error for input that cannot be used.
int badInput(const std::string& line) {
  std::cerr << "kolvaro-cli: " << line << '\n';
  return status::BadInput;
}

int refused(const std::string& line) {
  std::cerr << "kolvaro-cli: " << line << '\n';
  return status::Refused;
}

// Our own address when --local does not give one.
constexpr std::uint16_t DefaultLocalAddress = 0xFFFE;  // 15.15.254

// The own address --local gives, or the line that says it is not an address.
std::variant<std::uint16_t, std::string> localAddress(const Options& options) {
  if (!options.local) return DefaultLocalAddress;
  const auto address = PhysicalAddressFromWords(*options.local);
  if (!address) {
    return say(
        CoreText(KOLVARO_TRANSLATABLE(
                     "Kolvaro", "--local %1: oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)"))
            .arg(*options.local));
  }
  return *address;
}

// What the device session builds its telegrams from: our address and the configuration given.
SessionValues valuesOf(std::uint16_t local, const std::optional<DeviceConfiguration>& configuration) {
  SessionValues values;
  values.local = local;
  if (!configuration) return values;
  values.device = configuration->physicalAddress;
  for (std::size_t entry = 0; entry < configuration->groups.size(); ++entry) {
    values.table[2 * entry] = configuration->groups[entry][0];
    values.table[2 * entry + 1] = configuration->groups[entry][1];
  }
  values.programs = configuration->programs;
  values.inputMode = configuration->inputMode;
  return values;
}

// Everything a command on the bus needs: the platform installed, the chip's connection
// on the chosen port or the tunnel to an IP interface, and the device session on it,
// answered from the options.
class BusCommand {
 public:
  BusCommand(const Options& options, std::uint16_t local, const std::optional<DeviceConfiguration>& configuration = {},
             Stages stages = {})
      : options_(options),
        progress_(ProgressLine::standardErrorIsTerminal()),
        platform_(options.port, options.configDirectory, progress_),
        installed_(platform_),
        connection_(local),
        face_(progress_, valuesOf(local, configuration), stages),
        session_(options.tunnel ? static_cast<BusRequests&>(tunnel_.client()) : connection_.exchange(), face_) {}

  // The port opened or the tunnel made; else one line that names the device (or the
  // server) and the cause, and false. A port that never opened is closed quietly too:
  // the window's port boxes are not the command's to show.
  bool openPort() {
    if (options_.tunnel) return openTunnel();
    platform_.setQuiet(true);
    if (!connection_.openPort()) {
      const ChosenPorts& ports = platform_.chosenPorts();
      const std::string device =
          ports.lastPathTried().empty() ? options_.port.value_or("COM1..COM4") : ports.lastPathTried();
      std::string line = say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie można otworzyć portu %1")).arg(device));
      if (ports.lastFailure().failed()) line += ": " + ports.lastFailure().text();
      std::cerr << "kolvaro-cli: " << line << '\n';
      return false;
    }
    platform_.setQuiet(false);
    for (const std::string& kept : platform_.takeKeptLines()) std::cerr << kept << '\n';
    return true;
  }
  // The line settled (or the tunnel's last confirmation in and the tunnel closed) and
  // the bar's line ended.
  void finish() {
    if (options_.tunnel) {
      tunnel_.client().settle();
      lost_ = !tunnel_.client().connected();
      tunnel_.client().disconnect();
    } else {
      connection_.settle();
    }
    progress_.interrupt();
  }
  // The tunnel went down during the command: one line that says why.
  bool tunnelLost() {
    if (!lost_) return false;
    std::cerr << "kolvaro-cli: " << say(tunnel_.client().lostReason()) << '\n';
    return true;
  }

  DeviceSession& session() { return session_; }
  ChipConnection& connection() { return connection_; }
  TunnelClient* tunnel() { return options_.tunnel ? &tunnel_.client() : nullptr; }

 private:
  bool openTunnel() {
    const auto target = ParseTunnelTarget(*options_.tunnel);
    const CoreText failure = target ? tunnel_.open(*target) : CoreText();
    if (!failure.empty() || !target) {
      std::cerr << "kolvaro-cli: "
                << say(CoreText(
                           KOLVARO_TRANSLATABLE("Kolvaro", "nie można połączyć się z interfejsem KNXnet/IP %1: %2"))
                           .arg(*options_.tunnel)
                           .arg(failure))
                << '\n';
      // The interface test says what to check, as it does for a connection that went.
      if (options_.command == "test")
        std::cout << say(InterfaceTestReport(tunnel_.client().testInterface(), {}, {})) << '\n';
      return false;
    }
    face_.setLocal(tunnel_.client().assignedAddress());
    tunnel_.client().setObserver(&userRows_);
    return true;
  }

  // The tunnel's rows meant for the user, one line each on standard error.
  struct UserRows : ExchangeObserver {
    void exchangeEvent(const ExchangeEvent& event) override {
      if (event.kind == ExchangeEvent::Kind::Tunnel && !event.ok) std::cerr << "kolvaro-cli: " << event.text << '\n';
    }
  } userRows_;

  const Options& options_;
  ProgressLine progress_;
  CliPlatform platform_;
  ScopedPlatform installed_;
  ChipConnection connection_;
  TunnelConnection tunnel_;
  bool lost_ = false;
  CliFace face_;
  DeviceSession session_;
};

// Runs a command on the bus: its own address checked, the port opened, then `run`.
template <typename Run>
int onBus(const Options& options, const std::optional<DeviceConfiguration>& configuration, Stages stages, Run&& run) {
  if (options.tunnel && options.local) {
    return badInput(
        say(KOLVARO_TRANSLATABLE("Kolvaro", "--local i --tunnel razem: adres własny w tunelu nadaje serwer")));
  }
  if (options.tunnel && options.port) return badInput("--port i --tunnel razem: wybierz jedno z nich");
  if (options.tunnel && !ParseTunnelTarget(*options.tunnel))
    return badInput("--tunnel " + *options.tunnel + ": oczekiwano HOST albo HOST:PORT (port 1-65535)");
  const auto local = localAddress(options);
  if (const auto* problem = std::get_if<std::string>(&local)) return badInput(*problem);
  BusCommand command(options, std::get<std::uint16_t>(local), configuration, stages);
  if (!command.openPort()) return status::PortFailed;
  const int result = run(command);
  return command.tunnelLost() ? status::PortFailed : result;
}

// The arguments and options a command accepts.
std::string misuse(const Options& o, std::size_t argumentCount, bool writeOptions, bool readOptions) {
  if (o.arguments.size() != argumentCount) {
    return say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: oczekiwano %2 argumentów (kolvaro-cli %1 --help)"))
                   .arg(o.command)
                   .arg(static_cast<std::int64_t>(argumentCount)));
  }
  if (!writeOptions && (o.yes || o.only)) {
    return say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: opcje --yes i --only dotyczą tylko polecenia write"))
                   .arg(o.command));
  }
  if (!readOptions && (o.json || o.output)) {
    return say(
        CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: opcje --json i -o dotyczą tylko polecenia read")).arg(o.command));
  }
  return {};
}

std::variant<DeviceConfiguration, int> loadFile(const std::string& path) {
  ParsedConfiguration parsed = LoadConfigurationFile(path);
  if (const auto* problem = std::get_if<FileProblem>(&parsed)) return badInput(path + ": " + say(problem->text()));
  return std::get<DeviceConfiguration>(parsed);
}

int ports(const Options& options) {
  ProgressLine progress(false);
  CliPlatform cliPlatform(std::nullopt, options.configDirectory, progress);
  const ScopedPlatform installed(cliPlatform);
  const std::optional<std::string> directory = cliPlatform.systemDirectory();
  const PortPaths paths = directory ? readPortPaths(pathInDirectory(*directory, "dcb.ini")) : PortPaths{};
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) {
#ifdef _WIN32
    const std::string device = name;
#else
    const std::string device = devicePathOf(name, paths);
#endif
    LineError failure;
    const bool opens = hostSerialPorts().open(name, paths, failure) != nullptr;
    std::cout << name << "  " << device << "  "
              << say(opens ? KOLVARO_TRANSLATABLE("Kolvaro", "można otworzyć")
                           : KOLVARO_TRANSLATABLE("Kolvaro", "nie można otworzyć"))
              << '\n';
  }
  return status::Done;
}

void printConfiguration(const DeviceConfiguration& c) {
  std::cout << PhysicalAddressKey << ": " << PhysicalAddressWords(c.physicalAddress) << '\n';
  for (int entry = 0; entry < TableEntryCount; ++entry) {
    std::cout << GroupEntryKey(entry) << ": " << GroupWords(c.groups[static_cast<std::size_t>(entry)]) << '\n';
  }
  for (int output = 0; output < 2; ++output) {
    std::cout << ProgramsKey << "." << Outputs[output] << ": "
              << ProgramWord(c.programs[static_cast<std::size_t>(output)]) << '\n';
  }
  std::cout << InputModeKey << ": " << InputModeWord(c.inputMode) << '\n';
}

int read(const Options& options) {
  return onBus(options, std::nullopt, {}, [&](BusCommand& command) {
    const ReadResult result = command.session().read();
    command.finish();
    if (!result.complete()) return refused(say(KOLVARO_TRANSLATABLE("Kolvaro", "odczyt nie powiódł się")));
    if (options.output) {
      const CoreText why = SaveConfigurationFile(*options.output, result.found);
      if (!why.empty()) return badInput(say(why));
    }
    if (options.json)
      std::cout << FormatConfiguration(result.found);
    else if (!options.output)
      printConfiguration(result.found);
    return status::Done;
  });
}

int write(const Options& options) {
  if (!options.yes && !options.only)
    return badInput(
        say(KOLVARO_TRANSLATABLE("Kolvaro", "write: podaj --yes albo --only ETAPY (kolvaro-cli write --help)")));
  Stages stages{true, true, true, true};
  if (!options.yes) {
    stages = *options.only;
    if ((stages.programs && !stages.groups) || (stages.inputs && !stages.programs)) {
      return badInput(say(KOLVARO_TRANSLATABLE(
          "Kolvaro",
          "write --only: odpowiedź Nie kończy zapis, więc programs wymaga groups, a inputs wymaga programs")));
    }
  }
  const auto file = loadFile(options.arguments[0]);
  if (const int* failure = std::get_if<int>(&file)) return *failure;

  return onBus(options, std::get<DeviceConfiguration>(file), stages, [](BusCommand& command) {
    const WriteResult result = command.session().write();
    command.finish();
    return result.failed() ? refused(say(KOLVARO_TRANSLATABLE("Kolvaro", "zapis nie powiódł się"))) : status::Done;
  });
}

int verify(const Options& options) {
  const auto file = loadFile(options.arguments[0]);
  if (const int* failure = std::get_if<int>(&file)) return *failure;

  const DeviceConfiguration& expected = std::get<DeviceConfiguration>(file);
  return onBus(options, std::nullopt, {}, [&](BusCommand& command) {
    const Verification result = command.session().verify(expected);
    command.finish();
    if (!result.deviceRead)
      return refused(say(KOLVARO_TRANSLATABLE("Kolvaro", "odczyt nie powiódł się, niczego nie porównano")));
    for (const Difference& difference : result.differences) std::cout << say(DifferenceLine(difference)) << '\n';
    if (!result.matches()) {
      return refused(say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "element różni się od pliku w %1 pozycjach"))
                             .arg(static_cast<std::int64_t>(result.differences.size()))));
    }
    std::cout << say(KOLVARO_TRANSLATABLE("Kolvaro", "zgodny: element zawiera konfigurację z pliku")) << '\n';
    return status::Done;
  });
}

int switchGroup(const Options& options) {
  const std::string& groupText = options.arguments[0];
  const std::string& value = options.arguments[1];
  const auto group = GroupFromWords(groupText);
  if (!group || groupText == NoGroupWord) {
    return badInput(
        say(CoreText(KOLVARO_TRANSLATABLE(
                         "Kolvaro", "switch %1: oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255)"))
                .arg(groupText)));
  }
  if (value != "on" && value != "off") {
    return badInput(
        say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "switch: oczekiwano on albo off, jest %1")).arg(value)));
  }

  return onBus(options, std::nullopt, {}, [&](BusCommand& command) {
    const SwitchResult result = command.session().switchGroup(*group, value == "on");
    command.finish();
    return result == SwitchResult::Sent
               ? status::Done
               : refused(say(KOLVARO_TRANSLATABLE("Kolvaro", "nie udało się wysłać telegramu")));
  });
}

// The commands that only look at the bus: the port opened, then the inspection.
template <int (*Inspect)(const Options&, BusCommand&)>
int inspect(const Options& options) {
  return onBus(options, std::nullopt, {}, [&](BusCommand& command) {
    const int result = Inspect(options, command);
    command.finish();
    return result;
  });
}

int interfaceTest(const Options& options, BusCommand& command) {
  if (command.tunnel()) return TunnelTestCommand(command.session());
  return TestInterfaceCommand(options, command.session(), command.connection());
}
int programmingMode(const Options&, BusCommand& command) { return ProgrammingModeCommand(command.session()); }
int monitor(const Options&, BusCommand& command) {
  if (TunnelClient* tunnel = command.tunnel()) return TunnelMonitorCommand(*tunnel);
  return MonitorCommand(command.connection());
}

}  // namespace

int RunCommand(const Options& options) {
  struct Entry {
    const char* name;
    std::size_t arguments;
    bool writeOptions, readOptions;
    int (*run)(const Options&);
  };
  static const Entry Entries[] = {
      {"ports", 0, false, false, ports},
      {"read", 0, false, true, read},
      {"write", 1, true, false, write},
      {"verify", 1, false, false, verify},
      {"switch", 2, false, false, switchGroup},
      {"test", 0, false, false, inspect<interfaceTest>},
      {"prog", 0, false, false, inspect<programmingMode>},
      {"monitor", 0, false, false, inspect<monitor>},
  };
  for (const Entry& entry : Entries) {
    if (options.command != entry.name) continue;
    const std::string problem = misuse(options, entry.arguments, entry.writeOptions, entry.readOptions);
    if (!problem.empty()) return badInput(problem);
    return entry.run(options);
  }
  return badInput(say(
      CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nieznane polecenie %1 (kolvaro-cli --help)")).arg(options.command)));
}

}  // namespace kolvaro::cli
