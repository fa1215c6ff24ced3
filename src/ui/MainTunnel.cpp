// The main window's way to the bus through an IP interface: the Konfiguracja menu's
// entry for it, its dialog, the choice kept in dcb.ini in a section of its own
// ("KNXnet/IP": Use, Host, Port; the serial sections stay as they are), the local
// address field showing the address the server assigned, and the tunnel kept while the
// window is idle.
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSocketNotifier>
#include <QSpinBox>

#include "link/IniFile.h"
#include "link/PortPaths.h"
#include "platform/Platform.h"
#include "platform/SystemDirectory.h"
#include "telegram/AddressText.h"
#include "ui/Main.h"
#include "ui/MaskedField.h"
#include "ui/QtPlatform.h"

namespace kolvaro {

namespace {

constexpr char Section[] = "KNXnet/IP";
constexpr char UseKey[] = "Use";
constexpr char HostKey[] = "Host";
constexpr char PortKey[] = "Port";
constexpr char TunnelCaption[] = KOLVARO_TRANSLATABLE("Kolvaro", "Interfejs KNXnet/IP");

std::optional<std::string> iniPath() {
  const auto directory = platform().systemDirectory();
  if (!directory) return std::nullopt;
  return pathInDirectory(*directory, "dcb.ini");
}

// Host and port of the KNXnet/IP interface, asked in a small dialog.
class TunnelDialog : public QDialog {
 public:
  TunnelDialog(QWidget* parent, const QString& host, int port) : QDialog(parent) {
    setWindowTitle(QCoreApplication::translate("kolvaro::TMain", "Interfejs KNXnet/IP"));
    setObjectName(QStringLiteral("TunnelDialog"));
    auto* layout = new QFormLayout(this);
    host_ = new QLineEdit(host, this);
    host_->setObjectName(QStringLiteral("TunnelHost"));
    port_ = new QSpinBox(this);
    port_->setObjectName(QStringLiteral("TunnelPort"));
    port_->setRange(1, 65535);
    port_->setValue(port);
    layout->addRow(QCoreApplication::translate("kolvaro::TMain", "Adres interfejsu:"), host_);
    layout->addRow(QCoreApplication::translate("kolvaro::TMain", "Port UDP:"), port_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  }
  std::string host() const { return host_->text().trimmed().toStdString(); }
  std::uint16_t port() const { return static_cast<std::uint16_t>(port_->value()); }

 private:
  QLineEdit* host_;
  QSpinBox* port_;
};

}  // namespace

std::optional<std::pair<std::string, std::uint16_t>> TMain::askTunnelTarget() {
  QString host;
  int port = tunnel::DefaultPort;
  if (const auto path = iniPath()) {
    const IniFile ini(*path);
    host = QString::fromStdString(ini.ReadString(Section, HostKey).value_or(""));
    port = ini.ReadInteger(Section, PortKey, tunnel::DefaultPort);
    if (port < 1 || port > 65535) port = tunnel::DefaultPort;
  }
  TunnelDialog dialog(this, host, port);
  if (dialog.exec() != QDialog::Accepted || dialog.host().empty()) return std::nullopt;
  return std::make_pair(dialog.host(), dialog.port());
}

void TMain::TunnelWaitInWindow::wait(int descriptor, std::chrono::milliseconds atMost) {
  if (idle_) idle_->setEnabled(false);
  activity_.wait(descriptor, atMost);
  if (idle_) idle_->setEnabled(true);
}

void TMain::buildTunnelMenu() {
  TunnelItem = Configure->addAction(tr("Interfejs KNXnet/IP..."));
  TunnelItem->setObjectName(QStringLiteral("TunnelItem"));
  connect(TunnelItem, &QAction::triggered, this, &TMain::TunnelClick);
  tunnel_.setObserver(&resultNote_);
}

bool TMain::useTunnel(const std::string& host, std::uint16_t port, bool record) {
  useSerialChip();
  const CoreText failure = tunnel_.connect(host, port);
  if (!failure.empty()) {
    const CoreText text = CoreText(KOLVARO_TRANSLATABLE("Kolvaro",
                                                        "Nie można połączyć się z interfejsem KNXnet/IP %1:%2: %3.\n"
                                                        "Używany jest nadal port szeregowy."))
                              .arg(host)
                              .arg(std::int64_t{port})
                              .arg(failure);
    platform().messageBox(Translated(text), TunnelCaption, mb::IconError);
    return false;
  }
  bus_.current = &tunnel_;
  tunnelNotifier_ = new QSocketNotifier(tunnel_.readableDescriptor(), QSocketNotifier::Read, this);
  connect(tunnelNotifier_, &QSocketNotifier::activated, this, &TMain::serviceIdleTunnel);
  // Through a tunnel our frames carry the address the server assigned: the field shows
  // it and cannot be edited; the user's own comes back with the serial chip.
  MaskedField* local = field(Field::Local_phAddr);
  localBeforeTunnel_ = fieldText(Field::Local_phAddr);
  setFieldText(Field::Local_phAddr, PhysicalValueToText(tunnel_.assignedAddress()));
  local->setReadOnly(true);
  local->setToolTip(
      tr("Adres przydzielony przez interfejs KNXnet/IP %1").arg(QString::fromStdString(tunnel_.serverText())));
  validation_.Addr_MaskEditExit();
  if (record) {
    if (const auto path = iniPath()) {
      IniFile ini(*path);
      ini.WriteString(Section, HostKey, host);
      ini.WriteInteger(Section, PortKey, port);
      ini.WriteInteger(Section, UseKey, 1);
    }
  }
  return true;
}

void TMain::useSerialChip() {
  if (!tunnelInUse()) return;
  tunnel_.disconnect();
  bus_.current = &exchange_;
  delete tunnelNotifier_;
  tunnelNotifier_ = nullptr;
  MaskedField* local = field(Field::Local_phAddr);
  local->setReadOnly(false);
  local->setToolTip(tr("Adres fizyczny nadawcy telegramów wysyłanych przez aplikację Kolvaro"));
  setFieldText(Field::Local_phAddr, localBeforeTunnel_);
  validation_.Addr_MaskEditExit();
  if (const auto path = iniPath()) {
    IniFile ini(*path);
    if (ini.ReadInteger(Section, UseKey, 0) != 0) ini.WriteInteger(Section, UseKey, 0);
  }
}

void TMain::startTunnelFromIni() {
  const auto path = iniPath();
  if (!path) return;
  const IniFile ini(*path);
  const auto host = ini.ReadString(Section, HostKey);
  const std::int32_t port = ini.ReadInteger(Section, PortKey, tunnel::DefaultPort);
  if (ini.ReadInteger(Section, UseKey, 0) == 0 || !host || host->empty() || port < 1 || port > 65535) return;
  useTunnel(*host, static_cast<std::uint16_t>(port), false);
}

void TMain::serviceIdleTunnel() {
  if (tunnelInUse() && !operationRunning()) tunnel_.service();
}

}  // namespace kolvaro
