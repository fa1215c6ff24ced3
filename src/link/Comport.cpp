#include "link/Comport.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

#include "link/ChipServices.h"
#include "link/Hex.h"
#include "link/IniFile.h"
#include "link/PortPaths.h"
#include "platform/Platform.h"
#include "platform/SystemDirectory.h"

namespace kolvaro {
namespace {

constexpr unsigned ErrorBox = mb::IconError | mb::Topmost;
constexpr unsigned InformationBox = mb::IconInformation | mb::Topmost;

constexpr const char* SettingsSection = "COM settings";
constexpr const char* PortSection = "Port no.";
constexpr const char* PortKey = "COM";

constexpr const char* PortNames[] = {"COM1", "COM2", "COM3", "COM4"};

void showError(const std::string& text) { platform().messageBox(text, nullptr, ErrorBox); }

// The devices dcb.ini names for the ports, read quietly: a missing system directory is
// reported where dcb.ini's settings are loaded, not when a port is looked for.
PortPaths configuredPortPaths() {
  const std::optional<std::string> directory = platform().systemDirectory();
  return directory ? readPortPaths(pathInDirectory(*directory, "dcb.ini")) : PortPaths{};
}

void showActivePort(const char* portName) {
  platform().messageBox(std::string("Active port: ") + portName, "Information", InformationBox);
}

// The keys of section "COM settings", read in this order, with their defaults; each
// value is stored with the width of its Win32 bit field or member.
struct DcbKey {
  const char* key;
  std::int32_t fallback;
  std::uint32_t mask;
  std::uint32_t Dcb::*flag;  // the member, for the 32-bit ones
};

constexpr std::uint32_t OneBit = 0x1, TwoBits = 0x3, AllBits = 0xFFFFFFFF;

constexpr DcbKey Keys32[] = {
    {"BaudRate", 19200, AllBits, &Dcb::BaudRate},
    {"fBinary", 1, OneBit, &Dcb::fBinary},
    {"fParity", 1, OneBit, &Dcb::fParity},
    {"fOutxCtsFlow", 0, OneBit, &Dcb::fOutxCtsFlow},
    {"fOutxDsrFlow", 0, OneBit, &Dcb::fOutxDsrFlow},
    {"fDtrControl", 1, TwoBits, &Dcb::fDtrControl},
    {"fDsrSensitivity", 0, OneBit, &Dcb::fDsrSensitivity},
    {"fTXContinueOnXoff", 1, OneBit, &Dcb::fTXContinueOnXoff},
    {"fOutX", 0, OneBit, &Dcb::fOutX},
    {"fInX", 0, OneBit, &Dcb::fInX},
    {"fErrorChar", 0, OneBit, &Dcb::fErrorChar},
    {"fNull", 0, OneBit, &Dcb::fNull},
    {"fRtsControl", 1, TwoBits, &Dcb::fRtsControl},
    {"fAbortOnError", 0, OneBit, &Dcb::fAbortOnError},
};

}  // namespace

ComPort::ComPort() {
  failed = OpenPort(FindFreePort()) != 0;
  if (!failed) showActivePort(portName);
}

ComPort::ComPort(std::uint32_t baudRate_, const char* parityName_, std::uint8_t byteSize_, double stopBits_,
                 std::uint8_t portNo_)
    : baudRate(baudRate_),
      parityName(parityName_),
      byteSize(byteSize_),
      // Truncated toward zero; a count that does not fit a byte is no count of stop bits.
      stopBits(stopBits_ >= 0.0 && stopBits_ < 256.0 ? static_cast<std::uint8_t>(stopBits_) : 0),
      portNo(portNo_) {
  iniPath.clear();
  if (MakeIniPath()) {
    failed = true;
    return;
  }
  std::uint8_t chosen = 0;
  {
    IniFile ini(iniPath);
    if (portNo >= 1 && portNo <= 4) ini.WriteInteger(PortSection, PortKey, portNo);
    ini.WriteInteger(SettingsSection, "BaudRate", baudRate);
    switch (parityName && *parityName ? parityName[0] : '\0') {
      case 'n': ini.WriteInteger(SettingsSection, "Parity", 0); break;
      case 'o': ini.WriteInteger(SettingsSection, "Parity", 1); break;
      case 'e': ini.WriteInteger(SettingsSection, "Parity", 2); break;
      case 'm': ini.WriteInteger(SettingsSection, "Parity", 3); break;
      case 's': ini.WriteInteger(SettingsSection, "Parity", 4); break;
      default: break;
    }
    ini.WriteInteger(SettingsSection, "ByteSize", byteSize);
    if (stopBits == 1) ini.WriteInteger(SettingsSection, "StopBits", 0);
    if (stopBits == 2) ini.WriteInteger(SettingsSection, "StopBits", 2);
    // Read back: when the file could not be written this is what it already held, or 0.
    chosen = static_cast<std::uint8_t>(ini.ReadInteger(PortSection, PortKey, 0));
  }
  failed = OpenPort(chosen) != 0;
  if (!failed) showActivePort(portName);
}

ComPort::~ComPort() {
  // Both steps are attempted whatever state the object is in. A port that never
  // opened, or never reported its settings, has nothing that could be put back.
  if (!hCom || !savedDcbRead || !hCom->setState(savedDcb)) {
    if (hCom && savedDcbRead) lineFailed();
    showError("DCB settings restoring error!");
  }
  // No handle is nothing to close, as closing the invalid handle succeeds on Windows.
  if (hCom && !hCom->close()) {
    lineFailed();
    showError(std::string("Could't closed ") + portName);
  }
}

std::uint8_t ComPort::FindFreePort() {
  portFree.fill(false);
  const PortPaths paths = configuredPortPaths();
  for (std::uint8_t n = 1; n <= 4; ++n) {
    portName = PortNames[n - 1];
    hCom = platform().serialPorts().open(portName, paths, lastError);
    if (hCom) {
      portFree[n - 1] = true;
      hCom->close();
    }
    hCom.reset();
  }
  for (std::uint8_t n = 1; n <= 4; ++n) {
    if (portFree[n - 1]) return n;
  }
  showError("No COM port of 1 to 4 is available now");
  return 0;
}

std::uint8_t ComPort::OpenPort(std::uint8_t portNumber) {
  if (portNumber == 0 || portNumber > 4) {
    showError("COM no. is placed out of range of 1 \xC3\xB7 4");
    return 1;
  }
  portName = PortNames[portNumber - 1];
  hCom = platform().serialPorts().open(portName, configuredPortPaths(), lastError);
  if (!hCom) {
    showError(std::string("Couldn't open") + portName);
    return 1;
  }
  return LoadDcb();
}

std::uint8_t ComPort::LoadDcb() {
  if (MakeIniPath()) {
    failed = true;
    return 1;
  }
  if (!hCom) return 1;
  IniFile ini(iniPath);
  if (!hCom->getState(savedDcb)) {
    lineFailed();
    return 1;
  }
  savedDcbRead = true;
  if (!hCom->getState(dcb)) {
    lineFailed();
    return 1;
  }

  for (const DcbKey& key : Keys32) {
    dcb.*key.flag = static_cast<std::uint32_t>(ini.ReadInteger(SettingsSection, key.key, key.fallback)) & key.mask;
  }
  dcb.wReserved = static_cast<std::uint16_t>(ini.ReadInteger(SettingsSection, "wReserved", 0));
  dcb.ByteSize = static_cast<std::uint8_t>(ini.ReadInteger(SettingsSection, "ByteSize", 8));
  dcb.Parity = static_cast<std::uint8_t>(ini.ReadInteger(SettingsSection, "Parity", 2));
  dcb.StopBits = static_cast<std::uint8_t>(ini.ReadInteger(SettingsSection, "StopBits", 0));

  if (!hCom->setState(dcb)) {
    lineFailed();
    showError("DCB setting error! Check \"dcb.ini\" file ");
    return 1;
  }
  return 0;
}

bool ComPort::MakeIniPath() {
  std::optional<std::string> directory = platform().systemDirectory();
  if (!directory) {
    platform().messageBox("System directory is not accessible", nullptr, 0);
    return true;
  }
  iniPath = pathInDirectory(*directory, "dcb.ini");
  return false;
}

bool ComPort::WriteByte(const std::uint8_t* p) {
  if (failed || !hCom) return true;
  SerialLine::Status status;
  if (!hCom->clearError(status)) return lineFailed();
  if (status.errors != 0) return lineErrorsFound(status.errors);
  return WriteAtOnce(*p);
}

bool ComPort::WriteAtOnce(std::uint8_t byte) {
  if (failed || !hCom) return true;
  return !hCom->writeByte(byte) && lineFailed();
}

std::int32_t ComPort::ReadByte() {
  if (failed || !hCom) return ReadError;
  if (!unread.empty()) {
    const std::uint8_t byte = unread.front();
    unread.pop_front();
    return byte;
  }
  SerialLine::Status status;
  if (!hCom->clearError(status)) {
    lineFailed();
    return ReadError;
  }
  if (status.errors != 0) {
    lineErrorsFound(status.errors);
    hCom->purge(false, true);
    return ReadError;
  }
  if (status.bytesWaiting == 0) return NothingWaiting;
  std::uint8_t byte = 0;
  if (!hCom->readByte(byte)) {
    lineFailed();
    return ReadError;
  }
  return byte;
}

std::int32_t ComPort::ReadWaiting(std::uint8_t* bytes, std::size_t capacity) {
  if (failed || !hCom) return ReadError;
  capacity = std::min<std::size_t>(capacity, 255);  // a count never reads as a code
  if (!unread.empty()) {
    const std::size_t count = std::min(capacity, unread.size());
    std::copy_n(unread.begin(), count, bytes);
    unread.erase(unread.begin(), unread.begin() + static_cast<std::ptrdiff_t>(count));
    return static_cast<std::int32_t>(count);
  }
  std::size_t count = 0;
  std::uint32_t errors = 0;
  const bool read = hCom->readWaiting(bytes, capacity, count, errors);
  if (read && errors != 0) {
    lineErrorsFound(errors);
    hCom->purge(false, true);
    return ReadError;
  }
  if (read && count > 0) return static_cast<std::int32_t>(count);
  // Nothing read: the full look tells an empty line from one that failed or hung up, and
  // takes a byte that came meanwhile.
  const std::int32_t value = ReadByte();
  if (value > 255) return value;
  bytes[0] = static_cast<std::uint8_t>(value);
  return 1;
}

bool ComPort::WriteHexText(const char* text) {
  if (failed) return true;
  std::string_view digits(text ? text : "");
  std::vector<std::uint8_t> bytes(digits.size() / 2);
  HexToBytes(digits.data(), digits.size(), bytes.data());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    // Cleared just before the last byte, so whatever the chip sends in reply to the
    // whole sequence is not mixed with older bytes.
    if (i + 1 == bytes.size()) PurgeBuffers('R');
    if (WriteByte(&bytes[i])) return true;
  }
  return false;
}

bool ComPort::RaiseDTR() { return !hCom || (!hCom->setDtr() && lineFailed()); }

bool ComPort::RaiseRTS() { return !hCom || (!hCom->setRts() && lineFailed()); }

void ComPort::Unread(const std::vector<std::uint8_t>& bytes) {
  unread.insert(unread.begin(), bytes.begin(), bytes.end());
}

bool ComPort::PurgeBuffers(char which) {
  if (which != 'T') unread.clear();
  if (!hCom) return true;
  return !hCom->purge(which != 'R', which != 'T') && lineFailed();
}

bool ComPort::lineErrorsFound(std::uint32_t errors) {
  lastError = {"ClearCommError: line error word " + std::to_string(errors), 0};
  return true;
}

bool ComPort::lineFailed() {
  if (hCom) lastError = hCom->lastError();
  return true;
}

int ComPort::ReadableDescriptor() const { return (hCom && !failed) ? hCom->readableDescriptor() : -1; }

}  // namespace kolvaro
