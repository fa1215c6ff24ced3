#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/Comport.h"
#include "link/PortPaths.h"
#include "platform/SerialLinePosix.h"
#include "support/RecordingPlatform.h"
#include "support/StreamRead.h"

namespace kolvaro {
namespace {

// A pseudo-terminal whose slave stands for COM1 (through dcb.ini's "COM ports"
// section); the test plays the far end on the master.
class PtyTest : public ::testing::Test {
 protected:
  PtyTest() : scope(platform) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    slavePath = ptsname(master);
    platform.directory = dir.path();
    platform.useHostPorts();
    // The other names point nowhere, so the test never touches the machine's own ports.
    settings = "[COM ports]\nCOM1=" + slavePath + "\nCOM2=" + dir.file("none2") + "\nCOM3=" + dir.file("none3") +
               "\nCOM4=" + dir.file("none4") + "\n";
    test::writeFile(dir.file("dcb.ini"), settings);
  }
  ~PtyTest() override {
    if (master >= 0) close(master);
  }
  void SetUp() override { ASSERT_FALSE(slavePath.empty()) << "no pseudo-terminal"; }

  termios masterSide() {
    termios t{};
    EXPECT_EQ(tcgetattr(master, &t), 0);
    return t;
  }
  static bool readableWithin(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) == 1;
  }

  test::TempDir dir;
  test::RecordingPlatform platform;
  ScopedPlatform scope;
  int master = -1;
  std::string slavePath;
  std::string settings;
};

TEST_F(PtyTest, DefaultSettingsAre19200EightEvenOne) {
  ComPort port;
  ASSERT_FALSE(port.IsFailed());
  EXPECT_EQ(platform.boxes.back().text, "Active port: COM1");
  termios t = masterSide();
  EXPECT_EQ(cfgetospeed(&t), B19200);
  EXPECT_EQ(cfgetispeed(&t), B19200);
  // A Linux pseudo-terminal forces CS8 and clears PARENB whatever it is given, so the
  // data size and the parity switch are checked on the mapping itself (TermiosMapping).
  EXPECT_FALSE(t.c_cflag & (PARODD | CMSPAR));
  EXPECT_FALSE(t.c_cflag & CSTOPB);
  EXPECT_TRUE(t.c_iflag & INPCK);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG)) << "raw mode";
  EXPECT_FALSE(t.c_oflag & OPOST) << "raw mode";
  // On a pseudo-terminal there are no modem lines to raise, and that is no failure.
  EXPECT_FALSE(port.RaiseDTR());
  EXPECT_FALSE(port.RaiseRTS());
}

TEST_F(PtyTest, DcbIniSettingsReachTheTerminal) {
  struct Case {
    const char* entries;
    speed_t speed;
    tcflag_t parity;  // PARODD | CMSPAR: what a pseudo-terminal keeps of the parity
    bool twoStop;
  };
  const Case cases[] = {
      {"BaudRate=9600\n", B9600, 0, false},
      {"ByteSize=7\nParity=1\nStopBits=2\n", B19200, PARODD, true},
      {"Parity=3\n", B19200, PARODD | CMSPAR, false},
      {"Parity=4\nBaudRate=38400\n", B38400, CMSPAR, false},
  };
  for (const auto& c : cases) {
    test::writeFile(dir.file("dcb.ini"), settings + "[COM settings]\n" + c.entries);
    ComPort port;
    ASSERT_FALSE(port.IsFailed()) << c.entries;
    termios t = masterSide();
    EXPECT_EQ(cfgetospeed(&t), c.speed) << c.entries;
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), c.parity) << c.entries;
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStop) << c.entries;
  }
}

TEST_F(PtyTest, SettingsTheTerminalCannotTakeAreRejected) {
  for (const char* entries : {"BaudRate=12345\n", "ByteSize=9\n", "Parity=5\n", "StopBits=1\n"}) {
    test::writeFile(dir.file("dcb.ini"), settings + "[COM settings]\n" + entries);
    platform.boxes.clear();
    ComPort port;
    EXPECT_TRUE(port.IsFailed()) << entries;
    ASSERT_FALSE(platform.boxes.empty());
    EXPECT_EQ(platform.boxes.back().text, "DCB setting error! Check \"dcb.ini\" file ") << entries;
  }
}

