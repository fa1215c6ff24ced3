#pragma once
// What a face (the log window, a command-line monitor) may learn of the bus: every
// step of each telegram exchange, and the operations that group them, as events to an
// observer. The exchange reports what it does; the face decides how to show it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/CoreText.h"
#include "telegram/FrameJudgement.h"

namespace kolvaro {

struct ExchangeEvent {
  enum class Kind {
    OperationStarted,  // text: the operation's title
    OperationEnded,    // text: its outcome
    Note,              // text: a line of its own (chip state, devices found, port trouble)
    TextWritten,       // text: the chip text, bytes: what it carries; attempt; ok: the port took it
    FramePassedOn,     // bytes: the frame as received; judgement
    Confirmation,      // bytes: the confirmation byte (8B positive, 0B negative)
    ChipByte,          // bytes: what the chip sent outside the frames taken in (indications, repetitions)
    AcknowledgeSent,   // bytes: the acknowledge information written; ok: the port took it
    Result,            // text: "ACK", "NoReply", "Error" or the answer
    Tunnel,            // words: what the IP tunnel did (connected, repeated, confirmed, heartbeat,
                       // disconnected, dropped); bytes: the frame it concerns, if any; outgoing;
                       // ok false: the user is to be told, also where there is no log
  };
  Kind kind = Kind::Note;
  std::string text;  // in Polish
  CoreText words;    // the same text for a face that translates; empty when there is only `text`
  std::vector<std::uint8_t> bytes;
  FrameJudgement judgement = FrameJudgement::Accepted;
  int attempt = 0;
  bool ok = true;
  bool outgoing = false;  // Tunnel: from the program to the interface
};

class ExchangeObserver {
 public:
  virtual ~ExchangeObserver() = default;
  virtual void exchangeEvent(const ExchangeEvent& event) = 0;
};

// Helpers for faces and operations that report through an observer that may be absent.
void ReportOperationStarted(ExchangeObserver* observer, CoreText title);
void ReportOperationEnded(ExchangeObserver* observer, CoreText outcome);
void ReportNote(ExchangeObserver* observer, CoreText text);
void ReportNote(ExchangeObserver* observer, const std::string& text);  // shown as it is in every language

}  // namespace kolvaro
