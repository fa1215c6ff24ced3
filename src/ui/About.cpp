#include "ui/About.h"

#include <QLabel>
#include <QVBoxLayout>

#include "kolvaro/Version.h"

namespace kolvaro {

TAboutWindow::TAboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("AboutWindow"));
  setWindowTitle(tr("O programie"));
  setWindowModality(Qt::NonModal);
  // Closing the main window ends the program even while this window is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  ProgramName_Label = new QLabel(QStringLiteral("Kolvaro %1").arg(QLatin1String(Version)), this);
  ProgramName_Label->setObjectName(QStringLiteral("ProgramName_Label"));
  QFont bold = ProgramName_Label->font();
  bold.setBold(true);
  ProgramName_Label->setFont(bold);

  Purpose_Label = new QLabel(tr("Konfiguracja elementu magistralnego EIB\n"
                                "z dwoma wejściami binarnymi i dwoma wyjściami łączeniowymi"),
                             this);
  Purpose_Label->setObjectName(QStringLiteral("Purpose_Label"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ProgramName_Label);
  layout->addWidget(Purpose_Label);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kolvaro
