#include "sim/ArrivalStamper.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/ThreadLatency.h"

namespace kolvaro::sim {

namespace {
bool openPipe(int& readEnd, int& writeEnd) {
  int ends[2];
  if (::pipe(ends) != 0) return false;
  for (const int fd : ends) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  readEnd = ends[0];
  writeEnd = ends[1];
  return true;
}

void closeIfOpen(int fd) {
  if (fd >= 0) ::close(fd);
}
}  // namespace

ArrivalStamper::ArrivalStamper(int source, Stamp (*clock)()) : source_(source), clock_(clock) {
  if (!openPipe(notifyRead_, notifyWrite_) || !openPipe(stopRead_, stopWrite_)) return;
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    // Not started: ok() tells the owner.
  }
}

ArrivalStamper::~ArrivalStamper() {
  if (thread_.joinable()) {
    const char stop = 1;
    while (::write(stopWrite_, &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  for (const int fd : {notifyRead_, notifyWrite_, stopRead_, stopWrite_}) closeIfOpen(fd);
}

std::vector<ArrivalStamper::Chunk> ArrivalStamper::take() {
  // The notifications first: one that comes after this has a chunk behind it still to take.
  char drained[64];
  while (::read(notifyRead_, drained, sizeof drained) > 0) {
  }
  std::lock_guard lock(mutex_);
  return std::move(chunks_);
}

void ArrivalStamper::run() {
  // Woken by a host's byte, it must read it at once even while other programs keep every
  // processor busy; it sleeps in between.
  AskForPromptWakeUps();
  for (;;) {
    pollfd fds[2] = {{source_, POLLIN, 0}, {stopRead_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    std::uint8_t buffer[256];
    const ssize_t n = (fds[0].revents & POLLIN) ? ::read(source_, buffer, sizeof buffer) : 0;
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) {
      // Hung up, or failing (no host has the line just now): a pause, not a spin.
      pollfd stop{stopRead_, POLLIN, 0};
      if (::poll(&stop, 1, 10) != 0) return;
      continue;
    }
    const Stamp now = clock_();
    {
      std::lock_guard lock(mutex_);
      chunks_.push_back({{buffer, buffer + n}, now});
    }
    // A full pipe already holds notifications enough.
    const char one = 1;
    [[maybe_unused]] const ssize_t written = ::write(notifyWrite_, &one, 1);
  }
}

}  // namespace kolvaro::sim
