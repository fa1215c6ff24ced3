// kolvaro-cli: the window's procedures without a window, for scripts and for machines
// without a display.
#include <iostream>

#include "cli/CliOptions.h"
#include "cli/CliWords.h"
#include "cli/Commands.h"
#include "kolvaro/Version.h"
#include "platform/SystemDirectory.h"

namespace {

// --config-dir's directory, looked for as the language is: before the line is parsed.
std::optional<std::string> configDirectoryOf(int argc, char* argv[]) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--config-dir") return std::string(argv[i + 1]);
  }
  return kolvaro::hostSystemDirectory();
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace kolvaro::cli;
  useLanguage(kolvaro::languageInForce(LanguageOptionOf(argc, argv), configDirectoryOf(argc, argv)));
  const Parsed parsed = ParseCommandLine(argc, argv);
  if (!parsed.error.empty()) {
    std::cerr << "kolvaro-cli: " << parsed.error << " (kolvaro-cli --help)\n";
    return status::BadInput;
  }
  const Options& options = parsed.options;
  if (options.version) {
    std::cout << "kolvaro-cli " << kolvaro::Version << '\n';
    return status::Done;
  }
  if (options.help) {
    std::cout << HelpText(options.command);
    return status::Done;
  }
  if (options.command.empty()) {
    std::cerr << HelpText("");
    return status::BadInput;
  }
  return RunCommand(options);
}
