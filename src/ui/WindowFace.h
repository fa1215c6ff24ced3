#pragma once
// The window's face of the device session, in one place: its questions and messages as
// the window's message boxes, its progress on the bar, its values from the address
// members and combo boxes, and the values a read brings into the fields (gray once read).
// The buttons' runs prepare the fields and buttons around the session's calls. Qt-free:
// it works on the window's controls through MainView, so tests run it on a fake.
#include "config/DeviceSession.h"
#include "config/MainView.h"

namespace kolvaro {

class WindowFace : public SessionFace {
 public:
  explicit WindowFace(MainView& window) : window_(window) {}

  bool ask(Question question) override;
  void tell(Message message) override;
  void progress(int position) override { window_.setProgressPosition(position); }
  SessionValues values(bool checked) override;
  void valueRead(const ReadValue& value) override;

  // The Write, Read, OnGroup and OffGroup buttons. Each holds the re-entry guard for
  // its run and does nothing when another run holds it.
  void write(DeviceSession& session);
  void read(DeviceSession& session);
  void switchGroup(DeviceSession& session, bool on);

 private:
  MainView& window_;
};

// The configuration the window's entries give, after a validation run.
DeviceConfiguration ConfigurationOfWindow(MainView& window);
// The same, worked out on a copy of the entries: the window itself is not touched (its
// colours, e.g. the gray of values read from a device, stay).
DeviceConfiguration ConfigurationShownBy(const MainView& window);
// Puts a configuration into the fields and combo boxes, then runs the validation.
void ShowConfiguration(MainView& window, const DeviceConfiguration& configuration);

}  // namespace kolvaro
