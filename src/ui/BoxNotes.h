#pragma once
// The platform in force, with every message box also noted in the telegram log: the
// box itself is shown exactly as before; the log gets its text and the answer, so the
// end of a failed operation shows why it failed.
#include <string>

#include "platform/Platform.h"
#include "telegram/TelegramLog.h"

namespace kolvaro {

class BoxNotes : public Platform {
 public:
  // Installs itself over the platform in force; puts that one back when destroyed.
  explicit BoxNotes(TelegramLog& log);
  ~BoxNotes() override;
  BoxNotes(const BoxNotes&) = delete;
  BoxNotes& operator=(const BoxNotes&) = delete;

  int messageBox(const std::string& text, const char* caption, unsigned flags) override;
  void beep() override { inner_.beep(); }
  void sleep(unsigned milliseconds) override { inner_.sleep(milliseconds); }
  std::optional<std::string> systemDirectory() override { return inner_.systemDirectory(); }
  SerialPorts& serialPorts() override { return inner_.serialPorts(); }

  // The text of the last box since forget().
  const std::string& lastText() const { return lastText_; }
  void forget() { lastText_.clear(); }

 private:
  TelegramLog& log_;
  Platform& inner_;
  std::string lastText_;
};

}  // namespace kolvaro
