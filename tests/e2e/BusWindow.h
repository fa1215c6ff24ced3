#pragma once
// The real main window in the test process, on a kolvaro-bus child process: COM1 is the
// simulator's pseudo-terminal link (through a dcb.ini in a directory of the test's own),
// message boxes are recorded and answered by script, pauses really pause, and the user's
// part is played with simulated keys and clicks.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/BusProcess.h"
#include "support/RecordingPlatform.h"
#include "ui/Main.h"

class QComboBox;

namespace kolvaro::test {

// Records like the test platform, but sleeps for real: the bus must see the program's
// own pacing, not a compressed version of it.
class RealTimePlatform : public RecordingPlatform {
 public:
  void sleep(unsigned milliseconds) override;
  // Every Yes/No question is answered Yes, every other box OK.
  void answerYesToEveryQuestion();
};

class BusWindow {
 public:
  // Starts kolvaro-bus with its link as COM1 and the given scene arguments.
  explicit BusWindow(const std::vector<std::string>& busArguments);
  ~BusWindow();

  // A fresh main window, shown and started up (it opens COM1 and resets the chip).
  // Returns false, with the reason in `problem`, if that did not work.
  bool openWindow(std::string& problem);
  // Closes the window as the user would (the port is put back and closed).
  void closeWindow();
  TMain& window() { return *window_; }

  // The user's part.
  void type(MaskedField* field, const std::string& keys);  // clears the field first
  void choose(QComboBox* box, int index);                  // by keyboard from the first item
  void click(QWidget* button);

  // The simulator's side.
  void command(const std::string& line) { bus_.command(line); }
  // Device n's state line ("dump n"), or empty on time-out.
  std::string dump(int device);
  // Waits until the bus log holds `needle` at least `times` times; returns the count seen.
  int waitForLog(const std::string& needle, int times, std::chrono::milliseconds timeout);
  std::string busOutput() { return bus_.child().output(); }

  // Names the device of COM2..COM4 in dcb.ini (COM1 stays the simulator's link).
  void setPortPath(int port, const std::string& path);
  // A path in the test's own directory.
  std::string scratchFile(const std::string& name) const { return directory_.file(name); }

  RealTimePlatform platform;

 private:
  TempDir directory_;
  std::string link_;
  std::string extraPorts_;
  ScopedPlatform installed_{platform};
  BusProcess bus_;
  std::unique_ptr<TMain> window_;
};

// Occurrences of `needle` in `text`.
int countOf(const std::string& text, const std::string& needle);
// The value of `"key":` in a one-line JSON object, as written (quotes kept for strings).
std::string jsonValue(const std::string& json, const std::string& key);

}  // namespace kolvaro::test
