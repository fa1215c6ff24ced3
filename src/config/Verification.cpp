#include "config/Verification.h"

#include "config/ReadProcedure.h"
#include "platform/Platform.h"

namespace kolvaro {
namespace {

// In force for one read: questions are answered Yes, everything else goes on to the
// platform that was in force before.
class QuestionsAnsweredYes : public Platform {
 public:
  QuestionsAnsweredYes() : next_(platform()) {}
  int messageBox(const std::string& text, const char* caption, unsigned flags) override {
    if ((flags & mb::ButtonsMask) == mb::YesNo) return id::Yes;
    return next_.messageBox(text, caption, flags);
  }
  void beep() override { next_.beep(); }
  void sleep(unsigned milliseconds) override { next_.sleep(milliseconds); }
  std::optional<std::string> systemDirectory() override { return next_.systemDirectory(); }
  SerialPorts& serialPorts() override { return next_.serialPorts(); }

 private:
  Platform& next_;
};

}  // namespace

std::optional<DeviceConfiguration> ReadDeviceConfiguration(HeadlessView& view) {
  // The read turns the address and the input mode gray at its very end only, the input
  // mode only when it was read: both gray means every stage got through.
  view.setFieldColour(Field::phAddr, colour::Black);
  view.setComboColour(Combo::MONO_BI, colour::Black);
  {
    QuestionsAnsweredYes answering;
    const ScopedPlatform installed(answering);
    ReadClick(view);
  }
  if (view.fieldColour(Field::phAddr) != colour::Gray || view.comboColour(Combo::MONO_BI) != colour::Gray) {
    return std::nullopt;
  }
  return ConfigurationOfView(view);
}

Verification VerifyDevice(HeadlessView& view, const DeviceConfiguration& expected) {
  Verification result;
  const std::optional<DeviceConfiguration> found = ReadDeviceConfiguration(view);
  if (!found) return result;
  result.deviceRead = true;
  result.found = *found;
  result.differences = CompareConfigurations(expected, *found);
  return result;
}

}  // namespace kolvaro
