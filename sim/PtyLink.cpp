#include "sim/PtyLink.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kolvaro::sim {

PtyLink::PtyLink(std::shared_ptr<InterfaceChip> chip, std::string linkPath, ArrivalStamper::Stamp (*arrivalClock)())
    : chip_(std::move(chip)), linkPath_(std::move(linkPath)) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    if (master >= 0) ::close(master);
    return;
  }
  devicePath_ = ptsname(master);
  slave_ = ::open(devicePath_.c_str(), O_RDWR | O_NOCTTY);
  if (slave_ >= 0) {
    // Raw, so no byte is translated or echoed before a host sets its own modes.
    termios t{};
    if (tcgetattr(slave_, &t) == 0) {
      cfmakeraw(&t);
      tcsetattr(slave_, TCSANOW, &t);
    }
  }
  ::unlink(linkPath_.c_str());  // a stale link from an earlier run
  if (::symlink(devicePath_.c_str(), linkPath_.c_str()) != 0) {
    error_ = "cannot link " + linkPath_ + " to " + devicePath_ + ": " + std::strerror(errno);
    ::close(master);
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
    return;
  }
  linked_ = true;
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  master_ = master;
  if (arrivalClock) {
    stamper_ = std::make_unique<ArrivalStamper>(master_, arrivalClock);
    if (!stamper_->ok()) {
      error_ = std::string("cannot start the thread that times host bytes: ") + std::strerror(errno);
      goAway();
      return;
    }
  }
  chip_->toHost = [this](std::uint8_t b) { toHost(b); };
}

PtyLink::~PtyLink() { goAway(); }

void PtyLink::goAway() {
  stamper_.reset();  // it reads the terminal until it has stopped
  chip_->toHost = nullptr;
  chip_->detach();
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
  master_ = slave_ = -1;
  if (linked_) ::unlink(linkPath_.c_str());
  linked_ = false;
}

int PtyLink::descriptor() const {
  if (master_ < 0) return -1;
  return stamper_ ? stamper_->descriptor() : master_;
}

std::vector<ArrivalStamper::Chunk> PtyLink::takeArrivals() {
  return stamper_ ? stamper_->take() : std::vector<ArrivalStamper::Chunk>{};  // none once gone
}

void PtyLink::handOver(const ArrivalStamper::Chunk& chunk) {
  for (const std::uint8_t b : chunk.bytes) chip_->hostByte(b, chunk.arrivedAt);
}

void PtyLink::pump() {
  if (master_ < 0 || stamper_) return;
  std::uint8_t buf[256];
  for (;;) {
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n > 0) {
      for (ssize_t i = 0; i < n; ++i) chip_->hostByte(buf[i]);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return;  // EAGAIN: all read; EIO: no host has the terminal open just now
  }
}

void PtyLink::toHost(std::uint8_t byte) {
  if (master_ < 0) return;
  // A host that does not read loses bytes once the terminal's buffer is full, as a real
  // line would; the simulator never blocks on it.
  while (::write(master_, &byte, 1) < 0 && errno == EINTR) {
  }
}

}  // namespace kolvaro::sim
