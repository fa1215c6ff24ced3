#pragma once
// What the window tests share: one QApplication for the test program, and a rig that
// puts the real main window on a recording platform with fake serial ports.
#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "support/FakeLine.h"
#include "support/RecordingPlatform.h"
#include "ui/Main.h"

namespace kolvaro::test {

struct WindowRig {
  WindowRig();
  ~WindowRig();

  // Shows the window and lets its start-up run (as the event loop does after a show).
  void startUp();
  // Texts of the boxes shown so far.
  std::vector<std::string> boxTexts() const;

  RecordingPlatform platform;
  TempDir directory;
  ScopedPlatform installed{platform};
  std::unique_ptr<TMain> window;
};

// Lets the event loop run until the condition holds or ten seconds have passed (a loaded
// machine, a sanitizer build); a condition that holds returns at once.
template <typename Condition>
bool waitUntil(Condition condition) {
  return QTest::qWaitFor(condition, 10000);
}

}  // namespace kolvaro::test
