// kolvaro-cli's group switching seen by a real peer: knxd on a second link of the same
// kolvaro-bus (its TP-UART driver on our pseudo-terminal, a unix socket only) decodes
// the group write, and the simulated device's WY1 follows it.
#include <gtest/gtest.h>

#include <thread>

#include "CliRun.h"
#include "support/RecordingPlatform.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

TEST(CliKnxd, SwitchIsDecodedByKnxdAndSwitchesWY1) {
  ASSERT_TRUE(pathExists("/usr/bin/knxd") && pathExists("/usr/bin/knxtool"))
      << "knxd and knxd-tools are needed (scripts/install-deps.sh)";
  TempDir dir;
  const std::string cliLink = dir.file("cli"), knxdLink = dir.file("knxd"), socket = dir.file("eib");
  BusProcess bus({cliLink, knxdLink}, {"--device", "1.1.5", "--memory", "0028:0002"});
  ASSERT_TRUE(bus.waitReady()) << bus.child().output();

  ChildProcess knxd({"knxd", "-e", "0.0.1", "-E", "0.0.2:8", "-u", socket, "-b", "tpuart:" + knxdLink});
  ASSERT_TRUE(knxd.started());
  for (int i = 0; i < 100 && !pathExists(socket); ++i) std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(pathExists(socket)) << "knxd did not come up: " << knxd.output();

  // The monitor prints no ready message: the switch is run again until the monitor has
  // shown it (switching on twice leaves WY1 on).
  ChildProcess monitor({"knxtool", "vbusmonitor1", "local:" + socket});
  bool monitored = false;
  for (int attempt = 0; attempt < 5 && !monitored && monitor.running(); ++attempt) {
    const CliResult run = runCli({"--port", cliLink, "--config-dir", dir.path(), "switch", "0/0/2", "on"});
    ASSERT_EQ(run.status, 0) << run.err;
    monitored = monitor.waitForOutput("from 15.15.254 to 0/0/2", 2s);
  }
  EXPECT_TRUE(monitored) << monitor.output();
  EXPECT_NE(monitor.output().find("A_GroupValue_Write (small) 01"), std::string::npos) << monitor.output();
  EXPECT_NE(bus.child().output().find("15.15.254 -> 0/0/2 GroupValueWrite on"), std::string::npos)
      << bus.child().output();
  EXPECT_EQ(jsonField(dumpDevice(bus, 1), "outputs"), "[true,false]");

  const CliResult off = runCli({"--port", cliLink, "--config-dir", dir.path(), "switch", "0/0/2", "off"});
  EXPECT_EQ(off.status, 0) << off.err;
  EXPECT_TRUE(monitor.waitForOutput("A_GroupValue_Write (small) 00", 5s)) << monitor.output();
  EXPECT_EQ(jsonField(dumpDevice(bus, 1), "outputs"), "[false,false]");

  EXPECT_TRUE(knxd.running()) << "knxd stayed up: " << knxd.output();
  monitor.stop();
  knxd.stop();
  EXPECT_EQ(bus.stop(), 0);
}

}  // namespace
}  // namespace kolvaro::test
