#include "support/ProcedureRig.h"

#include "link/ChipServices.h"
#include "support/TestHex.h"

namespace kolvaro::test {

using namespace std::chrono_literals;

namespace {
constexpr auto WaitStep = 100us;

// The scene's host line, refusing written bytes while the rig says so.
class SwitchableLine : public SerialLine {
 public:
  SwitchableLine(std::unique_ptr<SerialLine> line, const bool& writesFail)
      : line_(std::move(line)), writesFail_(writesFail) {}
  bool getState(Dcb& dcb) override { return line_->getState(dcb); }
  bool setState(const Dcb& dcb) override { return line_->setState(dcb); }
  bool setDtr() override { return line_->setDtr(); }
  bool setRts() override { return line_->setRts(); }
  bool clearError(Status& status) override { return line_->clearError(status); }
  bool purge(bool transmit, bool receive) override { return line_->purge(transmit, receive); }
  bool writeByte(std::uint8_t byte) override { return !writesFail_ && line_->writeByte(byte); }
  bool readByte(std::uint8_t& byte) override { return line_->readByte(byte); }
  bool close() override { return line_->close(); }
  int readableDescriptor() const override { return line_->readableDescriptor(); }

 private:
  std::unique_ptr<SerialLine> line_;
  const bool& writesFail_;
};
constexpr auto TickInterval = std::chrono::microseconds(1s);
}  // namespace

ProcedureRig::ProcedureRig(sim::Scene& bus, bool portWorks) : scene(bus), nextTick_(bus.now() + TickInterval) {
  platform.directory = systemDirectory_.path();
  if (portWorks) {
    platform.scripted.set("COM1", [this] { return std::make_unique<SwitchableLine>(scene.connectHost(), writesFail); });
  }
  port_ = std::make_unique<ComPort>();
  if (!port_->IsFailed()) {
    port_->RaiseDTR();
    port_->RaiseRTS();
    std::uint8_t reset = 0x01;  // the chip's reset request, as start-up writes it
    port_->WriteByte(&reset);
    advance(10ms);
  }
  platform.onSleep = [this](unsigned milliseconds) { advance(std::chrono::milliseconds(milliseconds)); };
  platform.onBox = [this](const ShownBox&) {
    advance(answerTime);
    deliverTick();
  };
  comboIndexes.fill(0);
  runValidation();
  clearRecords();
}

// The hooks reach into the rig: a box the port shows as it closes must not run them.
ProcedureRig::~ProcedureRig() {
  platform.onBox = nullptr;
  platform.onSleep = nullptr;
}

void ProcedureRig::setFieldColour(Field field, std::uint32_t bgr) {
  FakeMainView::setFieldColour(field, bgr);
  colourChanges.push_back({field, bgr});
}

void ProcedureRig::setButtonEnabled(Button button, bool enabled) {
  FakeMainView::setButtonEnabled(button, enabled);
  buttonChanges.push_back({button, enabled});
}

Reply ProcedureRig::request(const Request& request) {
  const ChipCall call = ChipCallOf(request);
  const SentTelegram shown{call.text, call.waitLimit, call.wanted.service, call.mode};
  if (beforeCall) beforeCall(sent.size(), shown.telegram);
  sent.push_back(shown);
  replies.push_back(exchange.request(request));
  results.push_back(ReplyText(replies.back()));
  return replies.back();
}

void ProcedureRig::waitForActivity(int /*readableDescriptor*/) {
  advance(WaitStep);
  deliverTick();
  if (duringWait) duringWait();
}

void ProcedureRig::deliverTick() {
  if (!tickDue_) return;
  tickDue_ = false;
  ++ticks;
  exchange.Timer1Timer();
}

void ProcedureRig::advance(std::chrono::microseconds span) {
  scene.advance(span);
  // Timer1 runs freely; ticks that fell due while nothing processed events come as one.
  while (scene.now() >= nextTick_) {
    nextTick_ += TickInterval;
    tickDue_ = true;
  }
}

void ProcedureRig::enter(Field field, const std::string& value) {
  texts[static_cast<std::size_t>(field)] = value;
  runValidation();
}

void ProcedureRig::clearRecords() {
  progressHistory.clear();
  fieldTextWrites.clear();
  sent.clear();
  results.clear();
  replies.clear();
  pauses.clear();
  colourChanges.clear();
  buttonChanges.clear();
  memo.clear();
  validationRuns = 0;
  beeps = 0;
  ticks = 0;
  platform.boxes.clear();
  platform.beeps = 0;
  scene.clearLog();
}

std::vector<std::string> telegramsOnBus(const sim::Scene& scene) {
  std::vector<std::string> texts;
  for (const auto& frame : scene.log()) {
    if (frame.repetition != 0 || frame.bytes.empty()) continue;
    const std::size_t length = frame.bytes.size() - 1;  // the checksum left out
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += hexByte(frame.bytes[i]);
    texts.push_back(text);
  }
  return texts;
}

std::string asOnBus(const std::string& telegram) {
  if (telegram.size() < 2) return telegram;
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text = telegram;
  const char first = text[0];
  const int value = first <= '9' ? first - '0' : first - 'A' + 10;
  text[0] = digits[value | 0x2];  // bit 5 of the control byte: first transmission
  return text;
}

std::size_t framesOnBus(const sim::Scene& scene, const std::string& telegram) {
  const std::string wanted = asOnBus(telegram);
  std::size_t count = 0;
  for (const auto& text : telegramsOnBus(scene)) count += text == wanted ? 1 : 0;
  return count;
}

}  // namespace kolvaro::test
