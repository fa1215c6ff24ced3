#pragma once
// The platform of kolvaro-cli: the message boxes of the port and the exchange become
// lines on standard error with their own texts, the serial ports are those the options
// name, and dcb.ini lives where the window keeps it (or in --config-dir).
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kolvaro::cli {

class ProgressLine;

// Which serial port the options name: a "COMn" name, a device path, or none (the window's
// own choice: the lowest free port of COM1..COM4).
class ChosenPorts : public SerialPorts {
 public:
  explicit ChosenPorts(std::optional<std::string> choice) : choice_(std::move(choice)) {}
  std::unique_ptr<SerialLine> open(const std::string& portName, const PortPaths& paths, LineError& failure) override;
  // True when the choice is a COM1..COM4 name or none; false for a device path.
  bool choiceIsPortName() const;
  // The device the last open that failed tried, and why it failed.
  const std::string& lastPathTried() const { return lastPath_; }
  const LineError& lastFailure() const { return lastFailure_; }

 private:
  std::optional<std::string> choice_;
  std::string lastPath_;
  LineError lastFailure_;
};

class CliPlatform : public Platform {
 public:
  CliPlatform(std::optional<std::string> portChoice, std::optional<std::string> configDirectory,
              ProgressLine& progress);

  int messageBox(const std::string& text, const char* caption, unsigned flags) override;
  void beep() override {}
  void sleep(unsigned milliseconds) override;
  std::optional<std::string> systemDirectory() override;
  SerialPorts& serialPorts() override { return ports_; }

  const ChosenPorts& chosenPorts() const { return ports_; }
  // While quiet, boxes are kept instead of shown (a port that cannot be opened is
  // reported in one line of its own, not with the window's port boxes).
  void setQuiet(bool quiet) { quiet_ = quiet; }
  // The boxes kept while quiet, taken away.
  std::vector<std::string> takeKeptLines();

 private:
  ChosenPorts ports_;
  std::optional<std::string> configDirectory_;
  ProgressLine& progress_;
  bool quiet_ = false;
  std::vector<std::string> kept_;
};

}  // namespace kolvaro::cli