TEST_F(PtyTest, FlowControlFlagsAndTheRestKeptInTheState) {
  auto line = openPosixSerialLine(slavePath);
  ASSERT_TRUE(line);
  Dcb dcb;
  ASSERT_TRUE(line->getState(dcb));
  dcb.BaudRate = 19200;
  dcb.ByteSize = 8;
  dcb.Parity = 0;  // what a pseudo-terminal keeps
  dcb.StopBits = 2;
  dcb.fOutxCtsFlow = 1;
  dcb.fOutX = 1;
  dcb.fInX = 1;
  dcb.fParity = 0;
  dcb.fNull = 1;  // no termios form: kept in the state, not applied
  dcb.fDtrControl = 2;
  dcb.EvtChar = 0x7E;
  ASSERT_TRUE(line->setState(dcb));
  termios t = masterSide();
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_FALSE(t.c_iflag & INPCK);
  Dcb back;
  ASSERT_TRUE(line->getState(back));
  EXPECT_EQ(back, dcb);
}

TEST_F(PtyTest, BytesBothWays) {
  ComPort port;
  ASSERT_FALSE(port.IsFailed());
  EXPECT_EQ(port.ReadByte(), ComPort::NothingWaiting);

  EXPECT_FALSE(port.WriteHexText("80BC"));
  // The text goes out byte by byte: read until both are in.
  EXPECT_EQ(test::readCount(master, 2, std::chrono::seconds(5)), (test::StreamBytes{0x80, 0xBC}));

  const unsigned char in[] = {0x8B, 0x0A};
  ASSERT_EQ(write(master, in, 2), 2);
  ASSERT_NE(port.ReadableDescriptor(), -1);
  ASSERT_TRUE(readableWithin(port.ReadableDescriptor(), 2000));
  EXPECT_EQ(port.ReadByte(), 0x8B);
  ASSERT_TRUE(readableWithin(port.ReadableDescriptor(), 2000));
  EXPECT_EQ(port.ReadByte(), 0x0A) << "no translation of line feeds in raw mode";
  EXPECT_EQ(port.ReadByte(), ComPort::NothingWaiting);

  // The reader's way: what waits in one read, bytes put back first, then nothing waiting.
  const unsigned char frame[] = {0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x61};
  ASSERT_EQ(write(master, frame, sizeof frame), static_cast<ssize_t>(sizeof frame));
  port.Unread({0x8B});
  std::uint8_t bytes[64];
  EXPECT_EQ(port.ReadWaiting(bytes, sizeof bytes), 1);
  EXPECT_EQ(bytes[0], 0x8B);
  test::StreamBytes read;
  for (int n = 0; read.size() < sizeof frame && readableWithin(port.ReadableDescriptor(), 2000);) {
    n = port.ReadWaiting(bytes, sizeof bytes);
    ASSERT_LE(n, 64);
    read.insert(read.end(), bytes, bytes + n);
  }
  EXPECT_EQ(read, test::StreamBytes(frame, frame + sizeof frame));
  EXPECT_EQ(port.ReadWaiting(bytes, sizeof bytes), ComPort::NothingWaiting);
  EXPECT_FALSE(port.WriteAtOnce(0x11));
  EXPECT_EQ(test::readCount(master, 1, std::chrono::seconds(5)), (test::StreamBytes{0x11}));
}

TEST_F(PtyTest, FarEndHangingUpIsALineError) {
  ComPort port;
  ASSERT_FALSE(port.IsFailed());
  close(master);
  master = -1;
  EXPECT_EQ(port.ReadByte(), ComPort::ReadError);
  std::uint8_t bytes[8];
  EXPECT_EQ(port.ReadWaiting(bytes, sizeof bytes), ComPort::ReadError);
  std::uint8_t byte = 0x01;
  EXPECT_TRUE(port.WriteByte(&byte));
  EXPECT_TRUE(port.WriteAtOnce(byte));
}

TEST_F(PtyTest, DeletionPutsBackTheTerminalAsFound) {
  termios before = masterSide();
  {
    ComPort port;
    ASSERT_FALSE(port.IsFailed());
    termios during = masterSide();
    ASSERT_NE(during.c_lflag, before.c_lflag) << "the port was put in raw mode";
  }
  termios after = masterSide();
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
  EXPECT_EQ(0, memcmp(after.c_cc, before.c_cc, sizeof before.c_cc));
  EXPECT_EQ(platform.boxes.size(), 1u) << "no restore or close message";
}

TEST_F(PtyTest, ThePortIsHeldExclusively) {
  auto first = openPosixSerialLine(slavePath);
  ASSERT_TRUE(first);
  EXPECT_FALSE(openPosixSerialLine(slavePath));
  ASSERT_TRUE(first->close());
  auto again = openPosixSerialLine(slavePath);
  EXPECT_TRUE(again);
}

