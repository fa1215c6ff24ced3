#pragma once
// kolvaro's own command-line options. They are read before the application object
// exists, so that --version and --help work without a display; every other argument
// is left to Qt (-platform, -style, ...).
#include <optional>
#include <string>
#include <vector>

namespace kolvaro {

struct ProgramOptions {
  bool help = false;
  bool version = false;
  std::optional<std::string> language;  // "pl" or "en", as given to --language
};

// Reads the arguments (without the program name). A --language without a value, or
// with one that names neither language, is an error: nothing is returned and error says why.
std::optional<ProgramOptions> parseProgramOptions(const std::vector<std::string>& args, std::string& error);
std::string programUsage();

}  // namespace kolvaro
