#include "recordtablemodel.h"

namespace ravell {

RecordTableModel::RecordTableModel(RecordTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  rows_ = table_.ViewRecords();
  listener_ = table_.AddListener([this] { Refresh(); });
}

RecordTableModel::~RecordTableModel() { table_.RemoveListener(listener_); }

void RecordTableModel::Refresh() {
  beginResetModel();
  rows_ = table_.ViewRecords();
  endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.FieldCount();
}

int RecordTableModel::RecordAt(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return -1;
  const int record = rows_[static_cast<size_t>(row)];
  // Records deleted while updates were suspended are gone until the refresh.
  return record < table_.RecordCount() ? record : -1;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  const int record = RecordAt(index.row());
  if (record < 0) return QVariant();
  switch (role) {
    case Qt::DisplayRole:
      return table_.DisplayText(record, index.column());
    case Qt::EditRole:
      return table_.RecordValue(record, index.column());
    case Qt::TextAlignmentRole: {
      const FieldType type = table_.Fields()[index.column()].type;
      const bool number = type == FieldType::kInt || type == FieldType::kDouble;
      return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
      return QVariant();
  }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QVariant();
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= table_.FieldCount()) return QVariant();
  return table_.Fields()[section].label;
}

}  // namespace ravell
