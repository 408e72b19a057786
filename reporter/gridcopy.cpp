#include "gridcopy.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTableView>

#include "logpage.h"
#include "recordgrid.h"
#include "reporterviews.h"
#include "totalspage.h"

namespace ravell {

namespace {

const RecordGridModel* GridModel(const QTableView* grid) {
  return qobject_cast<const RecordGridModel*>(grid->model());
}

void SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

}  // namespace

QList<ExportColumn> GridExportColumns(const QTableView* grid) {
  QList<ExportColumn> columns;
  const RecordGridModel* model = GridModel(grid);
  if (!model) return columns;
  for (int i = 0; i < model->Columns().size(); ++i) {
    columns.append({model->Columns()[i].field, model->headerData(i, Qt::Horizontal).toString(),
                    !grid->isColumnHidden(i)});
  }
  return columns;
}

int GridCurrentRecord(const QTableView* grid) {
  const RecordGridModel* model = GridModel(grid);
  if (!model || model->rowCount() == 0) return -1;
  const int row = grid->currentIndex().isValid() ? grid->currentIndex().row() : 0;
  return model->RecordAt(row);
}

GridCopy::GridCopy(ReporterViews& views, QObject* parent) : QObject(parent), views_(views) {
  QMenu* log_popup = views_.Log()->DBGridPopup();
  copy1_ = new QMenu(QStringLiteral("Copy"), log_popup);
  copy1_->setObjectName(QStringLiteral("Copy1"));
  copy1_->menuAction()->setObjectName(QStringLiteral("Copy1Item"));
  QAction* row1 = copy1_->addAction(QStringLiteral("Entire row"), this, &GridCopy::Row1Click);
  row1->setObjectName(QStringLiteral("ColCopy1"));
  n1_ = copy1_->addSeparator();
  n1_->setObjectName(QStringLiteral("N1"));
  // "Copy" comes first, whatever the menu holds already.
  const QList<QAction*> present = log_popup->actions();
  log_popup->insertMenu(present.isEmpty() ? nullptr : present.first(), copy1_);
  connect(log_popup, &QMenu::aboutToShow, this, &GridCopy::DBGridPopupPopup);

  QTableView* totals_grid = views_.Totals()->DBGrid2();
  totals_popup_ = new QMenu(totals_grid);
  totals_popup_->setObjectName(QStringLiteral("TotalsPopup"));
  copy2_ = totals_popup_->addMenu(QStringLiteral("Copy"));
  copy2_->setObjectName(QStringLiteral("Copy2"));
  QAction* row2 = copy2_->addAction(QStringLiteral("Entire row"), this, &GridCopy::RowTotals1Click);
  row2->setObjectName(QStringLiteral("CopyColTotals1"));
  n2_ = copy2_->addSeparator();
  n2_->setObjectName(QStringLiteral("N2"));
  connect(totals_popup_, &QMenu::aboutToShow, this, &GridCopy::TotalsPopupPopup);
  totals_grid->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(totals_grid, &QWidget::customContextMenuRequested, totals_popup_,
          [this, totals_grid](const QPoint& at) {
            totals_popup_->popup(totals_grid->viewport()->mapToGlobal(at));
          });
}

void GridCopy::RebuildColumnItems(QMenu* menu, QAction* separator, const QTableView* grid,
                                  void (GridCopy::*click)(QAction*)) {
  const QList<QAction*> actions = menu->actions();
  for (qsizetype i = actions.indexOf(separator) + 1; i < actions.size(); ++i) {
    menu->removeAction(actions[i]);
    delete actions[i];
  }
  const QList<ExportColumn> columns = GridExportColumns(grid);
  for (int i = 0; i < columns.size(); ++i) {
    if (!columns[i].visible) continue;
    QString caption = columns[i].title;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = menu->addAction(caption);
    item->setData(i);
    connect(item, &QAction::triggered, this, [this, item, click] { (this->*click)(item); });
  }
}

void GridCopy::DBGridPopupPopup() {
  copy1_->menuAction()->setEnabled(views_.LogHasRecordToActOn());
  RebuildColumnItems(copy1_, n1_, views_.Log()->DBGrid1(), &GridCopy::ColCopy1Click);
}

void GridCopy::TotalsPopupPopup() {
  RebuildColumnItems(copy2_, n2_, views_.Totals()->DBGrid2(), &GridCopy::CopyColTotals1Click);
}

void GridCopy::CopyRow(const QTableView* grid, CopyGrid kind) {
  const RecordGridModel* model = GridModel(grid);
  if (!model) return SetClipboardText(QString());
  SetClipboardText(
      EntireRowText(model->table(), GridCurrentRecord(grid), GridExportColumns(grid), kind));
}

void GridCopy::CopyColumn(const QTableView* grid, QAction* item, CopyGrid kind) {
  const RecordGridModel* model = GridModel(grid);
  const QList<ExportColumn> columns = GridExportColumns(grid);
  const int column = item ? item->data().toInt() : -1;
  if (!model || column < 0 || column >= columns.size()) return SetClipboardText(QString());
  SetClipboardText(ColumnText(model->table(), GridCurrentRecord(grid), columns[column], kind));
}

void GridCopy::Row1Click() { CopyRow(views_.Log()->DBGrid1(), CopyGrid::kLog); }

void GridCopy::ColCopy1Click(QAction* item) {
  CopyColumn(views_.Log()->DBGrid1(), item, CopyGrid::kLog);
}

void GridCopy::RowTotals1Click() { CopyRow(views_.Totals()->DBGrid2(), CopyGrid::kTotals); }

void GridCopy::CopyColTotals1Click(QAction* item) {
  CopyColumn(views_.Totals()->DBGrid2(), item, CopyGrid::kTotals);
}

}  // namespace ravell
