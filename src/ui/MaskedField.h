#pragma once
// MaskedField: the address field of the main window. A line edit that always holds a
// text of fixed length in which every position is either a fixed separator or a digit
// position. Typing overwrites one digit position and moves past the separators;
// Backspace and Delete blank positions. The text is therefore always reported in fixed
// positions (separators in place, blanks as spaces), which the validation relies on.
//
// Qt's own input mask is not used: its text() drops blank positions, and setText()
// refuses "??.??.???" and shifts leading blanks, all of which this program needs.
#include <QLineEdit>
#include <QString>

namespace kolvaro {

class MaskedField : public QLineEdit {
  Q_OBJECT

 public:
  enum class Kind {
    Physical,  // "99.99.999": area.line.device
    Group,     // "99\9\999": main\middle\sub
  };

  explicit MaskedField(Kind kind, QWidget* parent = nullptr);

  Kind kind() const { return kind_; }
  // The layout of the field: '9' for a digit position, anything else is a fixed character.
  const QString& layout() const { return layout_; }
  bool isDigitPosition(int position) const;

  // Sets a text from the program. It is taken as it stands (so "??.??.???" and blank
  // parts survive), padded with blanks or cut to the field's length.
  void setFieldText(const QString& text);

 signals:
  // The focus has left the field for another control of the window (not for a message
  // box, a menu, the menu bar or another application).
  void exited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void typeCharacter(QChar character);
  void typeText(const QString& text);
  void blankSelection();
  void blankBackward();
  void blankForward();
  void replaceText(const QString& text, int cursor);
  int nextDigitPosition(int from) const;      // first digit position at or after from, or length
  int previousDigitPosition(int from) const;  // last digit position before from, or -1
  bool isBlank() const;                       // no digit position holds anything

  Kind kind_;
  QString layout_;
};

}  // namespace kolvaro
