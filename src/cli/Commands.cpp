#include "cli/Commands.h"

#include <iostream>
#include <variant>

#include "cli/BusInspection.h"
#include "cli/CliPlatform.h"
#include "cli/ProgressLine.h"
#include "cli/TerminalView.h"
#include "config/ConfigurationFile.h"
#include "config/GroupSwitching.h"
#include "config/ProcedureSupport.h"
#include "config/Verification.h"
#include "config/WriteProcedure.h"
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

// Everything a command on the bus needs: the platform installed, the view with the own
// address from --local.
class Session {
 public:
  explicit Session(const Options& options)
      : options_(options),
        progress_(ProgressLine::standardErrorIsTerminal()),
        platform_(options.port, options.configDirectory, progress_),
        installed_(platform_),
        view_(progress_) {}

  // False (with the line said) when --local is not an address.
  bool setOwnAddress(std::string& problem) {
    if (!options_.local) return true;
    const auto address = PhysicalAddressFromWords(*options_.local);
    if (!address) {
      problem =
          "--local " + *options_.local + ": oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)";
      return false;
    }
    view_.setFieldText(Field::Local_phAddr, PhysicalValueToText(*address));
    view_.runValidation();
    return true;
  }

  bool openPort() {
    const bool opened = view_.openPort();
    progress_.interrupt();
    return opened;
  }
  // The line settled, the bar's line ended, and the outcome of the run: an error box
  // not answered Yes fails it.
  bool runFailed() {
    view_.settle();
    progress_.interrupt();
    return platform_.failed();
  }

  TerminalView& view() { return view_; }
  CliPlatform& platform() { return platform_; }

 private:
  const Options& options_;
  ProgressLine progress_;
  CliPlatform platform_;
  ScopedPlatform installed_;
  TerminalView view_;
};

int portFailed(const Options& options) {
  std::cerr << "kolvaro-cli: nie można otworzyć portu " << options.port.value_or("COM1..COM4") << '\n';
  return status::PortFailed;
}

// The arguments and options a command accepts.
std::string misuse(const Options& o, std::size_t argumentCount, bool writeOptions, bool readOptions) {
  if (o.arguments.size() != argumentCount) {
    return o.command + ": oczekiwano " + std::to_string(argumentCount) + " argumentów (kolvaro-cli " + o.command +
           " --help)";
  }
  if (!writeOptions && (o.yes || o.only)) return o.command + ": opcje --yes i --only dotyczą tylko polecenia write";
  if (!readOptions && (o.json || o.output)) return o.command + ": opcje --json i -o dotyczą tylko polecenia read";
  return {};
}

std::variant<DeviceConfiguration, int> loadFile(const std::string& path) {
  ParsedConfiguration parsed = LoadConfigurationFile(path);
  if (const auto* problem = std::get_if<FileProblem>(&parsed)) return badInput(path + ": " + problem->message());
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
    std::cout << name << "  " << device << "  " << (opens ? "można otworzyć" : "nie można otworzyć") << '\n';
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
  Session session(options);
  std::string problem;
  if (!session.setOwnAddress(problem)) return badInput(problem);
  if (!session.openPort()) return portFailed(options);
  const std::optional<DeviceConfiguration> found = ReadDeviceConfiguration(session.view());
  if (session.runFailed() || !found) return refused("odczyt nie powiódł się");
  if (options.output) {
    const CoreText why = SaveConfigurationFile(*options.output, *found);
    if (!why.empty()) return badInput(why.polish());
  }
  if (options.json)
    std::cout << FormatConfiguration(*found);
  else if (!options.output)
    printConfiguration(*found);
  return status::Done;
}

int write(const Options& options) {
  if (!options.yes && !options.only) return badInput("write: podaj --yes albo --only ETAPY (kolvaro-cli write --help)");
  Stages stages{true, true, true, true};
  if (!options.yes) {
    stages = *options.only;
    if ((stages.programs && !stages.groups) || (stages.inputs && !stages.programs)) {
      return badInput(
          "write --only: odpowiedź Nie kończy zapis, więc programs wymaga groups, a inputs wymaga programs");
    }
  }
  const auto file = loadFile(options.arguments[0]);
  if (const int* failure = std::get_if<int>(&file)) return *failure;

  Session session(options);
  std::string problem;
  if (!session.setOwnAddress(problem)) return badInput(problem);
  ApplyConfigurationToView(session.view(), std::get<DeviceConfiguration>(file));
  if (!session.openPort()) return portFailed(options);
  session.platform().forceTakenAddress = stages.address;
  session.platform().answers = {stages.groups, stages.programs, stages.inputs};
  WriteClick(session.view());
  if (session.runFailed()) return refused("zapis nie powiódł się");
  return status::Done;
}

int verify(const Options& options) {
  const auto file = loadFile(options.arguments[0]);
  if (const int* failure = std::get_if<int>(&file)) return *failure;

  Session session(options);
  std::string problem;
  if (!session.setOwnAddress(problem)) return badInput(problem);
  if (!session.openPort()) return portFailed(options);
  const Verification result = VerifyDevice(session.view(), std::get<DeviceConfiguration>(file));
  if (session.runFailed() || !result.deviceRead) return refused("odczyt nie powiódł się, niczego nie porównano");
  for (const Difference& difference : result.differences) std::cout << DifferenceLine(difference).polish() << '\n';
  if (!result.matches()) {
    return refused("element różni się od pliku w " + std::to_string(result.differences.size()) + " pozycjach");
  }
  std::cout << "zgodny: element zawiera konfigurację z pliku\n";
  return status::Done;
}

int switchGroup(const Options& options) {
  const std::string& groupText = options.arguments[0];
  const std::string& value = options.arguments[1];
  const auto group = GroupFromWords(groupText);
  if (!group || groupText == NoGroupWord) {
    return badInput("switch " + groupText + ": oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255)");
  }
  if (value != "on" && value != "off") return badInput("switch: oczekiwano on albo off, jest " + value);

  Session session(options);
  std::string problem;
  if (!session.setOwnAddress(problem)) return badInput(problem);
  session.view().setFieldText(Field::OnOffGroup, GroupBytesToText((*group)[0], (*group)[1]));
  session.view().runValidation();
  if (!session.openPort()) return portFailed(options);
  if (value == "on")
    OnGroupClick(session.view());
  else
    OffGroupClick(session.view());
  // The switching shows no box; a full bar means the telegram went out.
  if (session.runFailed() || session.view().progressPosition() != ProgressMaximum) {
    return refused("nie udało się wysłać telegramu");
  }
  return status::Done;
}

// The commands that only look at the bus: the port opened, then the inspection.
template <int (*Inspect)(const Options&, TerminalView&)>
int inspect(const Options& options) {
  Session session(options);
  std::string problem;
  if (!session.setOwnAddress(problem)) return badInput(problem);
  if (!session.openPort()) return portFailed(options);
  const int result = Inspect(options, session.view());
  if (session.runFailed()) return status::Refused;
  return result;
}

int interfaceTest(const Options& options, TerminalView& view) { return TestInterfaceCommand(options, view); }
int programmingMode(const Options&, TerminalView& view) { return ProgrammingModeCommand(view); }
int monitor(const Options&, TerminalView& view) { return MonitorCommand(view); }

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
  return badInput("nieznane polecenie " + options.command + " (kolvaro-cli --help)");
}

}  // namespace kolvaro::cli
