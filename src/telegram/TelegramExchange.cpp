#include "telegram/TelegramExchange.h"

#include <vector>

#include "link/ChipServices.h"
#include "link/Hex.h"
#include "link/Comport.h"
#include "platform/Platform.h"
#include "telegram/ReceiveMachine.h"

namespace kolvaro {

namespace {

constexpr int WriteAttempts = 6;
constexpr char TransmissionProblem[] = "Wystąpił problem podczas transmisji danych";
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

}  // namespace

std::string TelegramExchange::SendTelegram(std::string telegram, std::int32_t waitLimit,
                                           std::uint8_t answerCode, ExchangeMode mode) {
  WaitCounter = 0;
  ReceiveMachine machine(mode, answerCode, host_.localAddress());
  machine.setTraceSink(receiveTrace_);

  if (mode != ExchangeMode::FurtherAnswer) {
    bool writable = true;
    if (IsFrameText(telegram)) {
      if (telegram.size() % 2 != 0) telegram += '0';
      const std::size_t n = telegram.size() / 2;
      // The chip takes at most a 22-byte frame; a longer text cannot be framed and is
      // refused like a text the port will not take, never written in part.
      writable = n <= chip::MaxFrameBytes;
      if (writable) {
        std::vector<std::uint8_t> frame(n, 0);
        HexToBytes(telegram.data(), telegram.size(), frame.data());
        telegram = FrameToChipText(frame.data(), static_cast<std::uint8_t>(n));
      }
    }
    for (int attempt = 1;; ++attempt) {
      host_.appendLog(telegram);
      // Looked up afresh each time. The window refuses a port change while a bus run holds
      // its guard, so a host only lets go of its port outside a run; should one do it
      // inside, the exchange meets no port rather than a deleted one.
      ComPort* port = host_.port();
      if (writable && port && !port->WriteHexText(telegram.c_str())) break;
      if (attempt == WriteAttempts) {
        platform().messageBox(TransmissionProblem, nullptr, mb::IconError | mb::TaskModal);
        return exchange_result::Error;
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
    // Reaching the limit ends the wait even when a byte has just arrived; it is dropped.
    if (waitLimit != wait_limit::Unlimited && WaitCounter >= waitLimit) return exchange_result::NoReply;

    switch (machine.feed(static_cast<std::uint8_t>(value))) {
      case ReceiveMachine::Event::Nothing:
        break;
      case ReceiveMachine::Event::SendAcknowledge:
        if (ComPort* port = host_.port()) {
          const std::uint8_t ack = chip::AckInformation;
          port->WriteByte(&ack);  // a lost acknowledge only costs the sender a repetition
        }
        break;
      case ReceiveMachine::Event::Confirmed:
        return exchange_result::Ack;
      case ReceiveMachine::Event::AnswerToLog:
        host_.appendLog(machine.answerText());
        break;
      case ReceiveMachine::Event::AnswerToReturn:
        host_.appendLog(machine.answerText());
        return machine.answerText();
    }
  }
}

}  // namespace kolvaro
