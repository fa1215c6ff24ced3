#include "ui/BoxNotes.h"

namespace kolvaro {

BoxNotes::BoxNotes(TelegramLog& log) : log_(log), inner_(platform()) { installPlatform(this); }

BoxNotes::~BoxNotes() {
  // Only when still in force: a platform installed later stays until its owner ends it.
  if (&platform() == this) installPlatform(&inner_);
}

int BoxNotes::messageBox(const std::string& text, const char* caption, unsigned flags) {
  lastText_ = text;
  const int answer = inner_.messageBox(text, caption, flags);
  std::string note = "komunikat: " + text;
  if ((flags & mb::ButtonsMask) == mb::YesNo) note += answer == id::Yes ? " → Tak" : " → Nie";
  ReportNote(&log_, note);
  return answer;
}

}  // namespace kolvaro
