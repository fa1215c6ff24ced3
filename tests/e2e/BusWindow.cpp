#include "BusWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <thread>

#include "ui/MaskedField.h"

namespace kolvaro::test {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

void RealTimePlatform::sleep(unsigned milliseconds) {
  RecordingPlatform::sleep(milliseconds);
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void RealTimePlatform::answerYesToEveryQuestion() {
  onBox = [this](const ShownBox& box) {
    if ((box.flags & mb::ButtonsMask) == mb::YesNo) answers.push_front(id::Yes);
  };
}

BusWindow::BusWindow(const std::vector<std::string>& busArguments)
    : link_(directory_.file("com1")), bus_({link_}, busArguments) {
  platform.directory = directory_.path();
  platform.useHostPorts();
  writeFile(directory_.file("dcb.ini"), "[COM ports]\r\nCOM1=" + link_ + "\r\n");
}

BusWindow::~BusWindow() {
  closeWindow();
  bus_.stop();
}

void BusWindow::setPortPath(int port, const std::string& path) {
  extraPorts_ += "COM" + std::to_string(port) + "=" + path + "\r\n";
  writeFile(directory_.file("dcb.ini"), "[COM ports]\r\nCOM1=" + link_ + "\r\n" + extraPorts_);
}

bool BusWindow::openWindow(std::string& problem) {
  if (!bus_.waitReady()) {
    problem = "kolvaro-bus did not come up: " + bus_.child().output();
    return false;
  }
  const std::size_t boxesBefore = platform.boxes.size();
  window_ = std::make_unique<TMain>();
  window_->show();
  // Start-up is queued by the first show; it has run once the port exists.
  if (!QTest::qWaitFor([this] { return window_->Port != nullptr && !window_->operationRunning(); }, 5000)) {
    problem = "start-up did not run";
    return false;
  }
  window_->activateWindow();
  if (!QTest::qWaitForWindowActive(window_.get())) {
    problem = "the window did not become active";
    return false;
  }
  if (window_->Port->IsFailed()) {
    problem = "COM1 did not open";
    for (std::size_t i = boxesBefore; i < platform.boxes.size(); ++i) problem += "; box: " + platform.boxes[i].text;
    return false;
  }
  return true;
}

void BusWindow::closeWindow() {
  if (!window_) return;
  window_->close();
  window_.reset();
}

void BusWindow::type(MaskedField* field, const std::string& keys) {
  QTest::mouseClick(field, Qt::LeftButton);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClicks(field, QString::fromStdString(keys));
}

void BusWindow::choose(QComboBox* box, int index) {
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(box, Qt::Key_Down);
}

void BusWindow::click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

std::string BusWindow::dump(int device) {
  const std::size_t from = bus_.child().output().size();
  command("dump " + std::to_string(device));
  const auto end = Clock::now() + 3s;
  while (Clock::now() < end) {
    const std::string& out = bus_.child().output();
    const std::size_t start = out.find("{\"address\"", from);
    if (start != std::string::npos) {
      const std::size_t eol = out.find('\n', start);
      if (eol != std::string::npos) return out.substr(start, eol - start);
    }
    std::this_thread::sleep_for(10ms);
  }
  return {};
}

int BusWindow::waitForLog(const std::string& needle, int times, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    const int seen = countOf(bus_.child().output(), needle);
    if (seen >= times || Clock::now() >= end) return seen;
    std::this_thread::sleep_for(10ms);
  }
}

int countOf(const std::string& text, const std::string& needle) {
  int n = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++n;
  return n;
}

std::string jsonValue(const std::string& json, const std::string& key) {
  const std::string label = "\"" + key + "\":";
  const std::size_t at = json.find(label);
  if (at == std::string::npos) return {};
  const std::size_t start = at + label.size();
  if (start >= json.size()) return {};
  std::size_t end = start;
  if (json[start] == '"') {
    end = json.find('"', start + 1);
    end = end == std::string::npos ? json.size() : end + 1;
  } else if (json[start] == '[') {
    end = json.find(']', start);
    end = end == std::string::npos ? json.size() : end + 1;
  } else {
    end = json.find_first_of(",}", start);
    if (end == std::string::npos) end = json.size();
  }
  return json.substr(start, end - start);
}

}  // namespace kolvaro::test
