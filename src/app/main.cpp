// The program entry: the application, the Qt platform, the main window and the hidden
// About window, then the message loop until the main window closes.
#include <exception>

#include <QApplication>
#include <QMessageBox>

#include "platform/Platform.h"
#include "ui/About.h"
#include "ui/Main.h"
#include "ui/QtPlatform.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kolvaro"));
  QApplication::setApplicationDisplayName(QStringLiteral("Kolvaro"));

  kolvaro::QtPlatform qtPlatform;
  const kolvaro::ScopedPlatform installed(qtPlatform);
  try {
    kolvaro::TMain mainWindow;
    kolvaro::TAboutWindow aboutWindow;
    mainWindow.setAboutWindow(&aboutWindow);
    mainWindow.show();
    QApplication::exec();
  } catch (const std::exception& error) {
    // Anything that escapes is shown as it is, and the program still ends normally.
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
