// The wait inside the exchange: it wakes for a byte on the line or for a window event,
// and in between it blocks instead of spinning.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTimer>

#include "UiTestSupport.h"
#include "ui/ActivityWait.h"

namespace kolvaro {
namespace {

class Pipe {
 public:
  Pipe() {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe2");
  }
  ~Pipe() {
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  int readEnd() const { return fds_[0]; }
  void put(char c) { ASSERT_EQ(::write(fds_[1], &c, 1), 1); }
  bool take() {
    char c = 0;
    return ::read(fds_[0], &c, 1) == 1;
  }

 private:
  int fds_[2] = {-1, -1};
};

// Waits until the flag is set and counts the waits it took; gives up after `limit`.
int waitsUntil(ActivityWait& activity, int descriptor, const bool& flag, int limit = 100000) {
  int waits = 0;
  while (!flag && waits < limit) {
    activity.wait(descriptor);
    ++waits;
  }
  return waits;
}

TEST(ActivityWait, WakesForAByteWaitingOnTheLine) {
  Pipe line;
  ActivityWait activity;
  bool watchdog = false;
  QTimer::singleShot(2000, [&] { watchdog = true; });

  line.put('\x8B');
  activity.wait(line.readEnd());  // returns at once: the byte is there
  EXPECT_FALSE(watchdog);
  EXPECT_TRUE(line.take());

  // A byte that arrives during the wait wakes it.
  QTimer::singleShot(20, [&] { line.put('\x11'); });
  bool arrived = false;
  while (!arrived && !watchdog) {
    activity.wait(line.readEnd());
    arrived = line.take();
  }
  EXPECT_TRUE(arrived);
  EXPECT_FALSE(watchdog);
}

TEST(ActivityWait, BlocksBetweenEvents) {
  Pipe line;
  ActivityWait activity;
  // With nothing on the line each wait lasts until the next event: a tick 100 ms away
  // takes a handful of waits, where a spinning loop would take many thousands.
  bool ticked = false;
  QTimer::singleShot(100, [&] { ticked = true; });
  const int withDescriptor = waitsUntil(activity, line.readEnd(), ticked);
  EXPECT_TRUE(ticked);
  EXPECT_LE(withDescriptor, 20);

  // Without a descriptor the line is polled about once a millisecond.
  ticked = false;
  QTimer::singleShot(100, [&] { ticked = true; });
  const int withoutDescriptor = waitsUntil(activity, -1, ticked);
  EXPECT_TRUE(ticked);
  EXPECT_GE(withoutDescriptor, 2);
  EXPECT_LE(withoutDescriptor, 1000);
}

TEST(ActivityWait, ReadableLineDoesNotWakeTheLoopOutsideAWait) {
  Pipe line;
  ActivityWait activity;
  line.put('x');
  activity.wait(line.readEnd());
  // The byte stays unread; the notifier must be off now, or this loop would spin.
  bool ticked = false;
  QTimer::singleShot(100, [&] { ticked = true; });
  int rounds = 0;
  while (!ticked && rounds < 100000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ++rounds;
  }
  EXPECT_TRUE(ticked);
  EXPECT_LE(rounds, 20);
}

}  // namespace
}  // namespace kolvaro
