#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "recordtable.h"

namespace ravell {

// The grids' model over a record table's current view: one column per
// field, headed by its label. It keeps the view's record numbers as of the
// last announced change, so a walk with the table's updates suspended does
// not show.
class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RecordTableModel(RecordTable& table, QObject* parent = nullptr);
  ~RecordTableModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  RecordTable& table() const { return table_; }
  // Record number shown in a row; -1 outside.
  int RecordAt(int row) const;

 private:
  void Refresh();

  RecordTable& table_;
  int listener_ = 0;
  std::vector<int> rows_;
};

}  // namespace ravell
