// A full configuration write through the simulated IP interface against the same write
// through the simulated serial chip, on one kolvaro-bus in one run (kolvaro-cli both
// times, the same file, the same device): the wall time of each, alternating, their
// medians and ratio. Then the CPU time kolvaro-cli takes while it holds a tunnel and the
// bus is idle (its monitor, listening), as a share of one core.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/BusProcess.h"
#include "support/RecordingPlatform.h"

namespace {

using namespace std::chrono_literals;
using kolvaro::test::BusProcess;
using kolvaro::test::ChildProcess;
using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One kolvaro-cli run; its wall time in seconds, or a negative number when it failed.
double timedRun(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{KOLVARO_CLI_EXECUTABLE};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const auto start = Clock::now();
  ChildProcess cli(argv);
  const auto status = cli.waitExit(120s);
  const double taken = seconds(Clock::now() - start);
  if (status != 0) {
    std::fprintf(stderr, "failed (%d): %s\n", status.value_or(-1), cli.output().c_str());
    return -1;
  }
  return taken;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// User and system time of a process so far, in seconds (from /proc).
double cpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i == 14 || i == 15) ticks += std::stol(field);
  return static_cast<double>(ticks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const auto idleTime = std::chrono::seconds(argc > 2 ? std::max(1, std::atoi(argv[2])) : 30);
  kolvaro::test::TempDir dir;
  const std::string link = dir.file("com1");
  const std::string file = std::string(KOLVARO_SOURCE_DIR) + "/docs/configuration-example.json";
  BusProcess bus({link}, {"--tunnel-server", "127.0.0.1:0", "--device", "1.1.5,prog", "--quiet"});
  if (!bus.waitReady() || !bus.child().waitForOutput("tunnel server on", 5s)) {
    std::fprintf(stderr, "kolvaro-bus did not start: %s\n", bus.child().output().c_str());
    return 1;
  }
  std::smatch port;
  const std::string out = bus.child().output();
  std::regex_search(out, port, std::regex("tunnel server on (127\\.0\\.0\\.1:[0-9]+)"));
  const std::string target = port[1];

  std::vector<double> serial, tunnel;
  for (int round = 0; round < rounds; ++round) {
    const double s = timedRun({"--config-dir", dir.path(), "--port", link, "write", file, "--yes"});
    const double t = timedRun({"--config-dir", dir.path(), "--tunnel", target, "write", file, "--yes"});
    if (s < 0 || t < 0) return 1;
    serial.push_back(s);
    tunnel.push_back(t);
    std::printf("round %d: serial chip %.3f s, IP tunnel %.3f s\n", round + 1, s, t);
  }
  const double ms = median(serial), mt = median(tunnel);
  std::printf("full write, median of %d: serial chip %.3f s, IP tunnel %.3f s, ratio %.3f\n", rounds, ms, mt, mt / ms);

  // Connected and idle: the monitor holds the tunnel and waits for frames that do not come.
  ChildProcess monitor({KOLVARO_CLI_EXECUTABLE, "--config-dir", dir.path(), "--tunnel", target, "monitor"});
  if (!monitor.waitForOutput("nasłuch magistrali", 15s)) {
    std::fprintf(stderr, "monitor did not start: %s\n", monitor.output().c_str());
    return 1;
  }
  const double cpuStart = cpuSeconds(monitor.pid());
  const auto wallStart = Clock::now();
  ::sleep(static_cast<unsigned>(idleTime.count()));
  const double cpu = cpuSeconds(monitor.pid()) - cpuStart;
  const double wall = seconds(Clock::now() - wallStart);
  std::printf("connected and idle for %.1f s: %.3f s CPU, %.3f %% of a core\n", wall, cpu, 100 * cpu / wall);
  monitor.stop();
  bus.stop();
  return 0;
}
