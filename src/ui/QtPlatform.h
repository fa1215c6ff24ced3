#pragma once
// The platform the program runs on once the window exists: the host's system directory,
// serial ports and pauses, with message boxes and the beep of the Qt application.
#include "platform/CoreText.h"
#include "platform/Platform.h"

namespace kolvaro {

class QtPlatform : public Platform {
 public:
  // services: where the system directory, the serial ports and the pauses come from.
  explicit QtPlatform(Platform& services = hostPlatform()) : services_(services) {}

  // A QMessageBox without a parent, shaped by the MB_* flags: icon, Yes/No or OK, the
  // default button, always application modal, topmost on request. Without a caption the
  // box is titled with the application's display name (see QtPlatform.cpp).
  int messageBox(const std::string& text, const char* caption, unsigned flags) override;
  void beep() override;
  void sleep(unsigned milliseconds) override { services_.sleep(milliseconds); }
  std::optional<std::string> systemDirectory() override { return services_.systemDirectory(); }
  SerialPorts& serialPorts() override { return services_.serialPorts(); }

 private:
  Platform& services_;
};

// The core's patterns looked up in the translation in force.
CoreText::Translate QtTranslation();
// A text of the core in the language in force: each pattern translated, then filled.
std::string Translated(const CoreText& text);

}  // namespace kolvaro
