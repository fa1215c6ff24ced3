#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "link/Comport.h"
#include "link/IniFile.h"
#include "support/FakeLine.h"
#include "support/RecordingPlatform.h"

namespace kolvaro {
namespace {

using test::FakeLineState;
using test::ShownBox;

constexpr unsigned ErrorFlags = mb::IconError | mb::Topmost;

ShownBox errorBox(const std::string& text) { return {text, std::nullopt, ErrorFlags}; }
ShownBox activeBox(const std::string& port) {
  return {"Active port: " + port, "Information", mb::IconInformation | mb::Topmost};
}

const std::string OutOfRange = "COM no. is placed out of range of 1 \xC3\xB7 4";

class ComPortTest : public ::testing::Test {
 protected:
  ComPortTest() : scope(platform) {
    platform.directory = dir.path();
    for (int n = 1; n <= 4; ++n) lines.push_back(test::addFakePort(platform.scripted, "COM" + std::to_string(n)));
  }

  std::string iniPath() const { return dir.file("dcb.ini"); }
  void writeIni(const std::string& text) { test::writeFile(iniPath(), text); }
  std::shared_ptr<FakeLineState> line(int n) { return lines[static_cast<std::size_t>(n - 1)]; }

  test::TempDir dir;
  test::RecordingPlatform platform;
  ScopedPlatform scope;
  std::vector<std::shared_ptr<FakeLineState>> lines;
};

// The devices dcb.ini names for the ports reach the serial backend with every open,
// both constructors alike; without the system directory none are handed on.
TEST_F(ComPortTest, PortsAreOpenedWithTheDevicesDcbIniNames) {
  writeIni("[COM ports]\r\nCOM1 = /dev/ttyUSB0\r\ncom3=/tmp/kolvaro/com3\r\nCOM4=\r\n");
  const PortPaths configured{{"COM1", "/dev/ttyUSB0"}, {"COM3", "/tmp/kolvaro/com3"}};
  {
    ComPort startUp;
    EXPECT_EQ(platform.scripted.lastPaths, configured);
  }
  platform.scripted.lastPaths.clear();
  {
    ComPort chosen(19200, "even", 8, 1.0, 3);
    EXPECT_EQ(platform.scripted.opened.back(), "COM3");
    EXPECT_EQ(platform.scripted.lastPaths, configured);
  }
  platform.directory.reset();
  { ComPort startUp; }
  EXPECT_TRUE(platform.scripted.lastPaths.empty());
}

TEST_F(ComPortTest, NoFreePortAtStartUp) {
  for (auto& l : lines) l->cannotOpen = true;
  {
    ComPort port;
    EXPECT_TRUE(port.IsFailed());
    EXPECT_EQ(platform.boxes,
              (std::vector<ShownBox>{errorBox("No COM port of 1 to 4 is available now"), errorBox(OutOfRange)}));
    std::uint8_t byte = 0x01;
    EXPECT_TRUE(port.WriteByte(&byte));
    EXPECT_TRUE(port.WriteHexText("01"));
    EXPECT_EQ(port.ReadByte(), ComPort::ReadError);
    EXPECT_TRUE(port.RaiseDTR());
    EXPECT_TRUE(port.RaiseRTS());
    EXPECT_EQ(port.ReadableDescriptor(), -1);
    platform.boxes.clear();
  }
  // Nothing was opened: the restore fails; there is no handle whose closing could fail.
  EXPECT_EQ(platform.boxes, std::vector<ShownBox>{errorBox("DCB settings restoring error!")});
}

TEST_F(ComPortTest, StartUpTakesTheLowestFreePortWhateverDcbIniSays) {
  struct Case {
    std::vector<int> busy;
    const char* ini;
    std::string expected;
  };
  const Case cases[] = {
      {{}, "", "COM1"},
      {{}, "[Port no.]\nCOM=3\n", "COM1"},
      {{1}, "", "COM2"},
      {{1, 2, 3}, "[Port no.]\nCOM=1\n", "COM4"},
  };
  for (const auto& c : cases) {
    for (auto& l : lines) l->cannotOpen = false;
    for (int n : c.busy) line(n)->cannotOpen = true;
    writeIni(c.ini);
    platform.boxes.clear();
    platform.scripted.opened.clear();
    {
      ComPort port;
      EXPECT_FALSE(port.IsFailed()) << c.expected;
      EXPECT_STREQ(port.PortName(), c.expected.c_str());
      EXPECT_EQ(platform.boxes, std::vector<ShownBox>{activeBox(c.expected)});
      // four probes, then the port itself
      std::vector<std::string> opened{"COM1", "COM2", "COM3", "COM4", c.expected};
      EXPECT_EQ(platform.scripted.opened, opened);
    }
    EXPECT_EQ(test::readFile(iniPath()), c.ini) << "the start-up constructor writes nothing";
  }
}

TEST_F(ComPortTest, NoDcbIniGivesTheChipSettingsAndCreatesNoFile) {
  {
    ComPort port;
    ASSERT_FALSE(port.IsFailed());
    ASSERT_EQ(line(1)->statesSet.size(), 1u);
    Dcb expected = FakeLineState::defaultReported();  // members dcb.ini does not set stay as reported
    expected.BaudRate = 19200;
    expected.fBinary = 1;
    expected.fParity = 1;
    expected.fDtrControl = 1;
    expected.fTXContinueOnXoff = 1;
    expected.fRtsControl = 1;
    expected.ByteSize = 8;
    expected.Parity = 2;
    expected.StopBits = 0;
    EXPECT_EQ(line(1)->statesSet[0], expected);
  }
  EXPECT_FALSE(std::filesystem::exists(iniPath()));
  // Deletion put back what the port had and closed it.
  EXPECT_EQ(line(1)->statesSet.back(), FakeLineState::defaultReported());
  EXPECT_EQ(line(1)->events.back(), "close");
  EXPECT_FALSE(line(1)->open);
}

TEST_F(ComPortTest, DcbIniValuesTakeTheWidthOfTheirMember) {
  struct Case {
    const char* entry;  // one line in [COM settings]
    std::uint32_t Dcb::*member;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"BaudRate=9600", &Dcb::BaudRate, 9600},
      {"BaudRate=-1", &Dcb::BaudRate, 0xFFFFFFFF},
      {"BaudRate=fast", &Dcb::BaudRate, 19200},
      {"baudrate = 4800", &Dcb::BaudRate, 4800},
      {"fBinary=0", &Dcb::fBinary, 0},
      {"fParity=2", &Dcb::fParity, 0},
      {"fParity=3", &Dcb::fParity, 1},
      {"fOutxCtsFlow=1", &Dcb::fOutxCtsFlow, 1},
      {"fOutxDsrFlow=1", &Dcb::fOutxDsrFlow, 1},
      {"fDtrControl=2", &Dcb::fDtrControl, 2},
      {"fDtrControl=7", &Dcb::fDtrControl, 3},
      {"fDtrControl=x", &Dcb::fDtrControl, 1},
      {"fDsrSensitivity=1", &Dcb::fDsrSensitivity, 1},
      {"fTXContinueOnXoff=0", &Dcb::fTXContinueOnXoff, 0},
      {"fOutX=1", &Dcb::fOutX, 1},
      {"fInX=1", &Dcb::fInX, 1},
      {"fErrorChar=1", &Dcb::fErrorChar, 1},
      {"fNull=1", &Dcb::fNull, 1},
      {"fRtsControl=6", &Dcb::fRtsControl, 2},
      {"fAbortOnError=-1", &Dcb::fAbortOnError, 1},
      {"fDummy2=9", &Dcb::fDummy2, 5},  // not a key the port reads: stays as reported
  };
  for (const auto& c : cases) {
    line(1)->statesSet.clear();
    writeIni(std::string("[COM settings]\n") + c.entry + "\n");
    ComPort port;
    ASSERT_FALSE(line(1)->statesSet.empty()) << c.entry;
    EXPECT_EQ(line(1)->statesSet.front().*c.member, c.expected) << c.entry;
  }
}

TEST_F(ComPortTest, DcbIniNarrowMembers) {
  writeIni("[COM settings]\nwReserved=65538\nByteSize=263\nParity=4\nStopBits=2\nXonLim=1\nXonChar=65\n");
  ComPort port;
  ASSERT_FALSE(line(1)->statesSet.empty());
  const Dcb& applied = line(1)->statesSet.front();
  EXPECT_EQ(applied.wReserved, 2);
  EXPECT_EQ(applied.ByteSize, 7);
  EXPECT_EQ(applied.Parity, 4);
  EXPECT_EQ(applied.StopBits, 2);
  EXPECT_EQ(applied.XonLim, 2048);  // kept as the port reported
  EXPECT_EQ(applied.XonChar, 0x11);
}

TEST_F(ComPortTest, PortChoiceWritesItsFiveKeysAndOpensTheChosenPort) {
  {
    ComPort port(19200, "even", 8, 1.0, 3);
    EXPECT_FALSE(port.IsFailed());
    EXPECT_STREQ(port.PortName(), "COM3");
    EXPECT_EQ(platform.boxes, std::vector<ShownBox>{activeBox("COM3")});
  }
  EXPECT_EQ(test::readFile(iniPath()),
            "[Port no.]\nCOM=3\n[COM settings]\nBaudRate=19200\nParity=2\nByteSize=8\nStopBits=0\n");
}

TEST_F(ComPortTest, PortChoiceKeepsTheUsersLinesAndOverwritesBaudRate) {
  writeIni("; tuned by hand\r\n[COM settings]\r\nBaudRate=9600\r\nfOutX = 1\r\n\r\n[Mine]\r\nx=y\r\n");
  ComPort port(19200, "even", 8, 1.0, 2);
  EXPECT_EQ(test::readFile(iniPath()),
            "; tuned by hand\r\n[COM settings]\r\nBaudRate=19200\r\nfOutX = 1\r\nParity=2\r\nByteSize=8\r\n"
            "StopBits=0\r\n\r\n[Mine]\r\nx=y\r\n[Port no.]\r\nCOM=2\r\n");
  ASSERT_FALSE(line(2)->statesSet.empty());
  EXPECT_EQ(line(2)->statesSet.front().BaudRate, 19200u);
  EXPECT_EQ(line(2)->statesSet.front().fOutX, 1u);  // the user's key is still read
}

TEST_F(ComPortTest, PortChoiceParityAndStopBitsWrittenOnlyWhenTheyHaveAValue) {
  struct Case {
    const char* parity;
    double stopBits;
    std::int32_t parityWritten;    // -1: not written
    std::int32_t stopBitsWritten;  // -1: not written
  };
  const Case cases[] = {
      {"none", 1.0, 0, 0},  {"odd", 2.0, 1, 2},   {"even", 1.9, 2, 0}, {"mark", 1.0, 3, 0},
      {"space", 1.0, 4, 0}, {"Even", 1.5, -1, 0}, {"x", 3.0, -1, -1},  {"", 0.5, -1, -1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(iniPath());
    ComPort port(9600, c.parity, 7, c.stopBits, 1);
    IniFile ini(iniPath());
    EXPECT_EQ(ini.ReadInteger("COM settings", "Parity", -1), c.parityWritten) << c.parity;
    EXPECT_EQ(ini.ReadInteger("COM settings", "StopBits", -1), c.stopBitsWritten) << c.stopBits;
    EXPECT_EQ(ini.ReadInteger("COM settings", "ByteSize", -1), 7);
    EXPECT_EQ(ini.ReadInteger("COM settings", "BaudRate", -1), 9600);
  }
}

TEST_F(ComPortTest, PortChoiceOpensThePortDcbIniNames) {
  struct Case {
    std::uint8_t portNo;
    const char* ini;
    std::vector<ShownBox> boxes;
  };
  const Case cases[] = {
      {0, "", {errorBox(OutOfRange)}},
      {0, "[Port no.]\nCOM=4\n", {activeBox("COM4")}},
      {5, "[Port no.]\nCOM=2\n", {activeBox("COM2")}},
      {1, "[Port no.]\nCOM=2\n", {activeBox("COM1")}},
      {0, "[Port no.]\nCOM=260\n", {activeBox("COM4")}},  // the low 8 bits
      {0, "[Port no.]\nCOM=9\n", {errorBox(OutOfRange)}},
  };
  for (const auto& c : cases) {
    writeIni(c.ini);
    platform.boxes.clear();
    {
      ComPort port(19200, "even", 8, 1.0, c.portNo);
      EXPECT_EQ(platform.boxes, c.boxes) << c.ini;
    }
  }
}

TEST_F(ComPortTest, ChosenPortThatCannotBeOpened) {
  line(2)->cannotOpen = true;
  ComPort port(19200, "even", 8, 1.0, 2);
  EXPECT_TRUE(port.IsFailed());
  EXPECT_EQ(platform.boxes, std::vector<ShownBox>{errorBox("Couldn't openCOM2")});
}

TEST_F(ComPortTest, NoSystemDirectory) {
  platform.directory.reset();
  const std::vector<ShownBox> expected{{"System directory is not accessible", std::nullopt, 0}};
  {
    ComPort port;
    EXPECT_TRUE(port.IsFailed());
    EXPECT_EQ(platform.boxes, expected);
  }
  platform.boxes.clear();
  ComPort choice(19200, "even", 8, 1.0, 1);
  EXPECT_TRUE(choice.IsFailed());
  EXPECT_EQ(platform.boxes, expected);
  EXPECT_EQ(line(1)->opens, 2) << "only the start-up probe and open; the choice stopped before opening";
}

TEST_F(ComPortTest, PortThatCannotReportItsSettings) {
  line(1)->getStateFails = true;
  {
    ComPort port;
    EXPECT_TRUE(port.IsFailed());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(line(1)->statesSet.empty());
  }
  // Nothing known to put back, so nothing is applied; the handle is closed.
  EXPECT_EQ(platform.boxes, std::vector<ShownBox>{errorBox("DCB settings restoring error!")});
  EXPECT_TRUE(line(1)->statesSet.empty());
  EXPECT_EQ(line(1)->events, (std::vector<std::string>{"close", "close"}));
}

TEST_F(ComPortTest, RejectedSettingsKeepTheHandleUntilDeletion) {
  line(1)->setStateRejects = true;
  {
    ComPort port;
    EXPECT_TRUE(port.IsFailed());
    EXPECT_EQ(platform.boxes, std::vector<ShownBox>{errorBox("DCB setting error! Check \"dcb.ini\" file ")});
    EXPECT_TRUE(line(1)->open);
    std::uint8_t byte = 1;
    EXPECT_TRUE(port.WriteByte(&byte));
    EXPECT_TRUE(line(1)->written.empty());
  }
  EXPECT_EQ(platform.boxes.back(), errorBox("DCB settings restoring error!"));
  EXPECT_FALSE(line(1)->open);
}

TEST_F(ComPortTest, CloseFailureAtDeletion) {
  line(1)->closeFails = true;
  { ComPort port(19200, "even", 8, 1.0, 1); }
  EXPECT_EQ(platform.boxes, (std::vector<ShownBox>{activeBox("COM1"), errorBox("Could't closed COM1")}));
}

TEST_F(ComPortTest, ReadByteResults) {
  ComPort port;
  ASSERT_FALSE(port.IsFailed());
  auto& l = *line(1);
  EXPECT_EQ(port.ReadByte(), ComPort::NothingWaiting);

  l.incoming = {0x8B, 0x00};
  EXPECT_EQ(port.ReadByte(), 0x8B);
  EXPECT_EQ(port.ReadByte(), 0x00);
  EXPECT_EQ(port.ReadByte(), ComPort::NothingWaiting);

  l.incoming = {0x11, 0x22};
  l.pendingErrors = 0x4;
  EXPECT_EQ(port.ReadByte(), ComPort::ReadError);
  EXPECT_TRUE(l.incoming.empty()) << "a line error discards what was received";
  EXPECT_EQ(l.events.back(), "purge R");

  l.incoming = {0x11, 0x22};
  l.pendingErrors = 0x4;
  std::uint8_t bytes[4];
  EXPECT_EQ(port.ReadWaiting(bytes, sizeof bytes), ComPort::ReadError);
  EXPECT_TRUE(l.incoming.empty()) << "as from ReadByte";

  l.incoming = {0x33};
  l.readFails = true;
  EXPECT_EQ(port.ReadByte(), ComPort::ReadError);
  l.readFails = false;
  l.clearErrorFails = true;
  EXPECT_EQ(port.ReadByte(), ComPort::ReadError);
}

TEST_F(ComPortTest, WriteHexTextPurgesJustBeforeTheLastByte) {
  struct Case {
    const char* text;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"01", {"purge R", "write 01"}},
      {"80BC", {"write 80", "purge R", "write BC"}},
      {"80BC81FF8240", {"write 80", "write BC", "write 81", "write FF", "write 82", "purge R", "write 40"}},
      {"", {}},
  };
  ComPort port;
  ASSERT_FALSE(port.IsFailed());
  for (const auto& c : cases) {
    line(1)->events.clear();
    EXPECT_FALSE(port.WriteHexText(c.text)) << c.text;
    EXPECT_EQ(line(1)->events, c.events) << c.text;
  }
}

TEST_F(ComPortTest, WriteStopsAtTheFirstFailingByte) {
  ComPort port;
  auto& l = *line(1);
  l.writesBeforeFailure = 1;
  EXPECT_TRUE(port.WriteHexText("010203"));
  EXPECT_EQ(l.written, std::vector<std::uint8_t>{0x01});

  l.writesBeforeFailure.reset();
  l.pendingErrors = 0x8;
  std::uint8_t byte = 0x01;
  EXPECT_TRUE(port.WriteByte(&byte)) << "pending line errors";
  EXPECT_FALSE(port.WriteByte(&byte));
  l.clearErrorFails = true;
  EXPECT_TRUE(port.WriteByte(&byte));
  EXPECT_EQ(l.written, (std::vector<std::uint8_t>{0x01, 0x01}));
}

TEST_F(ComPortTest, ModemLinesAndPurges) {
  ComPort port;
  auto& l = *line(1);
  l.events.clear();
  EXPECT_FALSE(port.RaiseDTR());
  EXPECT_FALSE(port.RaiseRTS());
  EXPECT_FALSE(port.PurgeBuffers('T'));
  EXPECT_FALSE(port.PurgeBuffers('R'));
  EXPECT_FALSE(port.PurgeBuffers('x'));
  EXPECT_EQ(l.events, (std::vector<std::string>{"DTR", "RTS", "purge T", "purge R", "purge TR"}));
  l.modemLinesFail = true;
  l.purgeFails = true;
  EXPECT_TRUE(port.RaiseDTR());
  EXPECT_TRUE(port.RaiseRTS());
  EXPECT_TRUE(port.PurgeBuffers('R'));
}

}  // namespace
}  // namespace kolvaro
