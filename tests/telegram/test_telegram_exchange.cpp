#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "link/Comport.h"
#include "support/RecordingPlatform.h"
#include "telegram/TelegramExchange.h"

namespace kolvaro {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint16_t Local = 0xFFFE;

std::string hex(const Bytes& bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  for (auto b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 0xF];
  }
  return text;
}

Bytes withChecksum(Bytes frame) {
  std::uint8_t x = 0;
  for (auto b : frame) x ^= b;
  frame.push_back(static_cast<std::uint8_t>(~x));
  return frame;
}

// The line under the port: what the chip has sent us, and a record of what we wrote.
struct LineState {
  std::deque<std::uint8_t> rx;
  Bytes written;
  std::vector<std::size_t> readsBeforeWrite;  // bytes read before each byte written
  std::size_t bytesRead = 0;
  bool writesFail = false;
  std::size_t textLength = 0;  // bytes of the text; after its last one the chip replies
  Bytes replyToText;           // what the chip sends the moment the text is complete
  int descriptor = 42;
  std::uint32_t lineErrors = 0;  // reported by every clearError, as a line that hung up does
};

class FakeLine : public SerialLine {
 public:
  explicit FakeLine(std::shared_ptr<LineState> state) : s_(std::move(state)) {}
  bool getState(Dcb& dcb) override {
    dcb = Dcb{};
    return true;
  }
  bool setState(const Dcb&) override { return true; }
  bool setDtr() override { return true; }
  bool setRts() override { return true; }
  bool clearError(Status& status) override {
    status = {s_->lineErrors, static_cast<std::uint32_t>(s_->rx.size())};
    return true;
  }
  bool purge(bool, bool receive) override {
    if (receive) s_->rx.clear();
    return true;
  }
  bool writeByte(std::uint8_t byte) override {
    if (s_->writesFail) return false;
    s_->written.push_back(byte);
    s_->readsBeforeWrite.push_back(s_->bytesRead);
    if (s_->written.size() == s_->textLength)
      s_->rx.insert(s_->rx.end(), s_->replyToText.begin(), s_->replyToText.end());
    return true;
  }
  bool readByte(std::uint8_t& byte) override {
    if (s_->rx.empty()) return false;
    byte = s_->rx.front();
    s_->rx.pop_front();
    ++s_->bytesRead;
    return true;
  }
  bool close() override { return true; }
  int readableDescriptor() const override { return s_->descriptor; }

 private:
  std::shared_ptr<LineState> s_;
};

// One wake-up of the wait: bytes that have arrived and Timer1 ticks that have passed.
struct Step {
  Step(Bytes arrived = {}, int timerTicks = 0, std::function<void()> meanwhile = {})
      : bytes(std::move(arrived)), ticks(timerTicks), also(std::move(meanwhile)) {}
  Bytes bytes;
  int ticks;
  std::function<void()> also;  // anything else the window does meanwhile
};

class ScriptedHost : public ExchangeHost {
 public:
  ComPort* port() override { return port_.get(); }
  std::uint16_t localAddress() const override { return Local; }
  void appendLog(const std::string& text) override { log.push_back(text); }
  void waitForActivity(int descriptor) override {
    descriptors.push_back(descriptor);
    if (descriptors.size() > 10000) throw std::runtime_error("the exchange never stops waiting");
    if (script.empty()) {  // nothing more arrives; time goes by
      exchange->Timer1Timer();
      return;
    }
    Step step = std::move(script.front());
    script.pop_front();
    line->rx.insert(line->rx.end(), step.bytes.begin(), step.bytes.end());
    for (int t = 0; t < step.ticks; ++t) exchange->Timer1Timer();
    if (step.also) step.also();
  }

  std::unique_ptr<ComPort> port_;
  std::shared_ptr<LineState> line;
  TelegramExchange* exchange = nullptr;
  std::deque<Step> script;
  std::vector<std::string> log;
  std::vector<int> descriptors;
};

class TelegramExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.directory = dir.path();
    platform.scripted.set("COM1", [shared = line] { return std::make_unique<FakeLine>(shared); });
    host.line = line;
    host.exchange = &exchange;
    host.port_ = std::make_unique<ComPort>();
    ASSERT_FALSE(host.port_->IsFailed());
    platform.boxes.clear();
  }

  test::TempDir dir;
  test::RecordingPlatform platform;
  ScopedPlatform scoped{platform};
  std::shared_ptr<LineState> line = std::make_shared<LineState>();
  ScriptedHost host;
  TelegramExchange exchange{host};
};

const std::string ReadTelegram = "BCFFFE11056342010012";  // memory read of 0x0012 at 1.1.5
const std::string ReadChipText = "80BC81FF82FE83118405856386428701880089124A64";

