// kolvaro-cli.exe under wine: its exit statuses, and a group switch through COM1 that
// kolvaro-bus logs (scripts/test-windows.sh puts it there).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace kolvaro {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The program's exit status; ~0u when it could not be started or did not end in time.
DWORD runCli(const std::string& arguments) {
  std::string command = "\"" KOLVARO_CLI_EXECUTABLE "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return ~0u;
  }
  DWORD status = ~0u;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &status);
  else
    TerminateProcess(process.hProcess, ~0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status;
}

std::size_t countIn(const std::string& path, const std::string& wanted) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const std::string log = text.str();
  std::size_t seen = 0;
  for (auto at = log.find(wanted); at != std::string::npos; at = log.find(wanted, at + 1)) ++seen;
  return seen;
}

TEST(WindowsCli, ExitStatusesAndWhatReachesTheBus) {
  const char* busLog = std::getenv("KOLVARO_TEST_BUS_LOG");
  ASSERT_TRUE(busLog && *busLog) << "COM1 needs a simulated chip: run scripts/test-windows.sh";
  struct Case {
    const char* arguments;
    DWORD status;
    const char* logged;  // a line kolvaro-bus prints for each frame this run puts on the bus
    std::size_t frames;
  };
  const Case cases[] = {
      {"--port COM1 switch 0/0/2 on", 0, "0/0/2 GroupValueWrite on", 4},
      {"--port COM1 switch 0/0/2 off", 0, "0/0/2 GroupValueWrite off", 4},
      // Nobody listens to 0/0/9: each of the four frames goes out once and is repeated three times.
      {"--port COM1 switch 0/0/9 on", 0, "0/0/9 GroupValueWrite on", 16},
      {"--no-such-option", 2, "GroupValueWrite", 0},
      {"--port COM1 switch 0/8/2 on", 2, "GroupValueWrite", 0},  // no such group: nothing sent
      {"--port COM1 write Z:\\no\\such\\file.json --yes", 2, "GroupValueWrite", 0},
      {"--port COM9 switch 0/0/2 on", 3, "GroupValueWrite", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const std::size_t before = countIn(busLog, c.logged);
    EXPECT_EQ(runCli(c.arguments), c.status);
    // The frames are on the bus before the program ends; the log may trail by a moment.
    const auto end = Clock::now() + 5s;
    while (countIn(busLog, c.logged) < before + c.frames && Clock::now() < end) Sleep(10);
    EXPECT_EQ(countIn(busLog, c.logged), before + c.frames);
  }
}

}  // namespace
}  // namespace kolvaro
