// The acknowledge of a frame for the program does not wait for the window's thread:
// while that thread is held inside an event handler, a frame for the program's own
// address still gets its 0x11 while it is coming in. Bytes that come while no exchange
// runs still wait for the next one, and a line that goes away during a wait ends the
// wait at its limit as before, the reader neither hanging nor holding it.
#include <gtest/gtest.h>

#include <QTimer>
#include <string>

#include "BusWindow.h"
#include "telegram/ExchangeTerms.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

TEST(Acknowledge, ComesWhileTheWindowsThreadIsHeldInAHandler) {
  BusWindow bus({"--ack-timing"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& window = bus.window();

  // The program's address as the user may have changed it between exchanges.
  const struct {
    std::uint16_t local;
    const char* frame;  // from 1.1.5 to the program, not the service awaited
  } cases[] = {{0xFFFE, "inject BC 1105 FFFE 61 01 40"}, {0x1101, "inject BC 1105 1101 61 01 40"}};
  int acksBefore = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    window.members().Local_phAddr = c.local;
    int acks = 0;
    QTimer::singleShot(0, &window, [&] {
      // Holds the window's thread until the simulator has seen the acknowledge, or long after.
      bus.command(c.frame);
      acks = bus.waitForLog("ack-timing", acksBefore + 1, 10s);
    });
    window.exchange().SendTelegram("", 2, answer_code::MemoryResponse, ExchangeMode::FurtherAnswer);
    EXPECT_EQ(acks, acksBefore + 1) << bus.busOutput();
    acksBefore = acks;
  }
}

TEST(Acknowledge, BytesBetweenExchangesWaitForTheNextOne) {
  BusWindow bus({});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& window = bus.window();
  EXPECT_EQ(window.exchange().SendTelegram("", 1, answer_code::MemoryResponse, ExchangeMode::FurtherAnswer), "NoReply");

  bus.command("inject BC 1105 FFFE 63 42 40 00 12");
  ASSERT_EQ(bus.waitForLog("[BC 11 05 FF FE 63 42 40 00 12", 1, 10s), 1) << bus.busOutput();
  EXPECT_EQ(window.exchange().SendTelegram("", 1, answer_code::MemoryResponse, ExchangeMode::FurtherAnswer),
            "BC1105FFFE6342400012");
}

TEST(Acknowledge, ALineGoneDuringTheWaitEndsItAtTheLimit) {
  BusWindow bus({});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& window = bus.window();
  QTimer::singleShot(0, &window, [&] { bus.command("fault linegone"); });
  EXPECT_EQ(window.exchange().SendTelegram("", 2, answer_code::MemoryResponse, ExchangeMode::FurtherAnswer), "NoReply");
  EXPECT_FALSE(window.exchange().exchanging());
}

}  // namespace
}  // namespace kolvaro::test
