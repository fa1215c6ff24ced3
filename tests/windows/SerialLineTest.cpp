// The Win32 serial line under wine, against kolvaro-bus behind COM1 (scripts/test-windows.sh
// puts it there and names it in KOLVARO_TEST_COM1_PEER): port names, the DCB mapping in
// both directions, the chip's reset answer and a group switch seen on the bus.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "link/Comport.h"
#include "platform/DcbWin32.h"
#include "platform/HostSerialPorts.h"
#include "platform/Platform.h"
#include "platform/SystemDirectory.h"
#include "support/FakeMainView.h"
#include "telegram/ExchangeHost.h"
#include "telegram/TelegramExchange.h"
#include "ui/WindowFace.h"

namespace kolvaro {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto Deadline = 5s;

void requirePeer() {
  const char* peer = std::getenv("KOLVARO_TEST_COM1_PEER");
  ASSERT_TRUE(peer && *peer) << "COM1 needs a simulated chip: run scripts/test-windows.sh";
}

// Every member of Dcb at its widest value, each a different pattern, so a member mapped
// to the wrong DCB member or cut too short shows.
Dcb widestDcb() {
  Dcb d;
  d.DCBlength = sizeof(DCB);
  d.BaudRate = 0xFEDCBA98;
  d.fBinary = 1, d.fParity = 1, d.fOutxCtsFlow = 1, d.fOutxDsrFlow = 1;
  d.fDtrControl = 2, d.fDsrSensitivity = 1, d.fTXContinueOnXoff = 1, d.fOutX = 1, d.fInX = 1;
  d.fErrorChar = 1, d.fNull = 1, d.fRtsControl = 3, d.fAbortOnError = 1, d.fDummy2 = 0x1ABCD;
  d.wReserved = 0x1234, d.XonLim = 0x2345, d.XoffLim = 0x3456;
  d.ByteSize = 7, d.Parity = 4, d.StopBits = 2;
  d.XonChar = 0x11, d.XoffChar = 0x13, d.ErrorChar = '?', d.EofChar = 0x1A, d.EvtChar = '\n';
  d.wReserved1 = 0x4567;
  return d;
}

TEST(WindowsDcbMapping, EveryMemberBothWays) {
  const Dcb ours = widestDcb();
  const DCB theirs = toWin32(ours);
  EXPECT_EQ(theirs.DCBlength, sizeof(DCB));
  EXPECT_EQ(theirs.BaudRate, 0xFEDCBA98u);
  EXPECT_EQ(theirs.fDtrControl, 2u);
  EXPECT_EQ(theirs.fRtsControl, 3u);
  EXPECT_EQ(theirs.fDummy2, 0x1ABCDu);
  EXPECT_EQ(theirs.XonLim, 0x2345);
  EXPECT_EQ(theirs.Parity, 4);
  EXPECT_EQ(theirs.EvtChar, '\n');
  EXPECT_EQ(fromWin32(theirs), ours);
}

TEST(WindowsDcbMapping, FlagsWiderThanTheirBitFieldAreCut) {
  struct Case {
    const char* member;
    std::uint32_t Dcb::*flag;
    std::uint32_t given;
    std::uint32_t kept;
  };
  const Case cases[] = {
      {"fBinary", &Dcb::fBinary, 2, 0},
      {"fParity", &Dcb::fParity, 3, 1},
      {"fOutxCtsFlow", &Dcb::fOutxCtsFlow, 0xFF, 1},
      {"fDtrControl", &Dcb::fDtrControl, 6, 2},
      {"fRtsControl", &Dcb::fRtsControl, 7, 3},
      {"fAbortOnError", &Dcb::fAbortOnError, 0x10, 0},
      {"fDummy2", &Dcb::fDummy2, 0xFFFFFFFF, 0x1FFFF},
  };
  for (const Case& c : cases) {
    Dcb ours;
    ours.*c.flag = c.given;
    Dcb back = fromWin32(toWin32(ours));
    EXPECT_EQ(back.*c.flag, c.kept) << c.member;
    back.*c.flag = 0;
    EXPECT_EQ(back, Dcb{}) << c.member << " spilled into another member";
  }
}

TEST(WindowsComPorts, OpenByNameExclusively) {
  requirePeer();
  SerialPorts& ports = hostSerialPorts();
  LineError failure;
  std::unique_ptr<SerialLine> first = ports.open("COM1", {}, failure);
  ASSERT_TRUE(first) << "COM1: " << failure.text();
  // Windows refuses a second handle on an open port; wine does not enforce the share
  // mode on devices, so that is not checked here.
  EXPECT_FALSE(ports.open("COM29", {}, failure)) << "a port that is not there";
  EXPECT_EQ(failure.call, "CreateFileA");
  EXPECT_EQ(failure.kind(), LineError::Kind::Missing) << failure.text();
  EXPECT_TRUE(first->close());
  std::unique_ptr<SerialLine> again = ports.open("COM1", {}, failure);
  EXPECT_TRUE(again) << "COM1 after close: " << failure.text();
}

// The line settings go through wine's serial layer to the terminal and come back. A
// Linux pseudo-terminal forces 8 data bits and no parity whatever is set, so only the
// rate and the stop bits can come back as set; the others are set and must be taken.
TEST(WindowsComPorts, LineSettingsReadBackAsSet) {
  requirePeer();
  struct Case {
    std::uint32_t baudRate;
    std::uint8_t byteSize, parity, stopBits;
  };
  const Case cases[] = {{19200, 8, 2, 0}, {9600, 8, 0, 2}, {4800, 7, 1, 2}, {38400, 8, 2, 0}};
  LineError failure;
  std::unique_ptr<SerialLine> line = hostSerialPorts().open("COM1", {}, failure);
  ASSERT_TRUE(line);
  Dcb original;
  ASSERT_TRUE(line->getState(original));
  for (const Case& c : cases) {
    Dcb wanted = original;
    wanted.BaudRate = c.baudRate, wanted.ByteSize = c.byteSize, wanted.Parity = c.parity;
    wanted.StopBits = c.stopBits, wanted.fBinary = 1, wanted.fParity = c.parity != 0;
    ASSERT_TRUE(line->setState(wanted)) << c.baudRate;
    Dcb now;
    ASSERT_TRUE(line->getState(now));
    EXPECT_EQ(now.BaudRate, c.baudRate);
    EXPECT_EQ(now.StopBits, c.stopBits) << c.baudRate;
  }
  EXPECT_TRUE(line->setState(original));
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The chip's answer to a byte, read through ComPort as the exchange reads it.
std::int32_t awaitByte(ComPort& port) {
  const auto end = Clock::now() + Deadline;
  std::int32_t got = ComPort::NothingWaiting;
  while (got == ComPort::NothingWaiting && Clock::now() < end) {
    got = port.ReadByte();
    if (got == ComPort::NothingWaiting) Sleep(1);
  }
  return got;
}

class HostPortPlatform : public Platform {
 public:
  int messageBox(const std::string& text, const char*, unsigned) override {
    boxes.push_back(text);
    return id::Ok;
  }
  void beep() override {}
  void sleep(unsigned milliseconds) override { Sleep(milliseconds); }
  std::optional<std::string> systemDirectory() override { return hostPlatform().systemDirectory(); }
  SerialPorts& serialPorts() override { return hostSerialPorts(); }
  std::vector<std::string> boxes;
};

TEST(WindowsSerialRoundTrip, ResetRequestIsAnsweredByTheChip) {
  requirePeer();
  HostPortPlatform host;
  ScopedPlatform installed(host);
  ComPort port;  // the start-up constructor: the lowest free port, COM1
  ASSERT_FALSE(port.IsFailed()) << (host.boxes.empty() ? "" : host.boxes.back());
  EXPECT_EQ(host.boxes, std::vector<std::string>{"Active port: COM1"});
  // DTR and RTS are not raised here: on a pseudo-terminal wine's EscapeCommFunction fails
  // (the terminal has no modem lines), where the POSIX line treats that as no lines.
  for (int round = 0; round < 3; ++round) {
    const std::uint8_t reset = 0x01;
    ASSERT_FALSE(port.WriteByte(&reset)) << "round " << round;
    EXPECT_EQ(awaitByte(port), 0x03) << "round " << round;
  }
}

// The host's COM ports, each line reporting the settings it holds after every change, as
// the port reads them back.
class ObservedPorts : public SerialPorts {
 public:
  class Line : public SerialLine {
   public:
    Line(std::unique_ptr<SerialLine> line, std::vector<Dcb>& applied) : line_(std::move(line)), applied_(applied) {}
    bool getState(Dcb& dcb) override { return line_->getState(dcb); }
    bool setState(const Dcb& dcb) override {
      if (!line_->setState(dcb)) return false;
      Dcb now;
      if (line_->getState(now)) applied_.push_back(now);
      return true;
    }
    bool setDtr() override { return line_->setDtr(); }
    bool setRts() override { return line_->setRts(); }
    bool clearError(Status& status) override { return line_->clearError(status); }
    bool purge(bool transmit, bool receive) override { return line_->purge(transmit, receive); }
    bool writeByte(std::uint8_t byte) override { return line_->writeByte(byte); }
    bool readByte(std::uint8_t& byte) override { return line_->readByte(byte); }
    bool close() override { return line_->close(); }

   private:
    std::unique_ptr<SerialLine> line_;
    std::vector<Dcb>& applied_;
  };
  std::unique_ptr<SerialLine> open(const std::string& portName, const PortPaths& paths, LineError& failure) override {
    auto line = hostSerialPorts().open(portName, paths, failure);
    if (!line) return nullptr;
    return std::make_unique<Line>(std::move(line), applied);
  }
  std::vector<Dcb> applied;  // what each line held after each setState, in order
};

// dcb.ini in the system directory decides the line settings of the port start-up opens;
// without one the defaults apply.
TEST(WindowsSerialRoundTrip, DcbIniInTheSystemDirectorySetsTheLine) {
  requirePeer();
  struct Case {
    const char* name;
    const char* file;  // nullptr: no dcb.ini
    std::uint32_t baudRate;
    std::uint8_t stopBits;
  };
  const Case cases[] = {
      {"defaults", nullptr, 19200, 0},
      {"file", "; ours\r\n[COM settings]\r\nBaudRate=9600\r\nStopBits=2\r\n", 9600, 2},
  };
  const std::string path = *hostSystemDirectory() + "\\dcb.ini";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(path.c_str());
    if (c.file) std::ofstream(path, std::ios::binary) << c.file;
    ObservedPorts ports;
    struct : HostPortPlatform {
      SerialPorts* observed = nullptr;
      SerialPorts& serialPorts() override { return *observed; }
    } host;
    host.observed = &ports;
    ScopedPlatform installed(host);
    {
      ComPort port;
      ASSERT_FALSE(port.IsFailed());
      ASSERT_FALSE(ports.applied.empty());
      EXPECT_EQ(ports.applied.back().BaudRate, c.baudRate);
      EXPECT_EQ(ports.applied.back().StopBits, c.stopBits);
    }
    EXPECT_EQ(ports.applied.size(), 2u) << "set from dcb.ini, then put back at deletion";
    if (c.file) {
      EXPECT_EQ(readWhole(path), c.file) << "start-up writes nothing";
    }
    DeleteFileA(path.c_str());
  }
}

// The window's part in a group switch, with a real exchange on the port and Timer1
// ticking once a second of real time; every reply recorded.
class WineWindow : public test::FakeMainView, public ExchangeHost, public BusRequests {
 public:
  explicit WineWindow(ComPort& port) : port_(port), nextTick_(Clock::now() + 1s) {}
  ComPort* port() override { return &port_; }
  std::uint16_t localAddress() const override { return static_cast<std::uint16_t>(addressMembers.Local_phAddr); }
  void appendLog(const std::string& line) override { memo.push_back(line); }
  void waitForActivity(int) override {
    Sleep(1);
    if (Clock::now() >= nextTick_) {
      nextTick_ += 1s;
      exchange_.Timer1Timer();
    }
  }
  Reply request(const Request& request) override {
    const Reply reply = exchange_.request(request);
    results.push_back(ReplyText(reply));
    return reply;
  }
  ChipState testInterface() override { return exchange_.testInterface(); }
  void switchGroup(bool on) {
    DeviceSession session(*this, face_);
    face_.switchGroup(session, on);
  }
  std::vector<std::string> memo, results;

