#include "platform/SerialLinePosix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/HostSerialPorts.h"

#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace kolvaro {
namespace {

// Error word bits, with the values Windows gives them (CE_*).
constexpr std::uint32_t OverrunError = 0x2;
constexpr std::uint32_t ParityError = 0x4;
constexpr std::uint32_t FramingError = 0x8;
// A break, and a far end that hung up: either way nothing sound can be read now.
constexpr std::uint32_t BreakOrHangUp = 0x10;

constexpr int TransferLimitMs = 1000;

struct BaudSpeed {
  std::uint32_t baud;
  speed_t speed;
};

constexpr BaudSpeed Speeds[] = {
    {50, B50},         {75, B75},     {110, B110},   {134, B134},     {150, B150},
    {200, B200},       {300, B300},   {600, B600},   {1200, B1200},   {1800, B1800},
    {2400, B2400},     {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
#ifdef B57600
    {57600, B57600},
#endif
#ifdef B115200
    {115200, B115200},
#endif
#ifdef B230400
    {230400, B230400},
#endif
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B921600
    {921600, B921600},
#endif
};

bool speedOf(std::uint32_t baud, speed_t& speed) {
  for (const BaudSpeed& entry : Speeds) {
    if (entry.baud == baud) {
      speed = entry.speed;
      return true;
    }
  }
  return false;
}

std::uint32_t baudOf(speed_t speed) {
  for (const BaudSpeed& entry : Speeds) {
    if (entry.speed == speed) return entry.baud;
  }
  return 0;
}

void setFlag(tcflag_t& flags, tcflag_t bit, bool on) {
  if (on) {
    flags |= bit;
  } else {
    flags &= ~bit;
  }
}

// Milliseconds left until deadline, rounded up; 0 when it has passed.
int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

class PosixSerialLine final : public SerialLine {
 public:
  explicit PosixSerialLine(int fd) : fd_(fd) {
    haveOriginal_ = tcgetattr(fd_, &original_) == 0;
    kept_.DCBlength = 28;  // the size Windows reports for its DCB
    kept_.fBinary = 1;
    kept_.fDtrControl = 1;
    kept_.fRtsControl = 1;
    if (haveOriginal_) getState(atOpen_);
    readCounters(counters_);
  }
  ~PosixSerialLine() override {
    if (fd_ >= 0) close();
  }
  PosixSerialLine(const PosixSerialLine&) = delete;
  PosixSerialLine& operator=(const PosixSerialLine&) = delete;

  bool getState(Dcb& dcb) override {
    termios t{};
    if (fd_ < 0) return fail("tcgetattr", EBADF);
    if (tcgetattr(fd_, &t) != 0) return fail("tcgetattr", errno);
    Dcb state = kept_;  // what termios cannot express stays as last given
    termiosToDcb(t, state);
    dcb = state;
    return true;
  }

  bool setState(const Dcb& dcb) override {
    if (fd_ < 0) return fail("tcsetattr", EBADF);
    if (!haveOriginal_) return fail("tcgetattr", ENOTTY);  // the state at open was never read
    // The state found at open goes back exactly as found, with what a Dcb cannot
    // express (canonical mode, echo, ...), so that closing leaves the terminal as it was.
    if (dcb == atOpen_) {
      if (tcsetattr(fd_, TCSANOW, &original_) != 0) return fail("tcsetattr", errno);
      kept_ = dcb;
      return true;
    }
    termios t = original_;
    if (!dcbToTermios(dcb, t)) return fail("dcbToTermios", EINVAL);  // settings termios cannot express
    if (tcsetattr(fd_, TCSANOW, &t) != 0) return fail("tcsetattr", errno);
    kept_ = dcb;
    return true;
  }

  bool setDtr() override { return setModemLine(TIOCM_DTR); }
  bool setRts() override { return setModemLine(TIOCM_RTS); }

  bool clearError(Status& status) override {
    status = {};
    if (fd_ < 0) return fail("ioctl FIONREAD", EBADF);
    int waiting = 0;
    if (ioctl(fd_, FIONREAD, &waiting) != 0) return fail("ioctl FIONREAD", errno);
    status.bytesWaiting = waiting > 0 ? static_cast<std::uint32_t>(waiting) : 0;

    pollfd p{fd_, POLLIN, 0};
    int ready;
    do {
      ready = poll(&p, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return fail("poll", errno);
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) status.errors |= BreakOrHangUp;

    status.errors |= newLineErrors();
    return true;
  }

  bool purge(bool transmit, bool receive) override {
    if (fd_ < 0) return fail("tcflush", EBADF);
    int queue = transmit && receive ? TCIOFLUSH : transmit ? TCOFLUSH : TCIFLUSH;
    if (!transmit && !receive) return true;
    return tcflush(fd_, queue) == 0 || fail("tcflush", errno);
  }

  bool writeByte(std::uint8_t byte) override {
    return transfer("write", POLLOUT, [&] { return ::write(fd_, &byte, 1); });
  }

  bool readByte(std::uint8_t& byte) override {
    return transfer("read", POLLIN, [&] { return ::read(fd_, &byte, 1); });
  }

  // One read of all that waits. With VMIN 0 an empty line reads 0, as does one that hung up:
  // the caller tells them apart with clearError.
  bool readWaiting(std::uint8_t* bytes, std::size_t capacity, std::size_t& count, std::uint32_t& errors) override {
    count = 0;
    if (fd_ < 0) return fail("read", EBADF);
    errors = newLineErrors();
    if (errors != 0) return true;
    for (;;) {
      const ssize_t got = ::read(fd_, bytes, capacity);
      if (got >= 0) {
        count = static_cast<std::size_t>(got);
        return true;
      }
      if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
      if (errno != EINTR) return fail("read", errno);
    }
  }

  bool close() override {
    if (fd_ < 0) return fail("close", EBADF);
    ioctl(fd_, TIOCNXCL);  // the exclusive mark would otherwise outlive us on the device
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0 || fail("close", errno);
  }

  int readableDescriptor() const override { return fd_; }

 private:
#if defined(__linux__) && defined(TIOCGICOUNT)
  using Counters = serial_icounter_struct;
#else
  struct Counters {};
#endif

  // Line error counters of a real UART; terminals without them (pseudo-terminals) count nothing.
  bool readCounters([[maybe_unused]] Counters& counters) {
#if defined(__linux__) && defined(TIOCGICOUNT)
    haveCounters_ = ioctl(fd_, TIOCGICOUNT, &counters) == 0;
    return haveCounters_;
#else
    return false;
#endif
  }

  std::uint32_t newLineErrors() {
    std::uint32_t errors = 0;
#if defined(__linux__) && defined(TIOCGICOUNT)
    Counters now{};
    if (!haveCounters_ || ioctl(fd_, TIOCGICOUNT, &now) != 0) return 0;
    if (now.overrun != counters_.overrun || now.buf_overrun != counters_.buf_overrun) errors |= OverrunError;
    if (now.parity != counters_.parity) errors |= ParityError;
    if (now.frame != counters_.frame) errors |= FramingError;
    if (now.brk != counters_.brk) errors |= BreakOrHangUp;
    counters_ = now;
#endif
    return errors;
  }

  bool setModemLine(int line) {
    if (fd_ < 0) return fail("ioctl TIOCMBIS", EBADF);
    if (ioctl(fd_, TIOCMBIS, &line) == 0) return true;
    // Pseudo-terminals and some adapters have no modem lines: nothing to raise.
    return errno == ENOTTY || errno == EINVAL || fail("ioctl TIOCMBIS", errno);
  }

  // One byte in or out, retried while the descriptor is not ready, bounded to 1000 ms
  // on a monotonic clock.
  template <typename Io>
  bool transfer(const char* call, short event, Io io) {
    if (fd_ < 0) return fail(call, EBADF);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TransferLimitMs);
    for (;;) {
      ssize_t done = io();
      if (done == 1) return true;
      if (done == 0 && event == POLLIN) return fail(call, EIO);  // end of file: the far end is gone
      if (done < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return fail(call, errno);
      int left = millisecondsLeft(deadline);
      if (left == 0) return fail(call, ETIMEDOUT);
      pollfd p{fd_, event, 0};
      int ready = poll(&p, 1, left);
      if (ready < 0 && errno != EINTR) return fail("poll", errno);
      if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & event)) return fail("poll", EIO);
    }
  }

  int fd_;
  termios original_{};
  bool haveOriginal_ = false;
  Dcb atOpen_{};
  Dcb kept_{};
  Counters counters_{};
  bool haveCounters_ = false;
};

class PosixSerialPorts : public SerialPorts {
 public:
  std::unique_ptr<SerialLine> open(const std::string& portName, const PortPaths& paths, LineError& failure) override {
    std::string path = devicePathOf(portName, paths);
    if (path.empty()) {
      failure = {"open", ENOENT};  // a name that stands for no device
      return nullptr;
    }
    return openPosixSerialLine(path, &failure);
  }
};

}  // namespace

