#include "telegram/TelegramExchange.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "link/ChipServices.h"
#include "link/Comport.h"
#include "link/Hex.h"
#include "platform/Platform.h"
#include "platform/Translatable.h"
#include "telegram/LineReader.h"
#include "telegram/ReceiveMachine.h"

namespace kolvaro {

namespace {

constexpr int WriteAttempts = 6;
constexpr char TransmissionProblem[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił problem podczas transmisji danych");
constexpr std::size_t MinFrameDigits = 14;  // 7 bytes: the shortest frame

// A text goes through the chip's frame services when it starts like a standard
// frame's control byte and is long enough to be one; anything else is written as it stands.
bool IsFrameText(const std::string& text) {
  if (text.size() < MinFrameDigits) return false;
  const char first = text[0];
  const char second = text[1];
  return (first == 'B' || first == '9' || first == 'F') &&
         (second == '0' || second == '8' || second == '4' || second == 'C');
}

// Bytes that hold exactly one standard frame as its routing byte announces it.
bool IsWholeFrame(const std::vector<std::uint8_t>& bytes) {
  return bytes.size() >= frame_layout::MinBytesWithChecksum && frame_layout::isStandardControl(bytes[0]) &&
         bytes.size() == frame_layout::bytesFor(bytes[frame_index::Routing]) + 1;
}

// The bytes a text carries: the frame with its checksum when it was framed for the
// chip, otherwise the text's own digit pairs.
std::vector<std::uint8_t> bytesOfText(const std::string& digits) {
  std::vector<std::uint8_t> bytes(digits.size() / 2);
  HexToBytes(digits.data(), bytes.size() * 2, bytes.data());
  return bytes;
}

}  // namespace

TelegramExchange::TelegramExchange(ExchangeHost& host) : host_(host) {}

TelegramExchange::~TelegramExchange() = default;

std::string ReplyText(const Reply& reply) {
  switch (reply.outcome) {
    case Outcome::Acknowledged: return exchange_result::Ack;
    case Outcome::NoReply: return exchange_result::NoReply;
    case Outcome::Error: return exchange_result::Error;
    case Outcome::Answered: break;
  }
  return reply.answer() ? FrameHexText(*reply.answer()) : std::string();
}

TelegramExchange::Exchanged TelegramExchange::reported(Exchanged exchanged) const {
  ExchangeEvent event;
  event.kind = ExchangeEvent::Kind::Result;
  event.text = exchanged.text;
  report(std::move(event));
  return exchanged;
}

std::string TelegramExchange::SendTelegram(std::string telegram, std::int32_t waitLimit, std::uint8_t answerCode,
                                           ExchangeMode mode) {
  return reported(exchange(std::move(telegram), waitLimit, AnswerWanted{answerCode, std::nullopt}, mode)).text;
}

ChipCall ChipCallOf(const Request& request) {
  ChipCall call{FrameHexText(request.frame), request.waitTicks, request.answer, ExchangeMode::Answer};
  switch (request.awaited) {
    case Awaited::Nothing: call = {call.text, wait_limit::ReturnAfterSending, {}, ExchangeMode::Confirmation}; break;
    case Awaited::Confirmation: call = {call.text, call.waitLimit, {}, ExchangeMode::Confirmation}; break;
    case Awaited::Answer: break;
    case Awaited::FurtherAnswer: call = {"", call.waitLimit, call.wanted, ExchangeMode::FurtherAnswer}; break;
  }
  return call;
}

Reply TelegramExchange::request(const Request& request) {
  ChipCall call = ChipCallOf(request);
  return reported(exchange(std::move(call.text), call.waitLimit, call.wanted, call.mode)).reply;
}

TelegramExchange::Exchanged TelegramExchange::exchange(std::string telegram, std::int32_t waitLimit,
                                                       AnswerWanted wanted, ExchangeMode mode) {
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(++d) {}
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
  } const running(depth_);
  // An exchange entered from inside another one's wait (a window event) takes the line
  // over: the other one's reading stops, its bytes kept for it, until this one returns.
  if (reader_ && reader_->open()) suspended_.push_back(reader_->stop());
  WaitCounter = 0;
  ReceiveMachine machine(mode, wanted, host_.localAddress());
  Reply reply;
  machine.setTraceSink(receiveTrace_);

