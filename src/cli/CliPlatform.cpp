#include "cli/CliPlatform.h"

#include <cerrno>
#include <chrono>
#include <iostream>
#include <thread>

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
  if (!choice_) return hostSerialPorts().open(portName, paths, failure);
  if (isPortName(*choice_))
    return portName == *choice_ ? hostSerialPorts().open(portName, paths, failure) : notChosen();
  // A device path stands in for COM1, the port the program looks at first.
  return portName == "COM1" ? openPath(*choice_, failure) : notChosen();
}

CliPlatform::CliPlatform(std::optional<std::string> portChoice, std::optional<std::string> configDirectory,
                         ProgressLine& progress)
    : ports_(std::move(portChoice)), configDirectory_(std::move(configDirectory)), progress_(progress) {}

int CliPlatform::messageBox(const std::string& text, const char* caption, unsigned flags) {
  const bool question = (flags & mb::ButtonsMask) == mb::YesNo;
  const bool error = (flags & mb::IconMask) == mb::IconError;
  int result = id::Ok;
  if (question) {
    bool yes = false;
    if (error) {
      yes = forceTakenAddress;  // the only question with an error icon
    } else if (!answers.empty()) {
      yes = answers.front();
      answers.pop_front();
    }
    result = yes ? id::Yes : id::No;
  }
  if (error && result != id::Yes) failed_ = true;

  progress_.interrupt();
  std::cerr << "[" << (caption ? caption : "Kolvaro") << "] " << oneLine(text);
  if (question) std::cerr << " -> " << (result == id::Yes ? "Tak" : "Nie");
  std::cerr << std::endl;
  return result;
}

void CliPlatform::sleep(unsigned milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

std::optional<std::string> CliPlatform::systemDirectory() {
  if (configDirectory_) return configDirectory_;
  return hostSystemDirectory();
}

}  // namespace kolvaro::cli
