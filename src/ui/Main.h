#pragma once
// TMain: the program's one main window. It owns the serial port, the address members,
// the telegram log and Timer1; its controls are what the field validation and the
// window's face of the device session work on (MainView), and it is the owner of the
// serial chip's exchange (ExchangeHost), through which the session reaches the bus.
#include <QMainWindow>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "config/DeviceSession.h"
#include "config/FieldValidation.h"
#include "config/MainView.h"
#include "link/Comport.h"
#include "platform/Translatable.h"
#include "telegram/ExchangeHost.h"
#include "telegram/TelegramExchange.h"
#include "telegram/TelegramLog.h"
#include "telegram/TunnelClient.h"
#include "ui/ActivityWait.h"
#include "ui/BoxNotes.h"
#include "ui/WindowFace.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace kolvaro {

class MaskedField;
class TAboutWindow;
class TFileMenu;
class TelegramLogWindow;

class TMain : public QMainWindow, public MainView, public ExchangeHost {
  Q_OBJECT

 public:
  explicit TMain(QWidget* parent = nullptr);
  ~TMain() override;

  // The window shown by the Help › About item; without one AboutClick makes its own.
  void setAboutWindow(TAboutWindow* window) { aboutWindow_ = window; }
  // True while a bus operation or a port change runs (it holds procedure::BusRunGuard).
  bool operationRunning() const;

  // The window's components, named as in the form's design.
  QPushButton* Write;
  QTimer* Timer1;
  QProgressBar* GrAddrConfProgress;
  QPushButton* Read;
  MaskedField* phAddr_MaskEdit;
  MaskedField* Local_phAddr_MaskEdit;
  QFrame* Panel1;
  MaskedField* OUT_1_1_GrAddr_MaskEdit;
  MaskedField* OUT_1_2_GrAddr_MaskEdit;
  QLabel* Label1;
  QFrame* Panel2;
  MaskedField* OnOffGroup_MaskEdit;
  QPushButton* OnGroup;
  QPushButton* OffGroup;
  QFrame* Panel3;
  QLabel* Label4;
  MaskedField* OUT_2_1_GrAddr_MaskEdit;
  MaskedField* OUT_2_2_GrAddr_MaskEdit;
  QFrame* Panel4;
  QLabel* Label5;
  MaskedField* IN_2_1_GrAddr_MaskEdit;
  MaskedField* IN_2_2_GrAddr_MaskEdit;
  QFrame* Panel5;
  QLabel* Label6;
  MaskedField* IN_1_1_GrAddr_MaskEdit;
  MaskedField* IN_1_2_GrAddr_MaskEdit;
  QFrame* Panel6;
  QFrame* Panel7;
  QFrame* Panel8;
  QLabel* Label7;
  QLabel* Label2;
  QFrame* Bevel1;
  QMenuBar* MainMenu;
  QMenu* Configure;
  QMenu* Serial_port;
  QAction* COM1;
  QAction* COM2;
  QAction* COM3;
  QAction* COM4;
  QAction* TunnelItem;  // beside the design: Konfiguracja › the KNXnet/IP interface
  QComboBox* OUT1_Prog_ComboBox;
  QComboBox* OUT2_Prog_ComboBox;
  QMenu* Help;
  QAction* About;
  QPlainTextEdit* Tels_memo;
  QComboBox* MONO_BI_ComboBox;

  // Configuration files and verification.
  TFileMenu* FileMenu;

  // Runs an operation of a face beside the window (files, verification) under the same
  // rule as the bus operations: refused with a beep while another one runs.
  void runExclusive(const std::function<void()>& operation);

  // Beside the form's design: the telegram log and the bus inspection (MainInspection.cpp).
  QMenu* BusMenu;
  QAction* TelegramLogItem;
  QAction* InterfaceTestItem;
  QAction* ProgrammingModeItem;
  TelegramLog& telegramLog() { return log_; }
  // The log window; null until first opened.
  TelegramLogWindow* telegramLogWindow() const { return logWindow_; }

