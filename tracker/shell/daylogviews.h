#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QTableView>
#include <QTreeView>

namespace ravell {

class DayLog;

// A table over a snapshot of rows that carry a key (record id, task and
// project). A refresh turns the change into row inserts, removals, in-place
// rewrites or a re-sort, so the current row and the selection stay with their
// record or item; a model reset would drop them on every change. The snapshot
// keeps the texts consistent with the announced rows while views react.
class KeyedRowsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  struct Entry {
    QString key;
    QStringList texts;  // one per column
    int tag = 0;        // what else a row shows, for the subclass
    bool operator==(const Entry&) const = default;
  };

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 protected:
  virtual int CurrentCount() const = 0;
  virtual Entry CurrentEntry(int row) const = 0;
  const Entry& EntryAt(int row) const { return rows_[row]; }

  // Brings the rows in line with the source and announces every text as changed.
  void Refresh();
  // One row's texts changed, not its key.
  void RefreshRow(int row);

 private:
  QList<Entry> rows_;
};

// The log grid StringGrid1: one row per log row, no header texts.
class LogGridModel : public KeyedRowsModel {
  Q_OBJECT
 public:
  enum Column { kTimeFrame, kTask, kProject, kRecordId, kColumnCount };

  explicit LogGridModel(const DayLog& log, QObject* parent = nullptr);

  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // No captions: the grid shows no header.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 protected:
  int CurrentCount() const override;
  Entry CurrentEntry(int row) const override;

 private:
  const DayLog& log_;
};

// The task list TotalList: one row per task list item, the marker as its image.
class TaskListModel : public KeyedRowsModel {
  Q_OBJECT
 public:
  enum Column { kTask, kProject, kTime, kPlan, kRate, kTotal, kColumnCount };

  explicit TaskListModel(const DayLog& log, QObject* parent = nullptr);

  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 protected:
  int CurrentCount() const override;
  Entry CurrentEntry(int row) const override;

 private:
  const DayLog& log_;
};

// StringGrid1 as the main window shows it: compact rows on a light blue
// ground, the task column taking the width the others leave. Row height and
// column widths follow the font the view has when its model is set.
class LogGridView : public QTableView {
  Q_OBJECT
 public:
  explicit LogGridView(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;

 protected:
  // Also runs when the viewport shrinks for a scroll bar.
  void resizeEvent(QResizeEvent* event) override;
  // Any button selects the row under the pointer, the last row below the
  // rows, so the pop-up menu acts on what was clicked.
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void FitTaskColumn();

  int time_frame_width_ = 0;
};

// TotalList as the main window shows it. Column widths follow the font the
// view has when its model is set.
class TaskListView : public QTreeView {
  Q_OBJECT
 public:
  explicit TaskListView(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;
  // Rate and Total are shown only in the rate view (DayLog::rate_view), at
  // their normal width.
  void ApplyRateView(bool rate_view);

 private:
  int widths_[TaskListModel::kColumnCount] = {};
};

}  // namespace ravell
