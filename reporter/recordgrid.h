#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include "recordtablemodel.h"

class QTableView;

namespace ravell {

// One column of a grid over a record table.
struct GridColumn {
  QString field;
  QString title;  // the field's label when empty
  int width = 64;
  Qt::Alignment alignment = Qt::AlignLeft;
  QColor color;           // text colour; the grid's own when invalid
  bool duration = false;  // a time field written as a duration, past 24 hours too
};

// A grid's columns over a record table's view, with their alignment and
// colours, and optionally rows in alternating colours.
class RecordGridModel : public RecordTableModel {
  Q_OBJECT

 public:
  RecordGridModel(RecordTable& table, QList<GridColumn> columns, QObject* parent = nullptr);

  void SetAlternateColor(const QColor& color) { alternate_ = color; }
  const QList<GridColumn>& Columns() const { return columns_; }
  // The grid column of a field; -1 when it has none.
  int ColumnOf(const QString& field) const;
  // Sets up a read-only, whole-row grid over the model with its widths.
  void Install(QTableView* view);

  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QList<GridColumn> columns_;
  QList<int> fields_;
  QColor alternate_;
};

}  // namespace ravell
