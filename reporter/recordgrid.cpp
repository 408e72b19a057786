#include "recordgrid.h"

#include <QAbstractItemView>
#include <QDate>
#include <QHeaderView>
#include <QLocale>
#include <QTableView>
#include <algorithm>

#include "totals.h"

namespace ravell {

RecordGridModel::RecordGridModel(RecordTable& table, QList<GridColumn> columns, QObject* parent)
    : RecordTableModel(table, parent), columns_(std::move(columns)) {
  for (const GridColumn& column : columns_) fields_ << table.FieldIndex(column.field);
}

int RecordGridModel::ColumnOf(const QString& field) const {
  for (int i = 0; i < columns_.size(); ++i) {
    if (columns_[i].field == field) return i;
  }
  return -1;
}

void RecordGridModel::Install(QTableView* view) {
  view->setModel(this);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  // The given widths, widened where this font needs more for a time or the
  // header, so nothing shows cut off.
  const QFontMetrics metrics = view->fontMetrics();
  for (int i = 0; i < columns_.size(); ++i) {
    const bool time = columns_[i].duration ||
                      (fields_[i] >= 0 && table().Fields()[fields_[i]].type == FieldType::kTime);
    int needed = metrics.horizontalAdvance(headerData(i, Qt::Horizontal).toString()) + 14;
    if (time) needed = std::max(needed, metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 12);
    if (fields_[i] >= 0 && table().Fields()[fields_[i]].type == FieldType::kDate) {
      const QString sample = QLocale().toString(QDate(2000, 12, 28), QLocale::ShortFormat);
      needed = std::max(needed, metrics.horizontalAdvance(sample) + 12);
    }
    // Sums of money run to six digits over a few years of records.
    if (fields_[i] >= 0 && table().Fields()[fields_[i]].type == FieldType::kDouble)
      needed = std::max(needed, metrics.horizontalAdvance(QStringLiteral("000000.00")) + 12);
    view->setColumnWidth(i, std::max(columns_[i].width, needed));
  }
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= columns_.size()) return QVariant();
  const GridColumn& column = columns_[index.column()];
  const int field = fields_[index.column()];
  switch (role) {
    case Qt::DisplayRole:
      if (column.duration) {
        const int record = RecordAt(index.row());
        if (record < 0 || table().IsNull(record, field)) return QString();
        return DurationText(table().Int(record, field) / 1000);
      }
      break;
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter | column.alignment);
    case Qt::ForegroundRole:
      return column.color.isValid() ? QVariant(column.color) : QVariant();
    case Qt::BackgroundRole:
      if (!alternate_.isValid()) return QVariant();
      return index.row() % 2 == 0 ? alternate_ : QColor(Qt::white);
    default:
      break;
  }
  return RecordTableModel::data(createIndex(index.row(), field), role);
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < columns_.size() && !columns_[section].title.isEmpty()) {
    return columns_[section].title;
  }
  if (orientation == Qt::Horizontal && section >= 0 && section < columns_.size()) {
    return RecordTableModel::headerData(fields_[section], orientation, role);
  }
  return RecordTableModel::headerData(section, orientation, role);
}

}  // namespace ravell
