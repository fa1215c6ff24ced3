#include "cli/CliPlatform.h"

#include <cerrno>
#include <chrono>
#include <iostream>
#include <thread>

#include "cli/CliWords.h"
#include "cli/ProgressLine.h"
#include "platform/HostSerialPorts.h"
#include "platform/SystemDirectory.h"
#ifndef _WIN32
#include "platform/SerialLinePosix.h"
#endif

namespace kolvaro::cli {
namespace {

bool isPortName(const std::string& name) {
  return name.size() == 4 && name.compare(0, 3, "COM") == 0 && name[3] >= '1' && name[3] <= '4';
}

// A device path, opened as the host opens its serial ports.
std::unique_ptr<SerialLine> openPath(const std::string& path, LineError& failure) {
#ifdef _WIN32
  return hostSerialPorts().open(path, {}, failure);
#else
  return openPosixSerialLine(path, &failure);
#endif
}

// A box as one line: its lines joined.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

bool ChosenPorts::choiceIsPortName() const { return !choice_ || isPortName(*choice_); }

std::unique_ptr<SerialLine> ChosenPorts::open(const std::string& portName, const PortPaths& paths, LineError& failure) {
  // A port other than the one chosen is not there for this run.
  const auto notChosen = [&failure]() -> std::unique_ptr<SerialLine> {
    failure = {"open", ENOENT};
    return nullptr;
  };
  std::unique_ptr<SerialLine> line;
  if (!choice_ || (isPortName(*choice_) && portName == *choice_)) {
#ifdef _WIN32
    lastPath_ = portName;
#else
    lastPath_ = devicePathOf(portName, paths);
#endif
    line = hostSerialPorts().open(portName, paths, failure);
  } else if (isPortName(*choice_) || portName != "COM1") {
    return notChosen();
  } else {
    // A device path stands in for COM1, the port the program looks at first.
    lastPath_ = *choice_;
    line = openPath(*choice_, failure);
  }
  if (!line) lastFailure_ = failure;
  return line;
}

CliPlatform::CliPlatform(std::optional<std::string> portChoice, std::optional<std::string> configDirectory,
                         ProgressLine& progress)
    : ports_(std::move(portChoice)), configDirectory_(std::move(configDirectory)), progress_(progress) {}

int CliPlatform::messageBox(const std::string& text, const char* caption, unsigned flags) {
  // No question reaches the platform from below the session; one that did gets No.
  const int result = (flags & mb::ButtonsMask) == mb::YesNo ? id::No : id::Ok;
  const std::string line = "[" + (caption ? say(caption) : std::string("Kolvaro")) + "] " + oneLine(say(text));
  if (quiet_) {
    kept_.push_back(line);
    return result;
  }
  progress_.interrupt();
  std::cerr << line << std::endl;
  return result;
}

std::vector<std::string> CliPlatform::takeKeptLines() {
  std::vector<std::string> lines;
  lines.swap(kept_);
  return lines;
}

void CliPlatform::sleep(unsigned milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::optional<std::string> CliPlatform::systemDirectory() {
  if (configDirectory_) return configDirectory_;
  return hostSystemDirectory();
}

}  // namespace kolvaro::cli
