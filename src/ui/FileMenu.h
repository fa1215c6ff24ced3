#pragma once
// The window's configuration files and verification: a "Plik" menu, first in the menu
// bar ahead of Konfiguracja, with Otwórz…, Zapisz, Zapisz jako… and the verification of
// the device against the window or a file. It only adds to the main window: its fields,
// buttons and other menus stay as they are. Files are read all or nothing; a file that is
// not valid changes nothing in the window and is reported in one box.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "config/DeviceConfiguration.h"

class QAction;
class QMenu;

namespace kolvaro {

class TMain;

class TFileMenu : public QObject {
  Q_OBJECT

 public:
  explicit TFileMenu(TMain& window);

  QMenu* File;
  QAction* Open;
  QAction* Save;
  QAction* SaveAs;
  QAction* VerifyWindow;
  QAction* VerifyFile;

  // Asks for a file name: for opening, or for saving. Empty: the user cancelled.
  // The platform's file dialog unless a test puts in its own.
  std::function<QString(bool forSaving)> chooseFile;
  const QString& currentPath() const { return currentPath_; }

  void OpenClick();
  void SaveClick();
  void SaveAsClick();
  void VerifyWindowClick();
  void VerifyFileClick();

  // The steps behind the menu entries, for a path already chosen.
  bool openFile(const QString& path);
  bool saveFile(const QString& path);
  void verifyAgainst(const DeviceConfiguration& expected);

 private:
  TMain& window_;
  QString currentPath_;
  // The installer's notes of the file last opened or saved; the window has no fields
  // for them, so they are kept here and written back.
  std::string room_;
  std::string description_;
};

}  // namespace kolvaro
