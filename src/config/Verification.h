#pragma once
// Verification: what the device in programming mode holds, read with the read
// procedure itself, compared item by item with the configuration it should hold.
#include <optional>
#include <vector>

#include "config/DeviceConfiguration.h"
#include "config/HeadlessView.h"

namespace kolvaro {

// Runs the read procedure on `view`. The read's two questions (read the programs? the
// input mode?) are answered Yes here without being shown, as a comparison needs every
// stage; its other boxes reach the user as always. The configuration read, or nothing
// when the read did not get through every stage (its boxes have said why).
std::optional<DeviceConfiguration> ReadDeviceConfiguration(HeadlessView& view);

struct Verification {
  bool deviceRead = false;  // false: the read stopped, nothing was compared
  DeviceConfiguration found;
  std::vector<Difference> differences;  // empty: the device holds what was expected
  bool matches() const { return deviceRead && differences.empty(); }
};

Verification VerifyDevice(HeadlessView& view, const DeviceConfiguration& expected);

}  // namespace kolvaro
