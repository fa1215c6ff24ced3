#pragma once
// The platform seam: the services the program needs of the system it runs on (message
// boxes, the system beep, pauses, the system directory and the serial ports). It sits
// below every layer that uses it, and it is the one route by which the procedures, the
// telegram exchange and the port reach the user: the face that runs them installs its
// own (the window its Qt message box; tests record and script every box, count beeps
// and run pauses without waiting).
#include <optional>
#include <string>

#include "platform/SerialLine.h"

namespace kolvaro {

// Message box flags and results, with the Win32 values (MB_*, ID*).
namespace mb {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr unsigned DefButton2 = 0x100;
inline constexpr unsigned TaskModal = 0x2000;
inline constexpr unsigned Topmost = 0x40000;
inline constexpr unsigned ButtonsMask = 0xF;
inline constexpr unsigned IconMask = 0xF0;
inline constexpr unsigned DefButtonMask = 0xF00;
}  // namespace mb

namespace id {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace id

class Platform {
 public:
  virtual ~Platform() = default;
  // A message box without an owner window. No caption (nullptr) shows the platform's
  // default title. Returns id::Ok, id::Yes or id::No.
  virtual int messageBox(const std::string& text, const char* caption, unsigned flags) = 0;
  virtual void beep() = 0;
  virtual void sleep(unsigned milliseconds) = 0;
  // The directory that holds dcb.ini; nothing when the system cannot say.
  virtual std::optional<std::string> systemDirectory() = 0;
  virtual SerialPorts& serialPorts() = 0;
};

// The platform in force: the host's own (hostPlatform) unless one has been installed.
Platform& platform();
// Installs a platform for the program or a test; nullptr puts the host's back.
void installPlatform(Platform* replacement);
// The host's services: real serial ports, the real system directory, real sleep;
// message boxes and beeps go to standard error (the window installs its own).
Platform& hostPlatform();

// Installs a platform for the lifetime of a scope (tests).
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& replacement) : previous_(&platform()) { installPlatform(&replacement); }
  ~ScopedPlatform() { installPlatform(previous_); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

}  // namespace kolvaro
