#pragma once
// A platform for tests: records every message box (text, caption, flags) and answers
// from a script, counts beeps, records pauses without waiting, and serves serial ports
// and a system directory that the test chooses.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kolvaro::test {

struct ShownBox {
  std::string text;
  std::optional<std::string> caption;  // nothing: the platform's default title
  unsigned flags = 0;

  friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

// Serial ports made by a factory the test gives; unknown names cannot be opened.
class ScriptedPorts : public SerialPorts {
 public:
  using Factory = std::function<std::unique_ptr<SerialLine>()>;
  void set(const std::string& portName, Factory factory) { factories_[portName] = std::move(factory); }
  void remove(const std::string& portName) { factories_.erase(portName); }
  // A name without a factory, or a factory that gives nothing, fails as a missing device.
  std::unique_ptr<SerialLine> open(const std::string& portName, const PortPaths& paths, LineError& failure) override;
  std::vector<std::string> opened;  // every name asked for, in order
  PortPaths lastPaths;              // the paths handed with the last open

 private:
  std::map<std::string, Factory> factories_;
};

class RecordingPlatform : public Platform {
 public:
  int messageBox(const std::string& text, const char* caption, unsigned flags) override;
  void beep() override { ++beeps; }
  void sleep(unsigned milliseconds) override {
    sleeps.push_back(milliseconds);
    if (onSleep) onSleep(milliseconds);
  }
  std::optional<std::string> systemDirectory() override { return directory; }
  SerialPorts& serialPorts() override { return ports_ ? *ports_ : scripted; }

  // Answers for the coming boxes, in order; a box with no scripted answer gets its
  // default button (Yes/No boxes: Yes unless the default is the second button).
  void answer(int result) { answers.push_back(result); }
  // Serve the host's real serial ports (pseudo-terminal tests) instead of the scripted ones.
  void useHostPorts() { ports_ = &hostPlatform().serialPorts(); }

  std::vector<ShownBox> boxes;
  std::deque<int> answers;
  int beeps = 0;
  std::vector<unsigned> sleeps;
  std::optional<std::string> directory;
  ScriptedPorts scripted;
  std::function<void(const ShownBox&)> onBox;  // runs as each box is shown
  std::function<void(unsigned)> onSleep;       // runs after each pause is recorded

 private:
  SerialPorts* ports_ = nullptr;
};

// Makes a fresh temporary directory and removes it with everything inside at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

}  // namespace kolvaro::test
