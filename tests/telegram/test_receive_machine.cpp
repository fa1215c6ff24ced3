#include <gtest/gtest.h>

#include <vector>

#include "telegram/ReceiveMachine.h"

namespace kolvaro {
namespace {

using Event = ReceiveMachine::Event;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t Local = 0xFFFE;  // 15.15.254

// The frame's checksum, worked out here and not by the code under test: the exclusive-or
// of every byte, checksum included, is 0xFF.
std::uint8_t checksumOf(const std::uint8_t* bytes, std::size_t n) {
  std::uint8_t sum = 0xFF;
  for (std::size_t i = 0; i < n; ++i) sum ^= bytes[i];
  return sum;
}

Bytes withChecksum(Bytes frame) {
  frame.push_back(checksumOf(frame.data(), frame.size()));
  return frame;
}

// A memory response of one byte from 1.1.5 to `destination`.
Bytes memoryResponse(std::uint16_t destination = Local, std::uint8_t value = 0x12) {
  return withChecksum({0xB0, 0x11, 0x05, static_cast<std::uint8_t>(destination >> 8),
                       static_cast<std::uint8_t>(destination & 0xFF), 0x63, 0x42, 0x40, 0x00, value});
}

struct Fed {
  std::vector<Event> events;         // one per byte
  std::vector<std::size_t> acks;     // positions (in the stream) after which 0x11 is due
  std::vector<std::size_t> answers;  // positions of accepted answers
};

Fed feedAll(ReceiveMachine& machine, const Bytes& bytes) {
  Fed fed;
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const Event e = machine.feed(bytes[n]);
    fed.events.push_back(e);
    if (e == Event::SendAcknowledge) fed.acks.push_back(n);
    if (e == Event::AnswerToLog || e == Event::AnswerToReturn) fed.answers.push_back(n);
  }
  return fed;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

struct Scenario {
  const char* name;
  std::uint8_t mode;
  std::uint8_t answerCode;
  Bytes stream;
  std::vector<std::size_t> acks;     // stream positions answered with 0x11
  std::vector<std::size_t> answers;  // stream positions where an answer is accepted
  const char* answerText;
  ReceiveMachine::State endState;
};

TEST(ReceiveMachineTest, Scenarios) {
  const Bytes answer = memoryResponse();
  const Bytes answerBC = [] {
    Bytes b = memoryResponse();
    b[0] = 0xBC;
    b.back() = checksumOf(b.data(), b.size() - 1);
    return b;
  }();
  Bytes badChecksum = answer;
  badChecksum.back() ^= 0x01;
  const Bytes otherStation = memoryResponse(0x1106);
  const Bytes ownFrame = withChecksum({0xBC, 0xFF, 0xFE, 0xFF, 0xFE, 0x63, 0x42, 0x40, 0x00, 0x12});
  const Bytes broadcast = withChecksum({0xBC, 0x11, 0x05, 0x00, 0x00, 0xE1, 0x01, 0x40});
  const Bytes groupToZero = withChecksum({0xB0, 0x11, 0x05, 0x00, 0x00, 0xE3, 0x42, 0x40, 0x00, 0x12});
  // A physical address response 1.1.5 -> 15.15.254: code 5.
  const Bytes addressResponse = withChecksum({0xB0, 0x11, 0x05, 0xFF, 0xFE, 0xE1, 0x01, 0x40});
  const Bytes addressResponsePhys = withChecksum({0xB0, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40});
  // Length field 0: the real checksum sits at index 7, but the frame is judged at index 8.
  const Bytes lengthZero = withChecksum({0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x60, 0x01});
  // A frame whose data hold 0x8B.
  const Bytes with8B = memoryResponse(Local, 0x8B);

  const Scenario scenarios[] = {
      {"answer returned", 0, 9, answer, {5}, {10}, "B01105FFFE6342400012", ReceiveMachine::State::Finished},
      {"noise before the frame start is skipped",
       0,
       9,
       concat({{0x00, 0x42, 0x8B}, answer}),
       {8},
       {13},
       "B01105FFFE6342400012",
       ReceiveMachine::State::Finished},
      {"wrong code not accepted", 0, 5, answer, {5}, {}, "", ReceiveMachine::State::Idle},
      {"code 255 accepts nothing", 0, 255, answer, {5}, {}, "", ReceiveMachine::State::Idle},
      {"bad checksum dropped, next frame taken",
       0,
       9,
       concat({badChecksum, answer}),
       {5, 16},
       {21},
       "B01105FFFE6342400012",
       ReceiveMachine::State::Finished},
      {"frame for another station", 0, 9, otherStation, {}, {}, "", ReceiveMachine::State::Idle},
      {"own frame not acknowledged, accepted",
       0,
       9,
       ownFrame,
       {},
       {10},
       "BCFFFEFFFE6342400012",
       ReceiveMachine::State::Finished},
      {"broadcast acknowledged, never accepted", 0, 5, broadcast, {5}, {}, "", ReceiveMachine::State::Idle},
      {"group frame to 0/0/0 acknowledged, not accepted", 0, 9, groupToZero, {5}, {}, "", ReceiveMachine::State::Idle},
      {"address response with group flag not accepted", 0, 5, addressResponse, {}, {}, "", ReceiveMachine::State::Idle},
      {"address response accepted",
       0,
       5,
       addressResponsePhys,
       {5},
       {8},
       "B01105FFFE610140",
       ReceiveMachine::State::Finished},
      // A further answer is taken whatever its priority: standard devices answer with system priority.
      {"mode 1 takes a B0 start", 1, 9, answer, {5}, {10}, "B01105FFFE6342400012", ReceiveMachine::State::Finished},
      {"mode 1 takes a BC start", 1, 9, answerBC, {5}, {10}, "BC1105FFFE6342400012", ReceiveMachine::State::Finished},
      {"mode 2 confirmation when idle", 2, 255, {0x8B}, {}, {}, "", ReceiveMachine::State::Finished},
      {"mode 2: 0x8B inside a frame is a frame byte",
       2,
       9,
       concat({with8B, {0x8B}}),
       {5},
       {10},
       "B01105FFFE634240008B",
       ReceiveMachine::State::Finished},
      {"mode 2 answers accumulate",
       2,
       9,
       concat({answer, answer}),
       {5, 16},
       {10, 21},
       "B01105FFFE6342400012B01105FFFE6342400012",
       ReceiveMachine::State::Idle},
      {"mode 0: 0x8B is no confirmation", 0, 9, {0x8B}, {}, {}, "", ReceiveMachine::State::Idle},
      {"length 0 judged against the next byte", 0, 4, lengthZero, {5}, {}, "", ReceiveMachine::State::Assembling},
      {"length 0 accepted only if the next byte is the checksum again",
       0,
       4,
       concat({lengthZero, {lengthZero.back()}}),
       {5},
       {8},
       // bytes 0..7: the frame and its real checksum 0x37
       "BC1105FFFE600137",
       ReceiveMachine::State::Finished},
  };
  for (const auto& s : scenarios) {
    ReceiveMachine machine(static_cast<ExchangeMode>(s.mode), {s.answerCode, std::nullopt}, Local);
    const Fed fed = feedAll(machine, s.stream);
    EXPECT_EQ(fed.acks, s.acks) << s.name;
    EXPECT_EQ(fed.answers, s.answers) << s.name;
    EXPECT_EQ(machine.state(), s.endState) << s.name << ": " << toString(machine.state());
    EXPECT_EQ(machine.answerText(), s.answerText) << s.name;
  }
}

// The trace sees every state entered and the judgement of every complete frame, in order.
TEST(ReceiveMachineTest, TraceGivesStatesAndJudgements) {
  using State = ReceiveMachine::State;
  using Verdict = FrameJudgement;
  using Kind = ReceiveMachine::TraceRecord::Kind;
  Bytes badChecksum = memoryResponse();
  badChecksum.back() ^= 0x40;
  const Bytes group = withChecksum({0xB0, 0x11, 0x05, 0x00, 0x02, 0xE3, 0x42, 0x40, 0x00, 0x12});
  const Bytes addressResponse = withChecksum({0xB0, 0x11, 0x05, 0xFF, 0xFE, 0x61, 0x01, 0x40});
  const Bytes fromAnotherDevice = withChecksum({0xB0, 0x11, 0x06, 0xFF, 0xFE, 0x63, 0x42, 0x40, 0x00, 0x12});
  const Bytes ownEcho = withChecksum({0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x63, 0x42, 0x01, 0x00, 0x00});
  struct Case {
    const char* name;
    ExchangeMode mode;
    Bytes stream;
    std::vector<Verdict> verdicts;
    std::vector<State> entered;
  };
  const Case cases[] = {
      {"each refusal, then the answer",
       ExchangeMode::Answer,
       concat(
           {badChecksum, memoryResponse(0x1106), group, addressResponse, ownEcho, fromAnotherDevice, memoryResponse()}),
       {Verdict::BadChecksum, Verdict::OtherDestination, Verdict::OtherDestination, Verdict::WrongService,
        Verdict::OwnEcho, Verdict::OtherSource, Verdict::Accepted},
       {State::Assembling, State::Idle, State::Assembling, State::Idle, State::Assembling, State::Idle,
        State::Assembling, State::Idle, State::Assembling, State::Idle, State::Assembling, State::Idle,
        State::Assembling, State::Finished}},
      {"confirmation mode logs an answer and ends on 8B",
       ExchangeMode::Confirmation,
       concat({memoryResponse(), {0x8B}}),
       {Verdict::Accepted},
       {State::Assembling, State::Idle, State::Finished}},
      {"noise enters no state", ExchangeMode::Answer, {0x00, 0x8B, 0x42}, {}, {}},
  };
  for (const auto& c : cases) {
    ReceiveMachine machine(c.mode, {service::MemoryResponse, 0x1105}, Local);
    std::vector<Verdict> verdicts;
    std::vector<State> entered;
    std::vector<std::size_t> judgedLengths;
    State current = State::Idle;
    machine.setTraceSink([&](const ReceiveMachine::TraceRecord& r) {
      if (r.kind == Kind::FrameJudged) {
        verdicts.push_back(r.judgement);
        judgedLengths.push_back(r.frame.size());
        EXPECT_EQ(r.from, State::Assembling) << c.name;
        return;
      }
      EXPECT_EQ(r.from, current) << c.name << ": from " << toString(r.from) << " to " << toString(r.to);
      current = r.to;
      entered.push_back(r.to);
    });
    feedAll(machine, c.stream);
    EXPECT_EQ(verdicts, c.verdicts) << c.name;
    EXPECT_EQ(entered, c.entered) << c.name;
    EXPECT_EQ(current, machine.state()) << c.name;
    for (std::size_t n : judgedLengths) EXPECT_TRUE(n == 9 || n == 11) << c.name << ": " << n;
  }
}

// The length field decides where the checksum is; a frame is never judged before index 8.
TEST(ReceiveMachineTest, ChecksumIndexFromTheLengthField) {
  const std::pair<std::uint8_t, std::size_t> cases[] = {{0x60, 8}, {0x61, 8},  {0x62, 9}, {0x63, 10},
                                                        {0xE1, 8}, {0x6F, 22}, {0xFF, 22}};
  for (const auto& [routing, index] : cases) EXPECT_EQ(ReceiveMachine::checksumIndex(routing), index) << int(routing);
}

TEST(ReceiveMachineTest, EndsOnConfirmationAndAnswer) {
  ReceiveMachine confirm(ExchangeMode::Confirmation, {}, Local);
  EXPECT_EQ(confirm.feed(0x8B), Event::Confirmed);
  EXPECT_EQ(confirm.feed(0x8B), Event::Nothing);  // finished: nothing more happens

  ReceiveMachine answer(ExchangeMode::Answer, {service::MemoryResponse, std::nullopt}, Local);
  const Fed fed = feedAll(answer, concat({memoryResponse(), memoryResponse()}));
  EXPECT_EQ(fed.answers, (std::vector<std::size_t>{10}));
  EXPECT_EQ(answer.answerText(), "B01105FFFE6342400012");
}

TEST(ReceiveMachineTest, LongestFrameCompletesWithinTheBuffer) {
  Bytes frame{0xBC, 0x11, 0x05, 0xFF, 0xFE, 0x6F, 0x42, 0x40};
  while (frame.size() < 22) frame.push_back(static_cast<std::uint8_t>(frame.size()));
  frame = withChecksum(frame);
  ReceiveMachine machine(ExchangeMode::Answer, {service::MemoryResponse, std::nullopt}, Local);
  const Fed fed = feedAll(machine, frame);
  EXPECT_EQ(fed.answers, (std::vector<std::size_t>{22}));
  EXPECT_EQ(machine.answerText().size(), 44u);
  EXPECT_EQ(machine.lastFrame().size(), 23u);
}

// Which frames get the acknowledge: those for us (our address, or the broadcast) that
// we did not send; never a group frame whose number happens to equal our address.
TEST(ReceiveMachineTest, AcknowledgeGoesToFramesForUsOnly) {
  struct Case {
    const char* name;
    std::uint16_t source;
    std::uint16_t destination;
    std::uint8_t routing;
    bool acknowledged;
  };
  const Case cases[] = {
      {"individual to us", 0x1105, Local, 0x63, true},
      {"individual to us, sent by us", Local, Local, 0x63, false},
      {"individual to another", 0x1105, 0x1106, 0x63, false},
      {"individual to address 0", 0x1105, 0x0000, 0x63, false},
      {"broadcast", 0x1105, 0x0000, 0xE1, true},
      {"broadcast sent by us", Local, 0x0000, 0xE1, false},
      {"group with our number", 0x1105, Local, 0xE1, false},
      {"group 0/0/2", 0x1105, 0x0002, 0xE1, false},
  };
  for (const auto& c : cases) {
    const Bytes frame =
        withChecksum({0xBC, static_cast<std::uint8_t>(c.source >> 8), static_cast<std::uint8_t>(c.source & 0xFF),
                      static_cast<std::uint8_t>(c.destination >> 8), static_cast<std::uint8_t>(c.destination & 0xFF),
                      c.routing, 0x00, 0x80});
    for (auto mode : {ExchangeMode::Answer, ExchangeMode::FurtherAnswer, ExchangeMode::Confirmation}) {
      ReceiveMachine machine(mode, {service::MemoryResponse, std::nullopt}, Local);
      const Fed fed = feedAll(machine, frame);
      EXPECT_EQ(fed.acks, c.acknowledged ? std::vector<std::size_t>{5} : std::vector<std::size_t>{})
          << c.name << ", " << toString(mode);
    }
  }
}

// Only the positive confirmation, and only between frames in confirmation mode, ends a
// wait as confirmed; the negative one (0B) is no confirmation.
TEST(ReceiveMachineTest, ConfirmationIsThePositiveByteBetweenFrames) {
  struct Case {
    const char* name;
    ExchangeMode mode;
    Bytes stream;
    bool confirmed;
  };
  Bytes inFrame = memoryResponse(0x1106);
  inFrame.insert(inFrame.begin() + 3, 0x8B);
  inFrame.resize(8);
  const Case cases[] = {
      {"positive", ExchangeMode::Confirmation, {0x8B}, true},
      {"negative", ExchangeMode::Confirmation, {0x0B}, false},
      {"positive after noise", ExchangeMode::Confirmation, {0x03, 0x0B, 0x8B}, true},
      {"positive inside a frame", ExchangeMode::Confirmation, inFrame, false},
      {"positive while an answer is awaited", ExchangeMode::Answer, {0x8B}, false},
      {"positive while a further answer is awaited", ExchangeMode::FurtherAnswer, {0x8B}, false},
  };
  for (const auto& c : cases) {
    ReceiveMachine machine(c.mode, {}, Local);
    const Fed fed = feedAll(machine, c.stream);
    const bool confirmed = !fed.events.empty() && fed.events.back() == Event::Confirmed;
    EXPECT_EQ(confirmed, c.confirmed) << c.name;
  }
}

}  // namespace
}  // namespace kolvaro
