#include "ui/TelegramLogWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "platform/Translatable.h"
#include "ui/QtPlatform.h"

namespace kolvaro {

// ---- model ------------------------------------------------------------------------------

TelegramLogModel::TelegramLogModel(TelegramLog& log, QObject* parent) : QAbstractTableModel(parent), log_(log) {
  // Rows reach the view in batches: a view told of each row on its own spends its time
  // on bookkeeping once the log is long.
  syncTimer_.setSingleShot(true);
  syncTimer_.setInterval(SyncInterval);
  connect(&syncTimer_, &QTimer::timeout, this, &TelegramLogModel::sync);
  log_.onAppended = [this] { syncSoon(); };
  log_.onDropped = [this](std::size_t) { syncSoon(); };
  log_.onCleared = [this] {
    lastRow_.reset();
    beginResetModel();
    shown_ = 0;
    droppedAtSync_ = 0;
    endResetModel();
    emit rowsChanged();
  };
  sync();
}

TelegramLogModel::~TelegramLogModel() {
  log_.onAppended = nullptr;
  log_.onDropped = nullptr;
  log_.onCleared = nullptr;
}

void TelegramLogModel::syncSoon() {
  if (!syncTimer_.isActive()) syncTimer_.start();
}

void TelegramLogModel::sync() {
  syncTimer_.stop();
  // Rows dropped from the front since the last sync: first the rows the view knows.
  const std::size_t dropped = log_.droppedRows() - droppedAtSync_;
  droppedAtSync_ = log_.droppedRows();
  const int gone = static_cast<int>(std::min<std::size_t>(dropped, static_cast<std::size_t>(shown_)));
  if (gone > 0) {
    beginRemoveRows({}, 0, gone - 1);
    shown_ -= gone;
    endRemoveRows();
  }
  const int now = static_cast<int>(log_.rows().size());
  if (now > shown_) {
    beginInsertRows({}, shown_, now - 1);
    shown_ = now;
    endInsertRows();
  }
  emit rowsChanged();
}

int TelegramLogModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_; }

int TelegramLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : LogColumnCount; }

const LogRow* TelegramLogModel::rowAt(int row) const {
  // Rows dropped since the last sync shift the log's indexes until the view hears of it.
  const long long index = static_cast<long long>(row) - static_cast<long long>(log_.droppedRows() - droppedAtSync_);
  if (index < 0 || index >= static_cast<long long>(log_.size())) return nullptr;
  const std::size_t number = log_.droppedRows() + static_cast<std::size_t>(index);
  if (!lastRow_ || lastRow_->first != number) lastRow_.emplace(number, log_.row(static_cast<std::size_t>(index)));
  return &lastRow_->second;
}

QVariant TelegramLogModel::data(const QModelIndex& index, int role) const {
  const LogRow* shown = index.isValid() ? rowAt(index.row()) : nullptr;
  if (!shown) return {};
  const LogRow& row = *shown;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:  // the whole text where the column is too narrow
      return QString::fromStdString(Translated(LogCellWords(row, index.column())));
    case Qt::FontRole:
      if (row.kind == LogRow::Kind::Operation || row.kind == LogRow::Kind::Outcome) {
        QFont font;
        font.setBold(true);
        return font;
      }
      return {};
    case Qt::ForegroundRole:
      if (row.kind == LogRow::Kind::Frame && row.event != "ramka: przyjęta") return QColor(Qt::darkGray);
      if (row.kind == LogRow::Kind::Result || row.kind == LogRow::Kind::Note) return QColor(Qt::darkBlue);
      return {};
    case Qt::BackgroundRole:
      if (row.kind == LogRow::Kind::Operation || row.kind == LogRow::Kind::Outcome) return QColor(0xE8, 0xEE, 0xF4);
      return {};
    default: return {};
  }
}

QVariant TelegramLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QCoreApplication::translate(CoreTextContext, LogColumnTitle(section));
  return section + 1;
}

// ---- window -----------------------------------------------------------------------------

