#pragma once

#include <QAbstractItemModel>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "recordtable.h"

namespace ravell {

inline constexpr char kAllRecords[] = "All records";
inline constexpr char kFiltered[] = "Filtered";
inline constexpr char kNoRecordsFound[] = "No records found";

// The text of the current record's value at a grouping level (1-based) of
// DisplayLog's order "Custom": month names for Month, the grid's text otherwise.
QString LevelText(const RecordTable& display_log, int level);
// The key value a node text stands for at a level.
QVariant LevelKey(const RecordTable& display_log, int level, const QString& text);

// The data tree (CustomLogTree): a root, then one node per group of
// DisplayLog's order "Custom" at levels 1 to n - 1. Nodes are numbered in
// the order they were added; the root is node 0.
class DataTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  explicit DataTreeModel(QObject* parent = nullptr);

  // Rebuilds from DisplayLog, which is left in order "Custom" on its first
  // record.
  void Build(RecordTable& display_log, int levels, const QString& root_text);

  bool Empty() const { return nodes_.empty(); }
  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  const QString& Text(int node) const { return nodes_[static_cast<size_t>(node)].text; }
  int Level(int node) const { return nodes_[static_cast<size_t>(node)].level; }
  int Parent(int node) const { return nodes_[static_cast<size_t>(node)].parent; }
  const std::vector<int>& Children(int node) const {
    return nodes_[static_cast<size_t>(node)].children;
  }
  // Texts from the root down to the node.
  QStringList PathTexts(int node) const;
  // Key values of levels 1 to the node's level, as the node's group has them.
  QVariantList PathKeys(int node) const;

  QModelIndex IndexOf(int node) const;
  static int NodeOf(const QModelIndex& index);  // -1 for an invalid index

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  struct Node {
    QString text;
    QVariant key;  // the group's value; a date node keeps its date, not its text
    int parent = -1;
    int level = 0;
    int row = 0;
    std::vector<int> children;
  };
  int AddNode(int parent, QString text, QVariant key);

  std::vector<Node> nodes_;
};

}  // namespace ravell
