#pragma once
// One device's configuration as a value: what the write procedure puts into a device
// and the read procedure gets out of it, plus the installer's own notes. Files, the
// command-line program and the verification all work on this one value.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/SessionFace.h"
#include "platform/CoreText.h"
#include "telegram/AddressText.h"

namespace kolvaro {

// Output programs and input modes, by the item index of their combo boxes (the code
// written to the device).
inline constexpr int ProgramCount = 3;    // no delay, switch-on delay, switch-off delay
inline constexpr int InputModeCount = 2;  // monostable, bistable

struct DeviceConfiguration {
  std::uint16_t physicalAddress = 0xFFFF;
  // The eight table entries in the table's order (WE1 first, second; WE2 …; WY1 …; WY2 …);
  // {0xFF, 0xFF} is no group.
  std::array<GroupBytes, TableEntryCount> groups{};
  std::array<int, 2> programs{};  // WY1, WY2
  int inputMode = 0;
  std::string room;
  std::string description;

  DeviceConfiguration() { groups.fill({NoGroupByte, NoGroupByte}); }
  friend bool operator==(const DeviceConfiguration&, const DeviceConfiguration&) = default;
};

// Items are named by their keys in a configuration file, so a report points into the
// file: "physical_address", "groups.WE1[0]" (first entry of input WE1), "programs.WY2",
// "input_mode".
inline constexpr char PhysicalAddressKey[] = "physical_address";
inline constexpr char GroupsKey[] = "groups";
inline constexpr char ProgramsKey[] = "programs";
inline constexpr char InputModeKey[] = "input_mode";
inline constexpr const char* Channels[4] = {"WE1", "WE2", "WY1", "WY2"};  // two table entries each
inline constexpr const char* Outputs[2] = {"WY1", "WY2"};
std::string GroupEntryKey(int entry);  // entry 0..7 in table order

// Address texts of files and reports: "1.1.5" and "0/0/2", "none" for no group.
std::string PhysicalAddressWords(std::uint16_t address);
std::string GroupWords(const GroupBytes& group);
inline constexpr char NoGroupWord[] = "none";
// The words of the program codes and input modes, and back; nothing for other words.
const char* ProgramWord(int program);
const char* InputModeWord(int mode);
std::optional<int> ProgramFromWord(const std::string& word);
std::optional<int> InputModeFromWord(const std::string& word);
// Strict readers of the address texts of files: digits only, every part in range.
std::optional<std::uint16_t> PhysicalAddressFromWords(const std::string& text);
std::optional<GroupBytes> GroupFromWords(const std::string& text);

// One item that differs between what was expected and what was found.
struct Difference {
  std::string item;  // the item's key
  std::string expected;
  std::string found;
  friend bool operator==(const Difference&, const Difference&) = default;
};
// The device items that differ, in the order of the device's memory map; the
// installer's notes are not part of a device and are not compared.
std::vector<Difference> CompareConfigurations(const DeviceConfiguration& expected, const DeviceConfiguration& found);
CoreText DifferenceLine(const Difference& difference);

}  // namespace kolvaro