TelegramLogWindow::TelegramLogWindow(TelegramLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), model_(new TelegramLogModel(log, this)) {
  setObjectName(QStringLiteral("TelegramLogWindow"));
  setWindowTitle(tr("Dziennik telegramów"));
  resize(1500, 520);

  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("LogTable"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setWordWrap(false);
  table_->setAlternatingRowColors(true);
  // Fixed row heights: a long log must not be measured row by row.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int widths[LogColumnCount] = {90, 50, 30, 330, 75, 75, 60, 40, 40, 190, 150, 80, 260, 60};
  const QFontMetrics header(table_->horizontalHeader()->font());
  for (int column = 0; column < LogColumnCount; ++column) {
    const int titleWidth = header.horizontalAdvance(QString::fromUtf8(LogColumnTitle(column))) + 16;
    table_->setColumnWidth(column, std::max(widths[column], titleWidth));
  }

  auto* copy = new QPushButton(tr("Kopiuj"), this);
  copy->setObjectName(QStringLiteral("CopyButton"));
  auto* saveText = new QPushButton(tr("Zapisz jako tekst…"), this);
  saveText->setObjectName(QStringLiteral("SaveTextButton"));
  auto* saveCsv = new QPushButton(tr("Zapisz jako CSV…"), this);
  saveCsv->setObjectName(QStringLiteral("SaveCsvButton"));
  auto* clear = new QPushButton(tr("Wyczyść"), this);
  clear->setObjectName(QStringLiteral("ClearButton"));

  auto* capacityLabel = new QLabel(tr("Najwięcej wierszy:"), this);
  capacity_ = new QSpinBox(this);
  capacity_->setObjectName(QStringLiteral("CapacityBox"));
  capacity_->setRange(100, 1000000);
  capacity_->setSingleStep(1000);
  capacity_->setValue(static_cast<int>(log_.capacity()));
  capacityLabel->setBuddy(capacity_);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusLabel"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy);
  buttons->addWidget(saveText);
  buttons->addWidget(saveCsv);
  buttons->addWidget(clear);
  buttons->addSpacing(20);
  buttons->addWidget(capacityLabel);
  buttons->addWidget(capacity_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);

  auto* copyAction = new QAction(this);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(copyAction);
  connect(copyAction, &QAction::triggered, this, &TelegramLogWindow::copySelection);
  connect(copy, &QPushButton::clicked, this, &TelegramLogWindow::copySelection);
  connect(saveText, &QPushButton::clicked, this, [this] { askAndSave(false); });
  connect(saveCsv, &QPushButton::clicked, this, [this] { askAndSave(true); });
  connect(clear, &QPushButton::clicked, this, [this] { log_.clear(); });
  connect(capacity_, &QSpinBox::valueChanged, this, [this](int value) {
    log_.setCapacity(static_cast<std::size_t>(value));
    updateStatus();
  });
  // A burst of rows updates the status line and the scroll position once.
  connect(model_, &TelegramLogModel::rowsChanged, this, &TelegramLogWindow::scheduleRefresh);
  updateStatus();
}

void TelegramLogWindow::updateStatus() {
  QString text = tr("Wierszy: %1 z najwyżej %2; po przekroczeniu limitu najstarsze wiersze są usuwane.")
                     .arg(log_.size())
                     .arg(log_.capacity());
  if (log_.droppedRows() > 0) text += tr(" Usunięto dotąd: %1.").arg(log_.droppedRows());
  status_->setText(text);
}

// Follows the newest row while the view stood at the bottom before the burst.
void TelegramLogWindow::scheduleRefresh() {
  if (refreshPending_) return;
  refreshPending_ = true;
  QScrollBar* bar = table_->verticalScrollBar();
  const bool atBottom = bar->value() >= bar->maximum() - 2 * table_->verticalHeader()->defaultSectionSize();
  QTimer::singleShot(RefreshInterval, this, [this, atBottom] {
    refreshPending_ = false;
    updateStatus();
    if (atBottom) table_->scrollToBottom();
  });
}

QString TelegramLogWindow::selectedText() const {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes()) rows.insert(index.row());
  std::string text;
  for (int row : rows) {
    if (const LogRow* shown = model_->rowAt(row)) text += log_.lineOf(*shown, QtTranslation()) + "\n";
  }
  return QString::fromStdString(text);
}

void TelegramLogWindow::copySelection() const { QApplication::clipboard()->setText(selectedText()); }

namespace {
bool writeWhole(const QString& path, const std::string& content) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(content.data(), static_cast<qint64>(content.size())) != static_cast<qint64>(content.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
}  // namespace

bool TelegramLogWindow::saveText(const QString& path) const { return writeWhole(path, log_.toText(QtTranslation())); }

bool TelegramLogWindow::saveCsv(const QString& path) const { return writeWhole(path, log_.toCsv(QtTranslation())); }

void TelegramLogWindow::askAndSave(bool csv) {
  const QString path =
      QFileDialog::getSaveFileName(this, csv ? tr("Zapisz dziennik jako CSV") : tr("Zapisz dziennik jako tekst"),
                                   csv ? QStringLiteral("dziennik.csv") : QStringLiteral("dziennik.txt"),
                                   csv ? QStringLiteral("CSV (*.csv)") : tr("Tekst (*.txt)"));
  if (path.isEmpty()) return;
  if (!(csv ? saveCsv(path) : saveText(path))) {
    status_->setText(tr("Nie udało się zapisać pliku %1.").arg(path));
  }
}

}  // namespace kolvaro
