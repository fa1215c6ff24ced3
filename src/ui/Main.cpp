#include "ui/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "config/ProcedureSupport.h"
#include "link/ChipServices.h"
#include "platform/Platform.h"
#include "platform/Translatable.h"
#include "ui/About.h"
#include "ui/Colours.h"
#include "ui/FileMenu.h"
#include "ui/MaskedField.h"

namespace kolvaro {

namespace {

// The plain message boxes of start-up and of a port change: no caption, no icon, OK.
void plainMessage(const char* text) { platform().messageBox(text, nullptr, mb::Ok); }

constexpr char NoSystemDirectory[] = KOLVARO_TRANSLATABLE("Kolvaro", "Brak dostępu do katalogu systemowego");
constexpr char PortFailed[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił problem podczas inicjalizacji portu szeregowego");
constexpr char DtrFailed[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił problem podczas próby aktywowania sygnału DTR");
constexpr char RtsFailed[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił problem podczas próby aktywowania sygnału RTS");

}  // namespace

TMain::TMain(QWidget* parent) : QMainWindow(parent) {
  buildForm();
  FileMenu = new TFileMenu(*this);
  buildInspectionMenus();
  buildTunnelMenu();
  connectHandlers();
  exchange_.setObserver(&resultNote_);
  boxNotes_ = std::make_unique<BoxNotes>(log_);
  Timer1->start();  // runs for the window's whole life
}

// The port belongs to FormClose; a window destroyed without being closed still lets go of it.
TMain::~TMain() {
  if (tunnelInUse()) tunnel_.disconnect();  // while every member is still there
}

void TMain::connectHandlers() {
  connect(Timer1, &QTimer::timeout, this, &TMain::Timer1Timer);
  connect(Read, &QPushButton::clicked, this, &TMain::ReadClick);
  connect(Write, &QPushButton::clicked, this, &TMain::WriteClick);
  connect(OnGroup, &QPushButton::clicked, this, &TMain::OnGroupClick);
  connect(OffGroup, &QPushButton::clicked, this, &TMain::OffGroupClick);
  connect(COM1, &QAction::triggered, this, &TMain::COM1Click);
  connect(COM2, &QAction::triggered, this, &TMain::COM2Click);
  connect(COM3, &QAction::triggered, this, &TMain::COM3Click);
  connect(COM4, &QAction::triggered, this, &TMain::COM4Click);
  connect(About, &QAction::triggered, this, &TMain::AboutClick);

  for (int i = 0; i < FieldCount; ++i) {
    const auto which = static_cast<Field>(i);
    MaskedField* f = field(which);
    connect(f, &MaskedField::exited, this, [this] { validation_.Addr_MaskEditExit(); });
    connect(f, &QLineEdit::textChanged, this, [this, which] { validation_.Addr_MaskEditChange(which); });
  }
  // A choice in a program combo box is a click followed by a change, as the user makes
  // it; texts and items set by the program raise neither.
  for (QComboBox* box : {OUT1_Prog_ComboBox, OUT2_Prog_ComboBox}) {
    connect(box, &QComboBox::activated, this, [this] {
      validation_.OUT1_Prog_ComboBoxClick();
      validation_.Addr_MaskEditChange(std::nullopt);
    });
  }
}

// ---- start-up, port menu, closing ------------------------------------------------------

void TMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (startupQueued_) return;
  startupQueued_ = true;
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  // Start-up runs once the window is on the screen, from the event loop, so that its
  // message boxes are not opened from inside the show.
  QMetaObject::invokeMethod(this, &TMain::FormShow, Qt::QueuedConnection);
}

void TMain::FormShow() {
  runPortOperation(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Uruchomienie")), [this] {
    setWindowState(windowState() | Qt::WindowMinimized);
    setEnabled(false);

    if (!platform().systemDirectory()) {
      plainMessage(NoSystemDirectory);
      return;  // the window stays minimised and disabled; it can still be closed
    }
    Port = std::make_unique<ComPort>();
    if (Port->IsFailed()) notePortProblems(0);
    checkPort();

    for (QComboBox* box : {OUT1_Prog_ComboBox, OUT2_Prog_ComboBox, MONO_BI_ComboBox}) box->setCurrentIndex(0);
    validation_.Addr_MaskEditChange(std::nullopt);
    validation_.Addr_MaskEditExit();

    const std::uint8_t resetRequest = chip::ResetRequest;
    Port->WriteByte(&resetRequest);  // no answer is awaited
    // The log notes whether the chip answered, a little later and without a box.
    resetCheckPending_ = true;
    resetAnswerBytes_.clear();
    resetAnswerDeadline_ = std::chrono::steady_clock::now() + ResetAnswerDeadline;
    QTimer::singleShot(ResetAnswerPoll, this, &TMain::pollChipResetAnswer);

    setWindowState(windowState() & ~Qt::WindowMinimized);
    setEnabled(true);
    startTunnelFromIni();  // an IP interface chosen before is used again
  });
}

void TMain::checkPort() {
  if (Port->IsFailed()) plainMessage(PortFailed);
  if (Port->RaiseDTR()) plainMessage(DtrFailed);
  if (Port->RaiseRTS()) plainMessage(RtsFailed);
}

void TMain::moveToPort(std::uint8_t portNo) {
  const CoreText title = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Zmiana portu na COM%1")).arg(std::int64_t{portNo});
  runPortOperation(title, [this, portNo] {
    useSerialChip();  // a COM port chosen: the serial chip again, if a tunnel was in use
    Port.reset();
    activityWait_.forgetDescriptors();
    Port = std::make_unique<ComPort>(19200, "even", 8, 1.0, portNo);
    if (Port->IsFailed()) notePortProblems(portNo);
    checkPort();
  });
}

void TMain::TunnelClick() {
  const auto target = askTunnelTarget();
  if (!target) return;
  const CoreText title = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Połączenie z interfejsem KNXnet/IP %1:%2"))
                             .arg(target->first)
                             .arg(std::int64_t{target->second});
  runPortOperation(title, [&] { useTunnel(target->first, target->second); });
}

void TMain::FormClose() {
  if (tunnelInUse()) tunnel_.disconnect();  // the server is told; the choice stays in dcb.ini
  Port.reset();
  activityWait_.forgetDescriptors();
}

void TMain::closeEvent(QCloseEvent* event) {
  if (operationRunning()) {
    // The port must not be deleted under a running exchange: close when it has ended.
    closeRequested_ = true;
    event->ignore();
    return;
  }
  FormClose();
  QMainWindow::closeEvent(event);
  if (aboutWindow_) aboutWindow_->close();
}

void TMain::AboutClick() {
  if (!aboutWindow_) aboutWindow_ = new TAboutWindow(this);
  aboutWindow_->show();
  aboutWindow_->raise();
  aboutWindow_->activateWindow();
}

// ---- bus operations ---------------------------------------------------------------------

bool TMain::operationRunning() const { return procedure::BusRunGuard::isHeld(static_cast<const MainView*>(this)); }

void TMain::closeIfRequested() {
  if (!closeRequested_ || operationRunning()) return;
  closeRequested_ = false;
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

template <typename Procedure>
void TMain::runProcedure(const CoreText& title, Procedure&& procedure) {
  if (operationRunning()) {
    platform().beep();
    return;
  }
  noteChipResetAnswer();
  {
    const OperationGroup group(*this, title);
    procedure();
  }
  closeIfRequested();
}

template <typename Operation>
void TMain::runPortOperation(const CoreText& title, Operation&& operation) {
  if (!operationRunning()) noteChipResetAnswer();
  {
    const procedure::BusRunGuard guard(static_cast<const MainView*>(this));
    if (!guard.acquired()) {
      platform().beep();
      return;
    }
    const OperationGroup group(*this, title);
    operation();
  }
  closeIfRequested();
}

void TMain::runExclusive(const std::function<void()>& operation) {
  runPortOperation(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Plik / weryfikacja")), operation);
}

void TMain::ReadClick() {
  runProcedure(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt")), [this] { face_.read(session_); });
}

void TMain::WriteClick() {
  runProcedure(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Zapis")), [this] { face_.write(session_); });
}

void TMain::OnGroupClick() {
  runProcedure(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Załącz grupę")),
               [this] { face_.switchGroup(session_, true); });
}

void TMain::OffGroupClick() {
  runProcedure(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Wyłącz grupę")),
               [this] { face_.switchGroup(session_, false); });
}

void TMain::InterfaceTestClick() {
  runPortOperation(CoreText(InterfaceTestCaption), [this] { interfaceTest(); });
}

void TMain::ProgrammingModeClick() {
  runPortOperation(CoreText(ProgrammingModeCaption), [this] { programmingModeScan(); });
}

// ---- MainView ---------------------------------------------------------------------------

QComboBox* TMain::combo(Combo which) const {
  switch (which) {
    case Combo::OUT1_Prog: return OUT1_Prog_ComboBox;
    case Combo::OUT2_Prog: return OUT2_Prog_ComboBox;
    case Combo::MONO_BI: break;
  }
  return MONO_BI_ComboBox;
}

std::string TMain::fieldText(Field which) const { return field(which)->text().toStdString(); }

void TMain::setFieldText(Field which, const std::string& text) {
  field(which)->setFieldText(QString::fromStdString(text));
}

void TMain::setFieldColour(Field which, std::uint32_t bgr) { setFontColour(*field(which), colourFromBgr(bgr)); }

int TMain::comboIndex(Combo which) const { return combo(which)->currentIndex(); }

void TMain::setComboIndex(Combo which, int index) { combo(which)->setCurrentIndex(index); }

void TMain::setComboColour(Combo which, std::uint32_t bgr) { setFontColour(*combo(which), colourFromBgr(bgr)); }

int TMain::progressPosition() const { return GrAddrConfProgress->value(); }

// Positions outside the bar's range stop at its ends (a QProgressBar would ignore them).
void TMain::setProgressPosition(int position) {
  GrAddrConfProgress->setValue(std::clamp(position, GrAddrConfProgress->minimum(), GrAddrConfProgress->maximum()));
}

namespace {
QPushButton* buttonOf(const TMain& window, Button which) {
  switch (which) {
    case Button::Read: return window.Read;
    case Button::Write: return window.Write;
    case Button::OnGroup: return window.OnGroup;
    case Button::OffGroup: break;
  }
  return window.OffGroup;
}
}  // namespace

// The button's own flag: while start-up disables the whole window every button reports
// itself disabled, yet Read has not been disabled by a read run.
bool TMain::buttonEnabled(Button which) const {
  const QPushButton* button = buttonOf(*this, which);
  return button->isEnabledTo(button->parentWidget());
}

void TMain::setButtonEnabled(Button which, bool enabled) { buttonOf(*this, which)->setEnabled(enabled); }

void TMain::ResultNote::exchangeEvent(const ExchangeEvent& event) {
  if (event.kind == ExchangeEvent::Kind::Result) last = event.text;
  next_.exchangeEvent(event);
}

// ---- ExchangeHost -----------------------------------------------------------------------

void TMain::appendLog(const std::string& line) { Tels_memo->appendPlainText(QString::fromStdString(line)); }

void TMain::waitForActivity(int readableDescriptor) { activityWait_.wait(readableDescriptor); }

}  // namespace kolvaro
