#pragma once

#include <QList>
#include <QObject>

#include "clipboardcopy.h"
#include "valuetext.h"

class QAction;
class QMenu;
class QTableView;

namespace ravell {

class ReporterViews;

// A record grid's columns as the export and the copy commands see them:
// field, header title and whether the grid shows it, in grid order.
QList<ExportColumn> GridExportColumns(const QTableView* grid);
// The record under the grid's cursor (the first row when none is chosen);
// -1 for an empty grid.
int GridCurrentRecord(const QTableView* grid);

// The "Copy" submenus of the log grid's menu DBGridPopup and of the totals
// grid's menu TotalsPopup: the current row or one value of it to the
// clipboard as plain text.
class GridCopy : public QObject {
  Q_OBJECT

 public:
  GridCopy(ReporterViews& views, QObject* parent = nullptr);

  QMenu* TotalsPopup() const { return totals_popup_; }
  QMenu* Copy1() const { return copy1_; }
  QMenu* Copy2() const { return copy2_; }

  // Menu openings: the column items follow the grids' visible columns.
  void DBGridPopupPopup();
  void TotalsPopupPopup();
  void Row1Click();
  void ColCopy1Click(QAction* item);
  void RowTotals1Click();
  void CopyColTotals1Click(QAction* item);

 private:
  void RebuildColumnItems(QMenu* menu, QAction* separator, const QTableView* grid,
                          void (GridCopy::*click)(QAction*));
  void CopyRow(const QTableView* grid, CopyGrid kind);
  void CopyColumn(const QTableView* grid, QAction* item, CopyGrid kind);

  ReporterViews& views_;
  QMenu* totals_popup_ = nullptr;
  QMenu* copy1_ = nullptr;
  QMenu* copy2_ = nullptr;
  QAction* n1_ = nullptr;
  QAction* n2_ = nullptr;
};

}  // namespace ravell
