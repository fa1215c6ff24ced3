// Arbitrary byte streams into the reception state machine, in every mode: it must
// never crash, and every answer it accepts must pass the acceptance test, checked
// here independently of the machine's own code.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "telegram/ReceiveMachine.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    __builtin_trap();
  }
}

std::string hexOf(const std::uint8_t* bytes, std::size_t n) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < n; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0xF];
  }
  return text;
}

void checkAccepted(const kolvaro::ReceiveMachine& machine, std::uint8_t answerCode, std::uint16_t local,
                   std::size_t answerTextBefore) {
  const auto frame = machine.lastFrame();
  const std::size_t n = frame.size();
  require(n >= 9 && n <= 23, "frame length");
  const unsigned length = frame[5] & 0x0F;
  const std::size_t checksumIndex = n - 1;
  require(checksumIndex == (7 + length > 8 ? 7 + length : 8), "judged at the completion index");
  std::uint8_t x = 0;
  for (std::size_t i = 0; i < 7 + length; ++i) x ^= frame[i];
  require(static_cast<std::uint8_t>(~x) == frame[checksumIndex], "checksum");
  require((frame[5] & 0x80) == 0, "individual destination");
  require((frame[3] << 8 | frame[4]) == local, "addressed to us");
  require(((frame[6] & 0x03) * 4 + (frame[7] & 0xC0) / 64) == answerCode, "service code");
  require(frame[0] == 0xB0 || frame[0] == 0xB4 || frame[0] == 0xB8 || frame[0] == 0xBC, "frame start");
  const std::string expected = hexOf(frame.data(), checksumIndex);
  require(machine.answerText().size() == answerTextBefore + expected.size(), "answer text grows by the frame");
  require(machine.answerText().compare(answerTextBefore, std::string::npos, expected) == 0, "answer text");
  // The answer as a frame: the same bytes, as far as its length field reaches.
  const auto bytes = machine.answer().bytes();
  require(bytes.size() == 7 + length && std::equal(bytes.begin(), bytes.end(), frame.begin()), "answer frame");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t mode = data[0] % 3;
  // Mostly real codes 0..15, sometimes 255 (accepts nothing).
  const std::uint8_t answerCode = (data[1] & 0x1F) > 15 ? 255 : data[1] & 0x0F;
  const auto local = static_cast<std::uint16_t>(data[2] << 8 | data[3]);

  using Event = kolvaro::ReceiveMachine::Event;
  using State = kolvaro::ReceiveMachine::State;
  kolvaro::ReceiveMachine machine(static_cast<kolvaro::ExchangeMode>(mode), {answerCode, std::nullopt}, local);
  for (std::size_t i = 4; i < size; ++i) {
    const State before = machine.state();
    const std::size_t answerBefore = machine.answerText().size();
    const Event event = machine.feed(data[i]);
    switch (event) {
      case Event::Confirmed: require(mode == 2 && before == State::Idle && data[i] == 0x8B, "confirmation"); break;
      case Event::AnswerToLog:
      case Event::AnswerToReturn:
        require(answerCode <= 15, "code 255 accepts nothing");
        require((event == Event::AnswerToLog) == (mode == 2), "only mode 2 keeps waiting");
        checkAccepted(machine, answerCode, local, answerBefore);
        break;
      case Event::SendAcknowledge:
      case Event::Nothing: require(machine.answerText().size() == answerBefore, "answer text unchanged"); break;
    }
    if (before == State::Finished) require(event == Event::Nothing, "finished stays finished");
  }
  return 0;
}
