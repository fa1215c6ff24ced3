// kolvaro-cli's help: every command has its own, the README shows each as the program
// prints it, and the version comes from the project's one version.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {
namespace {

TEST(CliHelp, EachCommandsHelpIsInTheReadmeAsPrinted) {
  const std::string readme = readFile(KOLVARO_SOURCE_DIR "/README.md");
  const CliResult general = runCli({"--help"});
  ASSERT_EQ(general.status, 0);
  EXPECT_EQ(general.out.rfind("Użycie: kolvaro-cli [opcje ogólne] POLECENIE [argumenty]\n", 0), 0u) << general.out;
  EXPECT_NE(readme.find("```\n" + general.out + "```"), std::string::npos) << "README lacks:\n" << general.out;
  const std::string globalPart = general.out.substr(general.out.find("Opcje ogólne:"));

  for (const char* command : {"ports", "test", "prog", "read", "write", "verify", "switch", "monitor"}) {
    const CliResult help = runCli({command, "--help"});
    ASSERT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.err, "") << command;
    EXPECT_EQ(help.out.rfind(std::string("Użycie: kolvaro-cli [opcje ogólne] ") + command, 0), 0u) << help.out;
    const std::size_t global = help.out.find("Opcje ogólne:");
    ASSERT_NE(global, std::string::npos) << help.out;
    EXPECT_EQ(help.out.substr(global), globalPart) << command;
    std::string own = help.out.substr(0, global);
    while (!own.empty() && own.back() == '\n') own.pop_back();
    EXPECT_NE(readme.find("```\n" + own + "\n```"), std::string::npos) << "README lacks:\n" << own;
    EXPECT_NE(general.out.find(own.substr(own.find("] ") + 2, own.find('\n') - own.find("] ") - 2)), std::string::npos)
        << "the general help lists " << command;
  }
}

// Polish unless English is asked for: the system's language does not count; the
// option, the environment and the window's choice kept in dcb.ini do, in that order.
TEST(CliHelp, PolishUnlessEnglishIsAsked) {
  struct Case {
    const char* name;
    const char* environment;  // KOLVARO_LANGUAGE, or none
    std::vector<std::string> option;
    const char* kept;  // in dcb.ini, or none
    bool english;
  };
  const Case cases[] = {
      {"an English system alone", nullptr, {}, nullptr, false},
      {"the environment", "en", {}, nullptr, true},
      {"the option", nullptr, {"--language", "en"}, nullptr, true},
      {"the option before the environment", "en", {"--language=pl"}, nullptr, false},
      {"the window's choice", nullptr, {}, "en", true},
      {"the environment before the window's choice", "pl", {}, "en", false},
  };
  ::setenv("LANG", "en_US.UTF-8", 1);
  for (const auto& c : cases) {
    TempDir dir;
    if (c.kept) writeFile(dir.file("dcb.ini"), std::string("[Language]\r\nLanguage=") + c.kept + "\r\n");
    if (c.environment)
      ::setenv("KOLVARO_LANGUAGE", c.environment, 1);
    else
      ::unsetenv("KOLVARO_LANGUAGE");
    std::vector<std::string> arguments{"--config-dir", dir.path()};
    arguments.insert(arguments.end(), c.option.begin(), c.option.end());
    auto with = [&](std::vector<std::string> more) {
      std::vector<std::string> all = arguments;
      all.insert(all.end(), more.begin(), more.end());
      return runCli(all);
    };
    const CliResult help = with({"--help"});
    EXPECT_EQ(help.out.rfind(c.english ? "Usage: kolvaro-cli [general options] COMMAND"
                                       : "Użycie: kolvaro-cli [opcje ogólne] POLECENIE",
                             0),
              0u)
        << c.name << "\n"
        << help.out;
    const CliResult unknown = with({"fly"});
    EXPECT_EQ(unknown.err, c.english ? "kolvaro-cli: unknown command fly (kolvaro-cli --help)\n"
                                     : "kolvaro-cli: nieznane polecenie fly (kolvaro-cli --help)\n")
        << c.name;
  }
  ::unsetenv("KOLVARO_LANGUAGE");
}

TEST(CliHelp, VersionAndNoCommand) {
  const CliResult version = runCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "kolvaro-cli " KOLVARO_VERSION "\n");
  const CliResult none = runCli({});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, runCli({"--help"}).out) << "without a command the usage goes to standard error";
}

}  // namespace
}  // namespace kolvaro::test
