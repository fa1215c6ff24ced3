#pragma once
// What the device session needs from the face that runs it (the window, kolvaro-cli):
// answers to its questions, an ear for its messages, somewhere to show its progress,
// the values to build its telegrams from, and, while a read goes on, each value as it
// comes in. The face decides how each is shown; the session never sees a widget.
#include <array>
#include <cstdint>
#include <optional>

namespace kolvaro {

enum class Question {
  ConfigureDespiteTakenAddress,  // the wanted address answered
  WriteGroupTable,
  WritePrograms,
  WriteInputMode,
  ReadPrograms,
  ReadInputMode,
};

enum class Message {
  // Write and read alike.
  AddressCheckFailed,
  NoDeviceInProgrammingMode,
  SeveralDevicesInProgrammingMode,
  // Write.
  AddressFreeEnterProgrammingMode,
  EnterProgrammingMode,
  ConfigurationFailed,
  ProgramsWritten,
  InputModeWritten,
  // Read.
  StartReading,
  ReadFailed,
  DeviceDoesNotAnswer,
  AddressUsedTwice,
  GroupReadError,
  GroupReadUnsuccessful,
  ProgramReadError,
  ProgramReadUnsuccessful,
  InputModeReadError,
  InputModeReadUnsuccessful,
};

inline constexpr int ProgressFull = 96;  // the bar's range is 0..ProgressFull
inline constexpr int GroupTableBytes = 16;
inline constexpr int TableEntryCount = GroupTableBytes / 2;

// The values a telegram is built from, as the face holds them at that moment.
struct SessionValues {
  std::uint16_t local = 0;  // our own physical address
  // The device being configured: the address a write gives it, or the address a read
  // goes on with after its search (none: the address the device answered with).
  std::optional<std::uint16_t> device;
  std::array<std::uint8_t, GroupTableBytes> table{};  // the group table bytes in memory order
  std::array<int, 2> programs{};                      // WY1, WY2
  int inputMode = 0;
};

// One value a read got from the device.
struct ReadValue {
  enum class Item { DeviceAddress, TableByte, Program, InputMode };
  Item item = Item::DeviceAddress;
  unsigned index = 0;  // the table byte (0..15) or the output (0, 1)
  unsigned value = 0;  // the address, the byte, the program (0..2) or the input mode (0, 1)
};

class SessionFace {
 public:
  virtual ~SessionFace() = default;
  virtual bool ask(Question question) = 0;
  virtual void tell(Message message) = 0;
  virtual void progress(int position) = 0;
  // checked: the user's entries are checked (and corrected) first, as a validation run does.
  virtual SessionValues values(bool checked) = 0;
  virtual void valueRead(const ReadValue& /*value*/) {}
};

}  // namespace kolvaro
