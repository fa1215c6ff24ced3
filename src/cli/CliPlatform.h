#pragma once
// The platform of kolvaro-cli: message boxes become lines on standard error with their
// own texts, questions are answered from the command line's options, the serial ports
// are those the options name, and dcb.ini lives where the window keeps it (or in
// --config-dir).
#include <deque>
#include <optional>
#include <string>

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

 private:
  std::optional<std::string> choice_;
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

  // The answers for the coming questions, in order; a question beyond them gets No.
  // The write's question about a taken address is answered by `forceTakenAddress`.
  std::deque<bool> answers;
  bool forceTakenAddress = false;
  // True once an error box has been shown that was not a question answered Yes: the
  // run has failed.
  bool failed() const { return failed_; }
  void clearFailure() { failed_ = false; }

 private:
  ChosenPorts ports_;
  std::optional<std::string> configDirectory_;
  ProgressLine& progress_;
  bool failed_ = false;
};

}  // namespace kolvaro::cli
