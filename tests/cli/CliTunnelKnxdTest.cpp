// kolvaro-cli through a real tunnelling server: knxd in front of kolvaro-bus's chip on a
// pseudo-terminal. knxd's server joins IP multicast even with routing off, so the test
// makes a network namespace of its own first (needs root) with only loopback and a
// multicast route on it; knxd, kolvaro-bus and kolvaro-cli all run inside it.
#include <gtest/gtest.h>
#include <sched.h>

#include "CliRun.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

const std::string Example = std::string(KOLVARO_SOURCE_DIR) + "/docs/configuration-example.json";

bool run(const std::vector<std::string>& argv) {
  ChildProcess child(argv);
  return child.started() && child.waitExit(5s) == 0;
}

TEST(CliTunnelKnxd, WriteReadVerifySwitchAndListThroughKnxd) {
  ASSERT_TRUE(pathExists("/usr/bin/knxd")) << "knxd is needed (scripts/install-deps.sh)";
  ASSERT_EQ(::unshare(CLONE_NEWNET), 0) << "a network namespace of our own needs root";
  ASSERT_TRUE(run({"ip", "link", "set", "lo", "up"}));
  ASSERT_TRUE(run({"ip", "link", "set", "lo", "multicast", "on"}));
  ASSERT_TRUE(run({"ip", "route", "add", "224.0.0.0/4", "dev", "lo", "src", "127.0.0.1"}));

  TempDir dir;
  const std::string link = dir.file("knxd-chip");
  BusProcess bus({link}, {"--device", "1.1.5,prog"});
  ASSERT_TRUE(bus.waitReady()) << bus.child().output();
  ChildProcess knxd({"knxd", "-e", "0.0.1", "-E", "0.0.2:8", "-T", "-S", ":3671", "-b", "tpuarts:" + link});
  ASSERT_TRUE(knxd.started());

  auto cli = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--config-dir", dir.path(), "--tunnel", "127.0.0.1"});
    return runCli(arguments);
  };
  // knxd says nothing when it is ready: the interface test is asked until it answers.
  CliResult test;
  for (const auto end = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < end;) {
    test = cli({"test"});
    if (test.status == 0 || !knxd.running()) break;
  }
  ASSERT_EQ(test.status, 0) << test.out << test.err << knxd.output();
  EXPECT_NE(test.out.find("Interfejs KNXnet/IP 127.0.0.1:3671: kanał "), std::string::npos) << test.out;

  const CliResult write = cli({"write", Example, "--yes"});
  EXPECT_EQ(write.status, 0) << write.err;
  const CliResult read = cli({"read", "--json"});
  EXPECT_EQ(read.status, 0) << read.err;
  for (const char* value : {R"("physical_address": "1.1.5")", R"("WY2": "off-delay")", R"("input_mode": "bistable")"})
    EXPECT_NE(read.out.find(value), std::string::npos) << value << "\n" << read.out;
  EXPECT_EQ(cli({"verify", Example}).status, 0);
  EXPECT_EQ(cli({"switch", "0/0/2", "on"}).status, 0);
  EXPECT_TRUE(bus.child().waitForOutput("-> 0/0/2 GroupValueWrite on", 5s)) << bus.child().output();
  const CliResult prog = cli({"prog"});
  EXPECT_EQ(prog.status, 0);
  EXPECT_NE(prog.out.find("1.1.5 (po "), std::string::npos) << prog.out;

  EXPECT_TRUE(knxd.running()) << knxd.output();
  knxd.stop();
  EXPECT_EQ(bus.stop(), 0);
}

}  // namespace
}  // namespace kolvaro::test
