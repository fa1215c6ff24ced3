#pragma once
// The device session: everything the program does with the bus device, as calls that
// return what happened. Its requests go through the request seam (BusRequests); its
// questions, messages, progress and the values it builds telegrams from go through
// the face that runs it (SessionFace).
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "config/DeviceConfiguration.h"
#include "config/SessionFace.h"
#include "telegram/BusRequests.h"
#include "telegram/InterfaceTest.h"

namespace kolvaro {

// The stages of a write, in their order.
enum class WriteStage { AddressCheck, ProgrammingMode, AddressAssignment, GroupTable, Programs, InputMode };
inline constexpr int WriteStageCount = 6;

enum class StageResult {
  NotReached,
  Done,
  Declined,  // the question before it was answered No
  Failed,
};

struct WriteResult {
  std::array<StageResult, WriteStageCount> stages{};
  bool addressTaken = false;         // the wanted address answered the address check
  std::optional<Message> stoppedBy;  // the message that ended the run, if one did
  StageResult stage(WriteStage s) const { return stages[static_cast<std::size_t>(s)]; }
  // A stage that failed, or a taken address the user would not write over.
  bool failed() const;
};

struct ReadResult {
  bool reachedEnd = false;  // through the group table, and on through what was asked
  bool programsRead = false;
  bool inputModeRead = false;
  bool deviceSilent = false;  // the device found did not answer at its address
  std::optional<Message> stoppedBy;
  DeviceConfiguration found;  // what was read; the rest as a new configuration has it
  bool complete() const { return reachedEnd && programsRead && inputModeRead; }
};

enum class SwitchResult {
  NoGroup,  // no group to switch: nothing sent
  Sent,     // the group write went out
  Failed,   // the port would not take it
};

struct ProgrammingModeDevice {
  std::uint16_t address = 0;
  std::chrono::milliseconds firstAnswer{0};  // since the request
  int answers = 0;                           // answers from this address
  friend bool operator==(const ProgrammingModeDevice&, const ProgrammingModeDevice&) = default;
};

struct ProgrammingModeScanResult {
  bool sendFailed = false;                     // the request could not be written
  std::vector<ProgrammingModeDevice> devices;  // in the order of their first answers
};

inline constexpr std::chrono::milliseconds ProgrammingModeListenTime{3000};

struct Verification {
  bool deviceRead = false;  // false: the read stopped, nothing was compared
  DeviceConfiguration found;
  std::vector<Difference> differences;  // empty: the device holds what was expected
  bool matches() const { return deviceRead && differences.empty(); }
};

class DeviceSession {
 public:
  DeviceSession(BusRequests& bus, SessionFace& face) : bus_(bus), face_(face) {}

  // Checks the wanted address, finds the one device in programming mode, gives it the
  // address and, each after its question, writes the group table, the programs and the
  // input mode.
  WriteResult write();
  // Finds the device in programming mode and reads its address, its group table and,
  // each after its question, the programs and the input mode.
  ReadResult read();
  // A group value write of on or off to the group; none: nothing to switch.
  SwitchResult switchGroup(std::optional<GroupBytes> group, bool on);
  // Every device in programming mode: the address read once, then every answer for a while.
  ProgrammingModeScanResult scanProgrammingMode(std::chrono::milliseconds listen = ProgrammingModeListenTime,
                                                SteadyNow now = {});
  // The bus interface's own state.
  ChipState testInterface() { return bus_.testInterface(); }
  // Reads the device in programming mode, its questions answered Yes, and compares.
  Verification verify(const DeviceConfiguration& expected);

 private:
  BusRequests& bus_;
  SessionFace& face_;
};

// "1.1.5 (po 42 ms)", "1.1.5 (po 42 ms, 2 odpowiedzi)"; the whole list one a line, or
// the plain "none" text.
CoreText ProgrammingModeDeviceText(const ProgrammingModeDevice& device);
CoreText ProgrammingModeReport(const ProgrammingModeScanResult& result);

}  // namespace kolvaro
