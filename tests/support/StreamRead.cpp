#include "support/StreamRead.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace kolvaro::test {

namespace {
using Clock = std::chrono::steady_clock;

// One read of what is waiting; false when the far end is gone.
bool readSome(int fd, StreamBytes& into) {
  std::uint8_t buf[256];
  const ssize_t n = ::read(fd, buf, sizeof buf);
  if (n > 0) {
    into.insert(into.end(), buf, buf + n);
    return true;
  }
  if (n == 0) return false;
  return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}
}  // namespace

StreamBytes readUntil(int fd, const std::function<bool(const StreamBytes&)>& enough,
                      std::chrono::milliseconds deadline) {
  StreamBytes got;
  const auto end = Clock::now() + deadline;
  while (!enough(got)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    if (!(p.revents & POLLIN)) break;  // hung up or failed with nothing left to read
    if (!readSome(fd, got)) break;
  }
  return got;
}

StreamBytes readCount(int fd, std::size_t count, std::chrono::milliseconds deadline) {
  return readUntil(
      fd, [count](const StreamBytes& got) { return got.size() >= count; }, deadline);
}

StreamBytes readWaiting(int fd) {
  StreamBytes got;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) != 1 || !(p.revents & POLLIN)) return got;
    const std::size_t before = got.size();
    if (!readSome(fd, got) || got.size() == before) return got;
  }
}

}  // namespace kolvaro::test
