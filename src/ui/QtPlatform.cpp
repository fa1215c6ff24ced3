#include "ui/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include "platform/Translatable.h"

namespace kolvaro {

namespace {

QMessageBox::Icon iconFor(unsigned flags) {
  switch (flags & mb::IconMask) {
    case mb::IconError: return QMessageBox::Critical;
    case mb::IconQuestion: return QMessageBox::Question;
    case 0x30:  // MB_ICONWARNING
      return QMessageBox::Warning;
    case mb::IconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtPlatform::messageBox(const std::string& text, const char* caption, unsigned flags) {
  // Without a caption Windows titles the box "Error", even for a notice or a question.
  // The program's own name says who is asking without calling everything an error.
  // The core hands over its texts in Polish; they are translated here, where they are
  // shown (a text without a translation is shown as it came).
  const QString title =
      caption ? QCoreApplication::translate(CoreTextContext, caption) : QGuiApplication::applicationDisplayName();

  QMessageBox box(iconFor(flags), title, QCoreApplication::translate(CoreTextContext, text.c_str()));
  box.setTextFormat(Qt::PlainText);
  // Every box blocks the whole window, also the plain ones: a click on a bus button
  // behind an open box would start a procedure in the middle of another.
  box.setWindowModality(Qt::ApplicationModal);
  if (flags & mb::Topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);

  const bool yesNo = (flags & mb::ButtonsMask) == mb::YesNo;
  if (yesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton((flags & mb::DefButtonMask) == mb::DefButton2 ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);  // closing a question never answers Yes
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
  }
  box.exec();

  if (!yesNo) return id::Ok;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? id::Yes : id::No;
}

void QtPlatform::beep() { QApplication::beep(); }

CoreText::Translate QtTranslation() {
  return [](const char* pattern) { return QCoreApplication::translate(CoreTextContext, pattern).toStdString(); };
}

std::string Translated(const CoreText& text) { return text.render(QtTranslation()); }

}  // namespace kolvaro
