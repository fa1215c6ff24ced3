#include "platform/Platform.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "platform/HostSerialPorts.h"
#include "platform/SystemDirectory.h"

namespace kolvaro {
namespace {

// Without a window there is nobody to click: boxes and beeps are reported on standard
// error and a question takes its default button.
class HostPlatform : public Platform {
 public:
  int messageBox(const std::string& text, const char* caption, unsigned flags) override {
    std::cerr << "[" << (caption ? caption : "Kolvaro") << "] " << text << '\n';
    if ((flags & mb::ButtonsMask) == mb::YesNo) {
      return (flags & mb::DefButtonMask) == mb::DefButton2 ? id::No : id::Yes;
    }
    return id::Ok;
  }
  void beep() override { std::cerr << '\a' << std::flush; }
  void sleep(unsigned milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
  std::optional<std::string> systemDirectory() override { return hostSystemDirectory(); }
  SerialPorts& serialPorts() override { return hostSerialPorts(); }
};

Platform* installed = nullptr;

}  // namespace

Platform& hostPlatform() {
  static HostPlatform host;
  return host;
}

Platform& platform() { return installed ? *installed : hostPlatform(); }

void installPlatform(Platform* replacement) { installed = replacement; }

}  // namespace kolvaro