 private:
  ComPort& port_;
  TelegramExchange exchange_{*this};
  WindowFace face_{*this};
  Clock::time_point nextTick_;
};

TEST(WindowsSerialRoundTrip, GroupSwitchReachesTheBus) {
  requirePeer();
  const char* busLog = std::getenv("KOLVARO_TEST_BUS_LOG");
  ASSERT_TRUE(busLog && *busLog) << "the bus log's path: run scripts/test-windows.sh";
  HostPortPlatform host;
  ScopedPlatform installed(host);
  ComPort port;
  ASSERT_FALSE(port.IsFailed());
  const std::uint8_t reset = 0x01;
  ASSERT_FALSE(port.WriteByte(&reset));
  ASSERT_EQ(awaitByte(port), 0x03);

  struct Case {
    bool on;
    const char* logged;
  };
  const Case cases[] = {{true, "0/0/2 GroupValueWrite on"}, {false, "0/0/2 GroupValueWrite off"}};
  for (const Case& c : cases) {
    WineWindow window(port);
    window.text(Field::OnOffGroup) = "00\\0\\002";
    window.runValidation();
    window.switchGroup(c.on);
    ASSERT_EQ(window.results.size(), 4u) << c.logged;
    EXPECT_EQ(window.results.back(), "ACK") << "the chip confirmed the last frame";
    EXPECT_TRUE(window.platform.boxes.empty()) << window.platform.boxes.front().text;

    // kolvaro-bus logs each frame as it leaves the bus; four identical ones, acknowledged.
    const auto end = Clock::now() + Deadline;
    std::size_t seen = 0;
    while (Clock::now() < end) {
      const std::string log = readWhole(busLog);
      seen = 0;
      for (auto at = log.find(c.logged); at != std::string::npos; at = log.find(c.logged, at + 1)) ++seen;
      if (seen >= 4) break;
      Sleep(10);
    }
    EXPECT_GE(seen, 4u) << c.logged << "\n" << readWhole(busLog);
  }
}

}  // namespace
}  // namespace kolvaro
