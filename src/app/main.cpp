// The program entry: its own options, the application, the language, the Qt platform,
// the main window with its language menu and the hidden About window, then the message
// loop until the main window closes.
#include "ui/Main.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "kolvaro/Version.h"
#include "platform/Platform.h"
#include "platform/SystemDirectory.h"
#include "ui/About.h"
#include "ui/Language.h"
#include "ui/LanguageMenu.h"
#include "ui/ProgramOptions.h"
#include "ui/QtPlatform.h"

int main(int argc, char* argv[]) {
  std::string error;
  const auto options = kolvaro::parseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "kolvaro: " << error << "\nTry 'kolvaro --help'.\n";
    return 2;
  }
  if (options->help) {
    std::cout << kolvaro::programUsage();
    return 0;
  }
  if (options->version) {
    std::cout << "kolvaro " << kolvaro::Version << '\n';
    return 0;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kolvaro"));
  QApplication::setApplicationDisplayName(QStringLiteral("Kolvaro"));
  QApplication::setApplicationVersion(QLatin1String(kolvaro::Version));
  // The menu entry's name, so that desktops match the window to its entry and icon.
  QGuiApplication::setDesktopFileName(QLatin1String(kolvaro::AppId));

  // Polish unless the user asks for English: the option, KOLVARO_LANGUAGE or the choice
  // kept in dcb.ini; the system's language does not count.
  const auto language = kolvaro::languageInForce(options->language, kolvaro::hostSystemDirectory());
  QTranslator translator;
  if (!kolvaro::installTranslation(translator, language)) {
    std::cerr << "kolvaro: the English translation could not be loaded; the window stays Polish\n";
  }
  QTranslator qtTranslator;
  if (!kolvaro::installQtTranslation(qtTranslator, language)) {
    std::cerr << "kolvaro: Qt's own catalogue (qt6-translations-l10n) is not installed; "
                 "Qt's buttons and dialogs stay English\n";
  }

  kolvaro::QtPlatform qtPlatform;
  const kolvaro::ScopedPlatform installed(qtPlatform);
  try {
    kolvaro::TMain mainWindow;
    new kolvaro::TLanguageMenu(mainWindow, language);  // owned by the window
    kolvaro::TAboutWindow aboutWindow;
    mainWindow.setAboutWindow(&aboutWindow);
    mainWindow.show();
    QApplication::exec();
  } catch (const std::exception& failure) {
    // Anything that escapes is shown as it is, and the program still ends normally.
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromLocal8Bit(failure.what()));
  }
  return 0;
}
