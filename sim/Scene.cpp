#include "sim/Scene.h"

#include <utility>

namespace kolvaro::sim {

Scene::Scene() {
  // The background station acknowledges nothing: frames it sends to nobody get repeated,
  // as on a real bus.
  background_ = std::make_unique<Station>(clock_, bus_, StationSetup{BackgroundAddress, {}, Ack::None});
}

Scene::~Scene() {
  // Lines may outlive the scene (a test's ComPort); they find their far end gone.
  for (auto& chip : chips_) {
    chip->toHost = nullptr;
    chip->detach();
  }
  for (auto& end : hostEnds_) end->gone = true;
}

Device& Scene::addDevice(const DeviceSetup& setup) {
  devices_.push_back(std::make_unique<Device>(clock_, bus_, setup));
  Device& device = *devices_.back();
  device.onAnswer = [this](const Bytes& answer) { disturb(answer); };
  return device;
}

Station& Scene::addStation(const StationSetup& setup) {
  stations_.push_back(std::make_unique<Station>(clock_, bus_, setup));
  return *stations_.back();
}

std::shared_ptr<InterfaceChip> Scene::addChip() {
  auto chip = std::make_shared<InterfaceChip>(clock_, bus_);
  chip->neverConfirms = neverConfirms_;
  chip->noise = noise_;
  chips_.push_back(chip);
  return chip;
}

std::unique_ptr<kolvaro::SerialLine> Scene::connectHost() {
  auto chip = addChip();
  auto end = std::make_shared<HostEnd>();
  hostEnds_.push_back(end);
  chip->toHost = [raw = end.get()](std::uint8_t byte) { raw->inbox.push_back(byte); };
  return std::make_unique<InProcessLine>(chip, end);
}

void Scene::advance(std::chrono::microseconds d) { clock_.runUntil(clock_.now() + d); }

void Scene::injectFrame(Bytes frameWithChecksum) { background_->sendRaw(std::move(frameWithChecksum)); }

void Scene::setChipNeverConfirms(bool on) {
  neverConfirms_ = on;
  for (auto& chip : chips_) chip->neverConfirms = on;
}

void Scene::setNoise(std::vector<std::uint8_t> bytes) {
  noise_ = std::move(bytes);
  for (auto& chip : chips_) chip->noise = noise_;
}

void Scene::setFramesForOtherStations(bool on) { framesForOthers_ = on; }
void Scene::setWrongChecksums(bool on) { wrongChecksums_ = on; }

void Scene::dropLines() {
  for (auto& chip : chips_) {
    chip->toHost = nullptr;
    chip->detach();
  }
  for (auto& end : hostEnds_) {
    end->gone = true;
    end->inbox.clear();
  }
}

void Scene::disturb(const Bytes& answer) {
  if (framesForOthers_) {
    // The same answer, for the station next to the requester.
    Bytes other = answer;
    other[4] = static_cast<std::uint8_t>(other[4] + 1);
    fixChecksum(other);
    background_->sendRaw(std::move(other));
  }
  if (wrongChecksums_) {
    Bytes broken = answer;
    fixChecksum(broken);
    broken.back() ^= 0xFF;
    background_->sendRaw(std::move(broken));
  }
}

}  // namespace kolvaro::sim