bool dcbToTermios(const Dcb& dcb, termios& t) {
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;  // reads never block: the descriptor is polled
  t.c_cc[VTIME] = 0;

  speed_t speed{};
  if (!speedOf(dcb.BaudRate, speed)) return false;
  if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0) return false;

  t.c_cflag &= ~CSIZE;
  switch (dcb.ByteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return false;
  }

  t.c_cflag &= ~(PARENB | PARODD);
#ifdef CMSPAR
  t.c_cflag &= ~CMSPAR;
#endif
  switch (dcb.Parity) {
    case 0: break;
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
#ifdef CMSPAR
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
#endif
    default: return false;
  }

  switch (dcb.StopBits) {
    case 0: t.c_cflag &= ~CSTOPB; break;
    case 2: t.c_cflag |= CSTOPB; break;
    default: return false;  // one and a half stop bits have no termios form
  }

  setFlag(t.c_iflag, INPCK, dcb.fParity != 0);
#ifdef CRTSCTS
  setFlag(t.c_cflag, CRTSCTS, dcb.fOutxCtsFlow != 0);
#endif
  setFlag(t.c_iflag, IXON, dcb.fOutX != 0);
  setFlag(t.c_iflag, IXOFF, dcb.fInX != 0);
  t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
  return true;
}

