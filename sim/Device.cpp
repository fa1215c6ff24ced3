#include "sim/Device.h"

#include <utility>

#include "sim/Frame.h"

namespace kolvaro::sim {

namespace {

constexpr std::uint16_t IndividualAddressWrite = 0x0C0;
constexpr std::uint16_t IndividualAddressRead = 0x100;
constexpr int GroupValueWrite = 0x2;  // four-bit services: the code's top bits
constexpr int MemoryRead = 0x8;
constexpr int MemoryWrite = 0xA;
constexpr std::uint8_t NumberedData = 0x42;  // transport: numbered data, sequence 0; service bits 10..
constexpr std::uint8_t HopCount6 = 0x60;

std::uint8_t hi(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
std::uint8_t lo(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

}  // namespace

std::array<std::uint8_t, 256> factoryMemory() {
  std::array<std::uint8_t, 256> m{};
  for (std::size_t i = 0; i < 16; ++i) m[memory_map::GroupTable + i] = 0xFF;
  return m;
}

Device::Device(EventQueue& clock, Bus& bus, const DeviceSetup& setup)
    : answersMemoryRead(setup.answersMemoryRead),
      systemPriority(setup.systemPriority),
      wrongChecksum(setup.wrongChecksum),
      answerDelay(setup.answerDelay),
      switchDelay(setup.switchDelay),
      clock_(clock),
      bus_(bus),
      address_(setup.address),
      programming_(setup.programmingMode),
      memory_(setup.memory) {
  bus_.attach(this);
}

Device::~Device() { bus_.detach(this); }

std::optional<std::uint16_t> Device::group(int object, int slot) const {
  const std::size_t at = memory_map::GroupTable + static_cast<std::size_t>(object * 2 + slot) * 2;
  if (memory_[at] == 0xFF && memory_[at + 1] == 0xFF) return std::nullopt;
  return static_cast<std::uint16_t>(memory_[at] << 8 | memory_[at + 1]);
}

bool Device::listensTo(std::uint16_t g) const {
  for (int object = 0; object < 4; ++object)
    for (int slot = 0; slot < 2; ++slot)
      if (group(object, slot) == g) return true;
  return false;
}

Ack Device::frameEnded(const Bytes& frame) {
  if (frame.size() < HeaderSize + 2) return Ack::None;
  const std::uint16_t destination = destinationOf(frame);
  const bool addressed = isGroupFrame(frame) ? destination == 0 || listensTo(destination) : destination == address_;
  if (!addressed) return Ack::None;
  if (!isCompleteFrame(frame)) return Ack::Nak;

  // A repetition of the frame handled last (its sender missed our acknowledgement) is
  // acknowledged again but not acted on twice.
  Bytes key(frame.begin(), frame.end() - 1);
  key[0] = static_cast<std::uint8_t>(key[0] & ~RepeatFlag);
  const bool repetition = (frame[0] & RepeatFlag) == 0;
  if (!(repetition && key == lastHandled_)) {
    lastHandled_ = std::move(key);
    handle(frame);
  }
  return Ack::Ack;
}

void Device::handle(const Bytes& f) {
  if (f[6] & 0x80) return;  // transport control frames: this device keeps no connections
  const std::uint16_t code = applicationCodeOf(f);
  const std::size_t length = lengthFieldOf(f);
  const std::uint16_t destination = destinationOf(f);
  const std::uint16_t requester = sourceOf(f);

  if (isGroupFrame(f) && destination == 0) {
    if (code == IndividualAddressRead && programming_) {
      answer({0, hi(address_), lo(address_), hi(requester), lo(requester), HopCount6 | 1, 0x01, 0x40});
    } else if (code == IndividualAddressWrite && programming_ && length >= 3) {
      address_ = static_cast<std::uint16_t>(f[8] << 8 | f[9]);
    }
    return;
  }
  if (isGroupFrame(f)) {
    if (code >> 6 == GroupValueWrite) {
      const unsigned value = length <= 1 ? f[7] & 0x3Fu : f[8];
      groupWrite(destination, (value & 1) != 0);
    }
    return;
  }
  if (length < 3) return;
  const std::size_t count = f[7] & 0x0Fu;
  const std::size_t at = static_cast<std::size_t>(f[8] << 8 | f[9]);
  if (code >> 6 == MemoryRead) {
    if (!answersMemoryRead) return;
    // A range outside the 256 bytes is answered with no data, as a refusal.
    const std::size_t n = at + count <= memory_.size() ? count : 0;
    Bytes reply{0,
                hi(address_),
                lo(address_),
                hi(requester),
                lo(requester),
                static_cast<std::uint8_t>(HopCount6 | (3 + n)),
                NumberedData,
                static_cast<std::uint8_t>(0x40 | n),
                f[8],
                f[9]};
    for (std::size_t i = 0; i < n; ++i) reply.push_back(memory_[at + i]);
    answer(std::move(reply));
  } else if (code >> 6 == MemoryWrite) {
    if (length != 3 + count || at + count > memory_.size()) return;
    for (std::size_t i = 0; i < count; ++i) memory_[at + i] = f[10 + i];
  }
}

void Device::answer(Bytes frame) {
  frame[0] = systemPriority ? 0xB0 : 0xBC;
  frame = withChecksum(std::move(frame));
  if (wrongChecksum) frame.back() ^= 0xFF;
  if (onAnswer) onAnswer(frame);
  // Answers follow the request's acknowledge slot and the device's own reaction time.
  clock_.after(bitTimes(AckPauseBits + 11) + answerDelay, [this, frame] { bus_.send(this, frame); });
}

void Device::groupWrite(std::uint16_t g, bool on) {
  for (std::size_t output = 0; output < 2; ++output) {
    const int object = 2 + static_cast<int>(output);
    if (group(object, 0) == g || group(object, 1) == g) switchOutput(output, on);
  }
}

void Device::switchOutput(std::size_t output, bool on) {
  const std::uint8_t program = memory_[memory_map::ProgramWY1 + output];
  const unsigned seq = ++switchSeq_[output];
  const bool delayed = (program == memory_map::SwitchOnDelay && on) || (program == memory_map::SwitchOffDelay && !on);
  if (!delayed) {
    outputs_[output] = on;
    return;
  }
  clock_.after(switchDelay, [this, output, on, seq] {
    if (switchSeq_[output] == seq) outputs_[output] = on;
  });
}

void Device::pressInput(int index) {
  const auto i = static_cast<std::size_t>(index);
  if (pressed_.at(i)) return;
  pressed_[i] = true;
  if (memory_[memory_map::InputMode] == 0) {
    sendInputValue(index, true);
  } else {
    toggled_[i] = !toggled_[i];
    sendInputValue(index, toggled_[i]);
  }
}

void Device::releaseInput(int index) {
  const auto i = static_cast<std::size_t>(index);
  if (!pressed_.at(i)) return;
  pressed_[i] = false;
  if (memory_[memory_map::InputMode] == 0) sendInputValue(index, false);
}

void Device::sendInputValue(int index, bool on) {
  for (int slot = 0; slot < 2; ++slot) {
    const auto g = group(index, slot);
    if (!g) continue;
    bus_.send(this, groupValueWrite(address_, *g, on));
    groupWrite(*g, on);  // the device's own outputs on that group follow at once
  }
}

}  // namespace kolvaro::sim