  if (mode != ExchangeMode::FurtherAnswer) {
    bool writable = true;
    std::vector<std::uint8_t> carried;
    if (IsFrameText(telegram)) {
      if (telegram.size() % 2 != 0) telegram += '0';
      const std::size_t n = telegram.size() / 2;
      // The chip takes at most a 22-byte frame; a longer text cannot be framed and is
      // refused like a text the port will not take, never written in part.
      writable = n <= frame_layout::MaxBytes;
      if (writable) {
        std::vector<std::uint8_t> frame(n, 0);
        HexToBytes(telegram.data(), telegram.size(), frame.data());
        telegram = FrameToChipText(frame.data(), static_cast<std::uint8_t>(n));
        carried = frame;
        carried.push_back(FrameChecksum(frame));
      } else {
        carried = bytesOfText(telegram);
      }
    } else {
      carried = bytesOfText(telegram);
    }
    for (int attempt = 1;; ++attempt) {
      host_.appendLog(telegram);
      // Looked up afresh each time. The window refuses a port change while a bus run holds
      // its guard, so a host only lets go of its port outside a run; should one do it
      // inside, the exchange meets no port rather than a deleted one.
      ComPort* port = host_.port();
      const bool written = writable && port && !port->WriteHexText(telegram.c_str());
      ExchangeEvent event;
      event.kind = ExchangeEvent::Kind::TextWritten;
      event.text = telegram;
      event.bytes = carried;
      event.attempt = attempt;
      event.ok = written;
      report(std::move(event));
      if (written) break;
      if (attempt == WriteAttempts) {
        platform().messageBox(TransmissionProblem, nullptr, mb::IconError | mb::TaskModal);
        return {{Outcome::Error, {}}, exchange_result::Error};
      }
    }
  }

  // The bytes of the frame now arriving, for the observer.
  std::vector<std::uint8_t> frameBytes;
  auto reportFrame = [&](FrameJudgement judgement) {
    ExchangeEvent event;
    event.kind = ExchangeEvent::Kind::FramePassedOn;
    event.bytes = std::move(frameBytes);
    event.judgement = judgement;
    report(std::move(event));
    frameBytes.clear();
  };
  // Bytes outside any frame the machine assembles: chip indications, or frames it does
  // not start on (repetitions, other control bytes). Reported together, a frame a row.
  std::vector<std::uint8_t> strayBytes;
  auto flushStray = [&] {
    if (strayBytes.empty()) return;
    ExchangeEvent event;
    event.kind = ExchangeEvent::Kind::ChipByte;
    event.bytes = std::move(strayBytes);
    report(std::move(event));
    strayBytes.clear();
  };
  auto reportByte = [&](ExchangeEvent::Kind kind, std::uint8_t byte, bool ok) {
    ExchangeEvent event;
    event.kind = kind;
    event.bytes = {byte};
    event.ok = ok;
    report(std::move(event));
  };
  // Reaching the limit ends the wait even when a byte has just arrived; it is dropped.
  auto limitReached = [&] { return waitLimit != wait_limit::Unlimited && WaitCounter >= waitLimit; };
  auto noReply = [&]() -> Exchanged {
    flushStray();
    if (!frameBytes.empty()) reportFrame(FrameJudgement::Incomplete);
    reply.outcome = Outcome::NoReply;
    return {std::move(reply), exchange_result::NoReply};
  };
  // Everything that follows from one byte the machine has taken: the observer's events,
  // the log, and the end of the exchange when the byte brings it.
  auto handle = [&](ReceivedByte& received) -> std::optional<Exchanged> {
    const std::uint8_t byte = received.byte;
    if (received.wasAssembling || received.assembling) frameBytes.push_back(byte);
    if (received.wasAssembling && !received.assembling) {
      reportFrame(received.judgement);
    } else if (!received.wasAssembling && !received.assembling) {
      if (byte == chip::PositiveConfirmation || byte == chip::NegativeConfirmation) {
        flushStray();
        reportByte(ExchangeEvent::Kind::Confirmation, byte, true);
      } else {
        strayBytes.push_back(byte);
        if (IsWholeFrame(strayBytes)) flushStray();
      }
    } else if (!received.wasAssembling) {
      flushStray();  // a frame starts: what came before it was not part of it
    }

    switch (received.event) {
      case ReceiveMachine::Event::Nothing: break;
      case ReceiveMachine::Event::SendAcknowledge:
        if (received.acknowledgeWritten) {
          flushStray();
          reportByte(ExchangeEvent::Kind::AcknowledgeSent, chip::AckInformation, *received.acknowledgeWritten);
        }
        break;
      case ReceiveMachine::Event::Confirmed:
        flushStray();
        reply.outcome = Outcome::Acknowledged;
        return Exchanged{std::move(reply), exchange_result::Ack};
      case ReceiveMachine::Event::AnswerToLog:
        host_.appendLog(received.answerText);
        reply.answers.push_back(std::move(received.answer));
        break;
      case ReceiveMachine::Event::AnswerToReturn:
        host_.appendLog(received.answerText);
        reply.outcome = Outcome::Answered;
        reply.answers.push_back(std::move(received.answer));
        return Exchanged{std::move(reply), std::move(received.answerText)};
    }
    return std::nullopt;
  };

