#include "ui/ActivityWait.h"

#include <QCoreApplication>

namespace kolvaro {

ActivityWait::ActivityWait() {
  pollTimer_.setSingleShot(true);
  pollTimer_.setTimerType(Qt::PreciseTimer);
  pollTimer_.setInterval(1);
  limitTimer_.setSingleShot(true);
  limitTimer_.setTimerType(Qt::PreciseTimer);
}

void ActivityWait::wait(int readableDescriptor, std::chrono::milliseconds atMost) {
  limitTimer_.start(atMost);
  wait(readableDescriptor);
  limitTimer_.stop();
}

void ActivityWait::wait(int readableDescriptor) {
  if (readableDescriptor < 0) {
    pollTimer_.start();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    pollTimer_.stop();
    return;
  }
  auto& notifier = notifiers_[readableDescriptor];
  if (!notifier) notifier = std::make_unique<QSocketNotifier>(readableDescriptor, QSocketNotifier::Read);
  notifier->setEnabled(true);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  notifier->setEnabled(false);
}

}  // namespace kolvaro
