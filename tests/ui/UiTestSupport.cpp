#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace kolvaro::test {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "kolvaro-ui-test";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<QApplication> application_;
};

// Registered before main runs; the application itself only exists while tests run, so
// listing the tests needs no display.
[[maybe_unused]] static auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

WindowRig::WindowRig() {
  platform.directory = directory.path();
  window = std::make_unique<TMain>();
  // Fast ticks, so waits bounded by Timer1 end quickly.
  window->Timer1->setInterval(5);
}

WindowRig::~WindowRig() { window.reset(); }

void WindowRig::startUp() {
  window->show();
  QCoreApplication::processEvents();  // the queued start-up
}

std::vector<std::string> WindowRig::boxTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : platform.boxes) texts.push_back(box.text);
  return texts;
}

}  // namespace kolvaro::test