struct Case {
  const char* name;
  std::string telegram;
  std::int32_t waitLimit;
  std::uint8_t answerCode;
  std::uint8_t mode;
  Bytes preload;  // waiting in the port before the call
  std::vector<Step> script;
  std::string result;
  std::vector<std::string> log;
  std::string written;
  std::vector<std::size_t> acknowledgedAfterReads;  // for every 0x11 written after the text
};

TEST_F(TelegramExchangeTest, Exchanges) {
  const Bytes memoryAnswer = withChecksum({0xB0, 0x11, 0x05, 0xFF, 0xFE, 0x63, 0x42, 0x40, 0x00, 0x12});
  const Bytes ownAnswer = withChecksum({0xB0, 0xFF, 0xFE, 0xFF, 0xFE, 0x63, 0x42, 0x40, 0x00, 0x12});
  const Bytes furtherAnswer = withChecksum({0xBC, 0x11, 0x06, 0xFF, 0xFE, 0x61, 0x01, 0x40});
  const Bytes furtherAnswerB0 = withChecksum({0xB0, 0x11, 0x06, 0xFF, 0xFE, 0x61, 0x01, 0x40});
  // Group 0/0/2 on, and the chip's echo of it.
  const std::string switchOn = "BCFFFE0002E10081";
  const std::string switchChip = "80BC81FF82FE8300840285E1860087814820";
  const Bytes echo = withChecksum({0xBC, 0xFF, 0xFE, 0x00, 0x02, 0xE1, 0x00, 0x81});
  const Bytes echoLengthZero = withChecksum({0xBC, 0xFF, 0xFE, 0x11, 0x05, 0x60, 0x80});
  const std::string lengthZeroChip = "80BC81FF82FE831184058560868047B6";

  const std::vector<Case> cases = {
      {"confirmation after the echo",
       switchOn,
       1,
       255,
       2,
       {},
       {{echo, 0}, {{0x8B}, 0}},
       "ACK",
       {switchChip},
       switchChip,
       {}},
      {"memory answer acknowledged and returned",
       ReadTelegram,
       1,
       9,
       0,
       {},
       {{memoryAnswer, 0}},
       "B01105FFFE6342400012",
       {ReadChipText, "B01105FFFE6342400012"},
       ReadChipText + "11",
       {6}},
      {"answer with our own source is not acknowledged",
       ReadTelegram,
       1,
       9,
       0,
       {},
       {{ownAnswer, 0}},
       "B0FFFEFFFE6342400012",
       {ReadChipText, "B0FFFEFFFE6342400012"},
       ReadChipText,
       {}},
      {"answers in mode 2 are logged, not returned",
       switchOn,
       1,
       9,
       2,
       {},
       {{memoryAnswer, 0}, {{0x8B}, 0}},
       "ACK",
       {switchChip, "B01105FFFE6342400012"},
       switchChip + "11",
       {6}},
      {"no confirmation within the limit",
       switchOn,
       2,
       255,
       2,
       {},
       {{{}, 1}, {echo, 0}, {{}, 1}},
       "NoReply",
       {switchChip},
       switchChip,
       {}},
      {"a byte read as the limit is reached is dropped",
       switchOn,
       1,
       255,
       2,
       {},
       {{{0x8B}, 1}},
       "NoReply",
       {switchChip},
       switchChip,
       {}},
      {"no limit waits however long",
       switchOn,
       0,
       255,
       2,
       {},
       {{{}, 5}, {{}, 100}, {{}, 1000}, {{0x8B}, 1}},
       "ACK",
       {switchChip},
       switchChip,
       {}},
      {"the echo of a length-0 frame takes the confirmation as its checksum",
       "BCFFFE11056080",
       1,
       255,
       2,
       {},
       {{echoLengthZero, 0}, {{0x8B}, 0}},
       "NoReply",
       {lengthZeroChip},
       lengthZeroChip,
       {}},
      {"telegram 01 is one byte", "01", -1, 255, 2, {}, {}, "NoReply", {"01"}, "01", {}},
      {"15 digits are padded with a 0",
       "BCFFFE110560808",
       -1,
       255,
       2,
       {},
       {},
       "NoReply",
       {"80BC81FF82FE831184058560868087804836"},
       "80BC81FF82FE831184058560868087804836",
       {}},
      {"mode 1 sends nothing and takes what is waiting",
       "ignored",
       1,
       5,
       1,
       furtherAnswer,
       {},
       "BC1106FFFE610140",
       {"BC1106FFFE610140"},
       "11",
       {6}},
      {"mode 1 takes a B0 frame too",
       "ignored",
       1,
       5,
       1,
       furtherAnswerB0,
       {},
       "B01106FFFE610140",
       {"B01106FFFE610140"},
       "11",
       {6}},
      {"bytes waiting before a send are cleared",
       ReadTelegram,
       1,
       9,
       0,
       memoryAnswer,
       {},
       "NoReply",
       {ReadChipText},
       ReadChipText,
       {}},
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    *line = LineState{};
    line->rx.assign(c.preload.begin(), c.preload.end());
    host.log.clear();
    host.descriptors.clear();
    host.script.assign(c.script.begin(), c.script.end());

    EXPECT_EQ(exchange.SendTelegram(c.telegram, c.waitLimit, c.answerCode, static_cast<ExchangeMode>(c.mode)),
              c.result);
    EXPECT_EQ(host.log, c.log);
    EXPECT_EQ(hex(line->written), c.written);
    std::vector<std::size_t> acks;
    const std::size_t textBytes = line->written.size() - c.acknowledgedAfterReads.size();
    for (std::size_t n = textBytes; n < line->written.size(); ++n) acks.push_back(line->readsBeforeWrite[n]);
    EXPECT_EQ(acks, c.acknowledgedAfterReads);
    for (int d : host.descriptors) EXPECT_EQ(d, 42);
    EXPECT_TRUE(platform.boxes.empty());
  }
}

