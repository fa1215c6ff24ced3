#pragma once
// The telegram log window: a non-modal window over the program's TelegramLog that
// fills live while operations run. Rows can be selected and copied; the whole log
// saved as text or CSV; cleared on request. It keeps at most a user-set number of
// rows (the oldest go first), and says so.
#include <QAbstractTableModel>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <utility>

#include "telegram/TelegramLog.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace kolvaro {

class TelegramLogModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TelegramLogModel(TelegramLog& log, QObject* parent = nullptr);
  ~TelegramLogModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The log's row that the view's row stands for, valid until the next call; null when
  // it has gone meanwhile.
  const LogRow* rowAt(int row) const;
  // Brings the view up to the log at once (it otherwise follows within SyncInterval).
  void sync();

 signals:
  void rowsChanged();

 private:
  void syncSoon();

  static constexpr int SyncInterval = 50;  // ms
  TelegramLog& log_;
  QTimer syncTimer_;
  int shown_ = 0;                  // rows the view has been told of
  std::size_t droppedAtSync_ = 0;  // the log's dropped count at the last sync
  // The row read last, by its number since the log was last cleared: the view asks for
  // each cell and role of a row in turn, and its columns are made once for them all.
  mutable std::optional<std::pair<std::size_t, LogRow>> lastRow_;
};

class TelegramLogWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TelegramLogWindow(TelegramLog& log, QWidget* parent = nullptr);

  QTableView* table() const { return table_; }
  QSpinBox* capacityBox() const { return capacity_; }
  QLabel* statusLabel() const { return status_; }
  TelegramLogModel* model() const { return model_; }

  // The selected rows in the text form, one a line.
  QString selectedText() const;
  void copySelection() const;
  // Write the whole log; false when the file could not be written.
  bool saveText(const QString& path) const;
  bool saveCsv(const QString& path) const;

 private:
  void updateStatus();
  void scheduleRefresh();
  void askAndSave(bool csv);

  TelegramLog& log_;
  TelegramLogModel* model_;
  QTableView* table_;
  QSpinBox* capacity_;
  QLabel* status_;
  bool refreshPending_ = false;
  static constexpr int RefreshInterval = 50;  // ms
};

}  // namespace kolvaro
