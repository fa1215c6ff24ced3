#include "ui/FileMenu.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <variant>

#include "config/ConfigurationFile.h"
#include "config/DeviceSession.h"
#include "config/SessionBoxes.h"
#include "platform/Platform.h"
#include "platform/Translatable.h"
#include "ui/Main.h"
#include "ui/QtPlatform.h"
#include "ui/WindowFace.h"

namespace kolvaro {
namespace {

constexpr char Informacja[] = KOLVARO_TRANSLATABLE("Kolvaro", "Informacja");

const QString FileFilter = QStringLiteral("Konfiguracja (*.json);;Wszystkie pliki (*)");

std::string local8(const QString& path) { return path.toLocal8Bit().toStdString(); }

void errorBox(const CoreText& text) { platform().messageBox(Translated(text), nullptr, box::Error); }

}  // namespace

TFileMenu::TFileMenu(TMain& window) : QObject(&window), window_(window) {
  setObjectName(QStringLiteral("FileMenu"));
  File = new QMenu(tr("Plik"), window.MainMenu);
  File->setObjectName(QStringLiteral("File"));
  window.MainMenu->insertMenu(window.Configure->menuAction(), File);
  Open = File->addAction(tr("Otwórz…"));
  Open->setObjectName(QStringLiteral("Open"));
  Save = File->addAction(tr("Zapisz"));
  Save->setObjectName(QStringLiteral("Save"));
  SaveAs = File->addAction(tr("Zapisz jako…"));
  SaveAs->setObjectName(QStringLiteral("SaveAs"));

  File->addSeparator();
  VerifyWindow = File->addAction(tr("Weryfikuj element z oknem"));
  VerifyWindow->setObjectName(QStringLiteral("VerifyWindow"));
  VerifyFile = File->addAction(tr("Weryfikuj element z plikiem…"));
  VerifyFile->setObjectName(QStringLiteral("VerifyFile"));

  chooseFile = [this](bool forSaving) {
    return forSaving ? QFileDialog::getSaveFileName(&window_, tr("Zapisz konfigurację"), currentPath_, FileFilter)
                     : QFileDialog::getOpenFileName(&window_, tr("Otwórz konfigurację"), currentPath_, FileFilter);
  };

  connect(Open, &QAction::triggered, this, &TFileMenu::OpenClick);
  connect(Save, &QAction::triggered, this, &TFileMenu::SaveClick);
  connect(SaveAs, &QAction::triggered, this, &TFileMenu::SaveAsClick);
  connect(VerifyWindow, &QAction::triggered, this, &TFileMenu::VerifyWindowClick);
  connect(VerifyFile, &QAction::triggered, this, &TFileMenu::VerifyFileClick);
}

void TFileMenu::OpenClick() {
  const QString path = chooseFile(false);
  if (!path.isEmpty()) openFile(path);
}

void TFileMenu::SaveClick() {
  if (currentPath_.isEmpty()) {
    SaveAsClick();
    return;
  }
  saveFile(currentPath_);
}

void TFileMenu::SaveAsClick() {
  const QString path = chooseFile(true);
  if (!path.isEmpty()) saveFile(path);
}

bool TFileMenu::openFile(const QString& path) {
  ParsedConfiguration parsed = LoadConfigurationFile(local8(path));
  if (const auto* problem = std::get_if<FileProblem>(&parsed)) {
    errorBox(CoreText(KOLVARO_TRANSLATABLE("Kolvaro",
                                           "Plik konfiguracji %1 jest nieprawidłowy; okno pozostaje bez zmian.\n%2"))
                 .arg(path.toStdString())
                 .arg(problem->text()));
    return false;
  }
  const DeviceConfiguration& configuration = std::get<DeviceConfiguration>(parsed);
  bool applied = false;
  // While a bus operation runs the fields feed its telegrams: the file waits (a beep).
  window_.runExclusive([&] {
    ShowConfiguration(window_, configuration);
    applied = true;
  });
  if (!applied) return false;
  currentPath_ = path;
  room_ = configuration.room;
  description_ = configuration.description;
  return true;
}

bool TFileMenu::saveFile(const QString& path) {
  DeviceConfiguration configuration = ConfigurationShownBy(window_);
  configuration.room = room_;
  configuration.description = description_;
  const CoreText why = SaveConfigurationFile(local8(path), configuration);
  if (!why.empty()) {
    errorBox(CoreText(KOLVARO_TRANSLATABLE("Kolvaro",
                                           "Konfiguracja nie została zapisana; poprzedni plik pozostał bez zmian.\n%1"))
                 .arg(why));
    return false;
  }
  currentPath_ = path;
  return true;
}

void TFileMenu::VerifyWindowClick() {
  // What a write from the window would send.
  verifyAgainst(ConfigurationShownBy(window_));
}

void TFileMenu::VerifyFileClick() {
  const QString path = chooseFile(false);
  if (path.isEmpty()) return;
  ParsedConfiguration parsed = LoadConfigurationFile(local8(path));
  if (const auto* problem = std::get_if<FileProblem>(&parsed)) {
    errorBox(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Plik konfiguracji %1 jest nieprawidłowy.\n%2"))
                 .arg(path.toStdString())
                 .arg(problem->text()));
    return;
  }
  verifyAgainst(std::get<DeviceConfiguration>(parsed));
}

void TFileMenu::verifyAgainst(const DeviceConfiguration& expected) {
  window_.runExclusive([&] {
    const Verification result = window_.session().verify(expected);
    window_.setProgressPosition(0);
    if (!result.deviceRead) {
      errorBox(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Weryfikacja przerwana: odczyt elementu nie powiódł się.")));
      return;
    }
    if (result.matches()) {
      platform().messageBox(
          KOLVARO_TRANSLATABLE("Kolvaro", "Weryfikacja zakończona: element zawiera oczekiwaną konfigurację."),
          Informacja, box::Notice);
      return;
    }
    CoreText text =
        CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Weryfikacja zakończona: element różni się w %1 pozycjach."))
            .arg(static_cast<std::int64_t>(result.differences.size()));
    for (const Difference& difference : result.differences)
      text = text + CoreText("\n%1").arg(DifferenceLine(difference));
    platform().messageBox(Translated(text), Informacja, box::Error);
  });
}

}  // namespace kolvaro
