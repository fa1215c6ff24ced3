#pragma once
// The command line of kolvaro-cli: one command, its arguments and the options, in any
// order ("write FILE --yes" as well as "--yes write FILE").
#include <optional>
#include <string>
#include <vector>

namespace kolvaro::cli {

// Exit statuses, distinct for scripts.
namespace status {
inline constexpr int Done = 0;
inline constexpr int Refused = 1;     // the bus or the device said no, or verification differs
inline constexpr int BadInput = 2;    // bad command line or bad file
inline constexpr int PortFailed = 3;  // the port could not be opened, or the tunnel not made or kept
}  // namespace status

// The write's stages that a question guards, in the order the write asks them. A No
// ends the write, so only a leading run of them can be answered Yes.
struct Stages {
  bool address = false;  // go on when the wanted address is already taken
  bool groups = false;
  bool programs = false;
  bool inputs = false;
};

struct Options {
  std::string command;                 // empty: none given
  std::vector<std::string> arguments;  // after the command
  std::optional<std::string> port;     // "COM1".."COM4" or a device path
  std::optional<std::string> local;    // own physical address, "15.15.254" form
  std::optional<std::string> tunnel;   // an IP interface, "HOST[:PORT]", instead of a port
  std::optional<std::string> configDirectory;
  std::optional<std::string> language;  // "pl" or "en"
  bool yes = false;
  std::optional<Stages> only;
  bool json = false;
  std::optional<std::string> output;
  bool help = false;
  bool version = false;
};

// The options, or the one line that says what is wrong with the command line.
struct Parsed {
  Options options;
  std::string error;
};
Parsed ParseCommandLine(int argc, char* argv[]);

// The --language option's value, looked for before the command line is parsed, so that
// a fault in the line is already reported in that language.
std::optional<std::string> LanguageOptionOf(int argc, char* argv[]);

// The usage text: of the program without a command, else of that command.
std::string HelpText(const std::string& command);
bool IsCommand(const std::string& name);

}  // namespace kolvaro::cli
