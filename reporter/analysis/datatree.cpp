#include "datatree.h"

#include "logtables.h"

namespace ravell {

namespace {

int KeyField(const RecordTable& table, int level) {
  const QStringList fields = table.OrderFields(kCustom);
  return level >= 1 && level <= fields.size() ? table.FieldIndex(fields[level - 1]) : -1;
}

bool IsMonth(const RecordTable& table, int field) {
  return field >= 0 && table.Fields()[field].name == QLatin1String("Month");
}

QString FieldText(const RecordTable& table, int record, int field) {
  if (IsMonth(table, field)) {
    return MonthToName(table.IsNull(record, field) ? 0
                                                   : static_cast<int>(table.Int(record, field)));
  }
  return table.DisplayText(record, field);
}

}  // namespace

QString LevelText(const RecordTable& display_log, int level) {
  const int record = display_log.Current();
  const int field = KeyField(display_log, level);
  return record < 0 || field < 0 ? QString() : FieldText(display_log, record, field);
}

QVariant LevelKey(const RecordTable& display_log, int level, const QString& text) {
  return IsMonth(display_log, KeyField(display_log, level)) ? NameToMonth(text) : text;
}

DataTreeModel::DataTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

int DataTreeModel::AddNode(int parent, QString text, QVariant key) {
  const int id = static_cast<int>(nodes_.size());
  Node node;
  node.text = std::move(text);
  node.key = std::move(key);
  node.parent = parent;
  if (parent >= 0) {
    Node& up = nodes_[static_cast<size_t>(parent)];
    node.level = up.level + 1;
    node.row = static_cast<int>(up.children.size());
    up.children.push_back(id);
  }
  nodes_.push_back(std::move(node));
  return id;
}

void DataTreeModel::Build(RecordTable& display_log, int levels, const QString& root_text) {
  beginResetModel();
  nodes_.clear();
  display_log.SetOrder(kCustom);
  display_log.First();
  if (!display_log.Eof()) {
    const QStringList key_fields = display_log.OrderFields(kCustom);
    std::vector<int> fields;
    for (const QString& name : key_fields) fields.push_back(display_log.FieldIndex(name));
    const int deepest = std::min<int>(levels - 1, static_cast<int>(fields.size()));
    std::vector<int> current(static_cast<size_t>(deepest) + 1, 0);
    current[0] = AddNode(-1, root_text, QVariant());
    for (; !display_log.Eof(); display_log.Next()) {
      // The first level whose group begins here; every deeper one begins too.
      int from = 1;
      while (from <= deepest && !display_log.IsFirstInGroup(from)) ++from;
      const int record = display_log.Current();
      for (int level = from; level <= deepest; ++level) {
        const int field = fields[static_cast<size_t>(level) - 1];
        current[static_cast<size_t>(level)] =
            AddNode(current[static_cast<size_t>(level) - 1], FieldText(display_log, record, field),
                    display_log.RecordValue(record, field));
      }
    }
    display_log.First();
  }
  endResetModel();
}

QStringList DataTreeModel::PathTexts(int node) const {
  QStringList texts;
  for (; node >= 0; node = Parent(node)) texts.prepend(Text(node));
  return texts;
}

QVariantList DataTreeModel::PathKeys(int node) const {
  QVariantList keys;
  for (; node > 0; node = Parent(node)) keys.prepend(nodes_[static_cast<size_t>(node)].key);
  return keys;
}

QModelIndex DataTreeModel::IndexOf(int node) const {
  if (node < 0 || node >= NodeCount()) return QModelIndex();
  return createIndex(nodes_[static_cast<size_t>(node)].row, 0, quintptr(node));
}

int DataTreeModel::NodeOf(const QModelIndex& index) {
  return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex DataTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return QModelIndex();
  if (!parent.isValid()) return row == 0 && !nodes_.empty() ? IndexOf(0) : QModelIndex();
  const std::vector<int>& children = Children(NodeOf(parent));
  return row < static_cast<int>(children.size()) ? IndexOf(children[static_cast<size_t>(row)])
                                                 : QModelIndex();
}

QModelIndex DataTreeModel::parent(const QModelIndex& child) const {
  const int node = NodeOf(child);
  return node < 0 ? QModelIndex() : IndexOf(Parent(node));
}

int DataTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return nodes_.empty() ? 0 : 1;
  if (parent.column() != 0) return 0;
  return static_cast<int>(Children(NodeOf(parent)).size());
}

int DataTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant DataTreeModel::data(const QModelIndex& index, int role) const {
  const int node = NodeOf(index);
  if (node < 0 || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return QVariant();
  return Text(node);
}

}  // namespace ravell
