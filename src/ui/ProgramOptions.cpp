#include "ui/ProgramOptions.h"

#include "ui/Language.h"

namespace kolvaro {

std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args, std::string& error) {
  ProgramOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::optional<std::string> language;
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--version") {
      options.version = true;
    } else if (a == "--language") {
      if (i + 1 >= args.size()) {
        error = "--language needs a value (pl or en)";
        return std::nullopt;
      }
      language = args[++i];
    } else if (a.rfind("--language=", 0) == 0) {
      language = a.substr(std::string("--language=").size());
    }
    if (language) {
      if (!languageNamed(*language)) {
        error = "unknown language '" + *language + "' (pl or en)";
        return std::nullopt;
      }
      options.language = language;
    }
  }
  return options;
}

std::string programUsage() {
  return R"(Usage: kolvaro [--language pl|en] [Qt options]

Configures an EIB bus device with two binary inputs and two switching outputs
over a serial port and a bus interface chip.

  --language pl|en   the window's language: Polish unless this option, the variable
                     KOLVARO_LANGUAGE or the menu Konfiguracja > Język says English
                     (the option wins; the system's language does not count)
  --version          the program's version
  --help             this text
)";
}

}  // namespace kolvaro