  // The serial port; null until the window is first shown.
  std::unique_ptr<ComPort> Port;

  // MainView
  std::string fieldText(Field field) const override;
  void setFieldText(Field field, const std::string& text) override;
  void setFieldColour(Field field, std::uint32_t bgr) override;
  int comboIndex(Combo combo) const override;
  void setComboIndex(Combo combo, int index) override;
  void setComboColour(Combo combo, std::uint32_t bgr) override;
  int progressPosition() const override;
  void setProgressPosition(int position) override;
  bool buttonEnabled(Button button) const override;
  void setButtonEnabled(Button button, bool enabled) override;
  AddressMembers& members() override { return members_; }
  void runValidation() override { validation_.Addr_MaskEditExit(); }

  // ExchangeHost
  ComPort* port() override { return Port.get(); }
  std::uint16_t localAddress() const override { return static_cast<std::uint16_t>(members_.Local_phAddr); }
  void appendLog(const std::string& line) override;
  void waitForActivity(int readableDescriptor) override;
  // The window's event loop must not stand between a frame's routing byte and its
  // acknowledge: the exchange reads the line on a thread of its own.
  bool readsLineOffThread() const override { return true; }

  MaskedField* field(Field which) const { return fields_[static_cast<std::size_t>(which)]; }
  QComboBox* combo(Combo which) const;
  std::int32_t waitCounter() const { return exchange_.WaitCounter; }
  // The device session on the window's port, answered by the window's face, and the
  // serial chip's exchange under it.
  DeviceSession& session() { return session_; }
  TelegramExchange& exchange() { return exchange_; }

  // The IP tunnel (MainTunnel.cpp). Connects to the KNXnet/IP interface at host:port
  // and, when connected, takes the bus through it: the local address field shows the
  // address the server assigned and cannot be edited. The choice is kept in dcb.ini
  // (section "KNXnet/IP") when `record`. False, after a box that says why, when no
  // connection was made; the serial chip stays in use then.
  bool useTunnel(const std::string& host, std::uint16_t port, bool record = true);
  // Back to the serial chip: the tunnel closed, the user's local address back.
  void useSerialChip();
  bool tunnelInUse() const { return bus_.current == &tunnel_; }
  TunnelClient& tunnel() { return tunnel_; }

 public slots:
  void FormShow();
  void FormClose();
  void ReadClick();
  void WriteClick();
  void OnGroupClick();
  void OffGroupClick();
  void COM1Click() { moveToPort(1); }
  void COM2Click() { moveToPort(2); }
  void COM3Click() { moveToPort(3); }
  void COM4Click() { moveToPort(4); }
  void AboutClick();
  void Timer1Timer() {
    exchange_.Timer1Timer();
    serviceIdleTunnel();
  }
  void TunnelClick();
  void TelegramLogClick();
  void InterfaceTestClick();
  void ProgrammingModeClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildForm();  // MainForm.cpp: the controls as the form's design lays them out
  void connectHandlers();
  void moveToPort(std::uint8_t portNo);
  void checkPort();  // the three port checks of start-up and of a port change
  // Runs one bus procedure, which holds the re-entry guard (procedure::BusRunGuard) for
  // its run. A click that arrives inside a run (the exchange processes window events while
  // it waits) is refused with a beep, and a close request waits until the run has ended.
  // Each run is a titled group of rows in the telegram log, with its outcome.
  template <typename Procedure>
  void runProcedure(const CoreText& title, Procedure&& procedure);
  // Runs start-up or a port change under the same guard: the port must not be replaced
  // while an exchange uses it, nor an exchange start while the port is being replaced.
  template <typename Operation>
  void runPortOperation(const CoreText& title, Operation&& operation);
  void closeIfRequested();
  // An operation runs, or an exchange called from outside one: the line is not the
  // window's to read (the exchange's reader may be reading it on its own thread).
  bool portInUse() const { return operationRunning() || exchange_.exchanging(); }
  // The log's group of one run: its title row now, its outcome row when it ends.
  class OperationGroup {
   public:
    OperationGroup(TMain& window, const CoreText& title);
    ~OperationGroup();
    OperationGroup(const OperationGroup&) = delete;
    OperationGroup& operator=(const OperationGroup&) = delete;

