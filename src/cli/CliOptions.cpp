#include "cli/CliOptions.h"

#include <getopt.h>

#include <cstring>
#include <sstream>

#include "cli/CliWords.h"
#include "platform/Translatable.h"

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
  LanguageOption,
  TunnelOption,
};

const option LongOptions[] = {
    {"port", required_argument, nullptr, PortOption},
    {"local", required_argument, nullptr, LocalOption},
    {"tunnel", required_argument, nullptr, TunnelOption},
    {"config-dir", required_argument, nullptr, ConfigDirOption},
    {"language", required_argument, nullptr, LanguageOption},
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
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Porty COM1..COM4: urządzenie, które każdy z nich oznacza (dcb.ini, sekcja \"COM ports\"),\n"
                          "i czy można go teraz otworzyć.\n")},
    {"test", "test",
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Test interfejsu: pyta układ interfejsu o stan i podaje jego bity stanu słowami albo\n"
                          "to, że żaden układ nie odpowiedział (status 1), z tym, co sprawdzić.\n")},
    {"prog", "prog",
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Wszystkie elementy w trybie programowania, po adresie fizycznym: rozsyła odczyt\n"
                          "adresu i przez kilka sekund zbiera odpowiedzi. Status 1, gdy żaden nie odpowiedział.\n")},
    {"read", KOLVARO_TRANSLATABLE("Kolvaro", "read [--json] [-o PLIK]"),
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Odczytuje konfigurację elementu w trybie programowania procedurą przycisku Odczyt\n"
                          "(adres fizyczny, tablica adresów grupowych, programy WY1/WY2, tryb wejść; pytania\n"
                          "procedury otrzymują odpowiedź Tak).\n"
                          "  --json         wypisuje konfigurację jako plik konfiguracji (na standardowe wyjście)\n"
                          "  -o, --output PLIK  zapisuje ją do pliku konfiguracji (atomowo)\n"
                          "Bez --json i -o wypisuje ją w wierszach \"klucz: wartość\".\n")},
    {"write", KOLVARO_TRANSLATABLE("Kolvaro", "write PLIK (--yes | --only ETAPY)"),
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Zapisuje konfigurację z pliku do elementu w trybie programowania procedurą przycisku\n"
                          "Zapis. Plik jest sprawdzany w całości, zanim cokolwiek trafi na magistralę.\n"
                          "  -y, --yes      odpowiada Tak na każde pytanie procedury\n"
                          "  --only ETAPY   odpowiada Tak tylko dla wymienionych etapów (po przecinku):\n"
                          "                 address   zapis mimo zajętego adresu fizycznego\n"
                          "                 groups    tablica adresów grupowych\n"
                          "                 programs  programy WY1 i WY2\n"
                          "                 inputs    tryb pracy wejść\n"
                          "                 Odpowiedź Nie kończy zapis, jak w oknie: programs wymaga groups,\n"
                          "                 inputs wymaga programs.\n")},
    {"verify", KOLVARO_TRANSLATABLE("Kolvaro", "verify PLIK"),
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Odczytuje element w trybie programowania procedurą przycisku Odczyt i porównuje go\n"
                          "z plikiem pozycja po pozycji (oczekiwano / odczytano). Status 0: zgodny, 1: różny\n"
                          "albo odczyt się nie powiódł.\n")},
    {"switch", KOLVARO_TRANSLATABLE("Kolvaro", "switch GRUPA on|off"),
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Załącza (on) lub wyłącza (off) grupę, np. 0/0/2, jak przyciski Załącz grupę /\n"
                          "Wyłącz grupę.\n")},
    {"monitor", "monitor",
     KOLVARO_TRANSLATABLE("Kolvaro",
                          "Wypisuje każdą ramkę z magistrali, zdekodowaną, wiersz po wierszu, aż do Ctrl-C\n"
                          "(SIGINT) lub SIGTERM; niczego nie wysyła.\n")},
};

