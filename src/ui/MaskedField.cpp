#include "ui/MaskedField.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace kolvaro {

namespace {

QString layoutFor(MaskedField::Kind kind) {
  return kind == MaskedField::Kind::Physical ? QStringLiteral("99.99.999") : QStringLiteral("99\\9\\999");
}

// The empty text of a layout: separators in place, blanks in the digit positions.
QString blankText(const QString& layout) {
  QString text = layout;
  for (QChar& c : text) {
    if (c == QLatin1Char('9')) c = QLatin1Char(' ');
  }
  return text;
}

bool isEditingSequence(QKeyEvent* event) {
  // Everything that would make the base class edit the text on its own terms.
  static const QKeySequence::StandardKey editing[] = {
      QKeySequence::Undo,
      QKeySequence::Redo,
      QKeySequence::DeleteEndOfWord,
      QKeySequence::DeleteStartOfWord,
      QKeySequence::DeleteEndOfLine,
      QKeySequence::DeleteCompleteLine,
  };
  for (auto key : editing) {
    if (event->matches(key)) return true;
  }
  return false;
}

}  // namespace

MaskedField::MaskedField(Kind kind, QWidget* parent) : QLineEdit(parent), kind_(kind), layout_(layoutFor(kind)) {
  setMaxLength(static_cast<int>(layout_.size()));
  // The context menu, drag and drop would insert text past the key handling below.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setDragEnabled(false);
  QLineEdit::setText(blankText(layout_));
}

bool MaskedField::isDigitPosition(int position) const {
  return position >= 0 && position < layout_.size() && layout_[position] == QLatin1Char('9');
}

void MaskedField::setFieldText(const QString& text) {
  const auto length = layout_.size();
  QString fixed = text.left(length);
  if (fixed.size() < length) fixed += QString(length - fixed.size(), QLatin1Char(' '));
  QLineEdit::setText(fixed);
}

int MaskedField::nextDigitPosition(int from) const {
  const int length = static_cast<int>(layout_.size());
  for (int p = std::max(from, 0); p < length; ++p) {
    if (isDigitPosition(p)) return p;
  }
  return length;
}

int MaskedField::previousDigitPosition(int from) const {
  for (int p = std::min(from, static_cast<int>(layout_.size())) - 1; p >= 0; --p) {
    if (isDigitPosition(p)) return p;
  }
  return -1;
}

void MaskedField::replaceText(const QString& newText, int cursor) {
  if (newText != text()) QLineEdit::setText(newText);  // emits textChanged once
  deselect();
  setCursorPosition(cursor);
}

void MaskedField::typeCharacter(QChar character) {
  QString t = text();
  int position = cursorPosition();
  if (hasSelectedText()) {
    position = selectionStart();
    const int end = position + static_cast<int>(selectedText().size());
    for (int p = position; p < end; ++p) {
      if (isDigitPosition(p)) t[p] = QLatin1Char(' ');
    }
  }
  position = nextDigitPosition(position);
  if (position < t.size()) {
    t[position] = character;
    replaceText(t, nextDigitPosition(position + 1));
  } else {
    replaceText(t, static_cast<int>(t.size()));  // no digit position left: only the selection is blanked
  }
}

void MaskedField::typeText(const QString& typed) {
  for (QChar c : typed) {
    if (c.isDigit() || c == QLatin1Char(' ')) typeCharacter(c);
  }
}

void MaskedField::blankSelection() {
  QString t = text();
  const int start = selectionStart();
  const int end = start + static_cast<int>(selectedText().size());
  for (int p = start; p < end; ++p) {
    if (isDigitPosition(p)) t[p] = QLatin1Char(' ');
  }
  replaceText(t, start);
}

void MaskedField::blankBackward() {
  const int position = previousDigitPosition(cursorPosition());
  if (position < 0) return;
  QString t = text();
  t[position] = QLatin1Char(' ');
  replaceText(t, position);
}

void MaskedField::blankForward() {
  const int position = nextDigitPosition(cursorPosition());
  QString t = text();
  if (position >= t.size()) return;
  t[position] = QLatin1Char(' ');
  replaceText(t, position);
}

void MaskedField::keyPressEvent(QKeyEvent* event) {
  if (isReadOnly()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    typeText(QGuiApplication::clipboard()->text());
  } else if (event->matches(QKeySequence::Cut)) {
    if (hasSelectedText()) {
      QGuiApplication::clipboard()->setText(selectedText());
      blankSelection();
    }
  } else if (isEditingSequence(event)) {
    // Undo, redo and word or line deletion are not offered in a fixed-position field.
  } else if (event->key() == Qt::Key_Backspace) {
    hasSelectedText() ? blankSelection() : blankBackward();
  } else if (event->key() == Qt::Key_Delete) {
    hasSelectedText() ? blankSelection() : blankForward();
  } else if (const QString typed = event->text(); !typed.isEmpty() && typed.at(0).isPrint() &&
                                                  !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
    // Digits and blanks overwrite; every other printable character is refused.
    typeText(typed);
  } else {
    // Navigation, selection, copy, Enter: the base class, which must not change the text.
    // Should a key slip through that edits, its text is put back before anyone sees it.
    const QString before = text();
    const int cursor = cursorPosition();
    const QSignalBlocker blocker(this);
    QLineEdit::keyPressEvent(event);
    if (text() != before) {
      QLineEdit::setText(before);
      setCursorPosition(cursor);
    }
    return;
  }
  event->accept();
}

// A click into an empty field starts typing at its first position, wherever it lands:
// a caret left in the middle would silently fill the parts behind it with blanks.
void MaskedField::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (isBlank() && !hasSelectedText()) setCursorPosition(0);
}

bool MaskedField::isBlank() const {
  const QString current = text();
  for (int i = 0; i < current.size(); ++i) {
    if (isDigitPosition(i) && current[i] != QLatin1Char(' ')) return false;
  }
  return true;
}

void MaskedField::inputMethodEvent(QInputMethodEvent* event) {
  typeText(event->commitString());
  event->accept();
}

void MaskedField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Only a move to another control of the window leaves the field. The menu bar taking
  // the keyboard (Alt, F10) is a visit like a menu or a message box: the user comes back
  // to a field still being typed, which must not be corrected meanwhile.
  const auto reason = event->reason();
  if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason) {
    emit exited();
  }
}

}  // namespace kolvaro