   private:
    TMain& window_;
  };
  void buildInspectionMenus();
  void buildTunnelMenu();
  void startTunnelFromIni();
  std::optional<std::pair<std::string, std::uint16_t>> askTunnelTarget();  // the dialog
  // While no operation runs, the tunnel's datagrams are answered and its connection kept.
  void serviceIdleTunnel();
  void interfaceTest();
  void programmingModeScan();
  static constexpr char InterfaceTestCaption[] = KOLVARO_TRANSLATABLE("Kolvaro", "Test interfejsu");
  static constexpr char ProgrammingModeCaption[] = KOLVARO_TRANSLATABLE("Kolvaro", "Urządzenia w trybie programowania");
  bool collectChipResetAnswer();
  void pollChipResetAnswer();
  void noteChipResetAnswer();
  void notePortProblems(std::uint8_t onlyPort);
  CoreText operationOutcome() const;
  static constexpr std::chrono::milliseconds ResetAnswerPoll{100};
  static constexpr std::chrono::milliseconds ResetAnswerDeadline{2000};

  // Passes every step of the exchange on to the log and keeps the words of the last
  // result, for the outcome row of an operation that ends without a box.
  class ResultNote : public ExchangeObserver {
   public:
    explicit ResultNote(ExchangeObserver& next) : next_(next) {}
    void exchangeEvent(const ExchangeEvent& event) override;
    std::string last;

   private:
    ExchangeObserver& next_;
  };

  // The session's way to the bus: the serial chip's exchange, or the IP tunnel. Each
  // request goes to the one in use, unchanged.
  struct BusChoice : BusRequests {
    explicit BusChoice(BusRequests& serial) : current(&serial) {}
    Reply request(const Request& request) override { return current->request(request); }
    ChipState testInterface() override { return current->testInterface(); }
    BusRequests* current;
  };
  // The tunnel's waits in the window's event loop; the idle notifier on the same socket
  // is off meanwhile, as the wait has one of its own.
  struct TunnelWaitInWindow : TunnelWait {
    TunnelWaitInWindow(ActivityWait& activity, QSocketNotifier*& idle) : activity_(activity), idle_(idle) {}
    void wait(int descriptor, std::chrono::milliseconds atMost) override;
    ActivityWait& activity_;
    QSocketNotifier*& idle_;
  };

  std::array<MaskedField*, FieldCount> fields_{};
  AddressMembers members_;
  FieldValidation validation_{*this};
  TelegramExchange exchange_{*this};
  WindowFace face_{*this};
  BusChoice bus_{exchange_};
  DeviceSession session_{bus_, face_};
  ActivityWait activityWait_;
  TunnelWaitInWindow tunnelWait_{activityWait_, tunnelNotifier_};
  TunnelClient tunnel_{tunnelWait_};
  QSocketNotifier* tunnelNotifier_ = nullptr;
  std::string localBeforeTunnel_;  // the user's local address, back with the serial chip
  TAboutWindow* aboutWindow_ = nullptr;
  TelegramLog log_;
  ResultNote resultNote_{log_};
  TelegramLogWindow* logWindow_ = nullptr;
  std::unique_ptr<BoxNotes> boxNotes_;  // the last box of an operation, for its outcome row
  bool resetCheckPending_ = false;
  std::vector<std::uint8_t> resetAnswerBytes_;
  std::chrono::steady_clock::time_point resetAnswerDeadline_;
  bool startupQueued_ = false;
  bool closeRequested_ = false;
};

}  // namespace kolvaro
