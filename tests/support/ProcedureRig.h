#pragma once
// The recording main window wired to the in-process simulated bus, for the device
// session's tests: the window's own face of the session (WindowFace) on the recording
// window, and the session's requests recorded on their way to the real TelegramExchange
// over a real ComPort (start-up constructor) whose "COM1" is a host connection of the
// scene; Timer1 ticks every second of virtual time; pauses move the virtual clock;
// message boxes, those of the exchange and the port included, are recorded and
// answered from the script of the view's RecordingPlatform.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/Comport.h"
#include "sim/Scene.h"
#include "support/FakeMainView.h"
#include "telegram/ExchangeHost.h"
#include "telegram/TelegramExchange.h"
#include "ui/WindowFace.h"

namespace kolvaro::test {

class ProcedureRig : public FakeMainView, public ExchangeHost, public BusRequests {
 public:
  struct ColourChange {
    Field field;
    std::uint32_t colour;
  };
  struct ButtonChange {
    Button button;
    bool enabled;
  };

  // The window as start-up leaves it: design texts, first combo items, the port opened
  // (or failed, with portWorks false: no COM port can be opened), the chip reset, one
  // validation run. Records start empty.
  explicit ProcedureRig(sim::Scene& scene, bool portWorks = true);
  ~ProcedureRig() override;

  // MainView, recorded on top of FakeMainView
  void setFieldColour(Field field, std::uint32_t bgr) override;
  void setButtonEnabled(Button button, bool enabled) override;

  // BusRequests: each request recorded (as the chip's exchange takes it), then passed on.
  Reply request(const Request& request) override;
  ChipState testInterface() override { return exchange.testInterface(); }
  // Pauses move the virtual clock. Every box (recorded and answered from the platform's
  // script) stays up for answerTime of virtual time, and its own event loop takes the
  // timer's ticks meanwhile, as a task-modal box does: the bus goes on, and no tick is
  // left pending after it.

  // ExchangeHost
  ComPort* port() override { return port_.get(); }
  std::uint16_t localAddress() const override { return static_cast<std::uint16_t>(addressMembers.Local_phAddr); }
  void appendLog(const std::string& line) override { memo.push_back(line); }
  // Moves the virtual clock by 100 µs; Timer1Timer runs once when a tick has fallen due
  // (ticks that fell due during a pause come as one, as a window's timer messages do).
  void waitForActivity(int readableDescriptor) override;

  // A user's edit of a field followed by leaving it (a validation run).
  void enter(Field field, const std::string& text);
  // Forgets everything recorded so far, on the view, the platform and the bus.
  void clearRecords();

  std::vector<ColourChange> colourChanges;
  std::vector<ButtonChange> buttonChanges;
  std::vector<std::string> results;  // every reply, in the log's words ("ACK", "NoReply", …), in order
  std::vector<Reply> replies;        // every reply, in order
  std::vector<std::string> memo;     // Tels_memo
  int ticks = 0;
  std::chrono::milliseconds answerTime{300};  // how long the user takes to answer a box

  // Runs before each exchange with its number (0-based, counted since clearRecords) and
  // its telegram text, e.g. to break the line at a chosen stage.
  std::function<void(std::size_t n, const std::string& telegram)> beforeCall;
  // While set, the line refuses every byte written to it, so an exchange that sends
  // ends in "Error"; cleared, the same line works again (mixed outcomes).
  bool writesFail = false;
  // Runs inside the waits of the exchange, as a window event would (re-entry tests).
  std::function<void()> duringWait;

  sim::Scene& scene;
  TelegramExchange exchange{*this};
  WindowFace face{*this};
  DeviceSession session{*this, face};

 private:
  void advance(std::chrono::microseconds span);
  void deliverTick();

  TempDir systemDirectory_;
  std::unique_ptr<ComPort> port_;
  std::chrono::microseconds nextTick_;
  bool tickDue_ = false;
};

// The window's buttons on the rig.
inline void WriteClick(ProcedureRig& rig) { rig.face.write(rig.session); }
inline void ReadClick(ProcedureRig& rig) { rig.face.read(rig.session); }
inline void OnGroupClick(ProcedureRig& rig) { rig.face.switchGroup(rig.session, true); }
inline void OffGroupClick(ProcedureRig& rig) { rig.face.switchGroup(rig.session, false); }

// The telegram texts of the first transmissions on the bus, in order, as they stand on
// the bus: the chip sends every first transmission with the repeat flag set (0x98
// handed over goes out as 0xB8).
std::vector<std::string> telegramsOnBus(const sim::Scene& scene);
// First transmissions on the bus of a telegram text as handed to the exchange.
std::size_t framesOnBus(const sim::Scene& scene, const std::string& telegram);
// The telegram text as a first transmission shows on the bus (repeat flag set).
std::string asOnBus(const std::string& telegram);

}  // namespace kolvaro::test
