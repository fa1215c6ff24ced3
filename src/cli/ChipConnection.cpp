#include "cli/ChipConnection.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <poll.h>
#endif

#include "platform/Platform.h"

namespace kolvaro::cli {

namespace {
constexpr auto TickInterval = std::chrono::milliseconds(1000);  // Timer1
constexpr std::uint8_t ResetRequest = 0x01;
// The line is taken as settled after this long without a byte from the chip.
constexpr auto QuietSpan = std::chrono::milliseconds(300);
constexpr auto SettleLimit = std::chrono::seconds(5);
}  // namespace

ChipConnection::ChipConnection(std::uint16_t localAddress)
    : local_(localAddress), nextTick_(Clock::now() + TickInterval) {}

bool ChipConnection::openPort() {
  port_ = std::make_unique<ComPort>();
  if (port_->IsFailed()) return false;
  // The window's start-up checks, with its texts.
  if (port_->RaiseDTR())
    platform().messageBox("Wystąpił problem podczas próby aktywowania sygnału DTR", nullptr, mb::Ok);
  if (port_->RaiseRTS())
    platform().messageBox("Wystąpił problem podczas próby aktywowania sygnału RTS", nullptr, mb::Ok);
  port_->WriteByte(&ResetRequest);  // no answer is awaited, as at the window's start-up
  return true;
}

// Blocks until a byte may have arrived or Timer1 is due; a tick that is due is counted.
void ChipConnection::waitForActivity(int readableDescriptor) {
  const Clock::time_point now = Clock::now();
  if (now >= nextTick_) {
    exchange_.Timer1Timer();
    // Ticks missed while a pause blocked come as one, as a timer's do.
    nextTick_ += TickInterval;
    if (nextTick_ <= now) nextTick_ = now + TickInterval;
    return;
  }
#ifdef _WIN32
  (void)readableDescriptor;
  Sleep(1);  // the Win32 line has no descriptor to block on: short waits
#else
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(nextTick_ - now).count();
  if (readableDescriptor >= 0) {
    pollfd p{readableDescriptor, POLLIN, 0};
    poll(&p, 1, static_cast<int>(left));
  } else {
    poll(nullptr, 0, static_cast<int>(std::min<decltype(left)>(left, 1)));
  }
#endif
}

void ChipConnection::settle() {
  if (!port_ || port_->IsFailed()) return;
  const Clock::time_point deadline = Clock::now() + SettleLimit;
  Clock::time_point lastByte = Clock::now();
  for (Clock::time_point now = lastByte; now < deadline && now - lastByte < QuietSpan; now = Clock::now()) {
    const std::int32_t value = port_->ReadByte();
    if (value == ComPort::ReadError) return;
    if (value <= 255) {
      lastByte = Clock::now();
      continue;
    }
#ifdef _WIN32
    Sleep(10);
#else
    pollfd p{port_->ReadableDescriptor(), POLLIN, 0};
    poll(&p, 1, 10);
#endif
  }
}

}  // namespace kolvaro::cli
