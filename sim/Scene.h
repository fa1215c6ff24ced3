#pragma once
// One simulated bus with its stations and interface chips, on a virtual clock that its
// owner drives: tests step it with advance(), kolvaro-bus follows the wall clock.
//
//   kolvaro::sim::Scene scene;
//   auto& device = scene.addDevice({.address = 0x1105, .programmingMode = true});
//   platform.scripted.set("COM1", [&] { return scene.connectHost(); });
//   ... scene.advance(100us) while the host waits ...
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/SerialLine.h"
#include "sim/Bus.h"
#include "sim/Device.h"
#include "sim/EventQueue.h"
#include "sim/InProcessLine.h"
#include "sim/InterfaceChip.h"
#include "sim/Station.h"

namespace kolvaro::sim {

class Scene {
 public:
  Scene();  // virtual clock at 0, bus timing at 9600 bit/s in virtual time
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  Device& addDevice(const DeviceSetup& setup = {});
  Station& addStation(const StationSetup& setup);
  std::size_t deviceCount() const { return devices_.size(); }
  Device& device(std::size_t index) { return *devices_.at(index); }

  // A new interface chip on the bus; its host side as an in-process SerialLine for
  // ComPort. readableDescriptor() is -1. Destroying or closing the line detaches its chip.
  std::unique_ptr<kolvaro::SerialLine> connectHost();
  // A new chip whose host side the caller wires up itself (kolvaro-bus: a pseudo-terminal).
  std::shared_ptr<InterfaceChip> addChip();
  // The chips made so far, in order (detached ones included).
  const std::vector<std::shared_ptr<InterfaceChip>>& chips() const { return chips_; }

  void advance(std::chrono::microseconds d);  // runs everything up to now()+d
  std::chrono::microseconds now() const { return clock_.now(); }
  std::optional<Micros> nextEventTime() const { return clock_.nextTime(); }
  bool busBusy() const { return bus_.busy(); }
  EventQueue& clock() { return clock_; }
  Bus& bus() { return bus_; }

  const std::vector<LoggedFrame>& log() const { return bus_.log(); }
  void clearLog() { bus_.clearLog(); }
  // Called with every frame as it is logged.
  void onLogged(std::function<void(const LoggedFrame&)> fn) { bus_.onLogged = std::move(fn); }

  // Puts a frame on the bus from the scene's own background station (15.15.250);
  // the frame is sent as given, checksum included.
  void injectFrame(Bytes frameWithChecksum);
  Station& background() { return *background_; }

  // Fault switches. The device faults (no memory answers, late answers, system
  // priority) live in DeviceSetup and on each Device.
  void setChipNeverConfirms(bool on);              // every chip, present and future
  void setNoise(std::vector<std::uint8_t> bytes);  // passed to every host after each frame
  void setFramesForOtherStations(bool on);         // each device answer is preceded by a copy for another station
  void setWrongChecksums(bool on);                 // each device answer is preceded by a copy with a bad checksum
  void dropLines();                                // every host line goes away, as if the far end closed
  bool chipNeverConfirms() const { return neverConfirms_; }
  const std::vector<std::uint8_t>& noise() const { return noise_; }
  bool framesForOtherStations() const { return framesForOthers_; }
  bool wrongChecksums() const { return wrongChecksums_; }

  static constexpr std::uint16_t BackgroundAddress = 0xFFFA;

 private:
  void disturb(const Bytes& answer);

  EventQueue clock_;
  Bus bus_{clock_};
  std::vector<std::unique_ptr<Device>> devices_;
  std::vector<std::unique_ptr<Station>> stations_;
  std::unique_ptr<Station> background_;
  std::vector<std::shared_ptr<InterfaceChip>> chips_;
  std::vector<std::shared_ptr<HostEnd>> hostEnds_;
  bool neverConfirms_ = false;
  std::vector<std::uint8_t> noise_;
  bool framesForOthers_ = false;
  bool wrongChecksums_ = false;
};

}  // namespace kolvaro::sim
