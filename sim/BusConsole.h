#pragma once
// kolvaro-bus's commands on standard input, one line each, carried out on a Scene.
#include <functional>
#include <string>

#include "sim/Scene.h"
#include "sim/TunnelServer.h"

namespace kolvaro::sim {

// A device's state as one line of JSON.
std::string deviceJson(const Device& device);

class BusConsole {
 public:
  explicit BusConsole(Scene& scene) : scene_(scene) {}
  // Carries out one command line; returns the text to print (JSON, "ok", or "error: ..."),
  // empty for a blank line.
  std::string execute(const std::string& line);
  bool quitRequested() const { return quit_; }
  // Called for "fault linegone": the owner closes its links.
  std::function<void()> onLineGone;
  // The simulated IP interface the "tunnel" commands act on; none by default.
  TunnelServer* tunnel = nullptr;

 private:
  Scene& scene_;
  bool quit_ = false;
};

}  // namespace kolvaro::sim
