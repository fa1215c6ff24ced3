#include "ui/BoxNotes.h"

#include "platform/Translatable.h"

namespace kolvaro {

BoxNotes::BoxNotes(TelegramLog& log) : log_(log), inner_(platform()) { installPlatform(this); }

BoxNotes::~BoxNotes() {
  // Only when still in force: a platform installed later stays until its owner ends it.
  if (&platform() == this) installPlatform(&inner_);
}

int BoxNotes::messageBox(const std::string& text, const char* caption, unsigned flags) {
  lastText_ = text;
  const int answer = inner_.messageBox(text, caption, flags);
  // The box's text is looked up whole, as the box itself does.
  CoreText note = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "komunikat: %1")).arg(CoreText(text));
  if ((flags & mb::ButtonsMask) == mb::YesNo) {
    note = note + CoreText(answer == id::Yes ? KOLVARO_TRANSLATABLE("Kolvaro", " → Tak")
                                             : KOLVARO_TRANSLATABLE("Kolvaro", " → Nie"));
  }
  ReportNote(&log_, note);
  return answer;
}

}  // namespace kolvaro
