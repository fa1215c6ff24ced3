// kolvaro-bus with a real peer: knxd on one link through its TP-UART driver, a host of
// ours on the other. knxd runs only with a unix socket and our pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <thread>

#include "sim/BusOptions.h"
#include "sim/Frame.h"
#include "support/BusProcess.h"
#include "support/RecordingPlatform.h"
#include "support/StreamRead.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;
using sim::Bytes;

// Our own host on a link: raw, non-blocking.
class RawHost {
 public:
  explicit RawHost(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    termios t{};
    if (fd_ >= 0 && tcgetattr(fd_, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(fd_, TCSANOW, &t);
    }
  }
  ~RawHost() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  void sendFrame(const Bytes& frame) {
    Bytes text;
    for (std::size_t i = 0; i < frame.size(); ++i) {
      text.push_back(static_cast<std::uint8_t>(0x80 + i));
      text.push_back(frame[i]);
    }
    text.push_back(static_cast<std::uint8_t>(0x40 + frame.size()));
    text.push_back(sim::checksumOf(frame.data(), frame.size()));
    ASSERT_EQ(::write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Reads until the bytes read end with `tail` (or the deadline passes).
  Bytes readThrough(const Bytes& tail, std::chrono::milliseconds deadline = 10s) {
    return readUntil(
        fd_,
        [&tail](const Bytes& got) {
          return got.size() >= tail.size() &&
                 std::equal(tail.begin(), tail.end(), got.end() - std::ptrdiff_t(tail.size()));
        },
        deadline);
  }
  Bytes readCount(std::size_t count) { return test::readCount(fd_, count, 10s); }
  Bytes readWaiting() { return test::readWaiting(fd_); }

 private:
  int fd_;
};

// The raw bytes of the first log line that shows `decoded`.
std::optional<Bytes> loggedBytes(const std::string& log, const std::string& decoded) {
  const auto at = log.find(decoded);
  if (at == std::string::npos) return std::nullopt;
  const auto open = log.find('[', at), close = log.find(']', at);
  if (open == std::string::npos || close == std::string::npos) return std::nullopt;
  return sim::parseHexBytes(log.substr(open + 1, close - open - 1));
}

TEST(SimKnxd, GroupWritesCrossBetweenKnxdAndOurHost) {
  ASSERT_TRUE(pathExists("/usr/bin/knxd") && pathExists("/usr/bin/knxtool"))
      << "knxd and knxd-tools are needed (scripts/install-deps.sh)";
  TempDir dir;
  const std::string hostLink = dir.file("host"), knxdLink = dir.file("knxd"), socket = dir.file("eib");
  BusProcess bus({hostLink, knxdLink}, {"--device", "1.1.5", "--memory", "0028:0002", "--memory", "002C:0003"});
  ASSERT_TRUE(bus.waitReady()) << bus.child().output();
  RawHost host(hostLink);
  ASSERT_TRUE(host.ok());

  ChildProcess knxd({"knxd", "-e", "0.0.1", "-E", "0.0.2:8", "-u", socket, "-b", "tpuart:" + knxdLink});
  ASSERT_TRUE(knxd.started());
  for (int i = 0; i < 100 && !pathExists(socket); ++i) std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(pathExists(socket)) << "knxd did not come up: " << knxd.output();
  host.readWaiting();  // whatever came before

  // knxd -> bus -> device and our host.
  ChildProcess write({"knxtool", "groupswrite", "local:" + socket, "0/0/2", "1"});
  ASSERT_EQ(write.waitExit(10s), 0) << write.output();
  ASSERT_TRUE(bus.child().waitForOutput("-> 0/0/2 GroupValueWrite on", 5s)) << bus.child().output();
  const auto onBus = loggedBytes(bus.child().output(), "-> 0/0/2 GroupValueWrite on");
  ASSERT_TRUE(onBus.has_value());
  Bytes seenByHost = host.readCount(onBus->size());
  const Bytes surplus = host.readWaiting();
  seenByHost.insert(seenByHost.end(), surplus.begin(), surplus.end());
  EXPECT_EQ(seenByHost, *onBus) << "our host sees the frame byte for byte, and nothing else";
  EXPECT_NE(bus.child().output().find("GroupValueWrite on  [" + sim::hexBytes(*onBus) + "]  ACK"), std::string::npos);
  bus.command("dump 1");
  EXPECT_TRUE(bus.child().waitForOutput("\"outputs\":[true,false]", 5s)) << bus.child().output();
  EXPECT_TRUE(knxd.running()) << knxd.output();

  // Our host -> bus -> knxd's bus monitor, decoded the same way.
  // The monitor prints no ready message: the frame goes out again until the monitor has
  // shown it (switching the output on twice leaves it on).
  ChildProcess monitor({"knxtool", "vbusmonitor1", "local:" + socket});
  const Bytes confirmed{0x8B};
  const auto giveUp = std::chrono::steady_clock::now() + 20s;
  bool monitored = false;
  while (!monitored && std::chrono::steady_clock::now() < giveUp && monitor.running()) {
    host.sendFrame({0xBC, 0x11, 0x0A, 0x00, 0x03, 0xE1, 0x00, 0x81});
    const Bytes echo = host.readThrough(confirmed);
    ASSERT_FALSE(echo.empty());
    EXPECT_EQ(echo.back(), 0x8B) << "the device on 0/0/3 acknowledged: positive confirmation";
    monitored = monitor.waitForOutput("from 1.1.10 to 0/0/3", 1s);
  }
  EXPECT_TRUE(monitored) << monitor.output();
  EXPECT_NE(monitor.output().find("BC 11 0A 00 03 E1 00 81 3B"), std::string::npos) << monitor.output();
  EXPECT_NE(monitor.output().find("A_GroupValue_Write (small) 01"), std::string::npos) << monitor.output();
  bus.command("dump 1");
  EXPECT_TRUE(bus.child().waitForOutput("\"outputs\":[true,true]", 5s)) << bus.child().output();

  EXPECT_TRUE(knxd.running()) << "knxd stayed up: " << knxd.output();
  monitor.stop();
  knxd.stop();
  EXPECT_EQ(bus.stop(), 0);
  EXPECT_FALSE(pathExists(hostLink)) << "kolvaro-bus removes its links";
  EXPECT_FALSE(pathExists(knxdLink));
}

}  // namespace
}  // namespace kolvaro::test