  // Where the host lets the line be read on a thread of its own, the reader takes every
  // byte and writes the acknowledge at once; this thread waits for what it hands over.
  // A wait that returns right after sending reads at most one byte, here. A trace
  // follows the machine on this thread.
  ComPort* line = host_.port();
  if (host_.readsLineOffThread() && line && line->ReadableDescriptor() >= 0 && waitLimit >= 0 && !receiveTrace_) {
    if (!reader_) reader_ = std::make_unique<LineReader>();
    if (reader_->usable()) {
      const std::size_t depth = suspended_.size();
      reader_->start(*line, std::move(machine));
      for (;;) {
        std::optional<ReceivedByte> received = reader_->take();
        while (!received && (waitLimit == wait_limit::Unlimited || WaitCounter < waitLimit)) {
          host_.waitForActivity(reader_->wakeDescriptor());
          // An exchange run from inside the wait suspended this one's reading: go on with it.
          if (suspended_.size() > depth) {
            reader_->resume(*line, std::move(suspended_.back()));
            suspended_.pop_back();
          }
          received = reader_->take();
        }
        std::optional<Exchanged> ended = limitReached() ? std::optional<Exchanged>(noReply()) : handle(*received);
        if (ended) {
          // What the reader read beyond the byte taken last waits for the next exchange.
          line->Unread(reader_->stop().untakenBytes());
          return std::move(*ended);
        }
      }
    }
  }

  auto readByte = [this]() -> std::int32_t {
    ComPort* port = host_.port();
    return port ? port->ReadByte() : ComPort::ReadError;
  };
  auto mayWait = [&] { return waitLimit == wait_limit::Unlimited || WaitCounter < waitLimit; };

  for (;;) {
    std::int32_t value = readByte();
    while (value > 255 && mayWait()) {
      // After a read error (a line that hung up stays readable for ever) the descriptor
      // would wake the wait at once, again and again: wait without it then.
      ComPort* port = host_.port();
      const bool lineReadable = port && value == ComPort::NothingWaiting;
      host_.waitForActivity(lineReadable ? port->ReadableDescriptor() : -1);
      value = readByte();
    }
    if (limitReached()) return noReply();
    ReceivedByte received = FeedByte(machine, host_.port(), static_cast<std::uint8_t>(value));
    if (std::optional<Exchanged> ended = handle(received)) return std::move(*ended);
  }
}

}  // namespace kolvaro