void termiosToDcb(const termios& t, Dcb& dcb) {
  dcb.BaudRate = baudOf(cfgetospeed(&t));
  switch (t.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
  }
  bool odd = (t.c_cflag & PARODD) != 0;
  dcb.Parity = !(t.c_cflag & PARENB) ? 0 : odd ? 1 : 2;
#ifdef CMSPAR
  if ((t.c_cflag & PARENB) && (t.c_cflag & CMSPAR)) dcb.Parity = odd ? 3 : 4;
#endif
  dcb.StopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
  dcb.fParity = (t.c_iflag & INPCK) ? 1 : 0;
#ifdef CRTSCTS
  dcb.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
#endif
  dcb.fOutX = (t.c_iflag & IXON) ? 1 : 0;
  dcb.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
  dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
  dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
}

std::unique_ptr<SerialLine> openPosixSerialLine(const std::string& devicePath, LineError* failure) {
  auto failed = [failure](const char* call, int code) -> std::unique_ptr<SerialLine> {
    if (failure) *failure = {call, code};
    return nullptr;
  };
  int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return failed("open", errno);
  // Exclusive use. TIOCEXCL fails with ENOTTY or EINVAL on some systems and devices;
  // that is not fatal. Root passes TIOCEXCL, so an advisory lock keeps two instances
  // of the program apart as well.
  if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
    const int code = errno;
    ::close(fd);
    return failed("ioctl TIOCEXCL", code);
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int code = errno;
    ::close(fd);
    return failed("flock", code);
  }
  return std::make_unique<PosixSerialLine>(fd);
}

std::string devicePathOf(const std::string& portName, const PortPaths& paths) {
  static constexpr const char* Names[] = {"COM1", "COM2", "COM3", "COM4"};
  for (int n = 0; n < 4; ++n) {
    if (portName != Names[n]) continue;
    const auto entry = paths.find(portName);
    if (entry != paths.end() && !entry->second.empty()) return entry->second;
    return "/dev/ttyS" + std::to_string(n);
  }
  return {};
}

SerialPorts& hostSerialPorts() {
  static PosixSerialPorts ports;
  return ports;
}

}  // namespace kolvaro
