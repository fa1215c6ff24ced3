// The main window's additions beside the form's design: the telegram log window, the
// interface test and the list of devices in programming mode, their menu entries, and
// the notes start-up and port changes leave in the log.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>

#include "config/DeviceSession.h"
#include "link/PortPaths.h"
#include "platform/PortDiagnosis.h"
#include "platform/SystemDirectory.h"
#include "telegram/FrameDecoder.h"
#include "telegram/InterfaceTest.h"
#include "ui/Main.h"
#include "ui/QtPlatform.h"
#include "ui/TelegramLogWindow.h"

namespace kolvaro {

namespace {

constexpr std::uint8_t ResetIndication = 0x03;

PortPaths configuredPaths() {
  const auto directory = platform().systemDirectory();
  return directory ? readPortPaths(pathInDirectory(*directory, "dcb.ini")) : PortPaths{};
}

}  // namespace

void TMain::buildInspectionMenus() {
  // One new menu beside the design's: the bar keeps to one line of the window's width.
  BusMenu = new QMenu(tr("Magistrala"), MainMenu);
  BusMenu->setObjectName(QStringLiteral("BusMenu"));
  TelegramLogItem = BusMenu->addAction(tr("Dziennik telegramów"));
  TelegramLogItem->setObjectName(QStringLiteral("TelegramLogItem"));
  InterfaceTestItem = BusMenu->addAction(tr("Test interfejsu"));
  InterfaceTestItem->setObjectName(QStringLiteral("InterfaceTestItem"));
  ProgrammingModeItem = BusMenu->addAction(tr("Urządzenia w trybie programowania"));
  ProgrammingModeItem->setObjectName(QStringLiteral("ProgrammingModeItem"));
  MainMenu->insertMenu(Help->menuAction(), BusMenu);

  connect(TelegramLogItem, &QAction::triggered, this, &TMain::TelegramLogClick);
  connect(InterfaceTestItem, &QAction::triggered, this, &TMain::InterfaceTestClick);
  connect(ProgrammingModeItem, &QAction::triggered, this, &TMain::ProgrammingModeClick);
}

void TMain::TelegramLogClick() {
  if (!logWindow_) logWindow_ = new TelegramLogWindow(log_, this);
  logWindow_->show();
  logWindow_->raise();
  logWindow_->activateWindow();
}

void TMain::interfaceTest() {
  {
    const std::string name = Port ? Port->PortName() : "";
    const PortPaths paths = configuredPaths();
    const ChipState state = session_.testInterface();
    CoreText report = InterfaceTestReport(state, name, name.empty() ? "" : PortDevicePath(name, paths));
    if (Port && Port->IsFailed() && !tunnelInUse()) {
      const CoreText problem = PortOpenProblem(name, paths);
      report =
          report +
          (problem.empty()
               ? CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "\nPort %1 nie jest otwarty.")).arg(name)
               : CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "\nPort %1 nie jest otwarty: %2")).arg(name).arg(problem));
    }
    const bool well = state.answered && state.problems.empty();
    platform().messageBox(Translated(report), InterfaceTestCaption, well ? mb::IconInformation : mb::IconError);
  }
}

void TMain::programmingModeScan() {
  const ProgrammingModeScanResult result = session_.scanProgrammingMode();
  platform().messageBox(Translated(ProgrammingModeReport(result)), ProgrammingModeCaption, mb::IconInformation);
}

// Start-up writes the reset request and awaits no answer; the chip's reset indication
// is looked for outside any exchange and only noted. It is polled for until it comes or
// ResetAnswerDeadline after the request has passed, so a chip (or simulator) slow to
// answer under load is not reported silent. An operation started before then does not
// wait for it: the note says what has arrived, or that the answer was not checked, as
// the operation's exchange takes the line from here on.
bool TMain::collectChipResetAnswer() {
  for (std::int32_t value = Port->ReadByte(); value <= 255; value = Port->ReadByte()) {
    resetAnswerBytes_.push_back(static_cast<std::uint8_t>(value));
  }
  return std::find(resetAnswerBytes_.begin(), resetAnswerBytes_.end(), ResetIndication) != resetAnswerBytes_.end();
}

void TMain::pollChipResetAnswer() {
  if (!resetCheckPending_) return;
  const bool portUsable = Port && !Port->IsFailed();
  if (!portInUse() && portUsable && !collectChipResetAnswer() &&
      std::chrono::steady_clock::now() < resetAnswerDeadline_) {
    QTimer::singleShot(ResetAnswerPoll, this, &TMain::pollChipResetAnswer);
    return;
  }
  noteChipResetAnswer();
}

void TMain::noteChipResetAnswer() {
  if (!resetCheckPending_) return;
  resetCheckPending_ = false;
  const bool usable = !portInUse() && Port && !Port->IsFailed();
  const bool answered = usable && collectChipResetAnswer();
  const bool stillDue = std::chrono::steady_clock::now() < resetAnswerDeadline_;
  CoreText note(answered              ? KOLVARO_TRANSLATABLE("Kolvaro", "układ interfejsu odpowiedział na reset (03)")
                : !usable || stillDue ? KOLVARO_TRANSLATABLE("Kolvaro", "odpowiedź układu na reset: nie sprawdzono")
                                      : KOLVARO_TRANSLATABLE("Kolvaro", "układ interfejsu nie odpowiedział na reset"));
  if (!resetAnswerBytes_.empty()) note = note + CoreText::plain(" [" + HexBytes(resetAnswerBytes_) + "]");
  resetAnswerBytes_.clear();
  ReportNote(&log_, note);
}

// onlyPort 0: every port start-up tried.
void TMain::notePortProblems(std::uint8_t onlyPort) {
  const PortPaths paths = configuredPaths();
  for (std::uint8_t n = 1; n <= 4; ++n) {
    if (onlyPort != 0 && n != onlyPort) continue;
    const std::string name = "COM" + std::to_string(n);
    const CoreText problem = PortOpenProblem(name, paths);
    ReportNote(&log_,
               problem.empty() ? name + " (" + PortDevicePath(name, paths) + "): nie otwarto" : problem.polish());
  }
}

TMain::OperationGroup::OperationGroup(TMain& window, const CoreText& title) : window_(window) {
  window_.boxNotes_->forget();
  window_.resultNote_.last.clear();
  ReportOperationStarted(&window_.log_, title);
}

TMain::OperationGroup::~OperationGroup() { ReportOperationEnded(&window_.log_, window_.operationOutcome()); }

CoreText TMain::operationOutcome() const {
  if (!boxNotes_->lastText().empty()) {
    return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "koniec: %1")).arg(CoreText(boxNotes_->lastText()).firstLine());
  }
  if (!resultNote_.last.empty()) {
    return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "koniec, ostatni wynik: %1")).arg(resultNote_.last);
  }
  return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "koniec"));
}

}  // namespace kolvaro
