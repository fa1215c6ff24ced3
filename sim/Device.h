#pragma once
// A station of the kind the program configures: two inputs (WE1, WE2) and two outputs
// (WY1, WY2), a physical address, a programming button, and 256 bytes of memory laid
// out as the program expects (programs at 0x00/0x01, group table 0x20..0x2F, input mode
// at 0xFF). It answers in the program's dialect: answers carry control byte 0xBC, go
// individually to the requester, and one-byte memory services work without a
// transport connection.
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "sim/Bus.h"

namespace kolvaro::sim {

namespace memory_map {
inline constexpr std::uint16_t ProgramWY1 = 0x0000;
inline constexpr std::uint16_t ProgramWY2 = 0x0001;
inline constexpr std::uint16_t GroupTable = 0x0020;  // 8 entries: WE1 ×2, WE2 ×2, WY1 ×2, WY2 ×2
inline constexpr std::uint16_t InputMode = 0x00FF;   // 0 monostable, anything else bistable
inline constexpr std::uint8_t NoDelay = 0x00;
inline constexpr std::uint8_t SwitchOnDelay = 0x01;
inline constexpr std::uint8_t SwitchOffDelay = 0x02;
}  // namespace memory_map

// Memory as a new device has it: an empty group table (0xFF), programs and input mode 0.
std::array<std::uint8_t, 256> factoryMemory();

struct DeviceSetup {
  std::uint16_t address = 0x1101;
  bool programmingMode = false;
  std::array<std::uint8_t, 256> memory = factoryMemory();
  // How long the delayed programs wait before they switch.
  std::chrono::milliseconds switchDelay{3000};
  // Time from the end of a request's acknowledgement to the answer being queued.
  std::chrono::milliseconds answerDelay{5};

  // Fault switches.
  bool answersMemoryRead = true;  // false: answers the address read, but no memory read
  bool systemPriority = false;    // answers with control byte 0xB0 instead of 0xBC
  bool wrongChecksum = false;     // its answers carry a wrong checksum
};

class Device : public BusStation {
 public:
  Device(EventQueue& clock, Bus& bus, const DeviceSetup& setup);
  ~Device() override;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  std::uint16_t address() const { return address_; }
  void setAddress(std::uint16_t a) { address_ = a; }
  bool programmingMode() const { return programming_; }
  void setProgrammingMode(bool on) { programming_ = on; }
  const std::array<std::uint8_t, 256>& memory() const { return memory_; }
  std::array<std::uint8_t, 256>& memory() { return memory_; }
  bool output(int index) const { return outputs_.at(static_cast<std::size_t>(index)); }
  bool inputPressed(int index) const { return pressed_.at(static_cast<std::size_t>(index)); }
  // Input 0 is WE1, 1 is WE2. Monostable: on while pressed, off on release. Bistable:
  // each press toggles. The value goes as a group value write to each of the input's groups.
  void pressInput(int index);
  void releaseInput(int index);

  // Fault switches, changeable at any time.
  bool answersMemoryRead;
  bool systemPriority;
  bool wrongChecksum;
  std::chrono::milliseconds answerDelay;
  std::chrono::milliseconds switchDelay;
  // Sees every answer (checksum included) just before it is queued; the scene uses it
  // to put disturbing traffic in front of answers.
  std::function<void(const Bytes&)> onAnswer;

  // The group entry of an object's slot (object 0..3 = WE1, WE2, WY1, WY2; slot 0..1),
  // nothing for an empty slot.
  std::optional<std::uint16_t> group(int object, int slot) const;

  // BusStation
  Ack frameEnded(const Bytes& frame) override;

 private:
  bool listensTo(std::uint16_t group) const;
  void handle(const Bytes& frame);
  void groupWrite(std::uint16_t group, bool on);
  void switchOutput(std::size_t output, bool on);
  void answer(Bytes frameWithoutChecksum);
  void sendInputValue(int index, bool on);

  EventQueue& clock_;
  Bus& bus_;
  std::uint16_t address_;
  bool programming_;
  std::array<std::uint8_t, 256> memory_;
  std::array<bool, 2> outputs_{};
  std::array<bool, 2> pressed_{};
  std::array<bool, 2> toggled_{};        // bistable input state
  std::array<unsigned, 2> switchSeq_{};  // a new command cancels a pending delayed switch
  Bytes lastHandled_;                    // to ignore repetitions of a frame already handled
};

}  // namespace kolvaro::sim