const char GlobalHelp[] =
    KOLVARO_TRANSLATABLE("Kolvaro",
                         "Opcje ogólne:\n"
                         "  -p, --port PORT        COM1..COM4 albo ścieżka urządzenia (domyślnie: najniższy\n"
                         "                         wolny port COM1..COM4, jak w oknie)\n"
                         "      --tunnel HOST[:PORT]  przez interfejs KNXnet/IP (tunel, port domyślnie 3671)\n"
                         "                         zamiast portu; adres własny nadaje serwer (bez --local)\n"
                         "  -l, --local ADRES      własny adres fizyczny programu (domyślnie 15.15.254)\n"
                         "      --config-dir KAT   katalog z plikiem dcb.ini (domyślnie ten sam co okna)\n"
                         "      --language JĘZYK   pl albo en (domyślnie: KOLVARO_LANGUAGE, potem wybór z okna\n"
                         "                         zapisany w dcb.ini, potem pl)\n"
                         "  -h, --help             pomoc (także: kolvaro-cli POLECENIE --help)\n"
                         "  -V, --version          wersja programu\n"
                         "\n"
                         "Status wyjścia: 0 wykonano; 1 magistrala lub element odmówiły (brak elementu, kilka\n"
                         "elementów w trybie programowania, adres zajęty bez zgody, konfiguracja różna);\n"
                         "2 błędny wiersz poleceń lub plik; 3 nie można otworzyć portu albo połączyć się\n"
                         "z interfejsem KNXnet/IP, lub połączenie zostało zerwane.\n");

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
      error = say(CoreText(KOLVARO_TRANSLATABLE(
                               "Kolvaro", "--only: nieznany etap \"%1\" (znane: address, groups, programs, inputs)"))
                      .arg(item));
      return std::nullopt;
    }
  }
  if (!any) {
    error = say(KOLVARO_TRANSLATABLE("Kolvaro", "--only: brak etapów (address, groups, programs, inputs)"));
    return std::nullopt;
  }
  return stages;
}

}  // namespace

bool IsCommand(const std::string& name) { return find(name) != nullptr; }

std::string HelpText(const std::string& command) {
  std::string text;
  if (const CommandHelp* help = find(command)) {
    text = say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Użycie: kolvaro-cli [opcje ogólne] %1"))
                   .arg(say(help->synopsis))) +
           "\n\n" + say(help->text) + "\n";
  } else {
    text = say(KOLVARO_TRANSLATABLE("Kolvaro",
                                    "Użycie: kolvaro-cli [opcje ogólne] POLECENIE [argumenty]\n\n"
                                    "Konfiguracja elementu magistralnego (wejścia WE1/WE2, wyjścia WY1/WY2) bez okna:\n"
                                    "te same procedury co w oknie programu kolvaro.\n\nPolecenia:\n"));
    for (const CommandHelp& c : Commands) text += "  " + say(c.synopsis) + "\n";
    text += "\n";
  }
  return text + say(GlobalHelp);
}

Parsed ParseCommandLine(int argc, char* argv[]) {
  Parsed parsed;
  Options& options = parsed.options;
  opterr = 0;  // the one line on stderr is ours
  optind = 0;  // 0: getopt starts afresh, forgetting a scan left inside clustered short options
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
      case LanguageOption: options.language = optarg; break;
      case VersionOption: options.version = true; break;
      case ':':
        parsed.error = say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "opcja %1 wymaga wartości")).arg(nameOf(optopt)));
        return parsed;
      default:
        // optopt names an unknown short option; an unknown long one is the word just read.
        parsed.error = say(
            CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nieznana opcja %1"))
                .arg(optopt != 0 ? "-" + std::string(1, static_cast<char>(optopt)) : std::string(argv[optind - 1])));
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

std::optional<std::string> LanguageOptionOf(int argc, char* argv[]) {
  std::optional<std::string> language;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) break;
    if (std::strcmp(argv[i], "--language") == 0 && i + 1 < argc) language = argv[i + 1];
    if (std::strncmp(argv[i], "--language=", 11) == 0) language = argv[i] + 11;
  }
  return language;
}

}  // namespace kolvaro::cli
