#include "telegram/ExchangeEvents.h"

namespace kolvaro {

const char* JudgementText(FrameJudgement judgement) {
  switch (judgement) {
    case FrameJudgement::Accepted: return "przyjęta";
    case FrameJudgement::OwnEcho: return "echo własnej ramki";
    case FrameJudgement::OtherDestination: return "inny adresat";
    case FrameJudgement::WrongService: return "inna usługa";
    case FrameJudgement::BadChecksum: return "błędna suma kontrolna";
    case FrameJudgement::Incomplete: return "niepełna";
  }
  return "?";
}

namespace {
void report(ExchangeObserver* observer, ExchangeEvent::Kind kind, const std::string& text) {
  if (!observer) return;
  ExchangeEvent event;
  event.kind = kind;
  event.text = text;
  observer->exchangeEvent(event);
}
}  // namespace

void ReportOperationStarted(ExchangeObserver* observer, const std::string& title) {
  report(observer, ExchangeEvent::Kind::OperationStarted, title);
}

void ReportOperationEnded(ExchangeObserver* observer, const std::string& outcome) {
  report(observer, ExchangeEvent::Kind::OperationEnded, outcome);
}

void ReportNote(ExchangeObserver* observer, const std::string& text) {
  report(observer, ExchangeEvent::Kind::Note, text);
}

}  // namespace kolvaro
