#include "cli/CliOptions.h"

#include <getopt.h>

#include <sstream>

namespace kolvaro::cli {
namespace {

enum OptionId {
  PortOption = 'p',
  LocalOption = 'l',
  YesOption = 'y',
  OutputOption = 'o',
  HelpOption = 'h',
  VersionOption = 'V',
  ConfigDirOption = 1000,
  OnlyOption,
  JsonOption,
  TunnelOption,
};

const option LongOptions[] = {
    {"port", required_argument, nullptr, PortOption},
    {"local", required_argument, nullptr, LocalOption},
    {"tunnel", required_argument, nullptr, TunnelOption},
    {"config-dir", required_argument, nullptr, ConfigDirOption},
    {"yes", no_argument, nullptr, YesOption},
    {"only", required_argument, nullptr, OnlyOption},
    {"json", no_argument, nullptr, JsonOption},
    {"output", required_argument, nullptr, OutputOption},
    {"help", no_argument, nullptr, HelpOption},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

struct CommandHelp {
  const char* name;
  const char* synopsis;
  const char* text;
};

const CommandHelp Commands[] = {
    {"ports", "ports",
     "Porty COM1..COM4: urządzenie, które każdy z nich oznacza (dcb.ini, sekcja \"COM ports\"),\n"
     "i czy można go teraz otworzyć.\n"},
    {"test", "test",
     "Test interfejsu: pyta układ interfejsu o stan i podaje jego bity stanu słowami albo\n"
     "to, że żaden układ nie odpowiedział (status 1), z tym, co sprawdzić.\n"},
    {"prog", "prog",
     "Wszystkie elementy w trybie programowania, po adresie fizycznym: rozsyła odczyt\n"
     "adresu i przez kilka sekund zbiera odpowiedzi. Status 1, gdy żaden nie odpowiedział.\n"},
    {"read", "read [--json] [-o PLIK]",
     "Odczytuje konfigurację elementu w trybie programowania procedurą przycisku Odczyt\n"
     "(adres fizyczny, tablica adresów grupowych, programy WY1/WY2, tryb wejść; pytania\n"
     "procedury otrzymują odpowiedź Tak).\n"
     "  --json         wypisuje konfigurację jako plik konfiguracji (na standardowe wyjście)\n"
     "  -o, --output PLIK  zapisuje ją do pliku konfiguracji (atomowo)\n"
     "Bez --json i -o wypisuje ją w wierszach \"klucz: wartość\".\n"},
    {"write", "write PLIK (--yes | --only ETAPY)",
     "Zapisuje konfigurację z pliku do elementu w trybie programowania procedurą przycisku\n"
     "Zapis. Plik jest sprawdzany w całości, zanim cokolwiek trafi na magistralę.\n"
     "  -y, --yes      odpowiada Tak na każde pytanie procedury\n"
     "  --only ETAPY   odpowiada Tak tylko dla wymienionych etapów (po przecinku):\n"
     "                 address   zapis mimo zajętego adresu fizycznego\n"
     "                 groups    tablica adresów grupowych\n"
     "                 programs  programy WY1 i WY2\n"
     "                 inputs    tryb pracy wejść\n"
     "                 Odpowiedź Nie kończy zapis, jak w oknie: programs wymaga groups,\n"
     "                 inputs wymaga programs.\n"},
    {"verify", "verify PLIK",
     "Odczytuje element w trybie programowania procedurą przycisku Odczyt i porównuje go\n"
     "z plikiem pozycja po pozycji (oczekiwano / odczytano). Status 0: zgodny, 1: różny\n"
     "albo odczyt się nie powiódł.\n"},
    {"switch", "switch GRUPA on|off",
     "Załącza (on) lub wyłącza (off) grupę, np. 0/0/2, jak przyciski Załącz grupę /\n"
     "Wyłącz grupę.\n"},
    {"monitor", "monitor",
     "Wypisuje każdą ramkę z magistrali, zdekodowaną, wiersz po wierszu, aż do Ctrl-C\n"
     "(SIGINT) lub SIGTERM; niczego nie wysyła.\n"},
};

const char GlobalHelp[] =
    "Opcje ogólne:\n"
    "  -p, --port PORT        COM1..COM4 albo ścieżka urządzenia (domyślnie: najniższy\n"
    "                         wolny port COM1..COM4, jak w oknie)\n"
    "      --tunnel HOST[:PORT]  przez interfejs KNXnet/IP (tunel, port domyślnie 3671)\n"
    "                         zamiast portu; adres własny nadaje serwer (bez --local)\n"
    "  -l, --local ADRES      własny adres fizyczny programu (domyślnie 15.15.254)\n"
    "      --config-dir KAT   katalog z plikiem dcb.ini (domyślnie ten sam co okna)\n"
    "  -h, --help             pomoc (także: kolvaro-cli POLECENIE --help)\n"
    "  -V, --version          wersja programu\n"
    "\n"
    "Status wyjścia: 0 wykonano; 1 magistrala lub element odmówiły (brak elementu, kilka\n"
    "elementów w trybie programowania, adres zajęty bez zgody, konfiguracja różna);\n"
    "2 błędny wiersz poleceń lub plik; 3 nie można otworzyć portu albo połączyć się\n"
    "z interfejsem KNXnet/IP, lub połączenie zostało zerwane.\n";

const CommandHelp* find(const std::string& name) {
  for (const CommandHelp& command : Commands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

// An option by its long name, as the help lists it.
std::string nameOf(int id) {
  for (const option& o : LongOptions) {
    if (o.name && o.val == id) return std::string("--") + o.name;
  }
  return "?";
}

std::optional<Stages> parseStages(const std::string& list, std::string& error) {
  Stages stages;
  std::istringstream items(list);
  std::string item;
  bool any = false;
  while (std::getline(items, item, ',')) {
    any = true;
    if (item == "address")
      stages.address = true;
    else if (item == "groups")
      stages.groups = true;
    else if (item == "programs")
      stages.programs = true;
    else if (item == "inputs")
      stages.inputs = true;
    else {
      error = "--only: nieznany etap \"" + item + "\" (znane: address, groups, programs, inputs)";
      return std::nullopt;
    }
  }
  if (!any) {
    error = "--only: brak etapów (address, groups, programs, inputs)";
    return std::nullopt;
  }
  return stages;
}

}  // namespace

bool IsCommand(const std::string& name) { return find(name) != nullptr; }

std::string HelpText(const std::string& command) {
  std::string text;
  if (const CommandHelp* help = find(command)) {
    text = std::string("Użycie: kolvaro-cli [opcje ogólne] ") + help->synopsis + "\n\n" + help->text + "\n";
  } else {
    text =
        "Użycie: kolvaro-cli [opcje ogólne] POLECENIE [argumenty]\n\n"
        "Konfiguracja elementu magistralnego (wejścia WE1/WE2, wyjścia WY1/WY2) bez okna:\n"
        "te same procedury co w oknie programu kolvaro.\n\nPolecenia:\n";
    for (const CommandHelp& c : Commands) text += std::string("  ") + c.synopsis + "\n";
    text += "\n";
  }
  return text + GlobalHelp;
}

Parsed ParseCommandLine(int argc, char* argv[]) {
  Parsed parsed;
  Options& options = parsed.options;
  opterr = 0;  // the one line on stderr is ours
  optind = 1;
  for (;;) {
    const int id = getopt_long(argc, argv, ":p:l:yo:hV", LongOptions, nullptr);
    if (id == -1) break;
    switch (id) {
      case PortOption: options.port = optarg; break;
      case LocalOption: options.local = optarg; break;
      case TunnelOption: options.tunnel = optarg; break;
      case ConfigDirOption: options.configDirectory = optarg; break;
      case YesOption: options.yes = true; break;
      case OnlyOption:
        options.only = parseStages(optarg, parsed.error);
        if (!options.only) return parsed;
        break;
      case JsonOption: options.json = true; break;
      case OutputOption: options.output = optarg; break;
      case HelpOption: options.help = true; break;
      case VersionOption: options.version = true; break;
      case ':': parsed.error = "opcja " + nameOf(optopt) + " wymaga wartości"; return parsed;
      default:
        // optopt names an unknown short option; an unknown long one is the word just read.
        parsed.error = "nieznana opcja " +
                       (optopt != 0 ? "-" + std::string(1, static_cast<char>(optopt)) : std::string(argv[optind - 1]));
        return parsed;
    }
  }
  for (int i = optind; i < argc; ++i) {
    if (options.command.empty())
      options.command = argv[i];
    else
      options.arguments.emplace_back(argv[i]);
  }
  return parsed;
}

}  // namespace kolvaro::cli
