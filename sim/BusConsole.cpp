#include "sim/BusConsole.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "sim/BusOptions.h"

namespace kolvaro::sim {

namespace {

std::optional<unsigned> number(const std::string& text) {
  unsigned v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end) return std::nullopt;
  return v;
}

std::optional<bool> onOff(const std::string& text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

std::string boolText(bool b) { return b ? "true" : "false"; }

}  // namespace

std::string deviceJson(const Device& d) {
  std::ostringstream j;
  j << "{\"address\":\"" << physicalText(d.address()) << "\",\"programmingMode\":" << boolText(d.programmingMode())
    << ",\"outputs\":[" << boolText(d.output(0)) << "," << boolText(d.output(1)) << "]"
    << ",\"inputs\":[" << boolText(d.inputPressed(0)) << "," << boolText(d.inputPressed(1)) << "]"
    << ",\"programs\":[" << int(d.memory()[memory_map::ProgramWY1]) << "," << int(d.memory()[memory_map::ProgramWY2])
    << "],\"inputMode\":" << int(d.memory()[memory_map::InputMode]) << ",\"groups\":[";
  for (int object = 0; object < 4; ++object)
    for (int slot = 0; slot < 2; ++slot) {
      const auto g = d.group(object, slot);
      j << (object || slot ? "," : "") << (g ? "\"" + groupText(*g) + "\"" : "null");
    }
  Bytes memory(d.memory().begin(), d.memory().end());
  std::string hex = hexBytes(memory);
  std::erase(hex, ' ');
  j << "],\"memory\":\"" << hex << "\"}";
  return j.str();
}

std::string BusConsole::execute(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string word; in >> word;) w.push_back(word);
  if (w.empty()) return "";
  const std::string& cmd = w[0];

  auto device = [&](std::size_t at) -> Device* {
    const auto n = w.size() > at ? number(w[at]) : std::nullopt;
    if (!n || *n < 1 || *n > scene_.deviceCount()) return nullptr;
    return &scene_.device(*n - 1);
  };
  auto rest = [&](std::size_t from) {
    std::string r;
    for (std::size_t i = from; i < w.size(); ++i) r += w[i];
    return r;
  };

  if (cmd == "quit" || cmd == "exit") {
    quit_ = true;
    return "ok";
  }
  if (cmd == "press" || cmd == "release") {
    Device* d = device(1);
    const auto input = w.size() > 2 ? number(w[2]) : std::nullopt;
    if (!d || !input || *input < 1 || *input > 2) return "error: usage: " + cmd + " DEVICE 1|2";
    if (cmd == "press")
      d->pressInput(static_cast<int>(*input) - 1);
    else
      d->releaseInput(static_cast<int>(*input) - 1);
    return "ok";
  }
  if (cmd == "prog") {
    Device* d = device(1);
    const auto on = w.size() > 2 ? onOff(w[2]) : std::nullopt;
    if (!d || !on) return "error: usage: prog DEVICE on|off";
    d->setProgrammingMode(*on);
    return "ok";
  }
  if (cmd == "dump") {
    Device* d = device(1);
    if (!d) return "error: usage: dump DEVICE";
    return deviceJson(*d);
  }
  if (cmd == "inject" || cmd == "injectraw") {
    auto bytes = parseHexBytes(rest(1));
    if (!bytes || bytes->size() < HeaderSize + 1) return "error: usage: " + cmd + " HEX (a frame of at least 7 bytes)";
    scene_.injectFrame(cmd == "inject" ? withChecksum(*bytes) : *bytes);
    return "ok";
  }
  if (cmd == "tunnel" && tunnel) {
    if (w.size() == 2 && w[1] == "end") {
      tunnel->endConnection();
      return "ok";
    }
    const auto on = w.size() == 4 ? onOff(w[3]) : std::nullopt;
    std::string error;
    if (w.size() == 4 && w[1] == "fault" && on) {
      if (!setTunnelFault(tunnel->faults, w[2], *on, error)) return "error: " + error;
      return "ok";
    }
    return "error: usage: tunnel end | tunnel fault NAME on|off";
  }
  if (cmd == "fault" && w.size() >= 2) {
    const std::string& name = w[1];
    if (name == "linegone") {
      if (onLineGone) onLineGone();
      scene_.dropLines();
      return "ok";
    }
    if (name == "noise" && w.size() >= 3) {
      if (w[2] == "off") {
        scene_.setNoise({});
        return "ok";
      }
      auto bytes = parseHexBytes(rest(2));
      if (!bytes) return "error: usage: fault noise HEX|off";
      scene_.setNoise(*bytes);
      return "ok";
    }
    if (name == "late") {
      Device* d = device(2);
      const auto ms = w.size() > 3 ? number(w[3]) : std::nullopt;
      if (!d || !ms) return "error: usage: fault late DEVICE MS";
      d->answerDelay = std::chrono::milliseconds(*ms);
      return "ok";
    }
    if (name == "noread" || name == "system" || name == "badsum") {
      Device* d = device(2);
      const auto on = w.size() > 3 ? onOff(w[3]) : std::nullopt;
      if (!d || !on) return "error: usage: fault " + name + " DEVICE on|off";
      if (name == "noread") d->answersMemoryRead = !*on;
      if (name == "system") d->systemPriority = *on;
      if (name == "badsum") d->wrongChecksum = *on;
      return "ok";
    }
    const auto on = w.size() > 2 ? onOff(w[2]) : std::nullopt;
    if (on && name == "no-confirm") {
      scene_.setChipNeverConfirms(*on);
      return "ok";
    }
    if (on && name == "wrong-checksums") {
      scene_.setWrongChecksums(*on);
      return "ok";
    }
    if (on && name == "other-traffic") {
      scene_.setFramesForOtherStations(*on);
      return "ok";
    }
  }
  return "error: unknown command '" + line + "' (see --help)";
}

}  // namespace kolvaro::sim
