#include "config/DeviceConfiguration.h"

#include <cctype>

namespace kolvaro {
namespace {

constexpr const char* ProgramWords[ProgramCount] = {"no-delay", "on-delay", "off-delay"};
constexpr const char* InputModeWords[InputModeCount] = {"monostable", "bistable"};

// Up to `maxDigits` decimal digits and nothing else, as a number.
std::optional<unsigned> number(const std::string& text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

// The three numbers of "a<sep>b<sep>c"; nothing unless there are exactly three.
std::optional<AddressParts> threeParts(const std::string& text, char separator) {
  const std::size_t first = text.find(separator);
  if (first == std::string::npos) return std::nullopt;
  const std::size_t second = text.find(separator, first + 1);
  if (second == std::string::npos || text.find(separator, second + 1) != std::string::npos) return std::nullopt;
  const auto a = number(text.substr(0, first), 2);
  const auto b = number(text.substr(first + 1, second - first - 1), 2);
  const auto c = number(text.substr(second + 1), 3);
  if (!a || !b || !c) return std::nullopt;
  return AddressParts{*a, *b, *c};
}

}  // namespace

std::string GroupEntryKey(int entry) {
  return std::string(GroupsKey) + "." + Channels[entry / 2] + "[" + std::to_string(entry % 2) + "]";
}

std::string PhysicalAddressWords(std::uint16_t address) {
  return std::to_string(address >> 12) + "." + std::to_string((address >> 8) & 0xF) + "." +
         std::to_string(address & 0xFF);
}

std::string GroupWords(const GroupBytes& group) {
  if (group[0] == NoGroupByte && group[1] == NoGroupByte) return NoGroupWord;
  return std::to_string(group[0] >> 3) + "/" + std::to_string(group[0] & 0x7) + "/" + std::to_string(group[1]);
}

const char* ProgramWord(int program) { return program >= 0 && program < ProgramCount ? ProgramWords[program] : "?"; }

const char* InputModeWord(int mode) { return mode >= 0 && mode < InputModeCount ? InputModeWords[mode] : "?"; }

std::optional<int> ProgramFromWord(const std::string& word) {
  for (int i = 0; i < ProgramCount; ++i) {
    if (word == ProgramWords[i]) return i;
  }
  return std::nullopt;
}

std::optional<int> InputModeFromWord(const std::string& word) {
  for (int i = 0; i < InputModeCount; ++i) {
    if (word == InputModeWords[i]) return i;
  }
  return std::nullopt;
}

std::optional<std::uint16_t> PhysicalAddressFromWords(const std::string& text) {
  const auto parts = threeParts(text, '.');
  if (!parts || !IsInRange(AddressKind::Physical, *parts)) return std::nullopt;
  return static_cast<std::uint16_t>(parts->first << 12 | parts->second << 8 | parts->third);
}

std::optional<GroupBytes> GroupFromWords(const std::string& text) {
  if (text == NoGroupWord) return GroupBytes{NoGroupByte, NoGroupByte};
  const auto parts = threeParts(text, '/');
  if (!parts || !IsInRange(AddressKind::Group, *parts)) return std::nullopt;
  return GroupBytes{static_cast<std::uint8_t>(parts->first << 3 | parts->second),
                    static_cast<std::uint8_t>(parts->third)};
}

std::vector<Difference> CompareConfigurations(const DeviceConfiguration& expected, const DeviceConfiguration& found) {
  std::vector<Difference> differences;
  if (expected.physicalAddress != found.physicalAddress) {
    differences.push_back({PhysicalAddressKey, PhysicalAddressWords(expected.physicalAddress),
                           PhysicalAddressWords(found.physicalAddress)});
  }
  for (int output = 0; output < 2; ++output) {
    if (expected.programs[output] != found.programs[output]) {
      differences.push_back({std::string(ProgramsKey) + "." + Outputs[output], ProgramWord(expected.programs[output]),
                             ProgramWord(found.programs[output])});
    }
  }
  for (int entry = 0; entry < TableEntryCount; ++entry) {
    const auto at = static_cast<std::size_t>(entry);
    if (expected.groups[at] != found.groups[at]) {
      differences.push_back({GroupEntryKey(entry), GroupWords(expected.groups[at]), GroupWords(found.groups[at])});
    }
  }
  if (expected.inputMode != found.inputMode) {
    differences.push_back({InputModeKey, InputModeWord(expected.inputMode), InputModeWord(found.inputMode)});
  }
  return differences;
}

CoreText DifferenceLine(const Difference& difference) {
  return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: oczekiwano %2, odczytano %3"))
      .arg(difference.item)
      .arg(difference.expected)
      .arg(difference.found);
}

}  // namespace kolvaro