// A port that cannot be used keeps the cause for the log: the failing call and its
// errno, read as missing, busy, not permitted or other. The boxes stay the program's own.
TEST_F(PtyTest, FailuresKeepTheirCause) {
  using Kind = LineError::Kind;
  auto held = openPosixSerialLine(slavePath);  // another program holding the port
  ASSERT_TRUE(held);
  test::writeFile(dir.file("plain"), "not a terminal");
  test::writeFile(dir.file("locked"), "");
  chmod(dir.file("locked").c_str(), 0);
  const bool root = geteuid() == 0;  // root opens what its mode forbids

  struct Case {
    const char* name;
    std::string device;
    std::vector<std::string> calls;  // the failing call, one of these
    Kind kind;
    bool openBox;  // "Couldn't openCOM1" shown
  };
  const std::vector<Case> cases = {
      {"missing", dir.file("none1"), {"open"}, Kind::Missing, true},
      {"busy", slavePath, {"ioctl TIOCEXCL", "flock"}, Kind::Busy, true},
      {"a directory", dir.path(), {"open"}, Kind::Other, true},
      {"not a terminal", dir.file("plain"), {"tcgetattr"}, Kind::Other, false},
      {"not permitted",
       dir.file("locked"),
       {root ? "tcgetattr" : "open"},
       root ? Kind::Other : Kind::NotPermitted,
       !root},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeFile(dir.file("dcb.ini"), "[COM ports]\nCOM1=" + c.device + "\n");
    platform.boxes.clear();
    {
      ComPort port(19200, "even", 8, 1.0, 1);
      EXPECT_TRUE(port.IsFailed());
      const LineError& cause = port.LastError();
      EXPECT_NE(std::find(c.calls.begin(), c.calls.end(), cause.call), c.calls.end()) << cause.text();
      EXPECT_NE(cause.code, 0);
      EXPECT_EQ(cause.kind(), c.kind) << cause.text() << " read as " << toString(cause.kind());
      EXPECT_EQ(cause.text().rfind(cause.call + ": ", 0), 0u) << cause.text();
    }
    ASSERT_FALSE(platform.boxes.empty());
    EXPECT_EQ(platform.boxes[0].text == "Couldn't openCOM1", c.openBox) << platform.boxes[0].text;
  }
}

TEST(TermiosMapping, DcbMembersToTermiosAndBack) {
  struct Case {
    std::uint32_t baud;
    std::uint8_t size, parity, stop;
    speed_t speed;
    tcflag_t cflags;  // CSIZE | PARENB | PARODD | CMSPAR | CSTOPB
  };
  const Case cases[] = {
      {19200, 8, 2, 0, B19200, CS8 | PARENB},
      {9600, 8, 0, 0, B9600, CS8},
      {115200, 7, 1, 2, B115200, CS7 | PARENB | PARODD | CSTOPB},
      {1200, 5, 3, 0, B1200, CS5 | PARENB | PARODD | CMSPAR},
      {300, 6, 4, 2, B300, CS6 | PARENB | CMSPAR | CSTOPB},
  };
  for (const auto& c : cases) {
    Dcb dcb;
    dcb.BaudRate = c.baud;
    dcb.ByteSize = c.size;
    dcb.Parity = c.parity;
    dcb.StopBits = c.stop;
    dcb.fParity = 1;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    termios t{};
    t.c_lflag = ICANON | ECHO;
    ASSERT_TRUE(dcbToTermios(dcb, t)) << c.baud;
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.cflags) << c.baud;
    EXPECT_TRUE(t.c_iflag & INPCK);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));
    Dcb back;
    termiosToDcb(t, back);
    EXPECT_EQ(back, dcb) << c.baud;
  }
  Dcb rejected;
  rejected.BaudRate = 19200;
  rejected.ByteSize = 8;
  rejected.StopBits = 1;
  termios t{};
  EXPECT_FALSE(dcbToTermios(rejected, t)) << "one and a half stop bits";
}

TEST(PortNames, DefaultDevicesAndTheirOverrides) {
  test::TempDir dir;
  const std::string ini = dir.file("dcb.ini");
  auto pathOf = [&](const char* name) { return devicePathOf(name, readPortPaths(ini)); };
  EXPECT_EQ(pathOf("COM1"), "/dev/ttyS0") << "no dcb.ini";
  EXPECT_EQ(pathOf("COM4"), "/dev/ttyS3");
  EXPECT_EQ(pathOf("COM5"), "");
  EXPECT_EQ(pathOf("com1"), "");
  test::writeFile(ini, "[com ports]\ncom2 = /dev/ttyUSB0\nCOM3=\n");
  EXPECT_EQ(readPortPaths(ini), (PortPaths{{"COM2", "/dev/ttyUSB0"}})) << "names as the program spells them";
  EXPECT_EQ(pathOf("COM2"), "/dev/ttyUSB0");
  EXPECT_EQ(pathOf("COM3"), "/dev/ttyS2") << "an empty entry keeps the default";
  EXPECT_EQ(devicePathOf("COM2", {}), "/dev/ttyS1");
}

}  // namespace
}  // namespace kolvaro