TEST_F(TelegramExchangeTest, NegativeLimitReadsAtMostOneByte) {
  line->textLength = 16;
  line->replyToText = {0xBC, 0xFF, 0xFE, 0x8B};
  EXPECT_EQ(exchange.SendTelegram("BCFFFE11056080", -1, 255, ExchangeMode::Confirmation), "NoReply");
  EXPECT_LE(line->bytesRead, 1u);
  EXPECT_GE(line->rx.size(), 3u);  // the rest waits for the next call
  EXPECT_TRUE(host.descriptors.empty());
}

TEST_F(TelegramExchangeTest, WaitCounterStartsAtZero) {
  exchange.WaitCounter = 50;
  host.script = {{{}, 0}, {{0x8B}, 0}};
  EXPECT_EQ(exchange.SendTelegram("BCFFFE11056080", 1, 255, ExchangeMode::Confirmation), "ACK");
}

TEST_F(TelegramExchangeTest, SixFailedWritesGiveOneBoxAndError) {
  line->writesFail = true;
  EXPECT_EQ(exchange.SendTelegram(ReadTelegram, 1, 9, ExchangeMode::Answer), "Error");
  EXPECT_EQ(host.log, std::vector<std::string>(6, ReadChipText));
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0], (test::ShownBox{"Wystąpił problem podczas transmisji danych", std::nullopt, 0x2010}));
  EXPECT_EQ(line->bytesRead, 0u);
  EXPECT_TRUE(host.descriptors.empty());
}

TEST_F(TelegramExchangeTest, FrameTooLongForTheChipIsNeverWritten) {
  const std::string tooLong = "BC" + std::string(44, '0');  // 23 bytes
  EXPECT_EQ(exchange.SendTelegram(tooLong, 1, 255, ExchangeMode::Confirmation), "Error");
  EXPECT_TRUE(line->written.empty());
  EXPECT_EQ(host.log.size(), 6u);
  EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(TelegramExchangeTest, WithoutAPort) {
  host.port_.reset();
  EXPECT_EQ(exchange.SendTelegram(ReadTelegram, 1, 9, ExchangeMode::Answer), "Error");
  EXPECT_EQ(platform.boxes.size(), 1u);
  // Listening without a port ends at the limit, waiting with no descriptor.
  EXPECT_EQ(exchange.SendTelegram("", 2, 5, ExchangeMode::FurtherAnswer), "NoReply");
  ASSERT_EQ(host.descriptors.size(), 2u);
  EXPECT_EQ(host.descriptors[0], -1);
}

TEST_F(TelegramExchangeTest, PortReplacedDuringTheWait) {
  // The window may delete the port inside a wait (the user picks another one).
  host.script = {{{}, 0, [this] { host.port_.reset(); }}};
  EXPECT_EQ(exchange.SendTelegram("BCFFFE11056080", 3, 255, ExchangeMode::Confirmation), "NoReply");
  EXPECT_EQ(host.descriptors.size(), 4u);
  EXPECT_EQ(host.descriptors.back(), -1);
}

TEST_F(TelegramExchangeTest, LineInErrorIsWaitedOnWithoutItsDescriptor) {
  // A line that hung up stays readable: blocking on it would wake the wait at once, every
  // time, and spin until the limit. Listening on it waits on timers and input alone.
  line->lineErrors = 0x10;
  EXPECT_EQ(exchange.SendTelegram("", 2, 5, ExchangeMode::FurtherAnswer), "NoReply");
  ASSERT_EQ(host.descriptors.size(), 2u);
  EXPECT_EQ(host.descriptors[0], -1);
  EXPECT_EQ(host.descriptors[1], -1);
}

}  // namespace
}  // namespace kolvaro
