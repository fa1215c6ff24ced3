#pragma once
// kolvaro-bus's command line: the links, the scene (devices, stations, memory) and the
// fault switches, parsed into a plain description that buildScene() turns into a Scene.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/Device.h"
#include "sim/Scene.h"
#include "sim/TunnelServer.h"

namespace kolvaro::sim {

struct BusOptions {
  std::vector<std::string> links;
  // The simulated IP interface: listens on tunnelHost:tunnelPort when set.
  std::optional<std::uint16_t> tunnelPort;
  std::string tunnelHost = "127.0.0.1";
  TunnelFaults tunnelFaults;
  std::vector<DeviceSetup> devices;
  std::vector<StationSetup> stations;
  std::chrono::milliseconds backgroundPeriod{0};  // background group traffic, 0 = none
  bool neverConfirms = false;
  std::vector<std::uint8_t> noise;
  bool wrongChecksums = false;
  bool framesForOthers = false;
  bool fast = false;       // skip idle time instead of waiting for it
  bool quiet = false;      // no bus log on standard output
  bool ackTiming = false;  // print how long each host took to send its acknowledge information
  bool help = false;
  bool version = false;
};

// Parses the arguments (without the program name); on failure returns nothing and sets error.
std::optional<BusOptions> parseBusOptions(const std::vector<std::string>& args, std::string& error);
std::string busUsage();

// "1.1.5" or four hex digits "1105".
std::optional<std::uint16_t> parsePhysicalAddress(const std::string& text);
// "0/0/2" (main/middle/sub) or four hex digits.
std::optional<std::uint16_t> parseGroupAddress(const std::string& text);
// Hex digits, optionally separated by blanks, into bytes.
std::optional<Bytes> parseHexBytes(const std::string& text);

// Switches one of the simulated IP interface's faults ("lose-ack", "late-confirm=4000");
// false with the reason for an unknown name or a bad value.
bool setTunnelFault(TunnelFaults& faults, const std::string& name, bool on, std::string& error);

// The scene the options describe (devices, stations, faults); links are the caller's.
void buildScene(const BusOptions& options, Scene& scene);

}  // namespace kolvaro::sim
