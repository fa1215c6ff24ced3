#pragma once
// Every device in programming mode, by address: the broadcast physical address read
// once, then every physical address response collected for a few seconds, on the same
// exchange the write and read procedures use.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "config/InterfaceTest.h"
#include "config/MainView.h"

namespace kolvaro {

struct ProgrammingModeDevice {
  std::uint16_t address = 0;
  std::chrono::milliseconds firstAnswer{0};  // since the request
  int answers = 0;                           // answers from this address
  friend bool operator==(const ProgrammingModeDevice&, const ProgrammingModeDevice&) = default;
};

struct ProgrammingModeScanResult {
  bool sendFailed = false;                     // the request could not be written
  std::vector<ProgrammingModeDevice> devices;  // in the order of their first answers
};

inline constexpr std::chrono::milliseconds ProgrammingModeListenTime{3000};

ProgrammingModeScanResult ScanProgrammingMode(MainView& view,
                                              std::chrono::milliseconds listen = ProgrammingModeListenTime,
                                              SteadyNow now = {});

// "1.1.5 (po 42 ms)", "1.1.5 (po 42 ms, 2 odpowiedzi)"; the whole list one a line, or
// the plain "none" text.
CoreText ProgrammingModeDeviceText(const ProgrammingModeDevice& device);
CoreText ProgrammingModeReport(const ProgrammingModeScanResult& result);

}  // namespace kolvaro
