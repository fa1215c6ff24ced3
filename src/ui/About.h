#pragma once
// TAboutWindow: the small window of the Help › About menu item, shown without blocking
// the main window.
#include <QWidget>

class QLabel;

namespace kolvaro {

class TAboutWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TAboutWindow(QWidget* parent = nullptr);

  QLabel* ProgramName_Label;
  QLabel* Purpose_Label;
};

}  // namespace kolvaro
