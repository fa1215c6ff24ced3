#include "telegram/ExchangeEvents.h"

namespace kolvaro {

const char* JudgementText(FrameJudgement judgement) {
  switch (judgement) {
    case FrameJudgement::Accepted: return KOLVARO_TRANSLATABLE("Kolvaro", "przyjęta");
    case FrameJudgement::OwnEcho: return KOLVARO_TRANSLATABLE("Kolvaro", "echo własnej ramki");
    case FrameJudgement::OtherDestination: return KOLVARO_TRANSLATABLE("Kolvaro", "inny adresat");
    case FrameJudgement::WrongService: return KOLVARO_TRANSLATABLE("Kolvaro", "inna usługa");
    case FrameJudgement::OtherSource: return KOLVARO_TRANSLATABLE("Kolvaro", "inny nadawca");
    case FrameJudgement::BadChecksum: return KOLVARO_TRANSLATABLE("Kolvaro", "błędna suma kontrolna");
    case FrameJudgement::Incomplete: return KOLVARO_TRANSLATABLE("Kolvaro", "niepełna");
  }
  return "?";
}

namespace {
void report(ExchangeObserver* observer, ExchangeEvent::Kind kind, CoreText words) {
  if (!observer) return;
  ExchangeEvent event;
  event.kind = kind;
  event.text = words.polish();
  event.words = std::move(words);
  observer->exchangeEvent(event);
}
}  // namespace

void ReportOperationStarted(ExchangeObserver* observer, CoreText title) {
  report(observer, ExchangeEvent::Kind::OperationStarted, std::move(title));
}

void ReportOperationEnded(ExchangeObserver* observer, CoreText outcome) {
  report(observer, ExchangeEvent::Kind::OperationEnded, std::move(outcome));
}

void ReportNote(ExchangeObserver* observer, CoreText text) {
  report(observer, ExchangeEvent::Kind::Note, std::move(text));
}

void ReportNote(ExchangeObserver* observer, const std::string& text) { ReportNote(observer, CoreText::plain(text)); }

}  // namespace kolvaro
